// The pieces of the restart scenario on files and values of their own: the holder, the
// pending renames, the RunOnce values and records left behind, and the played restart.
#include <gtest/gtest.h>

#include <algorithm>

#include "Files.h"
#include "HeldFile.h"
#include "RestartPlay.h"
#include "RestartState.h"
#include "gui/WinHandles.h"

using namespace restart;

namespace {

constexpr const char* kProbePrefix = "StavrelRestartProbe";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

void SetRunOnce(HKEY Root, const std::string& Name, const std::string& Command) {
  fw::TRegKeyHandle key;
  ASSERT_EQ(RegCreateKeyExA(Root, kRunOnceKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key.Get(), Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Command.c_str()),
                 static_cast<DWORD>(Command.size() + 1));
}

bool HasRename(const std::string& Source) {
  std::vector<TPendingRename> renames = PendingRenames();
  return std::any_of(renames.begin(), renames.end(),
                     [&](const TPendingRename& r) { return lstrcmpiA(r.Source.c_str(), Source.c_str()) == 0; });
}

TEST(HeldFile, NobodyDeletesOrReplacesTheFileUntilTheHolderLetsGo) {
  testsupport::TScratchFolder folder("held");
  std::string path = folder / "VX4.exe";
  testsupport::WriteFile(path, "old");
  testsupport::WriteFile(folder / "VX4.1", "new");
  {
    THeldFile held(HolderBesideProgram(), path);
    EXPECT_TRUE(held.Holding());
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(MoveFileExA((folder / "VX4.1").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    held.Release();
    EXPECT_FALSE(held.Holding());
    EXPECT_TRUE(MoveFileExA((folder / "VX4.1").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
    held.Release();  // a second time changes nothing
  }
  EXPECT_EQ(testsupport::ReadFile(path), "new");
  // The holder goes with the object even when nobody released it.
  { THeldFile forgotten(HolderBesideProgram(), path); }
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  // A file the holder cannot open is reported, not waited for.
  EXPECT_THROW(THeldFile(HolderBesideProgram(), folder / "missing.exe"), ERestartPlay);
}

TEST(PendingRenames, AreReadInOrderAndCancelledByFolder) {
  testsupport::TScratchFolder product("product"), other("other");
  testsupport::WriteFile(product / "App.1", "new");
  testsupport::WriteFile(product / "stale.tmp", "x");
  testsupport::WriteFile(other / "Lib.1", "lib");
  ASSERT_TRUE(MoveFileExA((product / "App.1").c_str(), (product / "App.exe").c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
  ASSERT_TRUE(MoveFileExA((product / "stale.tmp").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
  ASSERT_TRUE(MoveFileExA((other / "Lib.1").c_str(), (other / "Lib.dll").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));

  std::vector<TPendingRename> renames = PendingRenames();
  auto app = std::find(renames.begin(), renames.end(), TPendingRename{product / "App.1", product / "App.exe", true});
  auto stale = std::find(renames.begin(), renames.end(), TPendingRename{product / "stale.tmp", "", false});
  auto lib = std::find(renames.begin(), renames.end(), TPendingRename{other / "Lib.1", other / "Lib.dll", false});
  ASSERT_NE(app, renames.end());
  ASSERT_NE(stale, renames.end()) << "a delete has an empty target, inside the list";
  ASSERT_NE(lib, renames.end());
  EXPECT_LT(app, stale);
  EXPECT_LT(stale, lib);

  EXPECT_EQ(CancelPendingRenamesBelow(product.Path()), 2);
  EXPECT_FALSE(HasRename(product / "App.1"));
  EXPECT_FALSE(HasRename(product / "stale.tmp"));
  EXPECT_FALSE(testsupport::FileExists(product / "App.1")) << "what would have moved goes too";
  ASSERT_TRUE(HasRename(other / "Lib.1")) << "renames of other folders stay";
  EXPECT_EQ(PendingRenames().back(), (TPendingRename{other / "Lib.1", other / "Lib.dll", false}));
  EXPECT_EQ(CancelPendingRenamesBelow(other.Path()), 1);
  EXPECT_FALSE(HasRename(other / "Lib.1"));
  EXPECT_EQ(CancelPendingRenamesBelow(other.Path()), 0);
}

TEST(RestartLeftovers, WhatATestLeavesGoesAndWhatWasThereStays) {
  testsupport::TScratchFolder product("product");
  const std::vector<std::string> records = InstallRecords();
  SetRunOnce(HKEY_CURRENT_USER, std::string(kProbePrefix) + "Before", "cmd.exe /c exit");
  fw::TRegKeyHandle before;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\URQ\\Install\\InstallProbeBefore", 0, nullptr, 0, KEY_WRITE,
                            nullptr, before.Put(), nullptr),
            ERROR_SUCCESS);
  before.Reset();
  testsupport::WriteFile(product / "Kept.1", "kept");
  ASSERT_TRUE(MoveFileExA((product / "Kept.1").c_str(), (product / "Kept.exe").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));
  {
    TRestartLeftovers leftovers(kProbePrefix);
    SetRunOnce(HKEY_CURRENT_USER, std::string(kProbePrefix) + "Unfinished", "x");
    SetRunOnce(HKEY_LOCAL_MACHINE, std::string(kProbePrefix) + "BatFile", "y");
    fw::TRegKeyHandle record;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\URQ\\Install\\InstallProbe\\Unfinished", 0, nullptr, 0,
                              KEY_WRITE, nullptr, record.Put(), nullptr),
              ERROR_SUCCESS);
    record.Reset();
    testsupport::WriteFile(product / "App.1", "new");
    ASSERT_TRUE(MoveFileExA((product / "App.1").c_str(), (product / "App.exe").c_str(), MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_EQ(RunOnceEntries(kProbePrefix).size(), 3u);
  }
  std::vector<TRunOnceEntry> left = RunOnceEntries(kProbePrefix);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].Name, std::string(kProbePrefix) + "Before");
  EXPECT_EQ(left[0].Command, "cmd.exe /c exit");
  std::vector<std::string> expected = records;
  expected.push_back("InstallProbeBefore");
  std::vector<std::string> now = InstallRecords();
  std::sort(expected.begin(), expected.end());
  std::sort(now.begin(), now.end());
  EXPECT_EQ(now, expected);
  EXPECT_FALSE(HasRename(product / "App.1"));
  EXPECT_TRUE(HasRename(product / "Kept.1")) << "what was pending before stays";
  EXPECT_EQ(CancelPendingRenamesBelow(product.Path()), 1);
  DeleteRunOnceEntry(left[0]);
  DeleteInstallRecord("InstallProbeBefore");
  EXPECT_EQ(InstallRecords(), records);
  fw::TRegKeyHandle gone;
  if (records.empty()) {
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\URQ", 0, KEY_READ, gone.Put()), ERROR_SUCCESS)
        << "the records' keys go when they are left empty";
  }
}

// Restarts the test prefix: run only where nothing else runs beside it.
TEST(PlayedRestart, WineMovesTheFilesAndEveryRunOnceCommandRunsOnce) {
  testsupport::TScratchFolder product("product");
  TRestartLeftovers leftovers(kProbePrefix);
  testsupport::WriteFile(product / "App.exe", "old");
  testsupport::WriteFile(product / "App.1", "new");
  ASSERT_TRUE(MoveFileExA((product / "App.1").c_str(), (product / "App.exe").c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT));
  SetRunOnce(HKEY_LOCAL_MACHINE, std::string(kProbePrefix) + "Machine",
             "cmd.exe /c echo machine>>\"" + (product / "machine.txt") + "\"");
  SetRunOnce(HKEY_CURRENT_USER, std::string(kProbePrefix) + "User",
             "cmd.exe /c echo user>>\"" + (product / "user.txt") + "\"");

  int turns = 0;
  TRestartReport report = PlayRestart(kProbePrefix, [&](const std::string& command) {
    ++turns;
    return RunToEnd(command, 60000);
  });
  EXPECT_EQ(testsupport::ReadFile(product / "App.exe"), "new");
  EXPECT_FALSE(testsupport::FileExists(product / "App.1"));
  EXPECT_EQ(report.Registered.size(), 2u);
  ASSERT_EQ(report.RanByWine.size(), 1u) << "Wine's restart runs the machine's RunOnce commands";
  EXPECT_EQ(report.RanByWine[0].Root, HKEY_LOCAL_MACHINE);
  ASSERT_EQ(report.RanAfterwards.size(), 1u) << "the user's are the shell's";
  EXPECT_EQ(report.RanAfterwards[0].second, 0u);
  EXPECT_EQ(turns, 2) << "the user is played during wineboot and the command";
  EXPECT_EQ(testsupport::ReadFile(product / "machine.txt"), "machine\r\n");
  EXPECT_EQ(testsupport::ReadFile(product / "user.txt"), "user\r\n");
  EXPECT_TRUE(RunOnceEntries(kProbePrefix).empty());
}

}  // namespace
