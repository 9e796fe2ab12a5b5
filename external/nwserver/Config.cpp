#include "Config.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "Volumes.h"

namespace nwsim {

std::string UpperStr(std::string s) {
  for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return s;
}

const TVolume* TConfig::FindVolume(const std::string& name) const {
  int i = VolumeIndex(name);
  return i < 0 ? nullptr : &Volumes[i];
}

int TConfig::VolumeIndex(const std::string& name) const {
  std::string n = UpperStr(name);
  for (size_t i = 0; i < Volumes.size(); ++i)
    if (Volumes[i].Name == n) return static_cast<int>(i);
  return -1;
}

static bool YesNo(const std::string& v) {
  std::string u = UpperStr(v);
  return u == "YES" || u == "1" || u == "TRUE" || u == "ON";
}

void ParseConfig(const std::string& text, TConfig& config) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string key;
    if (!(words >> key) || key[0] == '#' || key[0] == ';') continue;
    key = UpperStr(key);
    std::string rest;
    std::getline(words >> std::ws, rest);
    std::istringstream args(rest);
    if (key == "SERVER") {
      config.ServerName = UpperStr(rest);
    } else if (key == "VERSION") {
      config.Version = atoi(rest.c_str());
    } else if (key == "VOLUME") {
      TVolume v;
      args >> v.Name;
      std::getline(args >> std::ws, v.HostDir);
      v.Name = UpperStr(v.Name);
      while (!v.HostDir.empty() && (v.HostDir.back() == '\\' || v.HostDir.back() == '/')) v.HostDir.pop_back();
      config.Volumes.push_back(v);
    } else if (key == "NAMESPACE") {
      std::string vol;
      int ns;
      args >> vol;
      std::vector<uint8_t>& list = config.InitialNameSpaces[UpperStr(vol)];
      while (args >> ns) list.push_back(static_cast<uint8_t>(ns));
    } else if (key == "CONSOLE-OPERATOR") {
      config.ConsoleOperator = YesNo(rest);
    } else if (key == "REMOTE-EXEC") {
      config.RemoteExec = YesNo(rest);
    } else if (key == "STATE") {
      config.StatePath = rest;
    } else if (key == "MODULE") {
      config.InitialModules.push_back(UpperStr(rest));
    } else if (key == "FAULT") {
      config.Faults.insert(rest);
    } else if (key == "PEER") {
      config.PeerServers.push_back(UpperStr(rest));
    } else if (key == "STALE-REF") {
      config.StaleReferences.insert(static_cast<uint32_t>(strtoul(rest.c_str(), nullptr, 0)));
    } else if (key == "OEM-NAMES") {
      config.OemNames = YesNo(rest);
    } else if (key == "SEARCH-PROGRESS") {
      args >> config.SearchStep >> config.SearchStepMs;
    } else if (key == "SEARCH-DELAY") {
      config.SearchDelayMs = atoi(rest.c_str());
    } else if (key == "SEARCH-CLIENT-ERROR") {
      config.SearchClientErrorAt = atoi(rest.c_str());
    } else if (key == "EXTENSION-VERSION") {
      std::string name;
      int major = 0, minor = 0, revision = 0;
      args >> name >> major >> minor >> revision;
      config.ExtensionVersions[name] = {static_cast<uint8_t>(major), static_cast<uint8_t>(minor),
                                        static_cast<uint8_t>(revision)};
    }
  }
}

static std::string DefaultConfigPath() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&DefaultConfigPath), &self);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  std::string p = path;
  size_t slash = p.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : p.substr(0, slash + 1)) + "nwserver.ini";
}

