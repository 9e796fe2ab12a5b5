// Console keyboard scripts (".OKS"): the lines the server's scripting module replays, in
// memory and as bytes. Portable: the reader and writer work on any stream.
//
// A file is a sequence of CR LF lines; Ctrl-Z or the end of the data ends it.
//   "\@" + name      switch to the console screen of that name
//   "\" + digits     wait that many seconds
//   "\" + key name   press that key
//   any other text   type it ("\\" stands for one backslash)
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Streams.h"

namespace toolpage {

enum TSCKind : uint8_t { skNone = 0, skText = 1, skScreen = 2, skDelay = 3, skKey = 4 };

// The key names the server module knows, in the order of its table (no up arrow, no End).
constexpr size_t KeyNameCount = 52;
const std::array<const char*, KeyNameCount>& KeyNames();

// One line of a script: the text to type, the screen name, the seconds as digits or the key name.
class TSCItem {
 public:
  TSCItem() = default;
  TSCItem(uint8_t AKind, std::string AText) : Kind(AKind), Text(std::move(AText)) {}
  bool operator==(const TSCItem&) const = default;

  uint8_t Kind = skText;
  std::string Text;
};

// The items of one script, owned by the list.
class TSCList {
 public:
  TSCList() = default;
  TSCList(const TSCList&) = delete;
  TSCList& operator=(const TSCList&) = delete;
  virtual ~TSCList() = default;

  int Count() const { return static_cast<int>(FItems.size()); }
  TSCItem& Items(int Index);
  const TSCItem& Items(int Index) const;
  int Add(uint8_t Kind, const std::string& Text);
  void Insert(int Index, uint8_t Kind, const std::string& Text);
  void Delete(int Index);
  void Move(int CurIndex, int NewIndex);
  // Frees every item, then empties the list.
  virtual void Clear();
  std::vector<TSCItem> Snapshot() const;

  // Clears the list, then reads items until the data ends.
  void LoadFromStream(fw::TStream& Stream);
  // Every item as one CR LF line.
  void SaveToStream(fw::TStream& Stream) const;

  // The script Name in the server's "SYS:SYSTEM" directory, reached through its UNC path
  // on the connection reference ConnRef (Windows only, ScriptFiles.cpp). Loading clears
  // the list first; a missing file raises fw::EFOpenError, a failed write fw::EStreamError.
  void LoadFromServer(uint32_t ConnRef, const std::string& Name);
  void SaveToServer(uint32_t ConnRef, const std::string& Name) const;

 private:
  void CheckIndex(int Index, bool AllowEnd) const;
  std::vector<std::unique_ptr<TSCItem>> FItems;
};

// Every backslash doubled.
std::string EscapeBackslashes(const std::string& Text);
// The line that stands for Item in a file, without its CR LF.
std::string ScriptLine(const TSCItem& Item);

// The reader: characters with a two-place push-back (last in, first out) and one item
// kept back for the next call.
class TParserStream {
 public:
  explicit TParserStream(fw::TStream& Source) : FSource(Source) {}

  // False when no items remain.
  bool NextItem(TSCItem& Item);

 private:
  static constexpr int EndMark = -1;
  static constexpr int CR = 13;

  int ReadByte();
  int NextChar();
  void PushBack(int C);
  uint8_t NextToken(std::string& Text);
  void ReadName(std::string& Text);
  void ReadDigits(std::string& Text);
  void ReadText(std::string& Text);

  fw::TStream& FSource;
  int FPushed[2] = {0, 0};
  int FPushedCount = 0;
  int FHeldByte = -1;  // the byte after a CR that was not its LF
  bool FAtEnd = false;
  bool FMidLine = false;  // the last name or delay ended before the end of its line
  bool FHasPending = false;
  TSCItem FPending;
};

}  // namespace toolpage
