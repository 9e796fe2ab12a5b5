// install_road: the product's whole road on this machine. Builds the distributable setup
// on a build machine laid out in C:\Stavrel ("bramset.exe -b"), installs it through the
// wizard as a user does, checks and prints what was installed, uninstalls it from its
// Add/Remove Programs entry and shows that nothing the setup made remains.
//
//   install_road [--screenshots <folder>] [--copy-setup <folder>] [--setup <setup.exe>] [--restart]
//                [--failures [--small-drive <X:\>] [--read-only-drive <Y:\>]]
//
// --screenshots: a PNG of the splash and of every window passed, below <folder>;
// --copy-setup: a copy of the built setup.exe there; --setup: installs that setup instead
// of building one; --restart: before the uninstall, installs once more while the main
// program is held open and plays the restart that replaces it; --failures: instead of
// the install and uninstall, the installations that end badly (the copy cancelled, a full
// drive, a drive that cannot be written, a cancelled repair and upgrade) on the drives
// given; a road whose drive is missing is skipped. Exit code 0 when every check held, 77
// when every check held but a road was skipped, 1 when a check failed.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "BuildMachine.h"
#include "FailedRoad.h"
#include "Files.h"
#include "InstallChecks.h"
#include "ProgramRun.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"
#include "RestartRoad.h"
#include "RoadReport.h"
#include "SetupTraces.h"
#include "UninstallRun.h"
#include "WizardWalker.h"
#include "engine/ExitCodes.h"

namespace {

using namespace road;

constexpr char kProductName[] = "Kavel Stavrel";
constexpr double kInstallTargetSeconds = 1.5;

// "R:" or "R:\\" names the root of drive R:.
std::string DriveRoot(std::string Drive) {
  if (!Drive.empty() && Drive.back() != '\\') Drive += '\\';
  return Drive;
}

struct TRoadOptions {
  std::string Screenshots;
  std::string CopySetupTo;
  std::string Setup;
  bool Restart = false;
  bool Failures = false;
  std::string SmallDrive, ReadOnlyDrive;
};

TRoadOptions ParseOptions(int Count, char** Arguments) {
  TRoadOptions options;
  for (int i = 1; i < Count; ++i) {
    const std::string name = Arguments[i];
    if (name == "--restart" || name == "--failures") {
      (name == "--restart" ? options.Restart : options.Failures) = true;
      continue;
    }
    if (i + 1 >= Count)
      throw ERoad("usage: install_road [--screenshots <folder>] [--copy-setup <folder>] [--setup <file>] [--restart]");
    const std::string value = Arguments[++i];
    if (name == "--screenshots")
      options.Screenshots = value;
    else if (name == "--copy-setup")
      options.CopySetupTo = value;
    else if (name == "--setup")
      options.Setup = value;
    else if (name == "--small-drive")
      options.SmallDrive = DriveRoot(value);
    else if (name == "--read-only-drive")
      options.ReadOnlyDrive = DriveRoot(value);
    else
      throw ERoad("unknown option " + name);
  }
  return options;
}

class TStopwatch {
 public:
  TStopwatch() { QueryPerformanceCounter(&FStart); }
  double Seconds() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - FStart.QuadPart) / static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER FStart;
};

std::string SecondsText(double Seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", Seconds);
  return text;
}

// The installation as the wizard placed it, and its checks.
void CheckInstallation(TRoadReport& Report, const TWalkResult& Walk) {
  const TMachineFolders folders = MachineFolders();
  TInstallation installation{kProductName, Walk.Destination, folders.Programs + "\\" + Walk.StartMenuFolder,
                             folders.Desktop};
  TInstallCheck(Report, installation).CheckAll();
}

void Uninstall(TRoadReport& Report) {
  Report.Step("uninstall from Add/Remove Programs");
  const TUninstallRun run = RunUninstaller(kProductName);
  Report.Note("command: " + run.Command);
  Report.CheckEqual("the question", std::string("Remove ") + kProductName + " and all of its components?",
                    run.Question);
  for (const std::string& question : run.Questions) Report.Note("it asked: " + question + " Yes");
  Report.Note("it said: " + run.Outcome);
  Report.Check(run.ExitCode == 0, "the uninstaller removed everything it names",
               "exit code " + std::to_string(run.ExitCode));
}

