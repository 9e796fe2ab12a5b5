#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "EngineFixture.h"
#include "engine/RestartCommands.h"
#include "gui/WinHandles.h"
#include "objects/InstallLists.h"

using namespace setup;
using namespace setup::testing;

namespace {

using Lines = std::vector<std::string>;

std::string Deferring(const std::string& Name = "Deferring") {
  return "  object " + Name + ": TDeferringObject\n    Container = MainInstall\n  end\n";
}

class AfterReboot : public EngineFixture {
 protected:
  // A record with the given unfinished lines (value name, kind text), as the run before
  // the reboot left it.
  void LeaveRecord(const std::vector<std::pair<std::string, std::string>>& Items) {
    std::string key;
    Engine->FindInstallRecord(true, key);
    ASSERT_FALSE(key.empty());
    for (const auto& [name, kind] : Items) {
      HKEY unfinished = nullptr;
      ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (key.substr(1) + "\\Unfinished").c_str(), 0, nullptr, 0, KEY_WRITE,
                                nullptr, &unfinished, nullptr),
                ERROR_SUCCESS);
      RegSetValueExA(unfinished, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kind.c_str()),
                     static_cast<DWORD>(kind.size() + 1));
      RegCloseKey(unfinished);
    }
  }
  void Continue() {
    try {
      Engine->FinishAfterReboot();
    } catch (...) {
      fw::Application->HandleException(Engine);
    }
  }
  bool RecordExists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\URQ\\Install\\Install0", 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }
};

TEST_F(AfterReboot, EveryItemIsFinishedThenTheRunEndsWell) {
  Load(Deferring() + Deferring("Other"));
  std::string later = Scratch / "later.tmp";
  testsupport::WriteFile(later, "x");
  LeaveRecord({{"deferring", "0"}, {later, "1"}, {"Nobody", "0"}, {"Something", "7"}});
  Continue();
  EXPECT_TRUE(EngineLog().Contains("finish Deferring")) << "names match in any case";
  EXPECT_FALSE(EngineLog().Contains("finish Other"));
  EXPECT_FALSE(testsupport::FileExists(later));
  EXPECT_TRUE(EngineLog().Contains("OnAfterNotifyGoodInstall"));
  EXPECT_FALSE(RecordExists());
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_FALSE(Engine->Installing());
}

TEST_F(AfterReboot, ABadLineFailsTheRunAfterTheOtherItemsAreDone) {
  Load(Deferring());
  std::string later = Scratch / "later.tmp";
  testsupport::WriteFile(later, "x");
  LeaveRecord({{"Broken", "zero"}, {later, "1"}, {"Deferring", "0"}});
  Continue();
  EXPECT_FALSE(testsupport::FileExists(later));
  EXPECT_TRUE(EngineLog().Contains("finish Deferring"));
  EXPECT_EQ(Engine->Errors, Lines{"There is an invalid entry for the unfinished install list Broken;zero"});
  EXPECT_TRUE(EngineLog().Contains("code -978") || EngineLog().Contains("OnAfterNotifyBadInstall"));
  EXPECT_FALSE(EngineLog().Contains("OnAfterNotifyGoodInstall"));
  EXPECT_TRUE(RecordExists()) << "a failed continuation keeps its record";
}

TEST_F(AfterReboot, WithoutARecordTheContinuationFails) {
  Load(Deferring());
  Continue();
  EXPECT_EQ(Engine->Errors, Lines{"The TInstall could not either write or read unfinished business from the registry"});
  EXPECT_FALSE(EngineLog().Contains("finish Deferring"));
}

TEST_F(AfterReboot, SwitchNOnAFirstRunFindsNoListToClear) {
  TTestInstall::NextArguments() = {"-s" + Scratch.Path(), "-n"};
  Load(Deferring());
  try {
    Engine->Process();
  } catch (...) {
    fw::Application->HandleException(Engine);
  }
  EXPECT_EQ(Engine->Errors, Lines{"The TInstall could not either write or read unfinished business from the registry"});
}

// The test starts the host program as Windows would after the reboot: with the command
// its first run registered under RunOnce.
DWORD RunHost(const std::string& CommandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::string command = CommandLine;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 0xFFFFFFFF;
  fw::TKernelHandle processHandle(process.hProcess);
  fw::TKernelHandle threadHandle(process.hThread);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    return 0xFFFFFFFE;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

std::string HostProgram() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string self(path, length);
  return self.substr(0, self.find_last_of('\\') + 1) + "engine_test_host.exe";
}

