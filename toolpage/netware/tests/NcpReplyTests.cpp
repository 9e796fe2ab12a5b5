// Decoding the server's replies: portable, run natively and under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "NcpReplies.h"
#include "WireFormat.h"

using namespace toolpage;

namespace {

// True when Decode raises the broken-reply error.
template <class F>
bool RaisesBrokenReply(F Decode) {
  try {
    Decode();
  } catch (const TNWException& e) {
    return e.ErrorCode() == NW_INVALID_REPLY_LENGTH;
  }
  return false;
}

TEST(NcpReplies, ExtensionLookupGivesTheIdOnlyOnSuccess) {
  TExtensionLookup found = DecodeExtensionLookup(0, 0x8123, 4, 11, 2);
  EXPECT_EQ(found.Id, 0x8123);
  EXPECT_EQ(found.Major, 4);
  EXPECT_EQ(found.Minor, 11);
  EXPECT_EQ(found.Revision, 2);
  EXPECT_EQ(found.Status, 0u);
  TExtensionLookup failed = DecodeExtensionLookup(0x89FF, 0x8123, 0, 0, 0);
  EXPECT_EQ(failed.Id, kInvalidExtensionId);
  EXPECT_EQ(failed.Status, 0x89FFu);
  EXPECT_FALSE(ExtensionOpensChannels(4, 0));
  EXPECT_TRUE(ExtensionOpensChannels(4, 1));
  EXPECT_TRUE(ExtensionOpensChannels(3, 0));
}

TEST(NcpReplies, FourByteRepliesMustBeFourBytes) {
  const uint8_t reply[4] = {0xFF, 0x89, 0, 0};
  EXPECT_EQ(DecodeStd4StatusReply(121, reply, 4, 4), 0x89FF);
  EXPECT_EQ(DecodeRProcOpenReply(0x10021, reply, 4, 4), 0x89FF);
  for (size_t length : {0u, 2u, 3u, 5u, 0xFFFFu}) {
    SCOPED_TRACE(length);
    EXPECT_TRUE(RaisesBrokenReply([&] { DecodeStd4StatusReply(121, reply, 4, length); }));
    EXPECT_TRUE(RaisesBrokenReply([&] { DecodeRProcOpenReply(0x10021, reply, 4, length); }));
  }
  // A buffer smaller than the value is never read past.
  EXPECT_TRUE(RaisesBrokenReply([&] { DecodeStd4StatusReply(121, reply, 2, 4); }));
  EXPECT_TRUE(RaisesBrokenReply([&] { DecodeRProcOpenReply(1, reply, 2, 4); }));
}

TEST(NcpReplies, CallReplyLongerThanTheBufferIsTheProgramsAssertion) {
  CheckRProcCallReply(200, 200);
  CheckRProcCallReply(0, 0);
  try {
    CheckRProcCallReply(210, 200);
    ADD_FAILURE() << "no exception";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Response longer then receive buffer (210,200)!");
  }
}

TEST(NcpReplies, NlmInfoFullNameEmptySecondTextAndBadLengths) {
  std::vector<uint8_t> reply(45 + 3, 0);
  memcpy(reply.data(), "ABCDEFGHIJKLM", 13);  // no terminator within the 13 bytes
  PutLE32(&reply[13], 7);
  PutLE32(&reply[33], 0xFFFFFFFE);
  PutLE32(&reply[37], 3);
  memcpy(&reply[41], "xyz", 3);
  PutLE32(&reply[44], 0);
  NW_312_NLM_INFO info;
  DecodeStd4NlmInfoReply(reply.data(), reply.size(), reply.size(), info);
  EXPECT_EQ(info.FileName, "ABCDEFGHIJKLM");
  EXPECT_EQ(info.Values[0], 7);
  EXPECT_EQ(info.Values[5], -2);
  EXPECT_EQ(info.Text1, "xyz");
  EXPECT_EQ(info.Text2, "");

  PutLE32(&reply[44], 0xFFFFFFFF);  // a negative second length counts as empty
  DecodeStd4NlmInfoReply(reply.data(), reply.size(), reply.size(), info);
  EXPECT_EQ(info.Text2, "");

  auto raises = [&](size_t received) {
    return RaisesBrokenReply([&] { DecodeStd4NlmInfoReply(reply.data(), reply.size(), received, info); });
  };
  EXPECT_TRUE(raises(40));                // shorter than the fixed part
  EXPECT_TRUE(raises(46));                // the first text runs past the reply
  EXPECT_TRUE(raises(reply.size() + 1));  // longer than its buffer
  PutLE32(&reply[44], 5);                 // the second text runs past the reply
  EXPECT_TRUE(raises(reply.size()));
  PutLE32(&reply[37], 0x80000000u);  // negative first length
  EXPECT_TRUE(raises(reply.size()));
  EXPECT_EQ(info.FileName, "") << "a broken reply leaves the record cleared";
}

TEST(NcpReplies, NlmInfoTextsMayFillTheReplyExactly) {
  std::vector<uint8_t> reply(45 + 2 + 3, 0);
  memcpy(reply.data(), "A.NLM", 5);
  PutLE32(&reply[37], 2);
  memcpy(&reply[41], "ab", 2);
  PutLE32(&reply[43], 3);
  memcpy(&reply[47], "cde", 3);
  NW_312_NLM_INFO info;
  DecodeStd4NlmInfoReply(reply.data(), reply.size() + 100, reply.size(), info);
  EXPECT_EQ(info.FileName, "A.NLM");
  EXPECT_EQ(info.Text1, "ab");
  EXPECT_EQ(info.Text2, "cde");
  EXPECT_TRUE(RaisesBrokenReply([&] { DecodeStd4NlmInfoReply(reply.data(), reply.size(), reply.size() - 1, info); }));
}

}  // namespace
