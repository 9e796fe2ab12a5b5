// The page hosted in a console window against simulated servers: which sheet a server
// gets, the install with its start-up line, and loading and unloading the module.
#include <gtest/gtest.h>

#include <algorithm>

#include "Files.h"
#include "Screenshot.h"
#include "TuvekHarness.h"
#include "UiDriver.h"

using namespace tuvektest;

namespace {

struct PageSheetTest : ::testing::Test {
  TSavedPageRegistry Saved;
  std::unique_ptr<TToolsFolder> Tools;
  void SetUp() override {
    ASSERT_EQ(consolehost::RunRegsvr32(LibraryPath(), false), 0);
    Tools = std::make_unique<TToolsFolder>();
  }
  void TearDown() override { Tools.reset(); }

  void Open(consolehost::TConsoleHost& Host) {
    Host.Open(PageClassId());
    Host.ConnRef = 1;
    ASSERT_EQ(Host.Page()->SetConnection(1), S_OK);
    ASSERT_EQ(Host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
  }
};

bool Contains(const std::vector<std::string>& Lines, const std::string& Line) {
  return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
}

bool Enabled(HWND Window) {
  return Window != nullptr && IsWindowEnabled(Window);
}

}  // namespace

TEST_F(PageSheetTest, TheServerVersionAndTheModuleFileChooseTheSheet) {
  struct TCase {
    int Version;
    bool WithTool;
    TShownSheet Sheet;
    const char* Png;
  } cases[] = {{311, false, TShownSheet::TooOld, "too-old-sheet"},
               {311, true, TShownSheet::TooOld, nullptr},
               {312, false, TShownSheet::Install, "install-sheet"},
               {312, true, TShownSheet::Control, "control-sheet"}};
  for (const TCase& c : cases) {
    auto server = MakeServer(c.Version, c.WithTool);
    consolehost::TConsoleHost host;
    Open(host);
    EXPECT_EQ(ShownSheet(host), c.Sheet) << c.Version << (c.WithTool ? " with" : " without") << " TUVEK.NLM";
    if (c.Sheet == TShownSheet::TooOld) {
      EXPECT_FALSE(Enabled(PageButton(host, "Load")));
      EXPECT_FALSE(Enabled(PageButton(host, "Unload")));
    }
    if (c.Png != nullptr) testsupport::SaveWindowPng(host.Window(), c.Png);
  }
}

TEST_F(PageSheetTest, InstallCopiesTheToolFilesAddsTheStartupLineAndLoads) {
  auto server = MakeServer(411, false);
  server->WriteFile("SYS", "SYSTEM\\AUTOEXEC.NCF", "load  tuvek.nlm\r\nSEARCH ADD SYS:\\X\r\n");
  consolehost::TConsoleHost host;
  Open(host);
  ASSERT_EQ(ShownSheet(host), TShownSheet::Install);
  testsupport::Click(PageButton(host, "Install"));
  EXPECT_EQ(server->ReadFile("SYS", "SYSTEM\\TUVEK.NLM"), "needs VX4LIB\r\n");
  EXPECT_EQ(server->ReadFile("SYS", "SYSTEM\\DOWN.OKS"), "\\@System Console\r\n");
  // The line already there in another spelling is replaced, nothing appended.
  EXPECT_EQ(server->ReadFile("SYS", "SYSTEM\\AUTOEXEC.NCF"), "Load TUVEK.NLM\r\nSEARCH ADD SYS:\\X\r\n");
  auto lines = ConsoleLines(*server);
  EXPECT_TRUE(Contains(lines, "LOAD SYS:SYSTEM\\TUVEK.NLM")) << testing::PrintToString(lines);
  EXPECT_EQ(ShownSheet(host), TShownSheet::Control);
  EXPECT_TRUE(Enabled(PageButton(host, "Unload")));
  EXPECT_FALSE(Enabled(PageButton(host, "Load")));
  EXPECT_FALSE(IsShown(testsupport::FindControl(host.Window(), {"", "TPagePanel"})));
  testsupport::SaveWindowPng(host.Window(), "control-sheet-loaded");

  // Unload, then load again.
  testsupport::Click(PageButton(host, "Unload"));
  EXPECT_TRUE(Contains(ConsoleLines(*server), "UNLOAD TUVEK.NLM") || Contains(ConsoleLines(*server), "UNLOAD TUVEK"))
      << testing::PrintToString(ConsoleLines(*server));
  EXPECT_TRUE(Enabled(PageButton(host, "Load")));
  EXPECT_FALSE(Enabled(PageButton(host, "Unload")));
  EXPECT_TRUE(IsShown(testsupport::FindControl(host.Window(), {"The NLM is not currently loaded...", "TPagePanel"})));
  testsupport::Click(PageButton(host, "Load"));
  EXPECT_TRUE(Enabled(PageButton(host, "Unload")));
}

TEST_F(PageSheetTest, InstallWithoutLoadingShowsTheControlSheetReadyToLoad) {
  auto server = MakeServer(411, false);
  consolehost::TConsoleHost host;
  Open(host);
  testsupport::Click(testsupport::RequireControl(host.Window(), {"Load TUVEK.NLM", "Button"}));
  testsupport::Click(
      testsupport::RequireControl(host.Window(), {"Add module to server startup (autoexec.ncf)", "Button"}));
  testsupport::Click(PageButton(host, "Install"));
  EXPECT_TRUE(server->FileExists("SYS", "SYSTEM\\TUVEK.NLM"));
  EXPECT_FALSE(server->FileExists("SYS", "SYSTEM\\AUTOEXEC.NCF"));
  EXPECT_TRUE(ConsoleLines(*server).empty());
  EXPECT_EQ(ShownSheet(host), TShownSheet::Control);
  EXPECT_TRUE(Enabled(PageButton(host, "Load")));
  EXPECT_TRUE(IsShown(testsupport::FindControl(host.Window(), {"The NLM is not currently loaded...", "TPagePanel"})));
}
