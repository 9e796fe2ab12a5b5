// Edits that take key and exit events, as a list opens them in place over a line: a
// single-line edit (with or without its border) and a spin edit for whole numbers.
#pragma once

#include <cstdint>

#include "InputEvents.h"
#include "StdCtrls.h"

namespace fw {

class TInplaceEdit : public TEdit, public TInputEvents {
  FW_CLASS(TInplaceEdit, TEdit)
 public:
  explicit TInplaceEdit(TComponent* AOwner);
  bool Border() const { return FBorder; }
  void SetBorder(bool Value);
  // Enter and Esc reach the edit instead of the dialog manager.
  bool WantsKey(uint16_t Key) const override { return Key == VK_RETURN || Key == VK_ESCAPE; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  bool FBorder = true;
};

// An edit with up and down arrows for a whole number between MinValue and MaxValue. The
// arrows and the arrow keys keep the number inside the bounds; a typed number is kept as
// typed until it is stepped.
class TSpinEdit : public TInplaceEdit {
  FW_CLASS(TSpinEdit, TInplaceEdit)
 public:
  explicit TSpinEdit(TComponent* AOwner);

  // The number the edit shows (a text that is no number counts as MinValue).
  int32_t Value() const;
  void SetValue(int32_t Value);
  int32_t MinValue() const { return FMinValue; }
  void SetMinValue(int32_t Value);
  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t Value);
  HWND ButtonsHandle() const { return FButtons; }

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

 private:
  void UpdateButtons();
  void Step(int Delta);

  int32_t FMinValue = 0;
  int32_t FMaxValue = 0;
  HWND FButtons = nullptr;  // the up-down control, a child of the edit
};

}  // namespace fw
