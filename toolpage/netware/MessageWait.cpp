#include "MessageWait.h"

#include <windows.h>

namespace toolpage {

bool WaitAnswering(uint32_t Milliseconds) {
  const uint32_t start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    const uint32_t elapsed = GetTickCount() - start;
    if (elapsed >= Milliseconds) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds - elapsed, QS_ALLINPUT);
  }
}

}  // namespace toolpage
