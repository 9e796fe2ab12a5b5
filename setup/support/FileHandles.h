// What an open file handle tells about the file behind it, through kernel32 functions of
// later Windows versions that are looked up where they are needed.
#pragma once

#include <windows.h>

#include <string>

#include "FileIdentity.h"
#include "gui/WinHandles.h"

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

// The volume and the file's number on it, as "serial:high:low": the same for every route
// to one file; empty when the system cannot tell. Attributes, when given, receives the
// file's attributes.
std::string FileIdOf(HANDLE Handle, DWORD* Attributes = nullptr);

// A file or folder opened without following a link at its end (FollowLink opens what
// such a link leads to) and without access to its data, so that others may still read
// it: what it is and where it finally lies are read from the handle. Deleting it deletes
// what was opened: opened ForDeletion (where nobody denies it), the handle that was read
// deletes; otherwise the handle that deletes must lead to the same file.
class TOpenedEntry {
 public:
  explicit TOpenedEntry(const std::string& Path, bool FollowLink = false, bool ForDeletion = false);

  bool Opened() const { return static_cast<bool>(FHandle); }
  bool Missing() const { return FError == ERROR_FILE_NOT_FOUND || FError == ERROR_PATH_NOT_FOUND; }
  DWORD Error() const { return FError; }
  HANDLE Handle() const { return FHandle.Get(); }
  DWORD Attributes() const { return FAttributes; }
  bool IsFolder() const { return (FAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool IsLink() const { return (FAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
  // Where the opened entry finally lies; the path as given when the system cannot tell.
  const std::string& FinalPath() const { return FFinalPath; }
  // FileIdOf the entry, or its final path when the system cannot tell. Read when first
  // asked for (it asks the volume, which costs as much as opening the file).
  const std::string& Id() const;

  // Deletes it (a folder only when empty), read-only or not. On a system without
  // deletion by handle, by its path. False with Error set when it stays.
  bool Delete(DWORD& Error);

 private:
  std::string FPath;
  fw::TFileHandle FHandle;
  bool FDeletes = false;  // the handle may delete
  DWORD FError = ERROR_SUCCESS;
  DWORD FAttributes = 0;
  std::string FFinalPath;
  mutable std::string FId;
};

// The size and digest of the contents of the file open in Handle (with read access),
// read from its start; false when it cannot be read.
bool ReadFileIdentity(HANDLE Handle, TFileIdentity& Identity);
// The same of the file at Path, opened without following a link at its end; false when
// it cannot be opened or read.
bool ReadFileIdentity(const std::string& Path, TFileIdentity& Identity);

// A file opened for reading without following a link at its end, which nobody may write,
// rename or delete while it is held (AllowDeletion: which nobody may write, while it may
// still be deleted, as by a TOpenedEntry opened for it); others may still read it, load or
// run it.
class THeldFile {
 public:
  explicit THeldFile(const std::string& Path, bool AllowDeletion = false);

  bool Held() const { return static_cast<bool>(FHandle); }
  DWORD Error() const { return FError; }
  // FileIdOf the held file; empty when the system cannot tell.
  const std::string& Id() const { return FId; }
  bool ReadIdentity(TFileIdentity& Identity) const { return ReadFileIdentity(FHandle.Get(), Identity); }

 private:
  fw::TFileHandle FHandle;
  DWORD FError = ERROR_SUCCESS;
  std::string FId;
};

}  // namespace setup
