#include "ClientWarning.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <memory>
#include <mutex>
#include <vector>

#include "ExThreads.h"
#include "GoToWeb.h"
#include "gui/WinHandles.h"

namespace toolpage {

const char* const kClientDownloadUrl = "https://download.novell.com/";

namespace {

std::mutex gWarningLock;
std::unique_ptr<TClientWarning> gClientWarning;
TClientWarningDialog gDialog;

enum { idLabel = 100, idWebLabel = 101 };

const char* const kCaption = "NetWare Client Libraries not Loaded...";
const char* const kLabelText =
    "The program needs Novell Client32 to be installed on this machine.\r\nYou may freely download it from:";

// State of one open dialog.
struct TFormState {
  fw::TFontHandle LinkFont;
  HWND Tip = nullptr;
  std::unique_ptr<TGoToWeb> GoToWeb1 = std::make_unique<TGoToWeb>(nullptr);
};

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
  HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return child;
}

void BuildForm(HWND dlg, TFormState& state) {
  // Client area of 352 x 131 pixels, centred on the screen.
  RECT r = {0, 0, 352, 131};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(dlg, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dlg, GWL_EXSTYLE)));
  int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(dlg, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h,
               SWP_NOZORDER);
  SetWindowTextA(dlg, kCaption);
  CreateChild(dlg, "STATIC", kLabelText, SS_LEFT, 12, 12, 328, 32, idLabel);
  HWND link = CreateChild(dlg, "STATIC", kClientDownloadUrl, SS_LEFT | SS_NOTIFY, 12, 52, 328, 18, idWebLabel);
  HWND ok = CreateChild(dlg, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 138, 92, 75, 25, IDOK);
  SetFocus(ok);

  LOGFONTA lf = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfWeight = FW_BOLD;
  lf.lfUnderline = TRUE;
  state.LinkFont.Reset(CreateFontIndirectA(&lf));
  SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(state.LinkFont.Get()), FALSE);

  state.Tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0, dlg, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (state.Tip) {
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = dlg;
    ti.uId = reinterpret_cast<UINT_PTR>(link);
    ti.lpszText = const_cast<char*>("Go to web page");
    SendMessageA(state.Tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  state.GoToWeb1->SetBrowserState(gwMaximized);
}

// The link label's click: open its address in the browser.
void WebLabelClick(HWND dlg, TFormState& state) {
  char url[512] = {};
  GetDlgItemTextA(dlg, idWebLabel, url, sizeof url);
  state.GoToWeb1->SetUrl(url);
  state.GoToWeb1->OpenUrl();
}

INT_PTR CALLBACK FormProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  TFormState* state = reinterpret_cast<TFormState*>(GetWindowLongPtrA(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dlg, DWLP_USER, lp);
      BuildForm(dlg, *reinterpret_cast<TFormState*>(lp));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wp) == idWebLabel && HIWORD(wp) == STN_CLICKED && state) {
        WebLabelClick(dlg, *state);
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == GetDlgItem(dlg, idWebLabel)) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == GetDlgItem(dlg, idWebLabel)) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        SetWindowLongPtrA(dlg, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// An empty dialog template: the form builds its controls itself.
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
  DLGTEMPLATE* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
  d->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFOREGROUND;
  d->cx = 200;
  d->cy = 80;
  return t;  // no menu, default class, empty title
}

}  // namespace

void ShowClientWarningForm(void* Owner) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  TFormState state;
  std::vector<WORD> t = DialogTemplate();
  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.data()), static_cast<HWND>(Owner),
                          FormProc, reinterpret_cast<LPARAM>(&state));
}

TClientWarningDialog SetClientWarningDialog(TClientWarningDialog Dialog) {
  std::lock_guard<std::mutex> guard(gWarningLock);
  std::swap(gDialog, Dialog);
  return Dialog;
}

void TClientWarning::ShowWarning() {
  TClientWarningDialog dialog;
  {
    std::lock_guard<std::mutex> guard(gWarningLock);
    dialog = gDialog;
  }
  if (dialog)
    dialog();
  else
    ShowClientWarningForm(GetActiveWindow());
}

void GiveClientWarningOnce() {
  TClientWarning* warning = nullptr;
  {
    std::lock_guard<std::mutex> guard(gWarningLock);
    if (gClientWarning) return;
    gClientWarning = std::make_unique<TClientWarning>();
    warning = gClientWarning.get();
  }
  RunInMainThread([warning] { warning->ShowWarning(); });
}

bool ClientWarningGiven() {
  std::lock_guard<std::mutex> guard(gWarningLock);
  return gClientWarning != nullptr;
}

void FinalizeClientWarning() {
  std::lock_guard<std::mutex> guard(gWarningLock);
  gClientWarning.reset();
}

}  // namespace toolpage
