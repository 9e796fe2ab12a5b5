// The control sheet's script actions against the simulated server: the list of scripts,
// play, lock and unlock as console lines, a new script, rename in place and remove.
#include <gtest/gtest.h>
#include <windows.h>
// (windows.h first)
#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "Screenshot.h"
#include "TuvekHarness.h"
#include "UiDriver.h"

using namespace tuvektest;

namespace {

struct ScriptActionTest : ::testing::Test {
  TSavedPageRegistry Saved;
  std::unique_ptr<TToolsFolder> Tools;
  std::unique_ptr<nwtest::TSimServer> Server;
  consolehost::TConsoleHost Host;
  HWND List = nullptr;

  void SetUp() override {
    ASSERT_EQ(consolehost::RunRegsvr32(LibraryPath(), false), 0);
    Tools = std::make_unique<TToolsFolder>();
  }
  void TearDown() override {
    Host.Close();
    Server.reset();
    Tools.reset();
  }
  // A 4.11 server with TUVEK loaded and the scripts given (name, content).
  void Start(const std::vector<std::pair<std::string, std::string>>& Scripts,
             const std::vector<std::string>& Extra = {}) {
    std::vector<std::string> config = {"module VX4LIB.NLM", "module TUVEK.NLM"};
    config.insert(config.end(), Extra.begin(), Extra.end());
    Server = MakeServer(411, true, config);
    for (const auto& [name, content] : Scripts) Server->WriteFile("SYS", "SYSTEM\\" + name, content);
    Host.Open(PageClassId());
    Host.ConnRef = 1;
    ASSERT_EQ(Host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
    List = testsupport::FindControl(Host.Window(), {"", "SysListView32"});
    ASSERT_NE(List, nullptr);
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    int count = static_cast<int>(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[260] = {};
      LVITEMA item{};
      item.iSubItem = 0;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(List, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      captions.push_back(text);
    }
    return captions;
  }
  int Image(int Index) const {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = Index;
    SendMessageA(List, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
  // Selects a script as a click would.
  void Select(const std::string& Caption) {
    auto captions = Captions();
    auto it = std::find(captions.begin(), captions.end(), Caption);
    ASSERT_NE(it, captions.end()) << Caption;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List, LVM_SETITEMSTATE, static_cast<WPARAM>(it - captions.begin()), reinterpret_cast<LPARAM>(&state));
    testsupport::PumpMessages(50);
  }
  bool Enabled(const std::string& Caption) {
    HWND button = PageButton(Host, Caption);
    return button != nullptr && IsWindowEnabled(button);
  }
  std::vector<std::string> Console() const { return ConsoleLines(*Server); }
  // Open brings up a pop-up menu on this thread; a user reads it and chooses Choice, or
  // closes it with Escape when Choice is empty. Returns the captions ("-" for a line,
  // "(off)" appended to greyed items).
  std::vector<std::string> UseMenu(const std::function<void()>& Open, const std::string& Choice,
                                   RECT* Where = nullptr) {
    std::vector<std::string> seen;
    testsupport::TUserThread user([&] {
      HWND menu = testsupport::WaitForPopupMenu();
      for (const testsupport::TMenuItemInfo& item : testsupport::MenuItems(menu))
        seen.push_back(item.Caption + (item.Enabled || item.Caption == "-" ? "" : " (off)"));
      if (Where != nullptr) GetWindowRect(menu, Where);
      if (Choice.empty())
        testsupport::DismissMenu(menu);
      else
        testsupport::ChooseMenuItem(menu, Choice);
    });
    Open();
    EXPECT_EQ(user.Failure(), "");
    testsupport::PumpMessages(50);
    return seen;
  }
  void RightClick(HWND Window) {
    SendMessageA(Window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window), MAKELPARAM(10, 10));
  }
  HWND LineEditor() const { return testsupport::FindControl(Host.Window(), {"", "ListBox"}); }
};

bool Contains(const std::vector<std::string>& Lines, const std::string& Line) {
  return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
}

}  // namespace

TEST_F(ScriptActionTest, TheListShowsTheScriptsAndMarksEncodedOnes) {
  Start({{"B.OKS", "\\@System Console\r\n"}, {"A.OKS", "\\@MONITOR\r\n"}, {"LOCKED.OKS", std::string("\0\x12", 2)}});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A.OKS", "B.OKS", "LOCKED.OKS"}));
  EXPECT_EQ(Image(2), 6);
  EXPECT_NE(Image(0), 6);
  // The lock is a picture of the list's image list, which the tool buttons share.
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(List, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(images, nullptr);
  EXPECT_GT(ImageList_GetImageCount(images), 6);
  for (const char* caption : {"Load", "Unload", "New", "Save", "Remove", "Play", "Lock", "Unlock", "About"}) {
    HWND button = PageButton(Host, caption);
    ASSERT_NE(button, nullptr) << caption;
    EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0), 0) << caption;
  }
  EXPECT_FALSE(Enabled("Play"));
  Select("A.OKS");
  EXPECT_TRUE(Enabled("Play"));
  EXPECT_TRUE(Enabled("Lock"));
  EXPECT_FALSE(Enabled("Unlock"));
  EXPECT_TRUE(IsShown(testsupport::FindControl(Host.Window(), {"", "ListBox"})));
  testsupport::SaveWindowPng(Host.Window(), "script-open");
  // An encoded script is not opened, and can only be unlocked.
  Select("LOCKED.OKS");
  EXPECT_FALSE(Enabled("Lock"));
  EXPECT_TRUE(Enabled("Unlock"));
  EXPECT_FALSE(IsShown(testsupport::FindControl(Host.Window(), {"", "ListBox"})));
}

TEST_F(ScriptActionTest, PlayLockAndUnlockRunTheirConsoleLines) {
  Start({{"A.OKS", "\\@MONITOR\r\nabc\r\n"}});
  Select("A.OKS");
  testsupport::Click(PageButton(Host, "Play"));
  EXPECT_TRUE(Contains(Console(), "!play A.OKS")) << testing::PrintToString(Console());
  testsupport::Click(PageButton(Host, "Lock"));
  EXPECT_TRUE(Contains(Console(), "!encode SYS:SYSTEM\\A.OKS")) << testing::PrintToString(Console());
  EXPECT_EQ(Server->ReadFile("SYS", "SYSTEM\\A.OKS").substr(0, 1), std::string(1, '\0'));
  EXPECT_EQ(Image(0), 6);
  EXPECT_TRUE(Enabled("Unlock"));
  EXPECT_FALSE(Enabled("Lock"));
  testsupport::Click(PageButton(Host, "Unlock"));
  EXPECT_TRUE(Contains(Console(), "!decode SYS:SYSTEM\\A.OKS")) << testing::PrintToString(Console());
  EXPECT_EQ(Server->ReadFile("SYS", "SYSTEM\\A.OKS"), "\\@MONITOR\r\nabc\r\n");
  EXPECT_NE(Image(0), 6);
  EXPECT_TRUE(Enabled("Lock"));
}

TEST_F(ScriptActionTest, NewScriptsTakeTheNextFreeNameAndAreOfferedForRenaming) {
  Start({{"NEW.OKS", "\\@System Console\r"}}, {"namespace SYS 0"});
  testsupport::Click(PageButton(Host, "New"));
  EXPECT_TRUE(Server->FileExists("SYS", "SYSTEM\\NEW(1).OKS"));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"NEW(1).OKS", "NEW.OKS"}));
  HWND edit = reinterpret_cast<HWND>(SendMessageA(List, LVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr) << "no caption edit started";
  EXPECT_EQ(testsupport::ControlText(edit), "NEW(1).OKS");
  // Renamed in place; the volume keeps no long names, so the name is upper-cased.
  SetWindowTextA(edit, "boot.oks");
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  testsupport::PumpMessages(100);
  EXPECT_TRUE(Server->FileExists("SYS", "SYSTEM\\BOOT.OKS"));
  EXPECT_FALSE(Server->FileExists("SYS", "SYSTEM\\NEW(1).OKS"));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"BOOT.OKS", "NEW.OKS"}));
}