bool LoadConfig(TConfig& config) {
  char buffer[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("NWSIM_CONFIG", buffer, MAX_PATH);
  std::string path = (n > 0 && n < MAX_PATH) ? std::string(buffer) : DefaultConfigPath();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream text;
  text << in.rdbuf();
  config = TConfig();
  ParseConfig(text.str(), config);
  if (config.StatePath.empty()) config.StatePath = path + ".state";
  for (const TVolume& v : config.Volumes)
    if (!config.InitialNameSpaces.count(v.Name)) config.InitialNameSpaces[v.Name] = {0, 4};
  return true;
}

void AddModule(TState& state, const std::string& fileName) {
  uint32_t number = 1;
  for (uint32_t n : state.ModuleNumbers) number = std::max(number, n + 1);
  state.Modules.push_back(fileName);
  state.ModuleNumbers.push_back(number);
}

void RemoveModule(TState& state, size_t index) {
  state.Modules.erase(state.Modules.begin() + static_cast<std::ptrdiff_t>(index));
  state.ModuleNumbers.erase(state.ModuleNumbers.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string ToWire(const TConfig& config, const std::string& hostName) {
  std::string wire = hostName;
  if (config.OemNames && !wire.empty()) CharToOemBuffA(hostName.data(), wire.data(), static_cast<DWORD>(wire.size()));
  return wire;
}

std::string FromWire(const TConfig& config, const std::string& wireName) {
  std::string host = wireName;
  if (config.OemNames && !host.empty()) OemToCharBuffA(wireName.data(), host.data(), static_cast<DWORD>(host.size()));
  return host;
}

// --- state -------------------------------------------------------------------

static std::string MutexName(const std::string& statePath) {
  // One lock per state file, shared by every process.
  uint32_t h = 2166136261u;
  for (char c : UpperStr(statePath)) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  char name[64];
  snprintf(name, sizeof name, "nwsim-state-%08x", h);
  return name;
}

static void ReadStateFile(const TConfig& config, TState& state) {
  std::ifstream in(config.StatePath, std::ios::binary);
  if (!in) {
    for (const std::string& m : config.InitialModules) AddModule(state, m);
    state.NameSpaces = config.InitialNameSpaces;
    return;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string key;
    words >> key;
    if (key == "module") {
      std::string name;
      uint32_t number = 0;
      if (!(words >> name)) continue;
      if (words >> number && number != 0) {
        state.Modules.push_back(name);
        state.ModuleNumbers.push_back(number);
      } else {
        AddModule(state, name);
      }
    } else if (key == "ns") {
      std::string vol;
      int ns;
      words >> vol;
      std::vector<uint8_t>& list = state.NameSpaces[vol];
      while (words >> ns) list.push_back(static_cast<uint8_t>(ns));
    } else if (key == "attr") {
      uint32_t value = 0;
      std::string path;
      words >> value;
      std::getline(words >> std::ws, path);
      state.Attributes[path] = value;
    }
  }
}

// Attributes of entries that are gone (deleted or renamed through a share, not through
// the server) are dropped, so that a new file of the same name starts without them; each
// is noted in the record of deletions.
static void DropAttributesOfMissingEntries(const TConfig& config, TStateSession& session) {
  TVolumes volumes(config);
  auto& attributes = session.State().Attributes;
  for (auto it = attributes.begin(); it != attributes.end();) {
    TNwPath nw, canonical;
    std::string host;
    uint32_t code;
    bool present =
        ParseNwPath(it->first, nullptr, nw) && volumes.Resolve(nw, host, canonical, code) && volumes.Exists(host);
    if (present) {
      ++it;
    } else {
      session.NoteDeleted(it->first, it->second);
      it = attributes.erase(it);
    }
  }
}

TStateSession::TStateSession(const TConfig& config) : FConfig(config) {
  FMutex.Reset(CreateMutexA(nullptr, FALSE, MutexName(config.StatePath).c_str()));
  if (FMutex) {
    DWORD wait = WaitForSingleObject(FMutex.Get(), 10000);
    FMutexHeld = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  ReadStateFile(config, FState);
  size_t before = FState.Attributes.size();
  DropAttributesOfMissingEntries(config, *this);
  FChanged = FState.Attributes.size() != before;
}

void TStateSession::Save() {
  std::ofstream out(FConfig.StatePath, std::ios::binary | std::ios::trunc);
  for (size_t i = 0; i < FState.Modules.size(); ++i)
    out << "module " << FState.Modules[i] << ' ' << FState.ModuleNumbers[i] << "\r\n";
  for (const auto& [vol, list] : FState.NameSpaces) {
    out << "ns " << vol;
    for (uint8_t ns : list) out << ' ' << int(ns);
    out << "\r\n";
  }
  for (const auto& [path, value] : FState.Attributes) out << "attr " << value << ' ' << path << "\r\n";
  FChanged = false;
}

void TStateSession::ConsoleLog(const std::string& line) {
  std::ofstream out(FConfig.StatePath + ".console", std::ios::binary | std::ios::app);
  out << line << "\r\n";
}

void TStateSession::NoteDeleted(const std::string& key, uint32_t attributes) {
  std::ofstream out(FConfig.StatePath + ".deleted", std::ios::binary | std::ios::app);
  char hex[16];
  snprintf(hex, sizeof hex, "%X", attributes);
  out << key << ' ' << hex << "\r\n";
}

std::string TStateSession::Deletions() const {
  std::ifstream in(FConfig.StatePath + ".deleted", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TStateSession::~TStateSession() {
  if (FChanged) Save();
  if (FMutexHeld) ReleaseMutex(FMutex.Get());
}

}  // namespace nwsim
