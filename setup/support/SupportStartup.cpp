#include "SupportStartup.h"

#include "NetInstallLocation.h"
#include "OpenFolderDialog.h"
#include "ProgramLauncher.h"
#include "Translator.h"
#include "TranslatorControls.h"

namespace setup {

fw::TLibrary SupportLibrary() {
  return {"setup support",
          [] {
            fw::RegisterClasses({&TTranslator::StaticClass(), &TTranslateLabel::StaticClass(),
                                 &TTranslateBitBtn::StaticClass(), &TProgramLauncher::StaticClass(),
                                 &TOpenFolderDialog::StaticClass(), &TNetInstallLocation::StaticClass()});
            StartNetInstallUnit();
          },
          [] { StopNetInstallUnit(); }};
}

}  // namespace setup
