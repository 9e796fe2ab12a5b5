// Searches run by the search module on the server: the request on the wire, the polling
// loop with progressing, failing and broken searches, and directory names by index.
#include <gtest/gtest.h>
#include <windows.h>

#include "ClientApi.h"
#include "NcpExtensions.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "SearchListing.h"
#include "SearchProcess.h"
#include "ServerFiles.h"
#include "SimServer.h"
#include "WireFormat.h"

using namespace toolpage;
using nwtest::TSimServer;

namespace {

struct SearchTest : ::testing::Test {
  void SetUp() override { NCPCache().Clear(); }
  void TearDown() override {
    NCPCache().Clear();
    EXPECT_EQ(nwsim_OpenConnectionCount(), 0) << "a connection handle was left open";
  }
};

// A server with the search module and Count files F0000.DAT ... in SYS:DATA.
std::vector<std::string> WithFiles(TSimServer& Server, int Count) {
  CreateDirectoryA(Server.HostPath("SYS", "DATA").c_str(), nullptr);
  std::vector<std::string> names;
  for (int i = 0; i < Count; ++i) {
    char name[16];
    snprintf(name, sizeof name, "F%04d.DAT", i);
    Server.WriteFile("SYS", std::string("DATA\\") + name, "x");
    names.push_back(name);
  }
  return names;
}

int gAnswered = 0;

LRESULT CALLBACK CountingWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_USER + 7) ++gAnswered;
  return DefWindowProcA(Window, Message, WParam, LParam);
}

uint16_t Counted(const std::vector<uint8_t>& Bytes, size_t Pos, std::string& Text) {
  uint16_t n = static_cast<uint16_t>(Bytes[Pos] | (Bytes[Pos + 1] << 8));
  Text.assign(Bytes.begin() + Pos + 2, Bytes.begin() + Pos + 2 + n);
  return n;
}

TEST_F(SearchTest, ListingRequestByteForByte) {
  TSimServer server({"module VX4CS.NLM"});
  for (uint8_t flags : {1, 3}) {
    TDirListProcess search(1, flags, "*", "SYS:SYSTEM");
    ASSERT_TRUE(search.IsOpen());
    std::vector<uint8_t> sent = nwtest::LastRequest().Bytes;
    ASSERT_GE(sent.size(), 5u + 48u);
    EXPECT_EQ(sent[0], 0xDC);
    EXPECT_EQ(GetLE32(&sent[1]), 0x10021u);
    std::vector<uint8_t> header(sent.begin() + 5, sent.begin() + 53);
    std::vector<uint8_t> expected(48, 0);
    expected[10] = 0;                  // option B is 1
    expected[11] = flags & 2 ? 2 : 0;  // option D: directories too
    expected[12] = 1;                  // option C
    expected[20] = 255;                // E5
    expected[39] = 255;                // G
    EXPECT_EQ(header, expected);
    std::string text;
    size_t pos = 53;
    pos += 2 + Counted(sent, pos, text);
    EXPECT_EQ(text, "SYS:SYSTEM");
    pos += 2 + Counted(sent, pos, text);
    EXPECT_EQ(text, "*.*");
    for (int i = 0; i < 3; ++i) pos += 2 + Counted(sent, pos, text);
    EXPECT_EQ(pos, sent.size());
  }
}

TEST_F(SearchTest, OrderSizesAtTheLimits) {
  TSimServer server({"module VX4CS.NLM"});
  TSearchCtrl ctrl;
  ctrl.Masks = {"a.txt", "*.doc"};
  // The variable area: five counts (10 bytes), the masks (11), the directory.
  ctrl.StartDir = std::string(463 - 21, 'D');
  EXPECT_NO_THROW(TFileSearchProcess(1, ctrl));  // sent; the server refuses the directory
  std::vector<uint8_t> sent = nwtest::LastRequest().Bytes;
  EXPECT_EQ(sent.size(), 5u + 48u + 463u);
  EXPECT_EQ(std::string(sent.begin() + 53 + 2 + ctrl.StartDir.size() + 2, sent.end() - 6), "A.TXT,*.DOC");
  ctrl.StartDir += 'D';
  try {
    TFileSearchProcess search(1, ctrl);
    FAIL() << "opened";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "ParamLen to loong!");
  }
  ctrl.StartDir = std::string(1025 - 20, 'D');
  try {
    TFileSearchProcess search(1, ctrl);
    FAIL() << "built";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "Buffer to short!");
  }
}

TEST_F(SearchTest, AThousandEntriesAfterWhatTheListHeld) {
  TSimServer server({"module VX4CS.NLM"});
  std::vector<std::string> names = WithFiles(server, 1000);
  fw::TStringList list;
  list.Add("before 1");
  list.Add("before 2");
  TDirListProcess search(1, 1, "*.DAT", "SYS:DATA");
  ASSERT_TRUE(search.FillList(list));
  EXPECT_EQ(search.SearchStatus().Found, 1000u);
  ASSERT_EQ(list.Count(), 1002);
  EXPECT_EQ(list.Strings(2), names.front());
  EXPECT_EQ(list.Strings(1001), names.back());
}

