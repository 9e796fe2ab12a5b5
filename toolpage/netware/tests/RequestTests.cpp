// Requests to the product's server modules: bytes on the wire, replies, broken servers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "NcpExtensions.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "RProcRequester.h"
#include "SimServer.h"
#include "Std4Requests.h"
#include "WireFormat.h"

using namespace toolpage;
using nwtest::LastRequest;
using nwtest::TSimServer;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> v;
  for (int b : list) v.push_back(static_cast<uint8_t>(b));
  return v;
}

// Each test starts with an empty extension cache: the servers differ between tests.
struct RequestTest : ::testing::Test {
  void SetUp() override { NCPCache().Clear(); }
  void TearDown() override {
    NCPCache().Clear();
    EXPECT_EQ(nwsim_OpenConnectionCount(), 0) << "a connection handle was left open";
  }
};

// --- KAVEL:STD4 --------------------------------------------------------------

TEST_F(RequestTest, ExecuteNcfSendsTheTextCutTo256In258Bytes) {
  TSimServer server({"module VX4LIB.NLM"});
  std::string path = "SYS:SYSTEM\\" + std::string(289, 'P');  // 300 characters
  int32_t result = Std4ExecuteNcf(1, path);
  EXPECT_EQ(result, 0x89FF);  // the server's status: no such file
  nwtest::TSentRequest sent = LastRequest();
  ASSERT_EQ(sent.Bytes.size(), 258u);
  EXPECT_EQ(sent.Bytes[0], 121);
  EXPECT_EQ(std::string(sent.Bytes.begin() + 1, sent.Bytes.begin() + 257), path.substr(0, 256));
  EXPECT_EQ(sent.Bytes[257], 0);
  EXPECT_EQ(sent.ReplyCapacity, 4);
}

TEST_F(RequestTest, ExecuteNcfRunsTheFileOnTheServer) {
  TSimServer server({"module VX4LIB.312", "version 312"});
  server.WriteFile("SYS", "SYSTEM\\RUN.NCF", "; loads the tool\r\nLOAD TUVEK.NLM\r\n");
  EXPECT_EQ(Std4ExecuteNcf(1, "SYS:SYSTEM\\RUN.NCF"), 0);
  nwtest::TSentRequest sent = LastRequest();
  std::vector<uint8_t> expected(258, 0);
  expected[0] = 121;
  memcpy(&expected[1], "SYS:SYSTEM\\RUN.NCF", 18);
  EXPECT_EQ(sent.Bytes, expected);
  NW_312_NLM_INFO info;
  ASSERT_EQ(Std4GetNlmInfo(1, 1, info), 0);
  EXPECT_EQ(info.FileName, "TUVEK.NLM");
}

TEST_F(RequestTest, NlmInfoRequestAndReply) {
  TSimServer server({"module VX4LIB.312", "module CLIBAUX.NLM"});
  NW_312_NLM_INFO info;
  ASSERT_EQ(Std4GetNlmInfo(1, 1, info), 0);
  nwtest::TSentRequest sent = LastRequest();
  EXPECT_EQ(sent.Bytes, Bytes({124, 1, 0, 0, 0}));
  EXPECT_EQ(sent.ReplyCapacity, 1062);
  EXPECT_EQ(info.FileName, "CLIBAUX.NLM");
  EXPECT_EQ(info.Values[0], 1);
  EXPECT_EQ(info.Text1, "Simulated module CLIBAUX");
  EXPECT_EQ(info.Text2, "Simulated NetWare server NWSIM1");
  // Past the last module the server's code comes back, and the record stays cleared.
  EXPECT_EQ(Std4GetNlmInfo(1, 2, info), 0x89FF);
  EXPECT_EQ(info.FileName, "");
  EXPECT_EQ(LastRequest().Bytes, Bytes({124, 2, 0, 0, 0}));
}

