// The machine's own folders as tests and the road name them: a shell folder by its CSIDL,
// the system and Windows folders, without a trailing backslash.
#pragma once

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <string>

namespace testsupport {

// The shell folder CSIDL names; empty when the system names none.
inline std::string ShellFolder(int Csidl) {
  char path[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, Csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
  return path;
}

inline std::string SystemFolder() {
  char path[MAX_PATH] = "";
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

inline std::string WindowsFolder() {
  char path[MAX_PATH] = "";
  const UINT length = GetWindowsDirectoryA(path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

}  // namespace testsupport
