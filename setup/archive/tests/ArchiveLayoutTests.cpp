// The archive on disk: byte layout, offsets, appending, identifiers and damaged input.
#include <zlib.h>

#include <cmath>
#include <cstring>

#include "ArchiveTestSupport.h"
#include "ArchiveText.h"

using namespace setup;
using namespace archive_test;

namespace {

class ArchiveLayout : public ScratchTest {
 protected:
  void Build(const std::vector<std::string>& files, int id = 0, TlzhCommand command = lzcOverwrite) {
    Archive.SetCompressedFile(Path("files.1"));
    SetFiles(Archive, files);
    Archive.Compress(command, id);
  }
  void ExtractTo(const std::string& folder, const std::vector<std::string>& names) {
    Archive.SetExtractDirectory(folder);
    SetFiles(Archive, names);
    Archive.Extract();
  }
  TQnlkCompress Archive{nullptr};
};

TEST_F(ArchiveLayout, TwoFilesStandWithTheirHeadersInAChain) {
  Bytes first = TextBytes(70000), second = RandomBytes(3000, 1);
  WriteBytes(Path("first.txt"), first);
  WriteBytes(Path("second.bin"), second);
  SetFileDate(Path("first.txt"), 2004, 5, 6, 7);
  EventLog log;
  log.Attach(Archive);
  Build({Path("first.txt"), Path("second.bin") + ";ignored part"}, 42);

  Bytes a = ReadBytes(Path("files.1"));
  ASSERT_GT(a.size(), 5u + 2 * 176);
  EXPECT_EQ(Int32At(a, 0), 2);
  EXPECT_EQ(a[4], 0);

  const size_t h1 = 5;
  EXPECT_EQ(Int32At(a, h1 + 0), 1);
  EXPECT_EQ(Int32At(a, h1 + 4), 0);
  double date;
  memcpy(&date, &a[h1 + 8], 8);
  EXPECT_DOUBLE_EQ(date, 38113.0 + 7.0 / 24);  // 6 May 2004, 7:00
  EXPECT_EQ(a[h1 + 16], 0);
  std::string name = Path("first.txt");
  EXPECT_EQ(a[h1 + 24], name.size());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&a[h1 + 25]), name.size()), name);
  EXPECT_EQ(Int32At(a, h1 + 132), 70000);
  const int32_t data1 = Int32At(a, h1 + 136), size1 = Int32At(a, h1 + 140);
  EXPECT_EQ(data1, 181);
  EXPECT_EQ(Int32At(a, h1 + 20), data1 + size1 - 1);  // end position: last byte of the data
  EXPECT_EQ(Int32At(a, h1 + 128), data1 + size1);     // next header right behind it
  EXPECT_EQ(a[h1 + 144], 0);
  EXPECT_EQ(Int32At(a, h1 + 148), 42);
  EXPECT_EQ(a[h1 + 152], 0);  // no version resource
  for (size_t at : {h1 + 17, h1 + 125, h1 + 145, h1 + 173})
    EXPECT_EQ(a[at] | a[at + 1] | a[at + 2], 0) << "reserved bytes at " << at;

  const size_t h2 = static_cast<size_t>(data1 + size1);
  EXPECT_EQ(Int32At(a, h2 + 0), 2);
  EXPECT_EQ(a[h2 + 24], Path("second.bin").size());  // only the first ";" item is stored
  const int32_t data2 = Int32At(a, h2 + 136), size2 = Int32At(a, h2 + 140);
  EXPECT_EQ(data2, static_cast<int32_t>(h2) + 176);
  EXPECT_EQ(Int32At(a, h2 + 128), static_cast<int32_t>(a.size()));
  EXPECT_EQ(data2 + size2, static_cast<int32_t>(a.size()));

  // Events: one before and one after each file; each file's last status is whole.
  ASSERT_EQ(log.Before.size(), 2u);
  ASSERT_EQ(log.After.size(), 2u);
  EXPECT_EQ(log.Before[0].TotalSize, 73000);
  EXPECT_EQ(log.After[0].FileDone, 70000);
  EXPECT_EQ(log.After[0].CompressedSize, size1);
  EXPECT_EQ(log.After[1].FileDone, 3000);
  EXPECT_EQ(log.After[1].TotalDone, 73000);
  EXPECT_EQ(log.After[1].TotalPercent, 100);
  EXPECT_EQ(log.After[1].TotalCompressed, size1 + size2);
  EXPECT_GT(log.After[1].Ratio, 99);  // random data does not shrink
  ASSERT_FALSE(log.Status.empty());
  EXPECT_TRUE(log.Status.back().Finished);

  // Each file's data is a complete zlib stream at the highest level that stock zlib reads back.
  for (auto [start, size, original] : {std::tuple{data1, size1, &first}, std::tuple{data2, size2, &second}}) {
    EXPECT_EQ(a[start], 0x78);
    EXPECT_EQ(a[start + 1], 0xDA);
    Bytes out(original->size() + 1);
    uLongf outSize = static_cast<uLongf>(out.size());
    ASSERT_EQ(uncompress(out.data(), &outSize, &a[start], static_cast<uLong>(size)), Z_OK);
    out.resize(outSize);
    EXPECT_EQ(out, *original);
  }
}

