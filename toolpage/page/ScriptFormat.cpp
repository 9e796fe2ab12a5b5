#include "ScriptFormat.h"

#include "core/SysUtils.h"

namespace toolpage {

namespace {

constexpr int LineFeed = 10;
constexpr int CtrlZ = 26;
constexpr size_t MaxDelayDigits = 255;
// NextToken's answer for the end of a line (no item kind).
constexpr uint8_t TokLineEnd = 5;

const std::array<const char*, KeyNameCount> gKeyNames = {
    "Enter",   "Esc",     "Backspace", "Tab",     "F1",      "F2",       "F3",       "F4",      "F5",
    "F6",      "F7",      "F8",        "F9",      "F10",     "Ctrl-F1",  "Ctrl-F2",  "Ctrl-F3", "Ctrl-F4",
    "Ctrl-F5", "Ctrl-F6", "Ctrl-F7",   "Ctrl-F8", "Ctrl-F9", "Ctrl-F10", "Shft-F1",  "Shft-F2", "Shft-F3",
    "Shft-F4", "Shft-F5", "Shft-F6",   "Shft-F7", "Shft-F8", "Shft-F9",  "Shft-F10", "Alt-F1",  "Alt-F2",
    "Alt-F3",  "Alt-F4",  "Alt-F5",    "Alt-F6",  "Alt-F7",  "Alt-F8",   "Alt-F9",   "Alt-F10", "Ins",
    "Del",     "Home",    "Left",      "Right",   "Down",    "PgUp",     "PgDn"};

bool IsDigit(int C) {
  return C >= '0' && C <= '9';
}

}  // namespace

const std::array<const char*, KeyNameCount>& KeyNames() {
  return gKeyNames;
}

// ---- TSCList ----

void TSCList::CheckIndex(int Index, bool AllowEnd) const {
  if (Index < 0 || Index > Count() || (!AllowEnd && Index == Count()))
    throw fw::EListError(fw::Format("List index out of bounds (%d)", Index));
}

TSCItem& TSCList::Items(int Index) {
  CheckIndex(Index, false);
  return *FItems[static_cast<size_t>(Index)];
}

const TSCItem& TSCList::Items(int Index) const {
  CheckIndex(Index, false);
  return *FItems[static_cast<size_t>(Index)];
}

int TSCList::Add(uint8_t Kind, const std::string& Text) {
  FItems.push_back(std::make_unique<TSCItem>(Kind, Text));
  return Count() - 1;
}

void TSCList::Insert(int Index, uint8_t Kind, const std::string& Text) {
  CheckIndex(Index, true);
  FItems.insert(FItems.begin() + Index, std::make_unique<TSCItem>(Kind, Text));
}

void TSCList::Delete(int Index) {
  CheckIndex(Index, false);
  FItems.erase(FItems.begin() + Index);
}

void TSCList::Move(int CurIndex, int NewIndex) {
  CheckIndex(CurIndex, false);
  CheckIndex(NewIndex, false);
  std::unique_ptr<TSCItem> item = std::move(FItems[static_cast<size_t>(CurIndex)]);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, std::move(item));
}

void TSCList::Clear() {
  FItems.clear();
}

std::vector<TSCItem> TSCList::Snapshot() const {
  std::vector<TSCItem> items;
  items.reserve(FItems.size());
  for (const auto& item : FItems) items.push_back(*item);
  return items;
}

void TSCList::LoadFromStream(fw::TStream& Stream) {
  Clear();
  TParserStream parser(Stream);
  TSCItem item;
  while (parser.NextItem(item)) Add(item.Kind, item.Text);
}

void TSCList::SaveToStream(fw::TStream& Stream) const {
  std::string data;
  for (const auto& item : FItems) data += ScriptLine(*item) + "\r\n";
  Stream.WriteBuffer(data.data(), data.size());
}

// ---- writer ----

std::string EscapeBackslashes(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  for (char c : Text) {
    out += c;
    if (c == '\\') out += '\\';
  }
  return out;
}

std::string ScriptLine(const TSCItem& Item) {
  switch (Item.Kind) {
    case skScreen:
      return "\\@" + Item.Text;
    case skDelay:
    case skKey:
      return "\\" + Item.Text;
    default:
      return EscapeBackslashes(Item.Text);
  }
}

