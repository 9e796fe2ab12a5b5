#include <gtest/gtest.h>

#include "Files.h"
#include "RegistrySnapshot.h"
#include "gui/WinHandles.h"
#include "paths/OfficeSpecifiers.h"
#include "paths/ShellFolders.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

using namespace setup;

namespace {

// A word processor registered in the test's classes, with its settings under the
// current user's office keys.
class OfficeSpecifiers : public ::testing::Test {
 protected:
  testsupport::TSavedRegistryTree FProgID{HKEY_CLASSES_ROOT, "\\Word.Document"};
  testsupport::TSavedRegistryTree F8{HKEY_CLASSES_ROOT, "\\Word.Document.8"};
  testsupport::TSavedRegistryTree F12{HKEY_CLASSES_ROOT, "\\Word.Document.12"};
  testsupport::TSavedRegistryTree F20{HKEY_CLASSES_ROOT, "\\Word.Document.20"};
  testsupport::TSavedRegistryTree FOffice{HKEY_CURRENT_USER, "\\Software\\Microsoft\\Office"};
  testsupport::TSavedRegistryTree FPolicies{HKEY_CURRENT_USER, "\\Software\\Policies\\Microsoft\\Office"};
  testsupport::TSavedRegistryValues FFavorites{HKEY_CURRENT_USER, kShellFoldersKey, {"Favorites"}};
  testsupport::TSavedRegistryValues FProgramFiles{HKEY_LOCAL_MACHINE, kCurrentVersionKey, {"ProgramFilesDir"}};
  testsupport::TScratchFolder Folder{"office"};
  fw::TComponent Owner{nullptr};

