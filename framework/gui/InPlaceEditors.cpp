#include "InPlaceEditors.h"

// clang-format off
#include <windows.h>
// clang-format on
#include <commctrl.h>

#include <cstdlib>

#include "GuiStartup.h"
#include "core/ClassDef.h"

namespace fw {

// --- TInplaceEdit ----------------------------------------------------------

const TClass& TInplaceEdit::StaticClass() {
  using T = TInplaceEdit;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Boolean("Border", &T::Border, &T::SetBorder)
                                .Event("OnKeyDown", static_cast<TKeyEvent T::*>(&T::OnKeyDown))
                                .Event("OnKeyPress", static_cast<TKeyPressEvent T::*>(&T::OnKeyPress))
                                .Event("OnExit", static_cast<TNotifyEvent T::*>(&T::OnExit));
  return cls;
}

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TEdit(AOwner), TInputEvents(this) {}

void TInplaceEdit::SetBorder(bool Value) {
  if (FBorder == Value) return;
  FBorder = Value;
  if (HandleAllocated()) {
    auto style = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
    SetWindowLongPtrA(FHandle, GWL_EXSTYLE, Value ? (style | WS_EX_CLIENTEDGE) : (style & ~WS_EX_CLIENTEDGE));
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
}

void TInplaceEdit::CreateParams(TCreateParams& Params) {
  TEdit::CreateParams(Params);
  if (!FBorder) Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

void TInplaceEdit::WndProc(TMessage& Message) {
  if (InputMessage(Message, [this](TMessage& m) { DefaultHandler(m); })) return;
  TEdit::WndProc(Message);
}

// --- TSpinEdit -------------------------------------------------------------

const TClass& TSpinEdit::StaticClass() {
  using T = TSpinEdit;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Integer("MinValue", &T::MinValue, &T::SetMinValue)
                                .Integer("MaxValue", &T::MaxValue, &T::SetMaxValue)
                                .Integer("Value", &T::Value, &T::SetValue);
  return cls;
}

TSpinEdit::TSpinEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {
  FText = "0";
}

int32_t TSpinEdit::Value() const {
  const std::string& text = Text();
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || end == text.c_str()) return FMinValue;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

void TSpinEdit::SetValue(int32_t Value) {
  SetText(std::to_string(Value));
  UpdateButtons();
}

void TSpinEdit::SetMinValue(int32_t Value) {
  FMinValue = Value;
  UpdateButtons();
}

void TSpinEdit::SetMaxValue(int32_t Value) {
  FMaxValue = Value;
  UpdateButtons();
}

void TSpinEdit::CreateWnd() {
  TInplaceEdit::CreateWnd();
  INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  // The arrows are a child of the edit at its right; the text stops before them.
  FButtons = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, FHandle, nullptr,
                             ModuleInstance(), nullptr);
  UpdateButtons();
}

void TSpinEdit::UpdateButtons() {
  if (FButtons == nullptr || !HandleAllocated()) return;
  SendMessageA(FButtons, UDM_SETRANGE32, static_cast<WPARAM>(FMinValue), static_cast<LPARAM>(FMaxValue));
  RECT client;
  GetClientRect(FHandle, &client);
  int width = GetSystemMetrics(SM_CXVSCROLL);
  SetWindowPos(FButtons, nullptr, client.right - width, 0, width, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(FHandle, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, width));
}

void TSpinEdit::Step(int Delta) {
  int64_t value = static_cast<int64_t>(Value()) + Delta;
  if (value < FMinValue) value = FMinValue;
  if (value > FMaxValue) value = FMaxValue;
  SetValue(static_cast<int32_t>(value));
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETSEL, 0, -1);
}

void TSpinEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      if (Message.WParam == VK_UP || Message.WParam == VK_DOWN) {
        auto key = static_cast<uint16_t>(Message.WParam);
        KeyDown(key);
        if (key != 0) Step(key == VK_UP ? 1 : -1);
        return;
      }
      break;
    case WM_NOTIFY:
      if (const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
          header->hwndFrom == FButtons && header->code == UDN_DELTAPOS) {
        Step(reinterpret_cast<const NMUPDOWN*>(Message.LParam)->iDelta > 0 ? 1 : -1);
        Message.Result = 1;  // the arrows keep no position of their own
        return;
      }
      break;
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(Message.LParam) == FButtons) return;
      break;
    case WM_SIZE:
      TInplaceEdit::WndProc(Message);
      UpdateButtons();
      return;
    case WM_NCDESTROY:
      FButtons = nullptr;  // a child: it went with the edit
      break;
    default:
      break;
  }
  TInplaceEdit::WndProc(Message);
}

}  // namespace fw