// The build, the install through the wizard, the checks and the uninstall.
void RunRoad(TRoadReport& Report, const TRoadOptions& Options) {
  const std::string programs = testsupport::ProgramFolder();
  TRestartDeletions restartDeletions;
  TBuildMachine machine(programs, programs + "\\..\\sample-product");
  std::string setup = Options.Setup;
  if (setup.empty()) {
    Report.Step("build the distributable setup: bramset.exe -b");
    TStopwatch build;
    machine.LayOut();
    setup = machine.BuildSetup();
    Report.Note("built " + setup + " in " + SecondsText(build.Seconds()));
  }
  if (!Options.CopySetupTo.empty()) {
    std::filesystem::copy_file(setup, Options.CopySetupTo + "\\setup.exe",
                               std::filesystem::copy_options::overwrite_existing);
    Report.Note("a copy: " + Options.CopySetupTo + "\\setup.exe");
  }

  TWalkOptions walkOptions;
  walkOptions.Screenshots = !Options.Screenshots.empty();
  walkOptions.ClientFolder = programs;
  if (Options.Failures) {
    // A drive given but missing (it could not be made here) is not played.
    auto present = [](const std::string& Drive) {
      return !Drive.empty() && GetFileAttributesA(Drive.c_str()) != INVALID_FILE_ATTRIBUTES ? Drive : std::string();
    };
    InstallAndFail(Report, {setup, kProductName, present(Options.SmallDrive), present(Options.ReadOnlyDrive),
                            [&machine] { return machine.BuildUpgrade(); }, walkOptions});
    return;
  }
  Report.Step("a user who cancels on the welcome page");
  CheckEndedRun(Report, TWizardWalker(Report, walkOptions).CancelAtWelcome(setup), setup::ecCancelled);

  Report.Step("install through the wizard");
  const TWalkResult walk = TWizardWalker(Report, walkOptions).Walk(setup);
  Report.Check(walk.ExitCode == setup::ecSuccess, "setup.exe ended with exit code 0",
               "exit code " + std::to_string(walk.ExitCode));
  Report.Note("destination kept: " + walk.Destination + "; Start-menu folder kept: " + walk.StartMenuFolder);
  Report.Note("from the last Next to the good-install page: " + SecondsText(walk.InstallSeconds) + " (target under " +
              SecondsText(kInstallTargetSeconds) + ")");

  CheckInstallation(Report, walk);
  if (Options.Restart) {
    TRestartRoad road{setup,           walk.Destination,
                      "VX4.exe",       std::string(TBuildMachine::kRoot) + "\\Sample\\VX4.exe",
                      "InstallFile61", walkOptions};
    InstallAcrossRestart(Report, road);
    CheckInstallation(Report, walk);
  }
  Uninstall(Report);
  for (const std::string& file : restartDeletions.Added())
    Report.Note("left for deletion at the next restart: " + file + " (deleted now)");
}

// What earlier programs left of the product on this machine (its keys, the installer's
// records) is set aside while the object lives: the road starts from a machine without
// the product, as a user's is, and the machine gets it back at the end.
class TProductLeftoversSetAside {
 public:
  explicit TProductLeftoversSetAside(TRoadReport& Report) {
    const std::pair<HKEY, const char*> keys[] = {
        {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Kavel"},    {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Kavel Software"},
        {HKEY_CURRENT_USER, "\\Software\\Borland"},   {HKEY_LOCAL_MACHINE, "\\SOFTWARE\\URQ"},
        {HKEY_LOCAL_MACHINE, "\\Software\\Quenlark"},
    };
    for (const auto& [root, path] : keys) {
      if (!KeyExists(root, path)) continue;
      Report.Note("set aside while the road runs (left by earlier programs): " + RootName(root) + path);
      FSaved.push_back(std::make_unique<testsupport::TSavedRegistryTree>(root, path));
      testsupport::DeleteRegistryTree(root, path);
    }
  }

 private:
  std::vector<std::unique_ptr<testsupport::TSavedRegistryTree>> FSaved;
};

// What remains of the setup and what of the machine's own it changed; removes what it
// added, so the machine ends as it began.
void CheckTraces(TRoadReport& Report, const TSnapshotItems& Before, const TMachineSnapshot& Traces) {
  Report.Step("what remains of the setup");
  const std::vector<std::string> differences = CompareSnapshots(Before, Traces.Take());
  for (const std::string& line : differences) Report.Check(false, line);
  Report.Check(differences.empty(), "nothing the setup made remains; nothing of the machine's own changed");
  for (const std::string& line : RemoveAdded(differences)) Report.Note("could not clean up: " + line);
}

}  // namespace

int main(int Count, char** Arguments) {
  TStopwatch whole;
  TRoadReport report;
  try {
    const TRoadOptions options = ParseOptions(Count, Arguments);
    if (!options.Screenshots.empty()) SetEnvironmentVariableA("STAVREL_SCREENSHOTS", options.Screenshots.c_str());
    report.Step("the machine before the road");
    const TProductLeftoversSetAside setAside(report);
    const TMachineSnapshot traces = SetupTraces();
    const TSnapshotItems before = traces.Take();
    try {
      RunRoad(report, options);
    } catch (const std::exception& e) {
      report.Check(false, e.what());
    }
    CheckTraces(report, before, traces);
  } catch (const std::exception& e) {
    report.Check(false, e.what());
  }
  report.Step("result");
  report.Note(std::to_string(report.Checks() - static_cast<int>(report.Failures().size())) + " of " +
              std::to_string(report.Checks()) + " checks held" +
              (report.Skipped().empty() ? std::string() : ", " + std::to_string(report.Skipped().size()) + " skipped") +
              "; the whole road took " + SecondsText(whole.Seconds()));
  return report.ExitCode();
}
