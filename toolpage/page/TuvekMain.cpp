// Entry points of the tool page library Tuvek.kvx, an in-process COM server. DllMain only
// notes the module: the libraries start on the first request for the class object (never
// under the loader lock) and stop when the host asks whether the library may go and
// nothing of it is in use.
#include <windows.h>

#include "ClientLibraries.h"
#include "ComServer.h"
#include "LineEditorStartup.h"
#include "PageWaitCursor.h"
#include "ToolPage.h"
#include "core/Startup.h"
#include "gui/GuiStartup.h"

namespace {

HINSTANCE gModule = nullptr;

std::vector<fw::TLibrary> Libraries() {
  return {fw::CoreLibrary(),       fw::GuiLibrary(gModule),       toolpage::NetWareLibrary(),
          toolpage::PageLibrary(), toolpage::LineEditorLibrary(), toolpage::PageFormsLibrary()};
}

fw::TOnDemandLibraries gLibraries(Libraries);

std::string ModulePath() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(gModule, path, MAX_PATH);
  return std::string(path, n);
}

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID ClassId, REFIID Iid, void** Object) {
  if (Object == nullptr) return E_POINTER;
  *Object = nullptr;
  if (!IsEqualCLSID(ClassId, toolpage::CLSID_ToolPageX)) return CLASS_E_CLASSNOTAVAILABLE;
  try {
    gLibraries.EnsureStarted();
  } catch (...) {
    return E_UNEXPECTED;
  }
  return toolpage::GetToolPageClassObject(ClassId, Iid, Object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  if (!toolpage::ComServer().CanUnload()) return S_FALSE;
  gLibraries.Shutdown();
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return toolpage::RegisterToolPageServer(ModulePath());
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return toolpage::UnregisterToolPageServer(ModulePath());
}

BOOL WINAPI DllMain(HINSTANCE Instance, DWORD Reason, LPVOID) {
  if (Reason == DLL_PROCESS_ATTACH) {
    gModule = Instance;
    DisableThreadLibraryCalls(Instance);
  }
  return TRUE;
}
