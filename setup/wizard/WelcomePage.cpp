#include "WelcomePage.h"

#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TWelcomeForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TWelcomeForm>().Creatable();
  return cls;
}

TWelcomeForm::TWelcomeForm(fw::TComponent* AOwner) : TWizardPage(AOwner, dmBeforeInstall, 5) {}

}  // namespace setup
