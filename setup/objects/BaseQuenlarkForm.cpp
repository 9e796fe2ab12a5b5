#include "BaseQuenlarkForm.h"

#include <algorithm>

#include "InstallLists.h"
#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TBaseQuenlarkForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TBaseQuenlarkForm>();
  return cls;
}

TBaseQuenlarkForm::TBaseQuenlarkForm(fw::TComponent* AOwner) : fw::TForm(AOwner) {
  Font().SetCharset(0);
  if (InstallerForms() != nullptr) InstallerForms()->push_back(this);
}

TBaseQuenlarkForm::~TBaseQuenlarkForm() {
  if (auto* forms = InstallerForms()) forms->erase(std::remove(forms->begin(), forms->end(), this), forms->end());
}

void TBaseQuenlarkForm::LanguageChanged() { TranslateForm(); }

void TBaseQuenlarkForm::TranslateForm() {
  if (TranslateFont) {
    if (UseOwnLanguage)
      ApplyTranslatorFontIn(OwnLanguage, this);
    else
      ApplyTranslatorFont(this);
  }
  if (TranslateTexts) {
    ShownLanguage = UseOwnLanguage ? TranslateComponentTreeInto(ShownLanguage, OwnLanguage, this)
                                     : TranslateComponentTree(ShownLanguage, this);
  }
  fw::Application->ProcessMessages();
}

}  // namespace setup
