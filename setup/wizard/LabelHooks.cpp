#include "LabelHooks.h"

#include <commctrl.h>

#include "OxLabel.h"

namespace setup {

using namespace fw;

ToxBaseSubClass::~ToxBaseSubClass() {
  Unhook();
}

void ToxBaseSubClass::SetActive(bool Value) {
  if (FActive == Value) return;
  if (Value)
    Hook();
  else
    Unhook();
  FActive = Value;
}

void ToxBaseSubClass::SetHandle(HWND Wnd) {
  Unhook();
  FHandle = Wnd;
  if (FActive) Hook();
}

void ToxBaseSubClass::Hook() {
  if (FHooked || FHandle == nullptr) return;
  if (!IsWindow(FHandle)) throw ENotOwnerError("Not a valid Window");
  if (!SetWindowSubclass(FHandle, &HookProc, 1, reinterpret_cast<DWORD_PTR>(this)))
    throw EOutOfResources("Windows Resources Exhausted");
  FHooked = true;
}

void ToxBaseSubClass::Unhook() {
  if (!FHooked) return;
  if (IsWindow(FHandle)) RemoveWindowSubclass(FHandle, &HookProc, 1);
  FHooked = false;
}

LRESULT CALLBACK ToxBaseSubClass::HookProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Data) {
  auto* self = reinterpret_cast<ToxBaseSubClass*>(Data);
  LRESULT result = DefSubclassProc(Wnd, Msg, WParam, LParam);
  if (Msg == WM_NCDESTROY) {
    // The window goes; the hook waits for the control's next window (SetHandle).
    RemoveWindowSubclass(Wnd, &HookProc, 1);
    self->FHooked = false;
    self->FHandle = nullptr;
    return result;
  }
  self->WndProc(Msg, WParam, LParam);
  return result;
}

TControlSubclass::TControlSubclass(ToxCustomLabel* Label, TWinControl* Control) : FLabel(Label), FControl(Control) {
  SetHandle(Control->Handle());
}

void TControlSubclass::WndProc(UINT Msg, WPARAM, LPARAM) {
  if (Msg != WM_MOVE || !FLabel->AutoMove()) return;
  FLabel->SetBounds(FControl->Left() + FLabel->FOffset.x, FControl->Top() + FLabel->FOffset.y, FLabel->Width(),
                    FLabel->Height());
}

}  // namespace setup