TEST_F(ArchiveLayout, StockZlibStreamsAndEmptyFilesExtract) {
  // An archive whose data came from stock zlib's compress2 extracts like our own.
  Bytes text = TextBytes(20000);
  WriteBytes(Path("doc.txt"), text);
  WriteBytes(Path("empty.dat"), {});
  Build({Path("doc.txt"), Path("empty.dat")});
  Bytes a = ReadBytes(Path("files.1"));
  Bytes z(compressBound(text.size()));
  uLongf zSize = static_cast<uLongf>(z.size());
  ASSERT_EQ(compress2(z.data(), &zSize, text.data(), text.size(), 1), Z_OK);
  z.resize(zSize);
  Bytes rebuilt(a.begin(), a.begin() + 181);
  rebuilt.insert(rebuilt.end(), z.begin(), z.end());
  const int32_t oldNext = Int32At(a, 5 + 128);
  SetInt32At(rebuilt, 5 + 20, 181 + static_cast<int32_t>(zSize) - 1);
  SetInt32At(rebuilt, 5 + 128, 181 + static_cast<int32_t>(zSize));
  SetInt32At(rebuilt, 5 + 140, static_cast<int32_t>(zSize));
  Bytes second(a.begin() + oldNext, a.end());
  int32_t shift = 181 + static_cast<int32_t>(zSize) - oldNext;
  for (size_t f : {20u, 128u, 136u}) SetInt32At(second, f, Int32At(second, f) + shift);
  rebuilt.insert(rebuilt.end(), second.begin(), second.end());
  WriteBytes(Path("files.1"), rebuilt);

  EventLog log;
  log.Attach(Archive);
  Archive.ListFiles();
  ASSERT_EQ(log.Listing.size(), 2u);
  EXPECT_EQ(log.Listing[1].FileSize, 0);
  EXPECT_EQ(log.Listing[1].Ratio, 0);
  EXPECT_GT(log.Listing[1].CompressedSize, 0);

  CreateDirectoryA(Path("out").c_str(), nullptr);
  ExtractTo(Path("out"), {Path("doc.txt"), Path("EMPTY.DAT")});
  EXPECT_EQ(ReadBytes(Path("out\\doc.txt")), text);
  EXPECT_TRUE(FileExists(Path("out\\empty.dat")));
  EXPECT_TRUE(ReadBytes(Path("out\\empty.dat")).empty());
}

TEST_F(ArchiveLayout, ArchiveInsideALargerFileIsReadAtItsOffset) {
  Bytes one = TextBytes(5000), two = RandomBytes(7000, 2);
  WriteBytes(Path("one.txt"), one);
  WriteBytes(Path("two.bin"), two);
  Build({Path("one.txt"), Path("two.bin")});
  Bytes host = RandomBytes(1234, 3), archive = ReadBytes(Path("files.1")), trailer = RandomBytes(56, 4);
  host.insert(host.end(), archive.begin(), archive.end());
  host.insert(host.end(), trailer.begin(), trailer.end());
  WriteBytes(Path("setup.exe"), host);

  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Path("setup.exe"));
  reader.SetOffset(1234);
  EXPECT_EQ(reader.GetFileCount(), 2);
  reader.SetExtractDirectory(Path("out"));
  SetFiles(reader, {Path("two.bin"), Path("one.txt")});
  reader.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\one.txt")), one);
  EXPECT_EQ(ReadBytes(Path("out\\two.bin")), two);
}

