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

void TReplacementFile::CreateInMemory() {
  FMemory = std::make_unique<fw::TMemoryStream>();
}

fw::TStream& TReplacementFile::Stream() {
  if (FMemory) return *FMemory;
  return FStream;
}

bool TReplacementFile::SetDosDateTime(uint32_t Value) {
  if (!FMemory) return FStream.SetDosDateTime(Value);
  FStamp = Value;
  return true;
}

bool TReplacementFile::Commit() {
  if (FMemory) {
    switch (OverwriteInPlace()) {
      case TOverwrite::Written:
        return true;
      case TOverwrite::Failed:
        return false;
      case TOverwrite::NotHere:
        break;
    }
    if (!Create()) return false;
    const size_t size = FMemory->Data().size();
    if (FStream.Write(FMemory->Data().data(), size) != size) {
      if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_DISK_FULL);
      return false;
    }
    if (FStamp != 0 && !FStream.SetDosDateTime(FStamp)) return false;
  }
  return CommitThroughTemporaryFile();
}

namespace {
// The attributes a file has of its own, which a new file in its place would not have.
constexpr DWORD kOwnAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

// Whether the disk that Path lies on has Bytes more to give (with room to spare for the
// file system's own blocks).
bool HasRoomFor(const std::string& Path, int64_t Bytes) {
  constexpr int64_t kSpare = 1 << 20;
  ULARGE_INTEGER available, total, free;
  const std::string folder = ExtractFilePath(Path);
  return GetDiskFreeSpaceExA(folder.empty() ? nullptr : folder.c_str(), &available, &total, &free) &&
         available.QuadPart >= static_cast<ULONGLONG>(Bytes + kSpare);
}

std::string FullPathName(const std::string& Path) {
  char buffer[1024];
  const DWORD length = GetFullPathNameA(Path.c_str(), sizeof buffer, buffer, nullptr);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// The attributes, the number of names and the size of the file open as Handle; false
// when the system cannot tell. Asked for only what is needed: GetFileInformationByHandle
// also asks the volume for its serial, which is slow under Wine.
bool QueryFile(HANDLE Handle, DWORD& Attributes, DWORD& Links, int64_t& Size) {
  using TGetInformation = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
  const auto getInformation = Kernel32Function<TGetInformation>("GetFileInformationByHandleEx");
  TFileBasicInfo basic{};
  TFileStandardInfo standard{};
  if (getInformation == nullptr || !getInformation(Handle, kFileBasicInfoClass, &basic, sizeof basic) ||
      !getInformation(Handle, kFileStandardInfoClass, &standard, sizeof standard))
    return false;
  Attributes = basic.FileAttributes;
  Links = standard.NumberOfLinks;
  Size = standard.EndOfFile.QuadPart;
  return true;
}
}  // namespace

TReplacementFile::TOverwrite TReplacementFile::OverwriteInPlace() {
  TWinFile file;
  if (!file.OpenExclusive(FTarget)) return TOverwrite::NotHere;
  DWORD attributes = 0, links = 0;
  int64_t oldSize = 0;
  if (!QueryFile(file.Handle(), attributes, links, oldSize) || (attributes & kOwnAttributes) != 0 || links != 1)
    return TOverwrite::NotHere;
  // Reached as named, not through a link on the way that the attributes do not show.
  const std::string named = FullPathName(FTarget), reached = FinalPathOf(file.Handle());
  if (named.empty() || !fw::SameText(named, reached)) return TOverwrite::NotHere;
  const std::vector<uint8_t>& contents = FMemory->Data();
  const int64_t size = static_cast<int64_t>(contents.size());
  if (size > oldSize && !HasRoomFor(FTarget, size - oldSize)) return TOverwrite::NotHere;
  if (file.Write(contents.data(), contents.size()) != contents.size() || !file.Truncate() ||
      (FStamp != 0 && !file.SetDosDateTime(FStamp))) {
    if (GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_WRITE_FAULT);
    return TOverwrite::Failed;
  }
  return TOverwrite::Written;
}

bool TReplacementFile::CommitThroughTemporaryFile() {
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
