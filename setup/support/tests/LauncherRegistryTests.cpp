#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

#include "core/TypInfo.h"
#include "support/Errors.h"
#include "support/ProgramLauncher.h"
#include "support/Registry.h"

using namespace setup;

namespace {

std::string ProgramFolder() {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, n);
  return path.substr(0, path.rfind('\\'));
}

std::string ReadWhole(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// --- program launcher ------------------------------------------------------------

TEST(ProgramLauncher, StartsTheProgramWithItsParametersAndWaitsForIt) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string report = std::string(temp) + "launcher-probe-" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(report.c_str());
  SetEnvironmentVariableA("STAVREL_PROBE_OUT", report.c_str());

  TProgramLauncher launcher(nullptr);
  launcher.SetFileName(ProgramFolder() + "\\launcher_probe.exe");
  launcher.SetParameters("/REGSERVER \"two words\"");
  launcher.SetShowMode(smMinimized);
  launcher.Execute();
  // The probe writes its report before it becomes idle: the file is there now.
  std::string text = ReadWhole(report);
  DeleteFileA(report.c_str());
  SetEnvironmentVariableA("STAVREL_PROBE_OUT", nullptr);
  std::istringstream lines(text);
  std::string commandLine, startup;
  std::getline(lines, commandLine);
  std::getline(lines, startup);
  EXPECT_EQ(commandLine, "\"" + launcher.FileName() + "\" /REGSERVER \"two words\"");
  EXPECT_EQ(startup, "65 2");  // use-show-window and force-feedback; minimized
}

TEST(ProgramLauncher, PublishedPropertiesHaveTheirDefaultsAndReachTheLauncher) {
  TProgramLauncher launcher(nullptr);
  const fw::TClass& cls = TProgramLauncher::StaticClass();
  auto prop = [&](const char* Name) {
    const fw::TPropInfo* info = cls.FindProperty(Name);
    EXPECT_NE(info, nullptr) << Name;
    EXPECT_FALSE(info == nullptr || info->ReadOnly()) << Name;
    return info;
  };
  EXPECT_EQ(prop("Action")->GetStr(&launcher), "Open");
  EXPECT_EQ(prop("FileName")->GetStr(&launcher), "");
  EXPECT_EQ(prop("ShowMode")->GetOrd(&launcher), static_cast<long long>(smNormal));
  EXPECT_EQ(prop("Timeout")->GetOrd(&launcher), -1);
  EXPECT_EQ(prop("Wait")->GetOrd(&launcher), 1);

  // What a form description sets is what the launcher then uses.
  prop("Action")->SetStr(&launcher, "Print");
  prop("FileName")->SetStr(&launcher, "C:\\App\\app.exe");
  prop("Parameters")->SetStr(&launcher, "/s");
  prop("ShowMode")->SetOrd(&launcher, static_cast<long long>(smHide));
  prop("StartDir")->SetStr(&launcher, "C:\\App");
  prop("Timeout")->SetOrd(&launcher, 5000);
  prop("Wait")->SetOrd(&launcher, 0);
  EXPECT_EQ(launcher.Action(), "Print");
  EXPECT_EQ(launcher.CommandLine(), "\"C:\\App\\app.exe\" /s");
  EXPECT_EQ(launcher.ShowMode(), smHide);
  EXPECT_EQ(launcher.StartDir(), "C:\\App");
  EXPECT_EQ(launcher.Timeout(), 5000);
  EXPECT_FALSE(launcher.Wait());
}

TEST(ProgramLauncher, AFailedStartReportsTheRealErrorCode) {
  TProgramLauncher launcher(nullptr);
  launcher.SetFileName(ProgramFolder() + "\\no-such-program.exe");
  try {
    launcher.Execute();
    ADD_FAILURE();
  } catch (const EProgramLauncherFailed& e) {
    EXPECT_EQ(e.ErrorCode(), 2u);
    EXPECT_STREQ(e.what(), "File not found");
  }
  launcher.SetFileName(ProgramFolder() + "\\no-such-folder\\program.exe");
  try {
    launcher.Execute();
    ADD_FAILURE();
  } catch (const EProgramLauncherFailed& e) {
    EXPECT_EQ(e.ErrorCode(), 3u);
    EXPECT_STREQ(e.what(), "Path not found");
  }
}

