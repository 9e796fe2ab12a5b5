// The tool page: the form the console shows for the server the user selected. It offers
// the install sheet (the scripting module is not on the server), the control sheet (load,
// unload, about) or the sheet for servers that are too old.
#pragma once

#include <windows.h>
// (windows.h first)
#include <oaidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>

#include "ExToolBar.h"
#include "PageControls.h"
#include "core/Startup.h"
#include "gui/Forms.h"

namespace toolpage {

FW_EXCEPTION(EToolPageError, fw::Exception);

// The help topic of the page and the product's help file.
constexpr int kPageHelpContext = 103000;
constexpr const char* kHelpFileName = "VX4.HLP";
// The tools key the setup writes for the page (HKEY_LOCAL_MACHINE).
constexpr const char* kToolsKey = "Software\\Kavel\\Stavrel\\Tools\\Tuvek";

// The "Path" value of the tools key with one "\" appended; empty without the key.
std::string GetToolPath();
// The help file: in the tools folder, else in the product's folder above it (where the
// setup puts it); the tools folder's name when neither holds it.
std::string FindHelpFile(const std::string& ToolPath);
// The WinHelp macro that opens Context in the help file's secondary window "Aux".
std::string HelpMacro(const std::string& HelpFile, int Context);

// The sheet a server gets: too old below 3.12, else control when the module file is on it.
enum class TPageSheetKind { pkInstall, pkControl, pkTooOld };
using enum TPageSheetKind;
TPageSheetKind ChooseSheet(bool VersionAtLeast312, bool ModuleOnServer);

class TToolPage : public fw::TForm {
  FW_CLASS(TToolPage, fw::TForm)
 public:
  using fw::TForm::TForm;

  // --- what the host reaches through the control
  void SetConnection(uint32_t ConnRef) { FConnection = ConnRef; }
  // The stored reference; without one the host is first asked for it (event 1).
  uint32_t GetConnection();
  // The host's event sink (nil when it disconnects).
  void EventSinkChanged(IDispatch* Sink);
  IDispatch* Events() const { return FEvents.Get(); }
  // Shows the sheet for the server and updates the module state; raises on failure.
  void RefreshPage();
  void StopEditing() {}
  // Tells the host that line editing starts (False) or ends (True): event 3.
  void FireEditState(bool Done);

  // The module file that suits the current server ("TUVEK.NLM"); empty when none.
  std::string GetNlmFileName() const;
  const std::string& HelpFile() const { return FHelpFile; }
  // The help request of the page: HELP_CONTEXT opens the topic in the "Aux" window;
  // CallHelp false when handled here.
  bool ApplicationHelp(uint16_t Command, intptr_t Data, bool& CallHelp);
  // The pause after loading the module, in ms.
  uint32_t LoadPause = 1000;

  // --- handlers named by the form resource
  void FormCreate(fw::TObject* Sender);
  void FormDestroy(fw::TObject* Sender);
  void InstallClick(fw::TObject* Sender);
  void ALoadExecute(fw::TObject* Sender);
  void AUnloadExecute(fw::TObject* Sender);
  void tbAboutClick(fw::TObject* Sender);

  TPageSheets* Pages = nullptr;
  TPageSheet* InstallSheet = nullptr;
  TPageSheet* CtrlSheet = nullptr;
  TPageSheet* ToOldSheet = nullptr;
  TPageCheckBox* CB_AddToAutoexec = nullptr;
  TPageCheckBox* CB_Load = nullptr;
  fw::TButton* InstallBtn = nullptr;
  TExToolBar* ToolBar1 = nullptr;
  TPagePanel* DownPanel = nullptr;
  TPageAction* ALoad = nullptr;
  TPageAction* AUnload = nullptr;
  TPageAction* AAbout = nullptr;

 protected:
  void WndProc(fw::TMessage& Message) override;

 private:
  void UpdateModuleState();
  void InstallToolFiles(const std::string& ServerDir);
  uint32_t FConnection = 0;
  Microsoft::WRL::ComPtr<IDispatch> FEvents;
  std::string FHelpFile;
};

// Registers the page's form classes and controls; part of the page library's start-up.
fw::TLibrary PageFormsLibrary();

}  // namespace toolpage
