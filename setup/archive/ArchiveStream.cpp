#include "ArchiveStream.h"

#include <windows.h>

#include <algorithm>

namespace setup {

bool TWinFile::Open(const std::string& FileName, TFileOpen Mode) {
  Close();
  DWORD access = GENERIC_READ, share = FILE_SHARE_READ | FILE_SHARE_WRITE, disposition = OPEN_EXISTING;
  if (Mode == TFileOpen::ReadWrite) access |= GENERIC_WRITE;
  if (Mode == TFileOpen::Create) {
    access |= GENERIC_WRITE;
    share = FILE_SHARE_READ;
    disposition = CREATE_ALWAYS;
  }
  FHandle.Reset(CreateFileA(FileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!FHandle) return false;
  FFileName = FileName;
  return true;
}

bool TWinFile::CreateNew(const std::string& FileName) {
  return OpenFileOnDisk(FileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
}

bool TWinFile::OpenExclusive(const std::string& FileName) {
  return OpenFileOnDisk(FileName, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
}

bool TWinFile::OpenFileOnDisk(const std::string& FileName, uint32_t Access, uint32_t Share, uint32_t Disposition,
                            uint32_t Flags) {
  Close();
  FHandle.Reset(CreateFileA(FileName.c_str(), Access, Share, nullptr, Disposition, Flags, nullptr));
  if (!FHandle) return false;
  // A device name (NUL, CON, COM1 ...) opens the device, which is no file.
  if (GetFileType(FHandle.Get()) != FILE_TYPE_DISK) {
    Close();
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  FFileName = FileName;
  return true;
}

void TWinFile::Close() {
  FHandle.Reset();
}

size_t TWinFile::Read(void* Buffer, size_t Count) {
  size_t total = 0;
  while (FHandle.Valid() && total < Count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(Count - total, 1u << 30)), done = 0;
    if (!ReadFile(FHandle.Get(), static_cast<char*>(Buffer) + total, chunk, &done, nullptr) || done == 0) break;
    total += done;
  }
  return total;
}

size_t TWinFile::Write(const void* Buffer, size_t Count) {
  size_t total = 0;
  while (FHandle.Valid() && total < Count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(Count - total, 1u << 30)), done = 0;
    if (!WriteFile(FHandle.Get(), static_cast<const char*>(Buffer) + total, chunk, &done, nullptr) || done == 0) break;
    total += done;
  }
  return total;
}

int64_t TWinFile::Seek(int64_t Offset, fw::TSeekOrigin Origin) {
  if (!FHandle.Valid()) return -1;
  LARGE_INTEGER distance, result;
  distance.QuadPart = Offset;
  DWORD method = Origin == fw::soBeginning ? FILE_BEGIN : Origin == fw::soCurrent ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(FHandle.Get(), distance, &result, method)) return -1;
  return result.QuadPart;
}

int64_t TWinFile::Size() {
  LARGE_INTEGER size;
  if (!FHandle.Valid() || !GetFileSizeEx(FHandle.Get(), &size)) return -1;
  return size.QuadPart;
}

void TWinFile::SetSize(int64_t NewSize) {
  int64_t here = Position();
  if (Seek(NewSize, fw::soBeginning) != NewSize || !Truncate()) throw fw::EStreamError("Stream write error");
  Seek(std::min(here, NewSize), fw::soBeginning);
}

bool TWinFile::Truncate() {
  return FHandle.Valid() && SetEndOfFile(FHandle.Get());
}

uint32_t TWinFile::DosDateTime() {
  FILETIME written, local;
  WORD date = 0, time = 0;
  if (!FHandle.Valid() || !GetFileTime(FHandle.Get(), nullptr, nullptr, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return 0;
  return (static_cast<uint32_t>(date) << 16) | time;
}

bool TWinFile::SetDosDateTime(uint32_t Value) {
  FILETIME local, written;
  return FHandle.Valid() && DosDateTimeToFileTime(static_cast<WORD>(Value >> 16), static_cast<WORD>(Value), &local) &&
         LocalFileTimeToFileTime(&local, &written) && SetFileTime(FHandle.Get(), nullptr, nullptr, &written);
}

}  // namespace setup
