#include "FailedRoad.h"

#include <windows.h>

#include <filesystem>
#include <set>

#include "InstallChecks.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"
#include "SetupTraces.h"
#include "UninstallRun.h"

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

// What the loader leaves in the temporary folder (its folder, its clean-up batch): the
// loader's clean-up is not what these roads check.
bool IsLoaderTrace(const std::string& Line) {
  char temp[MAX_PATH] = "";
  const std::string folder(temp, GetTempPathA(MAX_PATH, temp));
  const size_t at = Line.find(folder);
  if (at == std::string::npos) return false;
  const std::string name = Line.substr(at + folder.size());
  return name.rfind("QLoad", 0) == 0 || (name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".bat") == 0);
}

// Reports what differs from Before; with FilesMayBeReplaced, files whose content or time
// alone changed pass (a repair replaces files and keeps no copy of the old ones).
void CheckMachineAsBefore(TRoadReport& Report, const TMachineSnapshot& Traces, const TSnapshotItems& Before,
                          const std::string& What, bool FilesMayBeReplaced = false) {
  std::vector<std::string> differences;
  for (const std::string& line : CompareSnapshots(Before, Traces.Take())) {
    const bool changedFile = line.rfind("changed ", 0) == 0 && line.find(" -> ") == std::string::npos &&
                             line.rfind("changed HK", 0) != 0;
    if (FilesMayBeReplaced && changedFile) continue;
    if (IsLoaderTrace(line)) {
      Report.Note("left to the loader's clean-up: " + line);
      continue;
    }
    differences.push_back(line);
  }
  for (const std::string& line : differences) Report.Check(false, What + ": " + line);
  Report.Check(differences.empty(), What + " leaves the machine as it was");
  for (const std::string& line : RemoveAdded(differences)) Report.Note("could not clean up: " + line);
}

// The loader's folders in the temporary folder.
std::set<std::string> LoaderFolders() {
  std::set<std::string> folders;
  char temp[MAX_PATH] = "";
  const std::string base(temp, GetTempPathA(MAX_PATH, temp));
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(base, error))
    if (entry.is_directory(error) && entry.path().filename().string().rfind("QLoad", 0) == 0)
      folders.insert(entry.path().string());
  return folders;
}

void FailOnce(TRoadReport& Report, const TFailedRoads& Roads, const TMachineSnapshot& Traces,
              const std::string& What, const std::string& Destination, bool Cancel) {
  Report.Step(What);
  const TSnapshotItems before = Traces.Take();
  TWalkOptions options = Roads.Walk;
  options.Destination = Destination;
  TWizardWalker(Report, options).WalkToFailure(Roads.Setup, Cancel);
  CheckMachineAsBefore(Report, Traces, before, What);
}

}  // namespace

void InstallAndFail(TRoadReport& Report, const TFailedRoads& Roads) {
  // The build looked for an installation record and left the record's empty parent keys,
  // which the first installation's end removes: they are the build's, not the machine's.
  if (KeyExists(HKEY_LOCAL_MACHINE, kRecordKey) && SubkeyNames(HKEY_LOCAL_MACHINE, kRecordKey).empty())
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kRecordParent);
  const TMachineSnapshot traces = Traces(Roads);
  const std::set<std::string> loaderFolders = LoaderFolders();
  FailOnce(Report, Roads, traces, "the copy cancelled", std::string(), true);
  if (Roads.SmallDrive.empty())
    Report.Note("no small drive: the full drive is not played");
  else
    FailOnce(Report, Roads, traces, "a destination on a full drive", Roads.SmallDrive + kDestinationName, false);
  if (Roads.ReadOnlyDrive.empty())
    Report.Note("no read-only drive: the read-only destination is not played");
  else
    FailOnce(Report, Roads, traces, "a destination that cannot be written", Roads.ReadOnlyDrive + kDestinationName,
             false);

  Report.Step("a repair over the installed product, cancelled while it copies");
  const TWalkResult installed = TWizardWalker(Report, Roads.Walk).Walk(Roads.Setup);
  const TSnapshotItems before = traces.Take();
  TWizardWalker(Report, Roads.Walk).WalkToFailure(Roads.Setup, true);
  CheckMachineAsBefore(Report, traces, before, "the cancelled repair", true);
  const TMachineFolders folders = MachineFolders();
  TInstallCheck(Report, {Roads.ProductName, installed.Destination,
                         folders.Programs + "\\" + installed.StartMenuFolder, folders.Desktop})
      .CheckAll();
  const TUninstallRun uninstall = RunUninstaller(Roads.ProductName);
  Report.Note("the uninstaller said: " + uninstall.Outcome);
  Report.Check(uninstall.ExitCode == 0, "the earlier installation is removed after the cancelled repair",
               "exit code " + std::to_string(uninstall.ExitCode));
  // The loader's clean-up after a failed run is not what these roads check.
  for (const std::string& folder : LoaderFolders()) {
    if (loaderFolders.count(folder) != 0) continue;
    Report.Note("the loader's folder of a failed run, removed now: " + folder);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }
}

}  // namespace road
