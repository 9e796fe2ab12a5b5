#include "ScrListRules.h"

#include <array>

#include "core/SysUtils.h"

namespace toolpage {

namespace {

const char kDelayFormat[] = "%s Sec.";

constexpr std::array<TLineKindLook, 5> kLooks{{
    {21, -1, false, false, ""},                      // no kind: as text
    {21, -1, false, false, ""},                      // text
    {2, 0, true, false, "Insert screen name here"},  // screen name
    {21, 1, false, false, "1"},                      // delay in seconds
    {40, 2, false, true, "Enter"},                   // key name
}};

bool AllDigits(const std::string& Text) {
  if (Text.empty()) return false;
  for (char c : Text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

bool FitsScriptLine(uint8_t Kind, const std::string& Text) {
  // A CR ends the line, Ctrl-Z the file; a zero byte first in the file marks it encoded.
  const char* refused = "\r\x1A";
  switch (Kind) {
    case skScreen:
      refused = "\r\x1A;";  // a name ends at ";"
      break;
    case skKey:
      // A key name ends at ";" and must not read as a delay, a screen or a text line.
      if (!Text.empty() && ((Text[0] >= '0' && Text[0] <= '9') || Text[0] == '@' || Text[0] == '\\'))
        return false;
      refused = "\r\x1A;";
      break;
    case skDelay:
      return AllDigits(Text) && Text.size() <= 255;
    default:
      break;
  }
  if (Text.find('\0') != std::string::npos) return false;
  return Text.find_first_of(refused) == std::string::npos;
}

const TLineKindLook& LineKindLook(uint8_t Kind) {
  return Kind < kLooks.size() ? kLooks[Kind] : kLooks[skText];
}

std::string LineDisplayText(const TSCItem& Item) {
  if (Item.Kind == skDelay) return fw::Format(kDelayFormat, Item.Text);
  return Item.Text;
}

int InsertPosition(int Count, int Index, bool Before) {
  if (Count <= 0) return 0;
  if (Index < 0 || Index >= Count) return -1;
  return Before ? Index : Index + 1;
}

int DropPosition(int ItemCount, int Dragged, int DropLine) {
  if (Dragged < 0 || Dragged >= ItemCount || DropLine < 0 || DropLine > ItemCount) return -1;
  if (DropLine == ItemCount) return ItemCount - 1;
  return Dragged < DropLine ? DropLine - 1 : DropLine;
}

std::optional<std::string> CommittedText(uint8_t Kind, const std::string& EditorText) {
  if (Kind != skDelay) {
    if (!FitsScriptLine(Kind, EditorText)) return std::nullopt;
    return EditorText;
  }
  std::string text = fw::Trim(EditorText);
  if (!AllDigits(text) || text.size() > 6) return std::nullopt;
  int32_t seconds = std::stoi(text);
  if (seconds < kMinDelay || seconds > kMaxDelay) return std::nullopt;
  return std::to_string(seconds);
}

int ScrollLimit(int RangeMax, unsigned Page, int RangeMin) {
  int64_t limit = static_cast<int64_t>(RangeMax) - (Page > 0 ? static_cast<int64_t>(Page) - 1 : 0);
  return limit < RangeMin ? RangeMin : static_cast<int>(limit);
}

uint8_t AutoScrollDirections(int X, int Y, int Margin, int Width, int Height, const TScrollRange& Horizontal,
                             const TScrollRange& Vertical) {
  uint8_t directions = 0;
  if (X < Margin && Horizontal.Pos > Horizontal.Min) directions |= asLeft;
  if (X > Width - Margin && Horizontal.Pos < Horizontal.Max) directions |= asRight;
  if (Y < Margin && Vertical.Pos > Vertical.Min) directions |= asUp;
  if (Y > Height - Margin && Vertical.Pos < Vertical.Max) directions |= asDown;
  return directions;
}

int NextAutoScrollInterval(int& Counter, int Interval) {
  int c = Counter;
  Counter = c + 8;
  return c + 8 < 100 ? 92 - c : Interval;
}

std::string FindCompletion(const fw::TStrings& Items, const std::string& Prefix) {
  if (Prefix.empty()) return {};
  for (int i = 0; i < Items.Count(); ++i) {
    std::string item = Items.Get(i);
    if (item.size() >= Prefix.size() && fw::UpperCase(item).compare(0, Prefix.size(), Prefix) == 0)
      return item.substr(Prefix.size());
  }
  return {};
}

bool CompletionWanted(bool Complete, bool Editable, uint16_t LastKey, size_t TextLength, uint16_t MinLength) {
  return Complete && Editable && LastKey != 8 && LastKey != 46 && TextLength >= MinLength;
}

}  // namespace toolpage