// ---- reader ----

int TParserStream::ReadByte() {
  if (FHeldByte >= 0) {
    int b = FHeldByte;
    FHeldByte = -1;
    return b;
  }
  uint8_t b = 0;
  return FSource.Read(&b, 1) == 1 ? b : -1;
}

int TParserStream::NextChar() {
  if (FPushedCount > 0) return FPushed[--FPushedCount];
  if (FAtEnd) return EndMark;
  int b = ReadByte();
  if (b < 0 || b == CtrlZ) {
    FAtEnd = true;
    return EndMark;
  }
  if (b == CR) {
    // Only the line feed of a CR LF pair belongs to the line end.
    int next = ReadByte();
    if (next >= 0 && next != LineFeed) FHeldByte = next;
  }
  return b;
}

void TParserStream::PushBack(int C) {
  if (FPushedCount < 2) FPushed[FPushedCount++] = C;
}

// Up to the end of the line, a ";" or the end of the data; the terminator is consumed.
void TParserStream::ReadName(std::string& Text) {
  for (;;) {
    int c = NextChar();
    if (c == EndMark || c == CR) return;
    if (c == ';') {
      FMidLine = true;
      return;
    }
    Text += static_cast<char>(c);
  }
}

// Up to the first non-digit, which is consumed; at most MaxDelayDigits digits.
void TParserStream::ReadDigits(std::string& Text) {
  while (Text.size() < MaxDelayDigits) {
    int c = NextChar();
    if (IsDigit(c)) {
      Text += static_cast<char>(c);
      continue;
    }
    if (c != EndMark && c != CR) FMidLine = true;
    return;
  }
  FMidLine = true;
}

// Up to the end of the line, the end of the data or a single backslash; "\\" gives one
// backslash, and so does a backslash that ends the line. The terminator is pushed back.
void TParserStream::ReadText(std::string& Text) {
  for (;;) {
    int c = NextChar();
    if (c == EndMark || c == CR) {
      PushBack(c);
      return;
    }
    if (c != '\\') {
      Text += static_cast<char>(c);
      continue;
    }
    int d = NextChar();
    if (d == '\\') {
      Text += '\\';
    } else if (d == EndMark || d == CR) {
      Text += '\\';
      PushBack(d);
    } else {
      PushBack(d);
      PushBack('\\');
      return;
    }
  }
}

uint8_t TParserStream::NextToken(std::string& Text) {
  Text.clear();
  FMidLine = false;
  int c = NextChar();
  if (c == EndMark) return skNone;
  if (c == CR) return TokLineEnd;
  if (c != '\\') {
    Text += static_cast<char>(c);
    ReadText(Text);
    return skText;
  }
  int d = NextChar();
  if (d == '@') {
    ReadName(Text);
    return skScreen;
  }
  if (IsDigit(d)) {
    Text += static_cast<char>(d);
    ReadDigits(Text);
    return skDelay;
  }
  if (d == '\\') {
    Text += '\\';
    ReadText(Text);
    return skText;
  }
  if (d == EndMark || d == CR) {
    // A backslash alone at the end of a line is typed as it stands.
    Text += '\\';
    PushBack(d);
    return skText;
  }
  Text += static_cast<char>(d);
  ReadName(Text);
  return skKey;
}

bool TParserStream::NextItem(TSCItem& Item) {
  if (FHasPending) {
    FHasPending = false;
    Item = FPending;
    return true;
  }
  std::string text;
  bool haveText = false;
  std::string token;
  for (;;) {
    bool midLine = FMidLine;
    uint8_t kind = NextToken(token);
    if (kind == skText) {
      text += token;
      haveText = true;
      continue;
    }
    if (kind == TokLineEnd) {
      // The end of a line that held a text, or of one whose item ended at a ";" or
      // after its digits, gives no item of its own; any other line end is an empty line.
      if (!haveText && midLine) continue;
      Item = TSCItem(skText, text);
      return true;
    }
    if (kind == skNone) {
      if (!haveText) return false;
      Item = TSCItem(skText, text);
      return true;
    }
    if (!haveText) {
      Item = TSCItem(kind, token);
      return true;
    }
    FPending = TSCItem(kind, token);
    FHasPending = true;
    Item = TSCItem(skText, text);
    return true;
  }
}

}  // namespace toolpage