TEST_F(ArchiveLayout, AppendingKeepsTheOldArchiveAndNumbersFromOne) {
  WriteBytes(Path("a.txt"), TextBytes(3000));
  WriteBytes(Path("b.txt"), TextBytes(4000));
  Build({Path("a.txt")}, 5);
  Bytes before = ReadBytes(Path("files.1"));
  Build({Path("b.txt")}, 7, lzcOnlyAdd);
  Bytes after = ReadBytes(Path("files.1"));

  ASSERT_GT(after.size(), before.size());
  EXPECT_EQ(Int32At(after, 0), 2);
  EXPECT_TRUE(std::equal(before.begin() + 4, before.end(), after.begin() + 4));
  const size_t h2 = before.size();
  EXPECT_EQ(Int32At(after, h2), 1);  // appended files are numbered from 1 again
  EXPECT_EQ(Int32At(after, h2 + 136), static_cast<int32_t>(h2 + 176));
  EXPECT_EQ(Archive.GetHeaderIndexByID(5), 0);
  EXPECT_EQ(Archive.GetHeaderIndexByID(7), 1);
  ExtractTo(Path("out"), {Path("a.txt"), Path("b.txt")});
  EXPECT_EQ(ReadBytes(Path("out\\a.txt")), TextBytes(3000));
  EXPECT_EQ(ReadBytes(Path("out\\b.txt")), TextBytes(4000));
}

// A build adds one file per call. The writer keeps the header table it wrote instead of
// reading it again for every file, but reads it anew when the archive was written by
// another or its own headers came from another archive meanwhile.
TEST_F(ArchiveLayout, AppendingFileByFileNoticesWhatHappenedInBetween) {
  constexpr int kFiles = 24;
  auto name = [&](int i) { return Path("f" + std::to_string(i) + ".txt"); };
  auto contents = [](int i) { return TextBytes(100 + 37 * i); };
  for (int i = 0; i < kFiles; ++i) WriteBytes(name(i), contents(i));
  WriteBytes(Path("x.txt"), TextBytes(999));
  WriteBytes(Path("y.txt"), TextBytes(555));
  TQnlkCompress other(nullptr);
  other.SetCompressedFile(Path("other.1"));
  SetFiles(other, {Path("y.txt")});
  other.Compress(lzcOverwrite, 200);

  Build({name(0)}, 1);
  for (int i = 1; i < kFiles; ++i) {
    if (i == 8) {  // another writer appends to the same archive
      TQnlkCompress another(nullptr);
      another.SetCompressedFile(Path("files.1"));
      SetFiles(another, {Path("x.txt")});
      another.Compress(lzcOnlyAdd, 100);
    }
    if (i == 16) {  // the writer reads another archive's headers
      Archive.SetCompressedFile(Path("other.1"));
      EXPECT_EQ(Archive.GetFileCount(), 1);
    }
    Build({name(i)}, i + 1, lzcOnlyAdd);
  }

  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Path("files.1"));
  ASSERT_EQ(reader.GetFileCount(), kFiles + 1);
  EXPECT_EQ(reader.GetHeaderIndexByID(100), 8);
  std::vector<std::string> all{Path("x.txt")};
  for (int i = 0; i < kFiles; ++i) all.push_back(name(i));
  reader.SetExtractDirectory(Path("out"));
  SetFiles(reader, all);
  reader.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\x.txt")), TextBytes(999));
  for (int i = 0; i < kFiles; ++i) EXPECT_EQ(ReadBytes(Path("out\\f" + std::to_string(i) + ".txt")), contents(i)) << i;
}

