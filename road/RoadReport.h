// What the road prints as it goes: steps, checks that hold or fail, and notes. A failed
// check does not stop the road; the program's result counts them.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace road {

// A step of the road that cannot go on (a window that should have come, a program that
// would not start); the message tells the user what happened.
class ERoad : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRoadReport {
 public:
  // "== Title"
  void Step(const std::string& Title);
  // An indented line of information.
  void Note(const std::string& Text);
  // "  ok    What" or "  FAIL  What (Detail)"; returns Holds.
  bool Check(bool Holds, const std::string& What, const std::string& Detail = std::string());
  // Expected == Actual, with both in the failure's detail.
  bool CheckEqual(const std::string& What, const std::string& Expected, const std::string& Actual);

  // "  SKIP  What (Why)": a part of the road that this machine cannot play.
  void Skip(const std::string& What, const std::string& Why);

  int Checks() const { return FChecks; }
  const std::vector<std::string>& Failures() const { return FFailures; }
  const std::vector<std::string>& Skipped() const { return FSkipped; }

  // The program's exit code: 1 when a check failed, else kSkippedExitCode when a part was
  // skipped (the test then reports as skipped, not passed), else 0.
  static constexpr int kSkippedExitCode = 77;
  int ExitCode() const { return !FFailures.empty() ? 1 : !FSkipped.empty() ? kSkippedExitCode : 0; }

 private:
  int FChecks = 0;
  std::vector<std::string> FFailures;
  std::vector<std::string> FSkipped;
};

}  // namespace road
