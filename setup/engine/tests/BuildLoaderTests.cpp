// The loader program at the head of a built setup, run as a user runs "setup.exe": it
// unpacks the installer into a folder of its own and starts it with the switches the
// installer expects, and refuses a damaged setup with a message.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "BuildTestSupport.h"
#include "engine/ExitCodes.h"
#include "engine/SelfExtractFile.h"

namespace setup::buildtests {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A setup built through the stand-in engine whose installer is the probe program.
struct TBuiltSetup {
  TScratchFolder Folder{"loader"};
  TLoaderLibrary Library{Folder, ReadFile(BinaryFolder() + "\\QuenlarkLoadProgram.exe")};
  TStandInEngine Engine{Folder};
  std::string Dir = Folder / "My Build";
  std::string SetupExe = Dir + "\\setup.exe";
  std::string ProbeOut = Folder / "probe.txt";

  TBuiltSetup() {
    CopyFileA((BinaryFolder() + "\\loader_installer_probe.exe").c_str(), (Folder / "src\\installer.exe").c_str(),
              FALSE);
    BuildDistribution(Engine, Folder / "src\\installer.exe", Dir, true);
  }
};

TEST(Loader, UnpacksTheInstallerIntoAFolderOfItsOwnAndStartsIt) {
  TBuiltSetup setup;
  const TRun run = RunSetup(setup.SetupExe, "", setup.ProbeOut);
  EXPECT_EQ(run.ExitCode, 7u) << "the installer's exit code";
  ASSERT_GE(run.Report.size(), 4u);
  EXPECT_THAT(run.Report[0], HasSubstr("\"-s" + setup.Dir + "\" \"-esetup.exe\" -c"));
  EXPECT_THAT(run.Report[0], Not(HasSubstr("-f")));
  const fs::path installer(run.Report[1]);
  EXPECT_EQ(installer.filename(), "installer.exe");
  EXPECT_NE(installer.parent_path(), fs::path(setup.Dir));
  EXPECT_THAT(installer.parent_path().filename().string(), HasSubstr("QLoad"));
  EXPECT_THAT((std::vector<std::string>(run.Report.begin() + 2, run.Report.end())),
              ::testing::UnorderedElementsAre("installer.exe", "companion.dll", "~loader.tag"));
  EXPECT_FALSE(testsupport::FolderExists(installer.parent_path().string()))
      << "what the installer left of the folder goes when it ends";

  const TRun toDisk = RunSetup(setup.SetupExe, "*todisk", setup.ProbeOut);
  ASSERT_FALSE(toDisk.Report.empty());
  EXPECT_THAT(toDisk.Report[0], HasSubstr("\"-esetup.exe\" -c -f"));
  EXPECT_FALSE(testsupport::FolderExists(fs::path(toDisk.Report[1]).parent_path().string()));
}

// The installer's outcome reaches whatever started setup.exe; a failed or cancelled run
// leaves no folder behind, a run that waits for a restart keeps it for the continuation.
TEST(Loader, PassesTheInstallersExitCodeOnAndKeepsItsFolderOnlyForARestart) {
  TBuiltSetup setup;
  for (const TExitCode code : {ecFailed, ecCancelled, ecRestartPending}) {
    SetEnvironmentVariableA("STAVREL_PROBE_EXIT", std::to_string(code).c_str());
    const TRun run = RunSetup(setup.SetupExe, "", setup.ProbeOut);
    SetEnvironmentVariableA("STAVREL_PROBE_EXIT", nullptr);
    EXPECT_EQ(run.ExitCode, static_cast<DWORD>(code));
    ASSERT_GE(run.Report.size(), 2u);
    const std::string folder = fs::path(run.Report[1]).parent_path().string();
    EXPECT_EQ(testsupport::FolderExists(folder), code == ecRestartPending) << code;
    testsupport::RemoveTree(folder);
  }
}

TEST(Loader, ASetupCopiedToDisksUnpacksTheSetupArchiveBesideIt) {
  TBuiltSetup setup;
  const std::string disk = setup.Folder / "disk";
  fs::create_directories(disk);
  WriteFile(disk + "\\setup.exe", ReadFile(setup.Folder / "lib\\QuenlarkLoadProgram.exe"));
  WriteNotSelfExtractInfo(disk + "\\setup.exe");
  fs::copy_file(setup.Dir + "\\setup.1", disk + "\\setup.1");
  const TRun run = RunSetup(disk + "\\setup.exe", "", setup.ProbeOut);
  EXPECT_EQ(run.ExitCode, 7u);
  ASSERT_GE(run.Report.size(), 2u);
  EXPECT_THAT(run.Report[0], HasSubstr("\"-s" + disk + "\" -c"));
  EXPECT_THAT(run.Report[0], Not(HasSubstr("-e")));
  EXPECT_FALSE(testsupport::FolderExists(fs::path(run.Report[1]).parent_path().string()));
}

TEST(Loader, ADamagedOrTruncatedSetupIsReportedAndNothingRuns) {
  TBuiltSetup setup;
  std::string bytes = ReadFile(setup.SetupExe);
  const TSelfExtractInfo info = ReadSelfExtractInfo(setup.SetupExe);
  bytes[info.Files1First + 10] ^= 1;
  WriteFile(setup.SetupExe, bytes);
  std::string message;
  TRun run = RunSetup(setup.SetupExe, "", setup.ProbeOut, &message);
  EXPECT_EQ(run.ExitCode, static_cast<DWORD>(ecFailed));
  EXPECT_TRUE(run.Report.empty()) << "the installer did not run";
  EXPECT_THAT(message, HasSubstr("check sum does not match"));

  WriteFile(setup.SetupExe, bytes.substr(0, bytes.size() - 30));
  run = RunSetup(setup.SetupExe, "", setup.ProbeOut, &message);
  EXPECT_TRUE(run.Report.empty());
  EXPECT_THAT(message, HasSubstr("is damaged"));
}

}  // namespace
}  // namespace setup::buildtests
