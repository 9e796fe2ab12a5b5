// Keys a hostile log names through the 32-bit view of a 64-bit Windows ("Wow6432Node"):
// Windows' own keys there stay as they do in the 64-bit view.
#include <gtest/gtest.h>

#include <string>

#include "objects/UninstallRules.h"

using namespace setup;

namespace {

TEST(HostileLogKeys, WindowsKeysInThe32BitViewStay) {
  for (const char* key :
       {"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
        "SOFTWARE\\WOW6432NODE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
        "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths",
        "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion", "Software\\Wow6432Node\\Classes\\CLSID",
        "Software\\Classes\\Wow6432Node\\CLSID", "Software\\Wow6432Node"})
    EXPECT_FALSE(MayDeleteKey(TLogRoot::LocalMachine, key)) << key;
  EXPECT_FALSE(MayDeleteKey(TLogRoot::ClassesRoot, "Wow6432Node\\CLSID"));
  EXPECT_FALSE(
      MayDeleteKey(TLogRoot::Users, "S-1-5-21-1\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"));
  // A product's own keys in that view still go when empty.
  EXPECT_TRUE(MayDeleteKey(TLogRoot::LocalMachine, "Software\\Wow6432Node\\Stavrel\\Product"));
  EXPECT_TRUE(
      MayDeleteKey(TLogRoot::LocalMachine, "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run\\x"));
  EXPECT_TRUE(MayDeleteKey(TLogRoot::ClassesRoot, "Wow6432Node\\CLSID\\{5E1D7A40-6C2B-4B8E-9A51-0C2F3B7D9E11}"));
}

}  // namespace
