#include <gtest/gtest.h>

#include "engine/InstallSwitches.h"
#include "support/Errors.h"

using namespace setup;

namespace {

TEST(Switches, LettersInEitherCaseKeepTheirValues) {
  TInstallSwitches s = ParseInstallSwitches({"-d", "-SC:\\My Build", "-eSetup.exe", "*c", "-N"});
  EXPECT_TRUE(s.Has(swDebug));
  EXPECT_TRUE(s.Has(swSource));
  EXPECT_EQ(s.Value(swSource), "C:\\My Build");
  EXPECT_EQ(s.Value(swSelfExtract), "Setup.exe");
  EXPECT_TRUE(s.Has(swCleanup));
  EXPECT_TRUE(s.Has(swClearUnfinished));
  EXPECT_FALSE(s.Has(swBuild));
  EXPECT_FALSE(s.Has(swAfterReboot));
  EXPECT_EQ(s.Value(swBuild), "");
}

TEST(Switches, ARepeatedLetterKeepsTheLastValue) {
  TInstallSwitches s = ParseInstallSwitches({"-sC:\\one", "-sD:\\two"});
  EXPECT_EQ(s.Value(swSource), "D:\\two");
}

TEST(Switches, UnknownOrMalformedArgumentsAreRefusedAfterAMinus) {
  for (const char* bad : {"-x", "-", "x", "/b", "", "b-"}) {
    try {
      ParseInstallSwitches({"-r", bad});
      ADD_FAILURE() << "accepted " << bad;
    } catch (const IException& e) {
      EXPECT_EQ(std::string(e.Message()).rfind(std::string("Invalid parameter <") + bad + ">. Valid command line", 0),
                0u)
          << e.Message();
    }
  }
}

TEST(Switches, AnUnknownLetterAfterAnAsteriskIsPassedOver) {
  TInstallSwitches s = ParseInstallSwitches({"*x", "*zvalue", "-b"});
  EXPECT_TRUE(s.Has(swBuild));
  EXPECT_EQ(s.Value(swBuild), "");
  EXPECT_THROW(ParseInstallSwitches({"*"}), IException);
}

TEST(Switches, NoArgumentsNoSwitches) {
  EXPECT_TRUE(ParseInstallSwitches({}).Empty());
}

}  // namespace
