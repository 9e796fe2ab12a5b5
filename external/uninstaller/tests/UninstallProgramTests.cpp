// The uninstaller as a user meets it: started by the product's uninstall command from
// the folder the installation put it in, asking first, leaving nothing of the product
// behind (itself and its folder included), telling the outcome by its exit code.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlwapi.h>

#include <string>

#include "Files.h"
#include "InstallationLog.h"
#include "RegistrySnapshot.h"
#include "Screenshot.h"
#include "UiDriver.h"
#include "objects/UninstallRemoval.h"

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());

std::string BuiltProgram(const std::string& Name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + Name;
}

bool KeyExists(const std::string& Key) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A started uninstaller; the handle goes with the object.
class TStarted {
 public:
  TStarted(const std::string& Command, const std::string& ReportFile) {
    SetEnvironmentVariableA("STAVREL_UNINSTALL_REPORT", ReportFile.empty() ? nullptr : ReportFile.c_str());
    std::string line = Command;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const bool started =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA("STAVREL_UNINSTALL_REPORT", nullptr);
    if (!started) throw std::runtime_error("cannot start " + Command);
    CloseHandle(process.hThread);
    FProcess = process.hProcess;
    FId = process.dwProcessId;
  }
  ~TStarted() {
    if (WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT) TerminateProcess(FProcess, 99);
    CloseHandle(FProcess);
  }
  TStarted(const TStarted&) = delete;
  TStarted& operator=(const TStarted&) = delete;

  DWORD Id() const { return FId; }
  // The exit code once it ended; -1 when it did not end within 60 s.
  long ExitCode() const {
    DWORD code = 0;
    if (WaitForSingleObject(FProcess, 60000) != WAIT_OBJECT_0 || !GetExitCodeProcess(FProcess, &code)) return -1;
    return static_cast<long>(code);
  }

 private:
  HANDLE FProcess = nullptr;
  DWORD FId = 0;
};

// A product installed below the scratch folder: its program folder with the uninstaller
// and two files of its own (one in a subfolder), all below a maker's folder that holds
// nothing else, logged as the installation logs them.
class UninstallProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    // The user's own file beside the maker's folder: the folders above stay.
    testsupport::WriteFile(Scratch / "mine.txt", "user's");
    uninstall_tests::TInstallationLog log(Product);
    log.WriteFile(Folder + "\\tool.exe", "MZ tool");
    log.WriteFile(Folder + "\\data\\readme.txt", "read me");
    ASSERT_TRUE(CopyFileA(BuiltProgram("uninstall.exe").c_str(), Program.c_str(), FALSE));
    log.LogFile(Program);  // the uninstaller is one of the product's files
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key, "DisplayName", Product);
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key, "UninstallString", Command());
  }
  void TearDown() override { SHDeleteKeyA(HKEY_LOCAL_MACHINE, Key.c_str()); }

  // The command Add/Remove Programs runs.
  std::string Command() const { return "\"" + Program + "\" " + Product; }
  bool NothingRemoved() const {
    return testsupport::FileExists(Program) && testsupport::FileExists(Folder + "\\tool.exe") &&
           testsupport::FileExists(Folder + "\\data\\readme.txt") && KeyExists(Key);
  }
  bool EverythingRemoved() const {
    return !testsupport::FolderExists(Maker) && !KeyExists(Key) && testsupport::FileExists(Scratch / "mine.txt");
  }

  const std::string Product = "Stavrel Uninstall Program " + kPid;
  const std::string Key = std::string(setup::kUninstallRoot) + "\\" + Product;
  testsupport::TScratchFolder Scratch{"uninstallprogram"};
  const std::string Maker = Scratch / "Maker";
  const std::string Folder = Maker + "\\Product";
  const std::string Program = Folder + "\\uninstall.exe";
};

TEST_F(UninstallProgram, ReportModeRemovesTheProgramAndItsFoldersToo) {
  const std::string report = Scratch / "report.txt";
  TStarted run(Command(), report);
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_EQ(testsupport::ReadFile(report), Product + " was removed.");
  EXPECT_FALSE(testsupport::FileExists(Program));
  EXPECT_TRUE(EverythingRemoved());
}

// The uninstaller's box (of its process) whose text begins with Start; Text, when given,
// receives the whole text. Whole: the text must be Start itself.
HWND WaitForBoxStarting(DWORD Process, const std::string& Start, std::string* Text = nullptr, bool Whole = false) {
  HWND box = nullptr;
  const bool found = testsupport::WaitUntil(
      [&] {
        box = testsupport::FindTopLevelWindow({.ClassName = "#32770", .Caption = "Uninstall", .ProcessId = Process});
        if (box == nullptr) return false;
        for (const testsupport::TControlInfo& control : testsupport::ListControls(box))
          if (Whole ? control.Text == Start : control.Text.rfind(Start, 0) == 0) {
            if (Text != nullptr) *Text = control.Text;
            return true;
          }
        return false;
      },
      60000);
  if (!found) throw testsupport::EUiDriver("no box saying \"" + Start + "\"");
  return box;
}

// The uninstaller's box saying Text.
HWND WaitForBox(DWORD Process, const std::string& Text) {
  return WaitForBoxStarting(Process, Text, nullptr, true);
}

