// The control sheet's script actions against the simulated server: the list of scripts,
// play, lock and unlock as console lines, a new script, rename in place and remove.
#include <gtest/gtest.h>
#include <windows.h>
// (windows.h first)
#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "PageHost.h"
#include "Screenshot.h"

using namespace tuvektest;

namespace {

using ScriptActionTest = TPageHost;

bool Contains(const std::vector<std::string>& Lines, const std::string& Line) {
  return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
}

// Enter as the keyboard gives it: key down, the character, key up.
void PressEnter(HWND Window) {
  SendMessageA(Window, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(Window, WM_CHAR, '\r', 1);
  SendMessageA(Window, WM_KEYUP, VK_RETURN, 0xC0000001);
  testsupport::PumpMessages(50);
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

// A screen name typed over in place and taken with Enter; the editor goes on to the
// other lines after it.
TEST_F(ScriptActionTest, AScreenLineTakenWithEnterLeavesTheEditorWorking) {
  Start({{"A.OKS", "\\@MONITOR\r\nabc\r\n\\5\r\n"}});
  Select("A.OKS");
  HWND lines = LineEditor();
  ASSERT_NE(lines, nullptr);
  SetFocus(lines);
  // The line chosen, its editor opened with Enter, Text typed over and taken with Enter.
  auto editLine = [&](int Index, const char* Text) {
    testsupport::ChooseListItem(lines, Index);
    PressEnter(lines);
    HWND edit = GetFocus();
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(edit, lines);
    SetWindowTextA(edit, Text);
    PressEnter(edit);
    EXPECT_EQ(GetFocus(), lines);
  };
  editLine(0, "LOG");
  editLine(1, "xyz");  // the screen editor taken before is freed here
  editLine(0, "MONITOR");
  testsupport::ChooseListItem(lines, 2);
  PressEnter(lines);
  EXPECT_EQ(Host.Page()->StopEditing(), S_OK);
  testsupport::PumpMessages(50);
  testsupport::Click(PageButton(Host, "Save"));
  EXPECT_EQ(Script("A.OKS"), "\\@MONITOR\r\nxyz\r\n\\5\r\n");
}

TEST_F(ScriptActionTest, PlaySavesTheEditedScriptBeforeTheServerPlaysIt) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  AddLine("Delay");
  testsupport::Click(PageButton(Host, "Play"));
  EXPECT_TRUE(Contains(Console(), "!play A.OKS")) << testing::PrintToString(Console());
  EXPECT_EQ(Script("A.OKS"), "\\1\r\n\\@MONITOR\r\n");
  EXPECT_FALSE(Enabled("Save"));
}

TEST_F(ScriptActionTest, LockWaitsForTheModuleToBeLoaded) {
  ModuleLoaded = false;
  Start({{"A.OKS", "\\@MONITOR\r\n"}, {"LOCKED.OKS", std::string("\0\x12", 2)}});
  Select("A.OKS");
  EXPECT_TRUE(Enabled("Play"));
  EXPECT_FALSE(Enabled("Lock"));
  Select("LOCKED.OKS");
  EXPECT_FALSE(Enabled("Unlock"));
}

TEST_F(ScriptActionTest, ARefreshWithANonZeroFlagLeavesTheHostedPageAsItIs) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  Server->WriteFile("SYS", "SYSTEM\\B.OKS", "\\@MONITOR\r\n");
  EXPECT_EQ(Host.Page()->RefreshPage(VARIANT_TRUE), S_OK);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A.OKS"}));
  EXPECT_TRUE(IsShown(LineEditor()));  // the open script stays open
  EXPECT_EQ(Host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A.OKS", "B.OKS"}));
}

// Renaming the script that is open: the editor goes on with the script under the name it
// has afterwards, so what is added next lands in that file and nothing is lost.
TEST_F(ScriptActionTest, TheRenamedScriptStaysInTheEditorUnderTheNameItHas) {
  Start({{"A.OKS", "\\@MONITOR\r\nabc\r\n"}, {"TAKEN.OKS", "\\@MONITOR\r\n"}}, {"namespace SYS 0"});
  Select("A.OKS");
  AddLine("Delay");
  Rename("A.OKS", "B.OKS");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"B.OKS", "TAKEN.OKS"}));
  EXPECT_EQ(Script("B.OKS"), "\\1\r\n\\@MONITOR\r\nabc\r\n");  // saved before it moved
  ASSERT_TRUE(IsShown(LineEditor()));
  EXPECT_EQ(SendMessageA(LineEditor(), LB_GETCOUNT, 0, 0), 3);
  AddLine("Function Key");
  testsupport::Click(PageButton(Host, "Save"));
  EXPECT_EQ(Script("B.OKS"), "\\Enter\r\n\\1\r\n\\@MONITOR\r\nabc\r\n");
  EXPECT_FALSE(Server->FileExists("SYS", "SYSTEM\\A.OKS"));

  // The server refuses a name in use: the script stays open under its old name.
  testsupport::TUserThread user([] {
    HWND box = testsupport::WaitForWindow({"#32770", ""});
    testsupport::Click(testsupport::RequireControl(box, {"OK", "Button"}));
  });
  Rename("B.OKS", "TAKEN.OKS");
  EXPECT_EQ(user.Failure(), "");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"B.OKS", "TAKEN.OKS"}));
  ASSERT_TRUE(IsShown(LineEditor()));
  AddLine("Text");
  testsupport::Click(PageButton(Host, "Save"));
  EXPECT_EQ(Script("B.OKS"), "\r\n\\Enter\r\n\\1\r\n\\@MONITOR\r\nabc\r\n");
  EXPECT_EQ(Script("TAKEN.OKS"), "\\@MONITOR\r\n");
}