// Extraction finds files appended behind those it read before, and a name stored twice
// gives its first file, as a search from the front of the archive does.
TEST_F(ArchiveLayout, AppendedFilesAreFoundAndTheFirstFileOfANameWins) {
  WriteBytes(Path("a.txt"), TextBytes(300));
  Build({Path("a.txt")}, 1);
  ExtractTo(Path("out"), {Path("a.txt")});
  WriteBytes(Path("a.txt"), RandomBytes(500, 3));  // a later a.txt, stored behind the first
  WriteBytes(Path("b.txt"), TextBytes(700));
  Build({Path("a.txt"), Path("b.txt")}, 2, lzcOnlyAdd);
  ExtractTo(Path("again"), {Path("b.txt"), Path("a.txt")});
  EXPECT_EQ(ReadBytes(Path("again\\b.txt")), TextBytes(700));
  EXPECT_EQ(ReadBytes(Path("again\\a.txt")), TextBytes(300));
}

// The writer keeps the header table it wrote while the archive keeps its size and its
// write time; another archive of the very same size written over it in between is read
// anew before files are appended to it.
TEST_F(ArchiveLayout, AnArchiveOfTheSameSizeWrittenInBetweenIsReadAgain) {
  // Stored, not compressed: a file's data take its size and a fixed overhead.
  Archive.SetCompressionLevel(colNone);
  WriteBytes(Path("b1.txt"), TextBytes(400));
  WriteBytes(Path("b2.txt"), TextBytes(600));
  WriteBytes(Path("c.txt"), TextBytes(250));
  TQnlkCompress other(nullptr);
  other.SetCompressionLevel(colNone);
  other.SetCompressedFile(Path("other.1"));
  SetFiles(other, {Path("b1.txt"), Path("b2.txt")});
  other.Compress(lzcOverwrite, 20);
  const Bytes two = ReadBytes(Path("other.1"));
  // One file whose archive is as large as that of the two.
  WriteBytes(Path("a.txt"), TextBytes(1));
  Build({Path("a.txt")}, 10);
  const size_t overhead = ReadBytes(Path("files.1")).size() - 1;
  WriteBytes(Path("a.txt"), TextBytes(two.size() - overhead));
  Build({Path("a.txt")}, 10);
  ASSERT_EQ(ReadBytes(Path("files.1")).size(), two.size());

  FILETIME written{};
  {
    fw::TFileHandle file(CreateFileA(Path("files.1").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    ASSERT_TRUE(GetFileTime(file.Get(), nullptr, nullptr, &written));
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file.Get(), two.data(), static_cast<DWORD>(two.size()), &done, nullptr));
    ULARGE_INTEGER earlier{{written.dwLowDateTime, written.dwHighDateTime}};
    earlier.QuadPart -= 36000000000ULL;  // an hour before
    written = {earlier.LowPart, earlier.HighPart};
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &written));
  }
  Build({Path("c.txt")}, 30, lzcOnlyAdd);

  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Path("files.1"));
  ASSERT_EQ(reader.GetFileCount(), 3);
  EXPECT_EQ(reader.GetHeaderIndexByID(20), 1);
  EXPECT_EQ(reader.GetHeaderIndexByID(30), 2);
  reader.SetExtractDirectory(Path("out"));
  SetFiles(reader, {Path("b1.txt"), Path("c.txt")});
  reader.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\b1.txt")), TextBytes(400));
  EXPECT_EQ(ReadBytes(Path("out\\c.txt")), TextBytes(250));
}

TEST_F(ArchiveLayout, AFailedOrCancelledAppendLeavesTheArchiveAsItWas) {
  WriteBytes(Path("a.txt"), TextBytes(3000));
  WriteBytes(Path("big.bin"), RandomBytes(300000, 5));
  Build({Path("a.txt")}, 1);
  const Bytes before = ReadBytes(Path("files.1"));

  // Cancelled after the first block of the second new file.
  EventLog log;
  log.Attach(Archive);
  Archive.OnStatus = [&](TQnlkCompress* c, const TlzhFileStats& s) {
    if (s.FileName == Path("big.bin")) c->SetAbort(true);
  };
  Build({Path("a.txt"), Path("big.bin")}, 2, lzcOnlyAdd);
  EXPECT_EQ(log.Aborted, 1);
  EXPECT_EQ(ReadBytes(Path("files.1")), before);
  Archive.OnStatus = nullptr;

  // A source that cannot be opened.
  EXPECT_EQ(ArchiveError([&] { Build({Path("missing.txt")}, 3, lzcOnlyAdd); }),
            "Cannot open the file " + Path("missing.txt"));
  EXPECT_TRUE(Archive.Abort());  // a failure stops whatever the shared component runs next
  EXPECT_EQ(ReadBytes(Path("files.1")), before);
  EXPECT_TRUE(Archive.FilesToProcess()->Count() == 0);
  EXPECT_EQ(Archive.GetFileCount(), 1);
}

