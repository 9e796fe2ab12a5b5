#include "SetupTraces.h"

#include <windows.h>
// After windows.h:
#include <shlobj.h>

#include <algorithm>

#include "Files.h"
#include "MachineFolders.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"

namespace road {

namespace {

std::string TempFolder() {
  char path[MAX_PATH] = "";
  DWORD length = GetTempPathA(MAX_PATH, path);
  std::string folder(path, length);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

HKEY RootNamed(const std::string& Name) {
  if (Name == "HKLM") return HKEY_LOCAL_MACHINE;
  if (Name == "HKCU") return HKEY_CURRENT_USER;
  if (Name == "HKCR") return HKEY_CLASSES_ROOT;
  if (Name == "HKU") return HKEY_USERS;
  return nullptr;
}

}  // namespace

TMachineFolders MachineFolders() {
  return {testsupport::ShellFolder(CSIDL_PROGRAM_FILES), testsupport::ShellFolder(CSIDL_PROGRAMS), testsupport::ShellFolder(CSIDL_DESKTOPDIRECTORY)};
}

TMachineSnapshot SetupTraces() {
  const TMachineFolders folders = MachineFolders();
  std::vector<TWatchedKey> keys{
      {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Kavel"},
      {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Kavel Software"},
      {HKEY_CURRENT_USER, "\\Software\\Borland"},
      {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\URQ"},
      {HKEY_LOCAL_MACHINE, "\\Software\\Quenlark"},
      {HKEY_CURRENT_USER, "\\Software\\TOBA"},
      {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", -1, true},
      {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, true},
      {HKEY_CURRENT_USER, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0, true},
      {HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", 0, true},
      {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Microsoft\\Windows\\Help", 0, true},
      {HKEY_LOCAL_MACHINE, "\\System\\CurrentControlSet\\Control\\Session Manager", 0},
      {HKEY_CLASSES_ROOT, "", 0},
      {HKEY_CLASSES_ROOT, "\\CLSID", 0},
      {HKEY_CLASSES_ROOT, "\\TypeLib", 0},
  };
  std::vector<TWatchedFolder> watched{
      {folders.ProgramFiles, false}, {folders.ProgramFiles + "\\Kavel", true},
      {folders.Programs, true},      {testsupport::ShellFolder(CSIDL_COMMON_PROGRAMS), true},
      {folders.Desktop, false},      {testsupport::ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY), false},
      {testsupport::SystemFolder(), false},       {testsupport::WindowsFolder(), false},
      {TempFolder(), false},
  };
  return TMachineSnapshot(std::move(keys), std::move(watched));
}

std::vector<std::string> RemoveAdded(const std::vector<std::string>& Differences) {
  std::vector<std::string> values, keys, files, folders, failed;
  for (const std::string& line : Differences) {
    if (line.rfind("added ", 0) != 0) continue;
    const std::string item = line.substr(6);
    if (item.find(" -> ") != std::string::npos)
      values.push_back(item);
    else if (RootNamed(item.substr(0, item.find('\\'))) != nullptr)
      keys.push_back(item);
    else if (!item.empty() && item.back() == '\\')
      folders.push_back(item.substr(0, item.size() - 1));
    else
      files.push_back(item);
  }
  for (const std::string& item : values) {
    const size_t arrow = item.find(" -> ");
    const std::string key = item.substr(0, arrow), name = item.substr(arrow + 4);
    const size_t slash = key.find('\\');
    HKEY root = RootNamed(key.substr(0, slash));
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, slash == std::string::npos ? "" : key.c_str() + slash + 1, 0, KEY_SET_VALUE, &opened) ==
        ERROR_SUCCESS) {
      RegDeleteValueA(opened, name == "(default)" ? "" : name.c_str());
      RegCloseKey(opened);
    }
  }
  // Parents before their subkeys: the first deletion takes the whole tree.
  std::sort(keys.begin(), keys.end());
  for (const std::string& key : keys) {
    const size_t slash = key.find('\\');
    if (slash != std::string::npos && KeyExists(RootNamed(key.substr(0, slash)), key.substr(slash)) &&
        !testsupport::DeleteRegistryTree(RootNamed(key.substr(0, slash)), key.substr(slash)))
      failed.push_back("added " + key);
  }
  for (const std::string& file : files) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(file.c_str()) && testsupport::FileExists(file)) failed.push_back("added " + file);
  }
  std::sort(folders.rbegin(), folders.rend());
  for (const std::string& folder : folders)
    if (!RemoveDirectoryA(folder.c_str()) && testsupport::FolderExists(folder)) failed.push_back("added " + folder);
  return failed;
}

}  // namespace road
