// Extraction against existing targets, cancelling, and the uncompressed copy.
#include <cstring>

#include "ArchiveTestSupport.h"
#include "ArchiveText.h"
#include "FileSystem.h"
#include "support/FileHandles.h"
#include "support/Sha0.h"

using namespace setup;
using namespace archive_test;

namespace {

class Extraction : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    CreateDirectoryA(Path("out").c_str(), nullptr);
    WriteBytes(Path("new.txt"), NewData);
    SetFileDate(Path("new.txt"), 2020, 6, 15);
    Archive.SetCompressedFile(Path("files.1"));
    SetFiles(Archive, {Path("new.txt")});
    Archive.Compress(lzcOverwrite, 1);
    log.Attach(Archive);
  }
  // Extracts new.txt over an existing out\new.txt dated Year; true when it was replaced.
  bool ExtractOver(TOverwriteType mode, int year) {
    WriteBytes(Target(), OldData);
    SetFileDate(Target(), year, 6, 15);
    Archive.SetOverwrite(mode);
    Archive.SetExtractDirectory(Path("out"));
    SetFiles(Archive, {Path("new.txt")});
    Archive.Extract();
    EXPECT_FALSE(log.Status.empty());
    if (!log.Status.empty()) {
      EXPECT_TRUE(log.Status.back().Finished);
    }
    Bytes now = ReadBytes(Target());
    EXPECT_TRUE(now == NewData || now == OldData);
    return now == NewData;
  }
  std::string Target() const { return Path("out\\new.txt"); }

  const Bytes NewData = TextBytes(30000), OldData = TextBytes(500);
  TQnlkCompress Archive{nullptr};
  EventLog log;
};

TEST_F(Extraction, EachOverwriteModeDecidesAgainstAnExistingTarget) {
  struct Case {
    TOverwriteType mode;
    int targetYear;
    bool replaced;
  } const cases[] = {
      {owAlways, 2030, true},      {owNever, 2000, false},       {owAsk, 2030, true},
      {owVersion, 2000, false},  // neither has a version: the same, keep
      {owDate, 2000, true},        {owDate, 2020, false},        {owDate, 2030, false},
      {owVersionDate, 2000, true}, {owVersionDate, 2030, false}, {owVersionDate, 2020, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", target of " << c.targetYear);
    log = EventLog();
    log.Attach(Archive);
    EXPECT_EQ(ExtractOver(c.mode, c.targetYear), c.replaced);
    EXPECT_EQ(log.Replace.size(), c.replaced ? 1u : 0u);
    EXPECT_EQ(FilesIn(Path("out")).size(), 1u);
  }
}

TEST_F(Extraction, ExtractedFilesCarryTheStoredDateAndChosenName) {
  Archive.SetExtractDirectory(Path("out\\sub\\deeper"));
  Archive.OnBeforeExtracting = [](TQnlkCompress* c, const TlzhFileStats&) { c->TargetFileName = "renamed.txt"; };
  SetFiles(Archive, {Path("new.txt")});
  Archive.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\sub\\deeper\\renamed.txt")), NewData);
  TWinFile a, b;
  ASSERT_TRUE(a.Open(Path("new.txt"), TFileOpen::Read));
  ASSERT_TRUE(b.Open(Path("out\\sub\\deeper\\renamed.txt"), TFileOpen::Read));
  EXPECT_EQ(a.DosDateTime(), b.DosDateTime());
  EXPECT_TRUE(Archive.TargetFileName.empty());
  EXPECT_TRUE(Archive.FilesToProcess()->Count() == 0);

  // A handler that skips the file leaves the target alone.
  WriteBytes(Target(), OldData);
  Archive.SetExtractDirectory(Path("out"));
  Archive.OnBeforeExtracting = [](TQnlkCompress* c, const TlzhFileStats&) { c->SkipFile = true; };
  SetFiles(Archive, {Path("new.txt")});
  Archive.Extract();
  EXPECT_EQ(ReadBytes(Target()), OldData);
}

TEST_F(Extraction, ProgressAddsUpToTheFile) {
  Archive.SetExtractDirectory(Path("out"));
  SetFiles(Archive, {Path("new.txt")});
  Archive.Extract();
  ASSERT_GE(log.Status.size(), 8u);  // 4 KiB blocks
  const TlzhFileStats& last = log.Status.back();
  EXPECT_EQ(last.FileDone, 30000);
  EXPECT_EQ(last.TotalDone, 30000);
  EXPECT_EQ(last.FilePercent, 100);
  EXPECT_EQ(last.TotalSize, 30000);
  EXPECT_EQ(log.Status.front().FileDone, 4096);
}

