#include "FileReplacement.h"

#include <windows.h>

#include <fstream>

#include "InstallFile.h"
#include "archive/ArchiveText.h"
#include "archive/FileSystem.h"
#include "gui/WinHandles.h"
#include "support/PathStrings.h"
#include "support/WinFolders.h"

namespace setup {

bool IsFileReplaceable(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  // Nobody else may hold the file open: exclusive write and delete access.
  fw::TFileHandle file(
      CreateFileA(Path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Valid();
}

std::string FreeNumberedName(const std::string& Folder, const std::string& Name) {
  constexpr int kMaxNumber = 9999;
  for (int n = 1; n <= kMaxNumber; ++n) {
    std::string extension = ".";
    extension += std::to_string(n);
    std::string candidate = ChangeFileExt(Name, extension);
    if (!FileExists(AddTrailingBackslash(Folder) + candidate)) return candidate;
  }
  throw IECustomInstallFile("Cannot find a free name beside %s in %s", Name, Folder);
}

bool ScheduleRenameInWininit(const std::string& NewPath, const std::string& Target) {
  std::string ini = AddTrailingBackslash(GetWindowsDir()) + "WININIT.INI";
  return WritePrivateProfileStringA("Rename", ShortPathName(Target).c_str(), ShortPathName(NewPath).c_str(),
                                    ini.c_str()) != 0;
}

bool ScheduleMoveAtRestart(const std::string& NewPath, const std::string& Target) {
  return MoveFileExA(NewPath.c_str(), Target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

std::string WriteReplacementBatch(const std::string& NewPath, const std::string& Target) {
  std::string batch = ChangeFileExt(GetTempFile(false), ".bat");
  std::string target = ShortPathName(Target);
  std::ofstream out(batch, std::ios::binary | std::ios::trunc);
  out << "erase \"" << target << "\"\r\n"
      << "move \"" << ShortPathName(NewPath) << "\" \"" << target << "\"\r\n";
  out.close();
  if (!out) throw IECustomInstallFile("Cannot write the batch file %s", batch);
  return batch;
}

}  // namespace setup
