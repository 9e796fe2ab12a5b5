// The uninstaller's judgement of the registry entries a log names, and their removal. A
// value goes only when the log shows the installation created it (it was not there
// before) and only while its type and bytes are exactly what the installation wrote; a key
// goes only when the log shows the installation created it, once empty, the deepest
// first. Keys are opened one level at a time and no registry link is followed: a key the
// installation made that is now a link goes as a link, never what it leads to. Windows'
// own configuration stays whatever the log says (UninstallRules.h). The product's
// uninstall entry is deleted without ever leaving its tree. Whatever stays is named.
#pragma once

#include <string>
#include <vector>

#include "UninstallLogFormat.h"

namespace setup {

class TRegistryRemoval {
 public:
  // NotRemoved receives one line for each thing that stays.
  explicit TRegistryRemoval(std::vector<std::string>& NotRemoved) : FNotRemoved(NotRemoved) {}

  // The values, then the keys, of every logged registry key.
  void RemoveRegistryEntries(const std::vector<TLoggedRegistryKey>& Entries);
  // The product's uninstall entry (below HKEY_LOCAL_MACHINE) with everything below it;
  // false (and named) when something of it stays.
  bool RemoveProductEntry(const std::string& UninstallKey);

 private:
  struct TMadeKey;
  void RemoveValues(const TLoggedRegistryKey& Logged, int Root, const std::string& Key);
  void RemoveMadeKeys(std::vector<TMadeKey>& Keys);
  void NotRemoved(const std::string& Line) { FNotRemoved.push_back(Line); }

  std::vector<std::string>& FNotRemoved;
};

}  // namespace setup
