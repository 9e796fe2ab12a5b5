// Putting a command line into a start-up file's text.
#include <gtest/gtest.h>

#include "NcfLines.h"

using toolpage::NormalizeLine;
using toolpage::UpdateNcfText;

TEST(NcfLines, NormalizeRemovesSpacesAndCase) {
  EXPECT_EQ(NormalizeLine("  load  tuvek.nlm \t"), "LOADTUVEK.NLM");
  EXPECT_EQ(NormalizeLine("a\tb c"), "A\tBC");
  EXPECT_EQ(NormalizeLine(""), "");
}

TEST(NcfLines, MatchingLinesAreReplacedNothingAppended) {
  EXPECT_EQ(UpdateNcfText("MOUNT ALL\r\nload  tuvek.nlm\r\nLOAD TUVEK.NLM /X\nEND", "", "Load TUVEK.NLM"),
            "MOUNT ALL\r\nLoad TUVEK.NLM\r\nLoad TUVEK.NLM\r\nEND\r\n");
}

TEST(NcfLines, WithoutMatchTheLineIsAppended) {
  EXPECT_EQ(UpdateNcfText("MOUNT ALL\r\n\r\nLOAD MONITOR", "", "Load TUVEK.NLM"),
            "MOUNT ALL\r\n\r\nLOAD MONITOR\r\nLoad TUVEK.NLM\r\n");
  EXPECT_EQ(UpdateNcfText("", "", "Load TUVEK.NLM"), "Load TUVEK.NLM\r\n");
  // An explicit key decides what matches.
  EXPECT_EQ(UpdateNcfText("load tuvek old\r\n", "LOAD TUVEK", "Load TUVEK.NLM"), "Load TUVEK.NLM\r\n");
}

TEST(NcfLines, SplitAcceptsEveryLineEnd) {
  EXPECT_EQ(toolpage::SplitTextLines("a\r\nb\rc\n\nd"), (std::vector<std::string>{"a", "b", "c", "", "d"}));
  EXPECT_EQ(toolpage::SplitTextLines("a\r\n"), std::vector<std::string>{"a"});
}
