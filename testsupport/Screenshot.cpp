// Screen copies through a 24-bit DIB section, written with the portable PNG writer.
#include "Screenshot.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "Files.h"
#include "PngWriter.h"
#include "UiDriver.h"
#include "gui/WinHandles.h"

namespace testsupport {

namespace {

constexpr char kFolderVariable[] = "STAVREL_SCREENSHOTS";
constexpr char kScreenshotMutex[] = "Stavrel test screenshots";

// Other test programs share the desktop: one of them at a time lifts a window above
// every other one and copies it. Held while the object lives.
class TScreenTurn {
 public:
  explicit TScreenTurn(const std::string& Name) : FMutex(CreateMutexA(nullptr, FALSE, kScreenshotMutex)) {
    DWORD waited = FMutex ? WaitForSingleObject(FMutex.Get(), 30000) : WAIT_FAILED;
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) throw std::runtime_error(Name + ": no turn at the screen");
  }
  ~TScreenTurn() { ReleaseMutex(FMutex.Get()); }
  TScreenTurn(const TScreenTurn&) = delete;
  TScreenTurn& operator=(const TScreenTurn&) = delete;

 private:
  fw::TKernelHandle FMutex;
};

// A window above all others (topmost and in front) while the object lives.
class TLiftedWindow {
 public:
  explicit TLiftedWindow(HWND Window)
      : FWindow(Window), FWasTopmost((GetWindowLongPtrA(Window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
    SetWindowPos(FWindow, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
    SetForegroundWindow(FWindow);
  }
  ~TLiftedWindow() {
    if (!FWasTopmost) SetWindowPos(FWindow, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
  }
  TLiftedWindow(const TLiftedWindow&) = delete;
  TLiftedWindow& operator=(const TLiftedWindow&) = delete;

 private:
  static constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  HWND FWindow;
  bool FWasTopmost;
};

std::string ProgramPath() {
  char path[MAX_PATH] = "";
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

std::string FolderOf(const std::string& Path) {
  std::size_t slash = Path.find_last_of("\\/");
  return slash == std::string::npos ? "." : Path.substr(0, slash);
}

std::string ProgramName() {
  std::string path = ProgramPath();
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// The screen's pixels inside Area as rows of RGB, top to bottom.
std::vector<std::uint8_t> CopyScreen(const RECT& Area) {
  int width = Area.right - Area.left, height = Area.bottom - Area.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  fw::TWindowDC screen(nullptr);
  fw::TMemoryDCHandle memory(CreateCompatibleDC(screen.Get()));
  void* bits = nullptr;
  fw::TBitmapHandle bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen || !memory || !bitmap || bits == nullptr)
    throw std::runtime_error("cannot make a bitmap for the screen copy");
  {
    fw::TSelectObject selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), Area.left, Area.top, SRCCOPY))
      throw std::runtime_error("cannot copy the screen");
    GdiFlush();
  }
  std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(bits) + stride * static_cast<std::size_t>(y);
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * 3;  // blue, green, red
      rgb.insert(rgb.end(), {pixel[2], pixel[1], pixel[0]});
    }
  }
  return rgb;
}

std::string SaveArea(RECT Area, const std::string& Name) {
  RECT screen;
  GetWindowRect(GetDesktopWindow(), &screen);
  if (!IntersectRect(&Area, &Area, &screen)) throw std::runtime_error(Name + ": nothing of it is on the screen");
  std::vector<std::uint8_t> rgb = CopyScreen(Area);
  std::vector<std::uint8_t> png = EncodePng(static_cast<std::uint32_t>(Area.right - Area.left),
                                            static_cast<std::uint32_t>(Area.bottom - Area.top), rgb);
  std::string fileName = ScreenshotFolder() + "\\" + Name + ".png";
  WriteFile(fileName, std::string(png.begin(), png.end()));
  return fileName;
}

}  // namespace

std::string ScreenshotFolder() {
  char folder[MAX_PATH] = "";
  DWORD length = GetEnvironmentVariableA(kFolderVariable, folder, MAX_PATH);
  std::string base =
      length > 0 && length < MAX_PATH ? std::string(folder, length) : FolderOf(ProgramPath()) + "\\screenshots";
  return base + "\\" + ProgramName();
}

std::string SaveWindowPng(HWND Window, const std::string& Name) {
  if (Window == nullptr || !IsWindow(Window) || !IsWindowVisible(Window))
    throw std::runtime_error(Name + ": the window is not shown");
  TScreenTurn turn(Name);
  TLiftedWindow lifted(Window);
  RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // The window's thread paints; when that is this thread, the pumping lets it.
  PumpMessages(200);
  RECT area;
  GetWindowRect(Window, &area);
  return SaveArea(area, Name);
}

std::string SaveScreenPng(const std::string& Name) {
  TScreenTurn turn(Name);
  PumpMessages(200);
  RECT screen;
  GetWindowRect(GetDesktopWindow(), &screen);
  return SaveArea(screen, Name);
}

}  // namespace testsupport
