#include "WizardTestSupport.h"

#include <algorithm>
#include <fstream>

#include "wizard/BaseFormContainer.h"

namespace setup::testing {

std::deque<TProbePageSpec> gProbePages;
std::vector<std::string> gProbeLog;

const fw::TClass& TWizardTestEngine::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TWizardTestEngine>();
  return cls;
}

TWizardConfiguration::TWizardConfiguration() : FOwner(new fw::TForm(nullptr)) {
  Engine = new TWizardTestEngine(FOwner.get());
  Engine->SetName("Install");
}

TWizardConfiguration::~TWizardConfiguration() = default;

TDialogManager* TWizardConfiguration::AddManager(TManagerType Type, const std::string& Name, const fw::TClass& Class) {
  auto* manager = static_cast<TDialogManager*>(Class.CreateComponent(FOwner.get()));
  manager->SetName(Name);
  manager->SetManagerType(Type);
  manager->SetContainer(Engine);
  return manager;
}

// --- TProbePage ----------------------------------------------------------------------

const fw::TClass& TProbePage::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TProbePage>();
  return cls;
}

#define SETUP_PROBE_PAGE_CLASS(N)                                             \
  const fw::TClass& TProbePage##N::StaticClass() {                            \
    static const fw::TClass cls = fw::TClassDef<TProbePage##N>().Creatable(); \
    return cls;                                                               \
  }
SETUP_PROBE_PAGE_CLASS(1)
SETUP_PROBE_PAGE_CLASS(2)
SETUP_PROBE_PAGE_CLASS(3)
SETUP_PROBE_PAGE_CLASS(4)
SETUP_PROBE_PAGE_CLASS(5)
SETUP_PROBE_PAGE_CLASS(6)

TProbePage::TProbePage(fw::TComponent* AOwner) : TWizardPage(AOwner, dmUninstall, 0) {
  // A page without a queued part stays out of the wizard.
  if (gProbePages.empty() || DM() == nullptr || DM() != CurrentDialogManager()) {
    SetDM(nullptr);
    return;
  }
  TProbePageSpec spec = gProbePages.front();
  gProbePages.pop_front();
  SetOrder(spec.Order);
  Skip = spec.Skip;
  PageName = spec.Name;
}

TProbePage::~TProbePage() = default;

void TProbePage::HostDestroying(fw::TObject* Sender) {
  TBaseFormContainer* host = FormContainer();
  gProbeLog.push_back("result " + std::to_string(host->ModalResult()));
  host->FormDestroy(Sender);
}

void TProbePage::Loaded() {
  TWizardPage::Loaded();
  SetCaption("Probe " + PageName);
}

void TProbePage::EnterPage() {
  // The host's end is logged with its result (the last page entered tells).
  if (TBaseFormContainer* host = FormContainer()) host->OnDestroy = fw::TNotifyEvent(this, &TProbePage::HostDestroying);
  gProbeLog.push_back("enter " + PageName);
  TWizardPage::EnterPage();
}

void TProbePage::LeavePage() {
  gProbeLog.push_back("leave " + PageName);
}

// --- the user's view -----------------------------------------------------------------

namespace {

bool Fits(const testsupport::TControlInfo& Info, const testsupport::TControlQuery& Query) {
  auto strip = [](std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    return s;
  };
  if (!Query.Caption.empty() && strip(Info.Text) != strip(Query.Caption)) return false;
  if (!Query.ClassName.empty() && _stricmp(Info.ClassName.c_str(), Query.ClassName.c_str()) != 0) return false;
  return true;
}

}  // namespace

HWND VisibleControl(HWND Window, const testsupport::TControlQuery& Query) {
  for (const testsupport::TControlInfo& info : testsupport::ListControls(Window))
    if (info.Visible && Fits(info, Query)) return info.Handle;
  return nullptr;
}

bool HasVisibleControl(HWND Window, const testsupport::TControlQuery& Query) {
  return VisibleControl(Window, Query) != nullptr;
}

HWND WaitForVisibleControl(HWND Window, const testsupport::TControlQuery& Query, DWORD TimeoutMs) {
  HWND found = nullptr;
  DWORD start = GetTickCount();
  while ((found = VisibleControl(Window, Query)) == nullptr) {
    if (GetTickCount() - start > TimeoutMs)
      throw testsupport::EUiDriver("no visible control \"" + Query.Caption + "\" " + Query.ClassName);
    Sleep(20);
  }
  return found;
}

std::string PageLabel(HWND Wizard, const std::string& Name) {
  auto* host = dynamic_cast<TBaseFormContainer*>(fw::FindControl(Wizard));
  TBaseInstallForm* page = host != nullptr ? host->CurrentPage() : nullptr;
  auto* label = page != nullptr ? dynamic_cast<fw::TControl*>(page->FindComponent(Name)) : nullptr;
  if (label == nullptr) throw testsupport::EUiDriver("the current page has no " + Name);
  return label->Caption();
}

HWND WaitForWizard(const std::string& Caption, DWORD TimeoutMs) {
  return testsupport::WaitForWindow({.ClassName = "TBaseFormContainer", .Caption = Caption}, TimeoutMs);
}

std::function<void()> WizardScript(std::function<void()> Script) {
  return [Script = std::move(Script)] {
    try {
      Script();
    } catch (...) {
      HWND wizard = nullptr;
      while ((wizard = FindWindowExA(nullptr, wizard, "TBaseFormContainer", nullptr)) != nullptr) {
        if (auto* form = dynamic_cast<fw::TCustomForm*>(fw::FindControl(wizard)))
          form->SetModalResult(kCancelledResult);
        PostMessageA(wizard, WM_NULL, 0, 0);
      }
      throw;
    }
  };
}

TScratchTextFile::TScratchTextFile(std::string Path, const std::string& Text) : FPath(std::move(Path)) {
  std::ofstream(FPath, std::ios::binary) << Text;
}

TScratchTextFile::~TScratchTextFile() {
  DeleteFileA(FPath.c_str());
}

}  // namespace setup::testing
