#include "GdiCanvas.h"

#include "core/SysUtils.h"

namespace fw {

namespace {
std::atomic<long> gGdiObjectsAlive{0};

template <class Owner, class Handle>
Owner Counted(Handle Made, const char* What) {
  if (Made == nullptr) throw EOutOfResources(Format("Windows could not make a %s (error %u)", What, GetLastError()));
  handle_traits::NoteGdiObjectMade();
  return Owner(Made);
}
}  // namespace

long GdiObjectsAlive() noexcept {
  return gGdiObjectsAlive.load();
}

void handle_traits::NoteGdiObjectMade() noexcept {
  ++gGdiObjectsAlive;
}
void handle_traits::NoteGdiObjectFreed() noexcept {
  --gGdiObjectsAlive;
}

TPenOwner MakePen(TColor Color, int Width, int Style) {
  return Counted<TPenOwner>(CreatePen(Style, Width, ColorToRGB(Color)), "pen");
}

TBrushOwner MakeSolidBrush(TColor Color) {
  return Counted<TBrushOwner>(CreateSolidBrush(ColorToRGB(Color)), "brush");
}

TFontOwner MakeFont(const LOGFONTA& Font) {
  return Counted<TFontOwner>(CreateFontIndirectA(&Font), "font");
}

TRegionOwner MakeRectRegion(const RECT& Rect) {
  return Counted<TRegionOwner>(CreateRectRgn(Rect.left, Rect.top, Rect.right, Rect.bottom), "region");
}

TMemoryDCOwner MakeMemoryDC() {
  return Counted<TMemoryDCOwner>(CreateCompatibleDC(nullptr), "memory device context");
}

// --- TMemoryBitmap ----------------------------------------------------------

TMemoryBitmap::~TMemoryBitmap() {
  Release();
}

void TMemoryBitmap::Release() {
  if (FDC && FOldBitmap != nullptr) SelectObject(FDC.Get(), FOldBitmap);
  FOldBitmap = nullptr;
  FBitmap.Reset();
  FDC.Reset();
  FBits = nullptr;
  FWidth = FHeight = 0;
}

void TMemoryBitmap::SetSize(int Width, int Height) {
  if (Width < 1) Width = 1;
  if (Height < 1) Height = 1;
  if (FDC && Width == FWidth && Height == FHeight) return;
  Release();
  FDC = Counted<TMemoryDCOwner>(CreateCompatibleDC(nullptr), "memory device context");
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = Width;
  info.bmiHeader.biHeight = -Height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  FBitmap = Counted<TBitmapOwner>(CreateDIBSection(FDC.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0), "bitmap");
  FBits = static_cast<uint32_t*>(bits);
  FOldBitmap = SelectObject(FDC.Get(), FBitmap.Get());
  FWidth = Width;
  FHeight = Height;
}

COLORREF TMemoryBitmap::Pixel(int X, int Y) const {
  if (FBits == nullptr || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return CLR_INVALID;
  GdiFlush();
  uint32_t bgra = FBits[static_cast<size_t>(Y) * static_cast<size_t>(FWidth) + static_cast<size_t>(X)];
  return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

void TMemoryBitmap::CopyTo(HDC DC, int X, int Y) const {
  BitBlt(DC, X, Y, FWidth, FHeight, FDC.Get(), 0, 0, SRCCOPY);
}

// --- TGdiCanvas -------------------------------------------------------------

TGdiCanvas::TGdiCanvas(HDC DC) : FDC(DC), FSavedState(SaveDC(DC)) {
  SetBkMode(FDC, TRANSPARENT);
  FTextColor = static_cast<TColor>(GetTextColor(FDC));
}

TGdiCanvas::~TGdiCanvas() {
  // Puts the DC's own objects back before the owners below delete ours.
  RestoreDC(FDC, FSavedState);
}

void TGdiCanvas::SetFont(TFont& Font) {
  SelectObject(FDC, Font.Handle());
  FFont.Reset();
  SetTextColor(Font.Color());
}

void TGdiCanvas::SetFontHandle(TFontOwner Font) {
  SelectObject(FDC, Font.Get());
  FFont = std::move(Font);  // the one selected before is deleted now that it is out
}

void TGdiCanvas::SetTextColor(TColor Color) {
  FTextColor = Color;
  ::SetTextColor(FDC, ColorToRGB(Color));
}

void TGdiCanvas::SetBrushColor(TColor Color) {
  FBrushClear = false;
  if (FBrush && Color == FBrushColor) return;
  TBrushOwner brush = MakeSolidBrush(Color);
  SelectObject(FDC, brush.Get());
  FBrush = std::move(brush);
  FBrushColor = Color;
}

void TGdiCanvas::SetPen(TColor Color, int Width, int Style) {
  TPenOwner pen = MakePen(Color, Width, Style);
  SelectObject(FDC, pen.Get());
  SetROP2(FDC, R2_COPYPEN);
  FPen = std::move(pen);
}

void TGdiCanvas::FillRect(const RECT& Rect) {
  if (FBrushClear) return;
  if (!FBrush) SetBrushColor(FBrushColor);
  ::FillRect(FDC, &Rect, FBrush.Get());
}

void TGdiCanvas::IntersectClip(const RECT& Rect) {
  // The region is copied into the DC; ours goes at the end of this call.
  TRegionOwner region = MakeRectRegion(Rect);
  POINT origin{};
  GetViewportOrgEx(FDC, &origin);
  OffsetRgn(region.Get(), origin.x, origin.y);  // clip regions are in device units
  ExtSelectClipRgn(FDC, region.Get(), RGN_AND);
}

SIZE TGdiCanvas::TextExtent(const std::string& Text) const {
  SIZE size{};
  if (Text.empty()) {
    TEXTMETRICA tm{};
    GetTextMetricsA(FDC, &tm);
    size.cy = tm.tmHeight;
    return size;
  }
  GetTextExtentPoint32A(FDC, Text.data(), static_cast<int>(Text.size()), &size);
  return size;
}

int TGdiCanvas::DrawText(const std::string& Text, RECT& Rect, UINT Format) {
  return ::DrawTextA(FDC, Text.data(), static_cast<int>(Text.size()), &Rect, Format);
}

void TGdiCanvas::CopyFrom(int X, int Y, int Width, int Height, HDC Source, int SourceX, int SourceY, DWORD Rop) {
  BitBlt(FDC, X, Y, Width, Height, Source, SourceX, SourceY, Rop);
}

void TGdiCanvas::DrawTransparent(int X, int Y, const TMemoryBitmap& Source, COLORREF Transparent) {
  const int w = Source.Width(), h = Source.Height();
  // A monochrome mask: white where Source has the transparent colour.
  TMemoryDCOwner maskDC = MakeMemoryDC();
  TBitmapOwner mask = Counted<TBitmapOwner>(CreateBitmap(w, h, 1, 1, nullptr), "bitmap");
  TSelectObject selected(maskDC.Get(), mask.Get());
  COLORREF oldSourceBack = SetBkColor(Source.DC(), Transparent);
  BitBlt(maskDC.Get(), 0, 0, w, h, Source.DC(), 0, 0, SRCCOPY);
  SetBkColor(Source.DC(), oldSourceBack);
  // Target ^ Source, cleared where opaque, ^ Source again: Source where opaque, Target elsewhere.
  COLORREF oldBack = SetBkColor(FDC, RGB(255, 255, 255)), oldText = ::SetTextColor(FDC, RGB(0, 0, 0));
  BitBlt(FDC, X, Y, w, h, Source.DC(), 0, 0, SRCINVERT);
  BitBlt(FDC, X, Y, w, h, maskDC.Get(), 0, 0, SRCAND);
  BitBlt(FDC, X, Y, w, h, Source.DC(), 0, 0, SRCINVERT);
  SetBkColor(FDC, oldBack);
  ::SetTextColor(FDC, oldText);
}

}  // namespace fw
