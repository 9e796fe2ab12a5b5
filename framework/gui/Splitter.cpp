#include "Splitter.h"

#include <algorithm>

#include "Screen.h"
#include "core/ClassDef.h"

namespace fw {

namespace {
// The screen point of a mouse message of Wnd.
POINT ScreenPoint(HWND Wnd, LPARAM LParam) {
  POINT pt{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
  ClientToScreen(Wnd, &pt);
  return pt;
}
}  // namespace

const TClass& TSplitter::StaticClass() {
  using T = TSplitter;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Integer("MinSize", &T::MinSize, &T::SetMinSize)
                                .Event("OnMoved", &T::OnMoved);
  return cls;
}

TSplitter::TSplitter(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 3;
  FHeight = 100;
  FAlign = alLeft;
}

void TSplitter::PaintWindow(HDC DC) {
  RECT r{0, 0, FWidth, FHeight};
  FillRect(DC, &r, Brush());
}

TControl* TSplitter::ResizedControl() const {
  if (FParent == nullptr) return nullptr;
  TControl* found = nullptr;
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    TControl* c = FParent->Controls(i);
    if (c == this) break;
    if (!c->Visible() || c->Align() != FAlign) continue;
    bool touches = false;
    switch (FAlign) {
      case alLeft:
        touches = c->Left() + c->Width() == FLeft;
        break;
      case alRight:
        touches = c->Left() == FLeft + FWidth;
        break;
      case alTop:
        touches = c->Top() + c->Height() == FTop;
        break;
      case alBottom:
        touches = c->Top() == FTop + FHeight;
        break;
      default:
        break;
    }
    if (touches) found = c;
  }
  return found;
}

int TSplitter::MaxSize(const TControl* Resized) const {
  int room = Sideways() ? FParent->ClientWidth() : FParent->ClientHeight();
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    TControl* c = FParent->Controls(i);
    if (c == Resized || !c->Visible()) continue;
    bool sameAxis = Sideways() ? (c->Align() == alLeft || c->Align() == alRight)
                               : (c->Align() == alTop || c->Align() == alBottom);
    if (sameAxis) room -= Sideways() ? c->Width() : c->Height();
  }
  return room - FMinSize;
}

void TSplitter::DragTo(POINT Screen) {
  TControl* resized = ResizedControl();
  if (resized == nullptr) return;
  int moved = Sideways() ? Screen.x - FDragStart.x : Screen.y - FDragStart.y;
  if (FAlign == alRight || FAlign == alBottom) moved = -moved;
  int size = std::max(FMinSize, std::min(FStartSize + moved, MaxSize(resized)));
  if (Sideways())
    resized->SetWidth(size);
  else
    resized->SetHeight(size);
  FParent->Realign();
}

void TSplitter::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETCURSOR:
      if (ScreenCursor() != crDefault) break;
      SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(Sideways() ? IDC_SIZEWE : IDC_SIZENS)));
      Message.Result = TRUE;
      return;
    case WM_LBUTTONDOWN: {
      TControl* resized = ResizedControl();
      if (resized == nullptr) break;
      FDragStart = ScreenPoint(FHandle, Message.LParam);
      FStartSize = Sideways() ? resized->Width() : resized->Height();
      FDragging = true;
      SetCapture(FHandle);
      Message.Result = 0;
      return;
    }
    case WM_MOUSEMOVE:
      if (FDragging) {
        DragTo(ScreenPoint(FHandle, Message.LParam));
        Message.Result = 0;
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (FDragging) {
        DragTo(ScreenPoint(FHandle, Message.LParam));
        FDragging = false;
        if (GetCapture() == FHandle) ReleaseCapture();
        if (OnMoved) OnMoved(this);
        Message.Result = 0;
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      FDragging = false;
      break;
    default:
      break;
  }
  TWinControl::WndProc(Message);
}

}  // namespace fw
