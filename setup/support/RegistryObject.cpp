#include "RegistryObject.h"

#include <windows.h>

#include <array>
#include <iterator>

#include "RegistryLinks.h"
#include "gui/WinHandles.h"

namespace setup {

namespace {

const std::array<HKEY, 6> kRootKeys{HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER,
                                    HKEY_DYN_DATA,     HKEY_LOCAL_MACHINE,  HKEY_USERS};

std::string SystemPath(const std::string& Path) {
  return !Path.empty() && Path[0] == '\\' ? Path.substr(1) : Path;
}

fw::TRegKeyHandle OpenHandle(HKEY Base, const std::string& Path, REGSAM Access) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(Base, Path.c_str(), 0, Access, key.Put()) != ERROR_SUCCESS) key.Release();
  return key;
}

}  // namespace


// --- root keys -----------------------------------------------------------------

int RootKeyToIndex(HKEY Handle, int Default) {
  for (size_t i = 0; i < kRootKeys.size(); ++i)
    if (kRootKeys[i] == Handle) return static_cast<int>(i);
  return Default;
}

HKEY RootKeyFromIndex(int Index) {
  if (Index < 0 || Index >= static_cast<int>(kRootKeys.size()))
    throw EIRBadRootKey(fw::Format("The registry root index %d names no root key", Index));
  return kRootKeys[static_cast<size_t>(Index)];
}

void SetRootKeyIndex(TqnlkRegistry& Registry, int Index) {
  Registry.SetRootKey(RootKeyFromIndex(Index));
}

std::string RootKeyName(int Index) {
  static const char* const kNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_CONFIG", "HKEY_CURRENT_USER",
                                       "HKEY_DYN_DATA",     "HKEY_LOCAL_MACHINE",  "HKEY_USERS"};
  static_assert(std::size(kNames) == std::tuple_size_v<decltype(kRootKeys)>);
  return Index >= 0 && Index < static_cast<int>(kRootKeys.size()) ? kNames[Index] : "?";
}

bool RegistryKeyMissing(int Index, const std::string& Path) {
  fw::TRegKeyHandle key;
  return RegOpenKeyExA(RootKeyFromIndex(Index), Path.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, key.Put()) ==
         ERROR_FILE_NOT_FOUND;
}

// --- TqnlkRegistry -------------------------------------------------------------

TqnlkRegistry::TqnlkRegistry() : FRootKey(HKEY_CURRENT_USER), FCurrentKey(std::make_unique<fw::TRegKeyHandle>()) {}

TqnlkRegistry::~TqnlkRegistry() {
  CloseKey();
}

HKEY TqnlkRegistry::CurrentKey() const {
  return FCurrentKey->Get();
}

void TqnlkRegistry::SetRootKey(HKEY Value) {
  CloseKey();
  FRootKey = Value;
}

HKEY TqnlkRegistry::BaseKey(const std::string& Path) const {
  return IsRelativeKey(Path) && *FCurrentKey ? FCurrentKey->Get() : FRootKey;
}

void TqnlkRegistry::ChangeKey(fw::TRegKeyHandle Key, const std::string& Path) {
  CloseKey();
  *FCurrentKey = std::move(Key);
  FCurrentPath = Path;
}

void TqnlkRegistry::CloseKey() {
  if (*FCurrentKey && !FLazyWrite) RegFlushKey(FCurrentKey->Get());
  FCurrentKey->Reset();
  FCurrentPath.clear();
}