TEST_F(SearchTest, ASearchThatProgressesOverTimeIsPolled) {
  TSimServer server({"module VX4CS.NLM", "search-progress 10 100"});
  std::vector<std::string> names = WithFiles(server, 45);
  fw::TStringList list;
  const uint32_t start = GetTickCount();
  TDirListProcess search(1, 1, "*.*", "SYS:DATA");
  ASSERT_TRUE(search.FillList(list));
  EXPECT_GE(GetTickCount() - start, 400u);  // five steps of 100 ms, seen through the polls
  EXPECT_EQ(list.ToVector(), names);
}

TEST_F(SearchTest, SlowRequestsArePausedAndTheWindowKeepsAnswering) {
  TSimServer server({"module VX4CS.NLM", "search-delay 160", "search-progress 5 200"});
  std::vector<std::string> names = WithFiles(server, 10);
  gAnswered = 0;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CountingWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SearchTestWindow";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("SearchTestWindow", "", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  fw::TStringList list;
  TDirListProcess search(1, 1, "*.*", "SYS:DATA");
  PostMessageA(window, WM_USER + 7, 0, 0);
  const uint32_t start = GetTickCount();
  ASSERT_TRUE(search.FillList(list));
  EXPECT_GE(GetTickCount() - start, 400u);
  EXPECT_EQ(list.ToVector(), names);
  EXPECT_EQ(gAnswered, 1);  // dispatched during the listing's waits
  DestroyWindow(window);
  UnregisterClassA("SearchTestWindow", wc.hInstance);
}

