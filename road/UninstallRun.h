// The uninstall as a user starts it from Add/Remove Programs: the entry's UninstallString
// run as it stands, its question answered Yes and its closing message read and closed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "RegistrySnapshot.h"

namespace road {

struct TUninstallRun {
  std::string Command;
  std::string Question;                // the confirmation box's text
  std::vector<std::string> Questions;  // those asked on the way (answered Yes)
  std::string Outcome;                 // the closing message's text
  DWORD ExitCode = 0;
};

// Throws ERoad when the product has no entry or the program does not end in time.
TUninstallRun RunUninstaller(const std::string& ProductName, DWORD TimeoutMs = 30000);

// Files a program left to be deleted at the next restart (PendingFileRenameOperations).
// Going, the object deletes those the road's programs added (as the restart would) and
// puts the list back as it was.
class TRestartDeletions {
 public:
  TRestartDeletions();
  ~TRestartDeletions();
  TRestartDeletions(const TRestartDeletions&) = delete;
  TRestartDeletions& operator=(const TRestartDeletions&) = delete;

  // The files added to the list since the object was made.
  std::vector<std::string> Added() const;

 private:
  std::vector<std::string> FBefore;
  testsupport::TSavedRegistryValues FSaved;
};

}  // namespace road
