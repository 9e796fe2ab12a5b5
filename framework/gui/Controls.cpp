#include "Controls.h"

#include <algorithm>
#include <set>

#include "GuiStartup.h"
#include "Menus.h"
#include "Screen.h"
#include "core/ClassDef.h"

namespace fw {

const TEnumInfo kAlignInfo{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};

// Exception hook of the running application (set by the forms unit).
void (*gControlExceptionHook)(TObject* Sender) = nullptr;

namespace {

constexpr UINT CN_BASE = 0xBC00;  // notifications reflected from the parent to the control
const char kControlProp[] = "FwControl";

}  // namespace

TWinControl* FindControl(HWND Wnd) {
  if (Wnd == nullptr) return nullptr;
  return static_cast<TWinControl*>(GetPropA(Wnd, kControlProp));
}

LRESULT CALLBACK ControlWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = FindControl(Wnd);
  if (control == nullptr && Msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(LParam);
    control = static_cast<TWinControl*>(cs->lpCreateParams);
    if (control != nullptr) {
      SetPropA(Wnd, kControlProp, control);
      control->FHandle = Wnd;
      control->FDefWndProc = DefWindowProcA;
    }
  }
  if (control == nullptr) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  TMessage message{Msg, WParam, LParam, 0};
  try {
    control->WndProc(message);
  } catch (...) {
    if (gControlExceptionHook != nullptr)
      gControlExceptionHook(control);
    else
      message.Result = 0;
  }
  if (Msg == WM_NCDESTROY) {
    RemovePropA(Wnd, kControlProp);
    if (control->FHandle == Wnd) control->FHandle = nullptr;
  }
  return message.Result;
}

// --- TControl --------------------------------------------------------------

const TClass& TControl::StaticClass() {
  using T = TControl;
  static const TClass cls = TClassDef<T>()
                                .Integer("Left", &T::Left, &T::SetLeft)
                                .Integer("Top", &T::Top, &T::SetTop)
                                .Integer("Width", &T::Width, &T::SetWidth)
                                .Integer("Height", &T::Height, &T::SetHeight)
                                .Integer("ClientWidth", &T::ClientWidth, &T::SetClientWidth)
                                .Integer("ClientHeight", &T::ClientHeight, &T::SetClientHeight)
                                .Boolean("Visible", &T::Visible, &T::SetVisible)
                                .Boolean("Enabled", &T::Enabled, &T::SetEnabled)
                                .Enum("Align", kAlignInfo, &T::Align, &T::SetAlign)
                                .Integer("Color", &T::Color, &T::SetColor, IdentToColor)
                                .Object("Font", [](const T* t) { return &t->FFont; })
                                .Boolean("ParentFont", &T::ParentFont, &T::SetParentFont)
                                .Boolean("ParentColor", &T::ParentColor, &T::SetParentColor)
                                .Component("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
                                .Event("OnClick", &T::OnClick);
  return cls;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  FFont.OnChange = TNotifyEvent(this, &TControl::FontChange);
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu != nullptr) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

TControl::~TControl() {
  FFont.OnChange = nullptr;
  if (FParent != nullptr) FParent->RemoveControl(this);
}

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* parent = dynamic_cast<TWinControl*>(Value)) SetParent(parent);
}

void TControl::SetParent(TWinControl* Value) {
  if (FParent == Value) return;
  if (Value == this) throw EComponentError("A control cannot have itself as its parent");
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (Value != nullptr) Value->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  Invalidate();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();
  BoundsChanged();
  RequestAlign();
}

void TControl::SetClientWidth(int Value) {
  SetWidth(Value + (Width() - ClientWidth()));
}
void TControl::SetClientHeight(int Value) {
  SetHeight(Value + (Height() - ClientHeight()));
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  VisibleChanged();
  Invalidate();
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  FEnabled = Value;
  Invalidate();
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  RequestAlign();
}

void TControl::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  TextChanged();
  Invalidate();
}

void TControl::SetColor(TColor Value) {
  FParentColor = false;
  if (FColor == Value) return;
  FColor = Value;
  ColorChanged();
}

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value) ParentFontChanged();
}

void TControl::SetParentColor(bool Value) {
  FParentColor = Value;
  if (Value) ParentColorChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || FParent == nullptr) return;
  FFontFromParent = true;
  try {
    FFont.Assign(&FParent->Font());
  } catch (...) {
    FFontFromParent = false;
    throw;
  }
  FFontFromParent = false;
}

