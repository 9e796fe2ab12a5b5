#include "OxStringList.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "TextLayout.h"
#include "core/ClassDef.h"

namespace setup {

using namespace fw;

namespace {

int RoundInt(double V) {
  return static_cast<int>(std::nearbyint(V));
}
double Radians(double Degrees) {
  return Degrees * std::numbers::pi / 180.0;
}
TLineAlignment LineAlignment(TAlignment A) {
  return A == taRightJustify ? TLineAlignment::Right : A == taCenter ? TLineAlignment::Center : TLineAlignment::Left;
}
RECT AnchorAt(int X, int Y) {
  return RECT{X, Y, X + 1, Y + 1};
}

}  // namespace

const TClass& ToxStringList::StaticClass() {
  static const TClass cls = TClassDef<ToxStringList>();
  return cls;
}

void ToxStringList::Changed() {
  TStringList::Changed();
  FDirty = true;
}

void ToxStringList::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  FDirty = true;
}

void ToxStringList::Prepare() {
  if (!FDirty) return;
  std::vector<std::string> lines;
  for (int i = 0; i < Count(); ++i) lines.push_back(Get(i));
  if (FShowAccelChar) {
    TAcceleratedLines stripped = StripAccelerators(lines);
    FWork = std::move(stripped.Lines);
    FAccelColumn = stripped.AccelColumn;
    FAccelLine = stripped.AccelLine;
  } else {
    FWork = std::move(lines);
    FAccelColumn = FAccelLine = -1;
  }
  FDirty = false;
}

int ToxStringList::MaxLineHeight(TGdiCanvas& Canvas) {
  Prepare();
  int h = 0;
  for (const std::string& line : FWork) h = std::max(h, Canvas.TextHeight(line));
  return Vertical ? h - 3 : h;
}

int ToxStringList::MaxLineWidth(TGdiCanvas& Canvas) {
  Prepare();
  if (Vertical) return MaxLineLength() * MaxLineHeight(Canvas);
  int w = 0;
  for (const std::string& line : FWork) w = std::max(w, Canvas.TextWidth(line));
  return w;
}

int ToxStringList::MaxLineLength() {
  Prepare();
  size_t n = 0;
  for (const std::string& line : FWork) n = std::max(n, line.size());
  return static_cast<int>(n);
}

SIZE ToxStringList::CalcExtent(TGdiCanvas& Canvas) {
  Prepare();
  if (Radius != 0) {
    RECT bounds{0, 0, 0, 0};
    DrawOnCircle(Canvas, 0, bounds, false, 0);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
  }
  TIntSize size =
      TextBlockExtent(MaxLineWidth(Canvas), MaxLineHeight(Canvas), static_cast<int>(FWork.size()), Angle, Vertical);
  return SIZE{size.Width, size.Height};
}

void ToxStringList::Draw(TGdiCanvas& Canvas, int X, int Y) {
  Prepare();
  if (Radius != 0) {
    RECT bounds{0, 0, 0, 0};
    DrawOnCircle(Canvas, 0, bounds, false, 0);
    DrawOnCircle(Canvas, X - bounds.left, bounds, true, Y - bounds.top);
  } else if (Angle != 0 && Angle != 360) {
    DrawRotated(Canvas, X, Y);
  } else {
    DrawPlain(Canvas, X, Y);
  }
}

void ToxStringList::DrawPlain(TGdiCanvas& Canvas, int X, int Y) {
  const int w = MaxLineWidth(Canvas), h = MaxLineHeight(Canvas);
  for (size_t i = 0; i < FWork.size(); ++i) {
    const std::string& line = FWork[i];
    const bool accelLine = FShowAccelChar && static_cast<int>(i) == FAccelLine;
    const UINT format = DT_NOCLIP | (accelLine ? 0 : DT_NOPREFIX);
    const int lineHeight = Canvas.TextHeight(line);
    if (!Vertical) {
      int o = AlignmentOffset(LineAlignment(Alignment), w, Canvas.TextWidth(line));
      std::string text = accelLine ? MarkAccelerator(line, FAccelColumn) : line;
      DrawText3D(Canvas, AnchorAt(X + o, Y + static_cast<int>(i) * lineHeight), text, 0, format, Effect);
      continue;
    }
    int o = AlignmentOffset(LineAlignment(Alignment), w, static_cast<int>(line.size()) * h);
    for (size_t j = 0; j < line.size(); ++j) {
      std::string ch(1, line[j]);
      int step = Canvas.TextHeight(ch) - 3;
      std::string text = accelLine && static_cast<int>(j) + 1 == FAccelColumn ? MarkAccelerator(ch, 1) : ch;
      DrawText3D(Canvas,
                 AnchorAt(X + lineHeight / 2 + static_cast<int>(i) * lineHeight, Y + o + step * static_cast<int>(j)),
                 text, 0, format | DT_CENTER, Effect);
    }
  }
}

