#include "FileSystem.h"

#include <windows.h>

#include <cstdio>

#include "ArchiveText.h"
#include "core/SysUtils.h"
#include "support/Errors.h"
#include "support/PathStrings.h"

namespace setup {

bool FileExists(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
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

bool TReplacementFile::Create() {
  std::string folder = ExtractFilePath(FTarget);
  if (folder.empty()) folder = ".\\";
  // Named as GetTempFileName names its files ("qx" and a hexadecimal number), but the
  // name found is the file made: no second opening of an empty file for each target.
  const DWORD first = GetTickCount();
  for (DWORD i = 0; i < 0x10000; ++i) {
    DWORD unique = (first + i) & 0xFFFF;
    if (unique == 0) continue;
    char name[16];
    std::snprintf(name, sizeof name, "qx%X.tmp", static_cast<unsigned>(unique));
    std::string path = folder + name;
    if (FStream.CreateNew(path)) {
      FTempName = path;
      return true;
    }
    DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_SHARING_VIOLATION) return false;
  }
  return false;
}

bool TReplacementFile::Commit() {
  FStream.Close();
  if (FInPlace) {
    FTempName.clear();
    return true;
  }
  if (!MoveFileExA(FTempName.c_str(), FTarget.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    // Windows 95, 98 and ME have no MoveFileEx.
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    DeleteFileA(FTarget.c_str());
    if (!MoveFileA(FTempName.c_str(), FTarget.c_str())) return false;
  }
  FTempName.clear();
  return true;
}

}  // namespace setup
