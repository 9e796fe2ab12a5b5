// What the setup's own wizard pages share: the picture at the left, the button bar
// (Back, Next, Cancel, Finish) and the common refresh.
#pragma once

#include "BaseInstallForm.h"
#include "DialogManager.h"
#include "gui/ExtCtrls.h"
#include "support/TranslatorControls.h"

namespace setup {

class TWizardPage : public TBaseInstallForm {
  FW_CLASS(TWizardPage, TBaseInstallForm)
 public:
  // Finds the page's manager, takes its place in the wizard and the page colour (the
  // button face lightened by 45 per cent).
  TWizardPage(fw::TComponent* AOwner, TManagerType ManagerType, int AOrder);

  fw::TImage* ThemeBitmap = nullptr;
  TTranslateBitBtn* BackBtn = nullptr;
  TTranslateBitBtn* ProceedBtn = nullptr;
  TTranslateBitBtn* CancelBtn = nullptr;
  TTranslateBitBtn* FinishBtn = nullptr;

  // Back hidden on the first page, the focus on Next; with a Finish button, the last
  // page shows Finish instead of Next.
  void UpdateControls() override;

  void FormCreate(fw::TObject* Sender);
  void BackBtnClick(fw::TObject* Sender);
  virtual void ProceedBtnClick(fw::TObject* Sender);
  void CancelBtnClick(fw::TObject* Sender);
};

}  // namespace setup