TEST(RealAfterReboot, TheRegisteredCommandFinishesTheDeferredWork) {
  testsupport::TScratchFolder source("host");
  testsupport::TSavedRegistryTree records(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\URQ");
  testsupport::TSavedRegistryTree uninstall(
      HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Engine Host Product");
  testsupport::TSavedRegistryValues runOnce(HKEY_CURRENT_USER,
                                            "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                                            {"QuenlarkUnfinished", "QuenlarkUnfinished1"});
  testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\URQ");
  testsupport::WriteFile(source / "later.tmp", "deleted after the reboot");

  std::string host = HostProgram();
  ASSERT_EQ(RunHost("\"" + host + "\" \"-s" + source.Path() + "\""), 0u);
  std::string log = testsupport::FileExists(source / "host.log") ? testsupport::ReadFile(source / "host.log") : "";
  EXPECT_EQ(log, "reboot\n") << "the first run asks for the reboot and nothing else";
  EXPECT_TRUE(testsupport::FileExists(source / "later.tmp"));
  EXPECT_FALSE(testsupport::FileExists(source / "finished.txt"));
  std::string command = RunOnceValue(HKEY_CURRENT_USER, "QuenlarkUnfinished");
  EXPECT_EQ(command, "\"" + host + "\" -r \"-s" + source.Path() + "\"");

  ASSERT_EQ(RunHost(command), 0u);
  EXPECT_TRUE(testsupport::FileExists(source / "finished.txt")) << "the object finished its work";
  EXPECT_FALSE(testsupport::FileExists(source / "later.tmp")) << "the file was deleted";
  log = testsupport::ReadFile(source / "host.log");
  EXPECT_EQ(log, "reboot\n") << "no error after the reboot";
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\URQ", 0, KEY_READ, &key), ERROR_SUCCESS)
      << "the record is gone";
}

// --- the clean-up of the loader's folder --------------------------------------------

TEST(CleanupText, TheBatchQuotesEveryPathAndWaitsForTheProgram) {
  std::string text = CleanupBatchText("C:\\Temp\\ldr 1\\bram%set.exe", "C:\\Temp\\ldr 1", "C:\\Temp\\bat12.bat");
  EXPECT_NE(text.find("DEL /F /Q \"C:\\Temp\\ldr 1\\bram%%set.exe\""), std::string::npos) << text;
  EXPECT_NE(text.find("IF NOT EXIST \"C:\\Temp\\ldr 1\\bram%%set.exe\" GOTO GONE"), std::string::npos);
  EXPECT_NE(text.find("RMDIR /S /Q \"C:\\Temp\\ldr 1\""), std::string::npos);
  EXPECT_NE(text.find("DEL /F /Q \"C:\\Temp\\bat12.PIF\""), std::string::npos);
  EXPECT_NE(text.find("DEL /F /Q \"C:\\Temp\\bat12.bat\""), std::string::npos);
  EXPECT_EQ(text.find("DELTREE"), std::string::npos);
  EXPECT_LT(text.find("GOTO WAIT"), text.find("RMDIR")) << "the folder goes after the program";
  EXPECT_LT(text.find("CD /D \"C:\\Temp\""), text.find("RMDIR")) << "the batch leaves the folder it removes";
  EXPECT_NE(CleanupBatchText("C:\\ldr\\b.exe", "C:\\ldr", "C:\\bat1.bat").find("CD /D \"C:\\\""), std::string::npos);
}

class Cleanup : public EngineFixture {
 protected:
  // A folder like the loader's, right below the temporary folder, with the program in it.
  Cleanup() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    char longTemp[MAX_PATH];
    GetLongPathNameA(temp, longTemp, sizeof(longTemp));
    Folder = std::string(longTemp) + "ldr" + std::to_string(GetCurrentProcessId());
    testsupport::RemoveTree(Folder);
    testsupport::WriteFile(Folder + "\\bramset.exe", "the installer");
    testsupport::WriteFile(Folder + "\\setup.ini", "companion");
    TTestInstall::NextProgramFile() = Folder + "\\bramset.exe";
  }
  ~Cleanup() override {
    FreeForm();
    testsupport::RemoveTree(Folder);
  }
  std::string Folder;
};

TEST_F(Cleanup, TheLoadersFolderGoesAfterTheProgramHasEnded) {
  testsupport::WriteFile(Folder + "\\" + kLoaderFolderMarker, "");
  TTestInstall::NextArguments() = {"-s" + Scratch.Path(), "-c"};
  Load();
  // The running program cannot be deleted while it runs.
  fw::TFileHandle running(CreateFileA((Folder + "\\bramset.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(running);
  Engine->CleanupLoadingProgram();
  EXPECT_TRUE(EngineLog().Contains("OnBeforeCleanup"));
  EXPECT_FALSE(testsupport::FileExists(Folder + "\\setup.ini"));
  EXPECT_TRUE(testsupport::FileExists(Folder + "\\bramset.exe"));
  ASSERT_TRUE(Engine->CleanupBatchWritten());
  std::string batch = Engine->CleanupBatchFile();
  EXPECT_EQ(batch.substr(batch.size() - 4), ".bat");
  EXPECT_EQ(testsupport::ReadFile(batch), CleanupBatchText(Folder + "\\bramset.exe", Folder, batch));
  // The loader starts the installer in its folder: the batch starts there too.
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(Folder.c_str()));
  FreeForm();  // the engine goes: the batch starts
  SetCurrentDirectoryA(previous);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(testsupport::FolderExists(Folder)) << "the batch waits while the program runs";
  running.Reset();
  for (int i = 0; i < 200 && (testsupport::FolderExists(Folder) || testsupport::FileExists(batch)); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(testsupport::FolderExists(Folder));
  EXPECT_FALSE(testsupport::FileExists(batch)) << "the batch removes itself";
}

TEST_F(Cleanup, AProgramStartedInTheFolderLeavesItSoThatItGoesAtOnce) {
  // The loader starts the program in its folder; where the running program's file can be
  // deleted (Wine), the folder goes at once and no batch is left to wait for it.
  char saved[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, saved);
  testsupport::WriteFile(Folder + "\\" + kLoaderFolderMarker, "");
  ASSERT_TRUE(SetCurrentDirectoryA(Folder.c_str()));
  TTestInstall::NextArguments() = {"-s" + Scratch.Path(), "-c"};
  Load();
  Engine->CleanupLoadingProgram();
  char now[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, now);
  SetCurrentDirectoryA(saved);
  EXPECT_FALSE(testsupport::FolderExists(Folder));
  EXPECT_EQ(std::string(now).find(Folder), std::string::npos) << now;
  EXPECT_FALSE(Engine->CleanupBatchWritten());
}

TEST_F(Cleanup, NoOtherFolderIsTouched) {
  // Without the loader's mark, with the debug switch, without switch c, or with the
  // clean-up refused: nothing is deleted and no batch is written.
  struct TCase {
    std::vector<std::string> Arguments;
    bool Marked;
    bool Refuse;
  };
  for (const TCase& c : {TCase{{"-c"}, false, false}, TCase{{"-c", "-d"}, true, false}, TCase{{}, true, false},
                         TCase{{"-c"}, true, true}}) {
    std::string marker = Folder + "\\" + kLoaderFolderMarker;
    if (c.Marked)
      testsupport::WriteFile(marker, "");
    else
      DeleteFileA(marker.c_str());
    TTestInstall::NextArguments() = c.Arguments;
    TTestInstall::NextArguments().push_back("-s" + Scratch.Path());
    Load();
    if (c.Refuse) Engine->OnBeforeCleanup = [](TCustomInstall*, bool& Continue) { Continue = false; };
    Engine->CleanupLoadingProgram();
    EXPECT_TRUE(testsupport::FileExists(Folder + "\\setup.ini"));
    EXPECT_FALSE(Engine->CleanupBatchWritten());
    FreeForm();
  }
  // The source folder itself is never the loader's, even when marked.
  testsupport::WriteFile(Folder + "\\" + kLoaderFolderMarker, "");
  TTestInstall::NextArguments() = {"-c", "-s" + Folder};
  Load();
  Engine->CleanupLoadingProgram();
  EXPECT_TRUE(testsupport::FileExists(Folder + "\\setup.ini"));
}

}  // namespace
