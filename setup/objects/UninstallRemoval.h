// Removing a product as its uninstall log shows the installation made it: the
// uninstaller's work. Only what the installation's own record shows it made goes
// (UninstallFiles.h, UninstallRegistry.h); whatever it cannot show stays and is named in
// the report; the product's entry goes in any case.
#pragma once

#include <string>
#include <vector>

#include "UninstallFiles.h"
#include "UninstallLogReader.h"
#include "UninstallRegistry.h"
#include "UninstallRoutes.h"

namespace setup {

struct TUninstallReport {
  // One line for each thing that stays: what it is and why.
  std::vector<std::string> NotRemoved;
  // Whether the product had an uninstall entry at all.
  bool Found = false;
};

// The product's uninstall key below HKEY_LOCAL_MACHINE (without a leading backslash).
std::string UninstallKeyOfProduct(const std::string& ProductName);

// Removes the product ProductName as its log says, then its uninstall entry, then the
// folders the installation made, once empty. When OwnProgram (the running uninstaller)
// is the program the product's uninstall command starts and one of the installation's
// files, it goes too once the product's entry is gone: a running program cannot be
// deleted, but it can be renamed on its volume, so it moves to a fresh name in the
// temporary folder, which is deleted at the next restart. RemoveShared is asked before a
// shared file no program uses any more leaves the system folder; without it such a file
// stays and is named.
TUninstallReport UninstallProduct(const std::string& ProductName, const TFolderRules& Rules,
                                  const std::string& OwnProgram = std::string(),
                                  const TSharedFileQuestion& RemoveShared = nullptr);

}  // namespace setup