TEST_F(RequestTest, Std4RequestsLookTheExtensionUpThroughTheCache) {
  TSimServer server({"module VX4LIB.312", "module CLIBAUX.NLM"});
  int before = nwsim_ExtensionLookupCount();
  NW_312_NLM_INFO info;
  EXPECT_EQ(Std4GetNlmInfo(1, 0, info), 0);
  EXPECT_EQ(Std4GetNlmInfo(1, 1, info), 0);
  EXPECT_EQ(Std4ExecuteNcf(1, "SYS:SYSTEM\\X.NCF"), 0x89FF);
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 1);
  EXPECT_EQ(NCPCache().Count(), 1u);
}

TEST_F(RequestTest, Std4WithoutTheModuleSendsNothing) {
  TSimServer server;
  int before = nwsim_ExtensionRequestCount();
  NW_312_NLM_INFO info;
  EXPECT_EQ(Std4GetNlmInfo(1, 0, info), -1);
  EXPECT_EQ(Std4ExecuteNcf(1, "SYS:SYSTEM\\X.NCF"), -1);
  EXPECT_EQ(Std4ExecuteNcf(0, "SYS:SYSTEM\\X.NCF"), -1);  // no connection from reference 0
  EXPECT_EQ(nwsim_ExtensionRequestCount(), before);
}

TEST_F(RequestTest, BrokenServerRepliesRaise) {
  NW_312_NLM_INFO info;
  {
    TSimServer server({"module VX4LIB.312", "fault std4-info-short"});
    EXPECT_THROW(Std4GetNlmInfo(1, 0, info), TNWException);
  }
  NCPCache().Clear();
  {
    TSimServer server({"module VX4LIB.312", "fault std4-info-bad-length"});
    try {
      Std4GetNlmInfo(1, 0, info);
      ADD_FAILURE() << "no exception";
    } catch (const TNWException& e) {
      EXPECT_EQ(e.ErrorCode(), NW_INVALID_REPLY_LENGTH);
      EXPECT_NE(e.Message().find("KAVEL:STD4"), std::string::npos) << e.Message();
    }
  }
  NCPCache().Clear();
  {
    TSimServer server({"module VX4LIB.312", "fault std4-execute-short"});
    EXPECT_THROW(Std4ExecuteNcf(1, "SYS:SYSTEM\\X.NCF"), TNWException);
  }
}

// --- remote-procedure requester ------------------------------------------------

// Parameters of a directory search of SYS:SYSTEM for one mask (the search module's order).
std::vector<uint8_t> SearchParams(const std::string& Dir, const std::string& Mask) {
  std::vector<uint8_t> p(48, 0);
  p[10] = 0;    // option B set
  p[12] = 1;    // option C
  p[20] = 255;  // E5
  p[39] = 255;  // G
  for (const std::string& text : {Dir, Mask, std::string(), std::string(), std::string()}) {
    p.push_back(static_cast<uint8_t>(text.size()));
    p.push_back(static_cast<uint8_t>(text.size() >> 8));
    p.insert(p.end(), text.begin(), text.end());
  }
  return p;
}

