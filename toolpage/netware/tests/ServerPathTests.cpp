// Path forms, version numbers and the server-information replies: portable, run natively
// and under Wine.
#include <gtest/gtest.h>

#include <vector>

#include "NwErrors.h"
#include "ServerLoops.h"
#include "ServerPaths.h"
#include "WireFormat.h"

using namespace toolpage;

TEST(ServerPaths, JoinPutsOneSeparatorBetweenDirectoryAndName) {
  EXPECT_EQ(JoinServerPath("SYS:SYSTEM\\", "\\A.OKS"), "SYS:SYSTEM\\A.OKS");
  EXPECT_EQ(JoinServerPath("SYS:SYSTEM", "A.OKS"), "SYS:SYSTEM\\A.OKS");
  EXPECT_EQ(JoinServerPath("SYS:SYSTEM", "\\A.OKS"), "SYS:SYSTEM\\A.OKS");
  EXPECT_EQ(JoinServerPath("SYS:", "A.OKS"), "SYS:A.OKS");
  EXPECT_EQ(JoinServerPath("SRV1/", "SYS:X"), "SRV1/SYS:X");
  EXPECT_EQ(JoinServerPath("", "A"), "A");
  EXPECT_EQ(JoinServerPath("SYS:SYSTEM", ""), "SYS:SYSTEM");
}

TEST(ServerPaths, VolumeAndShareForms) {
  EXPECT_EQ(ExtractVolume("SYS:SYSTEM\\A"), "SYS:");
  EXPECT_EQ(ExtractVolume("SYSTEM\\A"), "");
  EXPECT_EQ(ServerPathToShareForm("SYS:SYSTEM"), "SYS\\SYSTEM");
  EXPECT_EQ(ServerPathToShareForm("SYS:\\PUBLIC"), "SYS\\PUBLIC");
  EXPECT_EQ(ServerPathToShareForm("SRV1/SYS:PUBLIC\\X"), "SYS\\PUBLIC\\X");
  EXPECT_EQ(ServerPathToShareForm("SYS:"), "SYS\\");
  EXPECT_TRUE(IsUNCOrDrivePath("\\\\SRV1\\SYS"));
  EXPECT_TRUE(IsUNCOrDrivePath("C:\\X"));
  EXPECT_FALSE(IsUNCOrDrivePath("SYS:X"));
  EXPECT_TRUE(IsVolumeRoot("VOL1:"));
  EXPECT_FALSE(IsVolumeRoot("VOL1:X"));
  EXPECT_FALSE(IsVolumeRoot(":"));
  EXPECT_FALSE(IsVolumeRoot("SRV/VOL1:"));
  EXPECT_EQ(MakeUNCPath("SRV1", "SYS\\SYSTEM"), "\\\\SRV1\\SYS\\SYSTEM");
}

TEST(ServerPaths, AnUnreadableServerNameIsAnErrorNotTheLocalRoot) {
  // Empty, this machine's devices, another server, share or device: never a path.
  for (const char* name : {"", ".", "..", "SRV\\C$", "SRV/X", "?", "C:", "SRV*", "A\tB", "A\x7F"})
    EXPECT_THROW(MakeUNCPath(name, "SYS\\SYSTEM"), TNWException) << name;
  EXPECT_EQ(MakeUNCPath("NW-4.SRV_1", "SYS"), "\\\\NW-4.SRV_1\\SYS");
  EXPECT_EQ(MakeUNCPath("SRV\x8E", "SYS"), "\\\\SRV\x8E\\SYS");  // OEM characters stay
}

TEST(ServerPaths, VersionNumbersAndComparison) {
  EXPECT_EQ(ServerVersionNumber(3, 12), 312);
  EXPECT_EQ(ServerVersionNumber(4, 10), 410);
  EXPECT_EQ(ServerVersionNumber(5, 0), 500);
  EXPECT_EQ(ServerVersionNumber(4, 5), 405);
  EXPECT_TRUE(IsVersionAtLeast(3, 12, 3, 12));
  EXPECT_TRUE(IsVersionAtLeast(4, 0, 3, 12));
  EXPECT_TRUE(IsVersionAtLeast(5, 0, 3, 12));
  EXPECT_FALSE(IsVersionAtLeast(3, 11, 3, 12));
  EXPECT_FALSE(IsVersionAtLeast(4, 0, 4, 10));
}

TEST(ServerPaths, ConnectionInformationKeepsTheNameWithinTheBlock) {
  std::vector<uint8_t> block(kConnInfoSize, 'A');  // a name without terminator
  PutLE32(&block[124], 4);
  PutLE32(&block[128], 11);
  TConnInfo info = DecodeConnInfoLevel2(block.data());
  EXPECT_EQ(info.ServerName.size(), 69u);  // up to the first zero byte (after the major version 4)
  EXPECT_EQ(info.Major, 4u);
  EXPECT_EQ(info.Minor, 11u);
}

