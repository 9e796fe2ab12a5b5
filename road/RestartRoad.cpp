#include "RestartRoad.h"

#include <algorithm>

#include "Files.h"
#include "HeldFile.h"
#include "RegistryView.h"
#include "RestartPlay.h"
#include "RestartState.h"
#include "WindowWatch.h"
#include "engine/ExitCodes.h"

namespace road {

namespace {

// What the setup names its RunOnce values, its continuation's and the replacement batch's.
constexpr char kRunOncePrefix[] = "Quenlark";
constexpr char kContinuationValue[] = "QuenlarkUnfinished";
constexpr char kGoodInstallPage[] = "Setup complete";
// What the earlier installation's program holds, so that its replacement can be told.
constexpr char kEarlierContent[] = "the program as an earlier installation left it";

bool SamePath(const std::string& A, const std::string& B) {
  return lstrcmpiA(A.c_str(), B.c_str()) == 0;
}

// The renames the next start carries out onto Target.
std::vector<restart::TPendingRename> RenamesOnto(const std::string& Target) {
  std::vector<restart::TPendingRename> found;
  for (const restart::TPendingRename& rename : restart::PendingRenames())
    if (SamePath(rename.Target, Target)) found.push_back(rename);
  return found;
}

std::string FileTextOrNothing(const std::string& Path) {
  try {
    return testsupport::ReadFile(Path);
  } catch (const std::exception&) {
    return std::string();
  }
}

// The second install, up to the setup's end: the restart it asks for is not let happen.
// Returns what the setup left for the restart: the renames onto the held file.
std::vector<restart::TPendingRename> InstallWhileHeld(TRoadReport& Report, const TRestartRoad& Road,
                                                      const std::string& Target, TWalkResult& Walk) {
  restart::THeldFile held(restart::HolderBesideProgram(), Target);
  Report.Note("held open by another program: " + Target);
  Walk = TWizardWalker(Report, Road.Walk).Walk(Road.Setup);
  Report.CheckEqual("setup.exe's exit code: a restart is pending", std::to_string(setup::ecRestartPending),
                    std::to_string(Walk.ExitCode));
  Report.Check(Walk.RebootAsked, "the setup asked for a restart instead of telling the installation complete");

  Report.Step("what waits for the restart");
  const std::vector<restart::TPendingRename> renames = RenamesOnto(Target);
  Report.Check(renames.size() == 1, "the restart moves one new file onto it",
               std::to_string(renames.size()) + " renames");
  for (const restart::TPendingRename& rename : renames) {
    Report.Note("pending rename: " + rename.Source + " -> " + rename.Target);
    Report.CheckEqual("the new file waits beside it", FileTextOrNothing(Road.NewFile),
                      FileTextOrNothing(rename.Source));
  }
  const std::vector<restart::TRunOnceEntry> continuation = restart::RunOnceEntries(kContinuationValue);
  Report.Check(continuation.size() == 1, "the setup's continuation is registered in RunOnce",
               std::to_string(continuation.size()) + " values");
  for (const restart::TRunOnceEntry& entry : continuation) {
    Report.Note(RootName(entry.Root) + " RunOnce " + entry.Name + " = " + entry.Command);
    Report.Check(entry.Command.find(" -r") != std::string::npos, "it starts the installer after the restart (-r)");
  }
  const std::vector<std::string> records = restart::InstallRecords();
  Report.Check(records.size() == 1, "the installation record stays for the continuation",
               std::to_string(records.size()) + " records");
  if (!records.empty()) {
    const auto items = restart::UnfinishedItems(records.front());
    Report.Check(std::find(items.begin(), items.end(), std::make_pair(Road.HeldComponent, std::string("0"))) !=
                     items.end(),
                 "its unfinished list names " + Road.HeldComponent);
  }
  held.Release();
  Report.Note("the holder let go of the file, as the program ends before the restart");
  // Read only now: nobody could open it while it was held.
  Report.CheckEqual("the held file is untouched until the restart", kEarlierContent, FileTextOrNothing(Target));
  return renames;
}

}  // namespace

void InstallAcrossRestart(TRoadReport& Report, const TRestartRoad& Road) {
  const std::string target = Road.Destination + "\\" + Road.HeldFile;
  Report.Step("install once more while " + Road.HeldFile + " is held open");
  // Undone when the road leaves here, also after a failed step: nothing of this waits for a
  // real start of the machine.
  restart::TRestartLeftovers leftovers(kRunOncePrefix);
  testsupport::WriteFile(target, kEarlierContent);
  TWalkResult walk;
  const std::vector<restart::TPendingRename> renames = InstallWhileHeld(Report, Road, target, walk);

  Report.Step("the restart (wineboot -r in the test prefix)");
  TWizardWalker walker(Report, Road.Walk);
  TWalkResult continuation;
  const restart::TRestartReport restart = restart::PlayRestart(kRunOncePrefix, [&](const std::string& Command) {
    Report.Note("run: " + Command);
    TWindowWatch watch(TWizardWalker::SetupWindowClasses());
    TStartedProgram program(Command);
    return walker.PlayUntilEnd(watch, program, continuation);
  });
  for (const restart::TRunOnceEntry& entry : restart.RanByWine)
    Report.Note("Wine's restart ran " + RootName(entry.Root) + " RunOnce " + entry.Name);
  for (const auto& [command, exitCode] : restart.RanAfterwards)
    Report.Check(exitCode == 0, "the shell's turn ran " + command, "exit code " + std::to_string(exitCode));

  Report.Step("after the restart");
  Report.Check(std::count(continuation.Pages.begin(), continuation.Pages.end(), kGoodInstallPage) == 1,
               "the continuation told the installation complete once",
               std::to_string(continuation.Pages.size()) + " pages");
  Report.Check(!continuation.RebootAsked, "it asked for no other restart");
  Report.CheckEqual("the new program is in place", FileTextOrNothing(Road.NewFile), FileTextOrNothing(target));
  for (const restart::TPendingRename& rename : renames)
    Report.Check(!testsupport::FileExists(rename.Source), "the file that waited is gone", rename.Source);
  Report.Check(RenamesOnto(target).empty(), "no rename waits any more");
  Report.Check(restart::RunOnceEntries(kRunOncePrefix).empty(), "no RunOnce command of the setup is left");
  Report.Check(restart::InstallRecords().empty(), "the installation record is removed");
  // The folder goes once the continuation has ended (its clean-up batch may wait for that).
  const auto loaderGone = [&] {
    return std::none_of(walk.LoaderFolders.begin(), walk.LoaderFolders.end(), [](const std::string& Folder) {
      return GetFileAttributesA(Folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
  };
  for (const DWORD start = GetTickCount(); !loaderGone() && GetTickCount() - start < Road.Walk.StepTimeoutMs;) Sleep(50);
  Report.Check(loaderGone(), "the continuation removed the loader's folder");
}

}  // namespace road
