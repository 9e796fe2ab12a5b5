// The setup program's main form: its resource holds the whole configuration of the
// installation; the form adds the handlers that fit shortcuts, registry values and two
// optional files to the target language and to the machine.
#pragma once

#include <cstdint>
#include <string>

#include "core/Startup.h"
#include "engine/Install.h"
#include "gui/Forms.h"
#include "objects/InstallFile.h"
#include "objects/InstallRegistry.h"
#include "objects/ShellLinks.h"
#include "support/NetInstallLocation.h"
#include "support/Translator.h"
#include "wizard/Backdrop.h"
#include "wizard/OxLabel.h"

namespace setup {

// What the handlers ask of the machine besides its version; tests give their own answers.
struct TMachineProbes {
  // Whether "SHFOLDER.DLL" can be loaded.
  bool (*ShFolderDllPresent)();
  // The common-controls library's version as major shl 16 + minor.
  uint32_t (*CommonControlsVersion)();
};

// "SHFOLDER.DLL" loads (without an error box from Windows); the library is freed again.
bool IsShFolderDllPresent();
// The version comctl32.dll reports through DllGetVersion (major shl 16 + minor); a
// library too old to report one counts as 4.0.
uint32_t CommonControlsVersion();

// The common-controls version from which the update is not needed (4.71).
inline constexpr uint32_t kCommonControlsWithoutUpdate = (4u << 16) + 71u;

class TMain : public fw::TForm {
  FW_CLASS(TMain, fw::TForm)
 public:
  using fw::TForm::TForm;

  TBackdrop* BackDrop = nullptr;
  ToxLabel* oxLabel1 = nullptr;
  ToxLabel* ProductLabel = nullptr;
  fw::TLabel* Label1 = nullptr;
  TInstall* MainInstall = nullptr;
  TTranslator* MainTranslator = nullptr;
  TNetInstallLocation* NetLocation = nullptr;
  TInstallFile* InstallCommUpdate = nullptr;
  TInstallFile* ShFolderInstallFile = nullptr;
  TInstallFile* Help_US = nullptr;
  TInstallFile* ReadMe_US = nullptr;
  TMainLinkGroup* MainFolder = nullptr;
  TInstallMainLink* HelpLink = nullptr;
  TInstallMainLink* ReadmeLink = nullptr;
  TInstallMainLink* UrlLink = nullptr;
  TInstallMainLink* UnInstallLink = nullptr;
  TInstallRegistry* InstallRegistry = nullptr;

  TMachineProbes Probes{IsShFolderDllPresent, CommonControlsVersion};

  // The shell-folder installer runs only where Windows lacks the library; the
  // common-controls update comes only with a library older than 4.71.
  void MainInstallAfterInitialized(fw::TObject* Sender);
  void MainInstallBeforeInstallObjects(TInstallContainer* Container);
  void HelpLinkBeforeProcess(TInstallContainer* Container);
  void ReadmeLinkBeforeProcess(TInstallContainer* Container);
  // The web shortcut leads to the maker's site for the target language.
  void UrlLinkBeforeProcess(TInstallContainer* Container);
  void UnInstallLinkBeforeProcess(TInstallContainer* Container);
  // A locale value is named by the installed program's full path and selects the
  // language of its resource modules.
  void InstallRegistryBeforeWriteEntry(TCustomInstallRegistry* Registry, TRegistryEntry* Entry, bool& Continue);
  // The form shrinks to nothing; the engine's show hook then maximises it, so the
  // splash fills the screen behind the wizards.
  void FormShow(fw::TObject* Sender);
};

// The maker's web sites the web shortcut leads to.
inline constexpr char kInternationalSite[] = "www.example.com";
inline constexpr char kPolishSite[] = "pl.example.com";

// The application's own classes; its shut-down frees the forms, before the libraries
// below it stop.
fw::TLibrary AppLibrary();

}  // namespace setup
