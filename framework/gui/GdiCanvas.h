// A canvas over a GDI device context with pens, brushes, fonts, clip regions and memory
// bitmaps of its own. Every GDI object it makes is held by a counting handle owner, so
// tests can tell that painting leaks none (GdiObjectsAlive).
//
//   fw::TMemoryBitmap buffer(width, height);
//   {
//     fw::TGdiCanvas canvas(buffer.DC());
//     canvas.SetBrushColor(fw::clBlue);
//     canvas.FillRect(RECT{0, 0, width, height});
//   }
//   BitBlt(target, 0, 0, width, height, buffer.DC(), 0, 0, SRCCOPY);
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "Graphics.h"
#include "WinHandles.h"
#include "core/SysUtils.h"

namespace fw {

// How many GDI objects and memory DCs made through the owners below exist now.
long GdiObjectsAlive() noexcept;

namespace handle_traits {

void NoteGdiObjectMade() noexcept;
void NoteGdiObjectFreed() noexcept;

template <class T>
struct CountedGdiObject {
  using Type = T;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept {
    DeleteObject(h);
    NoteGdiObjectFreed();
  }
};

struct CountedMemoryDC {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept {
    DeleteDC(h);
    NoteGdiObjectFreed();
  }
};

}  // namespace handle_traits

using TPenOwner = TUniqueHandle<handle_traits::CountedGdiObject<HPEN>>;
using TBrushOwner = TUniqueHandle<handle_traits::CountedGdiObject<HBRUSH>>;
using TFontOwner = TUniqueHandle<handle_traits::CountedGdiObject<HFONT>>;
using TRegionOwner = TUniqueHandle<handle_traits::CountedGdiObject<HRGN>>;
using TBitmapOwner = TUniqueHandle<handle_traits::CountedGdiObject<HBITMAP>>;
using TMemoryDCOwner = TUniqueHandle<handle_traits::CountedMemoryDC>;

// Makers of counted objects; each raises EOutOfResources when GDI refuses.
TPenOwner MakePen(TColor Color, int Width = 1, int Style = PS_SOLID);
TBrushOwner MakeSolidBrush(TColor Color);
TFontOwner MakeFont(const LOGFONTA& Font);
TRegionOwner MakeRectRegion(const RECT& Rect);
// A memory DC compatible with the screen, for measuring text.
TMemoryDCOwner MakeMemoryDC();

FW_EXCEPTION(EOutOfResources, Exception);

// A 32-bit top-down bitmap selected into a memory DC of its own: a place to draw a
// whole picture before it is copied to the screen in one go, and whose pixels can be
// read back.
class TMemoryBitmap {
 public:
  TMemoryBitmap() = default;
  TMemoryBitmap(int Width, int Height) { SetSize(Width, Height); }
  ~TMemoryBitmap();
  TMemoryBitmap(const TMemoryBitmap&) = delete;
  TMemoryBitmap& operator=(const TMemoryBitmap&) = delete;

  // Keeps the bitmap when the size is the same; the contents are undefined after a change.
  void SetSize(int Width, int Height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  HDC DC() const { return FDC.Get(); }
  HBITMAP Bitmap() const { return FBitmap.Get(); }
  // The colour at (X, Y) as 0x00BBGGRR (GdiFlush first); CLR_INVALID outside.
  COLORREF Pixel(int X, int Y) const;
  // Copies the whole bitmap to DC at (X, Y).
  void CopyTo(HDC DC, int X, int Y) const;

 private:
  void Release();
  TMemoryDCOwner FDC;
  TBitmapOwner FBitmap;
  HGDIOBJ FOldBitmap = nullptr;
  uint32_t* FBits = nullptr;
  int FWidth = 0, FHeight = 0;
};

// Draws on a device context that someone else owns. The DC's state (selected objects,
// colours, clipping, modes) is saved on construction and restored on destruction.
class TGdiCanvas {
 public:
  explicit TGdiCanvas(HDC DC);
  ~TGdiCanvas();
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  HDC Handle() const { return FDC; }

  // Fonts: a font's own handle (kept by the TFont), or one the canvas owns from now on.
  void SetFont(TFont& Font);
  void SetFontHandle(TFontOwner Font);
  HFONT FontHandle() const { return static_cast<HFONT>(GetCurrentObject(FDC, OBJ_FONT)); }
  TColor TextColor() const { return FTextColor; }
  void SetTextColor(TColor Color);

  // Brush and pen, remade only when their colour changes; a clear brush fills nothing.
  void SetBrushColor(TColor Color);
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushClear(bool Clear) { FBrushClear = Clear; }
  bool BrushClear() const { return FBrushClear; }
  void SetPen(TColor Color, int Width = 1, int Style = PS_SOLID);

  void FillRect(const RECT& Rect);
  void FillRect(const RECT& Rect, TColor Color) {
    SetBrushColor(Color);
    FillRect(Rect);
  }
  void MoveTo(int X, int Y) { MoveToEx(FDC, X, Y, nullptr); }
  void LineTo(int X, int Y) { ::LineTo(FDC, X, Y); }
  // Drawing is limited to the part of the current clip area inside Rect.
  void IntersectClip(const RECT& Rect);

  SIZE TextExtent(const std::string& Text) const;
  int TextWidth(const std::string& Text) const { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) const { return TextExtent(Text).cy; }
  // DrawTextA in the current font and text colour, background left as it is.
  int DrawText(const std::string& Text, RECT& Rect, UINT Format);
  // Copies Width x Height from Source at (SourceX, SourceY) with a raster operation.
  void CopyFrom(int X, int Y, int Width, int Height, HDC Source, int SourceX, int SourceY, DWORD Rop = SRCCOPY);
  // Copies Source to (X, Y) except its pixels of the colour Transparent.
  void DrawTransparent(int X, int Y, const TMemoryBitmap& Source, COLORREF Transparent);

 private:
  HDC FDC;
  int FSavedState;
  TColor FTextColor = clBlack;
  TColor FBrushColor = clWhite;
  bool FBrushClear = false;
  TFontOwner FFont;
  TBrushOwner FBrush;
  TPenOwner FPen;
};

}  // namespace fw