TEST_F(ArchiveLayout, IdentifiersFindTheirOwnHeaderOrNone) {
  WriteBytes(Path("a.txt"), TextBytes(100));
  Build({Path("a.txt")}, 1999);
  Build({Path("a.txt")}, 2000, lzcOnlyAdd);
  Build({Path("a.txt")}, -1, lzcOnlyAdd);
  Build({Path("a.txt")}, 12, lzcOnlyAdd);
  EXPECT_EQ(Archive.GetFileCount(), 4);
  EXPECT_EQ(Archive.GetHeaderIndexByID(1999), 0);
  EXPECT_EQ(Archive.GetHeaderIndexByID(12), 3);
  EXPECT_EQ(Archive.GetHeaderIndexByID(2000), -1);
  EXPECT_EQ(Archive.GetHeaderIndexByID(-1), -1);
  EXPECT_EQ(Archive.GetHeaderIndexByID(0), -1);  // never header 0 of another file
  EXPECT_EQ(Archive.GetHeaderIndexByID(13), -1);
  TlzhFileStats stats;
  Archive.GetFileStats(3, stats);
  EXPECT_EQ(stats.TotalSize, 400);
  EXPECT_EQ(ArchiveError([&] { Archive.GetFileStats(4, stats); }),
            "Tried to access the 4th file. This file is not defined");
}

TEST_F(ArchiveLayout, BuildRefusesNamesTheHeaderCannotHold) {
  std::string folder = Path(std::string(60, 'd'));
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string longName = folder + "\\" + std::string(60, 'f') + ".txt";
  WriteBytes(longName, TextBytes(10));
  WriteBytes(Path("a.txt"), TextBytes(10));
  Build({Path("a.txt")});
  const Bytes before = ReadBytes(Path("files.1"));
  std::string message = ArchiveError([&] { Build({Path("a.txt"), longName}); });
  EXPECT_NE(message.find(longName), std::string::npos) << message;
  EXPECT_EQ(ReadBytes(Path("files.1")), before);
}

TEST_F(ArchiveLayout, DamagedArchivesGiveClearErrorsAndLeaveTargetsAlone) {
  WriteBytes(Path("a.txt"), TextBytes(50000));
  WriteBytes(Path("b.bin"), RandomBytes(20000, 6));
  Build({Path("a.txt"), Path("b.bin")});
  const Bytes good = ReadBytes(Path("files.1"));
  const int32_t next = Int32At(good, 5 + 128), dataB = Int32At(good, next + 136);
  CreateDirectoryA(Path("out").c_str(), nullptr);
  const Bytes old = TextBytes(77);
  const std::string corrupt =
      "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";

  struct Case {
    const char* what;
    Bytes archive;
    std::string message;
  };
  std::vector<Case> cases;
  cases.push_back({"header chain cut off", Bytes(good.begin(), good.begin() + next + 100), corrupt});
  Bytes bigCount = good;
  SetInt32At(bigCount, 0, 3);
  cases.push_back({"count larger than the headers", bigCount, corrupt});
  Bytes huge = good;
  SetInt32At(huge, 0, 0x7FFFFFFF);
  cases.push_back({"absurd count", huge, corrupt});
  Bytes loop = good;
  SetInt32At(loop, 5 + 128, 5);
  cases.push_back({"chain pointing back", loop, corrupt});
  cases.push_back(
      {"too short for the count", Bytes(good.begin(), good.begin() + 3),
       "Could not read the file headers for the compressed file. The Archive file could possible be corrupt"});
  Bytes damaged = good;
  for (int i = 0; i < 64; ++i) damaged[dataB + 5000 + i] ^= 0x5A;
  cases.push_back({"damaged zlib data", damaged, "The compressed data of the file " + Path("b.bin") + " are damaged"});
  Bytes smallerSize = good;
  SetInt32At(smallerSize, next + 132, 19000);
  cases.push_back(
      {"more data than the header announces", smallerSize,
       "The decompressed file's size does not match with the actual size of the file.  The file is " + Path("b.bin")});
  Bytes shortData = good;
  shortData.resize(shortData.size() - 10);
  // The last header's next position now lies past the end.
  cases.push_back({"data cut off", shortData, corrupt});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(Path("files.1"), c.archive);
    WriteBytes(Path("out\\b.bin"), old);
    TQnlkCompress reader(nullptr);
    reader.SetCompressedFile(Path("files.1"));
    reader.SetExtractDirectory(Path("out"));
    SetFiles(reader, {Path("b.bin")});
    std::string message;
    try {
      reader.Extract();
    } catch (const fw::Exception& e) {
      message = e.Message();
    }
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(ReadBytes(Path("out\\b.bin")), old);
    EXPECT_EQ(FilesIn(Path("out")).size(), 1u) << "a temporary file was left behind";
  }
}

