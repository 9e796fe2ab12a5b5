#include "FileHandles.h"

#include <windows.h>

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

}  // namespace setup
