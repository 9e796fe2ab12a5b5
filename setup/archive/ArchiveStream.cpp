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
  HANDLE h = CreateFileA(FileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FHandle = h;
  FFileName = FileName;
  return true;
}

void TWinFile::Close() {
  if (FHandle != nullptr) CloseHandle(static_cast<HANDLE>(FHandle));
  FHandle = nullptr;
}

size_t TWinFile::Read(void* Buffer, size_t Count) {
  size_t total = 0;
  while (FHandle != nullptr && total < Count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(Count - total, 1u << 30)), done = 0;
    if (!ReadFile(static_cast<HANDLE>(FHandle), static_cast<char*>(Buffer) + total, chunk, &done, nullptr) || done == 0)
      break;
    total += done;
  }
  return total;
}

size_t TWinFile::Write(const void* Buffer, size_t Count) {
  size_t total = 0;
  while (FHandle != nullptr && total < Count) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(Count - total, 1u << 30)), done = 0;
    if (!WriteFile(static_cast<HANDLE>(FHandle), static_cast<const char*>(Buffer) + total, chunk, &done, nullptr) ||
        done == 0)
      break;
    total += done;
  }
  return total;
}

int64_t TWinFile::Seek(int64_t Offset, fw::TSeekOrigin Origin) {
  if (FHandle == nullptr) return -1;
  LARGE_INTEGER distance, result;
  distance.QuadPart = Offset;
  DWORD method = Origin == fw::soBeginning ? FILE_BEGIN : Origin == fw::soCurrent ? FILE_CURRENT : FILE_END;
  if (!SetFilePointerEx(static_cast<HANDLE>(FHandle), distance, &result, method)) return -1;
  return result.QuadPart;
}

int64_t TWinFile::Size() {
  LARGE_INTEGER size;
  if (FHandle == nullptr || !GetFileSizeEx(static_cast<HANDLE>(FHandle), &size)) return -1;
  return size.QuadPart;
}

void TWinFile::SetSize(int64_t NewSize) {
  int64_t here = Position();
  if (Seek(NewSize, fw::soBeginning) != NewSize || !Truncate()) throw fw::EStreamError("Stream write error");
  Seek(std::min(here, NewSize), fw::soBeginning);
}

bool TWinFile::Truncate() { return FHandle != nullptr && SetEndOfFile(static_cast<HANDLE>(FHandle)); }

uint32_t TWinFile::DosDateTime() {
  FILETIME written, local;
  WORD date = 0, time = 0;
  if (FHandle == nullptr || !GetFileTime(static_cast<HANDLE>(FHandle), nullptr, nullptr, &written) ||
      !FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return 0;
  return (static_cast<uint32_t>(date) << 16) | time;
}

bool TWinFile::SetDosDateTime(uint32_t Value) {
  FILETIME local, written;
  return FHandle != nullptr && DosDateTimeToFileTime(static_cast<WORD>(Value >> 16), static_cast<WORD>(Value), &local) &&
         LocalFileTimeToFileTime(&local, &written) &&
         SetFileTime(static_cast<HANDLE>(FHandle), nullptr, nullptr, &written);
}

}  // namespace setup
