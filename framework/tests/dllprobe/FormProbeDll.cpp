// A DLL that holds a form, the way the tool page lives in its host: the framework starts
// on the first call into the DLL, the form sits in a window the caller gives, and the
// framework shuts down (window classes unregistered) before the DLL may be unloaded.
#include <windows.h>

#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/GuiStartup.h"

namespace {

class TProbeForm : public fw::TForm {
  FW_CLASS(TProbeForm, fw::TForm)
 public:
  using fw::TForm::TForm;
};

HINSTANCE gModule = nullptr;  // all that DllMain does is note it

std::vector<fw::TLibrary> Libraries() {
  return {fw::CoreLibrary(), fw::GuiLibrary(gModule)};
}

fw::TOnDemandLibraries gLibraries(Libraries);
TProbeForm* gForm = nullptr;

}  // namespace

const fw::TClass& TProbeForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TProbeForm>().Creatable();
  return cls;
}

extern "C" __declspec(dllexport) HWND ProbeShowForm(HWND Parent) {
  try {
    gLibraries.EnsureStarted();
    if (gForm == nullptr) gForm = fw::CreateFormFromResource<TProbeForm>(fw::Application);
    gForm->SetParentWindow(Parent);
    gForm->Show();
    return gForm->Handle();
  } catch (...) {
    return nullptr;
  }
}

extern "C" __declspec(dllexport) void ProbeFreeForm() {
  if (gForm != nullptr) gForm->Free();
  gForm = nullptr;
}

// S_OK when nothing of the DLL is in use any more; the framework is shut down then.
extern "C" __declspec(dllexport) HRESULT ProbeCanUnloadNow() {
  if (gForm != nullptr) return S_FALSE;
  gLibraries.Shutdown();
  return S_OK;
}

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_ATTACH) {
    gModule = Instance;
    DisableThreadLibraryCalls(Instance);
  }
  return TRUE;
}
