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

 private:
  const TConfig& FConfig;
  fw::TKernelHandle FMutex;
  bool FMutexHeld = false;
  TState FState;
  bool FChanged = false;
};

std::string UpperStr(std::string s);

}  // namespace nwsim
