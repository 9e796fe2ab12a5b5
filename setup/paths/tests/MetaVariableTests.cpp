// The "%" scanners alone; no Windows needed.
#include <gtest/gtest.h>

#include "paths/MetaVariables.h"

using namespace setup;

namespace {

std::string Value(char Letter) {
  return std::string("<") + Letter + ">";
}

TEST(MetaText, VariablesPercentSignsAndWhatIsKept) {
  struct Case {
    const char* Text;
    const char* Expected;
  };
  for (const Case& c : {
           Case{"", ""},
           Case{"plain text", "plain text"},
           Case{"%a\\x", "<a>\\x"},
           Case{"%W%b", "<w><b>"},  // letters in either case
           Case{"%%", "%"},
           Case{"%%%p", "%<p>"},
           Case{"100%", "100"},     // a final lone "%" is dropped
           Case{"%1 %2", "%1 %2"},  // arguments for the started program
           Case{"/x:%\"a b\"", "/x:%\"a b\""},
           Case{"%%1", "%1"},
       }) {
    EXPECT_EQ(ExpandMetaText(c.Text, Value), c.Expected) << c.Text;
  }
}

TEST(MetaText, OnlyVariablesInTheTextAreAskedFor) {
  std::string asked;
  ExpandMetaText("a%%b%c%1", [&](char Letter) {
    asked += Letter;
    return std::string();
  });
  EXPECT_EQ(asked, "c");
}

TEST(PathText, OnlyPercentPTakesThePath) {
  struct Case {
    const char* Text;
    const char* Expected;
  };
  for (const Case& c : {
           Case{"", ""},
           Case{"no percent", "no percent"},
           Case{"%p\\App", "C:\\X\\App"},
           Case{"%P", "C:\\X"},
           Case{"%%%p", "%C:\\X"},
           Case{"%x%1", "x1"},
           Case{"end%", "end"},
       }) {
    EXPECT_EQ(ExpandPathText(c.Text, "C:\\X"), c.Expected) << c.Text;
  }
}

}  // namespace
