#include "FileHandles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace setup {

void* Kernel32Procedure(const char* Name) {
  return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), Name));
}

std::string FinalPathOf(void* Handle) {
  using TGetFinalPathName = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  const auto getFinalPathName = Kernel32Function<TGetFinalPathName>("GetFinalPathNameByHandleA");
  char buffer[1024];
  const DWORD length = getFinalPathName != nullptr ? getFinalPathName(Handle, buffer, sizeof buffer, 0) : 0;
  if (length == 0 || length >= sizeof buffer) return std::string();
  std::string path(buffer, length);
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + path.substr(8);
  if (path.rfind("\\\\?\\", 0) == 0) path.erase(0, 4);
  return path;
}

std::string FileIdOf(HANDLE Handle, DWORD* Attributes) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(Handle, &information)) return std::string();
  if (Attributes != nullptr) *Attributes = information.dwFileAttributes;
  return std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
         std::to_string(information.nFileIndexLow);
}

namespace {

// The file's number on its volume: what FileIdOf reads without asking the volume again.
uint64_t FileIndexOf(HANDLE Handle) {
  struct TStatusBlock {
    void* Status;
    ULONG_PTR Information;
  };
  using TQueryInformationFile = LONG(WINAPI*)(HANDLE, TStatusBlock*, void*, ULONG, int);
  static constexpr int kFileInternalInformation = 6;
  const auto query = reinterpret_cast<TQueryInformationFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
  TStatusBlock status{};
  uint64_t index = 0;
  if (query != nullptr && query(Handle, &status, &index, sizeof index, kFileInternalInformation) == 0) return index;
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(Handle, &information)) return 0;
  return static_cast<uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
}

constexpr DWORD kDeleteAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

HANDLE OpenEntry(const std::string& Path, DWORD Access, bool FollowLink) {
  return CreateFileA(Path.c_str(), Access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (FollowLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                     nullptr);
}

}  // namespace

TOpenedEntry::TOpenedEntry(const std::string& Path, bool FollowLink, bool ForDeletion) : FPath(Path) {
  // Opened to be deleted, the handle that deletes is the one that was judged; where
  // deletion is not allowed (someone denies it), the entry is still read.
  if (ForDeletion) {
    FHandle.Reset(OpenEntry(Path, kDeleteAccess, FollowLink));
    FDeletes = static_cast<bool>(FHandle);
  }
  if (!FHandle) FHandle.Reset(OpenEntry(Path, FILE_READ_ATTRIBUTES, FollowLink));
  if (!FHandle) {
    FError = GetLastError();
    return;
  }
  TFileBasicInfo basic{};
  using TGetInformation = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
  const auto getInformation = Kernel32Function<TGetInformation>("GetFileInformationByHandleEx");
  if (getInformation != nullptr && getInformation(FHandle.Get(), kFileBasicInfoClass, &basic, sizeof basic))
    FAttributes = basic.FileAttributes;
  else
    FId = FileIdOf(FHandle.Get(), &FAttributes);
  FFinalPath = FinalPathOf(FHandle.Get());
  if (FFinalPath.empty()) FFinalPath = Path;
}

const std::string& TOpenedEntry::Id() const {
  if (FId.empty() && FHandle) FId = FileIdOf(FHandle.Get());
  return FId.empty() ? FFinalPath : FId;
}

bool TOpenedEntry::Delete(DWORD& Error) {
  using TSetFileInformation = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);
  const auto setInformation = Kernel32Function<TSetFileInformation>("SetFileInformationByHandle");
  if (setInformation == nullptr) {
    if (FAttributes & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesA(FPath.c_str(), FAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (IsFolder() ? RemoveDirectoryA(FPath.c_str()) : DeleteFileA(FPath.c_str())) return true;
    Error = GetLastError();
    return false;
  }
  fw::TFileHandle reopened;
  if (!FDeletes) {
    reopened.Reset(OpenEntry(FPath, kDeleteAccess, false));
    if (!reopened) {
      Error = GetLastError();
      return false;
    }
    // The same file: the same number at the same place (asking the volume again would
    // cost as much as the deletion).
    if (FileIndexOf(reopened.Get()) != FileIndexOf(FHandle.Get()) ||
        CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, FinalPathOf(reopened.Get()).c_str(), -1,
                       FFinalPath.c_str(), -1) != CSTR_EQUAL) {
      Error = ERROR_FILE_NOT_FOUND;  // another file took its place meanwhile
      return false;
    }
  }
  const HANDLE deleting = FDeletes ? FHandle.Get() : reopened.Get();
  if (FAttributes & FILE_ATTRIBUTE_READONLY) {
    TFileBasicInfo basic{};
    basic.FileAttributes = FAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    setInformation(deleting, kFileBasicInfoClass, &basic, sizeof basic);
  }
  TFileDispositionInfo disposition{TRUE};
  if (setInformation(deleting, kFileDispositionInfoClass, &disposition, sizeof disposition)) return true;
  Error = GetLastError();
  return false;
}

bool ReadFileIdentity(HANDLE Handle, TFileIdentity& Identity) {
  constexpr DWORD kBlock = 256 * 1024;
  std::vector<uint8_t> buffer(kBlock);
  TSha0 digest;
  uint64_t size = 0;
  for (;;) {
    // Read at explicit offsets: the handle's own position may be anywhere.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(size);
    at.OffsetHigh = static_cast<DWORD>(size >> 32);
    DWORD read = 0;
    if (!ReadFile(Handle, buffer.data(), kBlock, &read, &at)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return false;
    }
    if (read == 0) break;
    digest.Update(buffer.data(), read);
    size += read;
  }
  Identity.Size = size;
  Identity.Digest = digest.Final();
  return true;
}

bool ReadFileIdentity(const std::string& Path, TFileIdentity& Identity) {
  fw::TFileHandle file(CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  return file && ReadFileIdentity(file.Get(), Identity);
}

THeldFile::THeldFile(const std::string& Path, bool AllowDeletion)
    : FHandle(CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | (AllowDeletion ? FILE_SHARE_DELETE : 0), nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (!FHandle) {
    FError = GetLastError();
    return;
  }
  FId = FileIdOf(FHandle.Get());
}

}  // namespace setup
