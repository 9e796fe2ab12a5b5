#include "ShellFolders.h"

#include <windows.h>

#include "support/PathStrings.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

namespace setup {

namespace {

std::string ShellFolder(const char* Value, const std::string& Default) {
  return RemoveTrailingBackslash(ReadRegString(hkCurrentUser, kShellFoldersKey, Value, Default));
}

std::string ProgramFolder(const char* Value, const std::string& Default) {
  return RemoveTrailingBackslash(ReadRegString(hkLocalMachine, kCurrentVersionKey, Value, Default));
}

std::string WindowsFolder() {
  return RemoveTrailingBackslash(GetWindowsDir());
}

// The drive of the current folder, as "C:".
std::string CurrentDrive() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  std::string current(buffer, length > 0 && length < sizeof buffer ? length : 0);
  return current.size() >= 2 && current[1] == ':' ? current.substr(0, 2) : std::string();
}

}  // namespace

std::string GetStartMenuDir() {
  return ShellFolder("Start Menu", WindowsFolder() + "\\Startmen");
}
std::string GetProgramsMenuDir() {
  return ShellFolder("Programs", GetStartMenuDir() + "\\Programs");
}
std::string GetDesktopDir() {
  return ShellFolder("Desktop", WindowsFolder() + "\\Desktop");
}
std::string GetStartupDir() {
  return ShellFolder("Startup", WindowsFolder() + "\\Startup");
}
std::string GetProgramFilesDir() {
  return ProgramFolder("ProgramFilesDir", CurrentDrive() + "\\Program Files");
}
std::string GetCommonFilesDir() {
  return ProgramFolder("CommonFilesDir", CurrentDrive() + "\\Program Files\\Common Files");
}

}  // namespace setup
