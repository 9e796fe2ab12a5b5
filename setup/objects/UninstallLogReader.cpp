#include "UninstallLogReader.h"

#include "support/RegistryLinks.h"

namespace setup {

namespace {

// The deepest level of the log: RegistryKeys\RegistryKey<n>\Entries below the product.
constexpr int kLogDepth = 3;
// A value longer than this is no entry of the log (its texts are paths, names and data
// the installation wrote); it is left out.
constexpr size_t kMaxValueBytes = 1 << 20;

void ReadTree(HKEY Key, TLogTree& Tree, int Depth) {
  for (auto& [name, stored] : StoredValuesOf(Key, kMaxValueBytes))
    Tree.Values.push_back({std::move(name), stored.Type, std::move(stored.Data)});
  if (Depth >= kLogDepth) return;
  for (const std::string& name : SubkeyNamesOf(Key)) {
    fw::TRegKeyHandle subkey = OpenSubkeyItself(Key, name, KEY_READ);
    if (!subkey || IsRegistryLink(subkey.Get())) continue;
    TLogTree child;
    child.Name = name;
    ReadTree(subkey.Get(), child, Depth + 1);
    Tree.Subkeys.push_back(std::move(child));
  }
}

}  // namespace

TUninstallLog ReadUninstallLog(const std::string& UninstallKey) {
  const std::string key = !UninstallKey.empty() && UninstallKey[0] == '\\' ? UninstallKey.substr(1) : UninstallKey;
  TReachedKey product = OpenKeyWithoutLinks(HKEY_LOCAL_MACHINE, key, KEY_READ);
  TUninstallLog log;
  if (product.Reach == TKeyReach::Link && product.Key) {
    log.Found = true;
    return log;
  }
  if (product.Reach != TKeyReach::Opened) return log;
  TLogTree tree;
  ReadTree(product.Key.Get(), tree, 0);
  return ParseUninstallLog(tree);
}

}  // namespace setup