// The last header's next position is where appended files go: one past the end
// would grow the archive, one inside stored data would cut it while its header stays
// counted. Both are a damaged archive, read or appended to, and nothing is written.
TEST_F(ArchiveLayout, TheLastNextHeaderIsCheckedBeforeReadingOrAppending) {
  WriteBytes(Path("a.txt"), TextBytes(3000));
  WriteBytes(Path("b.txt"), TextBytes(4000));
  Build({Path("a.txt"), Path("b.txt")});
  const Bytes good = ReadBytes(Path("files.1"));
  const int32_t second = Int32At(good, 5 + 128);
  const std::string corrupt =
      "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";
  for (int32_t next : {static_cast<int32_t>(good.size()) + 4096, second + 176 + 10, second + 20}) {
    SCOPED_TRACE(next);
    Bytes bad = good;
    SetInt32At(bad, second + 128, next);
    WriteBytes(Path("files.1"), bad);
    TQnlkCompress writer(nullptr);
    writer.SetCompressedFile(Path("files.1"));
    SetFiles(writer, {Path("a.txt")});
    EXPECT_EQ(ArchiveError([&] { writer.Compress(lzcOnlyAdd, 1); }), corrupt);
    EXPECT_EQ(ReadBytes(Path("files.1")), bad);
    if (next > second + 176 + 10 || next < second + 176) {
      TQnlkCompress reader(nullptr);
      reader.SetCompressedFile(Path("files.1"));
      EXPECT_EQ(ArchiveError([&] { reader.ReadHeaders(); }), corrupt);
    }
  }
}

// A stored date that no date stamp holds leaves the extracted file with the time of
// its extraction.
TEST_F(ArchiveLayout, OutOfRangeDatesAreNoDate) {
  WriteBytes(Path("a.txt"), TextBytes(3000));
  Build({Path("a.txt")});
  Bytes a = ReadBytes(Path("files.1"));
  for (double date : {1e300, -5.0, 3e9, std::nan("")}) {
    SCOPED_TRACE(date);
    memcpy(&a[5 + 8], &date, 8);
    WriteBytes(Path("files.1"), a);
    TQnlkCompress reader(nullptr);
    reader.SetCompressedFile(Path("files.1"));
    reader.SetExtractDirectory(Path("out"));
    SetFiles(reader, {Path("a.txt")});
    reader.Extract();
    EXPECT_EQ(ReadBytes(Path("out\\a.txt")), TextBytes(3000));
    TWinFile out;
    ASSERT_TRUE(out.Open(Path("out\\a.txt"), TFileOpen::Read));
    uint32_t stamp = out.DosDateTime();
    SYSTEMTIME today;
    GetLocalTime(&today);
    EXPECT_EQ(stamp >> 25, static_cast<uint32_t>(today.wYear - 1980)) << "the file keeps a stored date";
  }
}