  void SetUp() override { WriteRegString(hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", "D:\\Programs"); }

  void SetDefault(const std::string& Key, const std::string& Value) {
    fw::TRegKeyHandle key;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CLASSES_ROOT, Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
        ERROR_SUCCESS);
    RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                   static_cast<DWORD>(Value.size() + 1));
  }
  // Registers version Version; its server program exists when ServerExists.
  void Register(int Version, bool ServerExists) {
    std::string progID = "Word.Document.";
    progID += std::to_string(Version);
    const std::string server = Folder / "WINWORD.EXE";
    if (ServerExists) testsupport::WriteFile(server, "MZ");
    SetDefault("Word.Document\\CurVer", progID);
    SetDefault(progID + "\\protocol\\StdFileEditing\\server", server);
  }
  template <class T>
  std::string PathOf() {
    T specifier(&Owner);
    return specifier.GetPath(nullptr);
  }
};

TEST_F(OfficeSpecifiers, WithoutAWordProcessorTheFoldersLieBelowProgramFiles) {
  DeleteRegKeyTree(hkClassesRoot, "\\Word.Document");
  EXPECT_EQ(GetWordVersion(), -1);
  EXPECT_EQ(PathOf<TpsOfficeUserTemplates>(), "D:\\Programs\\Microsoft Office\\Templates");
  EXPECT_EQ(PathOf<TpsOfficeWorkgroupTemplates>(), "D:\\Programs\\Microsoft Office\\Templates");
  EXPECT_EQ(PathOf<TpsOfficeClipartDirectory>(), "D:\\Programs\\Microsoft Office\\Clipart");
  EXPECT_EQ(PathOf<TpsOfficeStartupDirectory>(), "D:\\Programs\\Microsoft Office\\Office\\Startup");
  EXPECT_EQ(PathOf<TpsOfficeToolsDirectory>(), "D:\\Programs\\Microsoft Office\\Office");

  // Registered, but its server program is missing: not installed.
  Register(8, false);
  WriteRegString(hkCurrentUser, "\\Software\\Microsoft\\Office\\8.0\\Word\\Options", "PICTURE-PATH", "E:\\Clips");
  EXPECT_EQ(GetWordVersion(), -1);
  EXPECT_EQ(PathOf<TpsOfficeClipartDirectory>(), "D:\\Programs\\Microsoft Office\\Clipart");
  // A current ProgID without a number.
  SetDefault("Word.Document\\CurVer", "Word.Document.x");
  SetDefault("Word.Document.x\\protocol\\StdFileEditing\\server", Folder / "WINWORD.EXE");
  testsupport::WriteFile(Folder / "WINWORD.EXE", "MZ");
  EXPECT_EQ(GetWordVersion(), -1);
  DeleteRegKeyTree(hkClassesRoot, "\\Word.Document.x");
}

TEST_F(OfficeSpecifiers, Version8ReadsTheOfficeKeys) {
  Register(8, true);
  EXPECT_EQ(GetWordVersion(), 8);
  const std::string office = "\\Software\\Microsoft\\Office\\8.0";
  WriteRegString(hkCurrentUser, office + "\\Word\\Options", "PICTURE-PATH", "E:\\Clips\\");
  WriteRegString(hkCurrentUser, office + "\\Word\\Options", "STARTUP-PATH", "E:\\Start");
  WriteRegString(hkCurrentUser, office + "\\Common\\FileNew\\LocalTemplates", "", "E:\\Mine\\");
  EXPECT_EQ(PathOf<TpsOfficeClipartDirectory>(), "E:\\Clips");
  EXPECT_EQ(PathOf<TpsOfficeStartupDirectory>(), "E:\\Start");
  EXPECT_EQ(PathOf<TpsOfficeToolsDirectory>(), "D:\\Programs\\Microsoft Office\\Office");
  EXPECT_EQ(PathOf<TpsOfficeUserTemplates>(), "E:\\Mine");
  // Without shared templates the workgroup's are the user's.
  EXPECT_EQ(PathOf<TpsOfficeWorkgroupTemplates>(), "E:\\Mine");
  WriteRegString(hkCurrentUser, office + "\\Common\\FileNew\\SharedTemplates", "", "\\\\server\\templates\\");
  EXPECT_EQ(PathOf<TpsOfficeWorkgroupTemplates>(), "\\\\server\\templates");
}

TEST_F(OfficeSpecifiers, Version12ReadsThePolicyKeysAndVersion20CountsAsNone) {
  Register(12, true);
  EXPECT_EQ(GetWordVersion(), 12);
  WriteRegString(hkCurrentUser, "\\Software\\Policies\\Microsoft\\Office\\12.0\\Word\\Options", "TOOLS-PATH",
                 "F:\\Tools");
  WriteRegString(hkCurrentUser, "\\Software\\Microsoft\\Office\\12.0\\Word\\Options", "TOOLS-PATH", "G:\\Wrong");
  EXPECT_EQ(PathOf<TpsOfficeToolsDirectory>(), "F:\\Tools");

  Register(20, true);
  WriteRegString(hkCurrentUser, "\\Software\\Policies\\Microsoft\\Office\\20.0\\Word\\Options", "TOOLS-PATH",
                 "F:\\Tools20");
  EXPECT_EQ(GetWordVersion(), 20);
  EXPECT_EQ(PathOf<TpsOfficeToolsDirectory>(), "D:\\Programs\\Microsoft Office\\Office");
}

TEST_F(OfficeSpecifiers, FavoritesComeFromTheShellFolders) {
  WriteRegString(hkCurrentUser, kShellFoldersKey, "Favorites", "C:\\Fav\\");
  EXPECT_EQ(PathOf<TpsOfficeFavoritesDirectory>(), "C:\\Fav");
  fw::TRegKeyHandle key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey + 1, 0, KEY_ALL_ACCESS, key.Put()), ERROR_SUCCESS);
  RegDeleteValueA(key.Get(), "Favorites");
  std::string windows = GetWindowsDir();
  if (!windows.empty() && windows.back() == '\\') windows.pop_back();
  EXPECT_EQ(PathOf<TpsOfficeFavoritesDirectory>(), windows + "\\Favorites");
}

}  // namespace