TEST_F(ScriptActionTest, ARenameWithoutAServerConnectionIsCancelledAndHidesTheEditor) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}}, {"stale-ref 7"});
  Select("A.OKS");
  AddLine("Delay");
  ASSERT_EQ(Host.Page()->SetConnection(7), S_OK);
  testsupport::TUserThread user([&] {
    HWND box = testsupport::WaitForWindow({"#32770", ""});
    testsupport::Click(testsupport::RequireControl(box, {"Cancel", "Button"}));
  });
  Rename("A.OKS", "B.OKS");
  EXPECT_EQ(user.Failure(), "");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"A.OKS"}));
  EXPECT_EQ(Script("A.OKS"), "\\1\r\n\\@MONITOR\r\n");
  EXPECT_FALSE(IsShown(LineEditor()));  // it cannot be read through the dead connection
}

// A script whose name has letters beyond ASCII: the server takes names in OEM characters,
// its files are reached through Windows in ANSI ones.
TEST_F(ScriptActionTest, AScriptNamedInNationalLettersIsMadeEditedPlayedLockedAndRemoved) {
  const std::string name = "\xC4\xD6\xDC\xC9.OKS";  // ÄÖÜÉ in the ANSI code page
  char oem[16] = {};
  CharToOemA(name.c_str(), oem);
  Start({}, {"namespace SYS 0"});
  testsupport::Click(PageButton(Host, "New"));
  HWND edit = reinterpret_cast<HWND>(SendMessageA(List, LVM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, name.c_str());
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  testsupport::PumpMessages(100);
  ASSERT_EQ(Captions(), (std::vector<std::string>{name}));
  EXPECT_TRUE(Server->FileExists("SYS", "SYSTEM\\" + name));
  EXPECT_FALSE(Server->FileExists("SYS", "SYSTEM\\NEW.OKS"));

  Select(name);
  ASSERT_TRUE(IsShown(LineEditor()));
  EXPECT_EQ(SendMessageA(LineEditor(), LB_GETCOUNT, 0, 0), 1);
  AddLine("Delay");
  testsupport::Click(PageButton(Host, "Save"));
  EXPECT_EQ(Script(name), "\\1\r\n\\@System Console\r\n");
  testsupport::Click(PageButton(Host, "Play"));
  EXPECT_TRUE(Contains(Console(), std::string("!play ") + oem)) << testing::PrintToString(Console());
  testsupport::Click(PageButton(Host, "Lock"));
  EXPECT_EQ(Script(name).substr(0, 1), std::string(1, '\0'));
  EXPECT_EQ(Image(0), 6);

  testsupport::TUserThread user([] {
    HWND box = testsupport::WaitForWindow({"#32770", ""});
    testsupport::Click(testsupport::RequireControl(box, {"&Yes", "Button"}));
  });
  testsupport::Click(PageButton(Host, "Remove"));
  EXPECT_EQ(user.Failure(), "");
  EXPECT_FALSE(Server->FileExists("SYS", "SYSTEM\\" + name));
  EXPECT_TRUE(Captions().empty());
}

// The page goes while a line is edited: the line is kept, the host hears nothing more.
TEST_F(ScriptActionTest, ClosingThePageWhileALineIsEditedSavesItSilently) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  UseMenu([&] { testsupport::Click(PageButton(Host, "Screen")); }, "Delay");
  ASSERT_EQ(Host.EditStates(), (std::vector<bool>{false}));
  Host.Close(true);
  EXPECT_EQ(Host.EditStates(), (std::vector<bool>{false}));
  EXPECT_EQ(Script("A.OKS"), "\\1\r\n\\@MONITOR\r\n");
}

// A script that cannot be written when the page goes: one error box, and the screen names
// are still kept for the next page.
TEST_F(ScriptActionTest, AFailedSaveWhileThePageGoesIsReportedOnce) {
  testsupport::TSavedRegistryTree screens(HKEY_CURRENT_USER, "Software\\Kavel\\Brenvik");
  testsupport::DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Kavel\\Brenvik");
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  AddLine("Delay");
  // A folder where the script was: the file cannot be written again.
  std::string path = Server->HostPath("SYS", "SYSTEM\\A.OKS");
  ASSERT_TRUE(DeleteFileA(path.c_str()));
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  std::vector<std::string> boxes;
  testsupport::TUserThread user([&] {
    for (;;) {
      HWND box = nullptr;
      try {
        box = testsupport::WaitForWindow({"#32770", ""}, boxes.empty() ? 5000 : 1500);
      } catch (const std::exception&) {
        if (boxes.empty()) throw;
        return;  // no second box
      }
      boxes.push_back(testsupport::MessageBoxText(box));
      testsupport::Click(testsupport::RequireControl(box, {"OK", "Button"}));
      testsupport::WaitForWindowToGo(box);
    }
  });
  Host.Close();
  EXPECT_EQ(user.Failure(), "");
  RemoveDirectoryA(path.c_str());
  EXPECT_EQ(boxes, std::vector<std::string>{"Cant write script A.OKS"});
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kavel\\Brenvik\\Tuvek.IList_Screens", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
}
