// A language's entries: look-ups, and entries that follow every change of the lines.
#include <gtest/gtest.h>

#include "support/Language.h"

using namespace setup;

namespace {

class LanguageTest : public ::testing::Test {
 protected:
  TLanguage language{nullptr, "BM_LANG_ENGLISH", "qnliEnglish.txt", qlEnglish};
};

TEST_F(LanguageTest, AFormatErrorLeavesNoEntries) {
  language.Strings().SetVector({"1;One", "#2;", "two", "#"});
  ASSERT_EQ(language.StringCount(), 1);
  EXPECT_THROW(language.Strings().Add("#"), fw::Exception);
  EXPECT_EQ(language.StringCount(), 0);
  EXPECT_EQ(language.MemoCount(), 0);
}

TEST_F(LanguageTest, LookupsReturnTheFirstMatch) {
  language.Strings().SetVector({"6;Cancel", "104;Cancel", "6;Abort", "#3;", "Line", "#", "#4;", "line", "#"});
  EXPECT_EQ(language.FindStringByGLID(6)->Text(), "Cancel");
  EXPECT_EQ(language.FindStringByText("cANCEL")->GLID(), 6);
  EXPECT_EQ(language.FindStringByText("Absent"), nullptr);
  EXPECT_EQ(language.FindStringByGLID(99), nullptr);
  fw::TStringList lines;
  lines.Add("line");
  EXPECT_EQ(language.FindMemoByText(lines)->GLID(), 4);  // memo texts compare case-sensitively
}

TEST_F(LanguageTest, EntriesFollowEveryChangeOfTheLines) {
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

TEST_F(LanguageTest, AssignCopiesAndParsesAndKeepsAutoParseOnAfterAFailure) {
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
