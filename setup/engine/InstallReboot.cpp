// The reboot at the end of an installation that replaced files in use.
#include <windows.h>

#include "Install.h"
#include "gui/WinHandles.h"

namespace setup {

namespace {

// Gives the process the right to shut the machine down.
bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  fw::TKernelHandle owned(token);
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!AdjustTokenPrivileges(owned.Get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
  return GetLastError() == ERROR_SUCCESS;
}

bool SystemReboot() {
  switch (GetOSVersion()) {
    case oswin95:
    case oswin98:
    case oswinME:
      return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
    case oswinNT:
    case oswin2K:
    case oswinXP:
      return EnableShutdownPrivilege() && ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
    default:
      return false;
  }
}

TRebootRequest gRebootRequest = nullptr;

}  // namespace

TRebootRequest SetRebootRequest(TRebootRequest Request) {
  TRebootRequest previous = gRebootRequest;
  gRebootRequest = Request;
  return previous;
}

void TCustomInstall::RebootWindows() {
  bool started = false;
  try {
    started = gRebootRequest != nullptr ? gRebootRequest() : SystemReboot();
  } catch (const EAPIRoutines&) {
    started = false;  // the version could not be read
  }
  if (started) return;
  if (OnFailedReboot)
    OnFailedReboot(this);
  else
    ShowMessage(TranslateEnglishText("Could not reboot windows. Please manually reboot windows."));
}

}  // namespace setup
