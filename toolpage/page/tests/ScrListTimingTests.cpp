// A 5,000-line script in the line editor: it opens whole, scrolls a page and takes a new
// line. How long each step takes is measured by scrlist_benchmark, not here.
#include <gtest/gtest.h>

#include "BigScript.h"
#include "NcpExtensions.h"
#include "ScrListTestHost.h"
#include "SimServer.h"

using namespace toolpage;
using namespace linetest;

namespace {

const char* const kServer = "NWTIME";
const std::string kUncRoot = std::string(NWSIM_UNC_ROOT) + "\\" + kServer;

struct ScrListBigScriptTest : TScrListHost {
  void SetUp() override {
    NCPCache().Clear();
    TScrListHost::SetUp();
  }
  void TearDown() override {
    TScrListHost::TearDown();
    NCPCache().Clear();
  }
};

}  // namespace

TEST_F(ScrListBigScriptTest, A5000LineScriptOpensScrollsAndTakesALine) {
  nwtest::TSimServer server({}, kServer, kUncRoot);
  server.WriteFile("SYS", "SYSTEM\\BIG.OKS", BigScript());
  HWND wnd = ListWindow();
  list->LoadScript(1, "BIG.OKS");
  UpdateWindow(wnd);
  ASSERT_EQ(list->ScriptItems().Count(), 5000);
  ASSERT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 5000);
  SendMessageA(wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(list->TopIndex(), 0);
  list->SetTopIndex(2490);
  list->SetItemIndex(2500);
  list->InsertItem(2500, skText, true, false);
  EXPECT_EQ(list->ScriptItems().Count(), 5001);
  EXPECT_EQ(list->ScriptItems().Items(2500).Text, "");
  EXPECT_EQ(list->ItemIndex(), 2500);
  list->SetModified(false);
}