TEST_F(RequestTest, RequesterOpenCallAndCloseBytes) {
  TSimServer server({"module VX4CS.NLM"});
  server.WriteFile("SYS", "SYSTEM\\A.OKS", "x");
  server.WriteFile("SYS", "SYSTEM\\B.OKS", "y");
  TRProcRequester rp(1, "KAVEL:CS4");
  ASSERT_TRUE(rp.HasExtension());
  std::vector<uint8_t> params = SearchParams("SYS:SYSTEM", "*.OKS");
  ASSERT_TRUE(rp.Open(0x10021, params.data(), static_cast<uint32_t>(params.size())));
  nwtest::TSentRequest sent = LastRequest();
  std::vector<uint8_t> expected = Bytes({0xDC, 0x21, 0x00, 0x01, 0x00});
  expected.insert(expected.end(), params.begin(), params.end());
  EXPECT_EQ(sent.Bytes, expected);
  EXPECT_EQ(sent.ReplyCapacity, 4);
  int32_t channel = rp.ChannelHandle();

  uint8_t status[277];
  uint32_t word = 0x11223344;
  ASSERT_TRUE(rp.Call(0, &word, status, 4, sizeof status));
  sent = LastRequest();
  std::vector<uint8_t> call = Bytes({0xDE, 0, 0, 0, 0, 0, 0, 0, 0, 0x44, 0x33, 0x22, 0x11});
  PutLE32(&call[1], static_cast<uint32_t>(channel));
  EXPECT_EQ(sent.Bytes, call);
  EXPECT_EQ(sent.ReplyCapacity, 277);
  EXPECT_EQ(rp.ReplyLength(), 277);
  EXPECT_EQ(GetLE32(status), 2u);  // two scripts found
  EXPECT_EQ(status[20], 1);        // search finished

  // Results: two records, names at offset 30 of each.
  std::vector<uint8_t> results(4101);
  uint32_t max = 4097;
  ASSERT_TRUE(rp.Call(4, &max, results.data(), 4, 4101));
  EXPECT_EQ(GetLE32(results.data()), 2u);
  EXPECT_STREQ(reinterpret_cast<char*>(&results[4 + 30]), "A.OKS");

  // A call without reply buffer passes a capacity of 0.
  rp.Call(7, nullptr, nullptr, 0, 100);
  EXPECT_EQ(LastRequest().ReplyCapacity, 0);
  EXPECT_EQ(LastRequest().Bytes.size(), 9u);

  rp.Close();
  sent = LastRequest();
  std::vector<uint8_t> close = Bytes({0xDD, 0, 0, 0, 0, 0, 0, 0});
  PutLE32(&close[1], static_cast<uint32_t>(channel));
  EXPECT_EQ(sent.Bytes, close);
  EXPECT_EQ(sent.ReplyCapacity, -1);
  EXPECT_FALSE(rp.IsOpen());

  // Closing again, or calling the closed channel, sends nothing.
  int before = nwsim_ExtensionRequestCount();
  rp.Close();
  EXPECT_FALSE(rp.Call(0, nullptr, status, 0, sizeof status));
  EXPECT_EQ(rp.Status(), kRProcChannelNotOpen);
  EXPECT_EQ(nwsim_ExtensionRequestCount(), before);
}

TEST_F(RequestTest, RequesterOpensItsConnectionInMode2AndSingleRequestsInMode1) {
  TSimServer server({"module VX4CS.NLM"});
  TRProcRequester rp(1, "KAVEL:CS4");
  ASSERT_TRUE(rp.HasExtension());
  TConnHandle handle = rp.GetConnHandle();
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(nwsim_ConnectionOpenMode(handle), 2u);
  rp.CloseConnHandle();
  EXPECT_EQ(nwsim_ConnectionOpenMode(handle), 0u);
  TNWConnection single(1);
  ASSERT_TRUE(single.IsOpen());
  EXPECT_EQ(nwsim_ConnectionOpenMode(single.Handle()), 1u);
}

TEST_F(RequestTest, OpenParameterLimitAndExtensionVersion) {
  TSimServer server({"module VX4CS.NLM"});
  std::vector<uint8_t> params(512, 0xAB);
  {
    TRProcRequester rp(1, "KAVEL:CS4");
    rp.Open(0x10021, params.data(), 511);  // the server refuses these parameters
    nwtest::TSentRequest sent = LastRequest();
    EXPECT_EQ(sent.Bytes.size(), 516u);
    EXPECT_EQ(sent.Bytes[515], 0xAB);
    EXPECT_FALSE(rp.IsOpen());
    int before = nwsim_ExtensionRequestCount();
    try {
      rp.Open(0x10021, params.data(), 512);
      ADD_FAILURE() << "no exception";
    } catch (const EAssertionFailed& e) {
      EXPECT_EQ(e.Message(), "ParamLen to loong!");
    }
    // The channel that failed to open is not called.
    uint8_t reply[4];
    EXPECT_FALSE(rp.Call(0, nullptr, reply, 0, 4));
    EXPECT_EQ(nwsim_ExtensionRequestCount(), before);
  }
  NCPCache().Clear();
  for (const char* version : {"4 0 0", "4 1 0", "3 12 0"}) {
    TSimServer v40({"module VX4CS.NLM", std::string("extension-version KAVEL:CS4 ") + version});
    NCPCache().Clear();
    TRProcRequester rp(1, "KAVEL:CS4");
    std::vector<uint8_t> search = SearchParams("SYS:SYSTEM", "*.*");
    int before = nwsim_ExtensionRequestCount();
    bool opened = rp.Open(0x10021, search.data(), static_cast<uint32_t>(search.size()));
    EXPECT_EQ(opened, std::string(version) != "4 0 0") << version;
    EXPECT_EQ(nwsim_ExtensionRequestCount() - before, opened ? 1 : 0) << version;
  }
}

