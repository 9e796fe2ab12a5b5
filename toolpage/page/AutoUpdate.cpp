#include "AutoUpdate.h"

#include <windows.h>

#include "NcfLines.h"
#include "PageWaitCursor.h"
#include "core/Streams.h"
#include "core/SysUtils.h"

namespace toolpage {

namespace {

constexpr uint32_t ProtectAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::string SystemErrorText(DWORD Code) {
  char buffer[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, Code, 0, buffer,
                           sizeof buffer, nullptr);
  std::string text(buffer, n);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.')) text.pop_back();
  return text.empty() ? fw::Format("System error %d", static_cast<int>(Code)) : text;
}

std::string ExtractFileName(const std::string& Path) {
  size_t slash = Path.find_last_of("\\/:");
  return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

std::string ExtractFileDir(const std::string& Path) {
  size_t slash = Path.find_last_of("\\/:");
  return slash == std::string::npos ? "." : Path.substr(0, slash + (Path[slash] == ':' ? 1 : 0));
}

std::string ReadWholeFile(const std::string& FileName) {
  fw::TFileStream file(FileName, fw::fmOpenRead);
  std::string data(static_cast<size_t>(file.Size()), '\0');
  if (!data.empty()) file.ReadBuffer(data.data(), data.size());
  return data;
}

// The wait cursor on for one update.
struct TWaitCursorOn {
  TWaitCursorOn() { BeginWaitCursor(); }
  ~TWaitCursorOn() { EndWaitCursor(); }
};

// A temporary file beside FileName, deleted unless it was moved into place.
class TTempFile {
 public:
  explicit TTempFile(const std::string& FileName) {
    char name[MAX_PATH] = {};
    if (GetTempFileNameA(ExtractFileDir(FileName).c_str(), "NCF", 0, name) == 0)
      throw fw::EInOutError(SystemErrorText(GetLastError()));
    FName = name;
  }
  ~TTempFile() {
    if (!FMoved) DeleteFileA(FName.c_str());
  }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  const std::string& Name() const { return FName; }
  void MoveOver(const std::string& Target) {
    if (!MoveFileExA(FName.c_str(), Target.c_str(), MOVEFILE_REPLACE_EXISTING))
      throw fw::EInOutError(SystemErrorText(GetLastError()));
    FMoved = true;
  }

 private:
  std::string FName;
  bool FMoved = false;
};

}  // namespace

bool ClearProtectAttributes(const std::string& FileName, uint32_t& Attributes) {
  DWORD attrs = GetFileAttributesA(FileName.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return false;
  Attributes = attrs;
  if ((attrs & ProtectAttributes) == 0) return false;
  return SetFileAttributesA(FileName.c_str(), attrs & ~ProtectAttributes) != 0;
}

void RestoreAttributes(const std::string& FileName, uint32_t Attributes, bool Changed) {
  if (Changed) SetFileAttributesA(FileName.c_str(), Attributes);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Ext) {
  size_t dot = FileName.find_last_of('.');
  size_t slash = FileName.find_last_of("\\/:");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return FileName + Ext;
  return FileName.substr(0, dot) + Ext;
}

bool BackupFile(const std::string& FileName, const std::string& Ext) {
  std::string bak = ChangeFileExt(FileName, Ext);
  if (GetFileAttributesA(bak.c_str()) != INVALID_FILE_ATTRIBUTES) {
    uint32_t attrs = 0;
    ClearProtectAttributes(bak, attrs);
    DeleteFileA(bak.c_str());
  }
  if (!CopyFileA(FileName.c_str(), bak.c_str(), FALSE)) return false;
  DWORD attrs = GetFileAttributesA(FileName.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(bak.c_str(), attrs);
  return true;
}

void ShowUpdateFailure(const std::string& FileName, const std::string& Reason) {
  std::string text = fw::Format("Unable to update %s (%s)", FileName, Reason);
  MessageBoxA(GetActiveWindow(), text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

void WriteWholeFile(const std::string& FileName, const std::string& Data) {
  fw::TFileStream file(FileName, fw::fmCreate);
  file.WriteBuffer(Data.data(), Data.size());
  file.Flush();
}

bool UpdateLine(const std::string& FileName, const std::string& Key, const std::string& NewLine,
                const TUpdateFailure& Failure, const TFileWriter& Writer) {
  if (FileName.empty()) return false;
  TWaitCursorOn waitCursor;
  const std::string shortName = ExtractFileName(FileName);
  if (!BackupFile(FileName, ".BAK")) {
    Failure(shortName, SystemErrorText(GetLastError()));
    return false;
  }
  uint32_t attrs = 0;
  bool changed = false;
  try {
    std::string updated = UpdateNcfText(ReadWholeFile(ChangeFileExt(FileName, ".BAK")), Key, NewLine);
    TTempFile temp(FileName);
    Writer(temp.Name(), updated);
    changed = ClearProtectAttributes(FileName, attrs);
    temp.MoveOver(FileName);
    // The new file takes the old one's attributes.
    SetFileAttributesA(FileName.c_str(), attrs ? attrs : FILE_ATTRIBUTE_ARCHIVE);
    return true;
  } catch (const fw::Exception& e) {
    RestoreAttributes(FileName, attrs, changed);
    Failure(shortName, e.what());
    return false;
  }
}

}  // namespace toolpage
