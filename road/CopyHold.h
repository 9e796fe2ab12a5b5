// Holds the installer's copy at a point the road chooses, so that what the road does
// there (pressing Cancel) lands while the copy is under way, on a fast machine as on a
// loaded one: no race between the road and the copy. A hook in the installer's own
// thread (road_copy_hold.dll, CopyHoldHook.c, a WH_CALLWNDPROC hook that Windows and Wine
// run inside the thread that is sent the message) holds that thread the first time the
// copy window's total bar is set to the percentage named in the installer's environment
// (kHoldAtVariable, set by the road before it starts the setup) or further. The road
// then posts its input to the copy window and lets the copy go on; the copy handles its
// messages every 20 ms of work, so the input lands before the copy ends.
// While held, the installer answers no message: the road reads nothing of its windows
// through messages then (CancelButton reads their own texts without asking).
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

#include "gui/WinHandles.h"

namespace road {

class TCopyHold {
 public:
  static constexpr char kHoldAtVariable[] = "STAVREL_ROAD_HOLD_COPY_AT";

  // Hooks the thread of InstallerWindow (a window of the installer's wizard); throws
  // ERoad when the hook cannot be set.
  explicit TCopyHold(HWND InstallerWindow);
  // Unhooks and lets a held copy go on.
  ~TCopyHold();
  TCopyHold(const TCopyHold&) = delete;
  TCopyHold& operator=(const TCopyHold&) = delete;

  // Whether the copy is held, waiting up to TimeoutMs for it.
  bool WaitUntilHeld(DWORD TimeoutMs);
  // The Cancel button of the installer's visible copy window, nil when there is none.
  HWND CancelButton() const;
  // Lets the held copy go on.
  void Release();

 private:
  struct TUnhook {
    void operator()(HHOOK Hook) const { UnhookWindowsHookEx(Hook); }
  };

  DWORD FProcessId = 0;
  fw::TKernelHandle FHeld, FGo;
  fw::TModuleHandle FLibrary;
  std::unique_ptr<std::remove_pointer_t<HHOOK>, TUnhook> FHook;
};

}  // namespace road