bool TqnlkRegistry::OpenCurrent(const std::string& Path, bool CanCreate, bool ReadOnly) {
  bool relative = IsRelativeKey(Path);
  std::string path = SystemPath(Path);
  HKEY base = BaseKey(Path);
  fw::TRegKeyHandle key;
  if (ReadOnly) {
    key = OpenHandle(base, path, KEY_READ);
  } else if (!CanCreate || path.empty() || KeyExistsReadOnly(Path)) {
    key = OpenHandle(base, path, KEY_READ | KEY_WRITE);
  } else {
    if (RegCreateKeyExA(base, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
      key.Release();
  }
  if (!key) return false;
  std::string newPath = relative && *FCurrentKey ? FCurrentPath + "\\" + path : path;
  ChangeKey(std::move(key), newPath);
  return true;
}

bool TqnlkRegistry::OpenKey(const std::string& Path, bool CanCreate) {
  return OpenCurrent(Path, CanCreate, false);
}

bool TqnlkRegistry::OpenKeyReadOnly(const std::string& Path) {
  return OpenCurrent(Path, false, true);
}

bool TqnlkRegistry::KeyExistsReadOnly(const std::string& Path) const {
  return static_cast<bool>(OpenKeyHandleReadOnly(Path));
}

fw::TRegKeyHandle TqnlkRegistry::OpenKeyHandle(const std::string& Path) const {
  return OpenHandle(BaseKey(Path), SystemPath(Path), KEY_ALL_ACCESS);
}

fw::TRegKeyHandle TqnlkRegistry::OpenKeyHandleReadOnly(const std::string& Path) const {
  return OpenHandle(BaseKey(Path), SystemPath(Path), KEY_READ);
}

bool TqnlkRegistry::DeleteKeyTree(const std::string& Path) {
  std::string path = SystemPath(Path);
  // The key that the path is taken from stays open while the tree goes.
  HKEY base = BaseKey(Path);
  if (path.empty()) return false;  // never the base key itself
  {
    fw::TRegKeyHandle key = OpenHandle(base, path, KEY_ALL_ACCESS);
    if (key) {
      std::vector<std::string> names = SubkeyNamesOf(key.Get());
      fw::TRegKeyHandle saved = std::move(*FCurrentKey);
      std::string savedPath = FCurrentPath;
      *FCurrentKey = std::move(key);
      for (const std::string& child : names) DeleteKeyTree(child);
      *FCurrentKey = std::move(saved);
      FCurrentPath = savedPath;
    }
  }
  return RegDeleteKeyA(base, path.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> TqnlkRegistry::GetKeyNames() const {
  return *FCurrentKey ? SubkeyNamesOf(FCurrentKey->Get()) : std::vector<std::string>();
}

bool TqnlkRegistry::ValueExists(const std::string& Name) const {
  return *FCurrentKey &&
         RegQueryValueExA(FCurrentKey->Get(), Name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string TqnlkRegistry::ReadString(const std::string& Name) const {
  DWORD type = 0;
  DWORD size = 0;
  if (!*FCurrentKey ||
      RegQueryValueExA(FCurrentKey->Get(), Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    throw ERegistryException(fw::Format("Invalid data type for '%s'", Name));
  std::string data(size + 1, '\0');
  if (RegQueryValueExA(FCurrentKey->Get(), Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    throw ERegistryException(fw::Format("Invalid data type for '%s'", Name));
  data.resize(size);
  size_t end = data.find('\0');
  return end == std::string::npos ? data : data.substr(0, end);
}

int TqnlkRegistry::ReadInteger(const std::string& Name) const {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!*FCurrentKey ||
      RegQueryValueExA(FCurrentKey->Get(), Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    throw ERegistryException(fw::Format("Invalid data type for '%s'", Name));
  return static_cast<int>(value);
}

void TqnlkRegistry::WriteValue(const std::string& Name, unsigned long Type, const void* Data, unsigned long Size) {
  if (!*FCurrentKey ||
      RegSetValueExA(FCurrentKey->Get(), Name.c_str(), 0, Type, static_cast<const BYTE*>(Data), Size) != ERROR_SUCCESS)
    throw ERegistryException(fw::Format("Failed to set data for '%s'", Name));
}

void TqnlkRegistry::WriteString(const std::string& Name, const std::string& Value) {
  WriteValue(Name, REG_SZ, Value.c_str(), static_cast<unsigned long>(Value.size() + 1));
}

void TqnlkRegistry::WriteInteger(const std::string& Name, int Value) {
  DWORD data = static_cast<DWORD>(Value);
  WriteValue(Name, REG_DWORD, &data, sizeof data);
}

void TqnlkRegistry::WriteBool(const std::string& Name, bool Value) {
  WriteInteger(Name, Value ? 1 : 0);
}

}  // namespace setup
