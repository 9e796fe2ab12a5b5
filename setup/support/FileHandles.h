// What an open file handle tells about the file behind it, through kernel32 functions of
// later Windows versions that are looked up where they are needed.
#pragma once

#include <windows.h>

#include <string>

namespace setup {

// A kernel32 function of later Windows versions; null on a system without it.
void* Kernel32Procedure(const char* Name);
template <typename TFunction>
TFunction Kernel32Function(const char* Name) {
  return reinterpret_cast<TFunction>(Kernel32Procedure(Name));
}

// The layouts of FILE_BASIC_INFO, FILE_STANDARD_INFO and FILE_DISPOSITION_INFO (declared
// for later Windows versions only) and their classes for GetFileInformationByHandleEx
// and SetFileInformationByHandle.
struct TFileBasicInfo {
  LARGE_INTEGER CreationTime, LastAccessTime, LastWriteTime, ChangeTime;
  DWORD FileAttributes;
};
struct TFileStandardInfo {
  LARGE_INTEGER AllocationSize, EndOfFile;
  DWORD NumberOfLinks;
  BOOLEAN DeletePending, Directory;
};
struct TFileDispositionInfo {
  BOOLEAN DeleteFile;
};
constexpr int kFileBasicInfoClass = 0;
constexpr int kFileStandardInfoClass = 1;
constexpr int kFileDispositionInfoClass = 4;

// The path of what Handle (a Win32 HANDLE) refers to as the file system finally reached
// it (links, junctions, drive letters and short names resolved), as "X:\..." or
// "\\server\..."; empty when the system cannot tell.
std::string FinalPathOf(void* Handle);

}  // namespace setup
