// Registry keys read whole and put back as they were, never through a registry link: a
// link met on the way is taken as the link key itself, not as the key it leads to.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "gui/WinHandles.h"

namespace setup {

// A key's values and subkeys, as read.
struct TRegistryTree {
  struct TValue {
    std::string Name;
    DWORD Type = REG_NONE;
    std::vector<BYTE> Data;
    bool operator==(const TValue&) const = default;
  };
  std::vector<TValue> Values;
  std::vector<std::pair<std::string, TRegistryTree>> Subkeys;
};

// Opens Path below Root one level at a time without following a registry link on the
// way (RegistryLinks.h); a link at its end is opened as itself. A nil handle when missing,
// when a level before the last is a link, or when it cannot be opened.
fw::TRegKeyHandle OpenKeyNotFollowing(HKEY Root, const std::string& Path, REGSAM Access);
// Reads the open key's values and, Depth levels deep, its subkeys (0: its values alone).
// A subkey that is a link, cannot be opened or lies deeper than Depth is not read: the
// result is then false, the tree not being the whole key.
bool ReadRegistryTree(HKEY Key, TRegistryTree& Tree, int Depth);
// Deletes Path below Root with everything below it; a link below it goes as itself.
// False when something stays.
bool DeleteRegistryTree(HKEY Root, const std::string& Path);
// Creates Path below Root and writes Tree into it; false when a part could not be
// written.
bool WriteRegistryTree(HKEY Root, const std::string& Path, const TRegistryTree& Tree);

// A key as it was before a change, to be put back exactly: whether it existed, its
// values and (when deep) everything below it.
class TSavedRegistryKey {
 public:
  // Deep: the whole key with its subkeys (Depth levels at most); otherwise its values.
  TSavedRegistryKey(HKEY Root, std::string Path, bool Deep, int Depth = 16);
  // A key that was missing before a change (whatever is there now): it goes whole.
  static TSavedRegistryKey Missing(HKEY Root, std::string Path);

  HKEY Root() const { return FRoot; }
  const std::string& Path() const { return FPath; }
  bool Existed() const { return FExisted; }
  // False when the key could not be read whole before the change (it cannot be opened, is
  // or lies behind a link, or holds what a deep save does not read): Restore then leaves it
  // as it is and reports failure, rather than delete what it could not save.
  bool Saved() const { return FSaved; }
  bool Deep() const { return FDeep; }
  // Deep: the key as it is now goes with everything below it and the saved key is
  // written back (nothing when it was missing). Otherwise its values become the saved
  // ones again, and a key that was missing goes once empty. False when that fails.
  bool Restore() const;

 private:
  TSavedRegistryKey(HKEY Root, std::string Path) : FRoot(Root), FPath(std::move(Path)), FDeep(true) {}

  HKEY FRoot;
  std::string FPath;
  bool FDeep;
  bool FExisted = false;
  bool FSaved = true;
  TRegistryTree FTree;
};

}  // namespace setup
