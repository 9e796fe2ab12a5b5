// What a script may be renamed to.
#include <gtest/gtest.h>

#include "ScriptNames.h"

using toolpage::IsValidScriptName;
using toolpage::RenamedScriptName;

TEST(ScriptNames, OnlyPlainNamesWithTheScriptExtension) {
  EXPECT_TRUE(IsValidScriptName("TEST.OKS"));
  EXPECT_TRUE(IsValidScriptName("test.oks"));
  EXPECT_TRUE(IsValidScriptName("My Script.Oks"));
  EXPECT_FALSE(IsValidScriptName(".OKS"));
  EXPECT_FALSE(IsValidScriptName("TEST.TXT"));
  EXPECT_FALSE(IsValidScriptName("TEST.OKS.TXT"));
  EXPECT_FALSE(IsValidScriptName("TEST"));
  EXPECT_FALSE(IsValidScriptName("..\\SYSTEM.OKS"));
  EXPECT_FALSE(IsValidScriptName("SUB/A.OKS"));
  EXPECT_FALSE(IsValidScriptName("SYS:A.OKS"));
  EXPECT_FALSE(IsValidScriptName("C:A.OKS"));
}

TEST(ScriptNames, RenameTargets) {
  EXPECT_EQ(RenamedScriptName("OLD.OKS", "test.oks", false), "TEST.OKS");
  EXPECT_EQ(RenamedScriptName("OLD.OKS", "test.oks", true), "test.oks");
  EXPECT_EQ(RenamedScriptName("OLD.OKS", "", false), "OLD.OKS");
}
