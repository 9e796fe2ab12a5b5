// The translator on forms: texts of a component tree, fonts of a control tree.
#include "LanguageFont.h"
#include "Translator.h"
#include "TranslatorControls.h"
#include "gui/Forms.h"
#include "gui/ListCtrls.h"

namespace setup {

using namespace fw;

namespace {

// Images keep showing while the texts around them change (their class comes from
// another unit, so it is recognised by name).
bool IsImage(const TControl& Control) {
  for (const TClass* cls = &Control.ClassType(); cls != nullptr; cls = cls->ClassParent())
    if (cls->ClassName() == "TImage") return true;
  return false;
}

// Hides a control while its texts change and switches a label's auto-size off;
// puts both back when it ends, also when the translation fails.
class TTranslationFreeze {
 public:
  explicit TTranslationFreeze(TComponent* Component) : FControl(dynamic_cast<TControl*>(Component)) {
    if (FControl == nullptr) return;
    FVisible = FControl->Visible();
    FLabel = dynamic_cast<TLabel*>(FControl);
    if (FLabel != nullptr) FAutoSize = FLabel->AutoSize();
    if (dynamic_cast<TCustomForm*>(FControl) == nullptr && !IsImage(*FControl)) FControl->SetVisible(false);
    if (FLabel != nullptr) FLabel->SetAutoSize(false);
  }
  TTranslationFreeze(const TTranslationFreeze&) = delete;
  TTranslationFreeze& operator=(const TTranslationFreeze&) = delete;

  // The normal end: a failure to restore is reported.
  void Restore() {
    TControl* control = FControl;
    FControl = nullptr;
    if (control == nullptr) return;
    if (FLabel != nullptr) FLabel->SetAutoSize(FAutoSize);
    control->SetVisible(FVisible);
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->Realign();
  }
  // After a failure: the first error is the one that propagates.
  ~TTranslationFreeze() {
    try {
      Restore();
    } catch (...) {
    }
  }

 private:
  TControl* FControl;
  TLabel* FLabel = nullptr;
  bool FVisible = true;
  bool FAutoSize = false;
};

// The GLID of a control that names its text, 0 for every other component.
int ComponentGLID(const TComponent* Component) {
  if (const auto* label = dynamic_cast<const TTranslateLabel*>(Component)) return label->GLID();
  if (const auto* button = dynamic_cast<const TTranslateBitBtn*>(Component)) return button->GLID();
  return 0;
}

void TranslateItems(const TTranslator& Translator, TQnlkLanguage Source, TStrings& Items) {
  Items.BeginUpdate();
  try {
    for (int i = 0; i < Items.Count(); ++i) {
      std::string item = Items.Get(i);
      std::string translated = Translator.TranslateText(Source, item);
      if (translated != item) Items.Put(i, translated);
    }
  } catch (...) {
    Items.EndUpdate();
    throw;
  }
  Items.EndUpdate();
}

}  // namespace

TQnlkLanguage TTranslator::TranslateComponent(TQnlkLanguage Source, TComponent* Component) {
  if (Component == nullptr) return Source;
  TTranslationFreeze freeze(Component);

  int glid = ComponentGLID(Component);
  if (glid > 0) {
    auto* control = static_cast<TControl*>(Component);
    control->SetCaption(TranslateGLID(glid, control->Caption()));
  } else if (glid == 0) {
    for (const TPropInfo* prop : Component->ClassType().Properties()) {
      if (prop->Kind != TTypeKind::String || !prop->SetStr || SameText(prop->Name, "NAME")) continue;
      std::string value = prop->GetStr(Component);
      if (Trim(value).empty()) continue;
      std::string translated = TranslateText(Source, value);
      if (translated != value) prop->SetStr(Component, translated);
    }
    if (auto* list = dynamic_cast<TCustomListBox*>(Component))
      TranslateItems(*this, Source, list->Items());
    else if (auto* group = dynamic_cast<TRadioGroup*>(Component))
      TranslateItems(*this, Source, group->Items());
  }

  for (int i = 0; i < Component->ComponentCount(); ++i) {
    TComponent* owned = Component->Components(i);
    if (dynamic_cast<TCustomForm*>(owned) == nullptr) TranslateComponent(Source, owned);
  }

  bool fellBack = false;
  TLanguage* target = ResolveTarget(&fellBack);
  TQnlkLanguage result = Source;
  if (target->Strings().Count() > 0) result = fellBack ? target->LanguageIdent() : FTranslateIntoLanguage;
  freeze.Restore();
  return result;
}

void TTranslator::ApplyFont(TControl* Control, bool Keep) {
  if (Control == nullptr) return;
  TLanguage* target = TargetLanguage();
  if (target->Strings().Count() == 0 && !Keep) target = FindLanguage(qlEnglish);
  ApplyLanguageFont(Control, *target);
}

}  // namespace setup
