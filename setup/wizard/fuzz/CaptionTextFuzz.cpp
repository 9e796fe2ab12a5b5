// Captions come from form resources and language tables: their "||" line breaks,
// accelerator marks and ellipses must hold for any bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "wizard/TextLayout.h"

using namespace setup;

namespace {

void Require(bool Condition) {
  if (!Condition) __builtin_trap();
}

std::vector<std::string> SplitLines(const std::string& Text) {
  std::vector<std::string> lines(1);
  for (char c : Text) {
    if (c == '\n')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string text(reinterpret_cast<const char*>(Data), Size);

  // "||" and CR LF turn into each other; a text without CR and without a final "||"
  // comes back as it was.
  std::string broken = text;
  int lines = PipesToLineBreaks(broken);
  Require(lines >= (text.empty() ? 0 : 1));
  std::string back = broken;
  LineBreaksToPipes(back);
  bool plain =
      text.find('\r') == std::string::npos && !(text.size() >= 2 && text.compare(text.size() - 2, 2, "||") == 0);
  if (plain) Require(back == text);

  // Marking a character and stripping the marks again gives the line and the column back.
  TAcceleratedLines stripped = StripAccelerators(SplitLines(text));
  for (const std::string& line : stripped.Lines) {
    for (size_t column = 1; column <= line.size() && column <= 8; ++column) {
      if (line[column - 1] == '&') continue;
      TAcceleratedLines again = StripAccelerators({MarkAccelerator(line, static_cast<int>(column))});
      Require(again.Lines.size() == 1 && again.Lines[0] == line);
      Require(again.AccelColumn == static_cast<int>(column) && again.AccelLine == 0);
    }
  }

  // An ellipsis fits its width unless not even "..." does; a fitting text stays whole.
  auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
  for (int maxWidth : {0, 7, 21, 30, 100}) {
    std::string fitted = FitWithEllipsis(text, maxWidth, width);
    if (maxWidth <= 0 || width(text) <= maxWidth)
      Require(fitted == text);
    else
      Require(fitted == "..." ||
              (width(fitted) <= maxWidth && fitted.size() >= 3 && fitted.compare(fitted.size() - 3, 3, "...") == 0 &&
               text.compare(0, fitted.size() - 3, fitted, 0, fitted.size() - 3) == 0));
  }
  return 0;
}
