// Server paths, server information, directory handles, attributes, file lists, rename and
// the console-command runner against the simulated server.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "ClientApi.h"
#include "ConsoleCommands.h"
#include "NcpExtensions.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "ServerFiles.h"
#include "ServerInfo.h"
#include "ServerNames.h"
#include "SimServer.h"

using namespace toolpage;
using nwtest::TSimServer;

namespace {

// A server of its own, reachable through \\NWFILES\SYS (no other test program uses the name).
const char* const kServer = "NWFILES";
const std::string kUncRoot = std::string(NWSIM_UNC_ROOT) + "\\" + kServer;

struct ServerFileTest : ::testing::Test {
  void SetUp() override { NCPCache().Clear(); }
  void TearDown() override {
    NCPCache().Clear();
    EXPECT_EQ(nwsim_OpenConnectionCount(), 0) << "a connection handle was left open";
  }
};

std::vector<std::string> Names(const fw::TStrings& List) {
  return List.ToVector();
}

std::vector<std::string> ConsoleLines(const TSimServer& server) {
  std::ifstream in(server.Root() + "\\server.state.console", std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(nothing raised)";
}

// --- paths and server information --------------------------------------------------

TEST_F(ServerFileTest, UNCFormsOfServerPaths) {
  TSimServer server({"peer SRV1", "stale-ref 7"}, kServer);
  EXPECT_EQ(ServerPathToUNC(1, "SRV1/SYS:PUBLIC\\X"), "\\\\SRV1\\SYS\\PUBLIC\\X");
  EXPECT_EQ(ServerPathToUNC(1, "SYS:SYSTEM"), "\\\\NWFILES\\SYS\\SYSTEM");
  EXPECT_EQ(ServerPathToUNC(1, "SYS:\\PUBLIC"), "\\\\NWFILES\\SYS\\PUBLIC");
  EXPECT_EQ(ServerPathToUNC(1, "\\\\SRV1\\SYS"), "\\\\SRV1\\SYS");
  EXPECT_EQ(ServerPathToUNC(1, "C:\\X"), "C:\\X");
  // A server the client does not know, and a stale reference: the path stays.
  EXPECT_EQ(ServerPathToUNC(1, "OTHER/SYS:PUBLIC"), "OTHER/SYS:PUBLIC");
  EXPECT_EQ(ServerPathToUNC(7, "SYS:SYSTEM"), "SYS:SYSTEM");
  EXPECT_EQ(ServerPathToUNCByHandle(0, "SYS:SYSTEM"), "SYS:SYSTEM");
}

TEST_F(ServerFileTest, AnUnreadableServerNameIsAnErrorNeverTheLocalRoot) {
  {
    TSimServer named({}, kServer, kUncRoot);
    EXPECT_EQ(ServerSystemUNC(1, "A.OKS"), "\\\\NWFILES\\SYS\\SYSTEM\\A.OKS");
    EXPECT_EQ(ServerSystemUNC(1), "\\\\NWFILES\\SYS\\SYSTEM\\");
  }
  {
    // A name that would leave the server for this machine's devices.
    TSimServer dot({}, ".", kUncRoot);
    EXPECT_THROW(ServerSystemUNC(1, "A.OKS"), TNWException);
    EXPECT_EQ(RunConsoleCommands(1, {"LOAD TUVEK.NLM"}), -1);
  }
  TSimServer server({"fault conninfo-fails"}, kServer, kUncRoot);
  EXPECT_THROW(ServerPathToUNC(1, "SYS:SYSTEM"), TNWException);
  EXPECT_THROW(ServerSystemUNC(1, "A.OKS"), TNWException);
  EXPECT_EQ(GetServerName(1), "");
  EXPECT_EQ(GetServerVersion(1), 0);
  EXPECT_FALSE(IsServerVersionAtLeast(1, 3, 12));
  EXPECT_EQ(RunConsoleCommands(1, {"LOAD TUVEK.NLM"}), -1);
  EXPECT_TRUE(ConsoleLines(server).empty());
}

TEST_F(ServerFileTest, VersionsAndTheirComparison) {
  const std::pair<int, bool> cases[] = {{311, false}, {312, true}, {400, true}, {500, true}};
  for (auto [version, atLeast312] : cases) {
    TSimServer server({"version " + std::to_string(version)}, kServer);
    EXPECT_EQ(GetServerVersion(1), version);
    EXPECT_EQ(IsServerVersionAtLeast(1, 3, 12), atLeast312) << version;
    EXPECT_EQ(GetServerName(1), kServer);
  }
  EXPECT_EQ(GetServerVersion(1), 0);  // no server
  EXPECT_EQ(GetServerName(1), "");
}

TEST_F(ServerFileTest, LoadedModulesKeepTheirNumbers) {
  // From 4.10 on the list comes from the client (before, from the base module, not loaded here).
  for (const char* version : {"version 410", "version 411"}) {
    TSimServer server({version, "module CLIBAUX.NLM", "module TUVEK.NLM", "module VX4RC.NLM"}, kServer);
    EXPECT_TRUE(IsNlmLoaded(1, "tuvek")) << version;
    EXPECT_TRUE(IsNlmLoaded(1, "SYS:SYSTEM\\Clibaux"));
    EXPECT_FALSE(IsNlmLoaded(1, "VX4CS"));
    {
      TNWConnection conn(1);
      ASSERT_EQ(nwc::UnloadModule(conn.Handle(), "CLIBAUX"), 0u);
    }
    fw::TStringList list;
    list.Add("stale");
    GetLoadedNlms(1, list);
    ASSERT_EQ(Names(list), (std::vector<std::string>{"TUVEK.NLM", "VX4RC.NLM"}));
    EXPECT_EQ(LoadedNlmNumber(list, 0), 2u);
    EXPECT_EQ(LoadedNlmNumber(list, 1), 3u);  // not renumbered by the unload
  }
}

TEST_F(ServerFileTest, ModuleListsOfMoreThanOneBatch) {
  for (int count : {128, 129}) {
    std::vector<std::string> config;
    for (int i = 0; i < count; ++i) config.push_back("module M" + std::to_string(i) + ".NLM");
    TSimServer server(config, kServer);
    std::vector<TLoadedNlm> list = GetLoadedNlmList(1);
    ASSERT_EQ(list.size(), size_t(count));
    EXPECT_EQ(list.back().FileName, "M" + std::to_string(count - 1) + ".NLM");
  }
}

TEST_F(ServerFileTest, AModuleListThatNeverEndsIsAnError) {
  // Every batch full and more to follow, with new numbers or with the same ones.
  for (const char* lie : {"fault modules-always-more", "fault modules-same-batch"}) {
    TSimServer server({lie, "module VX4LIB.NLM", "module TUVEK.NLM"}, kServer);
    const uint32_t start = GetTickCount();
    try {
      GetLoadedNlmList(1);
      ADD_FAILURE() << lie << ": nothing raised";
    } catch (const TNWException& e) {
      EXPECT_EQ(e.ErrorCode(), NW_INVALID_REPLY_LENGTH) << lie;
      EXPECT_EQ(std::string(e.what()).rfind("The list of loaded modules does not end", 0), 0u) << e.what();
    }
    EXPECT_THROW(IsNlmLoaded(1, "TUVEK"), TNWException);
    EXPECT_LT(GetTickCount() - start, 30000u) << lie;
  }
}

TEST_F(ServerFileTest, ModulesBefore410ComeFromTheBaseModule) {
  TSimServer server({"version 312", "module VX4LIB.312", "module TUVEK.NLM"}, kServer);
  EXPECT_TRUE(IsNlmLoaded(1, "VX4LIB.312"));
  EXPECT_TRUE(IsNlmLoaded(1, "tuvek"));
  EXPECT_FALSE(IsNlmLoaded(1, "VX4LIB"));  // looks for VX4LIB.NLM
  std::vector<TLoadedNlm> list = GetLoadedNlmList(1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Number, 1u);
}

// --- handles, name spaces, DOS names, attributes --------------------------------------

TEST_F(ServerFileTest, DirectoryHandlesAndNameSpaces) {
  TSimServer server({}, kServer);
  TNWConnection conn(1);
  TConnHandle c = conn.Handle();
  EXPECT_TRUE(VolumeHasNameSpace(c, "SYS:", nsLong));
  EXPECT_TRUE(VolumeHasNameSpaceByRef(1, "SYS", nsDOS));
  EXPECT_FALSE(VolumeHasNameSpace(c, "VOL1:", nsLong));
  EXPECT_FALSE(VolumeHasNameSpace(c, "NOVOL:", nsDOS));
  EXPECT_EQ(GetPathNameSpace(c, "SYS:SYSTEM"), nsLong);
  EXPECT_EQ(GetPathNameSpace(c, "VOL1:X"), nsDOS);
  EXPECT_EQ(AllocLongDirHandle(c, ""), 0);
  {
    // VOL1 has no long names: the plain allocation stands in.
    TDirHandleOwner handle(c, AllocLongDirHandle(c, "VOL1:"));
    EXPECT_NE(handle.Get(), 0);
  }
  std::string message = MessageOf([&] { AllocDosDirHandle(c, "SYS:NO\\SUCH"); });
  EXPECT_EQ(message.rfind("Error creating directory handle\r", 0), 0u) << message;
}

TEST_F(ServerFileTest, DosNamesStayUniqueForLongNamesSharingTheirStart) {
  TSimServer server({}, kServer);
  server.WriteFile("SYS", "SYSTEM\\LongName One.txt", "1");
  server.WriteFile("SYS", "SYSTEM\\LongName Two.txt", "2");
  CreateDirectoryA(server.HostPath("SYS", "Long Directory").c_str(), nullptr);
  TNWConnection conn(1);
  TConnHandle c = conn.Handle();
  EXPECT_EQ(GetDosEntryName(c, "SYS:SYSTEM", "LongName One.txt", false), "LONGNA~1.TXT");
  EXPECT_EQ(GetDosEntryName(c, "SYS:SYSTEM", "LongName Two.txt", false), "LONGNA~2.TXT");
  EXPECT_EQ(GetDosPath(c, "SYS:SYSTEM", "LongName Two.txt"), "LONGNA~2.TXT");
  EXPECT_EQ(GetDosEntryName(c, "SYS:SYSTEM", "missing file.txt", false), "MISSING FILE.TXT");
  EXPECT_EQ(GetDosPath(c, "SYS:Long Directory\\"), "SYS:LONGDI~1");
  EXPECT_EQ(GetDosEntryName(c, "SYS:", "Long Directory", true), "LONGDI~1");
  EXPECT_EQ(GetDosPath(c, "SYS:\\"), "SYS:");
  EXPECT_EQ(GetDosPath(c, ""), "");
  EXPECT_EQ(GetDosPathByRef(1, "SYS:NO\\SUCH"), "SYS:NO\\SUCH");  // unchanged on failure
  // The DOS names reach the same files.
  fw::TStringList dos;
  ScanServerFiles(c, "*.TXT", "SYS:SYSTEM", true, dos);
  EXPECT_EQ(Names(dos), (std::vector<std::string>{"LONGNA~1.TXT", "LONGNA~2.TXT"}));
}

TEST_F(ServerFileTest, Attributes) {
  TSimServer server({}, kServer);
  server.WriteFile("SYS", "SYSTEM\\A.OKS", "x");
  server.WriteFile("VOL1", "B.TXT", "x");
  TNWConnection conn(1);
  TConnHandle c = conn.Handle();
  EXPECT_EQ(GetServerFileAttributes(c, "SYS:SYSTEM\\A.OKS"), 0u);
  SetServerFileAttributes(c, "SYS:SYSTEM\\A.OKS", naReadOnly | naDeleteInhibit);
  EXPECT_EQ(GetServerFileAttributes(c, "SYS:SYSTEM\\A.OKS"), naReadOnly | naDeleteInhibit);
  SetServerFileAttributesByRef(1, "vol1:b.txt", naPurgeOnDelete);  // upper-cased on a DOS volume
  EXPECT_EQ(GetServerFileAttributes(c, "VOL1:B.TXT"), naPurgeOnDelete);
  EXPECT_EQ(GetServerFileAttributes(c, "SYS:SYSTEM\\MISSING.OKS"), 0u);
  EXPECT_EQ(GetServerFileAttributes(c, "SYS:NO\\SUCH\\A.OKS"), 0u);  // no handle: 0, nothing raised
  EXPECT_EQ(MessageOf([&] {
              SetServerFileAttributes(c, "SYS:SYSTEM\\MISSING.OKS", 0);
            }).rfind("Error setting attribute of\rSYS:SYSTEM\\MISSING.OKS\r", 0),
            0u);
}

// --- file lists and rename ------------------------------------------------------------

TEST_F(ServerFileTest, FileListsThroughTheModuleAndTheClientScanAgree) {
  TSimServer server({}, kServer);
  for (const char* name : {"B.OKS", "A.OKS", "Long script name.OKS", "C.TXT", "NODOT"})
    server.WriteFile("SYS", std::string("SYSTEM\\") + name, "x");
  TNWConnection conn(1);
  fw::TStringList scanned;
  EXPECT_TRUE(ListServerFiles(conn.Handle(), "*.OKS", "SYS:SYSTEM", false, scanned));  // VX4CS not loaded
  EXPECT_EQ(Names(scanned), (std::vector<std::string>{"A.OKS", "B.OKS", "Long script name.OKS"}));
  {
    TNWConnection op(1);
    ASSERT_EQ(nwc::LoadModule(op.Handle(), "SYS:SYSTEM\\VX4CS.NLM"), 0u);
  }
  NCPCache().Clear();  // the failed look-up of the search module's extension is cached
  const int requests = nwsim_ExtensionRequestCount();
  fw::TStringList searched;
  EXPECT_TRUE(ListServerFiles(conn.Handle(), "*.OKS", "SYS:SYSTEM", false, searched));
  EXPECT_GT(nwsim_ExtensionRequestCount(), requests);  // the server module answered
  EXPECT_EQ(Names(searched), Names(scanned));
  fw::TStringList none;
  EXPECT_FALSE(ListServerFiles(conn.Handle(), "*.XYZ", "SYS:SYSTEM", false, none));
}

TEST_F(ServerFileTest, ClientScanMasksAndFailures) {
  TSimServer server({}, kServer);
  for (const char* name : {"A.OKS", "NODOT", "OTHER"}) server.WriteFile("SYS", std::string("SYSTEM\\") + name, "x");
  TNWConnection conn(1);
  fw::TStringList noDot;
  ScanServerFiles(conn.Handle(), "*.", "SYS:SYSTEM", false, noDot);
  EXPECT_EQ(Names(noDot), (std::vector<std::string>{"NODOT", "OTHER"}));
  fw::TStringList all;
  ScanServerFiles(conn.Handle(), "*.*", "SYS:SYSTEM", false, all);
  EXPECT_EQ(all.IndexOf("A.OKS") >= 0 && all.IndexOf("NODOT") >= 0 && all.IndexOf("VX4LIB.NLM") >= 0, true);
}

TEST_F(ServerFileTest, AScanEndingWithAnotherCodeIsAnError) {
  // A client error after the first entry, and a server that answers the same entry for ever:
  // an error, and the list keeps what it held.
  for (const char* fault : {"fault scan-error", "fault scan-repeats"}) {
    TSimServer server({fault}, kServer);
    server.WriteFile("SYS", "SYSTEM\\A.OKS", "x");
    server.WriteFile("SYS", "SYSTEM\\B.OKS", "x");
    TNWConnection conn(1);
    fw::TStringList list;
    list.Add("HELD.OKS");
    std::string message = MessageOf([&] { ListServerFiles(conn.Handle(), "*.OKS", "SYS:SYSTEM", false, list); });
    EXPECT_EQ(message.rfind("Error geting file list\r", 0), 0u) << message;
    EXPECT_EQ(Names(list), std::vector<std::string>{"HELD.OKS"}) << fault;
  }
}

TEST_F(ServerFileTest, OemNamesOnTheServerAnsiNamesOnThePage) {
  TSimServer server({"oem-names yes", "module VX4CS.NLM"}, kServer, kUncRoot);
  const std::string ansi = "Caf\xE9 \xC4rger.OKS";  // characters above 127
  const std::string oem = AnsiToOemStr(ansi);
  ASSERT_NE(oem, ansi);
  EXPECT_EQ(OemToAnsiStr(oem), ansi);
  server.WriteFile("SYS", "SYSTEM\\" + ansi, "x");
  TNWConnection conn(1);
  fw::TStringList searched, scanned;
  ASSERT_TRUE(ListServerFiles(conn.Handle(), "*.OKS", "SYS:SYSTEM", false, searched));
  ScanServerFiles(conn.Handle(), "*.OKS", "SYS:SYSTEM", false, scanned);
  EXPECT_EQ(Names(searched), std::vector<std::string>{oem});
  EXPECT_EQ(Names(scanned), std::vector<std::string>{oem});
  // The UNC form reaches the file under its ANSI name.
  std::string unc = ServerPathToUNC(1, "SYS:SYSTEM\\" + oem);
  EXPECT_EQ(unc, "\\\\NWFILES\\SYS\\SYSTEM\\" + ansi);
  EXPECT_NE(GetFileAttributesA(unc.c_str()), INVALID_FILE_ATTRIBUTES);
  const std::string newAnsi = "Caf\xE9 Neu.OKS";
  EXPECT_TRUE(RenameServerFile(1, "SYS:SYSTEM\\" + oem, "SYS:SYSTEM\\" + AnsiToOemStr(newAnsi)));
  EXPECT_TRUE(server.FileExists("SYS", "SYSTEM\\" + newAnsi));
}

TEST_F(ServerFileTest, Rename) {
  TSimServer server({"stale-ref 7"}, kServer);
  server.WriteFile("SYS", "SYSTEM\\OLD.OKS", "x");
  server.WriteFile("SYS", "SYSTEM\\LOCKED.OKS", "x");
  EXPECT_TRUE(RenameServerFile(1, "SYS:SYSTEM\\OLD.OKS", "SYS:SYSTEM\\NEW.OKS"));
  EXPECT_TRUE(server.FileExists("SYS", "SYSTEM\\NEW.OKS"));
  SetServerFileAttributesByRef(1, "SYS:SYSTEM\\LOCKED.OKS", naReadOnly);
  std::string message = MessageOf([] { RenameServerFile(1, "SYS:SYSTEM\\LOCKED.OKS", "SYS:SYSTEM\\X.OKS"); });
  EXPECT_EQ(message.rfind("Unable to rename file\rSYS:SYSTEM\\LOCKED.OKS\r", 0), 0u) << message;
  EXPECT_FALSE(RenameServerFile(7, "SYS:SYSTEM\\NEW.OKS", "SYS:SYSTEM\\X.OKS"));  // no handle
  EXPECT_TRUE(server.FileExists("SYS", "SYSTEM\\NEW.OKS"));
}

// --- console commands -----------------------------------------------------------------

TEST_F(ServerFileTest, CommandsRunFrom410ThroughTheClient) {
  for (const char* version : {"version 410", "version 411"}) {
    TSimServer server({version, "module TUVEK.NLM"}, kServer, kUncRoot);
    server.WriteFile("SYS", "SYSTEM\\S.OKS", "text");
    const int requests = nwsim_ExtensionRequestCount();
    EXPECT_EQ(RunConsoleCommands(1, {"!encode S.OKS", "LOAD CLIBAUX.NLM"}), 0) << version;
    EXPECT_EQ(ConsoleLines(server), (std::vector<std::string>{"!encode S.OKS", "LOAD CLIBAUX.NLM"}));
    EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\S.OKS")[0], '\0');  // the command reached the module
    EXPECT_TRUE(IsNlmLoaded(1, "CLIBAUX"));
    EXPECT_EQ(nwsim_ExtensionRequestCount(), requests);  // no request to the base module
    EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\PLUD_TMP.NCF"));
    // The command file was purged on delete, not left to be salvaged.
    EXPECT_EQ(nwtest::Deletions(), std::vector<std::string>{"SYS:SYSTEM\\PLUD_TMP.NCF 10000"});
  }
}

TEST_F(ServerFileTest, CommandsRunOnA312ServerThroughTheBaseModule) {
  TSimServer server({"version 312", "module VX4LIB.312"}, kServer, kUncRoot);
  EXPECT_EQ(RunConsoleCommands(1, {"LOAD TUVEK.NLM"}), 0);
  nwtest::TSentRequest sent = nwtest::LastRequest();
  std::vector<uint8_t> expected(258, 0);
  expected[0] = 121;
  const std::string path = "SYS:SYSTEM\\PLUD_TMP.NCF";
  std::copy(path.begin(), path.end(), expected.begin() + 1);
  EXPECT_EQ(sent.Bytes, expected);
  EXPECT_EQ(ConsoleLines(server), std::vector<std::string>{"LOAD TUVEK.NLM"});
  EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\PLUD_TMP.NCF"));
  EXPECT_EQ(nwtest::Deletions(), std::vector<std::string>{"SYS:SYSTEM\\PLUD_TMP.NCF 10000"});
}

TEST_F(ServerFileTest, CommandsNotRunLeaveNoFileBehind) {
  {
    // Not a console operator: the status is the refusal, nothing is executed.
    TSimServer server({"version 500", "console-operator no"}, kServer, kUncRoot);
    EXPECT_EQ(RunConsoleCommands(1, {"LOAD TUVEK.NLM"}), 0x89C6);
    EXPECT_TRUE(ConsoleLines(server).empty());
    EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\PLUD_TMP.NCF"));
    EXPECT_EQ(nwtest::Deletions(), std::vector<std::string>{"SYS:SYSTEM\\PLUD_TMP.NCF 10000"});
  }
  {
    // Before 4.10 without the base module: not executed.
    TSimServer server({"version 312"}, kServer, kUncRoot);
    EXPECT_EQ(RunConsoleCommands(1, {"LOAD TUVEK.NLM"}), -1);
    EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\PLUD_TMP.NCF"));
  }
  {
    // A server whose SYS volume is not reachable through its share: -1, nothing executed.
    TSimServer server({}, "NWNOSHARE");
    EXPECT_EQ(RunConsoleCommands(1, {"LOAD TUVEK.NLM"}), -1);
    EXPECT_TRUE(ConsoleLines(server).empty());
  }
  {
    TSimServer server({"stale-ref 7"}, kServer, kUncRoot);
    EXPECT_EQ(RunConsoleCommands(7, {"LOAD TUVEK.NLM"}), 0x8801);  // the open call's code
  }
}

}  // namespace
