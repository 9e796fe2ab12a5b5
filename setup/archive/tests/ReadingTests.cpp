// The archive's reading side without Windows: dates, the compression stream, header
// chains, identifiers, volumes and extraction into memory, and the version decision.
// Built into the Windows test program and natively with the sanitizers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "ArchiveReader.h"
#include "ArchiveText.h"
#include "MemoryArchives.h"
#include "OverwriteDecision.h"
#include "ZlibStream.h"
#include "support/Errors.h"

using namespace setup;
using namespace archive_memory;

namespace {

const std::string kCorrupt =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";

Bytes Text(size_t n) {
  static const char words[] = "the setup archive keeps every installed file in one compressed stream ";
  Bytes data(n);
  for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(words[(i * 7 + i / 13) % (sizeof words - 1)]);
  return data;
}

Bytes Noise(size_t n, uint32_t seed) {
  Bytes data(n);
  for (auto& b : data) {
    seed = seed * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(seed >> 24);
  }
  return data;
}

int32_t Int32At(const Bytes& data, size_t at) {
  return static_cast<int32_t>(uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
                              uint32_t(data[at + 3]) << 24);
}

void SetInt32At(Bytes& data, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

template <class F>
std::string ArchiveError(F&& f) {
  try {
    f();
  } catch (const EQnlkCompress& e) {
    return e.Message();
  }
  return "";
}

// A stored date that no date stamp can hold is no date: the extracted file keeps the
// time it was written, and no value reaches a conversion that cannot hold it.
TEST(ArchiveDates, DatesOutsideTheStampsRangeAreNoDate) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double date : {1e300, -1e300, std::nan(""), inf, -inf, -1.0, 0.0, 29220.99, 75972.0, 2.5e9, 1e10, 9.2e18})
    EXPECT_EQ(DateTimeToDosDateTime(date), 0u) << date;
  // The ends of the range still convert, both ways.
  const uint32_t first = (0u << 25 | 1u << 21 | 1u << 16),
                 last = (127u << 25 | 12u << 21 | 31u << 16 | 23u << 11 | 59u << 5 | 29u);
  EXPECT_EQ(DosDateTimeToDateTime(first), 29221.0);
  EXPECT_EQ(DateTimeToDosDateTime(DosDateTimeToDateTime(first)), first);
  EXPECT_EQ(DateTimeToDosDateTime(DosDateTimeToDateTime(last)), last);
  EXPECT_EQ(DateTimeToDosDateTime(38113.0 + 7.0 / 24), (24u << 25 | 5u << 21 | 6u << 16 | 7u << 11));
}

TEST(CompressionStream, LevelsAndThePositionItAnswers) {
  const Bytes data = Text(100000);
  auto compress = [&](TCompressionLevel level, int64_t* position = nullptr) {
    fw::TMemoryStream out;
    TCompressionStream zip(level, out);
    zip.Write(data.data(), 60000);
    if (position) *position = zip.Position();
    zip.Write(data.data() + 60000, data.size() - 60000);
    zip.Finish();
    return out.Data();
  };
  // colNone is zlib's level 0: stored blocks, the data as they are.
  Bytes stored = compress(colNone);
  ASSERT_GT(stored.size(), 3u);
  EXPECT_EQ(stored[1] >> 6, 0) << "the zlib header names the fastest level class";
  EXPECT_EQ((stored[2] >> 1) & 3, 0) << "the first block is not a stored block";
  EXPECT_GE(stored.size(), data.size());
  EXPECT_LT(stored.size(), data.size() + 100);
  // The other levels compress; colMax no worse than colFastest.
  Bytes fastest = compress(colFastest), best = compress(colMax);
  EXPECT_LT(fastest.size(), data.size() / 4);
  EXPECT_LE(best.size(), fastest.size());
  EXPECT_EQ(best[1] >> 6, 3);

  // The stream answers the bytes it took in as its position, and refuses to move.
  int64_t position = -1;
  compress(colDefault, &position);
  EXPECT_EQ(position, 60000);
  fw::TMemoryStream out;
  TCompressionStream zip(colDefault, out);
  EXPECT_EQ(zip.Seek(0, fw::soCurrent), 0);
  zip.Write(data.data(), 10);
  EXPECT_EQ(zip.Seek(0, fw::soCurrent), 10);
  EXPECT_THROW(zip.Seek(0, fw::soBeginning), fw::Exception);
  EXPECT_THROW(zip.Seek(5, fw::soCurrent), fw::Exception);
}

