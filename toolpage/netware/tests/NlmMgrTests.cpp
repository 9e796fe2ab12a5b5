// Copying, loading and unloading the product's server modules with their dependencies
// against the simulated server (direct requests, LD and UL files, the old-server request).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "NcpExtensions.h"
#include "NlmMgr.h"
#include "NwErrors.h"
#include "SimServer.h"
#include "core/SysUtils.h"

using namespace toolpage;
using nwtest::TSimServer;

namespace {

// A server of its own, reachable through \\NWNLM\SYS (no other test program uses the name).
const char* const kServer = "NWNLM";
const std::string kUncRoot = std::string(NWSIM_UNC_ROOT) + "\\" + kServer;
const char* const kLdFile = "SYSTEM\\LDCONSOL.NCF";
const char* const kUlFile = "SYSTEM\\ULCONSOL.NCF";

std::vector<std::string> Lines(const std::string& Text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : Text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> ConsoleLines(const TSimServer& Server) {
  std::ifstream in(Server.Root() + "\\server.state.console", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Lines(text);
}

std::string MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(nothing raised)";
}

// A file time at the given local date and hour.
FILETIME LocalTime(WORD Year, WORD Month, WORD Day, WORD Hour) {
  SYSTEMTIME st = {};
  st.wYear = Year;
  st.wMonth = Month;
  st.wDay = Day;
  st.wHour = Hour;
  FILETIME local, utc;
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  return utc;
}

void SetWriteTime(const std::string& Path, const FILETIME& Time) {
  HANDLE h = CreateFileA(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << Path;
  SetFileTime(h, nullptr, nullptr, &Time);
  CloseHandle(h);
}

struct NlmMgrTest : ::testing::Test {
  std::string Workstation;  // folder of the host program console.exe and its module files
  std::vector<std::string> Informed;
  std::unique_ptr<TNlmMgr> Mgr;

  void SetUp() override {
    NCPCache().Clear();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Workstation = std::string(temp) + "nlmws-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(Workstation.c_str(), nullptr);
    Mgr = std::make_unique<TNlmMgr>();
    Mgr->SetHostProgram(Workstation + "\\console.exe");
    Mgr->OnInformation = [this](const std::string& Text) { Informed.push_back(Text); };
    Mgr->ModulePause = 10;
    Mgr->RegisterNlm("VX4LIB", "VX4LIB.312", "KAVEL:STD4", 3.12, {});
    Mgr->RegisterNlm("VX4LIB", "VX4LIB.410", "KAVEL:STD4", 4.1, {});
    Mgr->RegisterNlm("VX4LIB", "VX4LIB.NLM", "KAVEL:STD4", 4.11, {});
    Mgr->RegisterNlm("CLIBAUX", "CLIBAUX.NLM", "", 3.12, {"VX4LIB"});
    Mgr->RegisterNlm("VX4CS", "VX4CS.312", "KAVEL:CS4", 3.12, {"VX4LIB", "CLIBAUX"});
    Mgr->RegisterNlm("VX4CS", "VX4CS.NLM", "KAVEL:CS4", 4.11, {"VX4LIB"});
    Mgr->RegisterNlm("VX4RC", "VX4RC.312", "KAVEL:RC41", 3.12, {"VX4LIB"});
    Mgr->RegisterNlm("VX4RC", "VX4RC.NLM", "KAVEL:RC41", 4.1, {"VX4LIB"});
    Mgr->RegisterNlm("VX4RC", "VX4RC.NLM", "KAVEL:RC41", 4.11, {"VX4LIB"});
    Mgr->RegisterNlm("TUVEK", "TUVEK.NLM", "", 3.12, {"VX4LIB"});
  }
  void TearDown() override {
    Mgr.reset();
    NCPCache().Clear();
    for (const char* f : {"TUVEK.NLM", "VX4LIB.NLM"}) DeleteFileA((Workstation + "\\" + f).c_str());
    RemoveDirectoryA(Workstation.c_str());
    EXPECT_EQ(nwsim_OpenConnectionCount(), 0) << "a connection handle was left open";
  }

  // The server's module files declare what they need, as real modules do.
  static void WriteModules(const TSimServer& Server) {
    for (const char* m : {"VX4CS.NLM", "VX4RC.NLM", "TUVEK.NLM", "CLIBAUX.NLM"})
      Server.WriteFile("SYS", std::string("SYSTEM\\") + m, "needs VX4LIB\r\n");
  }
};

// --- loading ------------------------------------------------------------------------

TEST_F(NlmMgrTest, LoadsTuvekAfterItsDependencyDirectlyFrom410) {
  {
    // Direct loads are for servers above 4.09: 4.10 takes its own build of the base module.
    TSimServer server({"version 410"}, kServer, kUncRoot);
    WriteModules(server);
    server.WriteFile("SYS", "SYSTEM\\VX4LIB.410", "module");
    Mgr->LoadWithDependencies(1, "TUVEK", false, true);
    EXPECT_EQ(ConsoleLines(server),
              (std::vector<std::string>{"LOAD SYS:SYSTEM\\VX4LIB.410", "LOAD SYS:SYSTEM\\TUVEK.NLM"}));
    EXPECT_EQ(Lines(server.ReadFile("SYS", kLdFile)), (std::vector<std::string>{"; Test of disk access"}));
    EXPECT_TRUE(Mgr->IsLoaded(1, "TUVEK", true));
  }
  TSimServer server({}, kServer, kUncRoot);
  WriteModules(server);
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(ConsoleLines(server),
            (std::vector<std::string>{"LOAD SYS:SYSTEM\\VX4LIB.NLM", "LOAD SYS:SYSTEM\\TUVEK.NLM"}));
  EXPECT_EQ(Lines(server.ReadFile("SYS", kLdFile)), (std::vector<std::string>{"; Test of disk access"}));
  EXPECT_TRUE(Mgr->IsLoaded(1, "TUVEK", true));
  double version = 0;
  EXPECT_TRUE(Mgr->GetLoadedVersion(1, "VX4LIB", true, version));
  EXPECT_DOUBLE_EQ(version, 4.10);
  EXPECT_FALSE(Mgr->Collect());
  EXPECT_TRUE(Informed.empty());
  // Everything loaded: nothing more happens.
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(ConsoleLines(server).size(), 2u);
}

TEST_F(NlmMgrTest, On312TheLdFileRunsThroughTheBaseModulesOwnRequest) {
  TSimServer server({"version 312", "module VX4LIB.312"}, kServer, kUncRoot);
  WriteModules(server);
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(Lines(server.ReadFile("SYS", kLdFile)), (std::vector<std::string>{"Load TUVEK.NLM"}));
  nwtest::TSentRequest sent = nwtest::LastRequest();
  ASSERT_EQ(sent.Bytes.size(), 130u);
  EXPECT_EQ(sent.Bytes[0], 121);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sent.Bytes[1])), "LDCONSOL.NCF");
  EXPECT_EQ(sent.ReplyCapacity, 4);
  EXPECT_EQ(ConsoleLines(server), (std::vector<std::string>{"Load TUVEK.NLM"}));
  EXPECT_TRUE(Mgr->IsLoaded(1, "TUVEK", true));
  EXPECT_TRUE(Informed.empty());
  EXPECT_EQ(MessageOf([&] { Mgr->ExecuteRemoteNcf(1, "SYS:SYSTEM\\" + std::string(120, 'A')); }), "Name too long!");
}

