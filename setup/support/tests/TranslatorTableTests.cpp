// Language tables: the line grammar, its errors, and entries that follow the lines.
#include <gtest/gtest.h>

#include "core/SysUtils.h"
#include "support/Language.h"

using namespace setup;

namespace {

std::string ParseError(TLanguage& Language, const std::vector<std::string>& Lines) {
  try {
    Language.Strings().SetVector(Lines);
  } catch (const fw::Exception& e) {
    EXPECT_EQ(Language.StringCount(), 0);
    EXPECT_EQ(Language.MemoCount(), 0);
    return e.Message();
  }
  return "no error";
}

class LanguageTableTest : public ::testing::Test {
 protected:
  TLanguage language{nullptr, "BM_LANG_ENGLISH", "qnliEnglish.txt", qlEnglish};
};

TEST_F(LanguageTableTest, LinesBecomeStringsAndMemos) {
  language.Strings().SetVector({
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
  ASSERT_EQ(language.StringCount(), 3);
  const TLanguageString* previous = language.GetStringEntry(0);
  EXPECT_EQ(previous->GLID(), 4);
  EXPECT_EQ(previous->Text(), "< Previous");
  EXPECT_EQ(previous->LineIndex(), 1);
  EXPECT_EQ(previous->Language(), &language);
  EXPECT_EQ(language.GetStringEntry(1)->Text(), " Keeps its blanks");
  EXPECT_EQ(language.GetStringEntry(2)->Text(), "Welcome");
  ASSERT_EQ(language.MemoCount(), 1);
  const TLanguageMemo* memo = language.GetMemoEntry(0);
  EXPECT_EQ(memo->GLID(), 7);
  EXPECT_EQ(memo->LineIndex(), 5);
  EXPECT_EQ(memo->Lines().ToVector(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(language.FindMemoByGLID(8), nullptr);
}

TEST_F(LanguageTableTest, TextsAreCutTo255Characters) {
  language.Strings().Add("5;" + std::string(300, 'x'));
  EXPECT_EQ(language.FindStringByGLID(5)->Text(), std::string(255, 'x'));
}

TEST_F(LanguageTableTest, FormatErrorsNameTheLineAndDropEveryEntry) {
  EXPECT_EQ(ParseError(language, {"1;One", "* comment", "  #  "}),
            "Found the end of memo marker # at line 2. Was not in a memo however");
  EXPECT_EQ(ParseError(language, {"1;One", "2;"}), "The 1'th string (2;) does not have the proper format of GLID;Text");
  EXPECT_EQ(ParseError(language, {" ;Text "}), "The 0'th string (;Text) does not have the proper format of GLID;Text");
  EXPECT_EQ(ParseError(language, {"3;  ;second"}),
            "The 0'th string (3;  ;second) does not have the proper format of GLID;Text");
  EXPECT_EQ(ParseError(language, {"1;One", "Two;Text"}),
            "The 1'th string (Two;Text) does not have the proper format of GLID;Text or .GLID;");
  EXPECT_EQ(ParseError(language, {";"}),
            "The 0'th string (;) has neither a GLID nor a text; the proper format is GLID;Text");
  EXPECT_EQ(ParseError(language, {"#seven;", "text", "#"}),
            "The 0'th string (#seven;) is not a proper memo header of the format #GLID;");
  EXPECT_EQ(ParseError(language, {"#7", "text", "#"}),
            "The 0'th string (#7) is not a proper memo header of the format #GLID;");
}

TEST_F(LanguageTableTest, LookupsReturnTheFirstMatch) {
  language.Strings().SetVector({"6;Cancel", "104;Cancel", "6;Abort", "#3;", "Line", "#", "#4;", "line", "#"});
  EXPECT_EQ(language.FindStringByGLID(6)->Text(), "Cancel");
  EXPECT_EQ(language.FindStringByText("cANCEL")->GLID(), 6);
  EXPECT_EQ(language.FindStringByText("Absent"), nullptr);
  EXPECT_EQ(language.FindStringByGLID(99), nullptr);
  fw::TStringList lines;
  lines.Add("line");
  EXPECT_EQ(language.FindMemoByText(lines)->GLID(), 4);  // memo texts compare case-sensitively
}

TEST_F(LanguageTableTest, EntriesFollowEveryChangeOfTheLines) {
  TLangFormatStrings& lines = language.Strings();
  lines.Add("1;One");
  lines.Add("2;Two");
  lines.Add("#5;");
  lines.Add("memo");
  lines.Add("#");
  lines.Add("3;Three");
  ASSERT_EQ(language.StringCount(), 3);
  ASSERT_EQ(language.MemoCount(), 1);

  // A deleted line takes its entry along; the entries after it keep the right lines.
  lines.Delete(1);
  ASSERT_EQ(language.StringCount(), 2);
  EXPECT_EQ(language.FindStringByGLID(2), nullptr);
  EXPECT_EQ(language.FindStringByGLID(3)->LineIndex(), 4);
  EXPECT_EQ(language.FindMemoByGLID(5)->LineIndex(), 1);

  lines.Insert(0, "0;Zero");
  EXPECT_EQ(language.FindStringByGLID(0)->LineIndex(), 0);
  EXPECT_EQ(language.FindStringByGLID(3)->LineIndex(), 5);
  lines.Put(0, "0;Nothing");
  EXPECT_EQ(language.FindStringByGLID(0)->Text(), "Nothing");
  lines.Move(5, 0);
  EXPECT_EQ(language.FindStringByGLID(3)->LineIndex(), 0);
  lines.Clear();
  EXPECT_EQ(language.StringCount(), 0);
  EXPECT_EQ(language.MemoCount(), 0);
}

TEST_F(LanguageTableTest, AssignCopiesAndParsesAndKeepsAutoParseOnAfterAFailure) {
  fw::TStringList source;
  source.SetVector({"#2;", "two", "#", "1;One"});
  language.Strings().Assign(&source);
  EXPECT_EQ(language.StringCount(), 1);
  EXPECT_EQ(language.MemoCount(), 1);
  EXPECT_TRUE(language.AutoParse());

  source.SetVector({"1;One", "#"});
  EXPECT_THROW(language.Strings().Assign(&source), fw::Exception);
  EXPECT_TRUE(language.AutoParse());
  EXPECT_EQ(language.StringCount(), 0);

  // A whole language copies its font, override flag and lines.
  TLanguage german(nullptr, "BM_LANG_GERMAN", "qnliGerman.txt", qlGerman);
  language.Strings().SetVector({"9;Welcome"});
  language.Font().SetName("Tahoma");
  language.SetFontOverride(true);
  german.Assign(&language);
  EXPECT_EQ(german.FindStringByGLID(9)->Text(), "Welcome");
  EXPECT_EQ(german.FindStringByGLID(9)->Language(), &german);
  EXPECT_EQ(german.Font().Name(), "Tahoma");
  EXPECT_TRUE(german.FontOverride());
  EXPECT_EQ(german.LanguageIdent(), qlGerman);
}

}  // namespace
