// The uninstaller's work: it reads a product's uninstall log (the "Files" lists, the
// "ActiveX" list and the "RegistryKeys" list under the product's key below
// HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall), unregisters
// what was registered, deletes the logged files and the folders they leave empty,
// deletes the logged registry values and then the keys they leave empty, and removes
// the product's entry. Whatever the log says, only what the rules of UninstallRules.h
// allow is touched.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "UninstallRules.h"

namespace uninstaller {

// The parent of every product's uninstall key (below HKEY_LOCAL_MACHINE).
inline constexpr char kUninstallRoot[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

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

// Removes the product ProductName as its log says, within Rules. When OwnProgram (the
// running uninstaller) is the program the product's uninstall command starts, it goes
// too once the product's entry is gone, with the folders it leaves empty: a running
// program cannot be deleted, but it can be renamed on its volume, so it moves to a fresh
// name in the temporary folder, which is deleted at the next restart.
// A logged file that the installation counted as shared loses one use; while other
// programs use it, it stays. When none does, its count goes, and so does the file where
// the rules allow, or where RemoveShared says yes (without it, such a file stays and is
// reported). A help file that goes takes its help registration along.
TUninstallReport UninstallProduct(const std::string& ProductName, const TFolderRules& Rules,
                                  const std::string& OwnProgram = std::string(),
                                  const TSharedFileQuestion& RemoveShared = nullptr);

}  // namespace uninstaller
