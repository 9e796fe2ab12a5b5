// The counts of shared files under HKEY_LOCAL_MACHINE\...\SharedDLLs as the uninstaller
// meets them: read once (a file is counted under its long path or its short one), a use
// the installation recorded given back once per file, however often and by whatever
// route it is logged.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace setup {

enum class TShare { NotShared, StillUsed, Released };

class TSharedCounts {
 public:
  // Reads the names of every count.
  TSharedCounts();

  // One use fewer of the file Id (its upper-case final path), counted under one of Names (its paths, in
  // any form): StillUsed while others count it, Released when its count ended (the value
  // goes), NotShared when no count names it. Once for each file: a second call answers as
  // the first.
  TShare Release(const std::string& Id, const std::vector<std::string>& Names);
  // Whether some program counts the file under one of Names.
  bool IsCounted(const std::vector<std::string>& Names) const;

 private:
  // The count's value name for one of Names; empty when none counts the file.
  std::string CountName(const std::vector<std::string>& Names) const;

  std::map<std::string, std::string> FNames;  // by the upper-case long and given path: the value's name
  std::map<std::string, TShare> FReleased;    // by file
};

}  // namespace setup
