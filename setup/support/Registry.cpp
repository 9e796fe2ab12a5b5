#include "Registry.h"

#include <windows.h>

#include <vector>

namespace setup {

namespace {

HKEY RootHandle(TRootKeys Root) {
  switch (Root) {
    case hkClassesRoot: return HKEY_CLASSES_ROOT;
    case hkCurrentConfig: return HKEY_CURRENT_CONFIG;
    case hkCurrentUser: return HKEY_CURRENT_USER;
    case hkDynData: return HKEY_DYN_DATA;
    case hkLocalMachine: return HKEY_LOCAL_MACHINE;
    case hkUsers: return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

std::string SystemPath(const std::string& Key) { return !Key.empty() && Key[0] == '\\' ? Key.substr(1) : Key; }

// An open key, closed when the object goes.
class TRegKey {
 public:
  TRegKey() = default;
  ~TRegKey() { Close(); }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;

  bool Open(TRootKeys Root, const std::string& Key, REGSAM Access) {
    Close();
    return RegOpenKeyExA(RootHandle(Root), SystemPath(Key).c_str(), 0, Access, &FKey) == ERROR_SUCCESS ||
           (FKey = nullptr, false);
  }
  // Existing keys are opened for reading and writing, missing ones created.
  bool OpenOrCreate(TRootKeys Root, const std::string& Key) {
    if (Exists(Root, Key)) return Open(Root, Key, KEY_READ | KEY_WRITE);
    Close();
    return RegCreateKeyExA(RootHandle(Root), SystemPath(Key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &FKey,
                           nullptr) == ERROR_SUCCESS ||
           (FKey = nullptr, false);
  }
  static bool Exists(TRootKeys Root, const std::string& Key) {
    TRegKey probe;
    return probe.Open(Root, Key, KEY_READ);
  }
  bool Write(const std::string& Ident, DWORD Type, const void* Data, DWORD Size) {
    return RegSetValueExA(FKey, Ident.c_str(), 0, Type, static_cast<const BYTE*>(Data), Size) == ERROR_SUCCESS;
  }
  // The value's type and data; false when it cannot be read.
  bool Read(const std::string& Ident, DWORD& Type, std::vector<char>& Data) {
    DWORD size = 0;
    if (RegQueryValueExA(FKey, Ident.c_str(), nullptr, &Type, nullptr, &size) != ERROR_SUCCESS) return false;
    Data.assign(size + 1, '\0');
    return RegQueryValueExA(FKey, Ident.c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(Data.data()), &size) ==
               ERROR_SUCCESS &&
           (Data.resize(size), true);
  }
  std::vector<std::string> SubkeyNames() {
    std::vector<std::string> names;
    char name[256];
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      if (RegEnumKeyExA(FKey, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }
  void Close() {
    if (FKey != nullptr) RegCloseKey(FKey);
    FKey = nullptr;
  }

 private:
  HKEY FKey = nullptr;
};

// Opens an existing key the way reads do (for reading and writing).
bool OpenForReading(TRegKey& Key, TRootKeys Root, const std::string& Path) {
  return TRegKey::Exists(Root, Path) && Key.Open(Root, Path, KEY_READ | KEY_WRITE);
}

}  // namespace

const fw::TEnumInfo& RootKeysInfo() {
  static const fw::TEnumInfo info{
      "TRootKeys", {"hkClassesRoot", "hkCurrentConfig", "hkCurrentUser", "hkDynData", "hkLocalMachine", "hkUsers"}};
  return info;
}

void WriteRegString(TRootKeys Root, const std::string& Key, const std::string& Ident, const std::string& Value) {
  TRegKey key;
  if (!key.OpenOrCreate(Root, Key) || !key.Write(Ident, REG_SZ, Value.c_str(), static_cast<DWORD>(Value.size() + 1)))
    throw EIRCannotWriteValue(fw::Format("Cannot install into registry. Key: %s Ident: %s Value %s", Key, Ident, Value));
}

void WriteRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Value) {
  TRegKey key;
  DWORD data = static_cast<DWORD>(Value);
  if (!key.OpenOrCreate(Root, Key) || !key.Write(Ident, REG_DWORD, &data, sizeof data)) throw EIRCannotWriteValue(Key);
}

std::string ReadRegString(TRootKeys Root, const std::string& Key, const std::string& Ident,
                          const std::string& Default) {
  TRegKey key;
  DWORD type = 0;
  std::vector<char> data;
  if (!OpenForReading(key, Root, Key) || !key.Read(Ident, type, data)) return Default;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return Default;
  std::string text(data.begin(), data.end());
  size_t end = text.find('\0');
  return end == std::string::npos ? text : text.substr(0, end);
}

int ReadRegInteger(TRootKeys Root, const std::string& Key, const std::string& Ident, int Default) {
  TRegKey key;
  DWORD type = 0;
  std::vector<char> data;
  if (!OpenForReading(key, Root, Key) || !key.Read(Ident, type, data)) return Default;
  if (type != REG_DWORD || data.size() != sizeof(DWORD)) return Default;
  DWORD value;
  memcpy(&value, data.data(), sizeof value);
  return static_cast<int>(value);
}

void DeleteRegKeyTree(TRootKeys Root, const std::string& Key) {
  // An empty path would name the root key itself: never delete a whole root.
  if (SystemPath(Key).empty()) return;
  std::vector<std::string> children;
  {
    TRegKey key;
    if (!key.Open(Root, Key, KEY_READ)) return;
    children = key.SubkeyNames();
  }
  std::string parent = SystemPath(Key);
  for (const std::string& child : children) DeleteRegKeyTree(Root, parent + "\\" + child);
  RegDeleteKeyA(RootHandle(Root), parent.c_str());
}

}  // namespace setup
