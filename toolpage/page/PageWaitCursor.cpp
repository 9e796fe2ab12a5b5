#include "PageWaitCursor.h"

#include <windows.h>

#include "WaitCursor.h"

namespace toolpage {

namespace {
int32_t gWaitLevel = 0;
HCURSOR gSavedCursor = nullptr;
}  // namespace

void BeginWaitCursor() {
  if (gWaitLevel == 0) {
    gSavedCursor = GetCursor();
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  }
  ++gWaitLevel;
}

void EndWaitCursor() {
  if (gWaitLevel <= 0) return;
  if (--gWaitLevel == 0) SetCursor(gSavedCursor);
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
