// Tooltips: a short text that shows when the mouse rests over a control.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// One tooltip window for the controls of a window; each control gets its own text.
class TToolTips {
 public:
  // Owner: the window whose controls get tips (the tooltip window goes with this object).
  explicit TToolTips(HWND Owner);
  ~TToolTips();
  TToolTips(const TToolTips&) = delete;
  TToolTips& operator=(const TToolTips&) = delete;

  HWND Handle() const { return FHandle; }
  // Shows Text over Control; an empty text removes the control's tip.
  void SetTip(HWND Control, const std::string& Text);
  // The tip of Control; empty when it has none.
  std::string Tip(HWND Control) const;

 private:
  HWND FOwner;
  HWND FHandle;
};

}  // namespace fw
