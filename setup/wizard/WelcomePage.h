// The wizard's welcome page.
#pragma once

#include "WizardPage.h"

namespace setup {

class TWelcomeForm : public TWizardPage {
  FW_CLASS(TWelcomeForm, TWizardPage)
 public:
  explicit TWelcomeForm(fw::TComponent* AOwner);
};

}  // namespace setup
