// Key and focus events of controls that take input: key down, key press and exit (the
// focus left the control), shared by list boxes, combo boxes and edits that a list opens
// in place over one of its lines.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Controls.h"

namespace fw {

// Key is the virtual key code; setting it to 0 swallows the key.
using TKeyEvent = TMethodPtr<void(TObject* Sender, uint16_t& Key)>;
// Key is the typed character; setting it to 0 swallows it.
using TKeyPressEvent = TMethodPtr<void(TObject* Sender, char& Key)>;

class TInputEvents {
 public:
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnExit;

 protected:
  explicit TInputEvents(TWinControl* Control) : FControl(Control) {}
  virtual ~TInputEvents() = default;

  virtual void KeyDown(uint16_t& Key);
  virtual void KeyPress(char& Key);
  virtual void DoExit();
  // Keys the dialog manager leaves to the control instead of taking them itself (Enter,
  // Esc and the like).
  virtual bool WantsKey(uint16_t Key) const { return false; }
  // True when Window is part of the control (its own window, an inner or a companion one).
  virtual bool OwnsWindow(HWND Window) const;

  // Handles an input message that reached the control's window or one of its inner
  // windows; Default runs the window's own handling. True when the message was answered.
  template <class F>
  bool InputMessage(TMessage& Message, F&& Default) {
    return HandleInput(Message, [&](TMessage& m) { Default(m); });
  }

 private:
  bool HandleInput(TMessage& Message, const TMethodPtr<void(TMessage&)>& Default);
  TWinControl* FControl;
};

}  // namespace fw
