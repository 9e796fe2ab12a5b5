// Libraries start in the order given and stop in reverse, also when a start-up fails
// halfway or a shut-down raises.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/Startup.h"

using namespace fw;

namespace {

struct TJournal {
  std::vector<std::string> Lines;
  TLibrary Library(const std::string& Name, bool FailStart = false, bool FailStop = false) {
    return {Name,
            [this, Name, FailStart] {
              if (FailStart) throw std::runtime_error(Name + " cannot start");
              Lines.push_back("start " + Name);
            },
            [this, Name, FailStop] {
              Lines.push_back("stop " + Name);
              if (FailStop) throw std::runtime_error(Name + " cannot stop");
            }};
  }
};

}  // namespace

TEST(Startup, StartsInOrderAndStopsInReverse) {
  TJournal journal;
  {
    TStartedLibraries libraries({journal.Library("core"), journal.Library("gui"), journal.Library("objects")});
    EXPECT_EQ(journal.Lines, (std::vector<std::string>{"start core", "start gui", "start objects"}));
  }
  EXPECT_EQ(journal.Lines, (std::vector<std::string>{"start core", "start gui", "start objects", "stop objects",
                                                     "stop gui", "stop core"}));
}

TEST(Startup, AFailedStartStopsWhatHadStartedAndPassesTheErrorOn) {
  TJournal journal;
  try {
    TStartedLibraries libraries({journal.Library("core"), journal.Library("gui"), journal.Library("objects", true)});
    FAIL() << "the failing start-up was not reported";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "objects cannot start");
  }
  EXPECT_EQ(journal.Lines, (std::vector<std::string>{"start core", "start gui", "stop gui", "stop core"}));
}

TEST(Startup, AFailingShutdownDoesNotKeepTheOthersRunning) {
  TJournal journal;
  { TStartedLibraries libraries({journal.Library("core"), journal.Library("gui", false, true)}); }
  EXPECT_EQ(journal.Lines, (std::vector<std::string>{"start core", "start gui", "stop gui", "stop core"}));
}

TEST(Startup, OnDemandLibrariesStartOnceAndAgainAfterShutdown) {
  static TJournal journal;
  journal.Lines.clear();
  TOnDemandLibraries dll([] { return std::vector<TLibrary>{journal.Library("page")}; });
  EXPECT_FALSE(dll.Started());
  dll.EnsureStarted();
  dll.EnsureStarted();
  EXPECT_TRUE(dll.Started());
  dll.Shutdown();
  EXPECT_FALSE(dll.Started());
  dll.EnsureStarted();
  dll.Shutdown();
  EXPECT_EQ(journal.Lines, (std::vector<std::string>{"start page", "stop page", "start page", "stop page"}));
}
