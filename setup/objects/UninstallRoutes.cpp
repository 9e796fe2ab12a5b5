#include "UninstallRoutes.h"

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <algorithm>

namespace setup {

namespace {

// The final path of a folder of the machine, following links; the folder itself when it
// cannot be opened.
std::string FinalFolder(const std::string& Folder) {
  TOpenedEntry opened(Folder, true);
  return opened.Opened() ? opened.FinalPath() : Folder;
}

std::string ShellFolder(int CSIDL) {
  char buffer[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL, nullptr, SHGFP_TYPE_CURRENT, buffer))) return std::string();
  return LongPath(buffer);
}

}  // namespace

std::string LongPath(const std::string& Path) {
  char buffer[MAX_PATH + 1];
  DWORD length = GetLongPathNameA(Path.c_str(), buffer, sizeof buffer);
  if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
  const size_t slash = Path.find_last_of('\\');
  if (slash == std::string::npos || slash <= 2) return Path;
  std::string folder = LongPath(Path.substr(0, slash));
  if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
  return folder + Path.substr(slash + 1);
}

bool SamePath(const std::string& A, const std::string& B) {
  return IsSameOrParent(A, B) && IsSameOrParent(B, A);
}

TFolderRules MachineFolderRules() {
  TFolderRules rules;
  char buffer[MAX_PATH + 1];
  UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) rules.Sealed.push_back(LongPath(std::string(buffer, length)));
  length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) rules.Sealed.push_back(LongPath(std::string(buffer, length)));
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) {
    std::string folder = ShellFolder(csidl);
    if (!folder.empty()) rules.Protected.push_back(folder);
  }
  // The user's and every program's data folders.
  std::vector<std::string> data;
  for (int csidl : {CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_PROFILE, CSIDL_APPDATA,
                    CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
                    CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_STARTUP,
                    CSIDL_COMMON_STARTUP, CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_FAVORITES, CSIDL_COMMON_FAVORITES,
                    CSIDL_SENDTO, CSIDL_RECENT, CSIDL_TEMPLATES, CSIDL_COMMON_TEMPLATES, CSIDL_FONTS, CSIDL_COOKIES,
                    CSIDL_INTERNET_CACHE, CSIDL_HISTORY, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO,
                    CSIDL_ADMINTOOLS, CSIDL_COMMON_ADMINTOOLS}) {
    std::string folder = ShellFolder(csidl);
    if (!folder.empty()) data.push_back(folder);
  }
  length = GetEnvironmentVariableA("PUBLIC", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) data.push_back(LongPath(std::string(buffer, length)));
  length = GetTempPathA(MAX_PATH, buffer);
  if (length > 0 && length < MAX_PATH) {
    std::string temp = LongPath(std::string(buffer, length));
    while (!temp.empty() && temp.back() == '\\') temp.pop_back();
    rules.Protected.push_back(temp);
  }
  rules.Protected.insert(rules.Protected.end(), data.begin(), data.end());
  return rules;
}

TRoutes::TRoutes(const TFolderRules& Rules) : FRules(Rules) {
  auto addFinal = [this](std::vector<std::string>& Folders) {
    const std::vector<std::string> named = Folders;
    for (const std::string& folder : named) {
      const std::string final = FinalFolder(folder);
      if (SamePath(final, folder)) continue;
      Folders.push_back(final);
      FLinkedFolders.emplace_back(folder, final);
    }
  };
  addFinal(FRules.Protected);
  addFinal(FRules.Sealed);
}

std::string TRoutes::ExpectedFinal(const std::string& Path) const {
  const std::pair<std::string, std::string>* best = nullptr;
  for (const auto& linked : FLinkedFolders)
    if (IsSameOrParent(linked.first, Path) && (best == nullptr || linked.first.size() > best->first.size()))
      best = &linked;
  if (best == nullptr) return Path;
  std::string folder = best->first;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return best->second + Path.substr(folder.size());
}

bool TRoutes::Direct(const std::string& Path, const TOpenedEntry& Opened) const {
  return SamePath(Opened.FinalPath(), ExpectedFinal(Path)) || SamePath(Opened.FinalPath(), Path);
}

bool TRoutes::InSystemFolder(const std::string& Path) const {
  const std::string folder = ParentFolder(Path);
  return std::any_of(FRules.Sealed.begin(), FRules.Sealed.end(),
                     [&](const std::string& sealed) { return SamePath(sealed, folder); });
}

}  // namespace setup
