// The base of every installer form (wizard pages and progress windows): it joins the
// list of installer forms and translates itself through the translator's hooks.
#pragma once

#include "gui/Forms.h"
#include "support/TranslatorHooks.h"

namespace setup {

class TBaseQuenlarkForm : public fw::TForm {
  FW_CLASS(TBaseQuenlarkForm, fw::TForm)
 public:
  explicit TBaseQuenlarkForm(fw::TComponent* AOwner);
  ~TBaseQuenlarkForm() override;

  bool TranslateFonts = true;
  bool TranslateText = true;
  // The language the form's texts are in.
  TLanguageOrdinal ShownLanguage = kLanguageEnglish;
  bool UseFixedLanguage = false;
  TLanguageOrdinal FixedLanguage = kLanguageUser;

  // Translates the form (TranslateDialog).
  virtual void Translate();
  // Brings the controls up to date; every page overrides it.
  virtual void UpdateControls() {}
  // The translator's font, then the texts from ShownLanguage into the fixed or the
  // current language; then pending messages are handled.
  virtual void TranslateDialog();
};

}  // namespace setup
