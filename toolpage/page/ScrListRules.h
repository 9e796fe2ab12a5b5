// The rules of the script line editor that need no window: how each kind of line looks,
// where inserted and dragged lines go, which edited values are taken, when the list
// scrolls by itself during a drag and how fast, and the combo boxes' completion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ScriptFormat.h"
#include "core/Strings.h"

namespace toolpage {

// How a line of a kind is shown and what a new one holds.
struct TLineKindLook {
  int Indent;               // pixels from the left edge to the icon
  int Icon;                 // index in the list's images, -1 for none
  bool Bold;                // screen names stand out
  bool Blue;                // key names, unless the line is selected
  const char* DefaultText;  // the text of a new line
};
// An unknown kind looks like a text line.
const TLineKindLook& LineKindLook(uint8_t Kind);

// The text drawn for a line: a delay as "<seconds> Sec.", the others as they are.
std::string LineDisplayText(const TSCItem& Item);

// Where a line inserted at Index (before it or after it) goes in a list of Count lines;
// -1 when Index is no line (an empty list takes the line at 0 either way).
int InsertPosition(int Count, int Index, bool Before);

// Where the line Dragged of ItemCount lines goes when dropped on line DropLine (ItemCount:
// the "." line after the last): before the line it was dropped on, or last; -1 when the
// drop moves nothing (no dragged line, or dropped outside the lines).
int DropPosition(int ItemCount, int Dragged, int DropLine);

// Whether a line of Kind with Text survives being written and read back: no CR, Ctrl-Z
// or zero byte; no ";" in a screen or key name; a key name that reads as no other kind.
bool FitsScriptLine(uint8_t Kind, const std::string& Text);
// The text an in-place editor's value gives the line, or nothing when the value is not
// valid for the kind (a delay is a whole number of seconds, 1 to 86400) or would not
// survive a save and reload.
constexpr int32_t kMinDelay = 1;
constexpr int32_t kMaxDelay = 86400;
std::optional<std::string> CommittedText(uint8_t Kind, const std::string& EditorText);

// Automatic scrolling while a line is dragged near an edge.
enum TAutoScrollDirection : uint8_t { asLeft = 1, asUp = 2, asRight = 4, asDown = 8 };
struct TScrollRange {
  int Min = 0;
  int Max = 0;  // the last position a scroll bar can show (its range's end minus the page)
  int Pos = 0;
};
// The last position a scroll bar can reach: its range's end minus its page plus one.
int ScrollLimit(int RangeMax, unsigned Page, int RangeMin);
// The directions to scroll with the mouse at (X, Y) in a client area of Width x Height,
// Margin pixels from its edges counting as "near".
uint8_t AutoScrollDirections(int X, int Y, int Margin, int Width, int Height, const TScrollRange& Horizontal,
                             const TScrollRange& Vertical);
// The scroll timer: it starts at 100 ms and runs faster with every tick (92, 84, ... 4 ms).
constexpr int kAutoScrollFirstInterval = 100;
// One tick: counts it and returns the interval for the next one.
int NextAutoScrollInterval(int& Counter, int Interval);

// Completion: the rest of the first item (in list order) whose text starts with Prefix
// (upper case), in the item's own letter case; empty when none does or Prefix is empty.
std::string FindCompletion(const fw::TStrings& Items, const std::string& Prefix);
// Whether typed text is completed: completion on, an editable box, the last key not one
// that deletes (Backspace 8, Delete 46), and the text at least MinLength long.
bool CompletionWanted(bool Complete, bool Editable, uint16_t LastKey, size_t TextLength, uint16_t MinLength);

}  // namespace toolpage
