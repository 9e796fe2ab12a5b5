#include "WinFolders.h"

#include <windows.h>

#include "Errors.h"

namespace setup {

namespace {
constexpr DWORD kPathBuffer = 261;
}

std::string ShortPathName(const std::string& Path) {
  char buffer[kPathBuffer];
  DWORD n = GetShortPathNameA(Path.c_str(), buffer, kPathBuffer);
  if (n == 0 || n >= kPathBuffer) return Path;
  return std::string(buffer, n);
}

std::string GetTempFile(bool Keep) {
  char folder[kPathBuffer];
  DWORD n = GetTempPathA(kPathBuffer, folder);
  char name[kPathBuffer] = "";
  if (n == 0 || n >= kPathBuffer || GetTempFileNameA(folder, "bat", 0, name) == 0 || name[0] == '\0')
    throw EAPIRoutines("Cannot create a temporary file");
  if (!Keep) DeleteFileA(name);
  return name;
}

std::string GetSystemDir() {
  char buffer[kPathBuffer];
  UINT n = GetSystemDirectoryA(buffer, kPathBuffer);
  if (n == 0 || n >= kPathBuffer) throw EAPIRoutines("Could not retrieve the system directroy from windows");
  return std::string(buffer, n);
}

std::string GetWindowsDir() {
  char buffer[kPathBuffer];
  UINT n = GetWindowsDirectoryA(buffer, kPathBuffer);
  if (n == 0 || n >= kPathBuffer) throw EAPIRoutines("Could not retrieve the windows directory from windows");
  return std::string(buffer, n);
}

}  // namespace setup
