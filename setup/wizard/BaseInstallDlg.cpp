#include "BaseInstallDlg.h"

#include "BaseInstallForm.h"
#include "WizardPlacement.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/Screen.h"
#include "support/Errors.h"

namespace setup {

const fw::TClass& TCustomBaseInstallDlg::StaticClass() {
  using T = TCustomBaseInstallDlg;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Component("Container", &T::Container, &T::SetContainer)
                                    .Component("DialogManager", &T::DialogManager, &T::SetDialogManager);
  return cls;
}

TCustomBaseInstallDlg::TCustomBaseInstallDlg(fw::TComponent* AOwner)
    : TInstallObject(AOwner, rtDialog), FPicture(std::make_unique<fw::TPicture>()) {
  SetInstallTypes(TInstallTypeSet{itFull, itDefault, itCompact, itCustom});
}

TCustomBaseInstallDlg::~TCustomBaseInstallDlg() {
  SetForm(nullptr);
  if (FDialogManager != nullptr) FDialogManager->RemoveDialog(this);
  FDialogManager = nullptr;
  ForgetDialogInEntries(this);
}

void TCustomBaseInstallDlg::SetDialogManager(TDialogManager* Value) {
  if (Value == FDialogManager) return;
  if (FDialogManager != nullptr) FDialogManager->RemoveDialog(this);
  FDialogManager = nullptr;
  if (Value != nullptr) Value->AddDialog(this);
  FDialogManager = Value;
}

void TCustomBaseInstallDlg::SetPicture(const fw::TPicture* Value) {
  FPicture->Assign(Value);
}

void TCustomBaseInstallDlg::SetForm(fw::TCustomForm* Value) {
  if (Value == FForm) return;
  if (FForm != nullptr) FForm->RemoveFreeNotification(this);
  FForm = Value;
  if (FForm != nullptr) FForm->FreeNotification(this);
}

void TCustomBaseInstallDlg::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  TInstallObject::Notification(AComponent, Operation);
  if (Operation == fw::opRemove && AComponent == FForm) FForm = nullptr;
}

void TCustomBaseInstallDlg::RemoveReference(TInstallContainer* Obj) {
  TInstallObject::RemoveReference(Obj);
  if (Obj != nullptr && Obj == FDialogManager) FDialogManager = nullptr;
}

void TCustomBaseInstallDlg::TranslateForm() {
  if (FForm == nullptr) return;
  if (TranslateFont) {
    if (UseOwnLanguage)
      ApplyTranslatorFontIn(OwnLanguage, FForm);
    else
      ApplyTranslatorFont(FForm);
  }
  if (TranslateTexts)
    ShownLanguage = UseOwnLanguage ? TranslateComponentTreeInto(ShownLanguage, OwnLanguage, FForm)
                                   : TranslateComponentTree(ShownLanguage, FForm);
}

void TCustomBaseInstallDlg::AssignDialogProperties() {
  if (FForm == nullptr)
    throw fw::Exception(
        fw::Format(TranslateEnglishText("Cannot AssignDialogProperties for %s because the Dialog is Nil"), Name()));
  if (auto* form = dynamic_cast<TBaseQuenlarkForm*>(FForm)) {
    form->TranslateFont = TranslateFont;
    form->TranslateTexts = TranslateTexts;
    form->UseOwnLanguage = UseOwnLanguage;
    form->OwnLanguage = OwnLanguage;
    form->SetContainer(Container());
  }
  if (auto* page = dynamic_cast<TBaseInstallForm*>(FForm)) page->SetDC(this);
  TranslateForm();
}

bool TCustomBaseInstallDlg::Execute() {
  try {
    if (OnBeforeShow) OnBeforeShow(this);
    bool result = ShowDialog();
    fw::Application->ProcessMessages();
    if (OnAfterShow) OnAfterShow(this);
    return result;
  } catch (const fw::EAbort&) {
    return false;
  }
}

namespace {

// Frees the dialog's own form and lets the dialog forget it, also on an exception.
class TShownForm {
 public:
  TShownForm(TCustomBaseInstallDlg& Dialog, fw::TCustomForm* Form) : FDialog(Dialog), FForm(Form) {
    FDialog.SetForm(Form);
  }
  ~TShownForm() {
    FDialog.SetForm(nullptr);
    FForm->Free();
  }
  TShownForm(const TShownForm&) = delete;
  TShownForm& operator=(const TShownForm&) = delete;

 private:
  TCustomBaseInstallDlg& FDialog;
  fw::TCustomForm* FForm;
};

}  // namespace

bool TCustomBaseInstallDlg::ShowDialog() {
  if (!CanShow()) return true;
  fw::TCustomForm* form = CreateRegisteredForm(FormClass(), fw::Application);
  TShownForm shown(*this, form);
  AssignDialogProperties();
  PlaceForm();
  if (form->ShowModal() != fw::mrOk) throw EAIUserAbort();
  return true;
}

void TCustomBaseInstallDlg::PlaceForm() {
  if (FForm == nullptr) return;
  FForm->SetPosition(fw::poDesigned);
  TWindowPlace place = PlaceWindow(Position, LeftOffset, TopOffset, Width, Height, fw::ScreenWidth(),
                                   fw::ScreenHeight(), fw::CaptionHeight());
  FForm->SetBounds(place.Left, place.Top, Width, Height);
}

}  // namespace setup
