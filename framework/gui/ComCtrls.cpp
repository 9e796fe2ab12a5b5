#include "ComCtrls.h"

// windows.h comes first (through ComCtrls.h)
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "core/ClassDef.h"

namespace fw {

namespace {

constexpr UINT kReflectedNotify = 0xBC00 + WM_NOTIFY;  // a WM_NOTIFY reflected from the parent

const TEnumInfo kScrollStyleInfo{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};

void InitCommonControl(DWORD Classes) {
  INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), Classes};
  InitCommonControlsEx(&init);
}

}  // namespace

// --- TProgressBar ----------------------------------------------------------

const TClass& TProgressBar::StaticClass() {
  using T = TProgressBar;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Integer("Min", &T::Min, &T::SetMin)
                                .Integer("Max", &T::Max, &T::SetMax)
                                .Integer("Position", &T::Position, &T::SetPosition);
  return cls;
}

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 150;
  FHeight = 16;
}

void TProgressBar::SetMin(int Value) {
  FMin = Value;
  if (FMax < FMin) FMax = FMin;
  FPosition = std::clamp(FPosition, FMin, FMax);
  UpdateWindow();
}

void TProgressBar::SetMax(int Value) {
  FMax = Value;
  if (FMin > FMax) FMin = FMax;
  FPosition = std::clamp(FPosition, FMin, FMax);
  UpdateWindow();
}