TEST(ArchiveTotals, SumsPast2GiBStayExact) {
  TFileHeaders headers;
  for (const char* name : {"a", "b", "c"}) {
    auto h = std::make_unique<TFileHeader>();
    h->SetName(name);
    h->SetUncompressedSize(INT32_MAX);
    h->SetCompressedSize(INT32_MAX / 2);
    headers.Add(std::move(h));
  }
  TlzhFileStats stats;
  headers.InitFileStats(stats);
  EXPECT_EQ(stats.TotalSize, 3 * int64_t(INT32_MAX));
  EXPECT_EQ(stats.TotalCompressed, 3 * int64_t(INT32_MAX / 2));
  EXPECT_EQ(stats.TotalRatio, 50);
  EXPECT_EQ(Percent(stats.TotalSize / 3, stats.TotalSize), 33);
}

class MemoryArchive : public ::testing::Test {
 protected:
  const Bytes First = Text(70000), Second = Noise(20000, 5), Empty{};
  const Bytes Single =
      MakeArchive({{"C:\\src\\first.txt", First, 7}, {"second.bin", Second, 1999}, {"empty", Empty, 2000}});

  void Load(const Bytes& archive, TFileHeaders& headers, TIdentifierTable& ids, int64_t offset = 0) {
    fw::TMemoryStream stream;
    stream.Write(archive.data(), archive.size());
    LoadArchiveHeaders(stream, offset, headers, ids);
  }
  // Extracts file Index of the archive whose first volume is Path in Files.
  // Without a workspace, in a fresh one.
  Bytes Extract(TMemoryFiles& files, std::string path, int index, const TAskForDisk& ask = {},
                TInflateWorkspace* workspace = nullptr) {
    TFileHeaders headers;
    TIdentifierTable ids;
    auto first = files.Open(path, TFileOpen::Read);
    LoadArchiveHeaders(*first, 0, headers, ids);
    const TFileHeader& h = headers[index];
    bool set = headers.MultiVolume == 1;
    auto volume = OpenVolume(files, set, std::max<int>(1, h.FirstVolume()), TFileOpen::Read, path, ask);
    fw::TMemoryStream out;
    TInflateHooks hooks;
    hooks.OpenNextVolume = [&](int n) { return OpenVolume(files, set, n, TFileOpen::Read, path, ask); };
    if (workspace)
      InflateFile(h, 0, volume, out, hooks, *workspace);
    else
      InflateFile(h, 0, volume, out, hooks);
    return out.Data();
  }
};

TEST_F(MemoryArchive, HeadersIdentifiersAndDataReadBack) {
  TFileHeaders headers;
  TIdentifierTable ids;
  Load(Single, headers, ids);
  ASSERT_EQ(headers.GetCount(), 3);
  EXPECT_EQ(headers[0].Name(), "C:\\src\\first.txt");
  EXPECT_EQ(ids.Find(7), 0);
  EXPECT_EQ(ids.Find(1999), 1);
  EXPECT_EQ(ids.Find(2000), -1);
  EXPECT_EQ(ids.Find(-1), -1);
  EXPECT_EQ(ids.Find(0), -1);
  EXPECT_EQ(headers.AppendPosition(), static_cast<int64_t>(Single.size()));

  TMemoryFiles files;
  files.Files["a\\files.1"] = Single;
  EXPECT_EQ(Extract(files, "a\\files.1", 0), First);
  EXPECT_EQ(Extract(files, "a\\files.1", 1), Second);
  EXPECT_EQ(Extract(files, "a\\files.1", 2), Empty);

  // The same archive inside a larger file, read at its offset.
  Bytes larger = Noise(333, 9);
  larger.insert(larger.end(), Single.begin(), Single.end());
  TFileHeaders inner;
  Load(larger, inner, ids, 333);
  EXPECT_EQ(inner.GetCount(), 3);
}

