// Hooks on a control's window: every message reaches the control's own procedure first,
// then the hook sees it. TControlSubclass keeps a title label next to its FocusControl.
#pragma once

#include <windows.h>

#include "gui/Controls.h"
#include "gui/GdiCanvas.h"

namespace setup {

class ToxCustomLabel;

// A handle to hook that is no window.
FW_EXCEPTION(ENotOwnerError, fw::Exception);

class ToxBaseSubClass {
 public:
  ToxBaseSubClass() = default;
  virtual ~ToxBaseSubClass();
  ToxBaseSubClass(const ToxBaseSubClass&) = delete;
  ToxBaseSubClass& operator=(const ToxBaseSubClass&) = delete;

  bool Active() const { return FActive; }
  // Hooks or unhooks the window; hooking raises ENotOwnerError for a handle that is no
  // window and EOutOfResources when the hook cannot be installed (the hook stays off).
  void SetActive(bool Value);
  HWND Handle() const { return FHandle; }
  // Hooks Wnd instead of the window hooked before (when active).
  void SetHandle(HWND Wnd);

 protected:
  // Called after the control's window procedure handled the message.
  virtual void WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {}

 private:
  static LRESULT CALLBACK HookProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR Id, DWORD_PTR Data);
  void Hook();
  void Unhook();
  HWND FHandle = nullptr;
  bool FActive = false;
  bool FHooked = false;
};

class TControlSubclass : public ToxBaseSubClass {
 public:
  TControlSubclass(ToxCustomLabel* Label, fw::TWinControl* Control);

 protected:
  void WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;

 private:
  ToxCustomLabel* FLabel;
  fw::TWinControl* FControl;
};

}  // namespace setup
