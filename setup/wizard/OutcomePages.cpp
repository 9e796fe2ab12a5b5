#include "OutcomePages.h"

#include "core/ClassDef.h"
#include "objects/InstallEngine.h"

namespace setup {

const fw::TClass& TGoodInstallForm::StaticClass() {
  using T = TGoodInstallForm;
  static const fw::TClass cls = fw::TClassDef<T>().Creatable().Field("Label1", &T::Label1);
  return cls;
}

TGoodInstallForm::TGoodInstallForm(fw::TComponent* AOwner) : TWizardPage(AOwner, dmAfterGoodInstall, 10) {}

const fw::TClass& TBadInstallForm::StaticClass() {
  using T = TBadInstallForm;
  static const fw::TClass cls = fw::TClassDef<T>().Creatable().Field("TopLabel", &T::TopLabel);
  return cls;
}

TBadInstallForm::TBadInstallForm(fw::TComponent* AOwner) : TWizardPage(AOwner, dmAfterBadInstall, 10) {}

const fw::TClass& TRebootForm::StaticClass() {
  using T = TRebootForm;
  static const fw::TClass cls =
      fw::TClassDef<T>().Creatable().Field("Label1", &T::Label1).Field("RG", &T::RG).Method("RGClick", &T::RGClick);
  return cls;
}

TRebootForm::TRebootForm(fw::TComponent* AOwner) : TWizardPage(AOwner, dmReboot, 10) {}

void TRebootForm::UpdateControls() {
  TWizardPage::UpdateControls();
  TInstallEngine* engine = GlobalInstall();
  FFilling = true;
  try {
    RG->SetItemIndex(engine != nullptr && engine->EngineReboot() ? 0 : 1);
  } catch (...) {
    FFilling = false;
    throw;
  }
  FFilling = false;
}

void TRebootForm::RGClick(fw::TObject*) {
  if (FFilling) return;
  if (TInstallEngine* engine = GlobalInstall()) engine->SetEngineReboot(RG->ItemIndex() == 0);
}

}  // namespace setup
