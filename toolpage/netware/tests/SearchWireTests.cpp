// The server-side search on the wire: the search order, status and result records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "NwErrors.h"
#include "SearchWire.h"
#include "WireFormat.h"

using namespace toolpage;

namespace {

// A raw result record: 30 fixed bytes, the name and its terminator.
std::vector<uint8_t> Record(const std::string& Name, uint32_t DirIndex, uint32_t Length = 0) {
  std::vector<uint8_t> r(30 + Name.size() + 1, 0);
  PutLE32(&r[0], Length ? Length : static_cast<uint32_t>(r.size()));
  PutLE32(&r[4], DirIndex);
  PutLE32(&r[8], 0x20);
  r[12] = 0x12, r[13] = 0x34, r[16] = 0x56, r[26] = 0x78;
  memcpy(&r[30], Name.data(), Name.size());
  return r;
}

std::vector<uint8_t> Batch(const std::vector<std::vector<uint8_t>>& Records, uint32_t Count = ~0u) {
  std::vector<uint8_t> reply(4, 0);
  PutLE32(reply.data(), Count == ~0u ? static_cast<uint32_t>(Records.size()) : Count);
  for (const auto& r : Records) reply.insert(reply.end(), r.begin(), r.end());
  return reply;
}

uint16_t Counted16(const std::vector<uint8_t>& Bytes, size_t Pos) {
  return static_cast<uint16_t>(Bytes[Pos] | (Bytes[Pos + 1] << 8));
}

}  // namespace

TEST(SearchWire, RequestHeaderAndCountedTexts) {
  TSearchCtrl ctrl;
  InitSearchCtrl(ctrl);
  ctrl.StartDir = "SYS:SYSTEM";
  ctrl.Masks = {"a.txt", "*.doc"};
  ctrl.OptionB = 1;
  ctrl.OptionC = 1;
  ctrl.OptionD = 2;
  ctrl.V1 = 0x11223344;
  std::vector<uint8_t> r = BuildSearchRequest(ctrl, 0);
  ASSERT_EQ(r.size(), 48u + 2 + 10 + 2 + 11 + 2 + 2 + 2);
  EXPECT_EQ(GetLE32(&r[4]), 0u);
  EXPECT_EQ(r[9], 0);
  EXPECT_EQ(r[10], 0);  // option B set
  EXPECT_EQ(r[11], 2);  // option D
  EXPECT_EQ(r[12], 1);  // option C
  EXPECT_EQ(r[20], 255);
  EXPECT_EQ(GetLE32(&r[21]), 0x11223344u);
  EXPECT_EQ(r[39], 255);
  EXPECT_EQ(Counted16(r, 48), 10);
  EXPECT_EQ(std::string(r.begin() + 50, r.begin() + 60), "SYS:SYSTEM");
  EXPECT_EQ(Counted16(r, 60), 11);
  EXPECT_EQ(std::string(r.begin() + 62, r.begin() + 73), "A.TXT,*.DOC");
  EXPECT_EQ(Counted16(r, 73), 0);

  TSearchCtrl star;
  star.Masks = {"*"};
  star.OptionB = 0;
  std::vector<uint8_t> s = BuildSearchRequest(star, 3);
  EXPECT_EQ(star.Masks[0], "*.*");
  EXPECT_EQ(std::string(s.begin() + 52, s.begin() + 55), "*.*");
  EXPECT_EQ(s[10], 0xFF);
  EXPECT_EQ(GetLE32(&s[4]), 3u);
  EXPECT_EQ(s[9], 1);
}

TEST(SearchWire, VariableAreaHoldsAtMost1025Bytes) {
  TSearchCtrl ctrl;
  ctrl.StartDir = std::string(1025 - 10, 'D');  // the five counts take 10 bytes
  EXPECT_EQ(BuildSearchRequest(ctrl, 0).size(), 48u + 1025u);
  ctrl.StartDir += 'D';
  try {
    BuildSearchRequest(ctrl, 0);
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "Buffer to short!");
  }
}

