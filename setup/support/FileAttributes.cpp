#include "FileAttributes.h"

#include <windows.h>

#include "Errors.h"
#include "core/SysUtils.h"
#include "gui/WinHandles.h"

namespace setup {

namespace {

struct TAttributeBit {
  TQnlkFileAttributes Attribute;
  uint32_t Bit;
};
constexpr TAttributeBit kAttributeBits[] = {
    {qfaArchive, FILE_ATTRIBUTE_ARCHIVE}, {qfaDirectory, FILE_ATTRIBUTE_DIRECTORY},
    {qfaHidden, FILE_ATTRIBUTE_HIDDEN},   {qfaNormal, FILE_ATTRIBUTE_NORMAL},
    {qfaOffline, FILE_ATTRIBUTE_OFFLINE}, {qfaReadOnly, FILE_ATTRIBUTE_READONLY},
    {qfaSystem, FILE_ATTRIBUTE_SYSTEM},   {qfaTemporary, FILE_ATTRIBUTE_TEMPORARY},
};

}  // namespace

uint32_t FileAttributeBits(TQnlkFileAttributeSet Attributes) {
  uint32_t bits = 0;
  for (const TAttributeBit& entry : kAttributeBits)
    if (Attributes.Contains(entry.Attribute)) bits |= entry.Bit;
  return bits;
}

void SetFileAttributeSet(const std::string& Path, TQnlkFileAttributeSet Attributes) {
  if (!SetFileAttributesA(Path.c_str(), FileAttributeBits(Attributes)))
    throw IEfcSetAttributes("Cannot set file attributes. Error : %s", SystemErrorText(GetLastError()));
}

void GetFileReadOnlyAttr(const std::string& Path, TQnlkFileAttributeSet& Attributes) {
  Attributes = TQnlkFileAttributeSet();
  fw::TFileHandle file(
      CreateFileA(Path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(file.Get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
    Attributes.Include(qfaReadOnly);
}

bool FolderExists(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string GetDeepestExistingDir(const std::string& Path) {
  std::string current = Path;
  while (!fw::Trim(current).empty()) {
    if (FolderExists(current)) return current;
    size_t slash = current.rfind('\\');
    if (slash == std::string::npos) break;
    current.resize(slash);
  }
  return std::string();
}

std::string LoadDllString(const std::string& Module, unsigned Id) {
  fw::TModuleHandle library(LoadLibraryA(Module.c_str()));
  if (!library) return std::string();
  char buffer[4096];
  int n = LoadStringA(library.Get(), Id, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
}

}  // namespace setup
