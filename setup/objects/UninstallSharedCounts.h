// The counts of shared files under HKEY_LOCAL_MACHINE\...\SharedDLLs as the uninstaller
// meets them: a file is counted under its logged, long, final or short path; a use the
// installation recorded is given back once per file, however often and by whatever route
// it is logged.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace setup {

enum class TShare { NotShared, StillUsed, Released };

class TSharedCounts {
 public:
  // One use fewer of the file Id (FileIdOf), counted under one of Names: StillUsed while
  // others count it, Released when its count ended (the value goes), NotShared when no
  // count names it. Once for each file: a second call answers as the first.
  TShare Release(const std::string& Id, const std::vector<std::string>& Names);
  // Whether some program counts the file under one of Names.
  static bool IsCounted(const std::vector<std::string>& Names);

 private:
  std::map<std::string, TShare> FReleased;  // by file
};

// The names a file may be counted under: the given ones and the short form of the last.
std::vector<std::string> SharedCountNames(std::vector<std::string> Names);

}  // namespace setup