// colNone stores the data (zlib's level 0); the other levels compress.
TEST_F(ArchiveLayout, NoCompressionStoresTheData) {
  const Bytes text = TextBytes(200000);
  WriteBytes(Path("a.txt"), text);
  Archive.SetCompressionLevel(colNone);
  Build({Path("a.txt")});
  Bytes a = ReadBytes(Path("files.1"));
  const int32_t stored = Int32At(a, 5 + 140);
  EXPECT_GE(stored, static_cast<int32_t>(text.size()));
  EXPECT_LT(stored, static_cast<int32_t>(text.size()) + 200);
  EXPECT_EQ((a[181 + 2] >> 1) & 3, 0) << "not a stored deflate block";
  Archive.SetCompressionLevel(colFastest);
  Build({Path("a.txt")});
  EXPECT_LT(Int32At(ReadBytes(Path("files.1")), 5 + 140), static_cast<int32_t>(text.size()) / 4);
  ExtractTo(Path("out"), {Path("a.txt")});
  EXPECT_EQ(ReadBytes(Path("out\\a.txt")), text);
}

// Pointed at another archive, the component reads that archive's headers.
TEST_F(ArchiveLayout, AnotherArchiveIsReadAnew) {
  WriteBytes(Path("a.txt"), TextBytes(100));
  WriteBytes(Path("b.txt"), TextBytes(200));
  WriteBytes(Path("c.txt"), TextBytes(300));
  Build({Path("a.txt")}, 4);
  Archive.SetCompressedFile(Path("other.1"));
  SetFiles(Archive, {Path("b.txt"), Path("c.txt")});
  Archive.Compress(lzcOverwrite, 9);

  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Path("files.1"));
  EXPECT_EQ(reader.GetFileCount(), 1);
  EXPECT_EQ(reader.GetHeaderIndexByID(4), 0);
  reader.SetCompressedFile(Path("other.1"));
  EXPECT_EQ(reader.GetFileCount(), 2);
  EXPECT_EQ(reader.GetHeaderIndexByID(4), -1);
  EXPECT_EQ(reader.GetHeaderIndexByID(9), 1);
  EventLog log;
  log.Attach(reader);
  reader.ListFiles();
  ASSERT_EQ(log.Listing.size(), 2u);
  EXPECT_EQ(log.Listing[0].FileName, Path("b.txt"));
  // Another volume of the same set keeps the headers: they are the set's.
  reader.SetCompressedFile(Path("other.2"));
  EXPECT_EQ(reader.GetFileCount(), 2);
}

TEST_F(ArchiveLayout, UnknownNamesAndMissingArchivesAreNamed) {
  WriteBytes(Path("a.txt"), TextBytes(10));
  Build({Path("a.txt")});
  SetFiles(Archive, {" ", Path("a.txt"), ""});  // blank lines are dropped
  EXPECT_EQ(Archive.FilesToProcess()->Count(), 1);
  EXPECT_EQ(ArchiveError([&] { ExtractTo(Path("out"), {"nothere.txt"}); }),
            "The file <nothere.txt> was not found in the archive <" + Path("files.1") + ">");
  TQnlkCompress missing(nullptr);
  missing.SetCompressedFile(Path("none.1"));
  EXPECT_EQ(ArchiveError([&] { missing.ReadHeaders(); }), "Cannot open the compressed file " + Path("none.1"));
}

TEST(ArchiveText, DatesAndNames) {
  EXPECT_EQ(DosDateTimeToDateTime(0), 0.0);
  uint32_t stamp = (uint32_t((2004 - 1980) << 9 | 5 << 5 | 6) << 16) | (7 << 11 | 30 << 5 | 29);
  EXPECT_DOUBLE_EQ(DosDateTimeToDateTime(stamp), 38113.0 + (7 * 3600 + 30 * 60 + 58) / 86400.0);
  EXPECT_EQ(DateTimeToDosDateTime(DosDateTimeToDateTime(stamp)), stamp);
  uint32_t leap = (uint32_t((2000 - 1980) << 9 | 2 << 5 | 29) << 16);
  EXPECT_EQ(DateTimeToDosDateTime(DosDateTimeToDateTime(leap)), leap);
  EXPECT_EQ(DateTimeToDosDateTime(100.0), 0u);  // before 1980
  EXPECT_EQ(ChangeFileExt("C:\\x.y\\files.1", ".12"), "C:\\x.y\\files.12");
  EXPECT_EQ(ChangeFileExt("C:\\x.y\\files", ".2"), "C:\\x.y\\files.2");
  EXPECT_EQ(Percent(1, 3), 33);
  EXPECT_EQ(Percent(5, 0), 0);
}

}  // namespace
