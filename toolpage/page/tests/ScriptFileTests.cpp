// Console scripts on the simulated server: load and save through the UNC path, the
// encoded test, new script names and delete.
#include <gtest/gtest.h>
#include <windows.h>

#include "NcpExtensions.h"
#include "NwErrors.h"
#include "NwTypes.h"
#include "ScriptFiles.h"
#include "ScriptFormat.h"
#include "ScriptNames.h"
#include "ServerFiles.h"
#include "SimServer.h"

using namespace toolpage;
using nwtest::TSimServer;

namespace {

// A server of its own, reachable through \\NWPAGE\SYS.
const char* const kServer = "NWPAGE";
const std::string kUncRoot = std::string(NWSIM_UNC_ROOT) + "\\" + kServer;

constexpr uint32_t naArchive = 0x20;

struct ScriptFileTest : ::testing::Test {
  void SetUp() override { NCPCache().Clear(); }
  void TearDown() override {
    NCPCache().Clear();
    EXPECT_EQ(nwsim_OpenConnectionCount(), 0) << "a connection handle was left open";
  }
};

}  // namespace

TEST_F(ScriptFileTest, SaveAndLoadThroughTheServer) {
  TSimServer server({}, kServer, kUncRoot);
  EXPECT_EQ(ScriptUNCPath(1, "A.OKS"), "\\\\NWPAGE\\SYS\\SYSTEM\\A.OKS");
  TSCList list;
  list.Add(skScreen, "MONITOR");
  list.Add(skText, "C:\\DIR");
  list.Add(skKey, "Enter");
  list.SaveToServer(1, "A.OKS");
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\A.OKS"), "\\@MONITOR\r\nC:\\\\DIR\r\n\\Enter\r\n");
  TSCList read;
  read.Add(skText, "stale");
  read.LoadFromServer(1, "A.OKS");
  EXPECT_EQ(read.Snapshot(), list.Snapshot());
  EXPECT_THROW(read.LoadFromServer(1, "MISSING.OKS"), fw::EFOpenError);
  EXPECT_EQ(read.Count(), 0);
}

TEST_F(ScriptFileTest, AServerWithoutAReadableNameIsAnErrorNeverTheLocalRoot) {
  TSimServer server({"fault conninfo-fails"}, kServer, kUncRoot);
  EXPECT_THROW(ScriptUNCPath(1, "A.OKS"), TNWException);
  TSCList list;
  list.Add(skText, "lost");
  EXPECT_THROW(list.SaveToServer(1, "A.OKS"), TNWException);
  EXPECT_THROW(CreateNewScript(1), TNWException);
  EXPECT_EQ(GetFileAttributesA("\\\\\\SYS\\SYSTEM\\NEW.OKS"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA("C:\\SYS\\SYSTEM\\A.OKS"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ScriptFileTest, EncodedScriptsStartWithAZeroByte) {
  TSimServer server({}, kServer, kUncRoot);
  server.WriteFile("SYS", "SYSTEM\\LOCKED.OKS", std::string("\0\x12\x34", 3));
  server.WriteFile("SYS", "SYSTEM\\PLAIN.OKS", "\\@System Console\r\n");
  server.WriteFile("SYS", "SYSTEM\\EMPTY.OKS", "");
  EXPECT_TRUE(IsScriptEncoded(1, "LOCKED.OKS"));
  EXPECT_FALSE(IsScriptEncoded(1, "PLAIN.OKS"));
  EXPECT_FALSE(IsScriptEncoded(1, "EMPTY.OKS"));
  EXPECT_FALSE(IsScriptEncoded(1, "MISSING.OKS"));
}

TEST_F(ScriptFileTest, NewScriptsTakeTheFirstFreeName) {
  TSimServer server({}, kServer, kUncRoot);
  EXPECT_EQ(CreateNewScript(1), "NEW.OKS");
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\NEW.OKS"), "\\@System Console\r");
  EXPECT_EQ(CreateNewScript(1), "NEW(1).OKS");
  server.WriteFile("SYS", "SYSTEM\\NEW(1).OKS", "keep");
  EXPECT_EQ(CreateNewScript(1), "NEW(2).OKS");
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\NEW(1).OKS"), "keep");
  TSCList list;
  list.LoadFromServer(1, "NEW(2).OKS");
  EXPECT_EQ(list.Snapshot(), std::vector<TSCItem>{TSCItem(skScreen, "System Console")});
}

// A share on which every new script's name is taken: the page stops with a message that
// tells the user what to do, and writes nothing.
TEST_F(ScriptFileTest, WhenEveryNewScriptNameIsTakenNothingIsCreated) {
  TSimServer server({}, kServer, kUncRoot);
  for (int n = 0; n <= kMaxNewScriptNumber; ++n) server.WriteFile("SYS", "SYSTEM\\" + NewScriptName(n), "keep");
  try {
    CreateNewScript(1);
    FAIL() << "created a script";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(std::string(e.what()),
              "No new script can be created: the names NEW.OKS to NEW(999).OKS are all taken in SYS:SYSTEM.\r"
              "Rename or remove some of these scripts and try again.");
  }
  EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\NEW(1000).OKS"));
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\NEW(999).OKS"), "keep");
}

TEST_F(ScriptFileTest, DeleteClearsProtectionFirst) {
  TSimServer server({}, kServer, kUncRoot);
  server.WriteFile("SYS", "SYSTEM\\A.OKS", "x");
  server.WriteFile("SYS", "SYSTEM\\B.OKS", "x");
  SetServerFileAttributesByRef(1, "SYS:SYSTEM\\A.OKS", naReadOnly | naTransactional | naDeleteInhibit | naArchive);
  DeleteScript(1, "A.OKS");
  EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\A.OKS"));
  DeleteScript(1, "B.OKS");
  EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\B.OKS"));
  DeleteScript(1, "MISSING.OKS");  // not reported
  DeleteScript(7, "X.OKS");        // no handle: nothing
}

TEST_F(ScriptFileTest, DeleteFallsBackToTheDosNameSpace) {
  TSimServer server({"namespace SYS 0"}, kServer, kUncRoot);
  server.WriteFile("SYS", "SYSTEM\\A.OKS", "x");
  SetServerFileAttributesByRef(1, "SYS:SYSTEM\\A.OKS", naReadOnly);
  DeleteScript(1, "A.OKS");
  EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\A.OKS"));
}