// A name finds its first header, as a search from the front of the table finds it (any
// case, the part before a ";"), also when headers were added after an earlier look-up.
TEST_F(MemoryArchive, ANameFindsItsFirstHeaderAlsoAfterHeadersWereAdded) {
  TFileHeaders headers;
  TIdentifierTable ids;
  Load(MakeArchive({{"a.txt", Text(10), 1}, {"b.txt", Text(20), 2}, {"A.TXT", Noise(30, 3), 3}}), headers, ids);
  EXPECT_EQ(headers.IndexOfName("a.txt"), 0);
  EXPECT_EQ(headers.IndexOfName("A.Txt;kept after the name"), 0);
  EXPECT_EQ(headers.IndexOfName("c.txt"), -1);
  for (const char* name : {"c.txt", "b.txt"}) {
    auto added = std::make_unique<TFileHeader>();
    added->SetName(name);
    headers.Add(std::move(added));
  }
  EXPECT_EQ(headers.IndexOfName("c.txt"), 3);
  EXPECT_EQ(headers.IndexOfName("b.txt"), 1);
}

TEST_F(MemoryArchive, EveryNextHeaderIsChecked) {
  const size_t last = Int32At(Single, 5 + 128 + 0);
  const size_t third = Int32At(Single, last + 128);
  struct Case {
    const char* what;
    int32_t next;
  } const cases[] = {
      {"past the end", static_cast<int32_t>(Single.size()) + 1},
      {"far past the end", INT32_MAX},
      {"inside its own header", static_cast<int32_t>(third + 100)},
      {"back to the start", 5},
      {"negative", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bad = Single;
    SetInt32At(bad, third + 128, c.next);
    TFileHeaders headers;
    TIdentifierTable ids;
    EXPECT_EQ(ArchiveError([&] { Load(bad, headers, ids); }), kCorrupt);
    EXPECT_EQ(headers.GetCount(), 0);
    EXPECT_EQ(ids.Find(7), -1);
  }
  // A next header that lies inside the data of a stored file cannot take appended files.
  Bytes inside = Single;
  SetInt32At(inside, last + 128, static_cast<int32_t>(third));  // second file's next: unchanged
  SetInt32At(inside, third + 128, static_cast<int32_t>(third + 176 + 2));
  TFileHeaders headers;
  TIdentifierTable ids;
  Load(inside, headers, ids);
  EXPECT_EQ(ArchiveError([&] { headers.AppendPosition(); }), kCorrupt);
}

TEST_F(MemoryArchive, VolumeSetsAskForDisksAndCheckEveryAnswer) {
  std::vector<Bytes> volumes = SplitArchive(Single, 6000);
  ASSERT_GE(volumes.size(), 3u);
  TMemoryFiles files;
  files.Files["A:\\disk.1"] = volumes[0];
  for (size_t i = 1; i < volumes.size(); ++i) files.Files["B:\\disk." + std::to_string(i + 1)] = volumes[i];

  // The fourth answer is the one that finds the disk.
  int asked = 0;
  auto fourth = [&](int, std::string& folder) { folder = ++asked == 4 ? "B:" : "A:"; };
  EXPECT_EQ(Extract(files, "A:\\disk.1", 0), First);
  asked = 0;
  EXPECT_EQ(Extract(files, "A:\\disk.1", 1, fourth), Second);
  EXPECT_EQ(asked, 4);

  // Without an answer that finds it, the disk is asked for four times.
  asked = 0;
  auto never = [&](int, std::string&) { ++asked; };
  EXPECT_EQ(ArchiveError([&] { Extract(files, "A:\\disk.1", 1, never); }),
            "Cannot open the compressed file A:\\disk.2");
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(ArchiveError([&] { Extract(files, "A:\\disk.1", 1); }), "Could not open the correct disk file 2");
}

TEST_F(MemoryArchive, DamagedDataGiveClearErrors) {
  TMemoryFiles files;
  const int32_t second = Int32At(Single, 5 + 128), data = Int32At(Single, second + 136);
  const std::string mismatch =
      "The decompressed file's size does not match with the actual size of the file.  The file is second.bin";
  struct Case {
    const char* what;
    Bytes archive;
    std::string message;
  };
  std::vector<Case> cases;
  Bytes damaged = Single;
  for (int i = 0; i < 64; ++i) damaged[data + 5000 + i] ^= 0x5A;
  cases.push_back({"damaged deflate data", damaged, "The compressed data of the file second.bin are damaged"});
  // A zlib header that asks for a preset dictionary.
  Bytes dictionary = Single;
  dictionary[data] = 0x78;
  dictionary[data + 1] = 0x20;
  cases.push_back({"preset dictionary", dictionary, "The compressed data of the file second.bin are damaged"});
  Bytes smaller = Single;
  SetInt32At(smaller, second + 132, 19000);
  cases.push_back({"more data than announced", smaller, mismatch});
  Bytes larger = Single;
  SetInt32At(larger, second + 132, 21000);
  cases.push_back({"less data than announced", larger, mismatch});
  Bytes cut = Single;
  SetInt32At(cut, second + 20, Int32At(Single, second + 20) - 10);
  cases.push_back({"stream cut short", cut, mismatch});
  Bytes away = Single;
  SetInt32At(away, second + 136, -50);
  cases.push_back({"data before the file", away, mismatch});
  // One workspace serves every case: nothing a failed file leaves in it reaches the next file.
  TInflateWorkspace workspace;
  files.Files["good.1"] = Single;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files.Files["files.1"] = c.archive;
    EXPECT_EQ(ArchiveError([&] { Extract(files, "files.1", 1, {}, &workspace); }), c.message);
    EXPECT_EQ(Extract(files, "good.1", 1, {}, &workspace), Second);
    EXPECT_EQ(Extract(files, "good.1", 0, {}, &workspace), First);
  }
}