TEST_F(NlmMgrTest, WithoutTheBaseModuleAn312ServerGetsTheLdFileAndTheOperatorTheCommand) {
  TSimServer server({"version 312"}, kServer, kUncRoot);
  WriteModules(server);
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(Lines(server.ReadFile("SYS", kLdFile)), (std::vector<std::string>{"Load VX4LIB.312", "Load TUVEK.NLM"}));
  ASSERT_EQ(Informed.size(), 1u);
  EXPECT_EQ(Informed[0],
            "This system doesn't support remote loading.\rPlease enter LDCONSOL.NCF command on server console.\rThe "
            "command will load all necessary NLMs");
  EXPECT_TRUE(ConsoleLines(server).empty());
  // Kept script: the lines stay with the manager, the file keeps the test line.
  Informed.clear();
  Mgr->LoadWithDependencies(1, "TUVEK", true, true);
  EXPECT_EQ(Mgr->Script().ToVector(), (std::vector<std::string>{"Load VX4LIB.312", "Load TUVEK.NLM"}));
  EXPECT_EQ(Lines(server.ReadFile("SYS", kLdFile)), (std::vector<std::string>{"; Test of disk access"}));
  EXPECT_TRUE(Informed.empty());
}

TEST_F(NlmMgrTest, ConfirmedLoadsGoThroughTheLdFileAndMissingRightsAreReported) {
  TSimServer server({"remote-exec no"}, kServer, kUncRoot);
  WriteModules(server);
  std::string asked;
  Mgr->OnConfirm = [&](TNlmMgr*, const std::string& Names, bool& Proceed) {
    asked = Names;
    Proceed = true;
  };
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(Lines(server.ReadFile("SYS", kLdFile)), (std::vector<std::string>{"Load VX4LIB.NLM", "Load TUVEK.NLM"}));
  EXPECT_EQ(asked, "");  // not asked: the file cannot be run remotely
  ASSERT_EQ(Informed.size(), 1u);
  EXPECT_EQ(Informed[0],
            "Error executing remote NCF command.\rPlease enter LDCONSOL.NCF command on server console.\rThe command "
            "will load all necessary NLMs");
  EXPECT_FALSE(Mgr->IsLoaded(1, "TUVEK", true));
}

