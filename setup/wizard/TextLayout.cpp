#include "TextLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace setup {

int PipesToLineBreaks(std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  int lines = Text.empty() ? 0 : 1;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '|' && i + 1 < Text.size() && Text[i + 1] == '|') {
      out += "\r\n";
      ++lines;
      ++i;
    } else {
      out += Text[i];
    }
  }
  Text = std::move(out);
  return lines;
}

void LineBreaksToPipes(std::string& Text) {
  if (Text.size() >= 2 && Text.compare(Text.size() - 2, 2, "\r\n") == 0) Text.resize(Text.size() - 2);
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') {
      out += "||";
      ++i;
    } else {
      out += Text[i];
    }
  }
  Text = std::move(out);
}

TAcceleratedLines StripAccelerators(const std::vector<std::string>& Lines) {
  TAcceleratedLines result;
  for (size_t line = 0; line < Lines.size(); ++line) {
    const std::string& source = Lines[line];
    std::string stripped;
    for (size_t i = 0; i < source.size(); ++i) {
      if (source[i] != '&') {
        stripped += source[i];
        continue;
      }
      if (i + 1 >= source.size()) break;  // a final "&" marks nothing
      char next = source[++i];
      stripped += next;
      if (next != '&') {
        result.AccelColumn = static_cast<int>(stripped.size());
        result.AccelLine = static_cast<int>(line);
      }
    }
    result.Lines.push_back(std::move(stripped));
  }
  return result;
}

std::string MarkAccelerator(const std::string& Line, int Column) {
  std::string out;
  for (size_t i = 0; i < Line.size(); ++i) {
    if (static_cast<int>(i) + 1 == Column) out += '&';
    if (Line[i] == '&')
      out += "&&";
    else
      out += Line[i];
  }
  return out;
}

std::string FitWithEllipsis(const std::string& Text, int MaxWidth,
                            const std::function<int(const std::string&)>& Width) {
  if (MaxWidth <= 0 || Width(Text) <= MaxWidth) return Text;
  std::string head = Text;
  while (!head.empty()) {
    head.pop_back();
    if (Width(head + "...") <= MaxWidth) break;
  }
  return head + "...";
}

void ExtendRectToPoints(TIntRect& Rect, const std::vector<TIntPoint>& Points) {
  if (Points.empty()) return;
  if (Rect.Empty()) Rect = {Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
  for (const TIntPoint& p : Points) {
    Rect.Left = std::min(Rect.Left, p.X);
    Rect.Top = std::min(Rect.Top, p.Y);
    Rect.Right = std::max(Rect.Right, p.X);
    Rect.Bottom = std::max(Rect.Bottom, p.Y);
  }
}

namespace {
double Radians(int Angle) {
  return Angle * std::numbers::pi / 180.0;
}
int RoundInt(double V) {
  return static_cast<int>(std::nearbyint(V));
}
}  // namespace

TIntSize TextBlockExtent(int LineWidth, int LineHeight, int LineCount, int Angle, bool Vertical) {
  if (Angle == 0 || Angle == 360) {
    if (Vertical) return {LineCount * (LineHeight + 3), LineWidth + 3};
    return {LineWidth, LineCount * LineHeight};
  }
  double a = Radians(Angle);
  double w = LineWidth + (Vertical ? 3 : 0), h = LineHeight + (Vertical ? 3 : 0);
  int width = RoundInt(std::fabs(std::cos(a) * w) + std::fabs(std::sin(a) * LineCount * h));
  int height = RoundInt(std::fabs(std::sin(a) * w) + std::fabs(std::cos(a) * LineCount * h));
  if (Vertical) return {height, width};
  return {width, height};
}

TIntPoint RotatedOrigin(int X, int Y, int LineWidth, int LineHeight, int LineCount, int Angle) {
  double a = Radians(Angle);
  double w = LineWidth, nh = static_cast<double>(LineCount) * LineHeight;
  int d = RoundInt(std::fabs(std::cos(a) * w) + std::fabs(std::sin(a) * nh));
  int e = RoundInt(std::fabs(std::sin(a) * w) + std::fabs(std::cos(a) * nh));
  if (Angle <= 90) {
    Y += std::abs(RoundInt(std::sin(a) * w));
  } else if (Angle <= 180) {
    X += std::abs(RoundInt(std::cos(a) * w));
    Y += e;
  } else if (Angle <= 270) {
    X += d;
    Y += std::abs(RoundInt(std::cos(a) * nh));
  } else {
    X += std::abs(RoundInt(std::sin(a) * nh));
  }
  return {X, Y};
}

int AlignmentOffset(TLineAlignment Alignment, int Width, int Extent) {
  switch (Alignment) {
    case TLineAlignment::Right:
      return Width - Extent;
    case TLineAlignment::Center:
      return (Width - Extent) / 2;
    case TLineAlignment::Left:
      break;
  }
  return 0;
}

double ArcDegrees(double Pixels, int Radius) {
  return Pixels * 360.0 / (2.0 * std::numbers::pi * std::max(Radius, 1));
}

}  // namespace setup
