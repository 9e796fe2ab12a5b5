#include "BuildStaging.h"

#include <windows.h>

#include <vector>

#include "archive/FileSystem.h"
#include "gui/WinHandles.h"
#include "objects/InstallEngine.h"
#include "support/PathStrings.h"

namespace setup {
namespace {

constexpr char kStagingName[] = "~build.tmp";

// The entries of Folder other than "." and "..": name and whether it is a folder.
std::vector<std::pair<std::string, bool>> Entries(const std::string& Folder) {
  std::vector<std::pair<std::string, bool>> entries;
  WIN32_FIND_DATAA data;
  fw::TFindHandle find(FindFirstFileA((AddTrailingBackslash(Folder) + "*").c_str(), &data));
  if (!find.Valid()) return entries;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    entries.emplace_back(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileA(find.Get(), &data));
  return entries;
}

void MoveOne(const std::string& From, const std::string& To) {
  if (!MoveFileExA(From.c_str(), To.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
    throw IEInstall("Cannot move %s to %s: %s", From, To, SystemErrorText(GetLastError()));
}

// Moves the contents of From into To, folder by folder; Last (in From itself) at the end.
void MoveTree(const std::string& From, const std::string& To, const std::string& Last) {
  ForceDirectories(To);
  for (const auto& [name, folder] : Entries(From)) {
    if (!Last.empty() && _stricmp(name.c_str(), Last.c_str()) == 0) continue;
    const std::string source = AddTrailingBackslash(From) + name, target = AddTrailingBackslash(To) + name;
    if (folder)
      MoveTree(source, target, std::string());
    else
      MoveOne(source, target);
  }
  if (!Last.empty() && FileExists(AddTrailingBackslash(From) + Last))
    MoveOne(AddTrailingBackslash(From) + Last, AddTrailingBackslash(To) + Last);
}

}  // namespace

bool DeleteFolderTree(const std::string& Folder) {
  for (const auto& [name, folder] : Entries(Folder)) {
    const std::string path = AddTrailingBackslash(Folder) + name;
    if (folder) {
      DeleteFolderTree(path);
    } else {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  }
  return RemoveDirectoryA(Folder.c_str()) != 0 || GetFileAttributesA(Folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

TBuildStaging::TBuildStaging(const std::string& Dir)
    : FDir(RemoveTrailingBackslash(Dir)), FFolder(AddTrailingBackslash(Dir) + kStagingName) {
  if (!ForceDirectories(FDir)) throw IEInstall("Cannot create the build directory %s", FDir);
  // What a build that was killed left behind.
  DeleteFolderTree(FFolder);
  if (!CreateDirectoryA(FFolder.c_str(), nullptr))
    throw IEInstall("Cannot create the folder %s: %s", FFolder, SystemErrorText(GetLastError()));
}

TBuildStaging::~TBuildStaging() {
  if (!FCommitted) DeleteFolderTree(FFolder);
}

void TBuildStaging::Commit(const std::string& Last) {
  const std::string oldFiles = AddTrailingBackslash(FDir) + "files.1";
  if (!FileExists(AddTrailingBackslash(FFolder) + "files.1") && FileExists(oldFiles)) DeleteFileA(oldFiles.c_str());
  MoveTree(FFolder, FDir, Last);
  FCommitted = true;
  DeleteFolderTree(FFolder);
}

}  // namespace setup