TEST_F(Extraction, ACancelLeavesTheOldTargetAndNoTemporaryFile) {
  WriteBytes(Target(), OldData);
  Archive.OnStatus = [](TQnlkCompress* c, const TlzhFileStats& s) {
    if (s.FileDone >= 8192) c->SetAbort(true);
  };
  Archive.SetExtractDirectory(Path("out"));
  SetFiles(Archive, {Path("new.txt")});
  Archive.Extract();  // a cancel is reported through OnAborted, not raised
  EXPECT_EQ(log.Aborted, 1);
  EXPECT_EQ(ReadBytes(Target()), OldData);
  EXPECT_EQ(FilesIn(Path("out")).size(), 1u);
  // The archive and the target are closed again: both can be deleted.
  EXPECT_TRUE(DeleteFileA(Target().c_str()));
  EXPECT_TRUE(DeleteFileA(Path("files.1").c_str()));
}

TEST_F(Extraction, AFailureBeforeTheEndLeavesNoNewFile) {
  // A target that did not exist is written under its own name: a cancel removes it.
  Archive.OnStatus = [](TQnlkCompress* c, const TlzhFileStats& s) {
    if (s.FileDone >= 8192) c->SetAbort(true);
  };
  Archive.SetExtractDirectory(Path("out"));
  SetFiles(Archive, {Path("new.txt")});
  Archive.Extract();
  EXPECT_EQ(log.Aborted, 1);
  EXPECT_TRUE(FilesIn(Path("out")).empty());

  // So does an archive that cannot be opened once the target is made.
  Archive.OnStatus = nullptr;
  Archive.SetAbort(false);
  ASSERT_TRUE(MoveFileA(Path("files.1").c_str(), Path("moved.1").c_str()));
  SetFiles(Archive, {Path("new.txt")});
  EXPECT_THROW(Archive.Extract(), EQnlkCompress);
  EXPECT_TRUE(FilesIn(Path("out")).empty());
}

