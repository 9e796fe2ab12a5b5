#include "Graphics.h"

#include <cstring>

#include "BitmapFormat.h"
#include "core/ClassDef.h"
#include "core/Streams.h"

namespace fw {

COLORREF ColorToRGB(TColor Color) {
  if (Color < 0) return GetSysColor(Color & 0xFF);
  return static_cast<COLORREF>(Color);
}

namespace {
struct TIdent {
  const char* Name;
  long long Value;
};
const TIdent kColors[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clBtnFace", clBtnFace},
    {"clWindow", clWindow},
    {"clWindowText", clWindowText},
    {"clBtnText", clBtnText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnShadow", clBtnShadow},
    {"clBtnHighlight", clBtnHighlight},
    {"clGrayText", clGrayText},
    {"clInfoBk", clInfoBk},
    {"clNone", clNone},
};
const TIdent kCharsets[] = {
    {"ANSI_CHARSET", ANSI_CHARSET},
    {"DEFAULT_CHARSET", DEFAULT_CHARSET},
    {"SYMBOL_CHARSET", SYMBOL_CHARSET},
    {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET},
    {"HANGEUL_CHARSET", HANGEUL_CHARSET},
    {"GB2312_CHARSET", GB2312_CHARSET},
    {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
    {"OEM_CHARSET", OEM_CHARSET},
    {"JOHAB_CHARSET", JOHAB_CHARSET},
    {"HEBREW_CHARSET", HEBREW_CHARSET},
    {"ARABIC_CHARSET", ARABIC_CHARSET},
    {"GREEK_CHARSET", GREEK_CHARSET},
    {"TURKISH_CHARSET", TURKISH_CHARSET},
    {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
    {"THAI_CHARSET", THAI_CHARSET},
    {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
    {"RUSSIAN_CHARSET", RUSSIAN_CHARSET},
    {"MAC_CHARSET", MAC_CHARSET},
    {"BALTIC_CHARSET", BALTIC_CHARSET},
};
template <size_t N>
bool Lookup(const TIdent (&table)[N], std::string_view ident, long long& value) {
  for (const TIdent& e : table)
    if (SameText(e.Name, ident)) {
      value = e.Value;
      return true;
    }
  return false;
}
const TEnumInfo kFontStyles{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
}  // namespace

bool IdentToColor(std::string_view Ident, long long& Color) {
  return Lookup(kColors, Ident, Color);
}
bool IdentToCharset(std::string_view Ident, long long& Charset) {
  return Lookup(kCharsets, Ident, Charset);
}

// --- TFont -----------------------------------------------------------------

const TClass& TFont::StaticClass() {
  using T = TFont;
  static const TClass cls = TClassDef<T>()
                                .Integer("Charset", &T::Charset, &T::SetCharset, IdentToCharset)
                                .Integer("Color", &T::Color, &T::SetColor, IdentToColor)
                                .Integer("Height", &T::Height, &T::SetHeight)
                                .String("Name", &T::Name, &T::SetName)
                                .Set("Style", kFontStyles, &T::Style, &T::SetStyle);
  return cls;
}

TFont::TFont() = default;

TFont::~TFont() = default;

void TFont::Changed() {
  FHandle.Reset();
  if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& Value) {
  if (FName == Value) return;
  FName = Value;
  Changed();
}

void TFont::SetHeight(int Value) {
  if (FHeight == Value) return;
  FHeight = Value;
  Changed();
}

int TFont::Size() const {
  return -MulDiv(FHeight, 72, 96);
}

void TFont::SetSize(int Value) {
  SetHeight(-MulDiv(Value, 96, 72));
}

void TFont::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TFont::SetCharset(int Value) {
  if (FCharset == Value) return;
  FCharset = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTA lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
    FHandle.Reset(CreateFontIndirectA(&lf));
  }
  return FHandle.Get();
}

void TFont::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TFont*>(Source)) {
    FName = src->FName;
    FHeight = src->FHeight;
    FColor = src->FColor;
    FCharset = src->FCharset;
    FStyle = src->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

// --- TCanvas ---------------------------------------------------------------

TCanvas::TCanvas(HDC DC) : FDC(DC) {}

TCanvas::~TCanvas() {
  if (FOldFont != nullptr) SelectObject(FDC, FOldFont);
}

void TCanvas::SelectFont() {
  HGDIOBJ old = SelectObject(FDC, FFont.Handle());
  if (FOldFont == nullptr) FOldFont = old;
  SetTextColor(FDC, ColorToRGB(FFont.Color()));
}

void TCanvas::FillRect(const RECT& Rect) {
  TBrushHandle brush(CreateSolidBrush(ColorToRGB(FBrushColor)));
  ::FillRect(FDC, &Rect, brush.Get());
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  SelectFont();
  SetBkMode(FDC, TRANSPARENT);
  ::TextOutA(FDC, X, Y, Text.data(), static_cast<int>(Text.size()));
}

int TCanvas::DrawText(const std::string& Text, RECT& Rect, UINT Format) {
  SelectFont();
  SetBkMode(FDC, TRANSPARENT);
  return ::DrawTextA(FDC, Text.data(), static_cast<int>(Text.size()), &Rect, Format);
}

SIZE TCanvas::TextExtent(const std::string& Text) {
  SelectFont();
  SIZE size{};
  GetTextExtentPoint32A(FDC, Text.data(), static_cast<int>(Text.size()), &size);
  return size;
}

// --- graphics --------------------------------------------------------------

const TClass& TGraphic::StaticClass() {
  static const TClass cls = TClassDef<TGraphic>();
  return cls;
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  TMemoryStream data;
  data.LoadFromFile(FileName);
  LoadFromBytes(data.Data());
}

void TGraphic::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TGraphic*>(Source)) {
    if (&src->ClassType() == &ClassType()) {
      LoadFromBytes(src->FData);
      return;
    }
  }
  TPersistent::Assign(Source);
}

const TClass& TBitmap::StaticClass() {
  static const TClass cls = TClassDef<TBitmap>();
  return cls;
}

TBitmap::~TBitmap() = default;

int TBitmap::Width() const {
  return FData.empty() ? 0 : CheckBitmapFile(FData).Width;
}

int TBitmap::Height() const {
  return FData.empty() ? 0 : CheckBitmapFile(FData).Height;
}

void TBitmap::LoadFromBytes(const std::vector<uint8_t>& Data) {
  // GDI trusts the sizes in the headers: data that does not hold what they promise is refused here.
  if (!Data.empty()) CheckBitmapFile(Data);
  FHandle.Reset();
  FData = Data;
}

HBITMAP TBitmap::Handle() {
  if (!FHandle && !FData.empty()) {
    const TBitmapLayout layout = CheckBitmapFile(FData);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(FData.data() + layout.InfoOffset);
    TWindowDC screen(nullptr);
    FHandle.Reset(CreateDIBitmap(screen.Get(), &info->bmiHeader, CBM_INIT, FData.data() + layout.PixelOffset, info,
                                 DIB_RGB_COLORS));
  }
  return FHandle.Get();
}

const TClass& TIcon::StaticClass() {
  static const TClass cls = TClassDef<TIcon>();
  return cls;
}

TIcon::~TIcon() = default;

namespace {
// Icon file: 6-byte header, then 16-byte directory entries.
bool IsIconFile(const std::vector<uint8_t>& data) {
  return data.size() >= 22 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0 && (data[4] | data[5]) != 0;
}
}  // namespace

int TIcon::Width() const {
  return IsIconFile(FData) ? (FData[6] == 0 ? 256 : FData[6]) : 0;
}
int TIcon::Height() const {
  return IsIconFile(FData) ? (FData[7] == 0 ? 256 : FData[7]) : 0;
}

void TIcon::LoadFromBytes(const std::vector<uint8_t>& Data) {
  if (!Data.empty() && !IsIconFile(Data)) throw EInOutError("Icon image is not valid");
  FHandle.Reset();
  FData = Data;
}

HICON TIcon::Handle() {
  if (!FHandle && IsIconFile(FData)) {
    uint32_t size, offset;
    std::memcpy(&size, FData.data() + 14, 4);
    std::memcpy(&offset, FData.data() + 18, 4);
    if (offset < FData.size() && size <= FData.size() - offset)
      FHandle.Reset(
          CreateIconFromResourceEx(const_cast<BYTE*>(FData.data() + offset), size, TRUE, 0x00030000, 0, 0, 0));
  }
  return FHandle.Get();
}

// --- TPicture --------------------------------------------------------------

const TClass& TPicture::StaticClass() {
  static const TClass cls = TClassDef<TPicture>().Binary("Data", &TPicture::Data, &TPicture::SetData);
  return cls;
}

void TPicture::SetGraphic(const TGraphic* Value) {
  if (Value == nullptr) {
    FGraphic.reset();
  } else {
    std::unique_ptr<TGraphic> copy;
    if (dynamic_cast<const TIcon*>(Value) != nullptr)
      copy = std::make_unique<TIcon>();
    else
      copy = std::make_unique<TBitmap>();
    copy->LoadFromBytes(Value->Bytes());
    FGraphic = std::move(copy);
  }
  if (OnChange) OnChange(this);
}

TBitmap* TPicture::Bitmap() {
  if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get())) return bitmap;
  FGraphic = std::make_unique<TBitmap>();
  return static_cast<TBitmap*>(FGraphic.get());
}

std::vector<uint8_t> TPicture::Data() const {
  std::vector<uint8_t> out;
  if (!FGraphic) return out;
  const std::string& name = FGraphic->ClassName();
  out.push_back(static_cast<uint8_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  const auto& bytes = FGraphic->Bytes();
  if (dynamic_cast<const TBitmap*>(FGraphic.get()) != nullptr) {
    // A bitmap's contents are preceded by their length.
    uint32_t size = static_cast<uint32_t>(bytes.size());
    out.insert(out.end(), reinterpret_cast<uint8_t*>(&size), reinterpret_cast<uint8_t*>(&size) + 4);
  }
  out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}

void TPicture::SetData(const std::vector<uint8_t>& Value) {
  if (Value.empty()) {
    FGraphic.reset();
    if (OnChange) OnChange(this);
    return;
  }
  size_t nameLength = Value[0];
  if (Value.size() < 1 + nameLength) throw EInOutError("Picture data is truncated");
  std::string name(Value.begin() + 1, Value.begin() + 1 + static_cast<std::ptrdiff_t>(nameLength));
  std::vector<uint8_t> bytes(Value.begin() + 1 + static_cast<std::ptrdiff_t>(nameLength), Value.end());
  std::unique_ptr<TGraphic> graphic;
  if (SameText(name, "TBitmap")) {
    if (bytes.size() < 4) throw EInOutError("Picture data is truncated");
    uint32_t size;
    std::memcpy(&size, bytes.data(), 4);
    if (size > bytes.size() - 4) throw EInOutError("Picture data is truncated");
    bytes = std::vector<uint8_t>(bytes.begin() + 4, bytes.begin() + 4 + size);
    graphic = std::make_unique<TBitmap>();
  } else if (SameText(name, "TIcon")) {
    graphic = std::make_unique<TIcon>();
  } else {
    throw EInOutError(Format("Unknown picture format %s", name));
  }
  graphic->LoadFromBytes(bytes);
  FGraphic = std::move(graphic);
  if (OnChange) OnChange(this);
}

void TPicture::LoadFromFile(const std::string& FileName) {
  size_t dot = FileName.rfind('.');
  std::string ext = dot == std::string::npos ? std::string() : LowerCase(FileName.substr(dot));
  std::unique_ptr<TGraphic> graphic;
  if (ext == ".bmp")
    graphic = std::make_unique<TBitmap>();
  else if (ext == ".ico")
    graphic = std::make_unique<TIcon>();
  else
    throw EInOutError(Format("Unknown picture file extension (%s)", ext));
  graphic->LoadFromFile(FileName);
  FGraphic = std::move(graphic);
  if (OnChange) OnChange(this);
}

void TPicture::Assign(const TPersistent* Source) {
  if (Source == nullptr) {
    SetGraphic(nullptr);
    return;
  }
  if (const auto* src = dynamic_cast<const TPicture*>(Source)) {
    SetGraphic(src->Graphic());
    return;
  }
  if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
    SetGraphic(graphic);
    return;
  }
  TPersistent::Assign(Source);
}

}  // namespace fw