void TControl::ParentColorChanged() {
  if (!FParentColor || FParent == nullptr) return;
  if (FColor != FParent->Color()) {
    FColor = FParent->Color();
    ColorChanged();
  }
  FParentColor = true;
}

void TControl::FontChange(TObject*) {
  if (!FFontFromParent) FParentFont = false;
  FontChanged();
}

void TControl::FontChanged() {
  Invalidate();
}
void TControl::ColorChanged() {
  Invalidate();
}

void TControl::Invalidate() {
  if (FParent != nullptr && FParent->HandleAllocated() && FVisible) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, TRUE);
  }
}

void TControl::Repaint() {
  Invalidate();
  if (FParent != nullptr && FParent->HandleAllocated()) UpdateWindow(FParent->Handle());
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::RequestAlign() {
  if (FParent != nullptr && !IsLoading()) FParent->Realign();
}

void TControl::Loaded() {
  TComponent::Loaded();
  ParentFontChanged();
  ParentColorChanged();
  RequestAlign();
}

// --- TWinControl -----------------------------------------------------------

const TClass& TWinControl::StaticClass() {
  static const TClass cls = TClassDef<TWinControl>();
  return cls;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  // Children go first; the owner frees them, but they may be parented here only.
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
  DestroyHandle();
}

void TWinControl::InsertControl(TControl* AControl) {
  FControls.push_back(AControl);
  AControl->FParent = this;
  AControl->ParentFontChanged();
  AControl->ParentColorChanged();
  if (auto* win = dynamic_cast<TWinControl*>(AControl); win != nullptr && HandleAllocated()) win->HandleNeeded();
  AControl->Invalidate();
  AControl->RequestAlign();
}

void TWinControl::RemoveControl(TControl* AControl) {
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it == FControls.end()) return;
  AControl->Invalidate();
  if (auto* win = dynamic_cast<TWinControl*>(AControl)) win->DestroyHandle();
  FControls.erase(std::find(FControls.begin(), FControls.end(), AControl));
  AControl->FParent = nullptr;
  if (FMouseControl == AControl) FMouseControl = nullptr;
  if (!ComponentState().Contains(csDestroying)) Realign();
}

HWND TWinControl::Handle() {
  if (FHandle == nullptr && FParent != nullptr) FParent->HandleNeeded();  // which makes ours too
  if (FHandle == nullptr) CreateWnd();
  return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.WinClassName = ClassName();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (FVisible) Params.Style |= WS_VISIBLE;
  if (!FEnabled) Params.Style |= WS_DISABLED;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent != nullptr ? FParent->Handle() : nullptr;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (!params.SystemClass) EnsureWindowClass(params.WinClassName, ControlWindowProc);
  CreateWindowHandle(params);
  if (FHandle == nullptr)
    throw EComponentError(Format("Error creating window for %s (error %u)", ClassName(), GetLastError()));
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), FALSE);
  for (TControl* c : std::vector<TControl*>(FControls))
    if (auto* win = dynamic_cast<TWinControl*>(c)) win->HandleNeeded();
  Realign();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HWND wnd = CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style,
                             Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                             ModuleInstance(), Params.SystemClass ? nullptr : this);
  if (wnd == nullptr) return;
  if (Params.SystemClass) {
    // A system control: we take over its window procedure and pass on what we do not handle.
    SetPropA(wnd, kControlProp, this);
    FHandle = wnd;
    FDefWndProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
  }
}

void TWinControl::DestroyHandle() {
  for (TControl* c : FControls)
    if (auto* win = dynamic_cast<TWinControl*>(c)) win->DestroyHandle();
  if (FHandle != nullptr) {
    HWND wnd = FHandle;
    DestroyWindow(wnd);
    if (FHandle == wnd) {  // a subclassed system control may not have reached WM_NCDESTROY through us
      RemovePropA(wnd, kControlProp);
      FHandle = nullptr;
    }
  }
}

int TWinControl::ClientWidth() const {
  RECT r = ClientRect();
  return r.right - r.left;
}

int TWinControl::ClientHeight() const {
  RECT r = ClientRect();
  return r.bottom - r.top;
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, FWidth, FHeight};
  if (FHandle != nullptr) GetClientRect(FHandle, &r);
  return r;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool changed = ALeft != FLeft || ATop != FTop || AWidth != FWidth || AHeight != FHeight;
  TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (changed && FHandle != nullptr) {
    SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    Realign();
  }
}

