// Server modules, NCF files and the console-scripting module's commands.
#include <algorithm>
#include <sstream>
#include <vector>

#include "Server.h"

namespace nwsim {

std::string ModuleBaseName(const std::string& pathOrName) {
  std::string name = pathOrName;
  size_t sep = name.find_last_of("\\/:");
  if (sep != std::string::npos) name = name.substr(sep + 1);
  size_t dot = name.find('.');
  return UpperStr(dot == std::string::npos ? name : name.substr(0, dot));
}

std::string ExtensionOfModule(const std::string& baseName) {
  if (baseName == "VX4LIB") return "KAVEL:STD4";
  if (baseName == "VX4CS") return "KAVEL:CS4";
  if (baseName == "VX4RC") return "KAVEL:RC41";
  return "";
}

uint32_t ExtensionId(const std::string& name) {
  if (name == "KAVEL:STD4") return 0x4B01;
  if (name == "KAVEL:CS4") return 0x4B02;
  if (name == "KAVEL:RC41") return 0x4B03;
  return 0;
}

std::string ExtensionName(uint32_t id) {
  switch (id) {
    case 0x4B01:
      return "KAVEL:STD4";
    case 0x4B02:
      return "KAVEL:CS4";
    case 0x4B03:
      return "KAVEL:RC41";
  }
  return "";
}

bool IsModuleLoaded(const TState& state, const std::string& baseName) {
  for (const std::string& m : state.Modules)
    if (ModuleBaseName(m) == baseName) return true;
  return false;
}

// What a module file declares, as a real module's header would: lines "needs NAME" (a
// module that must be loaded first) and "server NNN" (the lowest server version).
struct TModuleHeader {
  std::vector<std::string> Needs;
  int MinServer = 0;
};

static TModuleHeader ReadModuleHeader(const std::string& host) {
  TModuleHeader header;
  std::string text;
  if (!ReadHostFile(host, text)) return header;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key, value;
    words >> key >> value;
    key = UpperStr(key);
    if (key == "NEEDS" && !value.empty()) header.Needs.push_back(ModuleBaseName(value));
    if (key == "SERVER") header.MinServer = atoi(value.c_str());
  }
  return header;
}

// Host path of a loaded module's file in SYS:SYSTEM; empty when it cannot be resolved.
static std::string LoadedModuleHost(const TConfig& config, const std::string& fileName) {
  TNwPath nw, canonical;
  std::string host;
  uint32_t code;
  if (!ParseNwPath("SYS:SYSTEM\\" + fileName, nullptr, nw)) return "";
  if (!TVolumes(config).Resolve(nw, host, canonical, code)) return "";
  return host;
}

uint32_t LoadModuleFile(const TConfig& config, TStateSession& session, const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.back() == ' ') p.pop_back();
  if (p.find(':') == std::string::npos) p = "SYS:SYSTEM\\" + p;  // modules are searched in SYS:SYSTEM
  TNwPath nw, canonical;
  if (!ParseNwPath(p, nullptr, nw) || nw.Parts.empty()) return kInvalidPath;
  if (nw.Parts.back().find('.') == std::string::npos) nw.Parts.back() += ".NLM";
  std::string host;
  uint32_t code;
  TVolumes volumes(config);
  if (!volumes.Resolve(nw, host, canonical, code)) return code;
  bool dir = false;
  if (!volumes.Exists(host, &dir) || dir) return kFailure;
  const std::string file = UpperStr(canonical.Parts.back());
  std::string base = ModuleBaseName(file);
  if (IsModuleLoaded(session.State(), base)) return kFailure;
  TModuleHeader header = ReadModuleHeader(host);
  if (header.MinServer > config.Version) {
    session.ConsoleLog("Module " + file + " requires a newer server version (" + std::to_string(header.MinServer) +
                       ")");
    return kFailure;
  }
  for (const std::string& need : header.Needs) {
    if (!IsModuleLoaded(session.State(), need)) {
      session.ConsoleLog("Module " + file + " not loaded: module " + need + " is not loaded");
      return kFailure;
    }
  }
  AddModule(session.State(), file);
  session.MarkChanged();
  return kOk;
}

uint32_t UnloadModuleByName(const TConfig& config, TStateSession& session, const std::string& name) {
  std::string base = ModuleBaseName(name);
  auto& modules = session.State().Modules;
  auto it =
      std::find_if(modules.begin(), modules.end(), [&](const std::string& m) { return ModuleBaseName(m) == base; });
  if (it == modules.end()) return kFailure;
  for (const std::string& other : modules) {
    const std::vector<std::string> needs = ReadModuleHeader(LoadedModuleHost(config, other)).Needs;
    if (std::find(needs.begin(), needs.end(), base) != needs.end()) {
      session.ConsoleLog("Module " + base + " not unloaded: module " + ModuleBaseName(other) + " uses it");
      return kFailure;
    }
  }
  RemoveModule(session.State(), static_cast<size_t>(it - modules.begin()));
  session.MarkChanged();
  return kOk;
}

// Scripts locked by the console-scripting module begin with a zero byte.
static bool EncodeScript(const std::string& host, bool encode) {
  std::string data;
  if (!ReadHostFile(host, data)) return false;
  bool encoded = !data.empty() && data[0] == '\0';
  if (encode == encoded) return true;
  std::string out;
  if (encode) {
    out = std::string(1, '\0');
    for (char c : data) out += static_cast<char>(c ^ 0x5A);
  } else {
    for (size_t i = 1; i < data.size(); ++i) out += static_cast<char>(data[i] ^ 0x5A);
  }
  return WriteHostFile(host, out);
}

static std::string ScriptPath(const std::string& arg) {
  return arg.find(':') == std::string::npos ? "SYS:SYSTEM\\" + arg : arg;
}

static void RunConsoleLine(const TConfig& config, TStateSession& session, const std::string& line) {
  std::istringstream words(line);
  std::string command, arg;
  words >> command;
  std::getline(words >> std::ws, arg);
  std::string upper = UpperStr(command);
  session.ConsoleLog(line);
  if (upper == "LOAD") {
    LoadModuleFile(config, session, arg);
  } else if (upper == "UNLOAD") {
    UnloadModuleByName(config, session, arg);
  } else if (upper == "!PLAY" || upper == "!ENCODE" || upper == "!DECODE") {
    if (!IsModuleLoaded(session.State(), "TUVEK")) return;  // nobody on the console knows the command
    TNwPath nw, canonical;
    std::string host;
    uint32_t code;
    if (!ParseNwPath(FromWire(config, ScriptPath(arg)), nullptr, nw) || !TVolumes(config).Resolve(nw, host, canonical, code)) return;
    if (upper == "!ENCODE") EncodeScript(host, true);
    if (upper == "!DECODE") EncodeScript(host, false);
  }
}

uint32_t RunNcfFile(const TConfig& config, TStateSession& session, const std::string& path) {
  TNwPath nw, canonical;
  std::string host, text;
  uint32_t code;
  // A bare file name is looked for in SYS:SYSTEM, as the console does.
  std::string full = path.find(':') == std::string::npos ? "SYS:SYSTEM\\" + path : path;
  if (!ParseNwPath(full, nullptr, nw)) return kInvalidPath;
  if (!TVolumes(config).Resolve(nw, host, canonical, code)) return code;
  if (!ReadHostFile(host, text)) return kFailure;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == ';' || line[start] == '#') continue;
    RunConsoleLine(config, session, line.substr(start));
  }
  return kOk;
}

}  // namespace nwsim
