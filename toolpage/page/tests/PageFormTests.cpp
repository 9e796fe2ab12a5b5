// The page's form as the user meets it: the splitter between the script list and the line
// editor, the tool bars' tooltips, lines dragged in the editor, the about box, and a page
// the host has hidden.
#include <gtest/gtest.h>
#include <ole2.h>
#include <wrl/client.h>

#include "PageHost.h"
#include "Screenshot.h"

using Microsoft::WRL::ComPtr;
using namespace tuvektest;

namespace {

struct PageFormTest : TPageHost {
  RECT WindowRect(HWND Window) const {
    RECT r{};
    GetWindowRect(Window, &r);
    return r;
  }
  // The host hides or shows the control, as a console does when the user leaves the tool.
  void ShowPage(bool Show) {
    ComPtr<IOleObject> object;
    ASSERT_TRUE(SUCCEEDED(Host.Page()->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.GetAddressOf()))));
    EXPECT_EQ(object->DoVerb(Show ? OLEIVERB_SHOW : OLEIVERB_HIDE, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
    testsupport::PumpMessages(50);
  }
};

// A window's own mouse messages at a point of its client area.
void Mouse(HWND Window, UINT Message, int X, int Y) {
  SendMessageA(Window, Message, Message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(X, Y));
}

}  // namespace

TEST_F(PageFormTest, TheSplitterSharesTheRoomBetweenTheListAndTheEditor) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  HWND splitter = testsupport::FindControl(Host.Window(), {"", "TSplitter"});
  ASSERT_NE(splitter, nullptr);
  RECT list = WindowRect(List), editor = WindowRect(LineEditor());
  EXPECT_EQ(list.right - list.left, 120);
  EXPECT_EQ(WindowRect(splitter).left, list.right);
  // Dragged 60 pixels to the right: the list grows, the editor gives way.
  Mouse(splitter, WM_LBUTTONDOWN, 1, 40);
  Mouse(splitter, WM_MOUSEMOVE, 61, 40);
  Mouse(splitter, WM_LBUTTONUP, 1, 40);
  testsupport::PumpMessages(50);
  EXPECT_EQ(WindowRect(List).right - WindowRect(List).left, 180);
  EXPECT_EQ(WindowRect(LineEditor()).left, editor.left + 60);
  EXPECT_EQ(WindowRect(LineEditor()).right, editor.right);
  testsupport::SaveWindowPng(Host.Window(), "page-splitter-dragged");
  // Far to the left the list keeps its least width.
  Mouse(splitter, WM_LBUTTONDOWN, 1, 40);
  Mouse(splitter, WM_LBUTTONUP, -400, 40);
  EXPECT_EQ(WindowRect(List).right - WindowRect(List).left, 40);
}

TEST_F(PageFormTest, AToolButtonsHintShowsAsATooltip) {
  Start({{"A.OKS", "\\@MONITOR\r\n"}});
  HWND button = PageButton(Host, "New");
  ASSERT_NE(button, nullptr);
  RECT r = WindowRect(button);
  // The mouse comes to rest over the button.
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
  HWND tip = nullptr;
  bool shown = testsupport::WaitUntil(
      [&] {
        tip = testsupport::FindTopLevelWindow({.ClassName = "tooltips_class32", .ProcessId = GetCurrentProcessId()});
        return tip != nullptr;
      },
      5000);
  ASSERT_TRUE(shown) << "no tooltip over the button";
  EXPECT_EQ(testsupport::ControlText(tip), "Create new keyboard script");
  testsupport::SaveWindowPng(Host.Window(), "page-tooltip");
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

TEST_F(PageFormTest, LinesAreDraggedIntoANewOrderOnThePage) {
  Start({{"A.OKS", "\\@MONITOR\r\none\r\ntwo\r\n"}});
  Select("A.OKS");
  HWND lines = LineEditor();
  ASSERT_NE(lines, nullptr);
  int height = static_cast<int>(SendMessageA(lines, LB_GETITEMHEIGHT, 0, 0));
  // The screen line is pressed, dragged and dropped on the "." line after the last.
  Mouse(lines, WM_LBUTTONDOWN, 30, height / 2);
  Mouse(lines, WM_MOUSEMOVE, 30, height / 2 + 8);
  Mouse(lines, WM_MOUSEMOVE, 30, 3 * height + height / 2);
  Mouse(lines, WM_LBUTTONUP, 30, 3 * height + height / 2);
  testsupport::PumpMessages(50);
  EXPECT_TRUE(Enabled("Save")) << "the moved line can be saved";
  testsupport::Click(PageButton(Host, "Play"));  // saves first
  EXPECT_EQ(Script("A.OKS"), "one\r\ntwo\r\n\\@MONITOR\r\n");
}

TEST_F(PageFormTest, TheAboutBoxShowsTheProgramsIconInItsPanel) {
  Start({});
  bool iconDrawn = false;
  testsupport::TUserThread user([&] {
    HWND box = testsupport::WaitForWindow({"", "About"});
    testsupport::PumpMessages(300);
    HDC dc = GetDC(box);
    COLORREF face = GetPixel(dc, 200, 100);
    // The 16-pixel icon in the middle of its 32-pixel place at (16, 16) of the box.
    for (int y = 24; y < 40 && !iconDrawn; ++y)
      for (int x = 24; x < 40 && !iconDrawn; ++x) iconDrawn = GetPixel(dc, x, y) != face;
    ReleaseDC(box, dc);
    testsupport::SaveWindowPng(box, "about-box");
    testsupport::Click(testsupport::RequireControl(box, {"OK", "Button"}));
  });
  testsupport::Click(PageButton(Host, "About"));
  EXPECT_EQ(user.Failure(), "");
  EXPECT_TRUE(iconDrawn);
}

// While the host keeps the page hidden, choosing a script does not open it, and the line
// tools stay off when editing ends there.
TEST_F(PageFormTest, AHiddenPageIgnoresTheListAndKeepsItsLineToolsOff) {
  Start({{"A.OKS", "\\@MONITOR\r\none\r\n"}, {"B.OKS", "\\@MONITOR\r\n"}});
  Select("A.OKS");
  UseMenu([&] { testsupport::Click(PageButton(Host, "Screen")); }, "Delay");
  ShowPage(false);
  EXPECT_EQ(Host.Page()->StopEditing(), S_OK);
  testsupport::PumpMessages(50);
  Select("B.OKS");
  ShowPage(true);
  EXPECT_EQ(SendMessageA(LineEditor(), LB_GETCOUNT, 0, 0), 3);  // still A.OKS with its new line
  EXPECT_FALSE(Enabled("Screen"));
  EXPECT_FALSE(Enabled("Delete"));
  EXPECT_TRUE(Enabled("Save"));
}