void TWinControl::UpdateBoundsFromWindow() {
  if (FHandle == nullptr) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  if (FParent != nullptr && FParent->HandleAllocated())
    MapWindowPoints(nullptr, FParent->Handle(), reinterpret_cast<POINT*>(&r), 2);
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.right - r.left;
  FHeight = r.bottom - r.top;
}

void TWinControl::Realign() {
  if (FAligning || IsLoading() || ComponentState().Contains(csDestroying)) return;
  FAligning = true;
  try {
    RECT r = ClientRect();
    AlignControls(r);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::AlignControls(RECT& Rect) {
  // Top, bottom, left, right, then client, each in the order the controls joined.
  const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign a : order)
    for (TControl* c : FControls) {
      if (c->FAlign != a || !c->FVisible) continue;
      int w = c->FWidth, h = c->FHeight;
      switch (a) {
        case alTop:
          c->SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, h);
          Rect.top += h;
          break;
        case alBottom:
          c->SetBounds(Rect.left, Rect.bottom - h, Rect.right - Rect.left, h);
          Rect.bottom -= h;
          break;
        case alLeft:
          c->SetBounds(Rect.left, Rect.top, w, Rect.bottom - Rect.top);
          Rect.left += w;
          break;
        case alRight:
          c->SetBounds(Rect.right - w, Rect.top, w, Rect.bottom - Rect.top);
          Rect.right -= w;
          break;
        case alClient:
          c->SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
          break;
        case alNone:
          break;
      }
    }
}

void TWinControl::Invalidate() {
  if (FHandle != nullptr) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::SetEnabled(bool Value) {
  TControl::SetEnabled(Value);
  if (FHandle != nullptr) EnableWindow(FHandle, Value);
}

void TWinControl::TextChanged() {
  if (FHandle != nullptr) SetWindowTextA(FHandle, FText.c_str());
}

void TWinControl::FontChanged() {
  if (FHandle != nullptr) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Handle()), TRUE);
  for (TControl* c : FControls) c->ParentFontChanged();
  Invalidate();
}

void TWinControl::ColorChanged() {
  FBrush.Reset();
  for (TControl* c : FControls) c->ParentColorChanged();
  Invalidate();
}

HBRUSH TWinControl::Brush() {
  UpdateBrush();
  return FBrush.Get();
}

void TWinControl::UpdateBrush() {
  if (!FBrush) FBrush.Reset(CreateSolidBrush(ColorToRGB(FColor)));
}

void TWinControl::VisibleChanged() {
  if (FHandle != nullptr) ShowWindow(FHandle, FVisible ? SW_SHOWNA : SW_HIDE);
}

