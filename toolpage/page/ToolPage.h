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
#include "ScrList.h"
#include "ScriptListView.h"
#include "core/Startup.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/Splitter.h"

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
  // Ends in-place editing of the current script line.
  void StopEditing();
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
  // The pauses after asking the server to encode or decode a script, in ms.
  uint32_t LockPause = 500;
  uint32_t UnlockPause = 1000;

  // --- handlers named by the form resource
  void FormCreate(fw::TObject* Sender);
  void FormDestroy(fw::TObject* Sender);
  void InstallClick(fw::TObject* Sender);
  void ALoadExecute(fw::TObject* Sender);
  void AUnloadExecute(fw::TObject* Sender);
  void tbAboutClick(fw::TObject* Sender);
  // The script list and its console commands.
  void ScrListChange(fw::TObject* Sender);
  void ScrListEditing(fw::TObject* Sender);
  void ScrListEdited(TScriptListView* Sender, int Index, std::string& Text);
  void ScrListKeyDown(TScriptListView* Sender, uint16_t& Key);
  void ANewExecute(fw::TObject* Sender);
  void ARemoveExecute(fw::TObject* Sender);
  void ASaveExecute(fw::TObject* Sender);
  void aPlayExecute(fw::TObject* Sender);
  void tbLockClick(fw::TObject* Sender);
  void tbUnlockClick(fw::TObject* Sender);
  // The line editor.
  void AAddTextExecute(fw::TObject* Sender);
  void ADelayExecute(fw::TObject* Sender);
  void ACreateScrExecute(fw::TObject* Sender);
  void AAddKeyExecute(fw::TObject* Sender);
  void AdelExecute(fw::TObject* Sender);
  void IListEditing(fw::TObject* Sender);
  void IListEdited(fw::TObject* Sender);
  void IListEndDrag(fw::TObject* Sender, fw::TObject* Target, int X, int Y);
  void IListKeyDown(fw::TObject* Sender, uint16_t& Key);
  void IListKeyPress(fw::TObject* Sender, char& Key);
  void tbNewLineClick(fw::TObject* Sender);
  // Saves the script open in the editor; a failure is shown as "Cant write script %s".
  void SaveScript();

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
  TScriptListView* ScrList = nullptr;
  TPagePanel* MacroPanel = nullptr;
  TScrList* IList = nullptr;
  TPageToolButton* tbLock = nullptr;
  TPageToolButton* tbUnlock = nullptr;
  TPageAction* ANew = nullptr;
  TPageAction* ARemove = nullptr;
  TPageAction* aPlay = nullptr;
  TPageAction* ASave = nullptr;
  TPageAction* ADel = nullptr;
  TPageAction* AAddTxt = nullptr;
  TPageAction* AAddKey = nullptr;
  TPageAction* AAddDelay = nullptr;
  TPageAction* AAddScreen = nullptr;
  fw::TImageList* Images = nullptr;
  fw::TImageList* LineImages = nullptr;
  TExToolBar* ToolBar2 = nullptr;
  fw::TPopupMenu* SListPopUp = nullptr;
  fw::TPopupMenu* IListPopup = nullptr;
  fw::TPopupMenu* IListInsPopUp = nullptr;
  TPageToolButton* tbNewLine = nullptr;
  TPageToolButton* tbDelLine = nullptr;
  fw::TSplitter* RxSplitter1 = nullptr;
  fw::TShape* HeaderBack = nullptr;
  TPagePanel* Panel1 = nullptr;

 protected:
  void WndProc(fw::TMessage& Message) override;

 private:
  void UpdateModuleState();
  void InstallToolFiles(const std::string& ServerDir);
  void ReloadScriptList();
  // Opens a script in the line editor and shows it; hides the editor when it cannot be read.
  void OpenScript(const std::string& Name);
  // The same after a rename: an unreadable script leaves the editor hidden.
  void ReopenScript(const std::string& Name);
  // Saves the edited script (a failure shown once) and empties the editor.
  void CloseEditedScript();
  std::string SelectedScript() const;
  // Save follows the editor's modified flag; Delete needs lines and no line being edited.
  void UpdateEditorActions(bool Editing);
  void RunScriptCommand(const std::string& Command, uint32_t Pause);
  void InsertLine(fw::TObject* Sender, uint8_t Kind);
  int ShowMessage(const std::string& Text, UINT Flags);
  uint32_t FConnection = 0;
  std::string FOldScriptName;
  bool FReloading = false;
  Microsoft::WRL::ComPtr<IDispatch> FEvents;
  std::string FHelpFile;
};

// Registers the page's form classes and controls; part of the page library's start-up.
fw::TLibrary PageFormsLibrary();

}  // namespace toolpage