// The file's number on its volume: the same as long as it is the same file.
uint64_t FileNumberOf(const std::string& Path) {
  fw::TFileHandle h(CreateFileA(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!h || !GetFileInformationByHandle(h.Get(), &info)) return 0;
  return (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

// A record that keeps what extraction tells it.
struct TKeptRecord : TReplacementRecord {
  struct TReplaced {
    std::string Target, Id, Aside;
  };
  std::vector<std::pair<std::string, std::string>> Created;
  std::vector<TReplaced> Replaced;
  void FileCreated(const std::string& Path, const std::string& Id) override { Created.emplace_back(Path, Id); }
  void FileReplaced(const std::string& Target, const std::string& Id, const std::string& Aside) override {
    Replaced.push_back({Target, Id, Aside});
  }
};

// An existing target is replaced by a new file under its name, never written over: a
// second name of the old file keeps the old contents and the old attributes do not carry
// over. The old file goes right after, unless a record takes it: then it lies aside in
// the target's folder, whole, and the record learns of it and of the new file's identity.
TEST_F(Extraction, AReplacedTargetIsANewFileAndItsOldFileGoesAsideToTheRecord) {
  WriteBytes(Target(), OldData);
  const uint64_t old = FileNumberOf(Target());
  ASSERT_TRUE(ExtractOver(owAlways, 2000));
  EXPECT_NE(FileNumberOf(Target()), old) << "the old file was written over";
  EXPECT_EQ(FilesIn(Path("out")), std::vector<std::string>{"new.txt"}) << "nothing of the replacement stays";

  using TCreateHardLink = BOOL(WINAPI*)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
  const auto createHardLink = Kernel32Function<TCreateHardLink>("CreateHardLinkA");
  ASSERT_NE(createHardLink, nullptr);
  WriteBytes(Target(), OldData);
  ASSERT_TRUE(createHardLink(Path("out\\second.txt").c_str(), Target().c_str(), nullptr));
  ASSERT_TRUE(ExtractOver(owAlways, 2000));
  EXPECT_EQ(ReadBytes(Path("out\\second.txt")), OldData) << "the other name keeps the old contents";
  ASSERT_TRUE(DeleteFileA(Path("out\\second.txt").c_str()));

  WriteBytes(Target(), TextBytes(50000));
  ASSERT_TRUE(SetFileAttributesA(Target().c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(ExtractOver(owAlways, 2000));
  EXPECT_EQ(GetFileAttributesA(Target().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(ReadBytes(Target()), NewData) << "contents that shrink leave no old bytes behind";

  TKeptRecord record;
  Archive.SetReplacementRecord(&record);
  ASSERT_TRUE(ExtractOver(owAlways, 2000));
  ASSERT_EQ(record.Replaced.size(), 1u);
  EXPECT_TRUE(record.Created.empty());
  const TKeptRecord::TReplaced& replaced = record.Replaced[0];
  EXPECT_EQ(replaced.Target, Target());
  EXPECT_EQ(replaced.Id, TOpenedEntry(Target()).Id());
  EXPECT_EQ(ExtractFilePath(replaced.Aside), Path("out\\")) << "aside in the target's own folder";
  EXPECT_EQ(ReadBytes(replaced.Aside), OldData);
  EXPECT_EQ(FilesIn(Path("out")).size(), 2u);
  // A target that was not there is made under its name, and the record learns that.
  ASSERT_TRUE(DeleteFileA(replaced.Aside.c_str()));
  ASSERT_TRUE(DeleteFileA(Target().c_str()));
  SetFiles(Archive, {Path("new.txt")});
  Archive.Extract();
  ASSERT_EQ(record.Created.size(), 1u);
  EXPECT_EQ(record.Created[0].first, Target());
  EXPECT_EQ(record.Created[0].second, TOpenedEntry(Target()).Id());
}

// No failure leaves a target part old, part new: a target that another process has
// mapped, an error in the middle of the new file and a cancel in the middle all leave it
// byte for byte the old file, and nothing else in its folder.
TEST_F(Extraction, AReplacementThatFailsLeavesTheOldTargetWhole) {
  const Bytes newer = RandomBytes(3000000, 21), older = RandomBytes(3000000, 22);
  WriteBytes(Path("big.bin"), newer);
  SetFiles(Archive, {Path("big.bin")});
  Archive.Compress(lzcOnlyAdd, 2);
  const std::string target = Path("out\\big.bin");
  const auto extract = [&] {
    Archive.SetExtractDirectory(Path("out"));
    SetFiles(Archive, {Path("big.bin")});
    Archive.Extract();
  };
  const auto expectOldWhole = [&](const char* Case) {
    EXPECT_TRUE(ReadBytes(target) == older) << Case;
    EXPECT_EQ(FilesIn(Path("out")), std::vector<std::string>{"big.bin"}) << Case;
  };

  // Mapped by another process (here: a view whose handles are closed): a mapped file
  // cannot lose its name, so the replacement is refused.
  WriteBytes(target, older);
  void* view = nullptr;
  {
    fw::TFileHandle file(CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    fw::TFileHandle mapping(CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    ASSERT_TRUE(mapping.Get() != nullptr);
    view = MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(view, nullptr);
  }
  EXPECT_THROW(extract(), EQnlkCompress);
  EXPECT_EQ(std::memcmp(view, older.data(), older.size()), 0);
  UnmapViewOfFile(view);  // what is deleted while mapped goes with the view
  expectOldWhole("mapped");

  // An error while the new file is written.
  Archive.OnStatus = [](TQnlkCompress*, const TlzhFileStats& s) {
    if (s.FileDone >= 1500000) throw EQnlkCompress("The device is not ready");
  };
  EXPECT_THROW(extract(), EQnlkCompress);
  expectOldWhole("failed write");

  // A cancel half-way.
  Archive.OnStatus = [](TQnlkCompress* c, const TlzhFileStats& s) {
    if (s.FileDone >= 1500000) c->SetAbort(true);
  };
  extract();
  EXPECT_EQ(log.Aborted, 1);
  expectOldWhole("cancelled");
}

// What was written is measured on the way: the path, size and SHA-0 digest of the file
// the last extraction or copy wrote; nothing after a file that was skipped.
TEST_F(Extraction, TheLastWrittenFileIsMeasuredWhileItIsWritten) {
  const TSha0Digest digest = Sha0(NewData.data(), NewData.size());
  Archive.SetExtractDirectory(Path("out"));
  SetFiles(Archive, {Path("new.txt")});
  Archive.Extract();
  EXPECT_EQ(Archive.LastWritten().Path, Target());
  EXPECT_EQ(Archive.LastWritten().Size, 30000);
  EXPECT_EQ(Archive.LastWritten().Digest, digest);
  ASSERT_TRUE(ExtractOver(owAlways, 2000));
  EXPECT_EQ(Archive.LastWritten().Path, Target());
  EXPECT_EQ(Archive.LastWritten().Digest, digest);
  ASSERT_FALSE(ExtractOver(owNever, 2000));
  EXPECT_EQ(Archive.LastWritten().Path, "");
  Archive.CopyFile(Path("new.txt"), Path("copy.txt"));
  EXPECT_EQ(Archive.LastWritten().Path, Path("copy.txt"));
  EXPECT_EQ(Archive.LastWritten().Size, 30000);
  EXPECT_EQ(Archive.LastWritten().Digest, digest);
}

// Under a hold the archive stays open from one file to the next, and only then.
TEST_F(Extraction, AHeldArchiveIsOpenedOnceAndClosedWhenTheHoldEnds) {
  WriteBytes(Path("second.txt"), TextBytes(7000));
  WriteBytes(Path("other.txt"), TextBytes(900));
  SetFiles(Archive, {Path("second.txt")});
  Archive.Compress(lzcOnlyAdd, 2);
  TQnlkCompress other{nullptr};
  other.SetCompressedFile(Path("other.1"));
  SetFiles(other, {Path("other.txt")});
  other.Compress(lzcOverwrite, 3);

  Archive.SetExtractDirectory(Path("out"));
  {
    TQnlkCompress::TVolumeHold hold(&Archive);
    for (const char* name : {"new.txt", "second.txt", "new.txt"}) {
      SetFiles(Archive, {Path(name)});
      Archive.Extract();
      EXPECT_FALSE(DeleteFileA(Path("files.1").c_str())) << "held open after " << name;
    }
    EXPECT_EQ(ReadBytes(Path("out\\second.txt")), TextBytes(7000));
    // Another archive drops the held one.
    Archive.SetCompressedFile(Path("other.1"));
    SetFiles(Archive, {Path("other.txt")});
    Archive.Extract();
    EXPECT_EQ(ReadBytes(Path("out\\other.txt")), TextBytes(900));
    {
      // Nobody holds files.1 any more: it opens without sharing.
      fw::TFileHandle alone(
          CreateFileA(Path("files.1").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
      EXPECT_TRUE(alone) << "the other archive dropped the held one";
    }
    Archive.SetCompressedFile(Path("files.1"));
    SetFiles(Archive, {Path("second.txt")});
    Archive.Extract();
  }
  EXPECT_EQ(ReadBytes(Target()), NewData);
  EXPECT_TRUE(DeleteFileA(Path("other.1").c_str()));
  EXPECT_TRUE(DeleteFileA(Path("files.1").c_str())) << "closed when the hold ends";
}

TEST_F(Extraction, FullDiskIsAnErrorEvenWithAHandler) {
  int calls = 0;
  Archive.OnFullDisk = [&](fw::TObject*) { ++calls; };
  EXPECT_THROW(Archive.DoFullDisk(), EqcDiskFull);
  EXPECT_EQ(calls, 1);
}

// The user learns why a file could not be made, and on which drive the room ran out.
TEST_F(Extraction, ATargetThatCannotBeMadeIsToldWithTheSystemsReason) {
  WriteBytes(Path("blocked"), OldData);  // a file where the target's folder should be
  Archive.SetExtractDirectory(Path("blocked\\inner"));
  SetFiles(Archive, {Path("new.txt")});
  try {
    Archive.Extract();
    ADD_FAILURE() << "extracted below a file";
  } catch (const EQnlkCompress& e) {
    const std::string message = e.Message();
    const std::string told = "Cannot create the file " + Path("blocked\\inner\\new.txt") + "\n";
    EXPECT_EQ(message.substr(0, told.size()), told);
    EXPECT_GT(message.size(), told.size()) << "the system's reason follows";
  }
  EXPECT_EQ(DiskFullText("R:\\Kavel\\Stavrel\\VX4.exe"),
            "The disk is full\nThere is no room left on R: for R:\\Kavel\\Stavrel\\VX4.exe");
  EXPECT_EQ(DiskFullText("\\\\server\\share\\VX4.exe"),
            "The disk is full\nThere is no room left on \\\\server\\share for \\\\server\\share\\VX4.exe");
}

class UncompressedCopy : public ScratchTest {
 protected:
  TQnlkCompress Copier{nullptr};
  EventLog log;
};

TEST_F(UncompressedCopy, CopiesWholeFilesWithTheirDate) {
  Bytes data = RandomBytes(8192 * 3, 9);  // a multiple of the block: the last read comes back empty
  WriteBytes(Path("src.bin"), data);
  SetFileDate(Path("src.bin"), 2011, 3, 4);
  log.Attach(Copier);
  Copier.CopyFile(Path("src.bin"), Path("dst.bin"));
  EXPECT_EQ(ReadBytes(Path("dst.bin")), data);
  TWinFile a, b;
  ASSERT_TRUE(a.Open(Path("src.bin"), TFileOpen::Read));
  ASSERT_TRUE(b.Open(Path("dst.bin"), TFileOpen::Read));
  EXPECT_EQ(a.DosDateTime(), b.DosDateTime());
  ASSERT_FALSE(log.Status.empty());
  EXPECT_TRUE(log.Status.back().Finished);
  EXPECT_EQ(log.Status.back().FileDone, 8192 * 3);
  EXPECT_EQ(Copier.ExtractDirectory(), Dir + "\\");
}

TEST_F(UncompressedCopy, KeepsTheTargetWhenToldOrCancelled) {
  Bytes data = RandomBytes(50000, 10), old = TextBytes(100);
  WriteBytes(Path("src.bin"), data);
  WriteBytes(Path("dst.bin"), old);
  Copier.SetOverwrite(owNever);
  Copier.CopyFile(Path("src.bin"), Path("dst.bin"));
  EXPECT_EQ(ReadBytes(Path("dst.bin")), old);

  Copier.SetOverwrite(owAlways);
  Copier.OnStatus = [](TQnlkCompress* c, const TlzhFileStats& s) {
    if (s.FileDone >= 16384) c->SetAbort(true);
  };
  EXPECT_THROW(Copier.CopyFile(Path("src.bin"), Path("dst.bin")), EqcAborted);
  EXPECT_EQ(ReadBytes(Path("dst.bin")), old);

  Copier.OnStatus = nullptr;
  GBuildCancelled = true;
  EXPECT_THROW(Copier.CopyFile(Path("src.bin"), Path("dst.bin")), EUserAbortInstall);
  GBuildCancelled = false;
  EXPECT_EQ(ReadBytes(Path("dst.bin")), old);
  EXPECT_EQ(FilesIn(Dir).size(), 2u);

  EXPECT_EQ(ArchiveError([&] { Copier.CopyFile(Path("none.bin"), Path("x.bin")); }),
            "Cannot open the file " + Path("none.bin"));
}

}  // namespace

namespace {

// Long operations hand the program its idle time between blocks, so that it can
// handle its messages (a request to quit among them); a handler that asks to stop
// ends the operation as a cancel does.
TEST_F(UncompressedCopy, LongOperationsCallTheIdleHandlerWhichMayStopThem) {
  WriteBytes(Path("big.bin"), RandomBytes(3 << 20, 12));
  TQnlkCompress archive(nullptr);
  EventLog log;
  log.Attach(archive);
  int calls = 0;
  archive.SetIdleHandler([&] {
    ++calls;
    archive.SetAbort(true);
  });
  archive.SetCompressedFile(Path("files.1"));
  SetFiles(archive, {Path("big.bin")});
  archive.Compress(lzcOverwrite, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(log.Aborted, 1);
  EXPECT_LT(log.Status.size(), 3u) << "the compression went on after the stop";
  EXPECT_EQ(archive.GetFileCount(), 0);

  // Without a handler nothing is called and nothing stops; with one that lets the
  // work go on, the handler is called at most every 20 ms.
  archive.SetIdleHandler(nullptr);
  SetFiles(archive, {Path("big.bin")});
  archive.Compress(lzcOverwrite, 1);
  EXPECT_EQ(archive.GetFileCount(), 1);
  std::vector<DWORD> ticks;
  archive.SetIdleHandler([&] { ticks.push_back(GetTickCount()); });
  archive.SetExtractDirectory(Path("out"));
  SetFiles(archive, {Path("big.bin")});
  archive.Extract();
  ASSERT_FALSE(ticks.empty());
  for (size_t i = 1; i < ticks.size(); ++i) EXPECT_GE(ticks[i] - ticks[i - 1], 15u);
  EXPECT_EQ(ReadBytes(Path("out\\big.bin")), ReadBytes(Path("big.bin")));
}

// The copy's target name is the copy's only: an extraction that follows on the same
// component names its files itself.
TEST_F(UncompressedCopy, ALaterExtractionUsesTheStoredNames) {
  WriteBytes(Path("src.bin"), RandomBytes(5000, 3));
  WriteBytes(Path("a.txt"), TextBytes(300));
  Copier.SetCompressedFile(Path("files.1"));
  SetFiles(Copier, {Path("a.txt")});
  Copier.Compress(lzcOverwrite, 1);
  Copier.CopyFile(Path("src.bin"), Path("copy.bin"));
  EXPECT_TRUE(Copier.TargetFileName.empty());
  Copier.SetExtractDirectory(Path("out"));
  SetFiles(Copier, {Path("a.txt")});
  Copier.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\a.txt")), TextBytes(300));
  EXPECT_FALSE(FileExists(Path("out\\copy.bin")));
}

}  // namespace
