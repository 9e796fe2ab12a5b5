#include "RegistryTree.h"

#include <algorithm>

#include "core/SysUtils.h"
#include "support/RegistryObject.h"

namespace setup {

namespace {

// The path below a root as the registry functions take it (no leading backslash).
std::string Relative(const std::string& Path) {
  return !Path.empty() && Path[0] == '\\' ? Path.substr(1) : Path;
}

}  // namespace

fw::TRegKeyHandle OpenKeyNotFollowing(HKEY Root, const std::string& Path, REGSAM Access) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(Root, Relative(Path).c_str(), REG_OPTION_OPEN_LINK, Access, key.Put()) != ERROR_SUCCESS)
    return fw::TRegKeyHandle();
  return key;
}

bool IsRegistryLink(HKEY Key) {
  DWORD type = REG_NONE;
  return RegQueryValueExA(Key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
         type == REG_LINK;
}

bool IsEmptyRegistryKey(HKEY Key) {
  DWORD subkeys = 0, values = 0;
  return RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

bool DeleteOpenRegistryKey(HKEY Key) {
  // The registry's own deletion by handle: RegDeleteKey opens the key again by its
  // name and would follow a link there.
  using TNtDeleteKey = LONG(WINAPI*)(HANDLE);
  const auto deleteKey = reinterpret_cast<TNtDeleteKey>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
  return deleteKey != nullptr && deleteKey(Key) == 0;
}

void ReadRegistryTree(HKEY Key, TRegistryTree& Tree, int Depth) {
  DWORD subkeys = 0, values = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::string name(longestName + 2, '\0');
  std::vector<BYTE> data(longestData + 2);
  for (DWORD i = 0; i < values; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueA(Key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) continue;
    Tree.Values.push_back({name.substr(0, nameLength), type, std::vector<BYTE>(data.begin(), data.begin() + size)});
  }
  if (Depth <= 0) return;
  for (const std::string& child : RegistrySubkeyNames(Key)) {
    fw::TRegKeyHandle handle = OpenKeyNotFollowing(Key, child, KEY_READ);
    if (!handle || IsRegistryLink(handle.Get())) continue;
    TRegistryTree subtree;
    ReadRegistryTree(handle.Get(), subtree, Depth - 1);
    Tree.Subkeys.emplace_back(child, std::move(subtree));
  }
}

namespace {

bool DeleteTreeBelow(HKEY Key) {
  bool deleted = true;
  for (const std::string& child : RegistrySubkeyNames(Key)) {
    fw::TRegKeyHandle handle = OpenKeyNotFollowing(Key, child, KEY_READ | DELETE);
    if (!handle) {
      deleted = false;
      continue;
    }
    // A link goes as itself; what it leads to is not below this key.
    if (!IsRegistryLink(handle.Get())) deleted &= DeleteTreeBelow(handle.Get());
    deleted &= DeleteOpenRegistryKey(handle.Get());
  }
  return deleted;
}

}  // namespace

bool DeleteRegistryTree(HKEY Root, const std::string& Path) {
  if (Relative(Path).empty()) return false;  // never a root itself
  fw::TRegKeyHandle key;
  const LONG opened = RegOpenKeyExA(Root, Relative(Path).c_str(), REG_OPTION_OPEN_LINK, KEY_READ | DELETE, key.Put());
  if (opened != ERROR_SUCCESS) return opened == ERROR_FILE_NOT_FOUND;
  bool deleted = IsRegistryLink(key.Get()) || DeleteTreeBelow(key.Get());
  return DeleteOpenRegistryKey(key.Get()) && deleted;
}

bool WriteRegistryTree(HKEY Root, const std::string& Path, const TRegistryTree& Tree) {
  fw::TRegKeyHandle key;
  if (RegCreateKeyExA(Root, Relative(Path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.Put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  bool written = true;
  for (const auto& value : Tree.Values)
    written &= RegSetValueExA(key.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                              static_cast<DWORD>(value.Data.size())) == ERROR_SUCCESS;
  for (const auto& [name, subkey] : Tree.Subkeys) written &= WriteRegistryTree(key.Get(), name, subkey);
  return written;
}

TSavedRegistryKey::TSavedRegistryKey(HKEY Root, std::string Path, bool Deep, int Depth)
    : FRoot(Root), FPath(Relative(Path)), FDeep(Deep) {
  fw::TRegKeyHandle key = OpenKeyNotFollowing(FRoot, FPath, KEY_READ);
  if (!key) return;
  FExisted = true;
  ReadRegistryTree(key.Get(), FTree, Deep ? Depth : 0);
}

TSavedRegistryKey TSavedRegistryKey::Missing(HKEY Root, std::string Path) {
  return TSavedRegistryKey(Root, Relative(Path));
}

bool TSavedRegistryKey::Restore() const {
  if (FDeep) {
    bool restored = DeleteRegistryTree(FRoot, FPath);
    if (FExisted) restored &= WriteRegistryTree(FRoot, FPath, FTree);
    return restored;
  }
  fw::TRegKeyHandle key = OpenKeyNotFollowing(FRoot, FPath, KEY_READ | KEY_WRITE | DELETE);
  if (!key) return !FExisted;
  if (IsRegistryLink(key.Get())) return false;
  TRegistryTree now;
  ReadRegistryTree(key.Get(), now, 0);
  bool restored = true;
  for (const auto& value : now.Values)
    if (std::none_of(FTree.Values.begin(), FTree.Values.end(),
                     [&](const auto& saved) { return fw::SameText(saved.Name, value.Name); }))
      restored &= RegDeleteValueA(key.Get(), value.Name.c_str()) == ERROR_SUCCESS;
  for (const auto& value : FTree.Values)
    restored &= RegSetValueExA(key.Get(), value.Name.c_str(), 0, value.Type, value.Data.data(),
                               static_cast<DWORD>(value.Data.size())) == ERROR_SUCCESS;
  if (!FExisted && IsEmptyRegistryKey(key.Get())) restored &= DeleteOpenRegistryKey(key.Get());
  return restored;
}

}  // namespace setup
