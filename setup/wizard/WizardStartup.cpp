#include "WizardStartup.h"

#include "Backdrop.h"
#include "BaseFormContainer.h"
#include "gui/ColorUtils.h"
#include "CopyFileForm.h"
#include "DestinationPage.h"
#include "DialogManager.h"
#include "FolderPage.h"
#include "NoClientPage.h"
#include "OutcomePages.h"
#include "OxLabel.h"
#include "TextFilePages.h"
#include "WelcomePage.h"

namespace setup {

namespace {

void StartWizard() {
  fw::InitColorUtils();
  StartDialogManagerUnit();
  fw::RegisterClasses({&TBackdrop::StaticClass(), &ToxLabel::StaticClass(), &TDialogManager::StaticClass(),
                       &TBaseFormContainer::StaticClass()});
  // The page units in the order they start: it decides among pages of equal Order.
  RegisterBaseInstallForm(TWelcomeForm::StaticClass());
  RegisterDuringCopyForm(TCopyFileForm::StaticClass());
  RegisterBaseInstallForm(TBadInstallForm::StaticClass());
  RegisterBaseInstallForm(TGoodInstallForm::StaticClass());
  RegisterBaseInstallForm(TSelectFolderForm::StaticClass());
  RegisterBaseInstallForm(TRebootForm::StaticClass());
  RegisterBaseInstallForm(TSelectDestinationForm::StaticClass());
  RegisterBaseInstallForm(TLicenseForm::StaticClass());
  RegisterBaseInstallForm(TReadmeForm::StaticClass());
  RegisterBaseInstallForm(TNoClientFound::StaticClass());
}

}  // namespace

fw::TLibrary WizardLibrary() {
  return {"setup wizard", StartWizard, StopDialogManagerUnit};
}

}  // namespace setup
