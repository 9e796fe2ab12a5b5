// Removing what an uninstall log names: the uninstaller's work, and the undoing of an
// installation that failed or was cancelled. A product's log lies under its key below
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall: the "Files"
// lists, the "ActiveX" list and the "RegistryKeys" list. Removing entries unregisters
// what was registered, deletes the logged files and the folders they leave empty,
// deletes the logged registry values and then the keys they leave empty. Whatever the
// log says, only what the rules of UninstallRules.h allow is touched.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "UninstallRules.h"

namespace setup {

// The parent of every product's uninstall key (below HKEY_LOCAL_MACHINE).
inline constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// One value a logged registry key was given: its name and the text the log holds for it.
struct TLoggedValue {
  std::string Name;
  std::string Data;
  bool operator==(const TLoggedValue&) const = default;
};

// One "RegistryKey<n>" entry of the log, as read: its key text, its root's number
// (-1 when the log holds none) and the values of its "Entries" subkey.
struct TLoggedRegistryKey {
  std::string Entry;  // "RegistryKey<n>"
  std::string Key;
  long long Root = -1;
  std::vector<TLoggedValue> Values;
  bool operator==(const TLoggedRegistryKey&) const = default;
};

// What a product's uninstall log names, as the log gives it (texts not yet checked).
struct TUninstallLog {
  // The logged files of every "Files" list, in the lists' and the entries' order.
  std::vector<std::string> Files;
  // The "ActiveX" entries ("path;kind"), in their order.
  std::vector<std::string> ActiveX;
  std::vector<TLoggedRegistryKey> RegistryKeys;
  // Whether the product had an uninstall entry at all.
  bool Found = false;
};

// Reads the uninstall log of ProductName; Found is false when it has no entry (or the
// name names no single key).
TUninstallLog ReadUninstallLog(const std::string& ProductName);

struct TUninstallReport {
  // One line for each thing that stays: what it is and why.
  std::vector<std::string> NotRemoved;
  // Whether the product had an uninstall entry at all.
  bool Found = false;
};

// The folders of this machine that no log may remove: the Windows and system folders
// (sealed), the drive roots, the program, profile and shell folders, the temporary folder.
TFolderRules MachineFolderRules();

// Asked before a shared file (counted under SharedDLLs) that no program uses any more
// is deleted from a folder the rules keep (the system folder): true lets it go.
using TSharedFileQuestion = std::function<bool(const std::string& Path)>;

struct TRemovalOptions {
  // Without it, a shared file no program uses any more stays in a kept folder and is
  // reported.
  TSharedFileQuestion RemoveShared;
};

// Removes what Log names, within Rules: unregisters, deletes files and then the folders
// they leave empty, deletes registry values and then the keys they leave empty. The log
// itself is not changed. A logged file that the installation counted as shared loses one
// use; while other programs use it, it stays. When none does, its count goes, and so
// does the file where the rules allow, or where RemoveShared says yes. A help file that
// goes takes its help registration along.
TUninstallReport RemoveLoggedEntries(const TUninstallLog& Log, const TFolderRules& Rules,
                                     const TRemovalOptions& Options = TRemovalOptions());

// Removes the product ProductName as its log says (RemoveLoggedEntries), then its
// uninstall entry. When OwnProgram (the running uninstaller) is the program the product's
// uninstall command starts, it goes too once the product's entry is gone, with the
// folders it leaves empty: a running program cannot be deleted, but it can be renamed on
// its volume, so it moves to a fresh name in the temporary folder, which is deleted at
// the next restart.
TUninstallReport UninstallProduct(const std::string& ProductName, const TFolderRules& Rules,
                                  const std::string& OwnProgram = std::string(),
                                  const TSharedFileQuestion& RemoveShared = nullptr);

}  // namespace setup
