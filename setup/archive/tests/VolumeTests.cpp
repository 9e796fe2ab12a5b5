// Volume sets: splitting an archive over volumes and extracting across them.
#include "ArchiveTestSupport.h"
#include "ArchiveText.h"

using namespace setup;
using namespace archive_test;

namespace {

// Volumes that hold at most Capacity bytes, like floppy disks.
class TSmallDisks : public TQnlkCompress {
 public:
  TSmallDisks() : TQnlkCompress(nullptr) {}
  int64_t Capacity = 45000;

 protected:
  size_t WriteVolume(TWinFile& Volume, const void* Buffer, size_t Count) override {
    int64_t room = std::max<int64_t>(0, Capacity - Volume.Position());
    return Volume.Write(Buffer, static_cast<size_t>(std::min<int64_t>(room, static_cast<int64_t>(Count))));
  }
};

class Volumes : public ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    WriteBytes(Path("big.bin"), Big);
    WriteBytes(Path("small.txt"), Small);
    Splitter.SetCompressedFile(Path("files.1"));
    SetFiles(Splitter, {Path("big.bin"), Path("small.txt")});
    Splitter.Compress(lzcOverwrite, 3);
    CreateDirectoryA(Path("disks").c_str(), nullptr);
  }
  const Bytes Big = RandomBytes(100000, 7), Small = TextBytes(3000);
  TSmallDisks Splitter;
};

TEST_F(Volumes, AFileSpansThreeVolumesAndExtractsBack) {
  std::vector<int> asked;
  Splitter.OnNewDisk = [&](TQnlkCompress*, int disk, std::string& folder) {
    asked.push_back(disk);
    EXPECT_EQ(folder, Path("disks"));
  };
  Splitter.SplitToDisks(Path("disks"), "disk.1");
  EXPECT_EQ(asked, (std::vector<int>{2, 3}));

  Bytes v1 = ReadBytes(Path("disks\\disk.1")), v2 = ReadBytes(Path("disks\\disk.2")),
        v3 = ReadBytes(Path("disks\\disk.3"));
  EXPECT_EQ(v1.size(), 45000u);
  EXPECT_EQ(v2.size(), 45000u);
  EXPECT_EQ(Int32At(v1, 0), 2);
  EXPECT_EQ(v1[4], 1);
  // The headers stand back to back, the data behind them.
  const size_t h1 = 5, h2 = 5 + 176;
  EXPECT_EQ(Int32At(v1, h1 + 128), 181);
  EXPECT_EQ(Int32At(v1, h2 + 128), 357);
  EXPECT_EQ(Int32At(v1, h1 + 136), 357);
  EXPECT_EQ(v1[h1 + 144], 1);
  EXPECT_EQ(v1[h1 + 16], 3);
  const int32_t end1 = Int32At(v1, h1 + 20);
  EXPECT_EQ(v1[h2 + 144], 3);
  EXPECT_EQ(Int32At(v1, h2 + 136), end1 + 1);
  EXPECT_EQ(v1[h2 + 16], 3);
  EXPECT_EQ(Int32At(v1, h2 + 20), static_cast<int32_t>(v3.size()) - 1);
  // The data are those of the single-file archive, in order.
  Bytes single = ReadBytes(Path("files.1")), joined(v1.begin() + 357, v1.end());
  joined.insert(joined.end(), v2.begin(), v2.end());
  joined.insert(joined.end(), v3.begin(), v3.end());
  Bytes expected(single.begin() + 181, single.begin() + 181 + Int32At(single, 5 + 140));
  const int32_t second = Int32At(single, 5 + 128);
  expected.insert(expected.end(), single.begin() + Int32At(single, second + 136), single.end());
  EXPECT_EQ(joined, expected);

  // Extraction moves from volume to volume; volumes 2 and 3 come from another "disk".
  CreateDirectoryA(Path("floppy").c_str(), nullptr);
  MoveFileA(Path("disks\\disk.2").c_str(), Path("floppy\\disk.2").c_str());
  MoveFileA(Path("disks\\disk.3").c_str(), Path("floppy\\disk.3").c_str());
  TQnlkCompress reader(nullptr);
  std::vector<int> disks;
  reader.OnNewDisk = [&](TQnlkCompress*, int disk, std::string& folder) {
    disks.push_back(disk);
    folder = Path("floppy");
  };
  reader.SetCompressedFile(Path("disks\\disk.1"));
  reader.SetExtractDirectory(Path("out"));
  SetFiles(reader, {Path("big.bin")});
  reader.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\big.bin")), Big);
  EXPECT_EQ(disks, (std::vector<int>{2}));
  EXPECT_EQ(reader.CompressedFile(), Path("floppy\\disk.3"));

  // The small file lies wholly in volume 3; the reader already looks in the new folder.
  SetFiles(reader, {Path("small.txt")});
  reader.Extract();
  EXPECT_EQ(ReadBytes(Path("out\\small.txt")), Small);
}

