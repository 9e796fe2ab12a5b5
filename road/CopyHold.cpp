#include "CopyHold.h"

#include <string>

#include "Files.h"
#include "ProgramRun.h"
#include "RoadReport.h"

namespace road {

namespace {

constexpr char kHookLibrary[] = "road_copy_hold.dll";
constexpr char kHookProcedure[] = "CopyHoldHook";
constexpr char kCopyWindowClass[] = "TCopyFileForm";

std::string EventName(const char* Name, DWORD ProcessId) {
  return std::string("Local\\") + Name + "-" + std::to_string(ProcessId);
}

// A window's own text, read without a message: for another process's window
// GetWindowTextA gives the text the window keeps and sends it nothing.
std::string OwnText(HWND Window) {
  char text[256] = "";
  GetWindowTextA(Window, text, sizeof text);
  return text;
}

bool ClassIs(HWND Window, const char* Name) {
  char found[64] = "";
  return GetClassNameA(Window, found, sizeof found) > 0 && _stricmp(found, Name) == 0;
}

struct TButtonSearch {
  HWND Found = nullptr;
};

BOOL CALLBACK NoteCancelButton(HWND Window, LPARAM Data) {
  std::string text = OwnText(Window);
  std::erase(text, '&');
  if (!ClassIs(Window, "Button") || text != "Cancel" || !IsWindowVisible(Window)) return TRUE;
  reinterpret_cast<TButtonSearch*>(Data)->Found = Window;
  return FALSE;
}

}  // namespace

TCopyHold::TCopyHold(HWND InstallerWindow) {
  const DWORD thread = GetWindowThreadProcessId(InstallerWindow, &FProcessId);
  if (thread == 0) throw ERoad("the installer's window is gone: its copy cannot be held");
  FHeld.Reset(CreateEventA(nullptr, FALSE, FALSE, EventName("StavrelRoadCopyHeld", FProcessId).c_str()));
  FGo.Reset(CreateEventA(nullptr, TRUE, FALSE, EventName("StavrelRoadCopyGo", FProcessId).c_str()));
  const std::string library = testsupport::BesideProgram(kHookLibrary);
  FLibrary.Reset(LoadLibraryA(library.c_str()));
  auto* procedure = FLibrary ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(FLibrary.Get(), kHookProcedure))) : nullptr;
  if (!FHeld || !FGo || procedure == nullptr) throw ERoad("cannot prepare the copy's hold (" + library + ")");
  FHook.reset(SetWindowsHookExA(WH_CALLWNDPROC, procedure, FLibrary.Get(), thread));
  if (!FHook)
    throw ERoad("cannot hook the installer's thread (error " + std::to_string(GetLastError()) + ")");
}

TCopyHold::~TCopyHold() {
  FHook.reset();
  Release();
}

bool TCopyHold::WaitUntilHeld(DWORD TimeoutMs) {
  return WaitForSingleObject(FHeld.Get(), TimeoutMs) == WAIT_OBJECT_0;
}

HWND TCopyHold::CancelButton() const {
  for (HWND window = FindWindowExA(nullptr, nullptr, kCopyWindowClass, nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, kCopyWindowClass, nullptr)) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != FProcessId || !IsWindowVisible(window)) continue;
    TButtonSearch search;
    EnumChildWindows(window, NoteCancelButton, reinterpret_cast<LPARAM>(&search));
    if (search.Found != nullptr) return search.Found;
  }
  return nullptr;
}

void TCopyHold::Release() {
  if (FGo) SetEvent(FGo.Get());
}

}  // namespace road
