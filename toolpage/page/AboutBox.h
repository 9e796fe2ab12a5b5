// The page's about box: the program's icon, the product, its version and the maker's notice.
#pragma once

#include "gui/ExtCtrls.h"
#include "gui/Forms.h"

namespace toolpage {

class TAboutBox : public fw::TForm {
  FW_CLASS(TAboutBox, fw::TForm)
 public:
  using fw::TForm::TForm;
  // Shows the program's icon (a resource of the page library).
  void Loaded() override;

  fw::TImage* ProgramIcon = nullptr;
};

}  // namespace toolpage
