#include "RegistryView.h"

#include "gui/WinHandles.h"

namespace road {

namespace {

fw::TRegKeyHandle OpenForReading(HKEY Root, const std::string& Path) {
  HKEY key = nullptr;
  std::string relative = !Path.empty() && Path[0] == '\\' ? Path.substr(1) : Path;
  if (RegOpenKeyExA(Root, relative.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) key = nullptr;
  return fw::TRegKeyHandle(key);
}

}  // namespace

std::string RootName(HKEY Root) {
  if (Root == HKEY_LOCAL_MACHINE) return "HKLM";
  if (Root == HKEY_CURRENT_USER) return "HKCU";
  if (Root == HKEY_CLASSES_ROOT) return "HKCR";
  if (Root == HKEY_USERS) return "HKU";
  return std::to_string(reinterpret_cast<uintptr_t>(Root));
}

bool KeyExists(HKEY Root, const std::string& Path) {
  return static_cast<bool>(OpenForReading(Root, Path));
}

std::vector<std::string> SubkeyNames(HKEY Root, const std::string& Path) {
  std::vector<std::string> names;
  fw::TRegKeyHandle key = OpenForReading(Root, Path);
  if (!key) return names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

std::vector<TRegValue> KeyValues(HKEY Root, const std::string& Path) {
  std::vector<TRegValue> values;
  fw::TRegKeyHandle key = OpenForReading(Root, Path);
  if (!key) return values;
  DWORD longestName = 0, longestData = 0;
  RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &longestData,
                   nullptr, nullptr);
  std::string name(longestName + 1, '\0');
  std::string data(longestData + 1, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), dataLength = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueA(key.Get(), i, name.data(), &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                      &dataLength) != ERROR_SUCCESS)
      break;
    TRegValue value{name.substr(0, nameLength), type, data.substr(0, dataLength)};
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && !value.Data.empty() && value.Data.back() == '\0')
      value.Data.pop_back();
    values.push_back(std::move(value));
  }
  return values;
}

std::optional<std::string> ReadString(HKEY Root, const std::string& Path, const std::string& Name) {
  for (const TRegValue& value : KeyValues(Root, Path))
    if (_stricmp(value.Name.c_str(), Name.c_str()) == 0 && (value.Type == REG_SZ || value.Type == REG_EXPAND_SZ))
      return value.Data;
  return std::nullopt;
}

}  // namespace road
