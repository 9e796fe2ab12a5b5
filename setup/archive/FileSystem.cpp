#include "FileSystem.h"

#include <windows.h>

#include <cstdio>

#include "ArchiveText.h"
#include "core/SysUtils.h"
#include "support/Errors.h"
#include "support/FileHandles.h"
#include "support/PathStrings.h"

namespace setup {

bool FileExists(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FileSizeAndWriteTime(const std::string& Path, int64_t& Size, uint64_t& WriteTime) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &data)) return false;
  Size = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  WriteTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return true;
}

namespace {
bool DirectoryExists(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
}  // namespace

std::string CannotCreateFileText(const std::string& Path, uint32_t Error) {
  std::string text = fw::Format("Cannot create the file %s", Path);
  const std::string reason = SystemErrorText(Error);
  return reason.empty() ? text : text + "\n" + reason;
}

std::string DiskFullText(const std::string& Path) {
  // The drive ("C:") or the share ("\\server\share") the file lies on.
  std::string drive = Path.substr(0, Path.size() >= 2 && Path[1] == ':' ? 2 : 0);
  if (drive.empty() && Path.compare(0, 2, "\\\\") == 0) {
    const size_t share = Path.find('\\', 2);
    drive = Path.substr(0, share == std::string::npos ? Path.size() : Path.find('\\', share + 1));
  }
  if (drive.empty()) return fw::Format("The disk is full\nwhile writing %s", Path);
  return fw::Format("The disk is full\nThere is no room left on %s for %s", drive, Path);
}

bool ForceDirectories(const std::string& Folder) {
  std::string dir = RemoveTrailingBackslash(Folder);
  if (dir.empty() || dir.back() == ':' || DirectoryExists(dir)) return true;
  std::string parent = RemoveTrailingBackslash(ExtractFilePath(dir));
  if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
  return CreateDirectoryA(dir.c_str(), nullptr) || DirectoryExists(dir);
}

std::string ProgramFileName() {
  char buffer[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, n);
}

std::unique_ptr<fw::TStream> TDiskFiles::Open(const std::string& Path, TFileOpen Mode) {
  auto file = std::make_unique<TWinFile>();
  if (!file->Open(Path, Mode)) return nullptr;
  return file;
}

bool DeleteNowOrAtRestart(const std::string& Path) {
  if (DeleteFileA(Path.c_str())) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
  return MoveFileExA(Path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

TReplacementFile::~TReplacementFile() {
  FStream.Close();
  if (!FTempName.empty()) DeleteFileA(FTempName.c_str());
}

bool TReplacementFile::CreateInPlace() {
  if (!FStream.CreateNew(FTarget)) return false;
  FTempName = FTarget;
  FInPlace = true;
  return true;
}

namespace {

// The folder of Path with its backslash ("." for a bare name).
std::string FolderOf(const std::string& Path) {
  const std::string folder = ExtractFilePath(Path);
  return folder.empty() ? ".\\" : folder;
}

bool IsTakenName(DWORD Error) {
  return Error == ERROR_FILE_EXISTS || Error == ERROR_ALREADY_EXISTS;
}

// Names as GetTempFileName names its files ("qx", a hexadecimal number, Extension), from
// a number the clock chooses, given to Make until it makes one: the name found is the
// file made (Wine looks through the whole folder for each new name, so none is tried
// twice). False when Make fails for another reason than a taken name, GetLastError
// telling why.
template <class TMake>
bool MakeUnderFreeName(const std::string& Folder, const char* Extension, TMake&& Make) {
  const DWORD first = GetTickCount();
  for (DWORD i = 0; i < 0x10000; ++i) {
    const DWORD unique = (first + i) & 0xFFFF;
    if (unique == 0) continue;
    char name[24];
    std::snprintf(name, sizeof name, "qx%X%s", static_cast<unsigned>(unique), Extension);
    if (Make(Folder + name)) return true;
    const DWORD error = GetLastError();
    if (!IsTakenName(error) && error != ERROR_SHARING_VIOLATION) return false;
  }
  return false;
}

}  // namespace

std::string CopyAside(const std::string& Path) {
  std::string aside;
  const auto copy = [&](const std::string& Candidate) {
    if (!CopyFileA(Path.c_str(), Candidate.c_str(), TRUE)) return false;
    aside = Candidate;
    return true;
  };
  return MakeUnderFreeName(FolderOf(Path), ".old", copy) ? aside : std::string();
}

bool TReplacementFile::Create() {
  return MakeUnderFreeName(FolderOf(FTarget), ".tmp", [&](const std::string& Path) {
    if (!FStream.CreateNew(Path)) return false;
    FTempName = Path;
    return true;
  });
}

bool TReplacementFile::Commit(TReplacementRecord* Record) {
  // The identity comes from the handle that made the file: nothing can stand in for it.
  const std::string id = Record != nullptr ? FileIdOf(FStream.Handle()) : std::string();
  FStream.Close();
  std::string aside;
  if (!FInPlace && !ReplaceTarget(Record != nullptr, aside)) return false;
  FTempName.clear();
  if (Record == nullptr) return true;
  if (aside.empty())
    Record->FileCreated(FTarget, id);
  else
    Record->FileReplaced(FTarget, id, aside);
  return true;
}

bool TReplacementFile::ReplaceTarget(bool KeepOld, std::string& Aside) {
  const DWORD attributes = GetFileAttributesA(FTarget.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    // Nothing to keep: the new file only takes the name.
    return MoveFileA(FTempName.c_str(), FTarget.c_str()) != 0;
  }
  // A read-only file is not replaced by a rename, and its second name would not go again.
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (KeepOld) {
    // The old file gets a second name (a hard link); where the disk or system has none,
    // a complete copy. Either way the target itself is only ever renamed over.
    using TCreateHardLink = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
    const auto createHardLink = Kernel32Function<TCreateHardLink>("CreateHardLinkA");
    const auto linkAside = [&](const std::string& Path) {
      if (!createHardLink(Path.c_str(), FTarget.c_str(), nullptr)) return false;
      Aside = Path;
      return true;
    };
    if (createHardLink == nullptr || !MakeUnderFreeName(FolderOf(FTarget), ".old", linkAside)) {
      Aside = CopyAside(FTarget);
      if (Aside.empty()) return false;
    }
  }
  // The target is the whole old or the whole new file at every moment.
  if (MoveFileExA(FTempName.c_str(), FTarget.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  const DWORD error = GetLastError();
  if (!Aside.empty()) DeleteFileA(Aside.c_str());
  Aside.clear();
  SetLastError(error);
  return false;
}

}  // namespace setup
