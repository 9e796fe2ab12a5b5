#include "RegistryLinks.h"

#include <array>
#include <string_view>

#include "core/SysUtils.h"

namespace setup {

namespace {

// The value Windows keeps the target of a link in.
constexpr char kLinkValue[] = "SymbolicLinkValue";
constexpr DWORD kLinkType = 6;  // REG_LINK
constexpr int kMaxTreeDepth = 32;

// NtDeleteKey: the only call that deletes the key a handle holds (RegDeleteKey opens the
// name again and would follow a link).
using TNtDeleteKey = LONG(WINAPI*)(HANDLE);
TNtDeleteKey NtDeleteKeyFunction() {
  return reinterpret_cast<TNtDeleteKey>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
}

// Whether the link at Path (upper case) below Root is one Windows keeps itself.
bool IsWindowsOwnLink(HKEY Root, const std::string& Path) {
  static constexpr std::array<std::string_view, 3> kMachine = {
      "SYSTEM\\CURRENTCONTROLSET", "SYSTEM\\CURRENTCONTROLSET\\HARDWARE PROFILES\\CURRENT",
      "SOFTWARE\\WOW6432NODE\\CLASSES"};
  if (Root == HKEY_LOCAL_MACHINE)
    for (std::string_view own : kMachine)
      if (Path == own) return true;
  if (Root == HKEY_CURRENT_USER) return Path == "SOFTWARE\\CLASSES";
  if (Root == HKEY_USERS) {
    const size_t slash = Path.find('\\');
    return slash != std::string::npos && Path.substr(slash + 1) == "SOFTWARE\\CLASSES";
  }
  return false;
}

std::vector<std::string> Names(HKEY Key, bool Values) {
  std::vector<std::string> names;
  std::string name(Values ? 16384 : 256, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG result = Values ? RegEnumValueA(Key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr)
                               : RegEnumKeyExA(Key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_MORE_DATA) continue;  // longer than any name the system allows
    if (result != ERROR_SUCCESS) break;
    names.emplace_back(name.data(), length);
  }
  return names;
}

bool DeleteTree(HKEY Parent, const std::string& Name, int Depth, LONG& Error) {
  fw::TRegKeyHandle key = OpenSubkeyItself(Parent, Name, KEY_READ | DELETE);
  if (!key) {
    const LONG error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return true;
    Error = error;
    return false;
  }
  if (!IsRegistryLink(key.Get())) {
    if (Depth >= kMaxTreeDepth) {
      Error = ERROR_CANTWRITE;
      return false;
    }
    for (const std::string& child : SubkeyNamesOf(key.Get()))
      if (!DeleteTree(key.Get(), child, Depth + 1, Error)) return false;
  }
  return DeleteOpenedKey(key.Get(), Error);
}

}  // namespace

fw::TRegKeyHandle OpenSubkeyItself(HKEY Parent, const std::string& Name, REGSAM Access) {
  fw::TRegKeyHandle key;
  const LONG result = RegOpenKeyExA(Parent, Name.c_str(), REG_OPTION_OPEN_LINK, Access, key.Put());
  if (result != ERROR_SUCCESS) {
    key.Release();
    SetLastError(static_cast<DWORD>(result));
  }
  return key;
}

bool IsRegistryLink(HKEY Key) {
  DWORD type = 0;
  return RegQueryValueExA(Key, kLinkValue, nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS && type == kLinkType;
}

TReachedKey OpenKeyWithoutLinks(HKEY Root, const std::string& Path, REGSAM Access) {
  TReachedKey reached;
  fw::TRegKeyHandle current;
  HKEY parent = Root;
  std::string walked;
  size_t start = 0;
  while (start <= Path.size()) {
    size_t end = Path.find('\\', start);
    if (end == std::string::npos) end = Path.size();
    const std::string level = Path.substr(start, end - start);
    const bool last = end == Path.size();
    walked += (walked.empty() ? "" : "\\") + level;
    const REGSAM access = last ? Access | KEY_QUERY_VALUE : KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;
    fw::TRegKeyHandle next = OpenSubkeyItself(parent, level, access);
    if (!next) {
      const LONG error = static_cast<LONG>(GetLastError());
      reached.Reach = error == ERROR_FILE_NOT_FOUND ? TKeyReach::Missing : TKeyReach::Failed;
      reached.Error = error;
      return reached;
    }
    if (IsRegistryLink(next.Get())) {
      if (!IsWindowsOwnLink(Root, fw::UpperCase(walked))) {
        reached.Reach = TKeyReach::Link;
        reached.LinkLevel = walked;
        if (last) reached.Key = std::move(next);
        return reached;
      }
      // Windows' own link: followed as Windows follows it.
      next.Reset();
      const LONG result = RegOpenKeyExA(parent, level.c_str(), 0, access, next.Put());
      if (result != ERROR_SUCCESS) {
        next.Release();
        reached.Reach = result == ERROR_FILE_NOT_FOUND ? TKeyReach::Missing : TKeyReach::Failed;
        reached.Error = result;
        return reached;
      }
    }
    current = std::move(next);
    parent = current.Get();
    start = end + 1;
  }
  reached.Key = std::move(current);
  reached.Reach = reached.Key ? TKeyReach::Opened : TKeyReach::Failed;
  return reached;
}

bool ReadStoredValue(HKEY Key, const std::string& Name, TStoredValue& Value, size_t Limit) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(Key, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (Limit != 0 && size > Limit) return false;
  std::string data(size, '\0');
  if (size > 0 && RegQueryValueExA(Key, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
                      ERROR_SUCCESS)
    return false;
  data.resize(size);
  Value.Type = type;
  Value.Data = std::move(data);
  return true;
}

std::vector<std::pair<std::string, TStoredValue>> StoredValuesOf(HKEY Key, size_t Limit) {
  std::vector<std::pair<std::string, TStoredValue>> values;
  std::string name(16384, '\0');
  std::string data(4096, '\0');
  // A value that another program keeps making longer is tried a few times, then passed over.
  constexpr int kTriesPerValue = 4;
  for (DWORD index = 0, tries = 0;;) {
    DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
    const LONG result = RegEnumValueA(Key, index, name.data(), &nameLength, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
    if (result == ERROR_MORE_DATA) {
      // The data did not fit: again with room for it, unless it is longer than wanted.
      if (size <= data.size() || size > Limit || ++tries >= kTriesPerValue) {
        ++index;
        tries = 0;
        continue;
      }
      data.resize(size);
      continue;
    }
    if (result != ERROR_SUCCESS) break;
    values.emplace_back(std::string(name.data(), nameLength), TStoredValue{type, data.substr(0, size)});
    ++index;
    tries = 0;
  }
  return values;
}

std::vector<std::string> ValueNamesOf(HKEY Key) {
  return Names(Key, true);
}

std::vector<std::string> SubkeyNamesOf(HKEY Key) {
  return Names(Key, false);
}

bool IsEmptyKey(HKEY Key) {
  DWORD subkeys = 1, values = 1;
  return RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

bool DeleteOpenedKey(HKEY Key, LONG& Error) {
  const TNtDeleteKey deleteKey = NtDeleteKeyFunction();
  if (deleteKey == nullptr) {
    Error = ERROR_CALL_NOT_IMPLEMENTED;
    return false;
  }
  const LONG status = deleteKey(Key);
  if (status == 0) return true;
  Error = status == static_cast<LONG>(0xC0000121) /* STATUS_CANNOT_DELETE */ ? ERROR_KEY_HAS_CHILDREN
                                                                                : ERROR_ACCESS_DENIED;
  return false;
}

bool DeleteKeyTreeWithoutLinks(HKEY Parent, const std::string& Name, LONG& Error) {
  return DeleteTree(Parent, Name, 0, Error);
}

}  // namespace setup