TEST_F(NlmMgrTest, ConfirmedLoadsRunTheLdFileOnTheServer) {
  TSimServer server({}, kServer, kUncRoot);
  WriteModules(server);
  std::string asked;
  Mgr->OnConfirm = [&](TNlmMgr*, const std::string& Names, bool& Proceed) {
    asked = Names;
    Proceed = true;
  };
  Mgr->LoadWithDependencies(1, "VX4CS", false, true);
  EXPECT_EQ(asked, "VX4LIB.NLM, VX4CS.NLM");
  EXPECT_EQ(ConsoleLines(server), (std::vector<std::string>{"Load VX4LIB.NLM", "Load VX4CS.NLM"}));
  EXPECT_TRUE(Mgr->IsLoaded(1, "VX4CS", true));
  EXPECT_TRUE(Informed.empty());
}

TEST_F(NlmMgrTest, ADeclinedConfirmationLeavesTheLdFileUnexecuted) {
  TSimServer server({}, kServer, kUncRoot);
  WriteModules(server);
  Mgr->OnConfirm = [&](TNlmMgr*, const std::string&, bool& Proceed) { Proceed = false; };
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(Lines(server.ReadFile("SYS", kLdFile)), (std::vector<std::string>{"Load VX4LIB.NLM", "Load TUVEK.NLM"}));
  EXPECT_TRUE(ConsoleLines(server).empty());
  EXPECT_TRUE(Informed.empty());
  EXPECT_TRUE(Mgr->Script().ToVector().empty());
}

TEST_F(NlmMgrTest, ModulesTheServerRefusesAreReportedAndStopTheLoad) {
  TSimServer server({}, kServer, kUncRoot);
  WriteModules(server);
  server.WriteFile("SYS", "SYSTEM\\VX4LIB.NLM", "server 500\r\n");
  std::string message = MessageOf([&] { Mgr->LoadWithDependencies(1, "TUVEK", false, true); });
  EXPECT_EQ(message.rfind("Error loading module\rSYS:SYSTEM\\VX4LIB.NLM\r", 0), 0u) << message;
  EXPECT_EQ(ConsoleLines(server),
            (std::vector<std::string>{"LOAD SYS:SYSTEM\\VX4LIB.NLM",
                                      "Module VX4LIB.NLM requires a newer server version (500)"}));
  EXPECT_FALSE(Mgr->Collect());
}

TEST_F(NlmMgrTest, TheServerRefusesAModuleWhoseDependencyIsNotLoaded) {
  TSimServer server({}, kServer, kUncRoot);
  WriteModules(server);
  TNlmList toLoad;
  Mgr->SetServerVersion(411);
  EXPECT_THROW(Mgr->LoadNlm(1, "TUVEK", toLoad, true), TNWException);
  EXPECT_EQ(ConsoleLines(server).back(), "Module TUVEK.NLM not loaded: module VX4LIB is not loaded");
}

// --- unloading ----------------------------------------------------------------------

TEST_F(NlmMgrTest, UnloadsEveryUserBeforeTheModule) {
  {
    TSimServer server({"module VX4LIB.NLM", "module VX4RC.NLM", "module TUVEK.NLM", "module VX4CS.NLM"}, kServer,
                      kUncRoot);
    WriteModules(server);
    Mgr->UnloadWithDependents(1, "VX4LIB");
    EXPECT_EQ(ConsoleLines(server),
              (std::vector<std::string>{"UNLOAD TUVEK", "UNLOAD VX4CS", "UNLOAD VX4RC", "UNLOAD VX4LIB"}));
    EXPECT_FALSE(Mgr->IsLoaded(1, "VX4LIB", true));
    EXPECT_TRUE(Informed.empty());
  }
  // From 4.10 on directly, without a UL file.
  TSimServer server410({"version 410", "module VX4LIB.410", "module TUVEK.NLM"}, kServer, kUncRoot);
  WriteModules(server410);
  Mgr->UnloadWithDependents(1, "VX4LIB");
  EXPECT_EQ(ConsoleLines(server410), (std::vector<std::string>{"UNLOAD TUVEK", "UNLOAD VX4LIB"}));
  EXPECT_FALSE(server410.FileExists("SYS", kUlFile));
  EXPECT_TRUE(Informed.empty());
}

