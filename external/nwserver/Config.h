// Configuration and persistent state of the simulated server.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "gui/WinHandles.h"

namespace nwsim {

struct TVolume {
  std::string Name;     // upper-case, without colon
  std::string HostDir;  // folder of the host that holds the volume's files
};

struct TExtensionVersion {
  uint8_t Major = 4, Minor = 10, Revision = 0;
};

struct TConfig {
  std::string ServerName = "NWSIM";
  int Version = 411;  // major * 100 + minor
  std::vector<TVolume> Volumes;
  bool ConsoleOperator = true;
  bool RemoteExec = true;
  std::string StatePath;
  std::set<std::string> Faults;             // deliberately broken answers
  std::vector<std::string> InitialModules;  // loaded when the state is first made
  std::map<std::string, std::vector<uint8_t>> InitialNameSpaces;
  std::map<std::string, TExtensionVersion> ExtensionVersions;
  std::vector<std::string> PeerServers;  // other servers a path may name ("SRV2/SYS:X")
  std::set<uint32_t> StaleReferences;    // references whose connection is gone
  bool OemNames = false;                 // names travel in OEM characters, stored in ANSI
  int SearchStep = 0, SearchStepMs = 0;  // searches find SearchStep entries every SearchStepMs
  int SearchDelayMs = 0;                 // each call of a search channel takes this long
  int SearchClientErrorAt = 0;           // the n-th results call of a search fails (0: none)

  const TVolume* FindVolume(const std::string& name) const;
  int VolumeIndex(const std::string& name) const;  // -1 when unknown
  bool HasFault(const std::string& name) const { return Faults.count(name) != 0; }
};

// Reads the file named by the environment variable NWSIM_CONFIG, or "nwserver.ini" beside
// NWSIM.DLL. False when there is no configuration: then no server answers.
bool LoadConfig(TConfig& config);
// Parses configuration text; exposed for the stand-in's own checks.
void ParseConfig(const std::string& text, TConfig& config);

struct TState {
  std::vector<std::string> Modules;                        // loaded module file names, upper-case, in load order
  std::vector<uint32_t> ModuleNumbers;                     // each module's number, kept while it is loaded
  std::map<std::string, uint32_t> Attributes;              // "VOL:DIR\NAME" upper-case -> NetWare attributes
  std::map<std::string, std::vector<uint8_t>> NameSpaces;  // volume -> loaded name spaces
};

// Holds the server's cross-process lock while the state is read, changed and written.
class TStateSession {
 public:
  explicit TStateSession(const TConfig& config);
  ~TStateSession();
  TStateSession(const TStateSession&) = delete;
  TStateSession& operator=(const TStateSession&) = delete;

  TState& State() { return FState; }
  void Save();  // writes the state back (also done by the destructor when changed)
  void MarkChanged() { FChanged = true; }
  // Appends one line to the server console's log (the state file's name + ".console").
  void ConsoleLog(const std::string& line);
  // Notes an entry that went, with the attributes it had then (the state file's name +
  // ".deleted", one line "VOL:PATH HEX" each), and reads those lines back.
  void NoteDeleted(const std::string& key, uint32_t attributes);
  std::string Deletions() const;

 private:
  const TConfig& FConfig;
  fw::TKernelHandle FMutex;
  bool FMutexHeld = false;
  TState FState;
  bool FChanged = false;
};

std::string UpperStr(std::string s);
// Appends a module with the next free number.
void AddModule(TState& state, const std::string& fileName);
void RemoveModule(TState& state, size_t index);
// Names as they travel to and from the client: OEM characters when OemNames is set.
std::string ToWire(const TConfig& config, const std::string& hostName);
std::string FromWire(const TConfig& config, const std::string& wireName);

}  // namespace nwsim