LRESULT TWinControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage message{Msg, WParam, LParam, 0};
  WndProc(message);
  return message.Result;
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (FHandle == nullptr) return;
  if (FDefWndProc != nullptr && FDefWndProc != DefWindowProcA)
    Message.Result = CallWindowProcA(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
  else
    Message.Result = DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::PaintWindow(HDC DC) {}

void TWinControl::PaintControls(HDC DC) {
  for (TControl* c : FControls) {
    auto* graphic = dynamic_cast<TGraphicControl*>(c);
    if (graphic == nullptr || !graphic->Visible()) continue;
    int saved = SaveDC(DC);
    IntersectClipRect(DC, graphic->Left(), graphic->Top(), graphic->Left() + graphic->Width(),
                      graphic->Top() + graphic->Height());
    SetViewportOrgEx(DC, graphic->Left(), graphic->Top(), nullptr);
    {
      TCanvas canvas(DC);
      graphic->Paint(canvas);
    }
    RestoreDC(DC, saved);
  }
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: {
      if (FDefWndProc != DefWindowProcA && FDefWndProc != nullptr) break;  // system controls erase themselves
      UpdateBrush();
      RECT r;
      GetClientRect(FHandle, &r);
      FillRect(reinterpret_cast<HDC>(Message.WParam), &r, FBrush.Get());
      Message.Result = 1;
      return;
    }
    case WM_PAINT: {
      if (FDefWndProc != DefWindowProcA && FDefWndProc != nullptr) break;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(FHandle, &ps);
      PaintWindow(dc);
      PaintControls(dc);
      EndPaint(FHandle, &ps);
      return;
    }
    case WM_SIZE:
    case WM_MOVE:
      UpdateBoundsFromWindow();
      if (Message.Msg == WM_SIZE) Realign();
      break;
    case WM_COMMAND:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(Message.LParam)); child != nullptr && child != this) {
        Message.Result = child->Perform(CN_BASE + WM_COMMAND, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_NOTIFY:
      // Children of the framework hear their own notifications.
      if (TWinControl* child = FindControl(reinterpret_cast<const NMHDR*>(Message.LParam)->hwndFrom);
          child != nullptr && child != this) {
        Message.Result = child->Perform(CN_BASE + WM_NOTIFY, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_DRAWITEM:
      // Owner-drawn children draw themselves.
      if (TWinControl* child = FindControl(reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->hwndItem);
          child != nullptr && child != this) {
        Message.Result = child->Perform(CN_BASE + WM_DRAWITEM, Message.WParam, Message.LParam);
        return;
      }
      break;
    case WM_MEASUREITEM:
      // Children that measure their items carry a control id of their own.
      if (UINT id = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam)->CtlID; id != 0)
        for (TControl* c : FControls)
          if (auto* child = dynamic_cast<TWinControl*>(c);
              child != nullptr && child->FHandle != nullptr && static_cast<UINT>(GetDlgCtrlID(child->FHandle)) == id) {
            Message.Result = child->Perform(CN_BASE + WM_MEASUREITEM, Message.WParam, Message.LParam);
            return;
          }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(Message.LParam)); child != nullptr && child != this) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetTextColor(dc, ColorToRGB(child->Font().Color()));
        SetBkColor(dc, ColorToRGB(child->Color()));
        child->UpdateBrush();
        Message.Result = reinterpret_cast<LRESULT>(child->FBrush.Get());
        return;
      }
      break;
    case WM_LBUTTONUP: {
      POINT pt{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
      if (TControl* graphic = GraphicControlAt(pt); graphic != nullptr && graphic->Enabled()) {
        graphic->Click();
        return;
      }
      break;
    }
    case WM_MOUSEMOVE:
      TrackMouseOver(GraphicControlAt(
          POINT{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))}));
      break;
    case WM_MOUSELEAVE:
      TrackMouseOver(nullptr);
      break;
    case WM_SETCURSOR:
      // A screen cursor (the hourglass of a long operation) stays over every window.
      if (ApplyScreenCursor()) {
        Message.Result = TRUE;
        return;
      }
      break;
    case WM_CONTEXTMENU:
      // Without a menu of its own the request goes on to the parent.
      if (ShowContextMenu(Message.LParam)) return;
      break;
    case WM_KEYUP:  // the menu key
      if (Message.WParam == VK_APPS && ShowContextMenu(-1)) return;
      break;
    case WM_SYSKEYDOWN:  // Shift+F10
      if (Message.WParam == VK_F10 && GetKeyState(VK_SHIFT) < 0 && ShowContextMenu(-1)) return;
      break;
    default:
      break;
  }
  DefaultHandler(Message);
}

bool TWinControl::ShowContextMenu(LPARAM Position) {
  if (FPopupMenu == nullptr || FHandle == nullptr) return false;
  POINT pt{static_cast<short>(LOWORD(Position)), static_cast<short>(HIWORD(Position))};
  if (Position == -1) {  // asked for from the keyboard: at the control's top-left corner
    pt = POINT{0, 0};
    ClientToScreen(FHandle, &pt);
  }
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(pt.x, pt.y);
  return true;
}

TControl* TWinControl::GraphicControlAt(POINT Point) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    RECT r = (*it)->BoundsRect();
    if (dynamic_cast<TGraphicControl*>(*it) != nullptr && (*it)->Visible() && PtInRect(&r, Point)) return *it;
  }
  return nullptr;
}

void TWinControl::TrackMouseOver(TControl* Control) {
  if (Control == FMouseControl) return;
  TControl* left = FMouseControl;
  FMouseControl = Control;
  if (left != nullptr) left->MouseLeave();
  if (Control != nullptr) {
    // Ask for WM_MOUSELEAVE so that the child hears when the mouse leaves the window.
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, FHandle, 0};
    TrackMouseEvent(&track);
    Control->MouseEnter();
  }
}

bool TWinControl::DialogChar(char Key) {
  for (TControl* c : std::vector<TControl*>(FControls))
    if (c->Visible() && c->Enabled() && c->DialogChar(Key)) return true;
  return false;
}

// --- TGraphicControl -------------------------------------------------------

const TClass& TGraphicControl::StaticClass() {
  static const TClass cls = TClassDef<TGraphicControl>();
  return cls;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

}  // namespace fw
