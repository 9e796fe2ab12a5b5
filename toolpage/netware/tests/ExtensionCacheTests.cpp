// NCP extension look-ups, their 30-second cache, and the rights tests.
#include <gtest/gtest.h>

#include "NcpExtensions.h"
#include "NwConnection.h"
#include "SimServer.h"

using namespace toolpage;
using nwtest::TSimServer;

namespace {

// A cache with a clock the test moves.
struct TCacheFixture : ::testing::Test {
  uint32_t Now = 5000000;
  TNCPCacheList Cache{[this] { return Now; }};

  int32_t Lookup(TConnHandle Conn, const std::string& Name, NWCCODE* Status = nullptr, uint8_t* Major = nullptr,
                 uint8_t* Minor = nullptr) {
    return Cache.GetExtension(Conn, Name, Major, Minor, nullptr, Status);
  }
};

TEST_F(TCacheFixture, SecondLookupWithin30SecondsIsAnsweredFromTheCache) {
  TSimServer server({"module VX4LIB.NLM", "extension-version KAVEL:STD4 4 11 2"});
  TNWConnection conn(1);
  ASSERT_TRUE(conn.IsOpen());
  int before = nwsim_ExtensionLookupCount();
  NWCCODE status = 99;
  uint8_t major = 0, minor = 0;
  int32_t id = Lookup(conn.Handle(), "KAVEL:STD4", &status, &major, &minor);
  EXPECT_TRUE(IsValidExtensionID(id));
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(major, 4);
  EXPECT_EQ(minor, 11);
  Now += 30000;
  major = minor = 0;
  EXPECT_EQ(Lookup(conn.Handle(), "KAVEL:STD4", &status, &major, &minor), id);
  EXPECT_EQ(major, 4);
  EXPECT_EQ(minor, 11);
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 1);
  Now += 1;  // 30,001 ms after the first look-up
  EXPECT_EQ(Lookup(conn.Handle(), "KAVEL:STD4", &status), id);
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 2);
  EXPECT_EQ(Cache.Count(), 1u);
}

TEST_F(TCacheFixture, EntriesArePerConnectionReferenceAndExactName) {
  TSimServer server({"module VX4LIB.NLM"});
  TNWConnection first(1), second(2), sameRef(1);
  int before = nwsim_ExtensionLookupCount();
  EXPECT_TRUE(IsValidExtensionID(Lookup(first.Handle(), "KAVEL:STD4")));
  EXPECT_TRUE(IsValidExtensionID(Lookup(second.Handle(), "KAVEL:STD4")));
  EXPECT_EQ(Cache.Count(), 2u);
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 2);
  // Another handle on the same reference shares the entry.
  EXPECT_TRUE(IsValidExtensionID(Lookup(sameRef.Handle(), "KAVEL:STD4")));
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 2);
  // Names compare exactly: the lower-case name is a look-up of its own (and the server
  // knows no such extension).
  NWCCODE status = 0;
  EXPECT_FALSE(IsValidExtensionID(Lookup(first.Handle(), "kavel:std4", &status)));
  EXPECT_NE(status, 0u);
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 3);
  EXPECT_EQ(Cache.Count(), 3u);
}

TEST_F(TCacheFixture, FailedLookupIsCachedWithItsStatus) {
  TSimServer server({"module VX4LIB.NLM"});  // the search module is not loaded
  TNWConnection conn(1);
  int before = nwsim_ExtensionLookupCount();
  NWCCODE status = 0;
  EXPECT_EQ(Lookup(conn.Handle(), "KAVEL:CS4", &status), kInvalidExtensionId);
  EXPECT_EQ(status, 0x89FFu);
  status = 0;
  EXPECT_EQ(Lookup(conn.Handle(), "KAVEL:CS4", &status), kInvalidExtensionId);
  EXPECT_EQ(status, 0x89FFu);  // the cached failure, not success
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 1);
}

TEST_F(TCacheFixture, ExpiredEntriesArePurgedByAnyLookup) {
  TSimServer server({"module VX4LIB.NLM", "module VX4CS.NLM"});
  TNWConnection conn(1);
  Lookup(conn.Handle(), "KAVEL:STD4");
  Now += 20000;
  Lookup(conn.Handle(), "KAVEL:CS4");
  EXPECT_EQ(Cache.Count(), 2u);
  Now += 10001;  // the first entry is 30,001 ms old, the second 10,001 ms
  Lookup(conn.Handle(), "KAVEL:CS4");
  EXPECT_EQ(Cache.Count(), 1u);
  // A wrapped counter expires everything.
  Now = 10;
  Lookup(conn.Handle(), "KAVEL:CS4");
  EXPECT_EQ(Cache.Count(), 1u);
}

TEST(NCPExtension, UncachedLookupAsksEachTime) {
  TSimServer server({"module VX4RC.NLM", "extension-version KAVEL:RC41 4 1 7"});
  TNWConnection conn(1);
  int before = nwsim_ExtensionLookupCount();
  uint8_t major = 0, minor = 0, revision = 0;
  EXPECT_TRUE(IsValidExtensionID(GetNCPExtensionUncached(conn.Handle(), "KAVEL:RC41", &major, &minor, &revision)));
  EXPECT_TRUE(IsValidExtensionID(GetNCPExtensionUncached(conn.Handle(), "KAVEL:RC41", nullptr, nullptr, nullptr)));
  EXPECT_EQ(nwsim_ExtensionLookupCount() - before, 2);
  EXPECT_EQ(major, 4);
  EXPECT_EQ(minor, 1);
  EXPECT_EQ(revision, 7);
  EXPECT_EQ(GetNCPExtensionUncached(conn.Handle(), "KAVEL:STD4", nullptr, nullptr, nullptr), kInvalidExtensionId);
}

TEST(RightTests, AnswerFromTheServerAndCloseTheirHandles) {
  {
    TSimServer server;
    EXPECT_TRUE(IsConsoleOperator(1));
    EXPECT_TRUE(HasRemoteExecRight(1));
    EXPECT_FALSE(IsConsoleOperator(0));  // no handle from reference 0
    EXPECT_FALSE(HasRemoteExecRight(0));
  }
  {
    TSimServer server({"console-operator no", "remote-exec no"});
    EXPECT_FALSE(IsConsoleOperator(1));
    EXPECT_FALSE(HasRemoteExecRight(1));
  }
  // Each test asks its own right of the server.
  {
    TSimServer server({"console-operator no", "remote-exec yes"});
    EXPECT_FALSE(IsConsoleOperator(1));
    EXPECT_TRUE(HasRemoteExecRight(1));
  }
  {
    TSimServer server({"console-operator yes", "remote-exec no"});
    EXPECT_TRUE(IsConsoleOperator(1));
    EXPECT_FALSE(HasRemoteExecRight(1));
  }
  EXPECT_EQ(nwsim_OpenConnectionCount(), 0);
}

}  // namespace