TEST_F(UninstallProgram, TheUserAnswersTheConfirmationBox) {
  const std::string question = "Remove " + Product + " and all of its components?";
  {
    TStarted run(Command(), "");
    HWND box = WaitForBox(run.Id(), question);
    testsupport::SaveWindowPng(box, "confirmation");
    testsupport::Click(testsupport::RequireControl(box, {.Caption = "No"}));
    EXPECT_EQ(run.ExitCode(), 1);
    EXPECT_TRUE(NothingRemoved());
  }
  TStarted run(Command(), "");
  HWND box = WaitForBox(run.Id(), question);
  testsupport::Click(testsupport::RequireControl(box, {.Caption = "Yes"}));
  ASSERT_TRUE(testsupport::WaitForWindowToGo(box, 20000));
  HWND done = WaitForBox(run.Id(), Product + " was removed.");
  testsupport::SaveWindowPng(done, "removed");
  testsupport::Click(testsupport::RequireControl(done, {.Caption = "OK"}));
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_TRUE(EverythingRemoved());
}

TEST_F(UninstallProgram, AReportOfAnyLengthFitsTheScreenAndTheWholeOfItIsKept) {
  // A 32 KiB entry and hundreds of others that stay.
  const std::string huge = "C:\\" + std::string(32 * 1024, 'x');
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\Files", "File100", huge);
  for (int n = 101; n < 400; ++n)
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\Files", "File" + std::to_string(n),
                                   "relative\\file" + std::to_string(n) + ".txt");
  TStarted run(Command(), "");
  testsupport::Click(testsupport::RequireControl(
      WaitForBox(run.Id(), "Remove " + Product + " and all of its components?"), {.Caption = "Yes"}));
  std::string text;
  HWND done = WaitForBoxStarting(run.Id(), Product + " was removed, except for these items:", &text);
  testsupport::SaveWindowPng(done, "long report");
  RECT box{}, work{};
  GetWindowRect(done, &box);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(box.right - box.left, work.right - work.left);
  EXPECT_LE(box.bottom - box.top, work.bottom - work.top);
  // What does not fit is counted, and the whole report is in the file the box names.
  const std::string named = " more, all listed in:\r\n";
  const size_t at = text.find(named);
  ASSERT_NE(at, std::string::npos) << text;
  const std::string file = text.substr(at + named.size());
  EXPECT_NE(testsupport::ReadFile(file).find(huge + " (not a plain full path of a file)"), std::string::npos);
  EXPECT_NE(testsupport::ReadFile(file).find("relative\\file399.txt (not a plain full path of a file)"),
            std::string::npos);
  DeleteFileA(file.c_str());
  testsupport::Click(testsupport::RequireControl(done, {.Caption = "OK"}));
  EXPECT_EQ(run.ExitCode(), 3) << "something stayed";
  EXPECT_TRUE(EverythingRemoved());
}

TEST_F(UninstallProgram, AHostileLogGetsNoOtherProgramOrFolderRemoved) {
  // The command names another program: it stays, and so does the running one, which
  // the product did not name.
  const std::string other = Scratch / "Other\\other.exe";
  testsupport::WriteFile(other, "MZ other");
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key, "UninstallString", "\"" + other + "\" " + Product);
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\Files", "File8", "C:\\Windows\\win.ini");
  const std::string report = Scratch / "report.txt";
  {
    TStarted run(Command(), report);
    EXPECT_EQ(run.ExitCode(), 3);
  }
  EXPECT_TRUE(testsupport::FileExists(other));
  EXPECT_TRUE(testsupport::FileExists(Program));
  EXPECT_FALSE(testsupport::FileExists(Folder + "\\tool.exe"));
  EXPECT_NE(testsupport::ReadFile(report).find("win.ini"), std::string::npos);
  EXPECT_FALSE(KeyExists(Key));

  // Named through a path that leads out and back, or logged twice as a file of the
  // product, the program is still itself: only the plain name counts, and the log does
  // not get it deleted under the running program. Each time a fresh installation.
  testsupport::RemoveTree(Maker);
  SetUp();
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key, "UninstallString",
                                 "\"" + Maker + "\\..\\Maker\\Product\\uninstall.exe\" " + Product);
  {
    TStarted run(Command(), report);
    EXPECT_EQ(run.ExitCode(), 3);
    EXPECT_NE(testsupport::ReadFile(report).find("uninstall.exe (the running uninstaller, which the uninstall "
                                                 "command does not name; kept)"),
              std::string::npos);
  }
  EXPECT_TRUE(testsupport::FileExists(Program));
  testsupport::RemoveTree(Maker);
  SetUp();
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\Files", "File9", Program);
  {
    TStarted run(Command(), report);
    EXPECT_EQ(run.ExitCode(), 0);
    EXPECT_EQ(testsupport::ReadFile(report), Product + " was removed.");
  }
  EXPECT_TRUE(EverythingRemoved());
}

// A copy started from another folder (a tool run by hand) stays where it is; the
// product's own uninstaller goes with the product's other files.
TEST_F(UninstallProgram, ACopyTheProductDoesNotNameStays) {
  const std::string copy = Scratch / "Tools\\uninstall.exe";
  testsupport::WriteFile(copy, "");
  ASSERT_TRUE(CopyFileA(BuiltProgram("uninstall.exe").c_str(), copy.c_str(), FALSE));
  const std::string report = Scratch / "report.txt";
  TStarted run("\"" + copy + "\" " + Product, report);
  EXPECT_EQ(run.ExitCode(), 0);
  EXPECT_TRUE(testsupport::FileExists(copy));
  EXPECT_TRUE(EverythingRemoved());
}

}  // namespace
