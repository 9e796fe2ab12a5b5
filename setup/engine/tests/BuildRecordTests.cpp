// The self-extract record's bytes and its checked reading, and the build folder line of
// "BUILD.INF". Portable: these run natively too.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/BuildInfText.h"
#include "engine/SelfExtractRecord.h"

namespace setup {
namespace {

// A loader of 20,480 bytes, a setup.1 of 1,000,000 and a files.1 of 3,000,000.
TSelfExtractInfo ExampleInfo() {
  TSelfExtractInfo info;
  info.SelfExtracting = true;
  info.Setup1First = 20480;
  info.Setup1Last = 20480 + 1000000 - 1;
  info.Files1First = 20480 + 1000000;
  info.Files1Last = 20480 + 1000000 + 3000000 - 1;
  return info;
}
constexpr int64_t kExampleRecordPosition = 20480 + 1000000 + 3000000;

TEST(SelfExtractRecord, BytesOfTheExampleLayout) {
  const TSelfExtractBytes bytes = EncodeSelfExtractInfo(ExampleInfo());
  const uint8_t expected[32] = {14,   'S',  'E',  'L',  'F',  'E',  'X',  'T',  'R',  'A',  'C',
                                'T',  'I',  'N',  'G',  0,    0x00, 0x50, 0x00, 0x00, 0x3F, 0x92,
                                0x0F, 0x00, 0x40, 0x92, 0x0F, 0x00, 0xFF, 0x58, 0x3D, 0x00};
  EXPECT_EQ(0, std::memcmp(bytes.data(), expected, sizeof expected));
  for (size_t i = 32; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << i;

  TSelfExtractInfo read;
  std::string reason;
  ASSERT_TRUE(DecodeSelfExtractInfo(bytes.data(), kExampleRecordPosition, read, reason)) << reason;
  EXPECT_TRUE(read.SelfExtracting);
  EXPECT_EQ(read.Setup1First, 20480);
  EXPECT_EQ(read.Setup1Size(), 1000000);
  EXPECT_EQ(read.Files1Size(), 3000000);
}

TEST(SelfExtractRecord, WithoutFilesAndNotSelfExtracting) {
  TSelfExtractInfo info = ExampleInfo();
  info.Files1First = info.Files1Last = 0;
  TSelfExtractInfo read;
  std::string reason;
  ASSERT_TRUE(DecodeSelfExtractInfo(EncodeSelfExtractInfo(info).data(), 1020480, read, reason)) << reason;
  EXPECT_FALSE(read.HasFiles1());
  EXPECT_EQ(read.Files1Size(), 0);

  // The separate-files record has no offsets, whatever it was given.
  const TSelfExtractBytes plain = EncodeSelfExtractInfo(TSelfExtractInfo{false, 5, 6, 7, 8});
  EXPECT_EQ(0, std::memcmp(&plain[1], "NOTSELFEXTRACT", 14));
  for (size_t i = 15; i < plain.size(); ++i) EXPECT_EQ(plain[i], 0) << i;
  ASSERT_TRUE(DecodeSelfExtractInfo(plain.data(), 100, read, reason)) << reason;
  EXPECT_FALSE(read.SelfExtracting);
}

TEST(SelfExtractRecord, UnsoundRecordsAreRefused) {
  auto refused = [](TSelfExtractBytes bytes, int64_t position) {
    TSelfExtractInfo read;
    read.Setup1First = 99;
    std::string reason;
    const bool ok = DecodeSelfExtractInfo(bytes.data(), position, read, reason);
    EXPECT_EQ(read.Setup1First, 0) << "a refused record leaves the result cleared";
    return !ok && !reason.empty();
  };
  const TSelfExtractBytes good = EncodeSelfExtractInfo(ExampleInfo());
  TSelfExtractBytes bytes{};
  EXPECT_TRUE(refused(bytes, kExampleRecordPosition)) << "garbage";
  bytes = good;
  bytes[3] = 'l';
  EXPECT_TRUE(refused(bytes, kExampleRecordPosition)) << "marker";
  bytes = good;
  bytes[0] = 13;
  EXPECT_TRUE(refused(bytes, kExampleRecordPosition)) << "marker length";
  EXPECT_TRUE(refused(good, kExampleRecordPosition - 1)) << "files.1 reaches into the record";

  auto with = [&](TSelfExtractInfo info) { return EncodeSelfExtractInfo(info); };
  TSelfExtractInfo info = ExampleInfo();
  info.Setup1First = -1;
  EXPECT_TRUE(refused(with(info), kExampleRecordPosition)) << "negative start";
  info = ExampleInfo();
  info.Setup1Last = info.Setup1First - 1;
  EXPECT_TRUE(refused(with(info), kExampleRecordPosition)) << "setup.1 ends before it starts";
  info = ExampleInfo();
  info.Files1First = info.Setup1Last;
  EXPECT_TRUE(refused(with(info), kExampleRecordPosition)) << "files.1 overlaps setup.1";
  info = ExampleInfo();
  info.Files1Last = info.Files1First - 1;
  EXPECT_TRUE(refused(with(info), kExampleRecordPosition)) << "files.1 ends before it starts";
  info = ExampleInfo();
  info.Files1First = info.Files1Last = 0;
  EXPECT_TRUE(refused(with(info), info.Setup1Last)) << "setup.1 reaches into the record";

  bytes = EncodeSelfExtractInfo(TSelfExtractInfo{});
  bytes[20] = 1;
  EXPECT_TRUE(refused(bytes, 100)) << "a NOTSELFEXTRACT record with offsets";
}

TEST(BuildInf, TheFirstLineTrimmedNamesTheBuildFolder) {
  std::string folder;
  EXPECT_TRUE(BuildDirectoryFromBuildInf("  C:\\My Build \t\r\nsecond line\r\n", folder));
  EXPECT_EQ(folder, "C:\\My Build");
  EXPECT_TRUE(BuildDirectoryFromBuildInf("D:\\out", folder));
  EXPECT_EQ(folder, "D:\\out");
  EXPECT_TRUE(BuildDirectoryFromBuildInf("D:\\x\ry", folder));
  EXPECT_EQ(folder, "D:\\x");
  for (const char* missing : {"", "\r\n", "   \t\nC:\\later", "\n\n"}) {
    EXPECT_FALSE(BuildDirectoryFromBuildInf(missing, folder)) << '"' << missing << '"';
    EXPECT_EQ(folder, "");
  }
}

}  // namespace
}  // namespace setup