// A quit posted while the page lists (the program is ending) ends the listing at its next
// wait, as a failed one, and stays in the queue for the page's message loop.
TEST_F(SearchTest, APendingQuitEndsTheListing) {
  TSimServer server({"module VX4CS.NLM", "fault search-never-finishes"});
  WithFiles(server, 3);
  fw::TStringList list;
  list.Add("kept");
  TDirListProcess search(1, 1, "*.*", "SYS:DATA");
  const int requests = nwsim_ExtensionRequestCount();
  const uint32_t start = GetTickCount();
  PostQuitMessage(3);
  EXPECT_FALSE(search.FillList(list));
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_LE(nwsim_ExtensionRequestCount() - requests, 5);
  EXPECT_EQ(list.ToVector(), std::vector<std::string>{"kept"});
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

// A listing that fails leaves the list as it was, and the file list falls back to the
// client's scan, which gives the whole directory.
TEST_F(SearchTest, FailingAndBrokenSearchesFallBackToTheClientScan) {
  const std::vector<std::string> configs[] = {
      {"module VX4CS.NLM", "search-progress 10 300", "search-client-error 2"},
      {"module VX4CS.NLM", "fault results-bad-length"},
      {"module VX4CS.NLM", "fault rproc-status-short"},
      {"module VX4CS.NLM", "fault rproc-reply-overflow"},
  };
  for (const auto& config : configs) {
    SCOPED_TRACE(config.back());
    TSimServer server(config);
    std::vector<std::string> names = WithFiles(server, 30);
    fw::TStringList list;
    list.Add("kept");
    {
      TDirListProcess search(1, 1, "*.*", "SYS:DATA");
      ASSERT_TRUE(search.IsOpen());
      EXPECT_FALSE(search.FillList(list));
      EXPECT_EQ(list.ToVector(), std::vector<std::string>{"kept"});
    }
    list.Clear();
    TNWConnection conn(1);
    EXPECT_TRUE(ListServerFiles(conn.Handle(), "*.*", "SYS:DATA", false, list));
    EXPECT_EQ(list.ToVector(), names);
  }
}

// The listing's time as the test moves it: a wait passes at once.
class TTestClock : public TListingClock {
 public:
  uint32_t Now() override { return FNow; }
  bool Wait(uint32_t Milliseconds) override {
    FNow += Milliseconds;
    return true;
  }

 private:
  uint32_t FNow = 5000;
};

// Servers that never end their search cannot keep the listing going: it fails (and the
// client scan takes over) once no new name has come for the idle limit, or once the whole
// listing has taken its limit, counted on the listing's own clock.
TEST_F(SearchTest, ASearchThatNeverEndsMeetsItsBound) {
  struct Lie {
    const char* Fault;
    uint32_t Limit;
  };
  // One entry short for ever; the same with a counter that moves at every status call; a
  // found count that rises at every status call while no entry comes; one new entry at
  // every status call.
  for (const Lie& lie : {Lie{"fault search-never-finishes", kListingIdleLimit},
                         Lie{"fault search-busy-forever", kListingIdleLimit},
                         Lie{"fault search-found-creeps", kListingIdleLimit},
                         Lie{"fault search-trickles", kListingTimeLimit}}) {
    SCOPED_TRACE(lie.Fault);
    TSimServer server({"module VX4CS.NLM", lie.Fault});
    WithFiles(server, 3);
    fw::TStringList list;
    list.Add("kept");
    TTestClock clock;
    TDirListProcess search(1, 1, "*.*", "SYS:DATA");
    search.SetClock(clock);
    const uint32_t start = clock.Now();
    const int requests = nwsim_ExtensionRequestCount();
    EXPECT_FALSE(search.FillList(list));
    EXPECT_GT(clock.Now() - start, lie.Limit);
    EXPECT_LE(clock.Now() - start, lie.Limit + 2 * kListingPollInterval);
    // About one status poll and one batch per poll interval, not a stream of requests.
    EXPECT_LE(nwsim_ExtensionRequestCount() - requests, int(2 * lie.Limit / kListingPollInterval + 10));
    EXPECT_EQ(list.ToVector(), std::vector<std::string>{"kept"});
  }
  // More found than one listing takes: given up at once, not at a limit.
  TSimServer server({"module VX4CS.NLM", "fault search-found-huge"});
  WithFiles(server, 3);
  fw::TStringList list;
  TTestClock clock;
  TDirListProcess search(1, 1, "*.*", "SYS:DATA");
  search.SetClock(clock);
  const uint32_t start = clock.Now();
  EXPECT_FALSE(search.FillList(list));
  EXPECT_EQ(clock.Now(), start);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(SearchTest, WithoutTheSearchModuleNothingIsOpened) {
  TSimServer server(std::vector<std::string>{});
  TDirListProcess search(1, 1, "*.*", "SYS:SYSTEM");
  fw::TStringList list;
  EXPECT_FALSE(search.FillList(list));
  TSimServer old({"module VX4CS.NLM", "extension-version KAVEL:CS4 4 0 0"});
  TDirListProcess search40(1, 1, "*.*", "SYS:SYSTEM");
  EXPECT_FALSE(search40.IsOpen());
}

TEST_F(SearchTest, ResultsNameTheirDirectoriesByIndex) {
  TSimServer server({"module VX4CS.NLM"});
  CreateDirectoryA(server.HostPath("SYS", "TREE").c_str(), nullptr);
  CreateDirectoryA(server.HostPath("SYS", "TREE\\SUB1").c_str(), nullptr);
  CreateDirectoryA(server.HostPath("SYS", "TREE\\SUB2").c_str(), nullptr);
  server.WriteFile("SYS", "TREE\\A.TXT", "a");
  server.WriteFile("SYS", "TREE\\SUB1\\B.TXT", "b");
  server.WriteFile("SYS", "TREE\\SUB2\\C.TXT", "c");
  TSearchCtrl ctrl;
  ctrl.StartDir = "SYS:TREE";
  ctrl.Masks = {"*.TXT"};
  ctrl.OptionA = 1;  // the simulated module: subdirectories too
  TFileSearchProcess search(1, ctrl);
  ASSERT_TRUE(search.IsOpen());
  fw::TStringList dirs;
  ASSERT_TRUE(search.FetchResults(&dirs));
  ASSERT_EQ(search.GetResultCount(), 3);
  EXPECT_EQ(dirs.ToVector(), (std::vector<std::string>{"SYS:TREE", "SYS:TREE\\SUB1", "SYS:TREE\\SUB2"}));
  for (int i = 0; i < 3; ++i) {
    TSearchEntry entry;
    search.GetResult(i, entry);
    EXPECT_EQ(dirs.Strings(static_cast<int>(EntryDirIndex(entry))) + "\\" + EntryName(entry),
              std::string("SYS:TREE") + (i == 0   ? "\\A.TXT"
                                         : i == 1 ? "\\SUB1\\B.TXT"
                                                  : "\\SUB2\\C.TXT"));
  }
  // The next batch replaces this one.
  ASSERT_TRUE(search.FetchResults(nullptr));
  EXPECT_EQ(search.GetResultCount(), 0);
}

TEST_F(SearchTest, DirectoryNamesEndAtTheirBound) {
  // A batch of one directory's entries from a server that names a directory for every index.
  TSimServer server({"module VX4CS.NLM", "fault dirnames-endless"});
  WithFiles(server, 3);
  TSearchCtrl ctrl;
  ctrl.StartDir = "SYS:DATA";
  ctrl.Masks = {"*.DAT"};
  TFileSearchProcess search(1, ctrl);
  ASSERT_TRUE(search.IsOpen());
  fw::TStringList dirs;
  const int requests = nwsim_ExtensionRequestCount();
  EXPECT_THROW(search.FetchResults(&dirs), TNWException);
  EXPECT_EQ(nwsim_ExtensionRequestCount() - requests, 1 + 65536);  // the batch, then the names
  ASSERT_EQ(dirs.Count(), 65536);
  EXPECT_EQ(dirs.Strings(0), "SYS:DATA");
  EXPECT_EQ(search.GetResultCount(), 0);
}

}  // namespace
