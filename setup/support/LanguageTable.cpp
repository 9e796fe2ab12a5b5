#include "LanguageTable.h"

#include "core/SysUtils.h"

namespace setup {

using fw::Exception;
using fw::Format;

namespace {

// The memo being collected.
struct TOpenMemo {
  int GLID;
  int LineIndex;
  std::vector<std::string> Lines;
};

int MemoHeaderGLID(const std::string& Line, int Index) {
  size_t semi = Line.find(';');
  int glid = 0;
  if (semi == std::string::npos || !fw::TryStrToInt(Line.substr(1, semi - 1), glid))
    throw Exception(Format("The %d'th string (%s) is not a proper memo header of the format #GLID;", Index, Line));
  return glid;
}

std::unique_ptr<TLanguageString> ParseStringLine(const std::string& Line, int Index, TLanguage* Language) {
  size_t semi = Line.find(';');
  std::string glidPart = Line.substr(0, semi);
  std::string text;
  if (semi != std::string::npos) {
    size_t end = Line.find(';', semi + 1);
    text = Line.substr(semi + 1, end == std::string::npos ? std::string::npos : end - semi - 1);
  }
  bool noGlid = fw::Trim(glidPart).empty();
  bool noText = fw::Trim(text).empty();
  if (noGlid && noText)
    throw Exception(
        Format("The %d'th string (%s) has neither a GLID nor a text; the proper format is GLID;Text", Index, Line));
  if (noGlid || noText)
    throw Exception(Format("The %d'th string (%s) does not have the proper format of GLID;Text", Index, Line));
  int glid = 0;
  if (!fw::TryStrToInt(glidPart, glid))
    throw Exception(
        Format("The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;", Index, Line));
  return std::make_unique<TLanguageString>(Language, glid, Index, text);
}

}  // namespace

TLanguageEntries ParseLanguageTable(const fw::TStrings& Lines, TLanguage* Language) {
  TLanguageEntries entries;
  std::unique_ptr<TOpenMemo> memo;
  for (int i = 0; i < Lines.Count(); ++i) {
    std::string line = fw::Trim(Lines.Get(i));
    if (line.empty() || line[0] == '*') continue;
    if (line == "#") {
      if (!memo) throw Exception(Format("Found the end of memo marker # at line %d. Was not in a memo however", i));
      auto done = std::make_unique<TLanguageMemo>(Language, memo->GLID, memo->LineIndex);
      done->Lines().SetVector(memo->Lines);
      entries.Memos.push_back(std::move(done));
      memo.reset();
    } else if (memo) {
      memo->Lines.push_back(line);
    } else if (line[0] == '#') {
      memo = std::make_unique<TOpenMemo>(TOpenMemo{MemoHeaderGLID(line, i), i, {}});
    } else {
      entries.Strings.push_back(ParseStringLine(line, i, Language));
    }
  }
  return entries;
}

}  // namespace setup
