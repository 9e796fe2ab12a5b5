#include "MessageWait.h"

#include <windows.h>

namespace toolpage {

void WaitAnswering(uint32_t Milliseconds) {
  const uint32_t start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    const uint32_t elapsed = GetTickCount() - start;
    if (elapsed >= Milliseconds) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds - elapsed, QS_ALLINPUT);
  }
}

}  // namespace toolpage
