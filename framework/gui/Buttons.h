// Bitmap buttons: push buttons that the installer's pages use for their button bars.
#pragma once

#include "StdCtrls.h"

namespace fw {

// A push button of its own class, so that descendants (buttons that carry a text
// identifier, for instance) can be told from plain buttons.
class TBitBtn : public TButton {
  FW_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* AOwner);
};

}  // namespace fw
