#include "WizardStartup.h"

#include "Backdrop.h"
#include "ColorUtils.h"
#include "OxLabel.h"

namespace setup {

fw::TLibrary WizardLibrary() {
  return {"setup wizard",
          [] {
            InitColorUtils();
            fw::RegisterClasses({&TBackdrop::StaticClass(), &ToxLabel::StaticClass()});
          },
          [] {}};
}

}  // namespace setup
