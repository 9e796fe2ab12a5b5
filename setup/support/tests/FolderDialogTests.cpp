#include <gtest/gtest.h>
#include <windows.h>

#include "Files.h"
#include "Screenshot.h"
#include "UiDriver.h"
#include "core/SysUtils.h"
#include "support/OpenFolderDialog.h"

using namespace setup;
using namespace testsupport;

namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(FolderDialogLayout, ControlsFitBetweenTreeAndButtons) {
  RECT tree{10, 40, 300, 340}, ok{140, 350, 215, 373}, cancel{225, 350, 300, 373};
  TFolderDialogLayout layout = LayoutFolderDialog(&tree, &ok, &cancel, true);
  EXPECT_TRUE(SameRect(layout.Tree, RECT{10, 40, 300, 280}));
  EXPECT_TRUE(SameRect(layout.Edit, RECT{10, 295, 300, 318}));
  // Left of OK by the gap between OK and Cancel, in a row 22 pixels above OK.
  EXPECT_TRUE(SameRect(layout.Button, RECT{10, 328, 130, 351}));
  TFolderDialogLayout noEdit = LayoutFolderDialog(&tree, &ok, &cancel, false);
  EXPECT_TRUE(SameRect(noEdit.Tree, tree));
  TFolderDialogLayout bare = LayoutFolderDialog(nullptr, &ok, nullptr, true);
  EXPECT_TRUE(SameRect(bare.Button, RECT{20, 230, 140, 253}));
  EXPECT_TRUE(SameRect(bare.Edit, RECT{20, 230, 140, 253}));
}

TEST(FolderDialogSelection, TheDeepestExistingFolderWithRootsKeepingTheirBackslash) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string drive = std::string(windows, 2);
  EXPECT_EQ(BrowserSelectionPath(std::string(windows) + "\\no-such-folder\\deeper"), windows);
  EXPECT_EQ(BrowserSelectionPath(std::string(windows) + "\\"), windows);
  EXPECT_EQ(BrowserSelectionPath(drive + "\\no-such-folder\\deeper"), drive + "\\");
  EXPECT_EQ(BrowserSelectionPath(""), "");
}

// The browser is a modal dialog of the test's thread: a user on a second thread answers it.
class FolderDialog : public ::testing::Test {
 protected:
  TWindowQuery Browser() const { return {.ClassName = "#32770", .ThreadId = FTestThread}; }
  static HWND PathEdit(HWND Browser) { return RequireControl(Browser, {.ClassName = "Edit"}); }
  // The button beside the browser's own two; the system may have no caption for it.
  static HWND NewFolderButton(HWND Browser) {
    for (const TControlInfo& control : ListControls(Browser))
      if (fw::SameText(control.ClassName, "Button") && control.Id != IDOK && control.Id != IDCANCEL &&
          control.Text == TOFDResourceStrings::NewFolderCaption())
        return control.Handle;
    throw EUiDriver("no new-folder button");
  }
  // Types a path as a user does: the text, then a key let go.
  static void TypePath(HWND Browser, const std::string& Path) {
    SetEditText(PathEdit(Browser), Path);
    PressKey(PathEdit(Browser), VK_END);
  }
  // The text of the browser's path edit once it shows Expected, or what it shows after a
  // while: the browser fills it in after it appears.
  static std::string SettledPath(HWND Browser, const std::string& Expected) {
    std::string shown;
    WaitUntil(
        [&] {
          HWND edit = FindControl(Browser, {.ClassName = "Edit"});
          shown = edit != nullptr ? ControlText(edit) : "";
          return fw::SameText(shown, Expected);
        },
        8000);
    return shown;
  }
  // The next browser that is not Previous.
  HWND NextBrowser(HWND Previous) const {
    HWND next = nullptr;
    if (!WaitUntil([&] { return (next = FindTopLevelWindow(Browser())) != nullptr && next != Previous; }))
      throw EUiDriver("the browser did not open again");
    return next;
  }

  TScratchFolder Scratch{"folder-dialog"};

 private:
  DWORD FTestThread = GetCurrentThreadId();
};

TEST_F(FolderDialog, ATypedPathIsCreatedAndChosen) {
  std::string typed = Scratch / "new\\deeper";
  TOpenFolderDialog dialog(nullptr);
  dialog.Directory = Scratch.Path();
  TUserThread user([&] {
    HWND browser = WaitForWindow(Browser());
    EXPECT_TRUE(IsWindowVisible(NewFolderButton(browser)));
    TypePath(browser, typed);
    SaveWindowPng(browser, "folder-dialog-typed");
    Click(RequireControl(browser, {.Id = IDOK}));
  });
  bool chosen = dialog.Execute();
  EXPECT_EQ(user.Failure(), "");
  EXPECT_TRUE(chosen);
  EXPECT_EQ(dialog.Directory, typed);
  EXPECT_TRUE(testsupport::FolderExists(typed));
  EXPECT_EQ(dialog.PathEdit(), nullptr);  // the controls go with the browser
}

