// Registry keys reached one level at a time without following a registry link on the
// way, except the links Windows keeps itself; values read as they are stored; keys
// deleted by their handle, a link as a link. What a removal uses that must act only on
// the keys it judged, never on what a link leads to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gui/WinHandles.h"

namespace setup {

// A registry value as stored: its type and its bytes.
struct TStoredValue {
  uint32_t Type = 0;
  std::string Data;
  bool operator==(const TStoredValue&) const = default;
};

enum class TKeyReach { Opened, Missing, Link, Failed };

// A key opened by OpenKeyWithoutLinks. Reach is Link when a level on the way is a link
// that Windows does not keep itself; Key is then open only when that level is the last
// one, as the link itself (not what it leads to). LinkLevel is the path up to that level.
struct TReachedKey {
  fw::TRegKeyHandle Key;
  TKeyReach Reach = TKeyReach::Failed;
  std::string LinkLevel;
  LONG Error = ERROR_SUCCESS;
};

// Opens Path (levels separated by "\", without a leading one) below Root with Access,
// one level at a time. A level that is a registry link is not followed, unless it is one
// of Windows' own: HKEY_LOCAL_MACHINE\System\CurrentControlSet with its current hardware
// profile, the 32-bit view's Software\Wow6432Node\Classes, and a user's Software\Classes.
TReachedKey OpenKeyWithoutLinks(HKEY Root, const std::string& Path, REGSAM Access);

// The subkey Name of Parent opened as it is: a link is opened itself, not followed.
fw::TRegKeyHandle OpenSubkeyItself(HKEY Parent, const std::string& Name, REGSAM Access);
// Whether a key opened as it is (OpenSubkeyItself) is a registry link.
bool IsRegistryLink(HKEY Key);

// The value Name as stored; false when it is missing or (with a Limit) longer than Limit
// bytes.
bool ReadStoredValue(HKEY Key, const std::string& Name, TStoredValue& Value, size_t Limit = 0);
// Every value of the key with its name, as stored, in the system's order; a value longer
// than Limit bytes is left out.
std::vector<std::pair<std::string, TStoredValue>> StoredValuesOf(HKEY Key, size_t Limit);
// The names of a key's values and of its subkeys, in the system's order.
std::vector<std::string> ValueNamesOf(HKEY Key);
std::vector<std::string> SubkeyNamesOf(HKEY Key);
// Whether the key holds neither values nor subkeys; false when that cannot be read.
bool IsEmptyKey(HKEY Key);

// Deletes the key open in Key (opened with DELETE access): that very key, a link as a
// link. A key with subkeys stays. False with Error set when it stays.
bool DeleteOpenedKey(HKEY Key, LONG& Error);
// Deletes Name below Parent with everything below it, never leaving that tree: a link
// met on the way (Name itself too) is deleted as a link, what it leads to stays. False
// with Error set when something stays.
bool DeleteKeyTreeWithoutLinks(HKEY Parent, const std::string& Name, LONG& Error);

}  // namespace setup
