// The remote file list's bytes: records as the build writes them and as the installer
// reads them back, including lists cut short.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/FileListFormat.h"

using namespace setup;

namespace {

std::vector<TFileListEntry> ReadAll(const std::string& Bytes) {
  size_t position = 0;
  std::vector<TFileListEntry> entries;
  ReadFileList(
      [&](char* Buffer, size_t Count) {
        size_t n = std::min(Count, Bytes.size() - position);
        std::memcpy(Buffer, Bytes.data() + position, n);
        position += n;
        return n;
      },
      [&](const TFileListEntry& Entry) { entries.push_back(Entry); });
  return entries;
}

}  // namespace

TEST(FileListFormat, ARecordsBytesAreSizeDateNameAndVersion) {
  TFileListEntry entry{0x01020304, 36526.5, "MainProgram", "4.0.1.17"};
  std::string record = EncodeFileListRecord(entry);
  ASSERT_EQ(record.size(), 80u);
  EXPECT_EQ(record.substr(0, 8), std::string("\x04\x03\x02\x01\0\0\0\0", 8));
  double date;
  std::memcpy(&date, record.data() + 8, 8);
  EXPECT_EQ(date, 36526.5);
  EXPECT_EQ(record.substr(16, 12), std::string("MainProgram\0", 12));
  EXPECT_EQ(record.substr(56, 9), std::string("4.0.1.17\0", 9));
  EXPECT_EQ(record.find_first_not_of('\0', 65), std::string::npos) << "the rest of the record is zero";
  EXPECT_EQ(EncodeFileListCount(-2), std::string("\xFE\xFF\xFF\xFF", 4));
}

TEST(FileListFormat, LongNamesAndVersionsAreCutAndReadBackToTheirFields) {
  TFileListEntry entry{-5, -1.25, std::string(50, 'N'), std::string(30, '9')};
  TFileListEntry back = DecodeFileListRecord(EncodeFileListRecord(entry).data());
  EXPECT_EQ(back.Size, -5);
  EXPECT_EQ(back.Date, -1.25);
  EXPECT_EQ(back.Name, std::string(39, 'N')) << "the writer keeps the name's terminating zero";
  EXPECT_EQ(back.Version, std::string(20, '9'));

  // A name that fills all 40 bytes is read as those 40; bytes after a version's zero and
  // past its 20 characters are ignored.
  std::string record = EncodeFileListRecord({1, 0, "x", "1.0"});
  std::memset(record.data() + 16, 'A', 40);
  std::memcpy(record.data() + 60, "junk", 4);
  std::memset(record.data() + 56, 'V', 24);
  TFileListEntry read = DecodeFileListRecord(record.data());
  EXPECT_EQ(read.Name, std::string(40, 'A'));
  EXPECT_EQ(read.Version, std::string(20, 'V'));
}

TEST(FileListFormat, AListReadsBackInOrder) {
  std::string bytes = EncodeFileListCount(3) + EncodeFileListRecord({10, 1.0, "First", "1"}) +
                      EncodeFileListRecord({20, 2.0, "Second", ""}) + EncodeFileListRecord({30, 3.0, "Third", "3"}) +
                      "trailing bytes are not read";
  std::vector<TFileListEntry> entries = ReadAll(bytes);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Name, "First");
  EXPECT_EQ(entries[1].Size, 20);
  EXPECT_EQ(entries[1].Version, "");
  EXPECT_EQ(entries[2].Date, 3.0);
  EXPECT_TRUE(ReadAll(EncodeFileListCount(0)).empty());
  EXPECT_TRUE(ReadAll(EncodeFileListCount(-7)).empty()) << "a negative count means no entries";
}

TEST(FileListFormat, AListCutShortIsRefusedAfterTheWholeRecordsBeforeIt) {
  EXPECT_THROW(ReadAll(""), EFileListTruncated);
  EXPECT_THROW(ReadAll(std::string("\x01\0\0", 3)), EFileListTruncated);
  std::string two = EncodeFileListCount(2) + EncodeFileListRecord({1, 0, "One", ""}) +
                    EncodeFileListRecord({2, 0, "Two", ""}).substr(0, 79);
  size_t seen = 0;
  size_t position = 0;
  EXPECT_THROW(ReadFileList(
                   [&](char* Buffer, size_t Count) {
                     // One byte at a time: the reader gathers its records itself.
                     if (position >= two.size() || Count == 0) return size_t{0};
                     Buffer[0] = two[position++];
                     return size_t{1};
                   },
                   [&](const TFileListEntry&) { ++seen; }),
               EFileListTruncated);
  EXPECT_EQ(seen, 1u);
  // A huge count over a short file ends at the data, without reserving anything.
  EXPECT_THROW(ReadAll(EncodeFileListCount(0x7FFFFFFF) + EncodeFileListRecord({})), EFileListTruncated);
}
