// A product's uninstall log written as its installation writes it, for tests of the
// uninstaller: folders made with each missing level recorded, files written and logged
// with what was written, shared files with their counted use.
#pragma once

#include <string>

#include "Files.h"
#include "objects/UninstallFileLog.h"
#include "objects/UninstallLogReader.h"
#include "archive/FileSystem.h"

namespace uninstall_tests {

class TInstallationLog {
 public:
  explicit TInstallationLog(const std::string& Product)
      : FKey("\\" + std::string(setup::kUninstallRoot) + "\\" + Product), FLog(FKey) {}

  const std::string& Key() const { return FKey; }
  // Makes Folder and its missing parents as an installation does.
  void MakeFolder(const std::string& Folder) {
    FLog.NoteFolderToMake(Folder);
    setup::ForceDirectories(Folder);
  }
  // Writes the file (in a folder made as above) and logs what was written.
  void WriteFile(const std::string& Path, const std::string& Content, bool Shared = false) {
    MakeFolder(Path.substr(0, Path.find_last_of('\\')));
    testsupport::WriteFile(Path, Content);
    LogFile(Path, Shared);
  }
  // Logs a file that is there as the installation's own, with its content now.
  void LogFile(const std::string& Path, bool Shared = false) {
    setup::TLoggedWrite written = setup::LoggedWriteAt(Path);
    written.Shared = Shared;
    FLog.LogFile(Path, written);
  }
  void LogActiveX(const std::string& Path, char Kind) { FLog.LogActiveX(Path, Kind, setup::LoggedWriteAt(Path)); }

 private:
  std::string FKey;
  setup::TUninstallFileLog FLog;
};

}  // namespace uninstall_tests
