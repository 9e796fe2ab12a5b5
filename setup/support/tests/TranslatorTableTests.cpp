// The grammar of language tables and its errors. Portable: no Windows needed.
#include <gtest/gtest.h>

#include "core/SysUtils.h"
#include "support/LanguageTable.h"

using namespace setup;

namespace {

TLanguageEntries Parse(const std::vector<std::string>& Lines) {
  fw::TStringList lines;
  lines.SetVector(Lines);
  return ParseLanguageTable(lines, nullptr);
}

std::string ParseError(const std::vector<std::string>& Lines) {
  try {
    Parse(Lines);
  } catch (const fw::Exception& e) {
    return e.Message();
  }
  return "no error";
}

TEST(LanguageTable, LinesBecomeStringsAndMemos) {
  TLanguageEntries entries = Parse({
      "* Licence dialog",         // 0
      "4;< Previous",             // 1
      "",                         // 2
      "  12; Keeps its blanks ",  // 3: the line is trimmed, the text is not
      "9;Welcome;ignored",        // 4
      "#7;",                      // 5
      "first  ",                  // 6
      "* not a memo line",        // 7
      "   ",                      // 8
      "  second",                 // 9
      "#",                        // 10
      "#8;",                      // 11: open at the end, dropped
      "left open",
  });
  ASSERT_EQ(entries.Strings.size(), 3u);
  const TLanguageString& previous = *entries.Strings[0];
  EXPECT_EQ(previous.GLID(), 4);
  EXPECT_EQ(previous.Text(), "< Previous");
  EXPECT_EQ(previous.LineIndex(), 1);
  EXPECT_EQ(entries.Strings[1]->Text(), " Keeps its blanks");
  EXPECT_EQ(entries.Strings[2]->Text(), "Welcome");
  ASSERT_EQ(entries.Memos.size(), 1u);  // memo 8 is still open at the end
  const TLanguageMemo& memo = *entries.Memos[0];
  EXPECT_EQ(memo.GLID(), 7);
  EXPECT_EQ(memo.LineIndex(), 5);
  EXPECT_EQ(memo.Lines().ToVector(), (std::vector<std::string>{"first", "second"}));
}

TEST(LanguageTable, TextsAreCutTo255Characters) {
  EXPECT_EQ(Parse({"5;" + std::string(300, 'x')}).Strings[0]->Text(), std::string(255, 'x'));
}

TEST(LanguageTable, FormatErrorsNameTheLine) {
  EXPECT_EQ(ParseError({"1;One", "* comment", "  #  "}),
            "Found the end of memo marker # at line 2. Was not in a memo however");
  EXPECT_EQ(ParseError({"1;One", "2;"}), "The 1'th string (2;) does not have the proper format of GLID;Text");
  EXPECT_EQ(ParseError({" ;Text "}), "The 0'th string (;Text) does not have the proper format of GLID;Text");
  EXPECT_EQ(ParseError({"3;  ;second"}), "The 0'th string (3;  ;second) does not have the proper format of GLID;Text");
  EXPECT_EQ(ParseError({"1;One", "Two;Text"}),
            "The 1'th string (Two;Text) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(ParseError({";"}), "The 0'th string (;) has neither a GLID nor a text; the proper format is GLID;Text");
  EXPECT_EQ(ParseError({"#seven;", "text", "#"}),
            "The 0'th string (#seven;) is not a proper memo header of the format #GLID;");
  EXPECT_EQ(ParseError({"#7", "text", "#"}), "The 0'th string (#7) is not a proper memo header of the format #GLID;");
}

}  // namespace
