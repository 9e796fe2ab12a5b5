#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include "paths/ShellFolderSpecifiers.h"
#include "support/OSVersion.h"

using namespace setup;

namespace {

TWindowsVersion gVersion;
bool InjectedVersion(TWindowsVersion& Version) {
  Version = gVersion;
  return true;
}

// Runs the test's specifiers as if on the given Windows version.
class ShellFolderSpecifiers : public ::testing::Test {
 protected:
  void SetUp() override { FPrevious = SetWindowsVersionQuery(InjectedVersion); }
  void TearDown() override { SetWindowsVersionQuery(FPrevious); }
  static void RunOn(uint32_t Platform, uint32_t Major, uint32_t Minor) { gVersion = {Platform, Major, Minor}; }
  template <class T>
  std::string PathOf() {
    T specifier(&Owner);
    return specifier.GetPath(nullptr);
  }
  static std::string Folder(int CSIDL) {
    std::string path = GetSpecialFolderPath(CSIDL);
    EXPECT_FALSE(path.empty()) << "CSIDL " << CSIDL;
    return path;
  }
  fw::TComponent Owner{nullptr};
  TWindowsVersionQuery FPrevious = nullptr;
};

TEST_F(ShellFolderSpecifiers, TheNTFamilyAsksForTheAllUsersFolders) {
  RunOn(2, 5, 1);  // XP
  EXPECT_EQ(PathOf<TpsCommonPrograms>(), Folder(CSIDL_COMMON_PROGRAMS));
  EXPECT_EQ(PathOf<TpsCommonStartMenu>(), Folder(CSIDL_COMMON_STARTMENU));
  EXPECT_EQ(PathOf<TpsCommonDesktopDirectory>(), Folder(CSIDL_COMMON_DESKTOPDIRECTORY));
  // XP and later have the all-users startup folder like Windows 2000.
  EXPECT_EQ(PathOf<TpsCommonStartup>(), Folder(CSIDL_COMMON_STARTUP));
  RunOn(2, 5, 0);  // 2000
  EXPECT_EQ(PathOf<TpsCommonStartup>(), Folder(CSIDL_COMMON_STARTUP));
  EXPECT_EQ(PathOf<TpsRecent>(), Folder(CSIDL_RECENT));
  EXPECT_EQ(PathOf<TpsSendTo>(), Folder(CSIDL_SENDTO));
  EXPECT_EQ(PathOf<TpsStartup>(), Folder(CSIDL_STARTUP));
  EXPECT_EQ(PathOf<TpsFavorites>(), Folder(CSIDL_FAVORITES));
  EXPECT_EQ(PathOf<TpsCookies>(), Folder(CSIDL_COOKIES));
  // Virtual folders have no path.
  EXPECT_EQ(PathOf<TpsBitBucket>(), "");
  EXPECT_EQ(PathOf<TpsControlPanel>(), "");
  EXPECT_EQ(GetSpecialFolderPath(-5), "");
  // Every answer comes without a trailing backslash.
  for (const std::string& path : {PathOf<TpsCommonFavorites>(), PathOf<TpsPrinters>(), PathOf<TpsCommonAltStartup>()})
    EXPECT_TRUE(path.empty() || path.back() != '\\') << path;
}

TEST_F(ShellFolderSpecifiers, The9xFamilyAsksForTheUsersFolders) {
  RunOn(1, 4, 10);  // 98
  EXPECT_EQ(PathOf<TpsRecent>(), "undefined");
  EXPECT_EQ(PathOf<TpsPrinters>(), "undefined");
  EXPECT_EQ(PathOf<TpsFavorites>(), "undefined");
  EXPECT_EQ(PathOf<TpsCommonStartMenu>(), Folder(CSIDL_STARTMENU));
  EXPECT_EQ(PathOf<TpsCommonPrograms>(), Folder(CSIDL_PROGRAMS));
  EXPECT_EQ(PathOf<TpsCommonStartup>(), Folder(CSIDL_STARTUP));
  EXPECT_EQ(PathOf<TpsCommonDesktopDirectory>(), Folder(CSIDL_DESKTOPDIRECTORY));
  EXPECT_EQ(PathOf<TpsCommonFavorites>(), Folder(CSIDL_FAVORITES));
  EXPECT_EQ(PathOf<TpsSendTo>(), "");
  EXPECT_EQ(PathOf<TpsCookies>(), "");
}

TEST_F(ShellFolderSpecifiers, AnUnknownWindowsHasNoneOfThem) {
  RunOn(2, 3, 51);  // NT 3.51
  EXPECT_EQ(PathOf<TpsCommonDesktopDirectory>(), "undefined");
  EXPECT_EQ(PathOf<TpsRecent>(), "undefined");
  EXPECT_EQ(PathOf<TpsCommonPrograms>(), "");
  EXPECT_EQ(PathOf<TpsCommonAltStartup>(), "");
  EXPECT_EQ(PathOf<TpsStartup>(), "");
  // The Quick Launch bar is below the application data on every version.
  EXPECT_EQ(PathOf<TpsQuickLaunchMenu>(), Folder(CSIDL_APPDATA) + "\\Microsoft\\Internet Explorer\\Quick Launch");
}

TEST_F(ShellFolderSpecifiers, TextsAndNames) {
  TpsCommonAltStartup alt(&Owner);
  EXPECT_EQ(alt.DefaultName(), "psCommonAltStartup");
  EXPECT_EQ(alt.GetDescription(), "Alternate Startup folder for (All Users profile)");
  EXPECT_EQ(alt.GetCaption(), "Common Alternate Startup folder");
  EXPECT_EQ(alt.GetObjectCaption(&Owner), "Alternate Startup folder for (All Users profile)");
  TpsQuickLaunchMenu quick(&Owner);
  EXPECT_EQ(quick.DefaultName(), "psQuickLaunchMenu");
  EXPECT_EQ(quick.GetCaption(), "Quick Launch Toolbar menu");
  TpsPrinters printers(&Owner);
  EXPECT_EQ(printers.GetDescription(), "virtual folder containing installed printers");
  EXPECT_EQ(printers.GetCaption(), "Installed Printers");
}

}  // namespace