TEST_F(NlmMgrTest, AModuleStillUsedByAnotherIsReported) {
  TSimServer server({"module VX4LIB.NLM", "module OTHER.NLM"}, kServer, kUncRoot);
  server.WriteFile("SYS", "SYSTEM\\OTHER.NLM", "needs VX4LIB\r\n");
  EXPECT_THROW(Mgr->UnloadWithDependents(1, "VX4LIB"), TNWException);
  EXPECT_EQ(ConsoleLines(server).back(), "Module VX4LIB not unloaded: module OTHER uses it");
}

TEST_F(NlmMgrTest, Before410TheUlFileUnloadsUsersFirst) {
  TSimServer server({"version 312", "module VX4LIB.312", "module TUVEK.NLM", "remote-exec no"}, kServer, kUncRoot);
  WriteModules(server);
  Mgr->UnloadWithDependents(1, "VX4LIB");
  EXPECT_EQ(Lines(server.ReadFile("SYS", kUlFile)),
            (std::vector<std::string>{"Unload  TUVEK.NLM", "Unload  VX4LIB.312"}));
  ASSERT_EQ(Informed.size(), 1u);
  EXPECT_EQ(Informed[0],
            "This system does not support remote unloading.\rPlease enter ULCONSOL.NCF command on server "
            "console.\rThis command will unload all necessary NLMs");
}

TEST_F(NlmMgrTest, Before410TheUlFileRunsThroughTheBaseModule) {
  TSimServer server({"version 312", "module VX4LIB.312", "module TUVEK.NLM"}, kServer, kUncRoot);
  WriteModules(server);
  Mgr->UnloadWithDependents(1, "VX4LIB");
  EXPECT_EQ(ConsoleLines(server), (std::vector<std::string>{"Unload  TUVEK.NLM", "Unload  VX4LIB.312"}));
  EXPECT_EQ(nwtest::LastRequest().Bytes.size(), 130u);
  NCPCache().Clear();
  EXPECT_FALSE(Mgr->IsLoaded(1, "VX4LIB", true));
  EXPECT_TRUE(Informed.empty());
}

// --- copying newer builds -------------------------------------------------------------

TEST_F(NlmMgrTest, OnlyAFileOfALaterDayReplacesTheServersCopy) {
  TSimServer server({"module VX4LIB.NLM", "module TUVEK.NLM"}, kServer, kUncRoot);
  WriteModules(server);
  const std::string local = Workstation + "\\TUVEK.NLM";
  std::ofstream(local, std::ios::binary) << "needs VX4LIB\r\nnew build\r\n";
  SetWriteTime(server.HostPath("SYS", "SYSTEM\\TUVEK.NLM"), LocalTime(2020, 5, 10, 1));
  SetWriteTime(local, LocalTime(2020, 5, 10, 23));
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\TUVEK.NLM"), "needs VX4LIB\r\n");
  EXPECT_TRUE(ConsoleLines(server).empty());

  // A day later: the loaded module is unloaded, replaced and loaded again.
  SetWriteTime(local, LocalTime(2020, 5, 11, 0));
  Mgr->LoadWithDependencies(1, "TUVEK", false, true);
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\TUVEK.NLM"), "needs VX4LIB\r\nnew build\r\n");
  EXPECT_EQ(ConsoleLines(server), (std::vector<std::string>{"UNLOAD TUVEK", "LOAD SYS:SYSTEM\\TUVEK.NLM"}));
  EXPECT_TRUE(Mgr->IsLoaded(1, "TUVEK", true));
}

TEST_F(NlmMgrTest, AFailedCopyIsReported) {
  TSimServer server({}, kServer, kUncRoot);
  DeleteFileA(server.HostPath("SYS", "SYSTEM\\TUVEK.NLM").c_str());
  std::string message = MessageOf([&] { Mgr->LoadWithDependencies(1, "TUVEK", false, true); });
  EXPECT_EQ(message.rfind("Unable to copy ", 0), 0u) << message;
  EXPECT_FALSE(Mgr->IsLoaded(1, "TUVEK", true));
}

TEST_F(NlmMgrTest, AnUnwritableSystemFolderEndsTheLoadBeforeAnything) {
  TSimServer server({}, kServer, kUncRoot);
  WriteModules(server);
  // A folder where the LD file should go: the file cannot be written.
  CreateDirectoryA(server.HostPath("SYS", kLdFile).c_str(), nullptr);
  EXPECT_THROW(Mgr->LoadWithDependencies(1, "TUVEK", false, true), fw::Exception);
  EXPECT_TRUE(ConsoleLines(server).empty());
  EXPECT_FALSE(Mgr->Collect());
}

}  // namespace