void TProgressBar::SetPosition(int Value) {
  const int position = std::clamp(Value, FMin, FMax);
  if (position == FPosition) return;
  FPosition = position;
  // The range is the window's already: setting it again would have the whole bar drawn.
  if (HandleAllocated()) SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::CreateParams(TCreateParams& Params) {
  InitCommonControl(ICC_PROGRESS_CLASS);
  TWinControl::CreateParams(Params);
  Params.WinClassName = PROGRESS_CLASSA;
  Params.SystemClass = true;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TProgressBar::UpdateWindow() {
  if (!HandleAllocated()) return;
  SendMessageA(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
  SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

// --- TTabControl -----------------------------------------------------------

const TClass& TTabControl::StaticClass() {
  using T = TTabControl;
  static const TClass cls =
      TClassDef<T>()
          .Creatable()
          .Object(
              "Tabs", [](const T* t) { return &t->Tabs(); }, [](T* t, TStrings* v) { t->SetTabs(v); })
          .Integer("TabIndex", &T::TabIndex, &T::SetTabIndex)
          .Event("OnChanging", &T::OnChanging)
          .Event("OnChange", &T::OnChange);
  return cls;
}

TTabControl::TTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 289;
  FHeight = 193;
  FTabs.OnChange = TNotifyEvent(this, &TTabControl::TabsChanged);
}

TTabControl::~TTabControl() {
  FTabs.OnChange = nullptr;
}

void TTabControl::SetTabIndex(int Value) {
  // While the form loads, the tabs may come after the index.
  if (!IsLoading() && (Value < 0 || Value >= FTabs.Count())) Value = -1;
  FTabIndex = Value;
  if (HandleAllocated()) SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TTabControl::TabsChanged(TObject*) {
  if (FTabIndex >= FTabs.Count()) FTabIndex = -1;
  if (HandleAllocated()) FillWindow();
}

void TTabControl::CreateParams(TCreateParams& Params) {
  InitCommonControl(ICC_TAB_CLASSES);
  TWinControl::CreateParams(Params);
  Params.WinClassName = WC_TABCONTROLA;
  Params.SystemClass = true;
  Params.Style |= WS_TABSTOP;
}

void TTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  FillWindow();
}

void TTabControl::WndProc(TMessage& Message) {
  if (Message.Msg == kReflectedNotify) {
    switch (reinterpret_cast<const NMHDR*>(Message.LParam)->code) {
      case TCN_SELCHANGING: {
        bool allow = true;
        if (OnChanging) OnChanging(this, allow);
        Message.Result = allow ? FALSE : TRUE;
        return;
      }
      case TCN_SELCHANGE:
        FTabIndex = static_cast<int>(SendMessageA(FHandle, TCM_GETCURSEL, 0, 0));
        if (OnChange) OnChange(this);
        Message.Result = 0;
        return;
      default:
        break;
    }
  }
  TWinControl::WndProc(Message);
}

void TTabControl::FillWindow() {
  SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < FTabs.Count(); ++i) {
    std::string text = FTabs.Get(i);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageA(FHandle, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
}

// --- TRichEdit -------------------------------------------------------------

const TClass& TRichEdit::StaticClass() {
  using T = TRichEdit;
  static const TClass cls =
      TClassDef<T>()
          .Creatable()
          .Object(
              "Lines", [](const T* t) { return &t->Lines(); }, [](T* t, TStrings* v) { t->SetLines(v); })
          .Boolean("ReadOnly", &T::ReadOnly, &T::SetReadOnly)
          .Enum("ScrollBars", kScrollStyleInfo, &T::ScrollBars, &T::SetScrollBars)
          .Boolean("WordWrap", &T::WordWrap, &T::SetWordWrap);
  return cls;
}

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 185;
  FHeight = 89;
  FColor = clWindow;
  FParentColor = false;
  FLines.OnChange = TNotifyEvent(this, &TRichEdit::LinesChanged);
}

TRichEdit::~TRichEdit() {
  FLines.OnChange = nullptr;
  // The window goes before the library that runs it.
  DestroyHandle();
}

void TRichEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (HandleAllocated()) SendMessageA(FHandle, EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

void TRichEdit::CreateParams(TCreateParams& Params) {
  if (!FLibrary) FLibrary.Reset(LoadLibraryA("riched20.dll"));
  if (!FLibrary) throw EComponentError(Format("Cannot load the rich edit library (error %u)", GetLastError()));
  TWinControl::CreateParams(Params);
  Params.WinClassName = RICHEDIT_CLASSA;
  Params.SystemClass = true;
  Params.Caption.clear();
  Params.Style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | (FReadOnly ? ES_READONLY : 0);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
  if (!FWordWrap) Params.Style |= ES_AUTOHSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TRichEdit::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(FHandle, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
  StreamIn();
}

void TRichEdit::FontChanged() {
  TWinControl::FontChanged();
  if (HandleAllocated()) StreamIn();
}

void TRichEdit::LinesChanged(TObject*) {
  if (HandleAllocated()) StreamIn();
}

void TRichEdit::ApplyFont() {
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  TFontStyles style = FFont.Style();
  format.dwEffects = (style.Contains(fsBold) ? CFE_BOLD : 0) | (style.Contains(fsItalic) ? CFE_ITALIC : 0) |
                     (style.Contains(fsUnderline) ? CFE_UNDERLINE : 0) |
                     (style.Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0);
  format.yHeight = FFont.Size() * 20;  // twips
  format.crTextColor = ColorToRGB(FFont.Color());
  format.bCharSet = static_cast<BYTE>(FFont.Charset());
  lstrcpynA(format.szFaceName, FFont.Name().c_str(), LF_FACESIZE);
  SendMessageA(FHandle, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  SendMessageA(FHandle, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

namespace {

struct TStreamSource {
  const std::string* Text;
  size_t Done = 0;
};

DWORD CALLBACK ReadStreamSource(DWORD_PTR Cookie, LPBYTE Buffer, LONG Wanted, LONG* Given) {
  auto* source = reinterpret_cast<TStreamSource*>(Cookie);
  size_t count = std::min(static_cast<size_t>(Wanted), source->Text->size() - source->Done);
  std::copy_n(source->Text->data() + source->Done, count, Buffer);
  source->Done += count;
  *Given = static_cast<LONG>(count);
  return 0;
}

}  // namespace

void TRichEdit::StreamIn() {
  // The control's own default format is not the control's font on every system (bold
  // System under Wine): the font goes first, the text takes it on.
  ApplyFont();
  std::string text = FLines.Text();
  TStreamSource source{&text};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadStreamSource};
  SendMessageA(FHandle, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  ApplyFont();
  SendMessageA(FHandle, EM_SETSEL, 0, 0);
  SendMessageA(FHandle, EM_SCROLLCARET, 0, 0);
}

std::string TRichEdit::WindowText() {
  if (!HandleAllocated()) return FLines.Text();
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_USECRLF, CP_ACP};
  LRESULT count = SendMessageA(FHandle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  std::string text(static_cast<size_t>(std::max<LRESULT>(count, 0)) + 1, '\0');
  GETTEXTEX get{static_cast<DWORD>(text.size()), GT_USECRLF, CP_ACP, nullptr, nullptr};
  LRESULT got =
      SendMessageA(FHandle, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
  return text;
}

}  // namespace fw
