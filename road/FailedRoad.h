// The roads of installations that do not end well, each walked as a user meets it: the
// copy cancelled, a destination on a drive too small for the product, a destination on a
// drive that cannot be written, a repair over the installed product and an upgrade to a
// version with other file contents, both cancelled while they copy. Each must end on the
// bad-install page with the machine as it was before (compared as the road compares it;
// after the cancelled repair and upgrade every file of the earlier installation keeps its
// contents byte for byte); the earlier installation must then still pass the road's
// checks and its uninstall.
#pragma once

#include <functional>
#include <string>

#include "RoadReport.h"
#include "WizardWalker.h"

namespace road {

struct TFailedRoads {
  std::string Setup;         // the distributable setup.exe
  std::string ProductName;   // its Add/Remove Programs name
  // The root of a drive the road fills up but for the product's last file ("R:\"); empty:
  // skipped.
  std::string SmallDrive;
  std::string ReadOnlyDrive; // the root of a drive that cannot be written; empty: skipped
  // Builds a later version of the setup whose files have other contents; its setup.exe.
  std::function<std::string()> BuildUpgrade;
  TWalkOptions Walk;
};

// Runs each road and reports every check (a road whose drive is missing as skipped);
// throws ERoad when a step cannot go on.
void InstallAndFail(TRoadReport& Report, const TFailedRoads& Roads);

// A run that ended without installing says so in setup.exe's exit code (ExpectedExitCode)
// and leaves no loader folder.
void CheckEndedRun(TRoadReport& Report, const TWalkResult& Result, int ExpectedExitCode);

}  // namespace road
