#include "ToolTips.h"

// (windows.h first)
#include <commctrl.h>

#include "core/SysUtils.h"

namespace fw {

namespace {
TOOLINFOA ToolInfo(HWND Owner, HWND Control, char* Text) {
  TOOLINFOA info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = Owner;
  info.uId = reinterpret_cast<UINT_PTR>(Control);
  info.lpszText = Text;
  return info;
}
}  // namespace

TToolTips::TToolTips(HWND Owner) : FOwner(Owner) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&init);
  // Always: the page's host may hold the activation while the mouse rests over a button.
  FHandle = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Owner, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (FHandle == nullptr) throw Exception("The tooltip window could not be made");
}

TToolTips::~TToolTips() {
  DestroyWindow(FHandle);
}

void TToolTips::SetTip(HWND Control, const std::string& Text) {
  std::string copy = Text;
  TOOLINFOA info = ToolInfo(FOwner, Control, copy.data());
  SendMessageA(FHandle, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  if (!Text.empty()) SendMessageA(FHandle, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

std::string TToolTips::Tip(HWND Control) const {
  char text[256] = "";
  TOOLINFOA info = ToolInfo(FOwner, Control, text);
  if (!SendMessageA(FHandle, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) return "";
  SendMessageA(FHandle, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  return text;
}

}  // namespace fw
