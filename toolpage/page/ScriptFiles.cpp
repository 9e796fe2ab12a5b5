#include "ScriptFiles.h"

#include <windows.h>

#include "ClientApi.h"
#include "NwConnection.h"
#include "ScriptFormat.h"
#include "ScriptNames.h"
#include "ServerFiles.h"
#include "ServerInfo.h"
#include "core/Streams.h"
#include "gui/WinHandles.h"

namespace toolpage {

namespace {

constexpr uint32_t DeleteProtectAttributes = 0x41001;  // read-only, transactional, delete-inhibit
constexpr uint8_t LongNameSpace = 4;
constexpr uint8_t DosNameSpace = 0;
constexpr uint32_t HiddenAndSystem = 6;
constexpr NWCCODE NameSpaceNotLoaded = 0x89BF;
const char* const NewScriptContent = "\\@System Console\r";

bool FileExists(const std::string& Path) {
  return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string ScriptUNCPath(TConnRef ConnRef, const std::string& Name) {
  return ServerSystemUNC(ConnRef, Name);
}

void TSCList::LoadFromServer(uint32_t ConnRef, const std::string& Name) {
  Clear();
  fw::TFileStream file(ScriptUNCPath(ConnRef, Name), fw::fmOpenRead);
  LoadFromStream(file);
}

void TSCList::SaveToServer(uint32_t ConnRef, const std::string& Name) const {
  fw::TFileStream file(ScriptUNCPath(ConnRef, Name), fw::fmCreate);
  SaveToStream(file);
  file.Flush();
}

bool IsScriptEncoded(TConnRef ConnRef, const std::string& Name) {
  fw::TFileHandle file(CreateFileA(ScriptUNCPath(ConnRef, Name).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  char first = 1;
  DWORD read = 0;
  return ReadFile(file.Get(), &first, 1, &read, nullptr) && read == 1 && first == 0;
}

std::string CreateNewScript(TConnRef ConnRef) {
  const std::string dir = ScriptUNCPath(ConnRef, "");
  const std::string name = FirstFreeNewScriptName([&dir](const std::string& Name) { return FileExists(dir + Name); });
  fw::TFileHandle file(
      CreateFileA((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) {
    DWORD written = 0;
    WriteFile(file.Get(), NewScriptContent, static_cast<DWORD>(strlen(NewScriptContent)), &written, nullptr);
  }
  return name;
}

void DeleteScript(TConnRef ConnRef, const std::string& Name) {
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return;
  const std::string path = "SYS:SYSTEM\\" + Name;
  uint32_t attrs = GetServerFileAttributes(conn.Handle(), path);
  if (attrs & DeleteProtectAttributes) SetServerFileAttributes(conn.Handle(), path, attrs & ~DeleteProtectAttributes);
  if (nwc::DeleteEntry(conn.Handle(), 0, path.c_str(), LongNameSpace, HiddenAndSystem) == NameSpaceNotLoaded)
    nwc::DeleteEntry(conn.Handle(), 0, path.c_str(), DosNameSpace, HiddenAndSystem);
}

}  // namespace toolpage
