#include "ExtCtrls.h"

#include "core/ClassDef.h"

namespace fw {

namespace {

constexpr UINT CN_COMMAND = 0xBC00 + WM_COMMAND;  // a WM_COMMAND reflected from the parent

const TEnumInfo kBevelCutInfo{"TBevelCut", {"bvNone", "bvLowered", "bvRaised"}};
const TEnumInfo kBevelShapeInfo{"TBevelShape",
                                {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine"}};
const TEnumInfo kBevelStyleInfo{"TBevelStyle", {"bsLowered", "bsRaised"}};

// A group box paints its frame and caption only: the inside is the control's colour.
bool EraseInOwnColour(TMessage& Message, HWND Wnd, HBRUSH Brush) {
  if (Message.Msg != WM_ERASEBKGND) return false;
  RECT r;
  GetClientRect(Wnd, &r);
  FillRect(reinterpret_cast<HDC>(Message.WParam), &r, Brush);
  Message.Result = 1;
  return true;
}

}  // namespace

// --- TPanel ----------------------------------------------------------------

const TClass& TPanel::StaticClass() {
  using T = TPanel;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Enum("BevelOuter", kBevelCutInfo, &T::BevelOuter, &T::SetBevelOuter)
                                .Enum("BevelInner", kBevelCutInfo, &T::BevelInner, &T::SetBevelInner);
  return cls;
}

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 185;
  FHeight = 41;
}

void TPanel::SetBevelOuter(TBevelCut Value) {
  FBevelOuter = Value;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut Value) {
  FBevelInner = Value;
  Invalidate();
}

void TPanel::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::PaintWindow(HDC DC) {
  RECT r;
  GetClientRect(Handle(), &r);
  // The outer edge, then the inner one a pixel further in.
  for (TBevelCut cut : {FBevelOuter, FBevelInner}) {
    if (cut != bvNone) DrawEdge(DC, &r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  if (FText.empty()) return;
  TCanvas canvas(DC);
  canvas.Font().Assign(&FFont);
  canvas.DrawText(FText, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// --- TBevel ----------------------------------------------------------------

const TClass& TBevel::StaticClass() {
  using T = TBevel;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Enum("Shape", kBevelShapeInfo, &T::Shape, &T::SetShape)
                                .Enum("Style", kBevelStyleInfo, &T::Style, &T::SetStyle);
  return cls;
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 50;
  FHeight = 50;
}

void TBevel::SetShape(TBevelShape Value) {
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint(TCanvas& Canvas) {
  RECT r{0, 0, FWidth, FHeight};
  UINT edge = FStyle == TBevelStyle::bsLowered ? EDGE_ETCHED : EDGE_BUMP;
  UINT flags = BF_RECT;
  switch (FShape) {
    case bsBox:
      edge = FStyle == TBevelStyle::bsLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
      break;
    case bsFrame:
      break;
    case bsTopLine:
      flags = BF_TOP;
      break;
    case bsBottomLine:
      flags = BF_BOTTOM;
      break;
    case bsLeftLine:
      flags = BF_LEFT;
      break;
    case bsRightLine:
      flags = BF_RIGHT;
      break;
  }
  DrawEdge(Canvas.Handle(), &r, edge, flags);
}

// --- TShape ----------------------------------------------------------------

const TClass& TShape::StaticClass() {
  static const TClass cls = TClassDef<TShape>().Creatable();
  return cls;
}

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 65;
  FHeight = 65;
  FColor = clWhite;
  FParentColor = false;
}

void TShape::Paint(TCanvas& Canvas) {
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(FColor)));
  RECT r{0, 0, FWidth, FHeight};
  FillRect(Canvas.Handle(), &r, brush.Get());
}

// --- TImage ----------------------------------------------------------------

const TClass& TImage::StaticClass() {
  using T = TImage;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Object("Picture", [](const T* t) { return &t->Picture(); })
                                .Boolean("Center", &T::Center, &T::SetCenter)
                                .Boolean("Stretch", &T::Stretch, &T::SetStretch);
  return cls;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 105;
  FHeight = 105;
  FPicture.OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() {
  FPicture.OnChange = nullptr;
}

void TImage::SetCenter(bool Value) {
  FCenter = Value;
  Invalidate();
}

void TImage::SetStretch(bool Value) {
  FStretch = Value;
  Invalidate();
}

void TImage::PictureChanged(TObject*) {
  Invalidate();
}

RECT TImage::DestRect() const {
  if (FStretch) return RECT{0, 0, FWidth, FHeight};
  int w = FPicture.Width(), h = FPicture.Height();
  int x = FCenter ? (FWidth - w) / 2 : 0;
  int y = FCenter ? (FHeight - h) / 2 : 0;
  return RECT{x, y, x + w, y + h};
}

void TImage::Paint(TCanvas& Canvas) {
  if (FPicture.Empty()) return;
  RECT r = DestRect();
  HDC dc = Canvas.Handle();
  if (auto* icon = dynamic_cast<TIcon*>(FPicture.Graphic())) {
    DrawIconEx(dc, r.left, r.top, icon->Handle(), r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
    return;
  }
  TBitmap* bitmap = FPicture.Bitmap();
  if (bitmap == nullptr || bitmap->Handle() == nullptr) return;
  HDC memory = CreateCompatibleDC(dc);
  if (memory == nullptr) return;
  HGDIOBJ old = SelectObject(memory, bitmap->Handle());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, bitmap->Width(), bitmap->Height(),
             SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

// --- TGroupBox -------------------------------------------------------------

const TClass& TGroupBox::StaticClass() {
  using T = TGroupBox;
  static const TClass cls = TClassDef<T>().Creatable().String("Caption", &T::Caption, &T::SetCaption);
  return cls;
}

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 185;
  FHeight = 105;
}

void TGroupBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= BS_GROUPBOX;
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::WndProc(TMessage& Message) {
  if (EraseInOwnColour(Message, FHandle, Brush())) return;
  TWinControl::WndProc(Message);
}

// --- TCheckBox -------------------------------------------------------------

const TClass& TCheckBox::StaticClass() {
  using T = TCheckBox;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Boolean("Checked", &T::Checked, &T::SetChecked);
  return cls;
}

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 97;
  FHeight = 17;
}

void TCheckBox::SetChecked(bool Value) {
  FChecked = Value;
  if (HandleAllocated()) SendMessageA(FHandle, BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= WS_TABSTOP | BS_AUTOCHECKBOX;
}

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    FChecked = SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
    Click();
    return;
  }
  TWinControl::WndProc(Message);
}

}  // namespace fw
