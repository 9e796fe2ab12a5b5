#include <gtest/gtest.h>
#include <windows.h>

#include "support/FileAttributes.h"
#include "support/OpenFolderDialog.h"

using namespace setup;

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

// Answers the browser when it shows: types a path into the path edit and presses OK.
std::string gTyped;
bool gSawControls = false;
BOOL CALLBACK FindBrowser(HWND Wnd, LPARAM Found) {
  char cls[16] = "";
  GetClassNameA(Wnd, cls, sizeof cls);
  if (IsWindowVisible(Wnd) && strcmp(cls, "#32770") == 0) {
    *reinterpret_cast<HWND*>(Found) = Wnd;
    return FALSE;
  }
  return TRUE;
}
void CALLBACK AnswerBrowser(HWND, UINT, UINT_PTR Timer, DWORD) {
  HWND browser = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBrowser, reinterpret_cast<LPARAM>(&browser));
  if (browser == nullptr) return;
  KillTimer(nullptr, Timer);
  HWND edit = FindWindowExA(browser, nullptr, "Edit", nullptr);
  HWND ok = GetDlgItem(browser, IDOK);
  gSawControls = edit != nullptr && ok != nullptr;
  if (edit == nullptr || ok == nullptr) {
    PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  SetWindowTextA(edit, gTyped.c_str());
  SendMessageA(edit, WM_KEYUP, VK_END, 0);
  SendMessageA(ok, BM_CLICK, 0, 0);
}

TEST(FolderDialog, ATypedPathIsCreatedAndChosen) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string base = std::string(temp) + "folder-dialog-" + std::to_string(GetCurrentProcessId());
  gTyped = base + "\\new\\deeper";
  TOpenFolderDialog dialog(nullptr);
  dialog.Directory = temp;
  SetTimer(nullptr, 0, 100, &AnswerBrowser);
  bool chosen = dialog.Execute();
  EXPECT_TRUE(gSawControls);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(dialog.Directory, gTyped);
  EXPECT_TRUE(FolderExists(gTyped));
  RemoveDirectoryA(gTyped.c_str());
  RemoveDirectoryA((base + "\\new").c_str());
  RemoveDirectoryA(base.c_str());
  EXPECT_EQ(dialog.PathEdit(), nullptr);  // the controls go with the browser
}

// Types a new path and presses the new-folder button; when the browser opens again,
// presses OK.
TOpenFolderDialog* gDialog = nullptr;
HWND gFirstBrowser = nullptr;
int gRuns = 0;
void CALLBACK CreateThroughButton(HWND, UINT, UINT_PTR Timer, DWORD) {
  HWND browser = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBrowser, reinterpret_cast<LPARAM>(&browser));
  if (browser == nullptr || browser == gFirstBrowser) return;
  if (gFirstBrowser == nullptr) {
    gFirstBrowser = browser;
    gRuns = 1;
    HWND edit = gDialog->PathEdit() != nullptr ? gDialog->PathEdit()->Handle() : nullptr;
    if (edit == nullptr || gDialog->CreateButton() == nullptr) {
      KillTimer(nullptr, Timer);
      PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    SetWindowTextA(edit, gTyped.c_str());
    SendMessageA(edit, WM_KEYUP, VK_END, 0);
    SendMessageA(gDialog->CreateButton()->Handle(), BM_CLICK, 0, 0);
    return;
  }
  gRuns = 2;
  KillTimer(nullptr, Timer);
  SendMessageA(GetDlgItem(browser, IDOK), BM_CLICK, 0, 0);
}

TEST(FolderDialog, TheNewFolderButtonCreatesTheTypedPathAndOpensTheBrowserOnIt) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string base = std::string(temp) + "folder-button-" + std::to_string(GetCurrentProcessId());
  gTyped = base + "\\made";
  TOpenFolderDialog dialog(nullptr);
  dialog.Directory = temp;
  int vetoes = 0;
  dialog.OnBeforeCreate = [&](fw::TObject*, bool& Allow) {
    ++vetoes;
    Allow = true;
  };
  gDialog = &dialog;
  SetTimer(nullptr, 0, 100, &CreateThroughButton);
  bool chosen = dialog.Execute();
  gDialog = nullptr;
  EXPECT_EQ(gRuns, 2);
  EXPECT_EQ(vetoes, 1);
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(FolderExists(gTyped));
  EXPECT_EQ(dialog.Directory, gTyped);
  RemoveDirectoryA(gTyped.c_str());
  RemoveDirectoryA(base.c_str());
}

}  // namespace
