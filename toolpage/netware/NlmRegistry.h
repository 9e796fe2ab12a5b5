// The builds of the product's server modules: which build suits which server version,
// which modules a build needs, and the orders in which modules are loaded and unloaded.
// Also the names and lines of the generated module scripts and the request that runs a
// script on servers before 3.13. Needs no Windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace toolpage {

// Closures stop at this depth, so dependency cycles end.
constexpr int kMaxNlmDepth = 10;

// One build of one server module.
class TNlmDesc {
 public:
  std::string Name;                       // upper-cased ("VX4LIB")
  std::string FileName;                   // on the workstation and the server ("VX4LIB.312")
  std::string ExtensionName;              // NCP extension the loaded module registers; may be empty
  int32_t MinVersion = 0;                 // lowest server version, major * 100 + minor
  std::vector<std::string> Dependencies;  // modules this build needs loaded
};

// 3.12 gives 312, 4.1 gives 410.
int32_t NlmVersionNumber(double Version);

// A module of a closure and the depth at which the walk first reached it.
struct TNlmDepth {
  std::string Name;
  int Depth = 0;
};
using TNlmClosure = std::vector<TNlmDepth>;

class TNlmRegistry {
 public:
  TNlmRegistry() = default;
  virtual ~TNlmRegistry() = default;
  TNlmRegistry(const TNlmRegistry&) = delete;
  TNlmRegistry& operator=(const TNlmRegistry&) = delete;

  void RegisterNlm(const std::string& Name, const std::string& FileName, const std::string& ExtensionName,
                   double MinVersion, const std::vector<std::string>& Dependencies);

  // The build of Name with the highest MinVersion above 0 and not above ServerVersion (the
  // first registered among equals); nil when none fits or the server version is unknown.
  const TNlmDesc* FindNlm(const std::string& Name) const;
  // FindNlm once the server version is known; before, the first build of Name.
  const TNlmDesc* GetNlm(const std::string& Name) const;

  // The modules Name needs, directly or through others, in load order: each after every
  // module it needs, each once, Name itself left out. Follows the builds that suit
  // ServerVersion; a call with Depth kMaxNlmDepth adds nothing.
  void CollectDependencies(const std::string& Name, TNlmClosure& List, int Depth = 0) const;
  // The modules that need Name, directly or through others, in unload order: each before
  // every module it needs, each once, Name itself left out.
  void CollectDependents(const std::string& Name, TNlmClosure& List, int Depth = 0) const;

  int32_t ServerVersion() const { return FServerVersion; }
  void SetServerVersion(int32_t Value) { FServerVersion = Value; }
  const std::vector<std::unique_ptr<TNlmDesc>>& Registry() const { return FRegistry; }

 private:
  void VisitDependencies(const std::string& Name, int Depth, TNlmClosure& List, std::vector<std::string>& Path) const;
  void VisitDependents(const std::string& Name, int Depth, const std::vector<std::string>& Names, TNlmClosure& List,
                       std::vector<std::string>& Path) const;
  std::vector<std::string> ModuleNames() const;

  std::vector<std::unique_ptr<TNlmDesc>> FRegistry;
  int32_t FServerVersion = 0;
};

// "LD" or "UL" + the host program's base name, upper-cased, the whole cut to eight
// characters, + ".NCF" (a host C:\X\console.exe gives LDCONSOL.NCF).
std::string NcfScriptName(const std::string& Prefix, const std::string& HostProgramPath);
// Command, a space, then the file name (WithDir: ServerDir + "\" + file name).
std::string NcfLine(const std::string& Command, const std::string& FileName, const std::string& ServerDir,
                    bool WithDir);
// Command + file name of each build, one line each.
std::vector<std::string> NcfLines(const std::string& Command, const std::vector<const TNlmDesc*>& List,
                                  const std::string& ServerDir, bool WithDir);

// The 130-byte request to the base module that runs an NCF file on servers before 3.13:
// sub-function 121, the path, its terminator, zeros. A path of 128 characters or more
// raises "Name too long!".
std::vector<uint8_t> BuildOldServerNcfRequest(const std::string& NcfPath);

}  // namespace toolpage
