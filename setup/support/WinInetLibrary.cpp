#include "WinInetLibrary.h"

#include "NetErrors.h"

namespace setup {

namespace {

// Binds one entry point; the error names it without its final "A".
template <class F>
void Bind(HMODULE Module, const char* Name, F& Target) {
  Target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
  if (Target != nullptr) return;
  std::string shown = Name;
  if (!shown.empty() && shown.back() == 'A') shown.pop_back();
  throw ENIL_FailLoadDLLProc(fw::Format("Failed to load the procedure %s from WININET.DLL", shown));
}

}  // namespace

TWinInetLibrary::TWinInetLibrary(const std::string& LibraryName) : FModule(LoadLibraryA(LibraryName.c_str())) {
  if (!FModule)
    throw ENIL_FailLoadWININET(
        "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to include the WININET.DLL "
        "file in the PresetupFiles property of the TInstall component");
  HMODULE module = FModule.Get();
  Bind(module, "InternetGetLastResponseInfoA", FApi.InternetGetLastResponseInfoA);
  Bind(module, "InternetOpenA", FApi.InternetOpenA);
  Bind(module, "InternetConnectA", FApi.InternetConnectA);
  Bind(module, "FtpSetCurrentDirectoryA", FApi.FtpSetCurrentDirectoryA);
  Bind(module, "InternetCloseHandle", FApi.InternetCloseHandle);
  Bind(module, "InternetQueryDataAvailable", FApi.InternetQueryDataAvailable);
  Bind(module, "InternetReadFile", FApi.InternetReadFile);
  Bind(module, "FtpOpenFileA", FApi.FtpOpenFileA);
  Bind(module, "HttpOpenRequestA", FApi.HttpOpenRequestA);
  Bind(module, "HttpSendRequestA", FApi.HttpSendRequestA);
  Bind(module, "HttpQueryInfoA", FApi.HttpQueryInfoA);
  Bind(module, "FtpFindFirstFileA", FApi.FtpFindFirstFileA);
}

}  // namespace setup