TEST(SearchWire, StatusIsBoundedByTheReply) {
  std::vector<uint8_t> reply(kSearchStatusSize, 0);
  PutLE32(&reply[0], 7);
  PutLE32(&reply[4], 1), PutLE32(&reply[8], 4), PutLE32(&reply[12], 2), PutLE32(&reply[16], 3);
  reply[20] = 1;
  memcpy(&reply[21], "SYS:SYSTEM", 10);
  TSearchStatus s = DecodeSearchStatus(reply.data(), reply.size(), reply.size());
  EXPECT_EQ(s.Found, 7u);
  EXPECT_EQ(s.C1, 1u);
  EXPECT_EQ(s.C2, 2u);
  EXPECT_EQ(s.C3, 3u);
  EXPECT_EQ(s.C4, 4u);
  EXPECT_TRUE(s.Finished);
  EXPECT_EQ(s.CurrentDir, "SYS:SYSTEM");
  // A directory without terminator ends with the bytes received.
  EXPECT_EQ(DecodeSearchStatus(reply.data(), reply.size(), 25).CurrentDir, "SYS:");
  EXPECT_THROW(DecodeSearchStatus(reply.data(), reply.size(), 10), TNWException);
  EXPECT_THROW(DecodeSearchStatus(reply.data(), 100, 277), TNWException);
}

TEST(SearchWire, ResultRecordsBecomeEntries) {
  std::vector<uint8_t> reply = Batch({Record("A.TXT", 0), Record(std::string(255, 'N'), 3)});
  std::vector<TSearchEntry> entries;
  ASSERT_TRUE(DecodeSearchResults(reply.data(), reply.size(), reply.size(), entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(EntryName(entries[0]), "A.TXT");
  EXPECT_EQ(GetLE32(&entries[0][4]), 0x20u);
  EXPECT_EQ(entries[0][32], 0x12);
  EXPECT_EQ(entries[0][33], 0x34);
  EXPECT_EQ(entries[0][22], 0x56);
  EXPECT_EQ(entries[0][12], 0x78);
  // A 255-character name: its length byte is 255 and its terminator at offset 340.
  EXPECT_EQ(entries[1][84], 255);
  EXPECT_EQ(entries[1][339], 'N');
  EXPECT_EQ(entries[1][340], 0);
  EXPECT_EQ(EntryDirIndex(entries[1]), 3u);
  EXPECT_FALSE(DecodeSearchResults(reply.data(), reply.size(), 4, entries));  // records announced, none received
}

TEST(SearchWire, BrokenBatchesAreDroppedWhole) {
  std::vector<TSearchEntry> entries;
  auto decode = [&](const std::vector<uint8_t>& reply, size_t length) {
    return DecodeSearchResults(reply.data(), reply.size(), length, entries);
  };
  // Record lengths adding up to more than 4097 bytes (the simulated fault announces 3000).
  std::vector<uint8_t> big = Batch({Record("A", 0, 3000), Record("B", 0)});
  big.resize(4101, 0);
  EXPECT_FALSE(decode(big, big.size()));
  EXPECT_TRUE(entries.empty());
  // More records announced than received.
  std::vector<uint8_t> short1 = Batch({Record("A", 0)}, 2);
  EXPECT_FALSE(decode(short1, short1.size()));
  // A record running past the bytes received, or too short for its fields.
  std::vector<uint8_t> past = Batch({Record("ABC", 0, 100)});
  EXPECT_FALSE(decode(past, past.size()));
  std::vector<uint8_t> tiny = Batch({Record("A", 0, 20)});
  EXPECT_FALSE(decode(tiny, tiny.size()));
  // A name without its terminator in the record, or longer than 255 characters.
  std::vector<uint8_t> open = Batch({Record("ABC", 0, 33)});
  EXPECT_FALSE(decode(open, open.size()));
  std::vector<uint8_t> longName = Batch({Record(std::string(256, 'N'), 0)});
  EXPECT_FALSE(decode(longName, longName.size()));
  // A reply longer than its buffer.
  std::vector<uint8_t> good = Batch({Record("A", 0)});
  EXPECT_FALSE(decode(good, good.size() + 1));
  EXPECT_TRUE(decode(good, good.size()));
}

TEST(SearchWire, DirectoryNameEndsWithTheReply) {
  std::vector<uint8_t> reply = {'S', 'Y', 'S', ':', 'A', 0, 'x'};
  EXPECT_EQ(DecodeDirectoryName(reply.data(), reply.size(), reply.size()), "SYS:A");
  EXPECT_EQ(DecodeDirectoryName(reply.data(), reply.size(), 3), "SYS");
  EXPECT_THROW(DecodeDirectoryName(reply.data(), reply.size(), 8), TNWException);
}
