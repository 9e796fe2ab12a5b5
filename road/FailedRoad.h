// The roads of installations that do not end well, each walked as a user meets it: the
// copy cancelled, a destination on a drive too small for the product, a destination on a
// drive that cannot be written, and a repair over the installed product cancelled while
// it copies. Each must end on the bad-install page with the machine as it was before
// (compared as the road compares it); after the cancelled repair the earlier
// installation must still pass the road's checks and its uninstall.
#pragma once

#include <string>

#include "RoadReport.h"
#include "WizardWalker.h"

namespace road {

struct TFailedRoads {
  std::string Setup;         // the distributable setup.exe
  std::string ProductName;   // its Add/Remove Programs name
  std::string SmallDrive;    // the root of a drive too small for the product ("R:\"); empty: not played
  std::string ReadOnlyDrive; // the root of a drive that cannot be written; empty: not played
  TWalkOptions Walk;
};

// Runs each road and reports every check; throws ERoad when a step cannot go on.
void InstallAndFail(TRoadReport& Report, const TFailedRoads& Roads);

}  // namespace road
