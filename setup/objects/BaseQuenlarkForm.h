// The base of every installer form (wizard pages and progress windows): it joins the
// list of installer forms and translates itself through the translator's hooks.
#pragma once

#include "gui/Forms.h"
#include "support/TranslatorHooks.h"

namespace setup {

class TInstallContainer;

class TBaseQuenlarkForm : public fw::TForm {
  FW_CLASS(TBaseQuenlarkForm, fw::TForm)
 public:
  explicit TBaseQuenlarkForm(fw::TComponent* AOwner);
  ~TBaseQuenlarkForm() override;

  bool TranslateFont = true;
  bool TranslateTexts = true;
  // The language the form's texts are in.
  TLanguageOrdinal ShownLanguage = kLanguageEnglish;
  bool UseOwnLanguage = false;
  TLanguageOrdinal OwnLanguage = kLanguageUser;

  // The install object the form edits (a page's constructor sets it); nil for none.
  TInstallContainer* Container() const { return FContainer; }
  void SetContainer(TInstallContainer* Value) { FContainer = Value; }

  // Translates the form (TranslateForm).
  virtual void LanguageChanged();
  // Brings the controls up to date; every page overrides it.
  virtual void UpdateControls() {}
  // The translator's font, then the texts from ShownLanguage into the own or the
  // current language; then pending messages are handled.
  virtual void TranslateForm();

 private:
  TInstallContainer* FContainer = nullptr;
};

}  // namespace setup
