#include "InstallEngine.h"

#include "InstallContainer.h"
#include "InstallRunJournal.h"
#include "UninstallFileLog.h"
#include "support/InstallInformation.h"

namespace setup {

namespace {
TInstallEngine* gGlobalInstall = nullptr;
}

TInstallEngine::TInstallEngine() = default;

void TInstallEngine::BeginRun() {
  EndRun();
  // Without a product name nothing can be logged; the writers say so themselves.
  if (fw::Trim(EngineInformation().ProductName()).empty()) return;
  FRunJournal = std::make_unique<TInstallRunJournal>(ProductUninstallKey());
  FRunFileLog = std::make_unique<TUninstallFileLog>(ProductUninstallKey());
}

void TInstallEngine::EndRun() {
  FRunFileLog.reset();
  FRunJournal.reset();
}

TInstallEngine::~TInstallEngine() {
  if (gGlobalInstall == this) gGlobalInstall = nullptr;
}

TInstallEngine* GlobalInstall() { return gGlobalInstall; }

void SetGlobalInstall(TInstallEngine* Engine) { gGlobalInstall = Engine; }

TDistributeType CurrentDistributeType() {
  return gGlobalInstall != nullptr ? gGlobalInstall->EngineDistributeType() : dtTraditionalNet;
}

bool IsInstallRunning() { return gGlobalInstall != nullptr && gGlobalInstall->EngineInstalling(); }

std::string ProductUninstallKey() {
  if (gGlobalInstall == nullptr) throw IEInstallContainer("There is no TInstall component to name the uninstall key");
  const std::string& product = gGlobalInstall->EngineInformation().ProductName();
  if (fw::Trim(product).empty())
    throw IEInstallContainer(
        "The product name in the Information of %s is blank, so the uninstall information cannot be written",
        gGlobalInstall->EngineContainer().Name());
  return kUninstallRootKey + product;
}

}  // namespace setup