// Under a hold the volume a file was read from stays open for the next file that starts
// on that volume only: a file of a later volume is read from its own.
TEST_F(Volumes, AHeldVolumeServesOnlyFilesOfThatVolume) {
  WriteBytes(Path("first.txt"), TextBytes(2000));
  SetFiles(Splitter, {Path("first.txt"), Path("big.bin"), Path("small.txt")});
  Splitter.Compress(lzcOverwrite, 4);
  Splitter.OnNewDisk = [](TQnlkCompress*, int, std::string&) {};
  Splitter.SplitToDisks(Path("disks"), "disk.1");

  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Path("disks\\disk.1"));
  ASSERT_EQ(reader.GetFileCount(), 3);
  TlzhFileStats first, small;
  reader.GetFileStats(0, first);
  reader.GetFileStats(2, small);
  ASSERT_EQ(first.Header[144], 1);  // first.txt lies in volume 1 alone
  ASSERT_EQ(first.Header[16], 1);
  ASSERT_GT(small.Header[144], 1);  // small.txt starts on a later volume
  reader.SetExtractDirectory(Path("out"));
  TQnlkCompress::TVolumeHold hold(&reader);
  for (const char* name : {"first.txt", "small.txt"}) {
    SetFiles(reader, {Path(name)});
    reader.Extract();
  }
  EXPECT_EQ(ReadBytes(Path("out\\first.txt")), TextBytes(2000));
  EXPECT_EQ(ReadBytes(Path("out\\small.txt")), Small);
}

TEST_F(Volumes, AFullVolumeWithoutAHandlerStopsTheSplit) {
  EXPECT_EQ(ArchiveError([&] { Splitter.SplitToDisks(Path("disks"), "disk.1"); }),
            "There was no event handler for the OnNewDisk event, therefore no new disk could be inserted");
  EXPECT_TRUE(Splitter.Abort());

  Splitter.Capacity = 1000000;
  Splitter.SplitToDisks(Path("disks"), "one.1");
  EXPECT_EQ(FilesIn(Path("disks")).size(), 2u);  // disk.1 of the failed run and one.1

  // A missing volume without a handler is named by its number.
  Splitter.Capacity = 45000;
  Splitter.OnNewDisk = [](TQnlkCompress*, int, std::string&) {};
  Splitter.SplitToDisks(Path("disks"), "disk.1");
  DeleteFileA(Path("disks\\disk.2").c_str());
  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Path("disks\\disk.1"));
  reader.SetExtractDirectory(Path("out"));
  SetFiles(reader, {Path("big.bin")});
  EXPECT_EQ(ArchiveError([&] { reader.Extract(); }), "Could not open the correct disk file 2");
  EXPECT_FALSE(FileExists(Path("out\\big.bin")));

  // A handler that never finds the disk gives up after four attempts.
  int attempts = 0;
  reader.OnNewDisk = [&](TQnlkCompress*, int, std::string&) { ++attempts; };
  SetFiles(reader, {Path("big.bin")});
  EXPECT_EQ(ArchiveError([&] { reader.Extract(); }), "Cannot open the compressed file " + Path("disks\\disk.2"));
  EXPECT_EQ(attempts, 4);
}

// The disk given at the last prompt is looked at too.
TEST_F(Volumes, TheFourthAnswerIsChecked) {
  Splitter.OnNewDisk = [](TQnlkCompress*, int, std::string&) {};
  Splitter.SplitToDisks(Path("disks"), "disk.1");
  CreateDirectoryA(Path("floppy").c_str(), nullptr);
  for (const char* v : {"disk.2", "disk.3"})
    MoveFileA(Path(std::string("disks\\") + v).c_str(), Path(std::string("floppy\\") + v).c_str());
  TQnlkCompress reader(nullptr);
  int asked = 0;
  reader.OnNewDisk = [&](TQnlkCompress*, int, std::string& folder) {
    if (++asked == 4) folder = Path("floppy");
  };
  reader.SetCompressedFile(Path("disks\\disk.1"));
  reader.SetExtractDirectory(Path("out"));
  SetFiles(reader, {Path("big.bin")});
  reader.Extract();
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(ReadBytes(Path("out\\big.bin")), Big);
}

// A volume set holds at most 255 volumes: a split that needs more says so and takes
// back every volume it wrote.
TEST_F(Volumes, ASplitThatNeedsMoreThan255VolumesLeavesNoneBehind) {
  WriteBytes(Path("huge.bin"), RandomBytes(2200000, 8));
  Splitter.SetCompressedFile(Path("huge.1"));
  SetFiles(Splitter, {Path("huge.bin")});
  Splitter.Compress(lzcOverwrite, 1);
  Splitter.Capacity = 8192;  // the size of the splitter's blocks: each volume takes one
  int asked = 0;
  Splitter.OnNewDisk = [&](TQnlkCompress*, int, std::string&) { ++asked; };
  std::string message = ArchiveError([&] { Splitter.SplitToDisks(Path("disks"), "disk.1"); });
  EXPECT_NE(message.find("255 volumes"), std::string::npos) << message;
  EXPECT_EQ(asked, 254);
  EXPECT_TRUE(FilesIn(Path("disks")).empty());
  EXPECT_TRUE(Splitter.Abort());
}

TEST_F(Volumes, AppendingToAVolumeSetIsRefused) {
  Splitter.Capacity = 1000000;
  Splitter.SplitToDisks(Path("disks"), "disk.1");
  const Bytes before = ReadBytes(Path("disks\\disk.1"));
  TQnlkCompress writer(nullptr);
  writer.SetCompressedFile(Path("disks\\disk.1"));
  SetFiles(writer, {Path("small.txt")});
  EXPECT_NE(ArchiveError([&] { writer.Compress(lzcOnlyAdd, 1); }), "");
  EXPECT_EQ(ReadBytes(Path("disks\\disk.1")), before);
}

}  // namespace
