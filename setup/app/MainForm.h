// The setup program's main form: its resource holds the whole configuration of the
// installation; the form itself adds a few event handlers.
#pragma once

#include "core/Startup.h"
#include "gui/Forms.h"
#include "wizard/Backdrop.h"
#include "wizard/OxLabel.h"

namespace setup {

class TMain : public fw::TForm {
  FW_CLASS(TMain, fw::TForm)
 public:
  using fw::TForm::TForm;

  TBackdrop* BackDrop = nullptr;
  ToxLabel* oxLabel1 = nullptr;
  ToxLabel* ProductLabel = nullptr;
  fw::TLabel* Label1 = nullptr;

  // The form shrinks to nothing; the engine's show hook then maximises it, so the
  // splash fills the screen behind the wizards.
  void FormShow(fw::TObject* Sender);
};

// The application's own classes; its shut-down frees the forms, before the libraries
// below it stop.
fw::TLibrary AppLibrary();

}  // namespace setup
