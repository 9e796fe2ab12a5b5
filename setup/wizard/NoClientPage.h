// The stop page for a workstation without the NetWare client: it shows only when the
// client is missing, and its one button ends the setup as cancelled.
#pragma once

#include "WizardPage.h"

namespace setup {

class TNoClientFound : public TWizardPage {
  FW_CLASS(TNoClientFound, TWizardPage)
 public:
  explicit TNoClientFound(fw::TComponent* AOwner);

  TTranslateLabel* TranslateLabel1 = nullptr;
  TTranslateLabel* TranslateLabel2 = nullptr;
  TTranslateBitBtn* AbortBtn = nullptr;

  // Skipped when the client is installed.
  bool SkipPage() override;
  void UpdateControls() override {}
  // The page's one button (AbortBtn): cancel without a question.
  void ProceedBtnClick(fw::TObject* Sender) override;
};

}  // namespace setup