TEST(ServerPaths, ModuleListBatches) {
  std::vector<uint8_t> buffer(kModuleListSize, 0);
  PutLE32(&buffer[16], 3);
  for (uint32_t i = 0; i < 3; ++i) PutLE32(&buffer[20 + 4 * i], 10 + i);
  TModuleBatch batch = DecodeModuleListBatch(buffer.data(), buffer.size());
  EXPECT_EQ(batch.Numbers, (std::vector<uint32_t>{10, 11, 12}));
  EXPECT_FALSE(batch.More);
  // A full batch (or a count above it) means: ask again 128 further on.
  PutLE32(&buffer[16], 300);
  batch = DecodeModuleListBatch(buffer.data(), buffer.size());
  EXPECT_EQ(batch.Numbers.size(), 128u);
  EXPECT_TRUE(batch.More);
  // A buffer too short for the count it holds is a broken reply.
  EXPECT_THROW(DecodeModuleListBatch(buffer.data(), 100), TNWException);
  EXPECT_THROW(DecodeModuleListBatch(buffer.data(), 19), TNWException);
}

// A batch of the loaded-module list: Count announced, the numbers given.
std::vector<uint8_t> ModuleBatch(uint32_t Count, const std::vector<uint32_t>& Numbers) {
  std::vector<uint8_t> buffer(kModuleListSize, 0);
  PutLE32(&buffer[16], Count);
  for (size_t i = 0; i < Numbers.size(); ++i) PutLE32(&buffer[20 + 4 * i], Numbers[i]);
  return buffer;
}

std::vector<uint32_t> Range(uint32_t First, uint32_t Count) {
  std::vector<uint32_t> numbers;
  for (uint32_t i = 0; i < Count; ++i) numbers.push_back(First + i);
  return numbers;
}

TEST(ServerLoops, TheModuleListEndsWhateverTheServerSays) {
  // Exactly 128 modules: asked again 128 further on, where the list ends.
  TModuleListWalk walk;
  std::vector<uint8_t> full = ModuleBatch(128, Range(1, 128));
  EXPECT_EQ(walk.Take(full.data(), full.size()), Range(1, 128));
  EXPECT_FALSE(walk.Done());
  EXPECT_EQ(walk.Start(), 128u);
  std::vector<uint8_t> empty = ModuleBatch(0, {});
  EXPECT_TRUE(walk.Take(empty.data(), empty.size()).empty());
  EXPECT_TRUE(walk.Done());
  // The same full batch again: the server does not move on.
  TModuleListWalk same;
  same.Take(full.data(), full.size());
  EXPECT_THROW(same.Take(full.data(), full.size()), TNWException);
  // Ever new full batches: 32 batches (4096 modules), then an error instead of a 33rd.
  TModuleListWalk endless;
  uint32_t batches = 0;
  try {
    for (; batches < 100; ++batches) {
      std::vector<uint8_t> batch = ModuleBatch(128, Range(1 + 128 * batches, 128));
      endless.Take(batch.data(), batch.size());
    }
  } catch (const TNWException& e) {
    EXPECT_EQ(e.ErrorCode(), NW_INVALID_REPLY_LENGTH);
  }
  EXPECT_EQ(batches + 1, kMaxModuleBatches);
  EXPECT_EQ(endless.Start(), (kMaxModuleBatches - 1) * 128);
}

TEST(ServerLoops, TheDirectoryScanMustMoveOnAndEnds) {
  TEntryScanWalk walk;
  EXPECT_EQ(GetLE32(walk.Sequence() + 8), 0xFFFFFFFFu);  // a new scan
  // An answer that leaves the sequence where it was would bring the same entry again.
  EXPECT_THROW(walk.Answered(), TNWException);
  TEntryScanWalk scan;
  uint32_t entries = 0;
  try {
    for (; entries < 2 * kMaxScannedEntries; ++entries) {
      PutLE32(scan.Sequence() + 8, entries);
      scan.Answered();
    }
  } catch (const TNWException& e) {
    EXPECT_EQ(e.ErrorCode(), NW_INVALID_REPLY_LENGTH);
  }
  EXPECT_EQ(entries, kMaxScannedEntries);
  EXPECT_EQ(scan.Answers(), kMaxScannedEntries + 1);
}

TEST(ServerPaths, NamesLookedUpInTheModuleList) {
  EXPECT_EQ(NlmLookupName("tuvek"), "TUVEK.NLM");
  EXPECT_EQ(NlmLookupName("VX4LIB.312"), "VX4LIB.312");
  EXPECT_EQ(NlmLookupName("SYS:SYSTEM\\Vx4cs.nlm"), "VX4CS.NLM");
}

TEST(ServerPaths, ScanMasksAndEntryNames) {
  EXPECT_EQ(ScanMaskOf("*.*").Pattern, "*");
  EXPECT_FALSE(ScanMaskOf("*.*").NamesWithoutDot);
  EXPECT_EQ(ScanMaskOf("*.").Pattern, "*");
  EXPECT_TRUE(ScanMaskOf("*.").NamesWithoutDot);
  EXPECT_EQ(ScanMaskOf("*.OKS").Pattern, "*.OKS");
  std::vector<uint8_t> info(kEntryInfoSize, 'x');
  info[84] = 255;
  EXPECT_EQ(EntryInfoName(info.data()).size(), 255u);
  info[84] = 3;
  EXPECT_EQ(EntryInfoName(info.data()), "xxx");
}
