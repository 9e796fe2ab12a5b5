// Where the product's setup and its uninstaller leave traces on a machine: the registry
// trees and folders the road reads before the install and after the uninstall, and the
// clean-up of what a failed road left behind.
#pragma once

#include <string>
#include <vector>

#include "MachineSnapshot.h"

namespace road {

// The watched keys and folders of this machine (its shell folders looked up).
TMachineSnapshot SetupTraces();

struct TMachineFolders {
  std::string ProgramFiles;
  std::string Programs;  // the user's Start-menu programs
  std::string Desktop;   // the user's desktop folder
};
TMachineFolders MachineFolders();

// Removes what the "added ..." lines of a comparison name (values, keys, files, then
// folders, the deepest first), so that a road that failed half-way still leaves the
// machine as it was. The lines it could not remove.
std::vector<std::string> RemoveAdded(const std::vector<std::string>& Differences);

}  // namespace road
