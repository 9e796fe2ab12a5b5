#include "InputEvents.h"

namespace fw {

namespace {

// Posted to a control whose window lost the focus: the exit is told once the focus has
// settled, so that a handler may move the focus itself.
UINT DeferredExitMessage() {
  static const UINT message = RegisterWindowMessageA("FwDeferredExit");
  return message;
}

// The virtual key of a key message: Enter and Esc also as the characters they type.
uint16_t KeyOf(const MSG& Msg) {
  if (Msg.message == WM_CHAR && Msg.wParam == '\r') return VK_RETURN;
  if (Msg.message == WM_CHAR && Msg.wParam == 27) return VK_ESCAPE;
  return static_cast<uint16_t>(Msg.wParam);
}

}  // namespace

void TInputEvents::KeyDown(uint16_t& Key) {
  if (OnKeyDown) OnKeyDown(FControl, Key);
}

void TInputEvents::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(FControl, Key);
}

void TInputEvents::DoExit() {
  if (OnExit) OnExit(FControl);
}

bool TInputEvents::OwnsWindow(HWND Window) const {
  if (Window == nullptr || !FControl->HandleAllocated()) return false;
  HWND own = const_cast<TWinControl*>(FControl)->Handle();
  return Window == own || IsChild(own, Window);
}

bool TInputEvents::HandleInput(TMessage& Message, const TMethodPtr<void(TMessage&)>& Default) {
  switch (Message.Msg) {
    case WM_KEYDOWN: {
      auto key = static_cast<uint16_t>(Message.WParam);
      KeyDown(key);
      if (key == 0) {
        Message.Result = 0;
        return true;
      }
      Message.WParam = key;
      return false;
    }
    case WM_CHAR: {
      auto key = static_cast<char>(Message.WParam);
      KeyPress(key);
      if (key == 0) {
        Message.Result = 0;
        return true;
      }
      Message.WParam = static_cast<unsigned char>(key);
      return false;
    }
    case WM_GETDLGCODE: {
      Default(Message);
      const auto* msg = reinterpret_cast<const MSG*>(Message.LParam);
      if (msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && WantsKey(KeyOf(*msg)))
        Message.Result |= DLGC_WANTMESSAGE;
      return true;
    }
    case WM_KILLFOCUS:
      if (!OwnsWindow(reinterpret_cast<HWND>(Message.WParam)) && FControl->HandleAllocated())
        PostMessageA(FControl->Handle(), DeferredExitMessage(), 0, 0);
      return false;
    default:
      if (Message.Msg == DeferredExitMessage()) {
        if (!OwnsWindow(GetFocus())) DoExit();
        Message.Result = 0;
        return true;
      }
      return false;
  }
}

}  // namespace fw