TEST_F(ScriptActionTest, ARenameWithoutTheScriptExtensionIsRefused) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  SendMessageA(List, LVM_EDITLABELA, 0, 0);
  HWND edit = reinterpret_cast<HWND>(SendMessageA(List, LVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "..\\A.TXT");
  testsupport::TUserThread user([] {
    HWND box = testsupport::WaitForWindow({"#32770", ""});
    testsupport::Click(testsupport::RequireControl(box, {"OK", "Button"}));
  });
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(user.Failure(), "");
  EXPECT_TRUE(Server->FileExists("SYS", "SYSTEM\\A.OKS"));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A.OKS"}));
}

TEST_F(ScriptActionTest, RemovingTheEditedScriptClosesItFirst) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}, {"B.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  testsupport::TUserThread user([] {
    HWND box = testsupport::WaitForWindow({"#32770", ""});
    testsupport::Click(testsupport::RequireControl(box, {"&Yes", "Button"}));
  });
  testsupport::Click(PageButton(Host, "Remove"));
  EXPECT_EQ(user.Failure(), "");
  EXPECT_FALSE(Server->FileExists("SYS", "SYSTEM\\A.OKS"));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"B.OKS"}));
  // Nothing writes the removed script again when the page goes.
  Host.Close();
  EXPECT_FALSE(Server->FileExists("SYS", "SYSTEM\\A.OKS"));
}