TEST(ProgramLauncher, CodesWithoutATextAreUnknownButKept) {
  EXPECT_EQ(LaunchErrorText(31), "File type has no association");
  try {
    RaiseProgramLauncherError(193);
    ADD_FAILURE();
  } catch (const EProgramLauncherFailed& e) {
    EXPECT_EQ(e.ErrorCode(), 193u);
    EXPECT_STREQ(e.what(), "Unknown error");
  }
}

// --- registry --------------------------------------------------------------------

class RegistryRoutines : public ::testing::Test {
 protected:
  const std::string Key = "\\Software\\StavrelTests\\Registry" + std::to_string(GetCurrentProcessId());
  void TearDown() override { DeleteRegKeyTree(hkCurrentUser, Key); }
};

TEST_F(RegistryRoutines, WriteAndReadBackWithDefaultsForWhatIsMissing) {
  WriteRegString(hkCurrentUser, Key + "\\Deep\\Er", "Path", "C:\\Program Files\\X");
  WriteRegInteger(hkCurrentUser, Key + "\\Deep\\Er", "Count", -7);
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key + "\\Deep\\Er", "Path", "dflt"), "C:\\Program Files\\X");
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, Key + "\\Deep\\Er", "Count", 0), -7);
  // Paths without the leading backslash name the same key.
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key.substr(1) + "\\Deep\\Er", "Path", "dflt"), "C:\\Program Files\\X");
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key + "\\Deep\\Er", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key + "\\Nowhere", "Path", "dflt"), "dflt");
  // A value of the other kind is unreadable as this one.
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key + "\\Deep\\Er", "Count", "dflt"), "dflt");
  EXPECT_EQ(ReadRegInteger(hkCurrentUser, Key + "\\Deep\\Er", "Path", 42), 42);
  WriteRegString(hkCurrentUser, Key + "\\Deep\\Er", "Path", "");
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key + "\\Deep\\Er", "Path", "dflt"), "");
}

TEST_F(RegistryRoutines, WriteFailuresRaise) {
  // A key name longer than the registry allows cannot be created.
  const std::string tooLong = Key + "\\" + std::string(300, 'k');
  try {
    WriteRegString(hkCurrentUser, tooLong, "Ident", "Value");
    ADD_FAILURE();
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot install into registry. Key: " + tooLong + " Ident: Ident Value Value");
  }
  try {
    WriteRegInteger(hkCurrentUser, tooLong, "Ident", 1);
    ADD_FAILURE();
  } catch (const EIRCannotWriteValue& e) {
    EXPECT_EQ(std::string(e.what()), tooLong);
  }
}

TEST_F(RegistryRoutines, DeleteKeyTreeRemovesEverythingBelowButNeverARoot) {
  for (const char* child : {"A", "B", "C"}) WriteRegString(hkCurrentUser, Key + "\\" + child + "\\Inner", "v", "1");
  WriteRegString(hkCurrentUser, Key, "Top", "1");
  DeleteRegKeyTree(hkCurrentUser, Key);
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key, "Top", "gone"), "gone");
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key + "\\A\\Inner", "v", "gone"), "gone");
  DeleteRegKeyTree(hkCurrentUser, Key);  // nothing there: no error
  WriteRegString(hkCurrentUser, Key, "Top", "kept");
  DeleteRegKeyTree(hkCurrentUser, "");
  DeleteRegKeyTree(hkCurrentUser, "\\");
  EXPECT_EQ(ReadRegString(hkCurrentUser, Key, "Top", "gone"), "kept");
}

}  // namespace