TEST_F(FolderDialog, TheBrowserOpensOnTheDirectoryAndCancelKeepsIt) {
  // A folder the shell has long known: a new one may not be listed yet on a busy machine.
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  TOpenFolderDialog dialog(nullptr);
  dialog.Directory = windows;
  std::string shown;
  TUserThread user([&] {
    HWND browser = WaitForWindow(Browser());
    shown = SettledPath(browser, windows);
    Click(RequireControl(browser, {.Id = IDCANCEL}));
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(user.Failure(), "");
  EXPECT_TRUE(fw::SameText(shown, windows)) << shown;
  EXPECT_EQ(dialog.Directory, windows);
}

TEST_F(FolderDialog, TheNewFolderButtonCreatesTheTypedPathAndOpensTheBrowserOnIt) {
  std::string typed = Scratch / "made";
  TOpenFolderDialog dialog(nullptr);
  dialog.Directory = Scratch.Path();
  int vetoes = 0;
  dialog.OnBeforeCreate = [&](fw::TObject*, bool& Allow) {
    ++vetoes;
    Allow = true;
  };
  std::string reopenedOn;
  TUserThread user([&] {
    HWND first = WaitForWindow(Browser());
    TypePath(first, typed);
    Click(NewFolderButton(first));
    HWND second = NextBrowser(first);
    reopenedOn = SettledPath(second, typed);
    SaveWindowPng(second, "folder-dialog-reopened");
    Click(RequireControl(second, {.Id = IDOK}));
  });
  bool chosen = dialog.Execute();
  EXPECT_EQ(user.Failure(), "");
  EXPECT_EQ(vetoes, 1);
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(testsupport::FolderExists(typed));
  // The shell may not list the new folder yet when the browser opens again (Wine, busy
  // machine): the tree then selects nothing and the edit stays empty; never another path.
  EXPECT_TRUE(reopenedOn == typed || reopenedOn.empty()) << reopenedOn;
  EXPECT_EQ(dialog.Directory, typed);
}

TEST_F(FolderDialog, ForAFolderThatExistsTheNewFolderButtonAsksForAName) {
  TOpenFolderDialog dialog(nullptr);
  dialog.Directory = Scratch.Path();
  TUserThread user([&] {
    HWND browser = WaitForWindow(Browser());
    TypePath(browser, Scratch.Path());
    Click(NewFolderButton(browser));
    HWND query = WaitForWindow({.ClassName = "TForm", .Caption = TOFDResourceStrings::NewFolderCaption()});
    SetEditText(RequireControl(query, {.ClassName = "Edit"}), "Named");
    SaveWindowPng(query, "folder-dialog-name-query");
    Click(RequireControl(query, {.Caption = "OK"}));
    Click(RequireControl(NextBrowser(browser), {.Id = IDOK}));
  });
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(user.Failure(), "");
  EXPECT_TRUE(testsupport::FolderExists(Scratch / "Named"));
  EXPECT_EQ(dialog.Directory, Scratch / "Named");
}

TEST_F(FolderDialog, AVetoedNewFolderIsNotMadeAndTheBrowserStays) {
  TOpenFolderDialog dialog(nullptr);
  dialog.Directory = Scratch.Path();
  dialog.OnBeforeCreate = [](fw::TObject*, bool& Allow) { Allow = false; };
  TUserThread user([&] {
    HWND browser = WaitForWindow(Browser());
    TypePath(browser, Scratch / "vetoed");
    Click(NewFolderButton(browser));
    EXPECT_FALSE(WaitForWindowToGo(browser, 300));
    Click(RequireControl(browser, {.Id = IDCANCEL}));
  });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(user.Failure(), "");
  EXPECT_FALSE(testsupport::FolderExists(Scratch / "vetoed"));
}

}  // namespace

TEST(FolderDialogTexts, AreNeverEmptyEvenWhereTheSystemLacksThem) {
  EXPECT_FALSE(TOFDResourceStrings::NewFolderCaption().empty());
  EXPECT_FALSE(TOFDResourceStrings::NewFolderPrompt().empty());
  EXPECT_FALSE(TOFDResourceStrings::BrowseTitle().empty());
}
