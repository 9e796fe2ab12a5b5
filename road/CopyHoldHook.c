/* road_copy_hold.dll: the hook the road sets on the installer's thread (WH_CALLWNDPROC, see
   CopyHold.h). It runs in the installer's own thread, so what it waits for, the copy waits
   for: the first time the installer moves the total bar of its copy window to the
   percentage named by STAVREL_ROAD_HOLD_COPY_AT (in the installer's environment) or
   further, it sets the event "StavrelRoadCopyHeld-<process id>" and holds the thread until
   the road sets "StavrelRoadCopyGo-<process id>" (a minute at most). Without those events
   (no road waits) it does nothing. */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#define HOLD_AT_VARIABLE "STAVREL_ROAD_HOLD_COPY_AT"
#define LONGEST_HOLD_MS 60000

/* Whether the copy has been held once in this process: the hook holds it once. */
static LONG held_once;

static BOOL ClassIs(HWND window, const char* name) {
  char found[64];
  return GetClassNameA(window, found, sizeof found) > 0 && lstrcmpiA(found, name) == 0;
}

/* The total bar: a progress bar of the visible copy window, the lower of its bars. */
static BOOL IsTotalBarOfCopyWindow(HWND bar) {
  HWND root, parent, other;
  RECT mine, theirs;
  if (!ClassIs(bar, PROGRESS_CLASSA)) return FALSE;
  root = GetAncestor(bar, GA_ROOT);
  if (root == NULL || !IsWindowVisible(root) || !ClassIs(root, "TCopyFileForm")) return FALSE;
  parent = GetParent(bar);
  GetWindowRect(bar, &mine);
  for (other = FindWindowExA(parent, NULL, PROGRESS_CLASSA, NULL); other != NULL;
       other = FindWindowExA(parent, other, PROGRESS_CLASSA, NULL)) {
    GetWindowRect(other, &theirs);
    if (theirs.top > mine.top) return FALSE;
  }
  return TRUE;
}

static int HoldAtPercent(void) {
  char text[16];
  DWORD length = GetEnvironmentVariableA(HOLD_AT_VARIABLE, text, sizeof text);
  return length > 0 && length < sizeof text ? atoi(text) : -1;
}

static HANDLE OpenRoadEvent(const char* name) {
  char full[96];
  snprintf(full, sizeof full, "Local\\%s-%lu", name, (unsigned long)GetCurrentProcessId());
  return OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, full);
}

static void HoldCopy(void) {
  HANDLE held = OpenRoadEvent("StavrelRoadCopyHeld");
  HANDLE go = OpenRoadEvent("StavrelRoadCopyGo");
  if (held != NULL && go != NULL && SetEvent(held)) WaitForSingleObject(go, LONGEST_HOLD_MS);
  if (held != NULL) CloseHandle(held);
  if (go != NULL) CloseHandle(go);
}

__declspec(dllexport) LRESULT CALLBACK CopyHoldHook(int code, WPARAM wparam, LPARAM lparam) {
  const CWPSTRUCT* sent = (const CWPSTRUCT*)lparam;
  if (code == HC_ACTION && sent != NULL && sent->message == PBM_SETPOS && held_once == 0 &&
      IsTotalBarOfCopyWindow(sent->hwnd)) {
    int at = HoldAtPercent();
    if (at >= 0 && (int)sent->wParam >= at && InterlockedExchange(&held_once, 1) == 0) HoldCopy();
  }
  return CallNextHookEx(NULL, code, wparam, lparam);
}
