#include "FileHandles.h"

#include <windows.h>

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

HANDLE OpenEntry(const std::string& Path, DWORD Access, bool FollowLink) {
  return CreateFileA(Path.c_str(), Access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (FollowLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                     nullptr);
}

}  // namespace

TOpenedEntry::TOpenedEntry(const std::string& Path, bool FollowLink)
    : FPath(Path), FHandle(OpenEntry(Path, FILE_READ_ATTRIBUTES, FollowLink)) {
  if (!FHandle) {
    FError = GetLastError();
    return;
  }
  FId = FileIdOf(FHandle.Get(), &FAttributes);
  FFinalPath = FinalPathOf(FHandle.Get());
  if (FFinalPath.empty()) FFinalPath = Path;
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
  fw::TFileHandle deleting(OpenEntry(FPath, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, false));
  if (!deleting) {
    Error = GetLastError();
    return false;
  }
  if (FileIdOf(deleting.Get()) != FId) {
    Error = ERROR_FILE_NOT_FOUND;  // another file took its place meanwhile
    return false;
  }
  if (FAttributes & FILE_ATTRIBUTE_READONLY) {
    TFileBasicInfo basic{};
    basic.FileAttributes = FAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    setInformation(deleting.Get(), kFileBasicInfoClass, &basic, sizeof basic);
  }
  TFileDispositionInfo disposition{TRUE};
  if (setInformation(deleting.Get(), kFileDispositionInfoClass, &disposition, sizeof disposition)) return true;
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

THeldFile::THeldFile(const std::string& Path)
    : FHandle(CreateFileA(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
  if (!FHandle) {
    FError = GetLastError();
    return;
  }
  FId = FileIdOf(FHandle.Get());
}

}  // namespace setup
