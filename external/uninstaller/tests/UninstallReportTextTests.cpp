// The uninstaller's closing message fits the box it is shown in, whatever the log held.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/UninstallReportText.h"

using namespace setup;

namespace {

TEST(UninstallReportText, LongLinesAreCutAndWhatDoesNotFitIsCounted) {
  EXPECT_EQ(UninstallReportText("P", false, {}), "Nothing is recorded for the removal of P.");
  EXPECT_EQ(UninstallReportText("P", true, {}), "P was removed.");
  // A 32 KiB entry keeps its start and its reason.
  const std::string huge = "C:\\" + std::string(32 * 1024, 'x') + " (not a plain full path of a file)";
  TReportLimits limits;
  limits.MaxLines = 3;
  limits.MaxLineLength = 80;
  EXPECT_EQ(UninstallReportText("P", true, {huge}, limits),
            "P was removed, except for these items:\r\n\r\nC:\\" + std::string(19, 'x') + "..." +
                std::string(21, 'x') + " (not a plain full path of a file)");
  // A reason longer than half the line is cut with the rest.
  limits.MaxLineLength = 40;
  EXPECT_EQ(UninstallReportText("P", true, {huge}, limits).size(),
            std::string("P was removed, except for these items:\r\n\r\n").size() + 40);
  limits.MaxLineLength = 80;
  // Five lines in a box of three: two of them, then how many more.
  const std::vector<std::string> lines{"a", "b", "c", "d", "e"};
  EXPECT_EQ(UninstallReportText("P", true, lines, limits),
            "P was removed, except for these items:\r\n\r\na\r\nb\r\nand 3 more");
  limits.MaxLines = 5;
  EXPECT_EQ(UninstallReportText("P", true, lines, limits),
            "P was removed, except for these items:\r\n\r\na\r\nb\r\nc\r\nd\r\ne");
  // Without limits, as the report file holds it: every line whole.
  EXPECT_NE(UninstallReportText("P", true, {huge}).find(huge), std::string::npos);
}

}  // namespace