TEST_F(ScriptActionTest, LineEditingIsReportedToTheHostAndEndedByIt) {
  testsupport::TSavedRegistryTree screens(HKEY_CURRENT_USER, "Software\\Kavel\\Brenvik");
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  // The tool button drops down the insert menu.
  RECT where{};
  EXPECT_EQ(UseMenu([&] { testsupport::Click(PageButton(Host, "Screen")); }, "Text", &where),
            (std::vector<std::string>{"Text", "Function Key", "Delay", "Screen"}));
  RECT button{};
  GetWindowRect(PageButton(Host, "Screen"), &button);
  EXPECT_EQ(where.left, button.left);
  EXPECT_EQ(where.top, button.bottom);
  ASSERT_EQ(Host.EditStates(), (std::vector<bool>{false}));
  EXPECT_FALSE(Enabled("Delete"));
  EXPECT_FALSE(Enabled("Screen"));
  testsupport::SaveWindowPng(Host.Window(), "page-line-inserted");
  EXPECT_EQ(Host.Page()->StopEditing(), S_OK);
  testsupport::PumpMessages(50);
  EXPECT_EQ(Host.EditStates(), (std::vector<bool>{false, true}));
  EXPECT_TRUE(Enabled("Delete"));
  EXPECT_TRUE(Enabled("Screen"));
  EXPECT_TRUE(Enabled("Save"));
  testsupport::Click(PageButton(Host, "Save"));
  EXPECT_FALSE(Enabled("Save"));
  EXPECT_EQ(Server->ReadFile("SYS", "SYSTEM\\A.OKS"), "\r\n\\@MONITOR\r\n");
  // The screen names the editor met are kept for the next page.
  Host.Close();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kavel\\Brenvik\\Tuvek.IList_Screens", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  char value[64] = {};
  DWORD size = sizeof value - 1;
  EXPECT_EQ(RegQueryValueExA(key, "Item0", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(value, "MONITOR");
}

TEST_F(ScriptActionTest, TheScriptListsMenuOffersNewRemoveAndPlay) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  EXPECT_EQ(UseMenu([&] { RightClick(List); }, ""), (std::vector<std::string>{"New", "Remove (off)", "Play (off)"}));
  Select("A.OKS");
  EXPECT_EQ(UseMenu([&] { RightClick(List); }, "Play"), (std::vector<std::string>{"New", "Remove", "Play"}));
  EXPECT_TRUE(Contains(Console(), "!play A.OKS")) << testing::PrintToString(Console());
  UseMenu([&] { RightClick(List); }, "New");
  EXPECT_TRUE(Server->FileExists("SYS", "SYSTEM\\NEW.OKS"));
}

TEST_F(ScriptActionTest, TheLineEditorsMenusInsertAfterTheKeyAndDeleteTheLine) {
  Start({{"A.OKS", "\\@MONITOR\r\nabc\r\n"}});
  Select("A.OKS");
  HWND lines = LineEditor();
  ASSERT_NE(lines, nullptr);
  testsupport::ChooseListItem(lines, 1);
  // Insert opens the insert menu beside the current line.
  RECT where{};
  EXPECT_EQ(UseMenu([&] { SendMessageA(lines, WM_KEYDOWN, VK_INSERT, 0); }, "Delay", &where),
            (std::vector<std::string>{"Text", "Function Key", "Delay", "Screen"}));
  POINT origin{0, 0};
  ClientToScreen(lines, &origin);
  int height = static_cast<int>(SendMessageA(lines, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(where.left, origin.x + 20);
  EXPECT_EQ(where.top, origin.y + height + height / 2);
  EXPECT_EQ(Host.EditStates(), (std::vector<bool>{false}));
  EXPECT_EQ(Host.Page()->StopEditing(), S_OK);
  testsupport::PumpMessages(50);
  // The new line went before the current one.
  EXPECT_EQ(SendMessageA(lines, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(lines, LB_GETCURSEL, 0, 0), 1);

  // The editor's own menu: the insert choices, a line and Delete, greyed while a line is edited.
  EXPECT_EQ(UseMenu([&] { RightClick(lines); }, "Delete"),
            (std::vector<std::string>{"Text", "Function Key", "Delay", "Screen", "-", "Delete"}));
  EXPECT_EQ(SendMessageA(lines, LB_GETCOUNT, 0, 0), 2);
  UseMenu([&] { RightClick(lines); }, "Screen");
  EXPECT_EQ(UseMenu([&] { RightClick(lines); }, ""),
            (std::vector<std::string>{"Text (off)", "Function Key (off)", "Delay (off)", "Screen (off)", "-",
                                      "Delete (off)"}));
  EXPECT_EQ(Host.Page()->StopEditing(), S_OK);
}

TEST_F(ScriptActionTest, TheAboutBoxShowsAndCloses) {
  Start({});
  testsupport::TUserThread user([] {
    HWND box = testsupport::WaitForWindow({"", "About"});
    testsupport::SaveWindowPng(box, "about-box");
    testsupport::Click(testsupport::RequireControl(box, {"OK", "Button"}));
  });
  testsupport::Click(PageButton(Host, "About"));
  EXPECT_EQ(user.Failure(), "");
}
