#include <gtest/gtest.h>

#include "RegistrySnapshot.h"
#include "SpecifierTestSupport.h"
#include "gui/WinHandles.h"
#include "paths/LinkMetaVariables.h"
#include "paths/ShellFolders.h"
#include "paths/StandardSpecifiers.h"
#include "support/PathStrings.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

using namespace setup;
using namespace setup::testing;

namespace {

std::string WindowsDir() {
  std::string dir = GetWindowsDir();
  return !dir.empty() && dir.back() == '\\' ? dir.substr(0, dir.size() - 1) : dir;
}

std::string CurrentDrive() {
  char buffer[MAX_PATH];
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return std::string(buffer, 2);
}

class ShellFolders : public ::testing::Test {
 protected:
  testsupport::TSavedRegistryTree FShell{HKEY_CURRENT_USER, kShellFoldersKey};
  // Other programs keep keys below this one (RunOnce): only the values used here come back.
  testsupport::TSavedRegistryValues FVersion{
      HKEY_LOCAL_MACHINE, kCurrentVersionKey, {"ProgramFilesDir", "CommonFilesDir"}};
  testsupport::TSavedRegistryTree FBDE{HKEY_LOCAL_MACHINE, kBDEKey};
};

TEST_F(ShellFolders, RegistryValuesLoseTheirTrailingBackslash) {
  WriteRegString(hkCurrentUser, kShellFoldersKey, "Start Menu", "C:\\Menu\\");
  WriteRegString(hkCurrentUser, kShellFoldersKey, "Programs", "C:\\Menu\\Progs\\");
  WriteRegString(hkCurrentUser, kShellFoldersKey, "Desktop", "C:\\Desk");
  WriteRegString(hkCurrentUser, kShellFoldersKey, "Startup", "C:\\Menu\\Progs\\Start\\");
  WriteRegString(hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", "D:\\Programs\\");
  WriteRegString(hkLocalMachine, kCurrentVersionKey, "CommonFilesDir", "D:\\Programs\\Shared");
  EXPECT_EQ(GetStartMenuDir(), "C:\\Menu");
  EXPECT_EQ(GetProgramsMenuDir(), "C:\\Menu\\Progs");
  EXPECT_EQ(GetDesktopDir(), "C:\\Desk");
  EXPECT_EQ(GetStartupDir(), "C:\\Menu\\Progs\\Start");
  EXPECT_EQ(GetProgramFilesDir(), "D:\\Programs");
  EXPECT_EQ(GetCommonFilesDir(), "D:\\Programs\\Shared");

  // The database engine's folder: below Program Files unless its first listed folder.
  fw::TComponent owner(nullptr);
  EXPECT_EQ(TpsBDEDLL(&owner).GetPath(nullptr), "D:\\Programs\\Borland\\Common Files\\BDE");
  WriteRegString(hkLocalMachine, kBDEKey, kBDEValue, "C:\\BDE;D:\\X");
  EXPECT_EQ(TpsBDEDLL(&owner).GetPath(nullptr), "C:\\BDE");
  WriteRegString(hkLocalMachine, kBDEKey, kBDEValue, "C:\\BDE\\");
  EXPECT_EQ(TpsBDEDLL(&owner).GetPath(nullptr), "C:\\BDE\\");  // kept as stored
  // Nothing is cached: a changed value answers at once.
  WriteRegString(hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", "F:\\Apps");
  EXPECT_EQ(TpsProgramFiles(&owner).GetPath(nullptr), "F:\\Apps");
}

TEST_F(ShellFolders, MissingValuesGiveTheFixedDefaults) {
  DeleteRegKeyTree(hkCurrentUser, kShellFoldersKey);
  fw::TRegKeyHandle key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey + 1, 0, KEY_ALL_ACCESS, key.Put()), ERROR_SUCCESS);
  RegDeleteValueA(key.Get(), "ProgramFilesDir");
  RegDeleteValueA(key.Get(), "CommonFilesDir");
  EXPECT_EQ(GetStartMenuDir(), WindowsDir() + "\\Startmen");
  EXPECT_EQ(GetProgramsMenuDir(), WindowsDir() + "\\Startmen\\Programs");
  EXPECT_EQ(GetDesktopDir(), WindowsDir() + "\\Desktop");
  EXPECT_EQ(GetStartupDir(), WindowsDir() + "\\Startup");
  EXPECT_EQ(GetProgramFilesDir(), CurrentDrive() + "\\Program Files");
  EXPECT_EQ(GetCommonFilesDir(), CurrentDrive() + "\\Program Files\\Common Files");
  fw::TComponent owner(nullptr);
  EXPECT_EQ(TpsWindow(&owner).GetPath(nullptr), WindowsDir());
  EXPECT_EQ(AddTrailingBackslash(TpsSystem(&owner).GetPath(nullptr)), AddTrailingBackslash(GetSystemDir()));
}

// --- meta variables of shortcut texts ---------------------------------------------

class LinkMetaVariables : public ShellFolders {
 protected:
  void SetUp() override {
    WriteRegString(hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", "D:\\Programs\\");
    WriteRegString(hkCurrentUser, kShellFoldersKey, "Programs", "C:\\Menu\\Progs");
  }
  std::string ErrorOf(const std::string& Text, TInstallObject* Link) {
    try {
      ExpandMetaVariables(Text, Link);
    } catch (const EAI& e) {
      return e.what();
    }
    return "no error";
  }
  fw::TComponent Owner{nullptr};
};

TEST_F(LinkMetaVariables, FoldersOfTheMachine) {
  EXPECT_EQ(ExpandMetaVariables("%%%p", nullptr), "%D:\\Programs");
  EXPECT_EQ(ExpandMetaVariables("%z%w", nullptr), WindowsDir());
  EXPECT_EQ(ExpandMetaVariables("\"%B\\App.exe\" %1", nullptr), "\"C:\\Menu\\Progs\\App.exe\" %1");
  EXPECT_EQ(ExpandMetaVariables("no variables", nullptr), "no variables");
  EXPECT_EQ(ExpandMetaVariables("50%", nullptr), "50");
}

TEST_F(LinkMetaVariables, FoldersOfTheLinkItsContainerAndTheInstallation) {
  EXPECT_EQ(ErrorOf("%a", nullptr), "Cannot expand the %a meta variable because the component is Nil");
  EXPECT_EQ(ErrorOf("%c", nullptr), "Cannot expand the %c meta variable because the component is Nil");
  EXPECT_EQ(ErrorOf("%i", nullptr), "Cannot expand the %i meta variable because there is no TInstall component");
  auto* link = new TPathObject(&Owner);
  link->SetDestDir("C:\\Links\\");
  EXPECT_EQ(ErrorOf("%c", link), "Cannot expand the %c meta variable because the Container property is Nil");
  EXPECT_THROW(ExpandMetaVariables("%c", link), EAICannotExpandContainerDirMV);
  {
    TPathEngine engine(nullptr);
    engine.SetDestDir("C:\\Product\\");
    auto* group = new TPathObject(&Owner);
    group->SetDestDir("C:\\Group");
    link->SetContainer(group);
    link->SetDestDirType(nullptr);
    link->SetDestDir("C:\\Links\\");
    EXPECT_EQ(ExpandMetaVariables("%a|%c|%i", link), "C:\\Links|C:\\Group|C:\\Product");
  }
  EXPECT_THROW(ExpandMetaVariables("%i", link), EAICannotExpandInstallDirMV);
}

}  // namespace
