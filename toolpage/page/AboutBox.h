// The page's about box: the product, its version and the maker's notice.
#pragma once

#include "gui/Forms.h"

namespace toolpage {

class TAboutBox : public fw::TForm {
  FW_CLASS(TAboutBox, fw::TForm)
 public:
  using fw::TForm::TForm;
};

}  // namespace toolpage
