// Starts the NetWare units the way the tool page library does and reports what it bound.
// The binding tests run it beside different sets of client libraries. With
// "--real-dialog" the real warning dialog is shown and closed by a timer.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ClientApi.h"
#include "ClientLibraries.h"
#include "ClientWarning.h"
#include "gui/WinHandles.h"

using namespace toolpage;

namespace {

int gDialogs = 0;

void CALLBACK CloseWarning(HWND, UINT, UINT_PTR, DWORD) {
  HWND dlg = FindWindowA(nullptr, "NetWare Client Libraries not Loaded...");
  if (dlg) {
    char text[256] = {};
    GetDlgItemTextA(dlg, 101, text, sizeof text);
    printf("DIALOG-LINK %s\n", text);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  }
}

void TryCall(const char* what, NWCCODE (*call)()) {
  try {
    NWCCODE code = call();
    printf("%s RESULT %04X\n", what, static_cast<unsigned>(code));
  } catch (const fw::Exception& e) {
    printf("%s RAISED %s\n", what, e.what());
  }
}

// The initialisation calls that the stand-in libraries noted in the simulated server.
void ReportInitCalls(const char* when) {
  fw::TModuleHandle server(LoadLibraryA("NWSIM.DLL"));
  using TInitCalls = int (*)(const char*, uint32_t*, uint32_t*);
  auto calls =
      server
          ? reinterpret_cast<TInitCalls>(reinterpret_cast<void*>(GetProcAddress(server.Get(), "nwsim_ClientInitCalls")))
          : nullptr;
  if (!calls) {
    printf("INIT %s UNKNOWN\n", when);
    return;
  }
  for (const char* library : {"CALWIN32", "NETWIN32"}) {
    uint32_t first = 0, second = 0;
    int count = calls(library, &first, &second);
    printf("INIT %s %s %d (%u, %u)\n", when, library, count, unsigned(first), unsigned(second));
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool realDialog = argc > 1 && strcmp(argv[1], "--real-dialog") == 0;
  // Keeps the simulated server's record alive while the client libraries come and go.
  fw::TModuleHandle server(LoadLibraryA("NWSIM.DLL"));
  auto libraries = std::make_unique<fw::TStartedLibraries>(std::vector<fw::TLibrary>{NetWareLibrary()});
  ReportInitCalls("START");
  // Loading again while the libraries are loaded initialises nothing again.
  LoadCalWin32();
  LoadNetWin32Libraries();
  ReportInitCalls("AGAIN");
  if (realDialog) {
    SetTimer(nullptr, 0, 100, CloseWarning);
    SetClientWarningDialog([] {
      ++gDialogs;
      ShowClientWarningForm(nullptr);
    });
  } else {
    SetClientWarningDialog([] { ++gDialogs; });
  }
  printf("CALWIN32 %d\n", IsClientLibraryLoaded(TClientLib::CalWin32));
  printf("CLXWIN32 %d\n", IsClientLibraryLoaded(TClientLib::ClxWin32));
  printf("NETWIN32 %d\n", IsClientLibraryLoaded(TClientLib::NetWin32));
  printf("LOGIN %s\n", ClientLibraryFileName(TClientLib::Lgnw).c_str());
  TryCall("CONSOLE1", [] { return nwc::ConsoleOperatorTest(1); });
  TryCall("CONSOLE2", [] { return nwc::ConsoleOperatorTest(1); });
  TryCall("LOAD", [] { return nwc::LoadModule(1, "SYS:SYSTEM\\TUVEK.NLM"); });
  TryCall("CLOSE", [] { return nwc::CloseConn(12345); });
  printf("DIALOGS %d\n", gDialogs);
  libraries.reset();
  printf("ALIVE\n");
  fflush(stdout);
  return 0;
}
