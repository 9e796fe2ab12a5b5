#include "FailedRoad.h"

#include <windows.h>


#include "InstallChecks.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"
#include "SetupTraces.h"
#include "UninstallRun.h"
#include "engine/ExitCodes.h"

namespace road {

namespace {

constexpr char kDestinationName[] = "Kavel Stavrel";
constexpr char kRecordParent[] = "\\SOFTWARE\\URQ";
constexpr char kRecordKey[] = "\\SOFTWARE\\URQ\\Install";

// The watched traces plus the destinations on the drives the roads install to.
TMachineSnapshot Traces(const TFailedRoads& Roads) {
  TMachineSnapshot traces = SetupTraces();
  for (const std::string& drive : {Roads.SmallDrive, Roads.ReadOnlyDrive})
    if (!drive.empty()) traces.Watch({drive + kDestinationName, true});
  return traces;
}

// Reports what differs from Before; with FilesMayBeReplaced, files whose content or time
// alone changed pass (a repair replaces files and keeps no copy of the old ones).
void CheckMachineAsBefore(TRoadReport& Report, const TMachineSnapshot& Traces, const TSnapshotItems& Before,
                          const std::string& What, bool FilesMayBeReplaced = false) {
  auto compare = [&] {
    std::vector<std::string> differences;
    for (const std::string& line : CompareSnapshots(Before, Traces.Take())) {
      const bool changedFile = line.rfind("changed ", 0) == 0 && line.find(" -> ") == std::string::npos &&
                               line.rfind("changed HK", 0) != 0;
      if (!(FilesMayBeReplaced && changedFile)) differences.push_back(line);
    }
    return differences;
  };
  // The installer's clean-up batch removes itself a moment after the setup ended.
  std::vector<std::string> differences = compare();
  for (const DWORD start = GetTickCount(); !differences.empty() && GetTickCount() - start < 10000;) {
    Sleep(200);
    differences = compare();
  }
  for (const std::string& line : differences) Report.Check(false, What + ": " + line);
  Report.Check(differences.empty(), What + " leaves the machine as it was");
  for (const std::string& line : RemoveAdded(differences)) Report.Note("could not clean up: " + line);
}

// A run that ended badly says so in setup.exe's exit code and leaves no loader folder.
void CheckFailedRun(TRoadReport& Report, const TWalkResult& Result, bool Cancelled) {
  const int expected = Cancelled ? setup::ecCancelled : setup::ecFailed;
  Report.CheckEqual("setup.exe's exit code", std::to_string(expected), std::to_string(Result.ExitCode));
  Report.Check(Result.LoaderFolders.empty(), "the loader's folder is gone",
               Result.LoaderFolders.empty() ? "" : Result.LoaderFolders.front() + " stayed");
}

void FailOnce(TRoadReport& Report, const TFailedRoads& Roads, const TMachineSnapshot& Traces,
              const std::string& What, const std::string& Destination, bool Cancel) {
  Report.Step(What);
  const TSnapshotItems before = Traces.Take();
  TWalkOptions options = Roads.Walk;
  options.Destination = Destination;
  const TWalkResult result = TWizardWalker(Report, options).WalkToFailure(Roads.Setup, Cancel);
  CheckFailedRun(Report, result, Cancel);
  CheckMachineAsBefore(Report, Traces, before, What);
}

// A destination that cannot be written is refused on its page, with the reason; the user
// then cancels there.
void RefuseDestination(TRoadReport& Report, const TFailedRoads& Roads, const TMachineSnapshot& Traces,
                       const std::string& Destination) {
  Report.Step("a destination that cannot be written");
  const TSnapshotItems before = Traces.Take();
  TWalkOptions options = Roads.Walk;
  options.Destination = Destination;
  const TWalkResult result = TWizardWalker(Report, options).WalkToRefusedDestination(Roads.Setup);
  Report.Check(result.Error.find("cannot be created") != std::string::npos, "the page says the folder cannot be made",
               result.Error);
  CheckFailedRun(Report, result, true);
  CheckMachineAsBefore(Report, Traces, before, "the refused destination");
}

}  // namespace

void InstallAndFail(TRoadReport& Report, const TFailedRoads& Roads) {
  // The build looked for an installation record and left the record's empty parent keys,
  // which the first installation's end removes: they are the build's, not the machine's.
  if (KeyExists(HKEY_LOCAL_MACHINE, kRecordKey) && SubkeyNames(HKEY_LOCAL_MACHINE, kRecordKey).empty())
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kRecordParent);
  const TMachineSnapshot traces = Traces(Roads);
  FailOnce(Report, Roads, traces, "the copy cancelled", std::string(), true);
  if (Roads.SmallDrive.empty())
    Report.Note("no small drive: the full drive is not played");
  else
    FailOnce(Report, Roads, traces, "a destination on a full drive", Roads.SmallDrive + kDestinationName, false);
  if (Roads.ReadOnlyDrive.empty())
    Report.Note("no read-only drive: the read-only destination is not played");
  else
    RefuseDestination(Report, Roads, traces, Roads.ReadOnlyDrive + kDestinationName);

  Report.Step("a repair over the installed product, cancelled while it copies");
  const TWalkResult installed = TWizardWalker(Report, Roads.Walk).Walk(Roads.Setup);
  const TSnapshotItems before = traces.Take();
  CheckFailedRun(Report, TWizardWalker(Report, Roads.Walk).WalkToFailure(Roads.Setup, true), true);
  CheckMachineAsBefore(Report, traces, before, "the cancelled repair", true);
  const TMachineFolders folders = MachineFolders();
  TInstallCheck(Report, {Roads.ProductName, installed.Destination,
                         folders.Programs + "\\" + installed.StartMenuFolder, folders.Desktop})
      .CheckAll();
  const TUninstallRun uninstall = RunUninstaller(Roads.ProductName);
  Report.Note("the uninstaller said: " + uninstall.Outcome);
  Report.Check(uninstall.ExitCode == 0, "the earlier installation is removed after the cancelled repair",
               "exit code " + std::to_string(uninstall.ExitCode));
}

}  // namespace road
