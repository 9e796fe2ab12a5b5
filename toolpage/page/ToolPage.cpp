#include "ToolPage.h"

#include <algorithm>

#include "AboutBox.h"
#include "AutoUpdate.h"
#include "gui/ColorUtils.h"
#include "ConsoleCommands.h"
#include "NlmMgr.h"
#include "NwConnection.h"
#include "PageWaitCursor.h"
#include "ScreenNameStore.h"
#include "ScriptFiles.h"
#include "ScriptNames.h"
#include "ServerFiles.h"
#include "ServerInfo.h"
#include "ServerNames.h"
#include "ServerPaths.h"
#include "core/ClassDef.h"
#include "core/SysUtils.h"
#include "gui/Splitter.h"
#include "gui/WinHandles.h"

namespace toolpage {

using namespace fw;

namespace {

const char* const kToolModule = "TUVEK";
const char* const kToolFiles[] = {"TUVEK.NLM", "DOWN.OKS"};

bool IsFile(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ParentFolder(const std::string& Folder) {
  std::string path = Folder;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  size_t slash = path.find_last_of("\\:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The server's SYS:SYSTEM folder as a UNC path, with its final "\".
std::string ServerSystemDir(uint32_t ConnRef) {
  return ServerSystemUNC(ConnRef);
}

// The module builds the page brings onto a server, in the order they are tried.
void RegisterServerModules(TNlmMgr& Mgr) {
  Mgr.RegisterNlm("VX4LIB", "VX4LIB.312", "KAVEL:STD4", 3.12, {});
  Mgr.RegisterNlm("VX4LIB", "VX4LIB.410", "KAVEL:STD4", 4.1, {});
  Mgr.RegisterNlm("VX4LIB", "VX4LIB.NLM", "KAVEL:STD4", 4.11, {});
  Mgr.RegisterNlm("CLIBAUX", "CLIBAUX.NLM", "", 3.12, {"VX4LIB"});
  Mgr.RegisterNlm("VX4CS", "VX4CS.312", "KAVEL:CS4", 3.12, {"VX4LIB", "CLIBAUX"});
  Mgr.RegisterNlm("VX4CS", "VX4CS.NLM", "KAVEL:CS4", 4.11, {"VX4LIB"});
  Mgr.RegisterNlm("VX4RC", "VX4RC.312", "KAVEL:RC41", 3.12, {"VX4LIB"});
  Mgr.RegisterNlm("VX4RC", "VX4RC.NLM", "KAVEL:RC41", 4.1, {"VX4LIB"});
  Mgr.RegisterNlm("VX4RC", "VX4RC.NLM", "KAVEL:RC41", 4.11, {"VX4LIB"});
  Mgr.RegisterNlm(kToolModule, "TUVEK.NLM", "", 3.12, {"VX4LIB"});
}

class TWaitCursor {
 public:
  TWaitCursor() { BeginWaitCursor(); }
  ~TWaitCursor() { EndWaitCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

std::string GetToolPath() {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kToolsKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return "";
  TRegKeyHandle key(raw);
  char value[MAX_PATH * 2] = {};
  DWORD size = sizeof value - 1, type = 0;
  if (RegQueryValueExA(key.Get(), "Path", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return "";
  std::string path(value);
  return path + "\\";
}

std::string FindHelpFile(const std::string& ToolPath) {
  std::string inTools = ToolPath + kHelpFileName;
  if (IsFile(inTools)) return inTools;
  std::string product = ParentFolder(ToolPath);
  if (!product.empty() && IsFile(product + kHelpFileName)) return product + kHelpFileName;
  return inTools;
}

std::string HelpMacro(const std::string& HelpFile, int Context) {
  size_t slash = HelpFile.find_last_of("\\:/");
  std::string name = slash == std::string::npos ? HelpFile : HelpFile.substr(slash + 1);
  return Format("JC(\"%s>Aux\",%d)", name, Context);
}

TPageSheetKind ChooseSheet(bool VersionAtLeast312, bool ModuleOnServer) {
  if (!VersionAtLeast312) return pkTooOld;
  return ModuleOnServer ? pkControl : pkInstall;
}

const TClass& TToolPage::StaticClass() {
  using T = TToolPage;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Method("FormCreate", &T::FormCreate)
                                .Method("FormDestroy", &T::FormDestroy)
                                .Method("InstallClick", &T::InstallClick)
                                .Method("ALoadExecute", &T::ALoadExecute)
                                .Method("AUnloadExecute", &T::AUnloadExecute)
                                .Method("tbAboutClick", &T::tbAboutClick)
                                .Method("ScrListChange", &T::ScrListChange)
                                .Method("ScrListEditing", &T::ScrListEditing)
                                .Method("ScrListEdited", &T::ScrListEdited)
                                .Method("ScrListKeyDown", &T::ScrListKeyDown)
                                .Method("ANewExecute", &T::ANewExecute)
                                .Method("ARemoveExecute", &T::ARemoveExecute)
                                .Method("ASaveExecute", &T::ASaveExecute)
                                .Method("aPlayExecute", &T::aPlayExecute)
                                .Method("tbLockClick", &T::tbLockClick)
                                .Method("tbUnlockClick", &T::tbUnlockClick)
                                .Method("AAddTextExecute", &T::AAddTextExecute)
                                .Method("ADelayExecute", &T::ADelayExecute)
                                .Method("ACreateScrExecute", &T::ACreateScrExecute)
                                .Method("AAddKeyExecute", &T::AAddKeyExecute)
                                .Method("AdelExecute", &T::AdelExecute)
                                .Method("IListEditing", &T::IListEditing)
                                .Method("IListEdited", &T::IListEdited)
                                .Method("IListEndDrag", &T::IListEndDrag)
                                .Method("IListKeyDown", &T::IListKeyDown)
                                .Method("IListKeyPress", &T::IListKeyPress)
                                .Method("tbNewLineClick", &T::tbNewLineClick)
                                .Field("Pages", &T::Pages)
                                .Field("InstallSheet", &T::InstallSheet)
                                .Field("CtrlSheet", &T::CtrlSheet)
                                .Field("ToOldSheet", &T::ToOldSheet)
                                .Field("CB_AddToAutoexec", &T::CB_AddToAutoexec)
                                .Field("CB_Load", &T::CB_Load)
                                .Field("InstallBtn", &T::InstallBtn)
                                .Field("ToolBar1", &T::ToolBar1)
                                .Field("DownPanel", &T::DownPanel)
                                .Field("ALoad", &T::ALoad)
                                .Field("AUnload", &T::AUnload)
                                .Field("AAbout", &T::AAbout)
                                .Field("ScrList", &T::ScrList)
                                .Field("MacroPanel", &T::MacroPanel)
                                .Field("IList", &T::IList)
                                .Field("tbLock", &T::tbLock)
                                .Field("tbUnlock", &T::tbUnlock)
                                .Field("ANew", &T::ANew)
                                .Field("ARemove", &T::ARemove)
                                .Field("aPlay", &T::aPlay)
                                .Field("ASave", &T::ASave)
                                .Field("ADel", &T::ADel)
                                .Field("AAddTxt", &T::AAddTxt)
                                .Field("AAddKey", &T::AAddKey)
                                .Field("AAddDelay", &T::AAddDelay)
                                .Field("AAddScreen", &T::AAddScreen)
                                .Field("Images", &T::Images)
                                .Field("LineImages", &T::LineImages)
                                .Field("ToolBar2", &T::ToolBar2)
                                .Field("SListPopUp", &T::SListPopUp)
                                .Field("IListPopup", &T::IListPopup)
                                .Field("IListInsPopUp", &T::IListInsPopUp)
                                .Field("tbNewLine", &T::tbNewLine)
                                .Field("tbDelLine", &T::tbDelLine)
                                .Field("RxSplitter1", &T::RxSplitter1)
                                .Field("HeaderBack", &T::HeaderBack)
                                .Field("Panel1", &T::Panel1);
  return cls;
}

void TToolPage::FormCreate(TObject*) {
  const COLORREF face = ColorToRGB(clBtnFace);
  fw::HighColor = fw::ScreenColorDepth() > 8 && face != 0 && face != 0xFFFFFF;
  HeaderBack->SetColor(fw::BlendColors(HeaderBack->Color(), clWhite, 35));
  Images->AddResource("PAGEIMAGES", clFuchsia);
  LineImages->AddResource("SCRLISTICONS", clFuchsia);
  for (TExToolBar* bar : {ToolBar1, ToolBar2}) bar->ImagesChanged();
  ScrList->SetSmallImages(Images);
  // The manager lives as long as the library; pages created later find the builds there.
  if (NlmMgr().Registry().empty()) RegisterServerModules(NlmMgr());
  FConnection = 0;
  FHelpFile = FindHelpFile(GetToolPath());
  try {
    LoadScreenNames(IList->Screens());
  } catch (const Exception&) {
    // Without the stored names the editor starts with those of the scripts it opens.
  }
  UpdateModuleState();
}

void TToolPage::FormDestroy(TObject*) {
  // A form whose resource failed to load goes without its editor.
  if (IList == nullptr || MacroPanel == nullptr) return;
  // Hidden first: the line being edited is taken without telling the host (event 3).
  IList->Hide();
  StopEditing();
  CloseEditedScript();
  MacroPanel->Hide();
  try {
    SaveScreenNames(IList->Screens());
  } catch (const Exception&) {
  }
}

void TToolPage::StopEditing() {
  IList->SetEditing(false);
}

void TToolPage::CloseEditedScript() {
  SaveScript();
  // A failed save was reported once; the lines go with the editor.
  IList->DiscardScript();
}

int TToolPage::ShowMessage(const std::string& Text, UINT Flags) {
  if ((Flags & MB_ICONMASK) == 0) Flags |= MB_ICONERROR;
  return MessageBoxA(HandleAllocated() ? Handle() : nullptr, Text.c_str(), "Console scripts", Flags | MB_TASKMODAL);
}

uint32_t TToolPage::GetConnection() {
  if (FConnection == 0 && FEvents) {
    DISPPARAMS none{};
    FEvents->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  }
  return FConnection;
}

void TToolPage::EventSinkChanged(IDispatch* Sink) {
  FEvents = Sink;
}

void TToolPage::FireEditState(bool Done) {
  if (!FEvents) return;
  VARIANTARG arg;
  VariantInit(&arg);
  arg.vt = VT_BOOL;
  arg.boolVal = Done ? VARIANT_TRUE : VARIANT_FALSE;
  DISPPARAMS params{&arg, nullptr, 1, 0};
  FEvents->Invoke(3, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

std::string TToolPage::GetNlmFileName() const {
  const TNlmDesc* desc = NlmMgr().GetNlm(kToolModule);
  return desc != nullptr ? desc->FileName : std::string();
}

void TToolPage::RefreshPage() {
  try {
    TWaitCursor wait;
    uint32_t conn = GetConnection();
    if (conn != 0) {
      CloseEditedScript();
      MacroPanel->Hide();
      for (TPageAction* action : {ARemove, aPlay}) action->SetEnabled(false);
      tbLock->SetEnabled(false);
      tbUnlock->SetEnabled(false);
      bool recent = IsServerVersionAtLeast(conn, 3, 12);
      bool moduleOnServer = false;
      if (recent) {
        NlmMgr().SetServerVersion(GetServerVersion(conn));
        std::string nlm = GetNlmFileName();
        moduleOnServer = !nlm.empty() && IsFile(ServerSystemDir(conn) + nlm);
      }
      switch (ChooseSheet(recent, moduleOnServer)) {
        case pkInstall:
          Pages->SetActivePage(InstallSheet);
          break;
        case pkControl:
          Pages->SetActivePage(CtrlSheet);
          break;
        case pkTooOld:
          Pages->SetActivePage(ToOldSheet);
          break;
      }
      ReloadScriptList();
    }
  } catch (...) {
    UpdateModuleState();
    throw;
  }
  UpdateModuleState();
}

void TToolPage::UpdateModuleState() {
  bool recent = FConnection != 0 && IsServerVersionAtLeast(FConnection, 3, 12);
  bool loaded = recent && IsNlmLoaded(FConnection, kToolModule);
  AUnload->SetEnabled(loaded);
  ALoad->SetEnabled(recent && !AUnload->Enabled());
  DownPanel->SetVisible(ALoad->Enabled());
}

void TToolPage::InstallToolFiles(const std::string& ServerDir) {
  const std::string toolPath = GetToolPath();
  for (const char* name : kToolFiles) {
    std::string source = toolPath + name, target = ServerDir + name;
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
      throw EInOutError(Format("Unable to copy %s\rto %s", source, target));
  }
}

void TToolPage::InstallClick(TObject*) {
  uint32_t conn = GetConnection();
  if (conn == 0) throw EToolPageError("No server is selected");
  NlmMgr().SetServerVersion(GetServerVersion(conn));
  std::string nlm = GetNlmFileName();
  // Without a build for this server nothing is copied and no start-up line is written.
  if (nlm.empty()) throw EToolPageError("No build of the module TUVEK suits this server");
  std::string dir = ServerSystemDir(conn);
  InstallToolFiles(dir);
  if (CB_AddToAutoexec->Checked()) UpdateLine(dir + "AUTOEXEC.NCF", "", "Load " + nlm);
  if (CB_Load->Checked())
    ALoadExecute(this);
  else
    RefreshPage();
}

void TToolPage::ALoadExecute(TObject*) {
  {
    TWaitCursor wait;
    NlmMgr().LoadWithDependencies(GetConnection(), kToolModule, false, true);
    WaitProcessingMessages(LoadPause);
  }
  RefreshPage();
}

void TToolPage::AUnloadExecute(TObject*) {
  NlmMgr().UnloadWithDependents(GetConnection(), kToolModule);
  RefreshPage();
}

void TToolPage::tbAboutClick(TObject*) {
  std::unique_ptr<TAboutBox, TFreeDeleter> box(CreateFormFromResource<TAboutBox>(this));
  box->ShowModal();
}

bool TToolPage::ApplicationHelp(uint16_t Command, intptr_t Data, bool& CallHelp) {
  if (Command != HELP_CONTEXT) {
    CallHelp = true;
    return true;
  }
  std::string macro = HelpMacro(FHelpFile, static_cast<int>(Data));
  BOOL result = WinHelpA(Handle(), FHelpFile.c_str(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(macro.c_str()));
  CallHelp = false;
  return result != FALSE;
}

void TToolPage::WndProc(TMessage& Message) {
  if (Message.Msg == WM_HELP) {
    bool callHelp = false;
    ApplicationHelp(HELP_CONTEXT, kPageHelpContext, callHelp);
    Message.Result = TRUE;
    return;
  }
  TForm::WndProc(Message);
}

// --- the script list ------------------------------------------------------------------

void TToolPage::ReloadScriptList() {
  TNWConnection conn(FConnection);
  if (!conn.IsOpen()) return;
  TWaitCursor wait;
  FReloading = true;
  try {
    TStringList names;
    ListServerFiles(conn.Handle(), "*.OKS", "SYS:SYSTEM", false, names);
    std::vector<std::pair<std::string, int>> items;
    for (const std::string& oem : names.ToVector()) {
      std::string name = OemToAnsiStr(oem);
      items.emplace_back(name, IsScriptEncoded(FConnection, name) ? kLockImage : kNoImage);
    }
    ScrList->SetItems(items);
  } catch (...) {
    FReloading = false;
    throw;
  }
  FReloading = false;
}

std::string TToolPage::SelectedScript() const {
  int index = ScrList->Selected();
  return index >= 0 ? ScrList->Caption(index) : std::string();
}

void TToolPage::ScrListChange(TObject*) {
  if (FReloading || !Visible()) return;
  int index = ScrList->Selected();
  bool selected = index >= 0;
  bool encoded = selected && ScrList->ImageIndex(index) == kLockImage;
  ARemove->SetEnabled(selected);
  aPlay->SetEnabled(selected);
  bool moduleLoaded = AUnload->Enabled();
  tbLock->SetEnabled(moduleLoaded && selected && !encoded);
  tbUnlock->SetEnabled(moduleLoaded && selected && encoded);
  if (selected && !encoded) {
    OpenScript(ScrList->Caption(index));
    return;
  }
  CloseEditedScript();
  MacroPanel->Hide();
  UpdateEditorActions(IList->Editing());
}

void TToolPage::UpdateEditorActions(bool Editing) {
  ASave->SetEnabled(IList->Modified());
  // Lines are not deleted while one is being edited.
  ADel->SetEnabled(IList->Items().Count() > 0 && !Editing);
}

void TToolPage::SaveScript() {
  try {
    IList->SaveScript();
  } catch (const Exception&) {
    ShowMessage(Format("Cant write script %s", IList->ScriptName()), MB_OK);
  }
}

void TToolPage::ASaveExecute(TObject*) {
  IList->SaveScript();
  ASave->SetEnabled(IList->Modified());
}

void TToolPage::ANewExecute(TObject*) {
  std::string name = CreateNewScript(GetConnection());
  RefreshPage();
  int index = ScrList->IndexOf(name);
  if (index < 0) return;
  ScrList->Select(index);
  ScrList->EditCaption(index);
}

void TToolPage::ARemoveExecute(TObject*) {
  int index = ScrList->Selected();
  if (index < 0) return;
  std::string name = ScrList->Caption(index);
  if (ShowMessage(Format("Do you want to erase script %s?", name), MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // The script goes out of the editor first, so that nothing writes it again.
  if (SameText(IList->ScriptName(), name)) {
    CloseEditedScript();
    MacroPanel->Hide();
  }
  ScrList->Delete(index);
  DeleteScript(GetConnection(), AnsiToOemStr(name));
  if (ScrList->Count() == 0) {
    CloseEditedScript();
    MacroPanel->Hide();
    ADel->SetEnabled(false);
  }
}

void TToolPage::ScrListEditing(TObject*) {
  FOldScriptName = SelectedScript();
}

void TToolPage::ScrListEdited(TScriptListView*, int Index, std::string& Text) {
  std::string old = ScrList->Caption(Index);
  uint32_t conn = GetConnection();
  bool longNames = VolumeHasNameSpaceByRef(conn, "SYS", 4);
  std::string name = RenamedScriptName(old, Text, longNames);
  Text = old;
  if (name == old) return;
  if (!IsValidScriptName(name)) {
    ShowMessage("A script name ends in .OKS and names no folder or drive", MB_OK);
    return;
  }
  // Saved under its old name before the file moves, and opened again under the name
  // the script has afterwards.
  bool open = MacroPanel->Visible() && SameText(IList->ScriptName(), old);
  if (open) CloseEditedScript();
  bool renamed = false;
  try {
    renamed = RenameServerFile(conn, JoinServerPath("SYS:SYSTEM\\", AnsiToOemStr(old)),
                               JoinServerPath("SYS:SYSTEM\\", AnsiToOemStr(name)));
  } catch (...) {
    if (open) ReopenScript(old);
    throw;
  }
  if (renamed) Text = name;
  if (open) ReopenScript(Text);
  if (!renamed) ShowMessage("Unable to rename file", MB_OKCANCEL);
}

void TToolPage::ReopenScript(const std::string& Name) {
  try {
    OpenScript(Name);
  } catch (const Exception&) {
    // Unreadable now: the editor stays hidden rather than bound to a name that is gone.
  }
}

void TToolPage::OpenScript(const std::string& Name) {
  try {
    IList->LoadScript(FConnection, Name);
  } catch (...) {
    MacroPanel->Hide();
    UpdateEditorActions(IList->Editing());
    throw;
  }
  if (IList->Items().Count() > 0) IList->SetItemIndex(0);
  MacroPanel->Show();
  UpdateEditorActions(IList->Editing());
}

void TToolPage::ScrListKeyDown(TScriptListView*, uint16_t& Key) {
  if (Key == VK_DELETE && !ScrList->IsEditing()) {
    ARemove->Execute();
    Key = 0;
  } else if (Key == VK_INSERT) {
    ANew->Execute();
    Key = 0;
  }
}

// --- console commands -------------------------------------------------------------------

void TToolPage::aPlayExecute(TObject*) {
  std::string name = SelectedScript();
  if (name.empty()) return;
  IList->SetEditing(false);
  SaveScript();
  ASave->SetEnabled(IList->Modified());
  RunConsoleCommands(GetConnection(), {"!play " + AnsiToOemStr(name)});
}

void TToolPage::RunScriptCommand(const std::string& Command, uint32_t Pause) {
  int index = ScrList->Selected();
  if (index < 0) return;
  std::string name = ScrList->Caption(index);
  {
    TWaitCursor wait;
    RunConsoleCommands(GetConnection(), {Command + " SYS:SYSTEM\\" + AnsiToOemStr(name)});
    WaitProcessingMessages(Pause);
  }
  index = ScrList->IndexOf(name);
  if (index < 0) return;
  ScrList->SetImageIndex(index, IsScriptEncoded(FConnection, name) ? kLockImage : kNoImage);
  ScrListChange(ScrList);
}

void TToolPage::tbLockClick(TObject*) {
  SaveScript();
  RunScriptCommand("!encode", LockPause);
}

void TToolPage::tbUnlockClick(TObject*) {
  RunScriptCommand("!decode", UnlockPause);
}

// --- the line editor ------------------------------------------------------------------------

void TToolPage::InsertLine(TObject* Sender, uint8_t Kind) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  bool before = component == nullptr || component->Tag() == 0;
  IList->InsertItem(IList->ItemIndex(), Kind, before, true);
  UpdateEditorActions(IList->Editing());
}

void TToolPage::AAddTextExecute(TObject* Sender) {
  InsertLine(Sender, skText);
}
void TToolPage::ADelayExecute(TObject* Sender) {
  InsertLine(Sender, skDelay);
}
void TToolPage::ACreateScrExecute(TObject* Sender) {
  InsertLine(Sender, skScreen);
}
void TToolPage::AAddKeyExecute(TObject* Sender) {
  InsertLine(Sender, skKey);
}

void TToolPage::AdelExecute(TObject*) {
  int index = IList->ItemIndex();
  int count = IList->Items().Count();
  if (index >= 0 && index < count) {
    IList->DeleteItem(index);
    --count;
    if (count > 0) IList->SetItemIndex(std::min(index, count - 1));
  } else if (count > 0) {
    IList->SetItemIndex(0);
  }
  UpdateEditorActions(IList->Editing());
}

void TToolPage::IListEditing(TObject*) {
  FireEditState(false);
  tbNewLine->SetEnabled(false);
  for (TPageAction* action : {ADel, AAddTxt, AAddKey, AAddDelay, AAddScreen}) action->SetEnabled(false);
}

void TToolPage::IListEdited(TObject*) {
  FireEditState(true);
  for (TPageAction* action : {AAddTxt, AAddKey, AAddDelay, AAddScreen}) action->SetEnabled(true);
  ASave->SetEnabled(IList->Modified());
  // The line tools come back only on a page the user sees.
  if (!Visible()) return;
  tbNewLine->SetEnabled(true);
  UpdateEditorActions(false);
}

void TToolPage::IListEndDrag(TObject*, TObject*, int, int) {
  // A line moved by the mouse is an edit like any other: it can be saved.
  UpdateEditorActions(IList->Editing());
}

void TToolPage::IListKeyDown(TObject*, uint16_t& Key) {
  if (Key == VK_DELETE) {
    ADel->Execute();
    Key = 0;
  } else if (Key == VK_INSERT) {
    // Beside the current line, a little in from the editor's left edge.
    POINT origin{0, 0};
    ClientToScreen(IList->Handle(), &origin);
    int height = IList->ItemHeight();
    IListInsPopUp->SetPopupComponent(IList);
    IListInsPopUp->Popup(origin.x + 20, origin.y + (IList->ItemIndex() - IList->TopIndex()) * height + height / 2);
  }
}

void TToolPage::tbNewLineClick(TObject*) {
  tbNewLine->CheckMenuDropdown();
}

void TToolPage::IListKeyPress(TObject*, char& Key) {
  if (Key == '\r' && IList->ItemIndex() >= 0) {
    IList->SetEditing(true);
    Key = 0;
  }
}

namespace {
void RegisterPageForms() {
  RegisterClasses({&TToolPage::StaticClass(), &TAboutBox::StaticClass(), &TPageCheckBox::StaticClass(),
                   &TPagePanel::StaticClass(), &TPageSheet::StaticClass(), &TPageSheets::StaticClass(),
                   &TPageAction::StaticClass(), &TPageToolButton::StaticClass(), &TPageMenuItem::StaticClass(),
                   &TExToolBar::StaticClass(), &TScriptListView::StaticClass()});
}
}  // namespace

TLibrary PageFormsLibrary() {
  return {"tool page forms", RegisterPageForms, [] {}};
}

}  // namespace toolpage
