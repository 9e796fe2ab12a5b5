// Keys a hostile log names by another spelling of them: the 32-bit view of a 64-bit
// Windows ("Wow6432Node"), HKEY_CLASSES_ROOT and the Software\Classes keys it merges,
// HKEY_CURRENT_CONFIG and the hardware profile it is: Windows' own keys and values stay
// whichever spelling names them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

TEST(HostileLogKeys, WindowsConfigurationStaysByEverySpellingOfIt) {
  // The classes Windows runs programs and shortcuts by.
  for (const auto& [root, key] : std::vector<std::pair<TLogRoot, std::string>>{
           {TLogRoot::ClassesRoot, "exefile\\shell\\open\\command"},
           {TLogRoot::ClassesRoot, ".lnk"},
           {TLogRoot::CurrentUser, "Software\\Classes\\exefile\\shell\\open\\command"},
           {TLogRoot::LocalMachine, "Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}\\InprocServer32"},
           {TLogRoot::LocalMachine, "SOFTWARE\\Wow6432Node\\Classes\\lnkfile"},
           {TLogRoot::Users, "S-1-5-21-1_Classes\\exefile\\shell"},
           {TLogRoot::Users, "S-1-5-21-1\\Software\\Classes\\.exe"},
           {TLogRoot::ClassesRoot, "CLSID"},
           // The current configuration is the machine's System key.
           {TLogRoot::CurrentConfig, "Software\\Fonts"},
           {TLogRoot::LocalMachine, "Hardware\\DeviceMap\\SERIALCOMM"},
           {TLogRoot::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug"},
       }) {
    EXPECT_FALSE(MayDeleteValue(root, key)) << key;
    EXPECT_FALSE(MayDeleteKey(root, key)) << key;
  }
  EXPECT_FALSE(MayDeleteKey(TLogRoot::CurrentConfig, "Software\\Stavrel"));
  EXPECT_FALSE(MayDeleteKey(TLogRoot::LocalMachine, "System\\Stavrel"));
  // A product's own classes go by every spelling.
  for (const auto& [root, key] : std::vector<std::pair<TLogRoot, std::string>>{
           {TLogRoot::ClassesRoot, "CLSID\\{5E1D7A40-6C2B-4B8E-9A51-0C2F3B7D9E11}\\LocalServer32"},
           {TLogRoot::LocalMachine, "Software\\Classes\\Stavrel.Chart\\CLSID"},
           {TLogRoot::CurrentUser, "Software\\Classes\\.kvx"}}) {
    EXPECT_TRUE(MayDeleteValue(root, key)) << key;
    EXPECT_TRUE(MayDeleteKey(root, key)) << key;
  }
}

}  // namespace
