#include "NlmRegistry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/SysUtils.h"

namespace toolpage {

namespace {

const size_t kOldServerRequestSize = 130;
const size_t kOldServerMaxPath = 127;
const uint8_t kExecuteNcfSubFunction = 121;
const size_t kNcfBaseLength = 8;

bool ContainsName(const std::vector<std::string>& Names, const std::string& Name) {
  return std::any_of(Names.begin(), Names.end(), [&](const std::string& n) { return fw::SameText(n, Name); });
}

bool ContainsName(const TNlmClosure& List, const std::string& Name) {
  return std::any_of(List.begin(), List.end(), [&](const TNlmDepth& e) { return fw::SameText(e.Name, Name); });
}

}  // namespace

int32_t NlmVersionNumber(double Version) {
  return static_cast<int32_t>(std::lround(Version * 100));
}

void TNlmRegistry::RegisterNlm(const std::string& Name, const std::string& FileName, const std::string& ExtensionName,
                               double MinVersion, const std::vector<std::string>& Dependencies) {
  auto desc = std::make_unique<TNlmDesc>();
  desc->Name = fw::UpperCase(Name);
  desc->FileName = FileName;
  desc->ExtensionName = ExtensionName;
  desc->MinVersion = NlmVersionNumber(MinVersion);
  desc->Dependencies = Dependencies;
  FRegistry.push_back(std::move(desc));
}

const TNlmDesc* TNlmRegistry::FindNlm(const std::string& Name) const {
  const TNlmDesc* best = nullptr;
  for (const auto& desc : FRegistry) {
    if (!fw::SameText(desc->Name, Name)) continue;
    if (desc->MinVersion <= 0 || desc->MinVersion > FServerVersion) continue;
    if (!best || desc->MinVersion > best->MinVersion) best = desc.get();
  }
  return best;
}

const TNlmDesc* TNlmRegistry::GetNlm(const std::string& Name) const {
  if (FServerVersion != 0) return FindNlm(Name);
  const std::string upper = fw::UpperCase(Name);
  for (const auto& desc : FRegistry)
    if (desc->Name == upper) return desc.get();
  return nullptr;
}

void TNlmRegistry::CollectDependencies(const std::string& Name, TNlmClosure& List, int Depth) const {
  std::vector<std::string> path{Name};
  VisitDependencies(Name, Depth, List, path);
}

// Depth-first, each module entered after all it needs; Path holds the modules being
// visited, so a cycle back to one of them is not followed.
void TNlmRegistry::VisitDependencies(const std::string& Name, int Depth, TNlmClosure& List,
                                     std::vector<std::string>& Path) const {
  if (Depth >= kMaxNlmDepth) return;
  const TNlmDesc* desc = FindNlm(Name);
  if (!desc) return;
  for (const std::string& dep : desc->Dependencies) {
    if (ContainsName(Path, dep) || ContainsName(List, dep)) continue;
    Path.push_back(dep);
    VisitDependencies(dep, Depth + 1, List, Path);
    Path.pop_back();
    List.push_back({fw::UpperCase(dep), Depth});
  }
}

std::vector<std::string> TNlmRegistry::ModuleNames() const {
  std::vector<std::string> names;
  for (const auto& desc : FRegistry) names.push_back(desc->Name);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

void TNlmRegistry::CollectDependents(const std::string& Name, TNlmClosure& List, int Depth) const {
  std::vector<std::string> path{Name};
  VisitDependents(Name, Depth, ModuleNames(), List, path);
}

// Depth-first over the modules that need Name, each entered after all that need it.
void TNlmRegistry::VisitDependents(const std::string& Name, int Depth, const std::vector<std::string>& Names,
                                   TNlmClosure& List, std::vector<std::string>& Path) const {
  if (Depth >= kMaxNlmDepth) return;
  for (const std::string& module : Names) {
    const TNlmDesc* desc = FindNlm(module);
    if (!desc || !ContainsName(desc->Dependencies, Name)) continue;
    if (ContainsName(Path, module) || ContainsName(List, module)) continue;
    Path.push_back(module);
    VisitDependents(module, Depth + 1, Names, List, Path);
    Path.pop_back();
    List.push_back({module, Depth});
  }
}

std::string NcfScriptName(const std::string& Prefix, const std::string& HostProgramPath) {
  std::string base = HostProgramPath;
  size_t sep = base.find_last_of("\\/:");
  if (sep != std::string::npos) base = base.substr(sep + 1);
  size_t dot = base.rfind('.');
  if (dot != std::string::npos) base = base.substr(0, dot);
  std::string name = fw::UpperCase(Prefix + base);
  if (name.size() > kNcfBaseLength) name.resize(kNcfBaseLength);
  return name + ".NCF";
}

std::string NcfLine(const std::string& Command, const std::string& FileName, const std::string& ServerDir,
                    bool WithDir) {
  return Command + " " + (WithDir ? ServerDir + "\\" + FileName : FileName);
}

std::vector<std::string> NcfLines(const std::string& Command, const std::vector<const TNlmDesc*>& List,
                                  const std::string& ServerDir, bool WithDir) {
  std::vector<std::string> lines;
  for (const TNlmDesc* desc : List) lines.push_back(NcfLine(Command, desc->FileName, ServerDir, WithDir));
  return lines;
}

std::vector<uint8_t> BuildOldServerNcfRequest(const std::string& NcfPath) {
  if (NcfPath.size() > kOldServerMaxPath) throw fw::Exception("Name too long!");
  std::vector<uint8_t> request(kOldServerRequestSize, 0);
  request[0] = kExecuteNcfSubFunction;
  memcpy(&request[1], NcfPath.data(), NcfPath.size());  // the terminator and the rest stay zero
  return request;
}

}  // namespace toolpage
