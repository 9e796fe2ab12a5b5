// The pages that end an installation: the good and the bad outcome, and the reboot
// choice. Each is the only page of its wizard, so it shows Finish instead of Next.
#pragma once

#include "WizardPage.h"
#include "gui/ListCtrls.h"

namespace setup {

class TGoodInstallForm : public TWizardPage {
  FW_CLASS(TGoodInstallForm, TWizardPage)
 public:
  explicit TGoodInstallForm(fw::TComponent* AOwner);
  TTranslateLabel* Label1 = nullptr;
};

class TBadInstallForm : public TWizardPage {
  FW_CLASS(TBadInstallForm, TWizardPage)
 public:
  explicit TBadInstallForm(fw::TComponent* AOwner);
  TTranslateLabel* TopLabel = nullptr;
};

class TRebootForm : public TWizardPage {
  FW_CLASS(TRebootForm, TWizardPage)
 public:
  explicit TRebootForm(fw::TComponent* AOwner);
  TTranslateLabel* Label1 = nullptr;
  fw::TRadioGroup* RG = nullptr;

  // Preselects "No", or "Yes" when the engine is to reboot already; the preselection
  // itself changes nothing.
  void UpdateControls() override;
  // The user's choice becomes the engine's reboot flag.
  void RGClick(fw::TObject* Sender);

 private:
  bool FFilling = false;
};

}  // namespace setup
