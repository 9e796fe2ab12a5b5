// The road through a restart: the product is installed once more while another program
// holds its main program open, as a user who left it running would. The setup puts the
// new file beside the held one, leaves the replacement and its own continuation for the
// next start of Windows and asks for the restart (answered: not now). The holder then
// lets go, the restart is played in the test prefix and the continuation's good-install
// page answered; the new program must be in place, the deferred work finished, the
// installation record, the RunOnce command and the loader's folder gone.
#pragma once

#include <string>

#include "RoadReport.h"
#include "WizardWalker.h"

namespace road {

struct TRestartRoad {
  std::string Setup;        // the distributable setup.exe
  std::string Destination;  // where the first install put the product
  std::string HeldFile;     // the installed file held open, relative to Destination
  std::string NewFile;      // the build machine's copy of it (what must be in place at the end)
  std::string HeldComponent;  // the configuration's component of that file
  TWalkOptions Walk;
};

// Runs it and reports every check; throws ERoad (or a restart helper's error) when a step
// cannot go on. What it left for a restart that did not come is undone before it returns.
void InstallAcrossRestart(TRoadReport& Report, const TRestartRoad& Road);

}  // namespace road
