// A label and a button that name the text they show by its GLID.
#pragma once

#include "gui/Buttons.h"
#include "gui/StdCtrls.h"

namespace setup {

// GLID > 0: the translator shows the target language's text for it; 0: the caption
// is translated by its wording like any other text; < 0: left alone.
class TTranslateLabel : public fw::TLabel {
  FW_CLASS(TTranslateLabel, fw::TLabel)
 public:
  using fw::TLabel::TLabel;
  int GLID() const { return FGLID; }
  void SetGLID(int Value) { FGLID = Value; }

 private:
  int FGLID = 0;
};

class TTranslateBitBtn : public fw::TBitBtn {
  FW_CLASS(TTranslateBitBtn, fw::TBitBtn)
 public:
  using fw::TBitBtn::TBitBtn;
  int GLID() const { return FGLID; }
  void SetGLID(int Value) { FGLID = Value; }

 private:
  int FGLID = 0;
};

}  // namespace setup
