#include "Backdrop.h"

#include "gui/ColorMath.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"

namespace setup {

using namespace fw;

const TEnumInfo kDirectionInfo{
    "TDirection", {"bdUp", "bdDown", "bdLeft", "bdRight", "bdHorzIn", "bdHorzOut", "bdVertIn", "bdVertOut"}};

namespace {
TBackdrop* gCurrentBackdrop = nullptr;
}

TBackdrop* CurrentBackdrop() {
  return gCurrentBackdrop;
}

const TClass& TBackdrop::StaticClass() {
  using T = TBackdrop;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Enum("Direction", kDirectionInfo, &T::Direction, &T::SetDirection)
                                .Integer("StartColor", &T::StartColor, &T::SetStartColor, IdentToColor)
                                .Integer("EndColor", &T::EndColor, &T::SetEndColor, IdentToColor)
                                .Integer("Tag", &T::Tag, &T::SetTag);
  return cls;
}

TBackdrop::TBackdrop(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 185;
  FHeight = 41;
  SetAlign(alClient);
  if (ComponentState().Contains(csDesigning) && gCurrentBackdrop == nullptr) SetTag(-1);
}

TBackdrop::~TBackdrop() {
  if (gCurrentBackdrop == this) gCurrentBackdrop = nullptr;
}

void TBackdrop::SetDirection(TDirection Value) {
  if (FDirection == Value) return;
  FDirection = Value;
  Changed();
}

void TBackdrop::SetStartColor(TColor Value) {
  if (FStartColor == Value) return;
  FStartColor = Value;
  Changed();
}

void TBackdrop::SetEndColor(TColor Value) {
  if (FEndColor == Value) return;
  FEndColor = Value;
  Changed();
}

void TBackdrop::Changed() {
  if (HandleAllocated()) {
    InvalidateRect(FHandle, nullptr, FALSE);
    UpdateWindow(FHandle);
  }
}

void TBackdrop::SetTag(int Value) {
  if (Value == Tag()) return;
  TComponent::SetTag(Value);
  if (Value == -1) {
    TBackdrop* previous = gCurrentBackdrop;
    gCurrentBackdrop = this;
    if (previous != nullptr && previous != this) previous->SetTag(0);
  } else if (gCurrentBackdrop == this) {
    gCurrentBackdrop = nullptr;
  }
}

void TBackdrop::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TBackdrop*>(Source)) {
    FDirection = other->FDirection;
    FEndColor = other->FEndColor;
    FStartColor = other->FStartColor;
    SetAlign(other->Align());
    Invalidate();
    return;
  }
  TWinControl::Assign(Source);
}

void TBackdrop::DrawGradient(TGdiCanvas& Canvas, int Width, int Height, TColor First, TColor Second, bool Across,
                             bool Symmetric) {
  Canvas.SetPen(clBlack);  // solid, copy mode
  int extent = Across ? Width : Height;
  for (const TGradientBand& band : GradientBands(ColorToRGB(First), ColorToRGB(Second), extent, Symmetric)) {
    RECT r = Across ? RECT{band.From, 0, band.To, Height} : RECT{0, band.From, Width, band.To};
    Canvas.FillRect(r, static_cast<TColor>(band.Color));
  }
}

void TBackdrop::PaintTo(HDC DC) {
  RECT client = ClientRect();
  {
    TGdiCanvas canvas(DC);
    struct TShape {
      bool SwapColors, Across, Symmetric;
    };
    static const TShape shapes[] = {{false, false, false}, {true, false, false}, {false, true, false},
                                    {true, true, false},   {false, false, true}, {true, false, true},
                                    {false, true, true},   {true, true, true}};
    const TShape& shape = shapes[static_cast<int>(FDirection)];
    TColor first = shape.SwapColors ? FEndColor : FStartColor;
    TColor second = shape.SwapColors ? FStartColor : FEndColor;
    DrawGradient(canvas, client.right, client.bottom, first, second, shape.Across, shape.Symmetric);
  }
  PaintControls(DC);
}

void TBackdrop::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;  // the paint covers everything
      return;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(FHandle, &ps);
      try {
        RECT client = ClientRect();
        FBuffer.SetSize(client.right, client.bottom);
        PaintTo(FBuffer.DC());
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, FBuffer.DC(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
      } catch (...) {
        EndPaint(FHandle, &ps);
        throw;
      }
      EndPaint(FHandle, &ps);
      return;
    }
    case WM_SIZE:
      TWinControl::WndProc(Message);
      InvalidateRect(FHandle, nullptr, FALSE);  // the bands depend on the whole size
      return;
    default:
      break;
  }
  TWinControl::WndProc(Message);
}

}  // namespace setup
