// Windows' own files, wherever they lie: the system's known libraries and programs and
// libraries whose version resource names Windows' maker. The uninstaller never deletes, runs, loads or
// counts down such a file, whatever a log says.
#pragma once

#include <set>
#include <string>

namespace setup {

class TWindowsFiles {
 public:
  // Reads the system's list of known libraries.
  TWindowsFiles();
  // Whether the file at Path (a final path) is one of Windows' own.
  bool IsWindowsFile(const std::string& Path) const;

 private:
  std::set<std::string> FKnownLibraries;  // file names, upper case
};

}  // namespace setup
