#include "RegistryTree.h"

#include <algorithm>
#include <limits>

#include "core/SysUtils.h"
#include "support/RegistryLinks.h"

namespace setup {

namespace {

// The path below a root as the registry functions take it (no leading backslash).
std::string Relative(const std::string& Path) {
  return !Path.empty() && Path[0] == '\\' ? Path.substr(1) : Path;
}

// A saved key keeps every value, however long: what is put back must be what was there.
constexpr size_t kLargestValue = std::numeric_limits<size_t>::max();

}  // namespace

fw::TRegKeyHandle OpenKeyNotFollowing(HKEY Root, const std::string& Path, REGSAM Access) {
  // Opened, or the link itself when the last level is one.
  return std::move(OpenKeyWithoutLinks(Root, Relative(Path), Access).Key);
}

bool ReadRegistryTree(HKEY Key, TRegistryTree& Tree, int Depth) {
  for (auto& [name, value] : StoredValuesOf(Key, kLargestValue))
    Tree.Values.push_back({name, value.Type, std::vector<BYTE>(value.Data.begin(), value.Data.end())});
  const std::vector<std::string> children = SubkeyNamesOf(Key);
  if (Depth <= 0) return children.empty();
  bool whole = true;
  for (const std::string& child : children) {
    fw::TRegKeyHandle handle = OpenSubkeyItself(Key, child, KEY_READ);
    if (!handle || IsRegistryLink(handle.Get())) {
      whole = false;
      continue;
    }
    TRegistryTree subtree;
    whole &= ReadRegistryTree(handle.Get(), subtree, Depth - 1);
    Tree.Subkeys.emplace_back(child, std::move(subtree));
  }
  return whole;
}

bool DeleteRegistryTree(HKEY Root, const std::string& Path) {
  const std::string path = Relative(Path);
  const size_t slash = path.rfind('\\');
  if (path.empty() || slash == path.size() - 1) return false;  // never a root itself
  fw::TRegKeyHandle parent;
  if (slash != std::string::npos) {
    TReachedKey reached = OpenKeyWithoutLinks(Root, path.substr(0, slash), KEY_READ);
    if (reached.Reach == TKeyReach::Missing) return true;
    if (reached.Reach != TKeyReach::Opened) return false;  // a link on the way: not this tree
    parent = std::move(reached.Key);
  }
  LONG error = ERROR_SUCCESS;
  return DeleteKeyTreeWithoutLinks(parent ? parent.Get() : Root, path.substr(slash + 1), error);
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
  TReachedKey reached = OpenKeyWithoutLinks(FRoot, FPath, KEY_READ);
  if (reached.Reach == TKeyReach::Missing) return;
  FExisted = true;
  if (reached.Reach != TKeyReach::Opened || IsRegistryLink(reached.Key.Get())) {
    FSaved = false;
    return;
  }
  const bool whole = ReadRegistryTree(reached.Key.Get(), FTree, Deep ? Depth : 0);
  // Values alone are put back whatever lies below; a deep key only when read whole.
  FSaved = whole || !Deep;
}

TSavedRegistryKey TSavedRegistryKey::Missing(HKEY Root, std::string Path) {
  return TSavedRegistryKey(Root, Relative(Path));
}

bool TSavedRegistryKey::Restore() const {
  if (!FSaved) return false;
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
  LONG error = ERROR_SUCCESS;
  if (!FExisted && IsEmptyKey(key.Get())) restored &= DeleteOpenedKey(key.Get(), error);
  return restored;
}

}  // namespace setup
