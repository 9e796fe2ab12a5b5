#include "PageWaitCursor.h"

#include <windows.h>

#include "WaitCursor.h"
#include "gui/Screen.h"

namespace toolpage {

namespace {
int32_t gWaitLevel = 0;
fw::TCursor gSavedCursor = fw::crDefault;
}  // namespace

void BeginWaitCursor() {
  if (gWaitLevel == 0) {
    gSavedCursor = fw::ScreenCursor();
    fw::SetScreenCursor(fw::crHourGlass);
  }
  ++gWaitLevel;
}

void EndWaitCursor() {
  if (gWaitLevel <= 0) return;
  if (--gWaitLevel == 0) fw::SetScreenCursor(gSavedCursor);
}

int32_t WaitCursorLevel() {
  return gWaitLevel;
}

fw::TLibrary PageLibrary() {
  return {"Tool page",
          [] {
            OutputDebugStringA("Initializing AutoUpd");
            SetWaitCursorHooks({BeginWaitCursor, EndWaitCursor});
            OutputDebugStringA("Initialized AutoUpd");
          },
          [] { SetWaitCursorHooks({}); }};
}

}  // namespace toolpage
