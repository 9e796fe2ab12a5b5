// Reading the registry as the road checks it: keys, values and their names, read-only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace road {

struct TRegValue {
  std::string Name;
  DWORD Type = REG_NONE;
  std::string Data;  // the raw bytes (strings with their terminating zero cut off)
};

// "HKLM", "HKCU", "HKCR", "HKU" or the handle's number.
std::string RootName(HKEY Root);
bool KeyExists(HKEY Root, const std::string& Path);
std::vector<std::string> SubkeyNames(HKEY Root, const std::string& Path);
std::vector<TRegValue> KeyValues(HKEY Root, const std::string& Path);
// A string value (REG_SZ or REG_EXPAND_SZ); nothing when the key or value is missing.
std::optional<std::string> ReadString(HKEY Root, const std::string& Path, const std::string& Name);

}  // namespace road
