// Files of the simulated server's volumes: NetWare paths mapped to folders of the host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Config.h"

namespace nwsim {

// Result codes the simulated server answers with.
enum : uint32_t {
  kOk = 0,
  kInvalidConnection = 0x8801,
  kNoConnToServer = 0x880F,
  kNoRenamePrivilege = 0x898B,
  kNoDeletePrivilege = 0x898A,
  kAllNamesExist = 0x8992,
  kVolumeDoesNotExist = 0x8998,
  kBadDirHandle = 0x899B,
  kInvalidPath = 0x899C,
  kNoMoreDirHandles = 0x899D,
  kAccessDenied = 0x89A8,
  kInvalidNameSpace = 0x89BF,
  kNoConsolePrivileges = 0x89C6,
  kNotSupported = 0x89FB,
  kNoSuchObject = 0x89FC,
  kFailure = 0x89FF,
};

// Entry attributes of NetWare.
enum : uint32_t {
  faReadOnly = 0x1,
  faHidden = 0x2,
  faSystem = 0x4,
  faDirectory = 0x10,
  faDeleteInhibit = 0x40000,
  faRenameInhibit = 0x20000,
};

struct TNwPath {
  std::string Volume;              // upper-case
  std::vector<std::string> Parts;  // components as given (either name space)
  std::string Key() const;         // "VOL:DIR\NAME", upper-case, components as on the host
};

// Splits "SERVER/VOL:DIR\NAME", "VOL:DIR\NAME" or, with a base, "DIR\NAME".
bool ParseNwPath(const std::string& text, const TNwPath* base, TNwPath& out);

// The DOS (8.3) name under which an entry appears in name space 0.
std::string DosName(const std::string& longName);
bool IsDosName(const std::string& name);
// '*' and '?' wildcards, without regard to case.
bool WildMatch(const std::string& pattern, const std::string& name);

struct TEntry {
  std::string Name;  // as stored on the host
  bool Directory = false;
};

// The DOS name of entries[index] in its directory: long names that share their first six
// characters are numbered ~1, ~2, ... in the directory's order.
std::string DosNameIn(const std::vector<TEntry>& entries, size_t index);

class TVolumes {
 public:
  explicit TVolumes(const TConfig& config) : FConfig(config) {}

  // Host path of a NetWare path whose components may be given in either name space;
  // components are matched to what exists. False (and the code) when the volume or a
  // directory on the way does not exist; the last component need not exist.
  bool Resolve(const TNwPath& path, std::string& hostPath, TNwPath& canonical, uint32_t& code) const;
  bool Exists(const std::string& hostPath, bool* directory = nullptr) const;
  std::vector<TEntry> List(const std::string& hostDir) const;  // sorted by name
  // The DOS name of the last component of an existing canonical path.
  std::string DosNameOf(const TNwPath& canonical) const;

 private:
  const TConfig& FConfig;
};

bool ReadHostFile(const std::string& hostPath, std::string& data);
bool WriteHostFile(const std::string& hostPath, const std::string& data);

}  // namespace nwsim