void ToxStringList::DrawRotated(TGdiCanvas& Canvas, int X, int Y) {
  const int w = MaxLineWidth(Canvas), h = MaxLineHeight(Canvas), n = static_cast<int>(FWork.size());
  LOGFONTA base{};
  GetObjectA(Canvas.FontHandle(), sizeof base, &base);
  Canvas.SetFontHandle(CreateRotatedFont(base, Angle));
  const double a = Radians(Angle), sinA = std::sin(a), cosA = std::cos(a);
  // A point (Across, Down) of the unturned block, turned about the block's origin.
  auto place = [&](TIntPoint origin, double across, double down) {
    return AnchorAt(origin.X + RoundInt(sinA * down) + RoundInt(cosA * across),
                    origin.Y + RoundInt(cosA * down) - RoundInt(sinA * across));
  };
  const UINT format = DT_NOPREFIX | DT_NOCLIP;
  if (!Vertical) {
    TIntPoint origin = RotatedOrigin(X, Y, w, h, n, Angle);
    for (int i = 0; i < n; ++i) {
      const std::string& line = FWork[static_cast<size_t>(i)];
      int o = AlignmentOffset(LineAlignment(Alignment), w, Canvas.TextWidth(line));
      DrawText3D(Canvas, place(origin, o, static_cast<double>(h) * i), line, 0, format, Effect);
    }
    return;
  }
  // Column layout: lines are columns H + 3 wide side by side, characters H apart down them.
  const int pitch = h + 3;
  TIntPoint origin = RotatedOrigin(X, Y, n * pitch, w + 3, 1, Angle);
  for (int i = 0; i < n; ++i) {
    const std::string& line = FWork[static_cast<size_t>(i)];
    int o = AlignmentOffset(LineAlignment(Alignment), w, static_cast<int>(line.size()) * h);
    for (size_t j = 0; j < line.size(); ++j) {
      std::string ch(1, line[j]);
      double across = i * pitch + (pitch - Canvas.TextWidth(ch)) / 2.0;
      DrawText3D(Canvas, place(origin, across, o + static_cast<double>(h) * static_cast<double>(j)), ch, 0, format,
                 Effect);
    }
  }
}

