#include "RoadReport.h"

#include <cstdio>

namespace road {

namespace {

void PrintLine(const std::string& Line) {
  std::fputs((Line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace

void TRoadReport::Step(const std::string& Title) {
  PrintLine("== " + Title);
}

void TRoadReport::Note(const std::string& Text) {
  PrintLine("  " + Text);
}

bool TRoadReport::Check(bool Holds, const std::string& What, const std::string& Detail) {
  ++FChecks;
  if (Holds) {
    PrintLine("  ok    " + What);
  } else {
    FFailures.push_back(Detail.empty() ? What : What + " (" + Detail + ")");
    PrintLine("  FAIL  " + FFailures.back());
  }
  return Holds;
}

void TRoadReport::Skip(const std::string& What, const std::string& Why) {
  FSkipped.push_back(What + " (" + Why + ")");
  PrintLine("  SKIP  " + FSkipped.back());
}

bool TRoadReport::CheckEqual(const std::string& What, const std::string& Expected, const std::string& Actual) {
  return Check(Expected == Actual, What, "expected \"" + Expected + "\", found \"" + Actual + "\"");
}

}  // namespace road
