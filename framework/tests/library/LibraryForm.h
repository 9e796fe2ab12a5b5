// A form whose code and resource live in a static library, as the wizard's pages do.
#pragma once

#include "gui/Forms.h"

class TLibraryForm : public fw::TForm {
  FW_CLASS(TLibraryForm, fw::TForm)
 public:
  using fw::TForm::TForm;
};