void ToxStringList::DrawOnCircle(TGdiCanvas& Canvas, int X, RECT& Bounds, bool DoDraw, int Y) {
  Prepare();
  const int h = MaxLineHeight(Canvas);
  const int n = static_cast<int>(FWork.size());
  const int radius = std::abs(Radius);
  const double cx = X + radius, cy = Y + radius;
  LOGFONTA base{};
  GetObjectA(Canvas.FontHandle(), sizeof base, &base);
  RECT bounds{0, 0, 0, 0};

  struct TRing {
    int Line;
    bool Lower;
    int R;
  };
  std::vector<TRing> rings;
  if (FullCircle) {
    int upperLast = (n - 1) / 2;
    for (int i = 0, r = radius; i <= upperLast && i < n; ++i, r -= h) rings.push_back({i, false, r});
    for (int i = n - 1, r = radius; i > upperLast; --i, r -= h) rings.push_back({i, true, r});
  } else if (Radius < 0) {
    for (int i = n - 1, r = radius; i >= 0; --i, r -= h) rings.push_back({i, true, r});
  } else {
    for (int i = 0, r = radius; i < n; ++i, r -= h) rings.push_back({i, false, r});
  }

  for (const TRing& ring : rings) {
    const std::string& line = FWork[static_cast<size_t>(ring.Line)];
    if (line.empty()) continue;
    double start = ring.Lower ? (Vertical ? 90 - Angle : 180 - Angle) : (Vertical ? 270 - Angle : 360 - Angle);
    // Characters in drawing order: left to right on the upper half, right to left below.
    std::string chars = line;
    if (ring.Lower) std::reverse(chars.begin(), chars.end());
    std::vector<int> widths;
    for (char c : chars) widths.push_back(Canvas.TextWidth(std::string(1, c)));
    double sweep = Vertical ? ArcDegrees(static_cast<double>(chars.size() - 1) * h, ring.R)
                            : ArcDegrees(Canvas.TextWidth(line) - (widths.front() + widths.back()) / 2.0, ring.R - h);
    if (Alignment == taCenter)
      start -= sweep / 2;
    else if ((Alignment == taRightJustify) != (Vertical != ring.Lower))
      start -= sweep;

    double t = 0;
    for (size_t k = 0; k < chars.size(); ++k) {
      const double theta = start + t;
      const double px = cx + ring.R * std::cos(Radians(theta - 90)), py = cy + ring.R * std::sin(Radians(theta - 90));
      double escapement = ring.Lower ? (Vertical ? 90 - theta : 180 - theta) : (Vertical ? 270 - theta : -theta);
      int angle = RoundInt(escapement);
      angle = ((angle % 360) + 360) % 360;
      const double e = Radians(angle);
      const double rightX = std::cos(e), rightY = -std::sin(e), downX = std::sin(e), downY = std::cos(e);
      const int w = widths[k];
      const double cornerX = px - rightX * w / 2.0, cornerY = py - rightY * w / 2.0;
      auto pt = [](double x, double y) { return POINT{RoundInt(x), RoundInt(y)}; };
      ExtendRectToPoints(bounds, {pt(cornerX, cornerY), pt(cornerX + downX * h, cornerY + downY * h),
                                  pt(cornerX + rightX * w, cornerY + rightY * w),
                                  pt(cornerX + rightX * w + downX * h, cornerY + rightY * w + downY * h)});
      if (DoDraw) {
        Canvas.SetFontHandle(CreateRotatedFont(base, angle));
        DrawText3D(Canvas, AnchorAt(RoundInt(cornerX), RoundInt(cornerY)), std::string(1, chars[k]), 0,
                   DT_NOPREFIX | DT_NOCLIP, Effect);
      }
      if (Vertical) {
        t += ArcDegrees(h, ring.R);
      } else {
        int next = k + 1 < chars.size() ? widths[k + 1] : 0;
        t += ArcDegrees((w + next) / 2, ring.R - h);
      }
    }
  }
  Canvas.SetFontHandle(CreateRotatedFont(base, 0));
  Bounds = bounds;
}

// --- TCaptionStrings --------------------------------------------------------

const TClass& TCaptionStrings::StaticClass() {
  static const TClass cls = TClassDef<TCaptionStrings>();
  return cls;
}

std::vector<std::string> TCaptionStrings::Read() const {
  std::string text = FControl->Caption().substr(0, kMaxText);
  PipesToLineBreaks(text);
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  size_t from = 0;
  for (;;) {
    size_t at = text.find("\r\n", from);
    lines.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
    if (at == std::string::npos) break;
    from = at + 2;
  }
  return lines;
}

void TCaptionStrings::Write(const std::vector<std::string>& Lines) {
  std::string text;
  for (size_t i = 0; i < Lines.size(); ++i) text += (i ? "\r\n" : "") + Lines[i];
  LineBreaksToPipes(text);
  if (text.size() > kMaxText) text.resize(kMaxText);
  FControl->SetCaption(text);
}

int TCaptionStrings::Count() const {
  return static_cast<int>(Read().size());
}

std::string TCaptionStrings::Get(int Index) const {
  auto lines = Read();
  if (Index < 0 || Index >= static_cast<int>(lines.size()))
    throw EStringListError(Format("List index out of bounds (%d)", Index));
  return lines[static_cast<size_t>(Index)];
}

void TCaptionStrings::Put(int Index, const std::string& S) {
  auto lines = Read();
  if (Index < 0 || Index >= static_cast<int>(lines.size()))
    throw EStringListError(Format("List index out of bounds (%d)", Index));
  lines[static_cast<size_t>(Index)] = S;
  Write(lines);
}

void TCaptionStrings::Insert(int Index, const std::string& S) {
  auto lines = Read();
  if (Index < 0 || Index > static_cast<int>(lines.size()))
    throw EStringListError(Format("List index out of bounds (%d)", Index));
  lines.insert(lines.begin() + Index, S);
  Write(lines);
}

void TCaptionStrings::Delete(int Index) {
  auto lines = Read();
  if (Index < 0 || Index >= static_cast<int>(lines.size()))
    throw EStringListError(Format("List index out of bounds (%d)", Index));
  lines.erase(lines.begin() + Index);
  Write(lines);
}

void TCaptionStrings::Clear() {
  FControl->SetCaption("");
}

}  // namespace setup
