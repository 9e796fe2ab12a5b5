// The simulated server through the typed client calls: what the page's server-file,
// module and console-command routines will rely on.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <tuple>

#include "ClientApi.h"
#include "NwConnection.h"
#include "SimServer.h"
#include "WireFormat.h"

using namespace toolpage;
using nwtest::TSimServer;

namespace {

std::string EntryName(const uint8_t* info) {
  return std::string(reinterpret_cast<const char*>(info + 85), info[84]);
}

std::vector<std::string> Scan(TConnHandle conn, TNWDirHandle dir, uint8_t ns, uint32_t attrs, const char* pattern,
                              NWCCODE& last) {
  std::vector<std::string> names;
  uint8_t sequence[12] = {};
  PutLE32(sequence + 8, 0xFFFFFFFF);
  uint8_t info[344] = {};
  while ((last = nwc::ScanEntries(conn, dir, ns, attrs, sequence, pattern, 1, info)) == 0)
    names.push_back(EntryName(info));
  return names;
}

TEST(ServerStandIn, ConnectionInformationAndPathParsing) {
  const std::tuple<int, int, int> versions[] = {{312, 3, 12}, {411, 4, 11}, {500, 5, 0}};
  for (auto [version, major, minor] : versions) {
    TSimServer server({"version " + std::to_string(version)}, "SRV1");
    uint8_t block[140] = {};
    ASSERT_EQ(nwc::ConnInfoLevel2(7, block), 0u);
    EXPECT_STREQ(reinterpret_cast<char*>(block + 56), "SRV1");
    EXPECT_EQ(GetLE32(block + 124), uint32_t(major));
    EXPECT_EQ(GetLE32(block + 128), uint32_t(minor));
  }
  TSimServer server({}, "SRV1");
  TNWConnection conn(7);
  TConnRef ref = 0;
  EXPECT_EQ(nwc::ConnRefOfHandle(conn.Handle(), ref), 0u);
  EXPECT_EQ(ref, 7u);
  char name[64] = {};
  EXPECT_EQ(nwc::ServerName(conn.Handle(), name), 0u);
  EXPECT_STREQ(name, "SRV1");

  char volume[257], srv[257], dir[257];
  TConnHandle parsed = 0;
  ASSERT_EQ(nwc::ParseNetWarePath("SRV1/SYS:PUBLIC\\X", volume, parsed, srv, dir), 0u);
  EXPECT_NE(parsed, 0u);
  EXPECT_STREQ(volume, "SYS");
  EXPECT_STREQ(srv, "SRV1");
  EXPECT_STREQ(dir, "PUBLIC\\X");
  nwc::CloseConn(parsed);
  EXPECT_NE(nwc::ParseNetWarePath("OTHER/SYS:PUBLIC", volume, parsed, srv, dir), 0u);
  EXPECT_EQ(nwc::OpenConnByRef(0, 1, parsed), 0x8801u);
}

TEST(ServerStandIn, ModuleListInBatchesOf128) {
  std::vector<std::string> config;
  for (int i = 0; i < 130; ++i) config.push_back("module M" + std::to_string(i) + ".NLM");
  TSimServer server(config);
  TNWConnection conn(1);
  std::vector<uint8_t> buffer(1556);
  ASSERT_EQ(nwc::ListModules(conn.Handle(), 0, buffer.data()), 0u);
  EXPECT_EQ(GetLE32(&buffer[16]), 128u);
  ASSERT_EQ(nwc::ListModules(conn.Handle(), 128, buffer.data()), 0u);
  ASSERT_EQ(GetLE32(&buffer[16]), 2u);
  char file[256], t2[256], t3[256];
  uint8_t info[256];
  ASSERT_EQ(nwc::ModuleInfo(conn.Handle(), GetLE32(&buffer[24]), file, t2, t3, info), 0u);
  EXPECT_STREQ(file, "M129.NLM");
  EXPECT_NE(nwc::ModuleInfo(conn.Handle(), 999, file, t2, t3, info), 0u);
}

TEST(ServerStandIn, LoadUnloadAndRights) {
  {
    TSimServer server;
    TNWConnection conn(1);
    EXPECT_EQ(nwc::LoadModule(conn.Handle(), "SYS:SYSTEM\\TUVEK.NLM"), 0u);
    EXPECT_NE(nwc::LoadModule(conn.Handle(), "SYS:SYSTEM\\TUVEK.NLM"), 0u);  // already loaded
    EXPECT_NE(nwc::LoadModule(conn.Handle(), "SYS:SYSTEM\\NOSUCH.NLM"), 0u);
    // The state file carries the loaded modules to every process.
    std::ifstream state(server.Root() + "\\server.state");
    std::stringstream text;
    text << state.rdbuf();
    EXPECT_NE(text.str().find("module TUVEK.NLM"), std::string::npos);
    EXPECT_EQ(nwc::UnloadModule(conn.Handle(), "TUVEK"), 0u);
    EXPECT_NE(nwc::UnloadModule(conn.Handle(), "TUVEK"), 0u);
  }
  {
    TSimServer server({"version 312"});
    TNWConnection conn(1);
    EXPECT_EQ(nwc::LoadModule(conn.Handle(), "SYS:SYSTEM\\TUVEK.NLM"), 0x89FBu);
    EXPECT_EQ(nwc::ExecuteNcf(conn.Handle(), "SYS:SYSTEM\\X.NCF"), 0x89FBu);
  }
  {
    TSimServer server({"console-operator no"});
    TNWConnection conn(1);
    EXPECT_EQ(nwc::ConsoleOperatorTest(conn.Handle()), 0x89C6u);
    EXPECT_EQ(nwc::LoadModule(conn.Handle(), "SYS:SYSTEM\\TUVEK.NLM"), 0x89C6u);
    EXPECT_EQ(nwc::ExecuteNcf(conn.Handle(), "SYS:SYSTEM\\X.NCF"), 0x89C6u);
  }
}

TEST(ServerStandIn, NcfFileRunsConsoleCommandsOfTheScriptingModule) {
  TSimServer server({"module VX4LIB.NLM"});
  server.WriteFile("SYS", "SYSTEM\\A.OKS", "\\@System Console\r\n");
  server.WriteFile("SYS", "SYSTEM\\CMD.NCF", "!encode SYS:SYSTEM\\A.OKS\r\n");
  TNWConnection conn(1);
  // Without TUVEK.NLM nobody knows the command.
  ASSERT_EQ(nwc::ExecuteNcf(conn.Handle(), "SYS:SYSTEM\\CMD.NCF"), 0u);
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\A.OKS"), "\\@System Console\r\n");
  server.WriteFile("SYS", "SYSTEM\\CMD.NCF", "LOAD TUVEK.NLM\r\n!encode SYS:SYSTEM\\A.OKS\r\n!play A.OKS\r\n");
  ASSERT_EQ(nwc::ExecuteNcf(conn.Handle(), "SYS:SYSTEM\\CMD.NCF"), 0u);
  std::string encoded = server.ReadFile("SYS", "SYSTEM\\A.OKS");
  ASSERT_FALSE(encoded.empty());
  EXPECT_EQ(encoded[0], '\0');
  EXPECT_EQ(encoded.find("System"), std::string::npos);
  server.WriteFile("SYS", "SYSTEM\\CMD.NCF", "!decode SYS:SYSTEM\\A.OKS\r\n");
  ASSERT_EQ(nwc::ExecuteNcf(conn.Handle(), "SYS:SYSTEM\\CMD.NCF"), 0u);
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\A.OKS"), "\\@System Console\r\n");
  std::ifstream log(server.Root() + "\\server.state.console");
  std::stringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("!play A.OKS"), std::string::npos) << text.str();
  EXPECT_NE(nwc::ExecuteNcf(conn.Handle(), "SYS:SYSTEM\\MISSING.NCF"), 0u);
  // A bare name is an NCF file of SYS:SYSTEM.
  server.WriteFile("SYS", "SYSTEM\\ULCONSOL.NCF", "Unload  TUVEK.NLM\r\n");
  ASSERT_EQ(nwc::ExecuteNcf(conn.Handle(), "ULCONSOL.NCF"), 0u);
  EXPECT_NE(nwc::UnloadModule(conn.Handle(), "TUVEK"), 0u);  // already unloaded by the file
}

