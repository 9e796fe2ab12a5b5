// The UI driver on plain windows: waiting pumps the test thread's messages and gives up
// at its deadline; screenshots show what the screen shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "Files.h"
#include "PngReader.h"
#include "Screenshot.h"
#include "UiDriver.h"
#include "gui/WinHandles.h"

using namespace testsupport;

namespace {

constexpr COLORREF kColour = RGB(200, 30, 40);

// A top-level popup window filled with one colour, of a class of its own.
class TColourWindow {
 public:
  TColourWindow(const char* Caption, RECT Bounds) : FBrush(CreateSolidBrush(kColour)) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hbrBackground = FBrush.Get();
    cls.lpszClassName = kClass;
    RegisterClassA(&cls);
    FWnd = CreateWindowExA(0, kClass, Caption, WS_POPUP, Bounds.left, Bounds.top, Bounds.right - Bounds.left,
                           Bounds.bottom - Bounds.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~TColourWindow() {
    DestroyWindow(FWnd);
    UnregisterClassA(kClass, GetModuleHandleA(nullptr));
  }
  HWND Handle() const { return FWnd; }
  static constexpr char kClass[] = "StavrelColourWindow";

 private:
  fw::TBrushHandle FBrush;
  HWND FWnd = nullptr;
};

void CALLBACK ShowLater(HWND, UINT, UINT_PTR Timer, DWORD) {
  KillTimer(nullptr, Timer);
  ShowWindow(FindWindowA(TColourWindow::kClass, "Shown later"), SW_SHOWNOACTIVATE);
}

TEST(WaitForWindow, PumpsTheTestThreadsMessagesWhileWaiting) {
  TColourWindow window("Shown later", RECT{40, 40, 140, 100});
  // Only a thread that handles its messages gets the timer's call that shows the window.
  UINT_PTR timer = SetTimer(nullptr, 0, 50, &ShowLater);
  ASSERT_NE(timer, 0u);
  EXPECT_EQ(FindTopLevelWindow({.Caption = "Shown later"}), nullptr);  // hidden windows do not count
  EXPECT_EQ(WaitForWindow({.ClassName = "stavrelcolourwindow", .Caption = "Shown later"}, 2000), window.Handle());
  EXPECT_EQ(WaitForWindow({.ThreadId = GetCurrentThreadId()}, 100), window.Handle());
  EXPECT_EQ(FindTopLevelWindow({.Caption = "Shown later", .ProcessId = GetCurrentProcessId() + 1}), nullptr);
  EXPECT_EQ(FindTopLevelWindow({.Caption = "Shown later", .ThreadId = GetCurrentThreadId() + 1}), nullptr);
}

TEST(WaitForWindow, GivesUpAtItsDeadlineNamingTheWindowsThereAre) {
  TColourWindow window("Some window", RECT{40, 40, 140, 100});
  ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
  DWORD start = GetTickCount();
  try {
    WaitForWindow({.Caption = "Never shown"}, 300);
    ADD_FAILURE() << "a window that is not there was found";
  } catch (const EUiDriver& e) {
    std::string message = e.what();
    EXPECT_NE(message.find("\"Never shown\""), std::string::npos) << message;
    EXPECT_NE(message.find("StavrelColourWindow \"Some window\""), std::string::npos) << message;
  }
  DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 250u);
  EXPECT_LT(waited, 3000u);
}

TEST(WaitForWindow, AWindowOfAnotherThreadIsFoundAndClosed) {
  DWORD otherThread = 0;
  std::thread other([&] {
    otherThread = GetCurrentThreadId();
    TColourWindow window("Other thread", RECT{60, 60, 160, 120});
    ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    WaitUntil([&] { return !IsWindow(window.Handle()); }, 10000);
  });
  HWND found = WaitForWindow({.Caption = "Other thread"}, 3000);
  EXPECT_EQ(GetWindowThreadProcessId(found, nullptr), otherThread);
  // DefWindowProc answers WM_CLOSE by destroying the window.
  RequestClose(found);
  EXPECT_TRUE(WaitForWindowToGo(found, 3000));
  other.join();
}

// A parent window of system controls that records the notifications they send it.
class TControlPanel {
 public:
  TControlPanel() {
    WNDCLASSA cls{};
    cls.lpfnWndProc = &PanelProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClass;
    RegisterClassA(&cls);
    FWnd = CreateWindowExA(0, kClass, "Panel", WS_POPUP | WS_VISIBLE | WS_CAPTION, 50, 50, 400, 300, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Edit = Child("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 10, 10, 200, 22, 101);
    Memo = Child("EDIT", "", WS_BORDER | ES_MULTILINE, 10, 40, 200, 50, 102);
    List = Child("LISTBOX", "", WS_BORDER | LBS_NOTIFY, 220, 10, 150, 80, 103);
    Combo = Child("COMBOBOX", "", CBS_DROPDOWNLIST, 220, 100, 150, 120, 104);
    Radio = Child("BUTTON", "&Second choice", BS_AUTORADIOBUTTON, 10, 100, 150, 20, 105);
    Hidden = Child("BUTTON", "Hidden", BS_PUSHBUTTON, 10, 130, 80, 24, 106);
    Disabled = Child("BUTTON", "Disabled", BS_PUSHBUTTON | WS_DISABLED, 100, 130, 80, 24, 107);
    ShowWindow(Hidden, SW_HIDE);
    for (const char* item : {"Alpha", "Beta", "Gamma"}) {
      SendMessageA(List, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      SendMessageA(Combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    Notices.clear();
  }
  ~TControlPanel() {
    DestroyWindow(FWnd);
    UnregisterClassA(kClass, GetModuleHandleA(nullptr));
  }
  HWND Handle() const { return FWnd; }
  // "<control id>:<notification code>" of each WM_COMMAND, in order.
  std::vector<std::string> Notices;
  HWND Edit, Memo, List, Combo, Radio, Hidden, Disabled;

 private:
  static constexpr char kClass[] = "StavrelControlPanel";
  HWND Child(const char* Class, const char* Text, DWORD Style, int X, int Y, int W, int H, int Id) {
    return CreateWindowExA(0, Class, Text, WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, FWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), GetModuleHandleA(nullptr), nullptr);
  }
  static LRESULT CALLBACK PanelProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto* panel = reinterpret_cast<TControlPanel*>(GetWindowLongPtrA(Wnd, GWLP_USERDATA));
    if (Msg == WM_COMMAND && panel != nullptr && LParam != 0 && HIWORD(WParam) != EN_UPDATE)
      panel->Notices.push_back(std::to_string(LOWORD(WParam)) + ":" + std::to_string(HIWORD(WParam)));
    return DefWindowProcA(Wnd, Msg, WParam, LParam);
  }
  HWND FWnd = nullptr;
};

std::string Notice(int Id, int Code) {
  return std::to_string(Id) + ":" + std::to_string(Code);
}

TEST(DriverActions, EachSendsTheNotificationsOfARealUserOnce) {
  TControlPanel panel;
  SetEditText(panel.Edit, "typed");
  EXPECT_EQ(ControlText(panel.Edit), "typed");
  SetEditText(panel.Memo, "two\r\nlines");
  EXPECT_EQ(ControlText(panel.Memo), "two\r\nlines");
  ChooseListItem(panel.List, "Gamma");
  EXPECT_EQ(SendMessageA(panel.List, LB_GETCURSEL, 0, 0), 2);
  ChooseListItem(panel.List, 0);
  EXPECT_EQ(SendMessageA(panel.List, LB_GETCURSEL, 0, 0), 0);
  ChooseComboItem(panel.Combo, "Beta");
  EXPECT_EQ(SendMessageA(panel.Combo, CB_GETCURSEL, 0, 0), 1);
  ChooseComboItem(panel.Combo, 2);
  EXPECT_EQ(ControlText(panel.Combo), "Gamma");
  ChooseRadioButton(FindControl(panel.Handle(), {.Caption = "Second choice"}));
  EXPECT_EQ(SendMessageA(panel.Radio, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(panel.Notices,
            (std::vector<std::string>{Notice(101, EN_CHANGE), Notice(102, EN_CHANGE), Notice(103, LBN_SELCHANGE),
                                      Notice(103, LBN_SELCHANGE), Notice(104, CBN_SELCHANGE),
                                      Notice(104, CBN_SELCHANGE), Notice(105, BN_CLICKED)}));
}

TEST(DriverActions, HiddenDisabledAndMissingControlsAndItemsAreErrors) {
  TControlPanel panel;
  EXPECT_THROW(Click(panel.Hidden), EUiDriver);
  EXPECT_THROW(Click(panel.Disabled), EUiDriver);
  EXPECT_THROW(Click(nullptr), EUiDriver);
  EXPECT_THROW(ChooseListItem(panel.List, 3), EUiDriver);
  EXPECT_THROW(ChooseListItem(panel.List, "Delta"), EUiDriver);
  EXPECT_THROW(ChooseComboItem(panel.Combo, -1), EUiDriver);
  EXPECT_THROW(ChooseComboItem(panel.Combo, "Delta"), EUiDriver);
  EXPECT_TRUE(panel.Notices.empty());
  try {
    RequireControl(panel.Handle(), {.Caption = "Third choice"});
    ADD_FAILURE();
  } catch (const EUiDriver& e) {
    EXPECT_NE(std::string(e.what()).find("Button \"&Second choice\" id 105"), std::string::npos) << e.what();
  }
}

TEST(FindControl, ByCaptionClassAndIdWithEveryControlListed) {
  TControlPanel panel;
  HWND wnd = panel.Handle();
  EXPECT_EQ(FindControl(wnd, {.Caption = "Second choice"}), panel.Radio);
  EXPECT_EQ(FindControl(wnd, {.Caption = "&Second choice"}), panel.Radio);
  EXPECT_EQ(FindControl(wnd, {.ClassName = "listbox"}), panel.List);
  EXPECT_EQ(FindControl(wnd, {.ClassName = "Edit", .Id = 102}), panel.Memo);
  EXPECT_EQ(FindControl(wnd, {.ClassName = "ListBox", .Id = 102}), nullptr);
  EXPECT_EQ(FindControl(wnd, {.Caption = "Hidden"}), panel.Hidden);  // found, though no user could use it

  std::vector<TControlInfo> controls = ListControls(wnd);
  ASSERT_GE(controls.size(), 7u);
  EXPECT_EQ(controls[0].Handle, panel.Edit);
  EXPECT_EQ(controls[0].Id, 101);
  EXPECT_EQ(controls[0].ClassName, "Edit");
  const TControlInfo& radio = controls[4];
  EXPECT_EQ(radio.Text, "&Second choice");
  EXPECT_TRUE(radio.Visible);
  EXPECT_TRUE(radio.Enabled);
  RECT client{};
  GetClientRect(wnd, &client);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ(radio.Rect.left, client.left + 10);
  EXPECT_EQ(radio.Rect.top, client.top + 100);
  EXPECT_EQ(radio.Rect.right - radio.Rect.left, 150);
  EXPECT_FALSE(controls[5].Visible);
  EXPECT_FALSE(controls[6].Enabled);
  SaveWindowPng(wnd, "control-panel");
}

TDecodedPng ReadPng(const std::string& FileName) {
  std::string png = ReadFile(FileName);
  return DecodePng(std::vector<std::uint8_t>(png.begin(), png.end()));
}

// Whether the corners and the middle of Image have Colour.
bool Filled(const TDecodedPng& Image, const std::vector<std::uint8_t>& Colour) {
  std::uint32_t right = Image.Width - 1, bottom = Image.Height - 1;
  for (auto [x, y] : {std::pair{0u, 0u}, {right, 0u}, {0u, bottom}, {right, bottom}, {right / 2, bottom / 2}})
    if (Image.Pixel(x, y) != Colour) return false;
  return true;
}

// Whether Window is what shows at its corners and middle, above every other window.
bool Uncovered(HWND Window) {
  RECT r;
  GetWindowRect(Window, &r);
  for (POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                  POINT{r.right - 1, r.bottom - 1}, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}})
    if (WindowFromPoint(p) != Window) return false;
  return true;
}

TEST(Screenshot, TheFileShowsTheWindowsPixelsAtItsSize) {
  // Near the bottom right, away from where the windows of the other test programs, which
  // share the desktop, appear; those may still pass over it: it is copied when it shows.
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  TColourWindow window("Colour",
                       RECT{desktop.right - 221, desktop.bottom - 181, desktop.right - 100, desktop.bottom - 100});
  ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
  const std::vector<std::uint8_t> colour{200, 30, 40};
  bool filled = false;
  for (int attempt = 0; attempt < 3 && !filled; ++attempt) {
    WaitUntil([&] { return Uncovered(window.Handle()); }, 3000);
    std::string file = SaveWindowPng(window.Handle(), "colour-window");
    EXPECT_EQ(file, ScreenshotFolder() + "\\colour-window.png");
    TDecodedPng image = ReadPng(file);
    ASSERT_EQ(image.Width, 121u);
    ASSERT_EQ(image.Height, 81u);
    filled = Filled(image, colour);
  }
  EXPECT_TRUE(filled);
  EXPECT_NE(ScreenshotFolder().find("testsupport_tests"), std::string::npos) << ScreenshotFolder();

  TDecodedPng whole = ReadPng(SaveScreenPng("whole-screen"));
  EXPECT_EQ(whole.Width, static_cast<std::uint32_t>(desktop.right - desktop.left));
  EXPECT_EQ(whole.Height, static_cast<std::uint32_t>(desktop.bottom - desktop.top));
  EXPECT_THROW(SaveWindowPng(nullptr, "nothing"), std::runtime_error);
}

}  // namespace