TEST(CompareVersions, ItemsCompareAsNumbersElseAsText) {
  struct Case {
    const char *a, *b;
    int result;
  } const cases[] = {
      {"5.1.2600.0", "5.1.2600.0", 0},
      {"2.0", "10.0", 2},
      {"1.0.0.1", "1.0.0", 1},
      {"1.a", "1.b", 2},
      {"1.10", "1.9", 1},
      {"1.0.1", "1.0", 1},
      {"", "", 0},
      {"", "0", 2},
      {"1.B", "1.a", 2},
      {"2.x", "2.10", 1},
      {"3", "3.", 0},
      {"4.0", "4.00", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareVersions(c.a, c.b), c.result) << c.a << " / " << c.b;
}

TEST(DecideOverwrite, TheTableAsked) {
  std::string source = "1.0", target = "1.0";
  bool exists = true, datesReadable = true;
  int dateOrder = 0;
  int versionReads = 0;
  TOverwriteFacts facts;
  facts.TargetExists = [&] { return exists; };
  facts.SourceVersion = [&] {
    ++versionReads;
    return source;
  };
  facts.TargetVersion = [&] { return target; };
  facts.CompareDates = [&](int& r) {
    r = dateOrder;
    return datesReadable;
  };

  EXPECT_EQ(DecideOverwrite(owAlways, facts), odReplace);
  EXPECT_EQ(DecideOverwrite(owAsk, facts), odAsk);
  EXPECT_EQ(DecideOverwrite(6, facts), odFailed);
  EXPECT_EQ(DecideOverwrite(-1, facts), odFailed);
  EXPECT_EQ(versionReads, 0);
  EXPECT_EQ(DecideOverwrite(owNever, facts), odKeep);
  exists = false;
  EXPECT_EQ(DecideOverwrite(owNever, facts), odReplace);

  EXPECT_EQ(DecideOverwrite(owVersion, facts), odSame);
  source = "1.1";
  EXPECT_EQ(DecideOverwrite(owVersion, facts), odReplace);
  EXPECT_EQ(DecideOverwrite(owVersionDate, facts), odReplace);
  target = "1.2";
  EXPECT_EQ(DecideOverwrite(owVersion, facts), odKeep);
  EXPECT_EQ(DecideOverwrite(owVersionDate, facts), odKeep);

  target = source;
  for (auto [order, code] : {std::pair{0, odSame}, std::pair{1, odReplace}, std::pair{2, odKeep}}) {
    dateOrder = order;
    EXPECT_EQ(DecideOverwrite(owDate, facts), code);
    EXPECT_EQ(DecideOverwrite(owVersionDate, facts), code);
  }
  datesReadable = false;
  EXPECT_EQ(DecideOverwrite(owDate, facts), odFailed);
  EXPECT_EQ(DecideOverwrite(owVersionDate, facts), odFailed);
}

}  // namespace
