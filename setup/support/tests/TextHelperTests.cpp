#include <gtest/gtest.h>

#include <sstream>

#include "core/Strings.h"
#include "support/PathStrings.h"

using namespace setup;

namespace {

TEST(TrailingBackslash, AddsAndRemovesOneBackslashOnly) {
  EXPECT_EQ(AddTrailingBackslash(""), "");
  EXPECT_EQ(AddTrailingBackslash("C:\\"), "C:\\");
  EXPECT_EQ(AddTrailingBackslash("C:\\dir"), "C:\\dir\\");
  EXPECT_EQ(RemoveTrailingBackslash("C:\\dir\\"), "C:\\dir");
  EXPECT_EQ(RemoveTrailingBackslash("C:\\dir\\\\"), "C:\\dir\\");
  EXPECT_EQ(RemoveTrailingBackslash(""), "");
}

TEST(DelimitedLists, CountByTheDelimiterGiven) {
  EXPECT_EQ(CountDelimitedItems("a;b;", ';'), 2);
  EXPECT_EQ(CountDelimitedItems("a;b", ';'), 2);
  EXPECT_EQ(CountDelimitedItems("", ';'), 0);
  EXPECT_EQ(CountDelimitedItems(";", ';'), 1);
  // Another delimiter ends the list the same way: a final "." adds no item.
  EXPECT_EQ(CountDelimitedItems("1.2.3.", '.'), 3);
  EXPECT_EQ(CountDelimitedItems("1.2;3", '.'), 2);
}

TEST(DelimitedLists, PickItemsFromOne) {
  EXPECT_EQ(GetDelimitedItem("a;b", 1, ';'), "a");
  EXPECT_EQ(GetDelimitedItem("a;b", 2, ';'), "b");
  EXPECT_EQ(GetDelimitedItem("a;b", 3, ';'), "");
  EXPECT_EQ(GetDelimitedItem("1.2.3", 2, '.'), "2");
  EXPECT_EQ(GetDelimitedItem("1.2.3", 4, '.'), "");
  EXPECT_EQ(GetDelimitedItem("a;;c", 2, ';'), "");
  EXPECT_EQ(GetDelimitedItem("a;;c", 3, ';'), "c");
  EXPECT_EQ(GetDelimitedItem("a;b", 0, ';'), "");
  fw::TStringList list;
  list.Add("stale");
  SplitDelimited("C:\\A;;D:\\B;", ';', list);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"C:\\A", "", "D:\\B"}));
  SplitDelimited("", ';', list);
  EXPECT_EQ(list.Count(), 0);
}

TEST(FileNameText, ColonAndInvalidCharacters) {
  EXPECT_EQ(ExtractAfterColon("C:\\dir"), "\\dir");
  EXPECT_EQ(ExtractAfterColon("a:b:c"), "b:c");
  EXPECT_EQ(ExtractAfterColon("\\dir\\file"), "");
  EXPECT_EQ(StripInvalidFileNameChars("ftp.host/dir:1"), "ftp.host-dir1");
  EXPECT_EQ(StripInvalidFileNameChars("a\"*:;<>?\\|b"), "ab");
  EXPECT_EQ(StripInvalidFileNameChars(std::string("\x01\xe4x", 3)), std::string("\x01\xe4x", 3));
}

TEST(MessageText, LongWordsBreakAfterABackslashWithinTheLongest) {
  EXPECT_EQ(BreakLongWords("Cannot create the file C:\\a\\bb\\ccc.dll", 8),
            "Cannot create the file C:\\a\\bb\\\nccc.dll");
  EXPECT_EQ(BreakLongWords("abcdefghij x", 4), "abcd\nefgh\nij x") << "no backslash: cut at the longest";
  EXPECT_EQ(BreakLongWords("short words\nstay", 5), "short words\nstay");
  EXPECT_EQ(BreakLongWords("\\\\srv\\share", 0), "\\\\srv\\share");
  const std::string path = "R:\\" + std::string(100, 'k') + "\\" + std::string(50, 'v') + "\\VX4.exe";
  std::istringstream lines(BreakLongWords(path, kLongestMessageWord));
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) EXPECT_LE(line.size(), kLongestMessageWord);
  EXPECT_EQ(count, 3);
}

}  // namespace
