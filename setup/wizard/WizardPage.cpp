#include "WizardPage.h"

#include "gui/ColorUtils.h"
#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TWizardPage::StaticClass() {
  using T = TWizardPage;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Field("ThemeBitmap", &T::ThemeBitmap)
                                    .Field("BackBtn", &T::BackBtn)
                                    .Field("ProceedBtn", &T::ProceedBtn)
                                    .Field("CancelBtn", &T::CancelBtn)
                                    .Field("FinishBtn", &T::FinishBtn)
                                    .Method("FormCreate", &T::FormCreate)
                                    .Method("BackBtnClick", &T::BackBtnClick)
                                    .Method("ProceedBtnClick", &T::ProceedBtnClick)
                                    .Method("CancelBtnClick", &T::CancelBtnClick);
  return cls;
}

TWizardPage::TWizardPage(fw::TComponent* AOwner, TManagerType ManagerType, int AOrder) : TBaseInstallForm(AOwner) {
  SetDM(FindDialogManager(ManagerType));
  SetOrder(AOrder);
  SetColor(fw::LightenColor(fw::clBtnFace, 45));
}

void TWizardPage::FormCreate(fw::TObject*) {
  if (ThemeBitmap != nullptr && ThemeBitmap->Picture().Empty()) LoadThemeBitmap(ThemeBitmap->Picture());
}

void TWizardPage::UpdateControls() {
  TBaseInstallForm::UpdateControls();
  if (BackBtn != nullptr) BackBtn->SetVisible(!IsFirstPage());
  if (FinishBtn != nullptr && ProceedBtn != nullptr) {
    ProceedBtn->SetVisible(!IsLastPage());
    FinishBtn->SetVisible(!ProceedBtn->Visible());
    FocusWhenShown(ProceedBtn->Visible() ? ProceedBtn : FinishBtn);
    return;
  }
  FocusWhenShown(ProceedBtn);
}

void TWizardPage::BackBtnClick(fw::TObject*) {
  GoBack();
}
void TWizardPage::ProceedBtnClick(fw::TObject*) {
  GoNext();
}
void TWizardPage::CancelBtnClick(fw::TObject*) {
  ConfirmCancel();
}

}  // namespace setup
