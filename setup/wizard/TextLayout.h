// The measuring and line logic of title texts, without Windows: "||" line breaks,
// accelerator marks, ellipses, the extent of a (rotated) text block and bounding
// rectangles of points.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace setup {

// Every "||" becomes CR LF, in place; returns the number of lines.
int PipesToLineBreaks(std::string& Text);
// Every CR LF becomes "||", in place; a CR LF at the very end ends the text.
void LineBreaksToPipes(std::string& Text);

// Lines with their accelerator marks removed: each "&" goes and the character after it
// stays as it is; the last marked character that is not "&" is the accelerator.
struct TAcceleratedLines {
  std::vector<std::string> Lines;
  int AccelColumn = -1;  // 1-based column in its line, -1 when none
  int AccelLine = -1;
};
TAcceleratedLines StripAccelerators(const std::vector<std::string>& Lines);
// A line as DrawText shows it with the accelerator underlined: every "&" doubled and
// an "&" before the accelerator character (1-based Column).
std::string MarkAccelerator(const std::string& Line, int Column);

// Text when it fits MaxWidth (or MaxWidth <= 0); else as many leading characters as fit
// with "..." after them, "..." alone when none do.
std::string FitWithEllipsis(const std::string& Text, int MaxWidth, const std::function<int(const std::string&)>& Width);

struct TIntPoint {
  int X;
  int Y;
};
struct TIntRect {
  int Left;
  int Top;
  int Right;
  int Bottom;
  bool Empty() const { return Right <= Left || Bottom <= Top; }
};
// Grows Rect to hold every point; an empty Rect first becomes the first point.
void ExtendRectToPoints(TIntRect& Rect, const std::vector<TIntPoint>& Points);

struct TIntSize {
  int Width;
  int Height;
};
// The size of a block of LineCount lines, the widest LineWidth and each LineHeight
// high, turned by Angle degrees; Vertical: the column layout (lines side by side).
TIntSize TextBlockExtent(int LineWidth, int LineHeight, int LineCount, int Angle, bool Vertical);

// Where a rotated block starts drawing so that it stays right of and below (X, Y).
TIntPoint RotatedOrigin(int X, int Y, int LineWidth, int LineHeight, int LineCount, int Angle);

enum class TLineAlignment { Left, Right, Center };
// The offset of a line of Extent within a block Width wide.
int AlignmentOffset(TLineAlignment Alignment, int Width, int Extent);

// Degrees of arc that Pixels take on a circle of Radius; a radius of 0 or less counts
// as 1 pixel, so no layout divides by zero.
double ArcDegrees(double Pixels, int Radius);

}  // namespace setup
