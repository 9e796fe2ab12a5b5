#include "LanguageFont.h"

#include "Language.h"
#include "gui/Controls.h"

namespace setup {

using namespace fw;

void ApplyLanguageFont(TControl* Control, const TLanguage& Language) {
  if (Control == nullptr) return;
  if (Language.FontOverride()) {
    Control->Font().Assign(&Language.Font());
  } else {
    int charset = LanguageCharset(Language.LanguageIdent());
    TLanguageFace face = LanguageFace(Language.LanguageIdent());
    TFont& font = Control->Font();
    font.SetCharset(charset);
    font.SetName(face.Name);
    if (font.Size() < face.MinSize) font.SetSize(face.MinSize);
  }
  if (auto* windowed = dynamic_cast<TWinControl*>(Control))
    for (int i = 0; i < windowed->ControlCount(); ++i) ApplyLanguageFont(windowed->Controls(i), Language);
}

}  // namespace setup
