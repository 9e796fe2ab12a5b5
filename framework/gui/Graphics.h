// Colours, fonts, canvases and pictures over GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "WinHandles.h"
#include "core/Classes.h"
#include "core/Events.h"

namespace fw {

// A colour: 0x00BBGGRR, or a system colour as 0x80000000 | COLOR_xxx.
using TColor = int32_t;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
                 clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
                 clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
                 clWhite = 0xFFFFFF;
constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index));
}
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE), clWindow = SystemColor(COLOR_WINDOW),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT), clBtnText = SystemColor(COLOR_BTNTEXT),
                 clHighlight = SystemColor(COLOR_HIGHLIGHT), clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT),
                 clBtnShadow = SystemColor(COLOR_BTNSHADOW), clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT),
                 clGrayText = SystemColor(COLOR_GRAYTEXT), clInfoBk = SystemColor(COLOR_INFOBK);
constexpr TColor clNone = 0x1FFFFFFF;

// The RGB value of a colour (system colours looked up).
COLORREF ColorToRGB(TColor Color);
// Colour and charset names as form descriptions write them.
bool IdentToColor(std::string_view Ident, long long& Color);
bool IdentToCharset(std::string_view Ident, long long& Charset);

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
using enum TFontStyle;

class TFont : public TPersistent {
  FW_CLASS(TFont, TPersistent)
 public:
  TFont();
  ~TFont() override;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Points at 96 pixels per inch.
  int Size() const;
  void SetSize(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Charset() const { return FCharset; }
  void SetCharset(int Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);

  // The GDI font, made on first use and remade after a change.
  HFONT Handle();
  void Assign(const TPersistent* Source) override;

  TNotifyEvent OnChange;

 private:
  void Changed();

  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  int FCharset = DEFAULT_CHARSET;
  TFontStyles FStyle;
  TFontHandle FHandle;
};

// Drawing on a device context that someone else owns (a paint or a memory DC).
class TCanvas {
 public:
  explicit TCanvas(HDC DC);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const { return FDC; }
  TFont& Font() { return FFont; }
  TColor BrushColor() const { return FBrushColor; }
  void SetBrushColor(TColor Value) { FBrushColor = Value; }

  void FillRect(const RECT& Rect);
  void TextOut(int X, int Y, const std::string& Text);
  // DrawTextA with this canvas's font and colour; returns the text height.
  int DrawText(const std::string& Text, RECT& Rect, UINT Format);
  SIZE TextExtent(const std::string& Text);

 private:
  void SelectFont();
  HDC FDC;
  TFont FFont;
  TColor FBrushColor = clWhite;
  HGDIOBJ FOldFont = nullptr;
};

// A picture's contents: a bitmap or an icon, kept as the bytes of its file format.
class TGraphic : public TPersistent {
  FW_CLASS(TGraphic, TPersistent)
 public:
  virtual bool Empty() const { return FData.empty(); }
  virtual int Width() const { return 0; }
  virtual int Height() const { return 0; }
  virtual void LoadFromBytes(const std::vector<uint8_t>& Data) { FData = Data; }
  const std::vector<uint8_t>& Bytes() const { return FData; }
  void LoadFromFile(const std::string& FileName);
  void Assign(const TPersistent* Source) override;

 protected:
  std::vector<uint8_t> FData;
};

class TBitmap : public TGraphic {
  FW_CLASS(TBitmap, TGraphic)
 public:
  TBitmap() = default;
  ~TBitmap() override;
  int Width() const override;
  int Height() const override;
  void LoadFromBytes(const std::vector<uint8_t>& Data) override;
  // A device-dependent bitmap made from the file's bits on first use.
  HBITMAP Handle();

 private:
  TBitmapHandle FHandle;
};

class TIcon : public TGraphic {
  FW_CLASS(TIcon, TGraphic)
 public:
  TIcon() = default;
  ~TIcon() override;
  int Width() const override;
  int Height() const override;
  void LoadFromBytes(const std::vector<uint8_t>& Data) override;
  HICON Handle();

 private:
  TIconHandle FHandle;
};

// Holds one graphic. Stored in form descriptions as Data: the graphic's class name
// (length byte, then the name), then its contents.
class TPicture : public TPersistent {
  FW_CLASS(TPicture, TPersistent)
 public:
  TPicture() = default;
  TGraphic* Graphic() const { return FGraphic.get(); }
  void SetGraphic(const TGraphic* Value);
  bool Empty() const { return !FGraphic || FGraphic->Empty(); }
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }
  TBitmap* Bitmap();
  std::vector<uint8_t> Data() const;
  void SetData(const std::vector<uint8_t>& Value);
  void LoadFromFile(const std::string& FileName);
  void Assign(const TPersistent* Source) override;

  TNotifyEvent OnChange;

 private:
  std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace fw
