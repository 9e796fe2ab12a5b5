#include "ToolPage.h"

#include "AboutBox.h"
#include "AutoUpdate.h"
#include "ColorUtils.h"
#include "NlmMgr.h"
#include "PageWaitCursor.h"
#include "ServerInfo.h"
#include "core/ClassDef.h"
#include "core/SysUtils.h"
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
  return "\\\\" + GetServerName(ConnRef) + "\\SYS\\SYSTEM\\";
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
                                .Field("AAbout", &T::AAbout);
  return cls;
}

void TToolPage::FormCreate(TObject*) {
  {
    TWindowDC screen(nullptr);
    int depth = GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
    COLORREF face = ColorToRGB(clBtnFace);
    setup::HighColor = depth > 8 && face != 0 && face != 0xFFFFFF;
  }
  // The manager lives as long as the library; pages created later find the builds there.
  if (NlmMgr().Registry().empty()) RegisterServerModules(NlmMgr());
  FConnection = 0;
  FHelpFile = FindHelpFile(GetToolPath());
  UpdateModuleState();
}

void TToolPage::FormDestroy(TObject*) {
  StopEditing();
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

namespace {
void RegisterPageForms() {
  RegisterClasses({&TToolPage::StaticClass(), &TAboutBox::StaticClass(), &TPageCheckBox::StaticClass(),
                   &TPagePanel::StaticClass(), &TPageSheet::StaticClass(), &TPageSheets::StaticClass(),
                   &TPageAction::StaticClass(), &TPageToolButton::StaticClass(), &TExToolBar::StaticClass()});
}
}  // namespace

TLibrary PageFormsLibrary() {
  return {"tool page forms", RegisterPageForms, [] {}};
}

}  // namespace toolpage
