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

void TBaseQuenlarkForm::Translate() { TranslateDialog(); }

void TBaseQuenlarkForm::TranslateDialog() {
  if (TranslateFonts) {
    if (UseFixedLanguage)
      ApplyTranslatorFontIn(FixedLanguage, this);
    else
      ApplyTranslatorFont(this);
  }
  if (TranslateText) {
    ShownLanguage = UseFixedLanguage ? TranslateComponentTreeInto(ShownLanguage, FixedLanguage, this)
                                     : TranslateComponentTree(ShownLanguage, this);
  }
  fw::Application->ProcessMessages();
}

}  // namespace setup
