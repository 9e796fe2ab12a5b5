// The UI driver on plain windows: waiting pumps the test thread's messages and gives up
// at its deadline; screenshots show what the screen shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

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
    FWnd =
        CreateWindowExA(WS_EX_TOPMOST, kClass, Caption, WS_POPUP, Bounds.left, Bounds.top, Bounds.right - Bounds.left,
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

TEST(WaitForWindow, PumpsTheTestThreadsMessagesWhileWaiting) {
  TColourWindow window("Shown later", RECT{40, 40, 140, 100});
  // Only a thread that handles its messages gets the timer's call that shows the window.
  SetPropA(window.Handle(), "shown-later", window.Handle());
  UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR Timer, DWORD) {
    KillTimer(nullptr, Timer);
    ShowWindow(FindWindowA(TColourWindow::kClass, "Shown later"), SW_SHOWNOACTIVATE);
  });
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

TEST(Screenshot, TheFileShowsTheWindowsPixelsAtItsSize) {
  TColourWindow window("Colour", RECT{100, 120, 221, 201});
  ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
  std::string file = SaveWindowPng(window.Handle(), "colour-window");
  EXPECT_EQ(file, ScreenshotFolder() + "\\colour-window.png");
  EXPECT_NE(ScreenshotFolder().find("testsupport_tests"), std::string::npos) << ScreenshotFolder();
  std::string png = ReadFile(file);
  TDecodedPng image = DecodePng(std::vector<std::uint8_t>(png.begin(), png.end()));
  ASSERT_EQ(image.Width, 121u);
  ASSERT_EQ(image.Height, 81u);
  const std::vector<std::uint8_t> colour{200, 30, 40};
  EXPECT_EQ(image.Pixel(0, 0), colour);
  EXPECT_EQ(image.Pixel(60, 40), colour);
  EXPECT_EQ(image.Pixel(120, 80), colour);

  std::string screen = SaveScreenPng("whole-screen");
  std::string screenPng = ReadFile(screen);
  TDecodedPng whole = DecodePng(std::vector<std::uint8_t>(screenPng.begin(), screenPng.end()));
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ(whole.Width, static_cast<std::uint32_t>(desktop.right - desktop.left));
  EXPECT_EQ(whole.Pixel(150, 150), colour);
  EXPECT_THROW(SaveWindowPng(nullptr, "nothing"), std::runtime_error);
}

}  // namespace
