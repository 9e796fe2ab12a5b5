#include "Screen.h"

#include <windows.h>

namespace fw {

namespace {
TCursor gScreenCursor = crDefault;

HCURSOR CursorHandle(TCursor Cursor) {
  switch (Cursor) {
    case crHourGlass:
      return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    default:
      return LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  }
}
}  // namespace

int ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
  return GetSystemMetrics(SM_CYSCREEN);
}
int CaptionHeight() {
  return GetSystemMetrics(SM_CYCAPTION);
}

TCursor ScreenCursor() {
  return gScreenCursor;
}

void SetScreenCursor(TCursor Value) {
  gScreenCursor = Value;
  if (Value != crDefault) {
    SetCursor(CursorHandle(Value));
    return;
  }
  // Back to the cursor of the window under the mouse.
  POINT pt{};
  HWND under = GetCursorPos(&pt) ? WindowFromPoint(pt) : nullptr;
  if (under != nullptr && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId())
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)), WM_MOUSEMOVE));
  else
    SetCursor(CursorHandle(crDefault));
}

bool ApplyScreenCursor() {
  if (gScreenCursor == crDefault) return false;
  SetCursor(CursorHandle(gScreenCursor));
  return true;
}

}  // namespace fw
