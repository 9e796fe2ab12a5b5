// The entries of a language table and the parser that reads them from the table's
// raw lines:
//
//   * a comment                 (skipped, also inside a memo; so are empty lines)
//   9;Welcome                   one-line entry: GLID ";" text [";" anything]
//   #7;                         opens memo 7 ...
//   first line                  ... whose lines are stored trimmed ...
//   #                           ... until a line holding "#" alone
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/Strings.h"

namespace setup {

class TLanguage;

class TLanguageElement : public fw::TObject {
 public:
  TLanguageElement(TLanguage* Language, int GLID, int LineIndex)
      : FLanguage(Language), FGLID(GLID), FLineIndex(LineIndex) {}

  TLanguage* Language() const { return FLanguage; }
  int GLID() const { return FGLID; }
  // The index of the entry's first raw line.
  int LineIndex() const { return FLineIndex; }

 private:
  TLanguage* FLanguage;
  int FGLID;
  int FLineIndex;
};

// A one-line entry.
class TLanguageString : public TLanguageElement {
 public:
  static constexpr size_t kMaxText = 255;
  // The text is cut to kMaxText characters.
  TLanguageString(TLanguage* Language, int GLID, int LineIndex, const std::string& Text)
      : TLanguageElement(Language, GLID, LineIndex), FText(Text.substr(0, kMaxText)) {}
  const std::string& Text() const { return FText; }

 private:
  std::string FText;
};

// A multi-line entry.
class TLanguageMemo : public TLanguageElement {
 public:
  using TLanguageElement::TLanguageElement;
  fw::TStringList& Lines() { return FLines; }
  const fw::TStringList& Lines() const { return FLines; }

 private:
  fw::TStringList FLines;
};

struct TLanguageEntries {
  std::vector<std::unique_ptr<TLanguageString>> Strings;
  std::vector<std::unique_ptr<TLanguageMemo>> Memos;
};

// Reads the entries of a table; the entries belong to Language. A memo still open at
// the end is dropped. A line that breaks the format raises fw::Exception naming the
// line by its 0-based index.
TLanguageEntries ParseLanguageTable(const fw::TStrings& Lines, TLanguage* Language);

}  // namespace setup
