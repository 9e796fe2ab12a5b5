#include "UninstallRegistration.h"

#include <windows.h>
// after windows.h
#include <oleauto.h>

#include "UninstallLogFormat.h"
#include "gui/WinHandles.h"

namespace setup {

namespace {

// How long a program gets to unregister itself.
constexpr DWORD kServerTimeout = 30000;

bool UnregisterLibrary(const std::string& Path) {
  fw::TModuleHandle library(LoadLibraryExA(Path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library) return false;
  using TUnregister = HRESULT(STDAPICALLTYPE*)();
  auto unregister =
      reinterpret_cast<TUnregister>(reinterpret_cast<void*>(GetProcAddress(library.Get(), "DllUnregisterServer")));
  return unregister != nullptr && SUCCEEDED(unregister());
}

bool UnregisterServer(const std::string& Path) {
  std::string command = "\"" + Path + "\" /UnregServer";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(Path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  fw::TKernelHandle thread(process.hThread), running(process.hProcess);
  const bool ended = WaitForSingleObject(running.Get(), kServerTimeout) == WAIT_OBJECT_0;
  DWORD code = 1;
  if (ended) GetExitCodeProcess(running.Get(), &code);
  return ended && code == 0;
}

bool UnregisterTypes(const std::string& Path) {
  wchar_t wide[MAX_PATH + 1];
  if (MultiByteToWideChar(CP_ACP, 0, Path.c_str(), -1, wide, MAX_PATH + 1) == 0) return false;
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(wide, REGKIND_NONE, &library))) return false;
  TLIBATTR* attributes = nullptr;
  bool done = false;
  if (SUCCEEDED(library->GetLibAttr(&attributes))) {
    done = SUCCEEDED(UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                       attributes->lcid, attributes->syskind));
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
  return done;
}

}  // namespace

bool UnregisterFile(const std::string& Path, char Kind) {
  switch (Kind) {
    case kActiveXLibrary:
      return UnregisterLibrary(Path);
    case kActiveXServer:
      return UnregisterServer(Path);
    case kActiveXTypeLibrary:
      return UnregisterTypes(Path);
    default:
      return false;
  }
}

}  // namespace setup
