// Symbolic links for the uninstaller's tests: made through Windows where it can, else
// through the Unix side's "ln" (Wine's CreateSymbolicLink makes nothing; Wine then shows
// the link as what it leads to).
#pragma once

#include <windows.h>

#include <string>

#include "support/FileHandles.h"

namespace uninstall_tests {

// The Unix path of a Windows path where Wine runs the program; empty elsewhere.
inline std::string UnixPath(const std::string& Path) {
  const auto unixName = setup::Kernel32Function<char*(CDECL*)(LPCWSTR)>("wine_get_unix_file_name");
  if (unixName == nullptr) return std::string();
  const std::wstring wide(Path.begin(), Path.end());
  char* name = unixName(wide.c_str());
  const std::string path = name != nullptr ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return path;
}

// Runs a program of the Unix side and waits until Done says it has done its work (its
// process is not one Wine waits for); false when it cannot start or Done stays false.
template <typename TDone>
bool RunUnix(std::string Command, const TDone& Done) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int wait = 0; wait < 100; ++wait, Sleep(50))
    if (Done()) return true;
  return false;
}

inline bool Exists(const std::string& Path) {
  return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Makes Link a symbolic link to Target (a file, or a folder with Folder); false when
// neither way can.
inline bool MakeLink(const std::string& Link, const std::string& Target, bool Folder = false) {
  const auto create = setup::Kernel32Function<BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD)>("CreateSymbolicLinkA");
  if (create != nullptr && create(Link.c_str(), Target.c_str(), Folder ? 1 : 0) && Exists(Link)) return true;
  const std::string target = UnixPath(Target), link = UnixPath(Link);
  return !target.empty() && !link.empty() &&
         RunUnix("Z:\\bin\\ln -s \"" + target + "\" \"" + link + "\"", [&] { return Exists(Link); });
}

// Removes the link itself (on Wine only the Unix side can: Windows calls reach what it
// leads to).
inline bool RemoveLink(const std::string& Link) {
  const std::string link = UnixPath(Link);
  if (!link.empty()) return RunUnix("Z:\\bin\\rm -f \"" + link + "\"", [&] { return !Exists(Link); });
  return RemoveDirectoryA(Link.c_str()) || DeleteFileA(Link.c_str());
}

}  // namespace uninstall_tests