TEST(ServerStandIn, DirectoryHandlesScansAndNameSpaces) {
  TSimServer server;
  server.WriteFile("SYS", "SYSTEM\\Long Name File.txt", "x");
  CreateDirectoryA(server.HostPath("SYS", "SYSTEM\\SUB").c_str(), nullptr);
  server.WriteFile("VOL1", "README", "x");
  TNWConnection conn(1);
  TNWDirHandle dir = 0;
  ASSERT_EQ(nwc::AllocDirHandleNs(conn.Handle(), 0, "SYS:SYSTEM", 4, dir, 4), 0u);
  NWCCODE last;
  std::vector<std::string> names = Scan(conn.Handle(), dir, 4, 6, "*", last);
  EXPECT_EQ(last, 0x89FFu);
  EXPECT_NE(std::find(names.begin(), names.end(), "Long Name File.txt"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "SUB"), names.end());  // no directories without 0x10
  names = Scan(conn.Handle(), dir, 0, 0x16, "*", last);
  EXPECT_NE(std::find(names.begin(), names.end(), "LONGNA~1.TXT"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "SUB"), names.end());
  names = Scan(conn.Handle(), dir, 0, 6, "*.312", last);
  EXPECT_EQ(names, std::vector<std::string>{"VX4LIB.312"});

  uint8_t info[344] = {};
  ASSERT_EQ(nwc::EntryInfo(conn.Handle(), dir, "Long Name File.txt", 4, 0, 6, 1, info), 0u);
  EXPECT_STREQ(reinterpret_cast<char*>(info + 85), "LONGNA~1.TXT");
  char converted[257] = {};
  nwc::TConvertPathBlock block{"SYS:SYSTEM\\Long Name File.txt", converted, sizeof converted};
  ASSERT_EQ(nwc::ConvertPath(conn.Handle(), 0, 0, 4, 0, block), 0u);
  EXPECT_STREQ(converted, "SYS:SYSTEM\\LONGNA~1.TXT");
  EXPECT_EQ(nwc::FreeDirHandle(conn.Handle(), dir), 0u);
  EXPECT_NE(nwc::FreeDirHandle(conn.Handle(), dir), 0u);

  // VOL1 has only the DOS name space.
  EXPECT_EQ(nwc::AllocDirHandleNs(conn.Handle(), 0, "VOL1:", 4, dir, 4), 0x89BFu);
  uint8_t rights = 0;
  ASSERT_EQ(nwc::AllocDirHandle(conn.Handle(), 0, "VOL1:", dir, rights), 0u);
  EXPECT_EQ(Scan(conn.Handle(), dir, 0, 6, "*", last), std::vector<std::string>{"README"});
  EXPECT_EQ(nwc::AllocDirHandle(conn.Handle(), 0, "SYS:NOSUCH", dir, rights), 0x899Cu);

  uint8_t number = 99, list[7] = {}, count = 0;
  ASSERT_EQ(nwc::VolumeNumber(conn.Handle(), "VOL1", number), 0u);
  EXPECT_EQ(number, 1);
  ASSERT_EQ(nwc::VolumeNameSpaces(conn.Handle(), 0, list, count), 0u);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(list[1], 4);
  EXPECT_EQ(nwc::VolumeNumber(conn.Handle(), "NOVOL", number), 0x8998u);
}