TEST_F(RequestTest, RequesterWithoutReferenceOrExtension) {
  TSimServer server;
  {
    TRProcRequester rp(0, "KAVEL:CS4");
    EXPECT_EQ(rp.Status(), 255u);
    EXPECT_FALSE(rp.HasExtension());
    EXPECT_FALSE(rp.Open(0x10021, nullptr, 0));
  }
  {
    TRProcRequester rp(1, "KAVEL:CS4");  // module not loaded
    EXPECT_FALSE(rp.HasExtension());
    EXPECT_EQ(rp.Status(), 0x89FFu);
    int before = nwsim_ExtensionRequestCount();
    EXPECT_FALSE(rp.Open(0x10021, nullptr, 0));
    EXPECT_FALSE(rp.Call(0, nullptr, nullptr, 0, 0));
    EXPECT_EQ(nwsim_ExtensionRequestCount(), before);
  }
}

TEST_F(RequestTest, BrokenRemoteProcedureReplies) {
  std::vector<uint8_t> search = SearchParams("SYS:SYSTEM", "*.*");
  {
    TSimServer server({"module VX4CS.NLM", "fault rproc-open-short"});
    TRProcRequester rp(1, "KAVEL:CS4");
    EXPECT_THROW(rp.Open(0x10021, search.data(), static_cast<uint32_t>(search.size())), TNWException);
    EXPECT_FALSE(rp.IsOpen());
  }
  NCPCache().Clear();
  {
    TSimServer server({"module VX4CS.NLM", "fault rproc-reply-overflow"});
    TRProcRequester rp(1, "KAVEL:CS4");
    ASSERT_TRUE(rp.Open(0x10021, search.data(), static_cast<uint32_t>(search.size())));
    uint8_t reply[277];
    try {
      rp.Call(0, nullptr, reply, 0, 200);
      ADD_FAILURE() << "no exception";
    } catch (const EAssertionFailed& e) {
      EXPECT_EQ(e.Message(), "Response longer then receive buffer (210,200)!");
    }
  }
}

TEST_F(RequestTest, OversizedCallDataIsRefused) {
  TSimServer server({"module VX4CS.NLM"});
  TRProcRequester rp(1, "KAVEL:CS4");
  std::vector<uint8_t> data(0x8000);
  EXPECT_THROW(rp.Call(1, data.data(), nullptr, 0x8000, 0), EAssertionFailed);
}

}  // namespace

namespace {

// Records the requester messages a window receives.
std::vector<std::pair<WPARAM, LPARAM>> gNotices;
LRESULT CALLBACK NoticeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 200) gNotices.emplace_back(wp, lp);
  return DefWindowProcA(wnd, msg, wp, lp);
}

TEST_F(RequestTest, MainWindowHearsOfRequestersComingAndGoing) {
  TSimServer server({"module VX4CS.NLM"});
  WNDCLASSA wc = {};
  wc.lpfnWndProc = NoticeProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "NwRequesterNotice";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowA("NwRequesterNotice", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);
  gNotices.clear();
  SetRequesterNotifyWindow(wnd);
  { TRProcRequester rp(1, "KAVEL:CS4"); }
  SetRequesterNotifyWindow(nullptr);
  { TRProcRequester rp(1, "KAVEL:CS4"); }
  DestroyWindow(wnd);
  std::vector<std::pair<WPARAM, LPARAM>> expected = {{1, 0}, {0, 0}};
  EXPECT_EQ(gNotices, expected);
}

}  // namespace
