#include "ScreenNameStore.h"

#include <windows.h>

#include "core/SysUtils.h"
#include "gui/WinHandles.h"

namespace toolpage {

const char* const kScreenNamesKey = "Software\\Kavel\\Brenvik\\Tuvek.IList_Screens";

namespace {

constexpr int kMaxStoredNames = 100000;  // a count beyond this is damaged

void WriteString(HKEY Key, const std::string& Name, const std::string& Value) {
  LONG result = RegSetValueExA(Key, Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                               static_cast<DWORD>(Value.size() + 1));
  if (result != ERROR_SUCCESS)
    throw fw::EInOutError(
        fw::Format("Cannot write %s\\%s (error %d)", kScreenNamesKey, Name, static_cast<int>(result)));
}

bool ReadString(HKEY Key, const std::string& Name, std::string& Value) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(Key, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    if (RegQueryValueExA(Key, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS)
      return false;
    Value = std::to_string(number);
    return true;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::string data(size, '\0');
  if (RegQueryValueExA(Key, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return false;
  data.resize(std::min<size_t>(size, data.size()));
  while (!data.empty() && data.back() == '\0') data.pop_back();
  Value = data;
  return true;
}

}  // namespace

void SaveScreenNames(const fw::TStrings& Names) {
  // The old items go first, so that no stale ones stay behind a shorter list.
  RegDeleteKeyA(HKEY_CURRENT_USER, kScreenNamesKey);
  HKEY raw = nullptr;
  LONG result =
      RegCreateKeyExA(HKEY_CURRENT_USER, kScreenNamesKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (result != ERROR_SUCCESS)
    throw fw::EInOutError(fw::Format("Cannot create %s (error %d)", kScreenNamesKey, static_cast<int>(result)));
  fw::TRegKeyHandle key(raw);
  WriteString(key.Get(), "Count", std::to_string(Names.Count()));
  for (int i = 0; i < Names.Count(); ++i) WriteString(key.Get(), fw::Format("Item%d", i), Names.Get(i));
}

void LoadScreenNames(fw::TStrings& Names) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kScreenNamesKey, 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return;
  fw::TRegKeyHandle key(raw);
  std::string text;
  int count = 0;
  if (!ReadString(key.Get(), "Count", text) || !fw::TryStrToInt(text, count) || count < 0) return;
  count = std::min(count, kMaxStoredNames);
  for (int i = 0; i < count; ++i) {
    std::string name;
    if (!ReadString(key.Get(), fw::Format("Item%d", i), name)) break;
    Names.Add(name);
  }
}

}  // namespace toolpage