TEST(ServerStandIn, AttributesDeleteAndRename) {
  TSimServer server;
  server.WriteFile("SYS", "SYSTEM\\A.OKS", "x");
  server.WriteFile("SYS", "SYSTEM\\B.OKS", "y");
  TNWConnection conn(1);
  TConnHandle c = conn.Handle();
  ASSERT_EQ(nwc::SetAttributes(c, 0, "SYS:SYSTEM\\A.OKS", 4, 6, 2, 0x40001), 0u);
  uint8_t info[344] = {};
  ASSERT_EQ(nwc::EntryInfo(c, 0, "SYS:SYSTEM\\A.OKS", 4, 4, 6, 4, info), 0u);
  EXPECT_EQ(GetLE32(info + 4), 0x40001u);
  EXPECT_EQ(nwc::DeleteEntry(c, 0, "SYS:SYSTEM\\A.OKS", 4, 6), 0x898Au);
  EXPECT_EQ(nwc::RenameEntry(c, 0, "SYS:SYSTEM\\A.OKS", 6, "SYS:SYSTEM\\C.OKS"), 0x898Bu);
  ASSERT_EQ(nwc::SetAttributes(c, 0, "SYS:SYSTEM\\A.OKS", 4, 6, 2, 0), 0u);
  EXPECT_EQ(nwc::RenameEntry(c, 0, "SYS:SYSTEM\\A.OKS", 6, "SYS:SYSTEM\\B.OKS"), 0x8992u);
  ASSERT_EQ(nwc::RenameEntry(c, 0, "SYS:SYSTEM\\A.OKS", 6, "SYS:SYSTEM\\C.OKS"), 0u);
  EXPECT_TRUE(server.FileExists("SYS", "SYSTEM\\C.OKS"));
  EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\A.OKS"));
  ASSERT_EQ(nwc::DeleteEntry(c, 0, "SYS:SYSTEM\\C.OKS", 4, 6), 0u);
  EXPECT_FALSE(server.FileExists("SYS", "SYSTEM\\C.OKS"));
  EXPECT_NE(nwc::SetAttributes(c, 0, "SYS:SYSTEM\\C.OKS", 4, 6, 2, 1), 0u);
  // A file deleted behind the server's back (through the share) leaves no attributes
  // for a new file of the same name made after the server has seen it gone.
  ASSERT_EQ(nwc::SetAttributes(c, 0, "SYS:SYSTEM\\B.OKS", 4, 6, 2, 0x10000), 0u);
  DeleteFileA(server.HostPath("SYS", "SYSTEM\\B.OKS").c_str());
  EXPECT_NE(nwc::EntryInfo(c, 0, "SYS:SYSTEM\\B.OKS", 4, 4, 6, 4, info), 0u);
  server.WriteFile("SYS", "SYSTEM\\B.OKS", "new");
  ASSERT_EQ(nwc::EntryInfo(c, 0, "SYS:SYSTEM\\B.OKS", 4, 4, 6, 4, info), 0u);
  EXPECT_EQ(GetLE32(info + 4), 0u);
  server.WriteFile("VOL1", "D.TXT", "z");
  EXPECT_EQ(nwc::DeleteEntry(c, 0, "VOL1:D.TXT", 4, 6), 0x89BFu);  // no long names on VOL1
  EXPECT_EQ(nwc::DeleteEntry(c, 0, "VOL1:D.TXT", 0, 6), 0u);
}

TEST(ServerStandIn, SysVolumeIsReachableThroughUnc) {
  TSimServer server({}, "NWNETTST", NWSIM_UNC_ROOT "\\NWNETTST");
  server.WriteFile("SYS", "SYSTEM\\UNC.TXT", "through the share");
  std::ifstream in("\\\\NWNETTST\\SYS\\SYSTEM\\UNC.TXT", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "through the share");
  // And a file written through the share is seen by the server.
  std::ofstream("\\\\NWNETTST\\SYS\\SYSTEM\\PLUD_TMP.NCF", std::ios::binary) << "LOAD TUVEK.NLM\r\n";
  TNWConnection conn(1);
  EXPECT_EQ(nwc::ExecuteNcf(conn.Handle(), "SYS:SYSTEM\\PLUD_TMP.NCF"), 0u);
  char file[256], t2[256], t3[256];
  EXPECT_EQ(nwc::ModuleInfo(conn.Handle(), 1, file, t2, t3, nullptr), 0u);
  EXPECT_STREQ(file, "TUVEK.NLM");
}

}  // namespace
