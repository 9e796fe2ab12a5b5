#include "UninstallRegistry.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "UninstallRules.h"
#include "support/Errors.h"
#include "support/RegistryLinks.h"
#include "support/RegistryObject.h"

namespace setup {

namespace {

std::string Where(int Root, const std::string& Key) {
  return RootKeyName(Root) + "\\" + Key;
}

size_t Depth(const std::string& Key) {
  return static_cast<size_t>(std::count(Key.begin(), Key.end(), '\\'));
}

std::string LastLevel(const std::string& Key) {
  return Key.substr(Key.find_last_of('\\') + 1);
}

}  // namespace

struct TRegistryRemoval::TMadeKey {
  int Root;
  std::string Key;
};

void TRegistryRemoval::RemoveRegistryEntries(const std::vector<TLoggedRegistryKey>& Entries) {
  std::vector<TMadeKey> made;
  for (const TLoggedRegistryKey& logged : Entries) {
    std::string key;
    TLogRoot root{};
    if (!LogRootFromNumber(logged.Root, root) || !NormalizeKey(logged.Key, key)) {
      NotRemoved("the registry key of " + logged.Entry + " (" + logged.Key + ": not a plain key of a known root)");
      continue;
    }
    RemoveValues(logged, static_cast<int>(root), key);
    // The levels the installation created, this key and its parents.
    std::string level = key;
    for (int i = 0; i < logged.MadeLevels && !level.empty(); ++i, level = ParentKey(level))
      made.push_back({static_cast<int>(root), level});
  }
  RemoveMadeKeys(made);
}

void TRegistryRemoval::RemoveValues(const TLoggedRegistryKey& Logged, int Root, const std::string& Key) {
  if (Logged.Values.empty()) return;
  TReachedKey reached = OpenKeyWithoutLinks(RootKeyFromIndex(Root), Key, KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (reached.Reach == TKeyReach::Missing) return;  // gone with its values
  if (reached.Reach == TKeyReach::Link) {
    NotRemoved("the values of " + Where(Root, Key) + " (reached through the registry link " +
               Where(Root, reached.LinkLevel) + ", which is not followed)");
    return;
  }
  if (reached.Reach != TKeyReach::Opened) {
    NotRemoved("the values of " + Where(Root, Key) + " (" + SystemErrorText(static_cast<uint32_t>(reached.Error)) + ")");
    return;
  }
  const bool mayGo = MayDeleteValue(static_cast<TLogRoot>(Root), Key);
  for (const TLoggedValue& value : Logged.Values) {
    TStoredValue now;
    if (!ReadStoredValue(reached.Key.Get(), value.Name, now)) continue;  // gone already
    const std::string what = "the value " + (value.Name.empty() ? std::string("(default)") : value.Name) + " of " +
                             Where(Root, Key);
    if (!mayGo) {
      NotRemoved(what + " (Windows' own configuration; kept)");
      continue;
    }
    if (!value.Made) {
      NotRemoved(what + " (no record that this installation made it; kept)");
      continue;
    }
    if (now.Type != value.Type || now.Data != value.Data) {
      NotRemoved(what + " (no longer what this installation wrote; kept)");
      continue;
    }
    const LONG result = RegDeleteValueA(reached.Key.Get(), value.Name.c_str());
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
      NotRemoved(what + " (" + SystemErrorText(static_cast<uint32_t>(result)) + ")");
  }
}

void TRegistryRemoval::RemoveMadeKeys(std::vector<TMadeKey>& Keys) {
  // Each key once, the deepest first, so a parent is empty when its turn comes.
  std::set<std::string> seen;
  Keys.erase(std::remove_if(Keys.begin(), Keys.end(),
                            [&](const TMadeKey& made) {
                              return !seen.insert(std::to_string(made.Root) + fw::UpperCase(made.Key)).second;
                            }),
             Keys.end());
  std::stable_sort(Keys.begin(), Keys.end(),
                   [](const TMadeKey& a, const TMadeKey& b) { return Depth(a.Key) > Depth(b.Key); });
  std::vector<std::pair<int, std::string>> kept;
  for (const TMadeKey& made : Keys) {
    HKEY root = RootKeyFromIndex(made.Root);
    const std::string parentKey = ParentKey(made.Key);
    TReachedKey parent;
    if (!parentKey.empty()) {
      parent = OpenKeyWithoutLinks(root, parentKey, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS);
      if (parent.Reach == TKeyReach::Missing) continue;
      if (parent.Reach != TKeyReach::Opened) {
        NotRemoved("the registry key " + Where(made.Root, made.Key) + " (reached through a registry link or not opened)");
        continue;
      }
    }
    fw::TRegKeyHandle key = OpenSubkeyItself(parentKey.empty() ? root : parent.Key.Get(), LastLevel(made.Key),
                                             KEY_READ | DELETE);
    if (!key) continue;  // gone already
    if (!MayDeleteKey(static_cast<TLogRoot>(made.Root), made.Key)) {
      NotRemoved("the registry key " + Where(made.Root, made.Key) + " (Windows' own or every program's; kept)");
      continue;
    }
    LONG error = ERROR_KEY_HAS_CHILDREN;
    // A link where the installation made a key goes as a link; what it leads to stays.
    if ((IsRegistryLink(key.Get()) || IsEmptyKey(key.Get())) && DeleteOpenedKey(key.Get(), error)) continue;
    // Named once: a key kept because a kept key is inside it says nothing new.
    const bool below = std::any_of(kept.begin(), kept.end(), [&](const auto& inner) {
      return inner.first == made.Root && IsSameOrParent(made.Key, inner.second);
    });
    if (!below)
      NotRemoved("the registry key " + Where(made.Root, made.Key) +
                 (error == ERROR_KEY_HAS_CHILDREN ? std::string(" (not empty; kept)")
                                                  : " (" + SystemErrorText(static_cast<uint32_t>(error)) + ")"));
    kept.emplace_back(made.Root, made.Key);
  }
}

bool TRegistryRemoval::RemoveProductEntry(const std::string& UninstallKey) {
  const std::string key = !UninstallKey.empty() && UninstallKey[0] == '\\' ? UninstallKey.substr(1) : UninstallKey;
  TReachedKey parent = OpenKeyWithoutLinks(HKEY_LOCAL_MACHINE, ParentKey(key), KEY_READ);
  LONG error = static_cast<LONG>(parent.Error);
  if (parent.Reach == TKeyReach::Opened && DeleteKeyTreeWithoutLinks(parent.Key.Get(), LastLevel(key), error))
    return true;
  NotRemoved("the uninstall entry HKEY_LOCAL_MACHINE\\" + key + " (" +
             SystemErrorText(static_cast<uint32_t>(error != ERROR_SUCCESS ? error : ERROR_ACCESS_DENIED)) + ")");
  return false;
}

}  // namespace setup
