// Files the installation counted as shared (SharedDLLs) and help files with their
// registration: a shared file another program still uses stays, one that no program uses
// any more goes (from the system folder only when the user says so), a help file takes
// its own registration along and leaves another product's.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlwapi.h>

#include <string>
#include <vector>

#include "Files.h"
#include "InstallationLog.h"
#include "RegistrySnapshot.h"
#include "objects/UninstallRemoval.h"

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());
const std::string kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const std::string kHelp = "SOFTWARE\\Microsoft\\Windows\\Help";

void SetCount(const std::string& Name, DWORD Count) {
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegSetValueExA(key, Name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Count), sizeof Count);
  RegCloseKey(key);
}

// The count, or -1 when there is none.
long Count(const std::string& Name) {
  DWORD value = 0, size = sizeof value;
  if (SHGetValueA(HKEY_LOCAL_MACHINE, kSharedDlls.c_str(), Name.c_str(), nullptr, &value, &size) != ERROR_SUCCESS)
    return -1;
  return static_cast<long>(value);
}

bool HasValue(const std::string& Key, const std::string& Name) {
  return SHGetValueA(HKEY_LOCAL_MACHINE, Key.c_str(), Name.c_str(), nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

class SharedFiles : public ::testing::Test {
 protected:
  SharedFiles() {
    Rules.Sealed.push_back(System.Path());
    testsupport::WriteFile(App / "shared.dll", "shared");
    testsupport::WriteFile(System.Path() + "\\types.tlb", "types");
    testsupport::WriteFile(System.Path() + "\\common.dll", "common");
  }
  void TearDown() override { SHDeleteKeyA(HKEY_LOCAL_MACHINE, Key.c_str()); }
  // Logs the files as the installation that wrote them does; those it counted with
  // their counted use.
  void LogFiles(const std::vector<std::string>& Paths, bool Shared = true) {
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key, "DisplayName", Product);
    uninstall_tests::TInstallationLog log(Product);
    for (const std::string& path : Paths) log.LogFile(path, Shared);
  }
  setup::TUninstallReport Uninstall(const setup::TSharedFileQuestion& Question) {
    return setup::UninstallProduct(Product, Rules, std::string(), Question);
  }

  const std::string Product = "Stavrel Shared Files " + kPid;
  const std::string Key = std::string(setup::kUninstallRoot) + "\\" + Product;
  testsupport::TScratchFolder App{"sharedapp"}, System{"sharedsystem"};
  testsupport::TSavedRegistryValues SavedCounts{
      HKEY_LOCAL_MACHINE,
      "\\" + kSharedDlls,
      {App / "shared.dll", System.Path() + "\\types.tlb", System.Path() + "\\common.dll"}};
  setup::TFolderRules Rules;
};

TEST_F(SharedFiles, AFileOtherProgramsStillUseStaysWithOneUseFewerAndNoWord) {
  SetCount(App / "shared.dll", 2);
  SetCount(System.Path() + "\\common.dll", 3);
  // Logged twice (a registered file is logged as installed and as registered): one use.
  LogFiles({App / "shared.dll", App / "shared.dll", System.Path() + "\\common.dll"});
  std::vector<std::string> asked;
  const setup::TUninstallReport report = Uninstall([&](const std::string& Path) {
    asked.push_back(Path);
    return true;
  });
  EXPECT_TRUE(report.NotRemoved.empty()) << report.NotRemoved.front();
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(testsupport::FileExists(App / "shared.dll"));
  EXPECT_TRUE(testsupport::FileExists(System.Path() + "\\common.dll"));
  EXPECT_EQ(Count(App / "shared.dll"), 1);
  EXPECT_EQ(Count(System.Path() + "\\common.dll"), 2);
}

TEST_F(SharedFiles, AFileNoProgramUsesGoesWithItsCountAndLeavesTheSystemFolderWhenTheUserSaysSo) {
  SetCount(App / "shared.dll", 1);
  SetCount(System.Path() + "\\types.tlb", 1);
  SetCount(System.Path() + "\\common.dll", 1);
  LogFiles({App / "shared.dll", System.Path() + "\\types.tlb", System.Path() + "\\common.dll"});
  std::vector<std::string> asked;
  const setup::TUninstallReport report = Uninstall([&](const std::string& Path) {
    asked.push_back(Path);
    return Path.find("types") != std::string::npos;
  });
  EXPECT_TRUE(report.NotRemoved.empty()) << report.NotRemoved.front();
  // Outside the kept folders the rules decide; inside, the user.
  EXPECT_FALSE(testsupport::FileExists(App / "shared.dll"));
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_FALSE(testsupport::FileExists(System.Path() + "\\types.tlb"));
  EXPECT_TRUE(testsupport::FileExists(System.Path() + "\\common.dll")) << "the user kept it";
  EXPECT_EQ(Count(App / "shared.dll"), -1);
  EXPECT_EQ(Count(System.Path() + "\\types.tlb"), -1);
  EXPECT_EQ(Count(System.Path() + "\\common.dll"), -1);
}

TEST_F(SharedFiles, WithoutAnyoneToAskASharedFileInTheSystemFolderStaysAndIsReported) {
  SetCount(System.Path() + "\\types.tlb", 1);
  LogFiles({System.Path() + "\\types.tlb"});
  const setup::TUninstallReport report = Uninstall(nullptr);
  EXPECT_TRUE(testsupport::FileExists(System.Path() + "\\types.tlb"));
  ASSERT_EQ(report.NotRemoved.size(), 1u);
  EXPECT_NE(report.NotRemoved[0].find("types.tlb (a shared file that no program uses any more; kept)"),
            std::string::npos)
      << report.NotRemoved[0];
  // A file there the installation did not count stays as the rules say.
  LogFiles({System.Path() + "\\common.dll"}, false);
  EXPECT_EQ(Uninstall([](const std::string&) { return true; }).NotRemoved.size(), 1u);
  EXPECT_TRUE(testsupport::FileExists(System.Path() + "\\common.dll"));
}

TEST_F(SharedFiles, AHelpFileTakesItsOwnRegistrationAlongAndLeavesAnotherProducts) {
  testsupport::TSavedRegistryValues savedHelp(HKEY_LOCAL_MACHINE, "\\" + kHelp,
                                              {"ROADHELP" + kPid + ".HLP", "ROADHELP" + kPid + ".CNT"});
  testsupport::WriteFile(App / ("RoadHelp" + kPid + ".hlp"), "help");
  testsupport::WriteFile(App / ("RoadHelp" + kPid + ".cnt"), "contents");
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, kHelp, "ROADHELP" + kPid + ".HLP", App.Path() + "\\");
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, kHelp, "ROADHELP" + kPid + ".CNT", "C:\\Other Product");
  LogFiles({App / ("RoadHelp" + kPid + ".hlp"), App / ("RoadHelp" + kPid + ".cnt")}, false);
  EXPECT_TRUE(Uninstall(nullptr).NotRemoved.empty());
  EXPECT_FALSE(testsupport::FileExists(App / ("RoadHelp" + kPid + ".hlp")));
  EXPECT_FALSE(HasValue(kHelp, "ROADHELP" + kPid + ".HLP"));
  EXPECT_TRUE(HasValue(kHelp, "ROADHELP" + kPid + ".CNT"));
}

}  // namespace
