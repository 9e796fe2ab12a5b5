// The background file writer: the data arrives whole and in order whether it fits one
// buffer or many, a failed write ends the writing with false instead of hanging, and no
// thread outlives the writer on any path.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Files.h"
#include "NetTestServers.h"
#include "ThreadIds.h"
#include "support/BackgroundFileWriter.h"

using namespace setup;
using benchsupport::PatternBytes;

namespace {

constexpr size_t kBuffer = 4096;

fw::TFileHandle CreateForWriting(const std::string& Path) {
  return fw::TFileHandle(
      CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// A handle on which every write fails: the file is open for reading only.
fw::TFileHandle OpenForReadingOnly(const std::string& Path) {
  testsupport::WriteFile(Path, "");
  return fw::TFileHandle(
      CreateFileA(Path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Appends Data in pieces of Piece bytes; false at the first refused piece.
bool AppendInPieces(TBackgroundFileWriter& Writer, const std::string& Data, size_t Piece) {
  for (size_t at = 0; at < Data.size(); at += Piece)
    if (!Writer.Append(Data.data() + at, std::min(Piece, Data.size() - at))) return false;
  return true;
}

}  // namespace

TEST(BackgroundFileWriter, DataArrivesWholeAndInOrderInOneBufferOrMany) {
  testsupport::TScratchFolder scratch("bgwriter");
  const std::string file = scratch / "out.bin";
  // Nothing, less than a buffer (no thread), exactly one, many with a part at the end.
  for (size_t size : {size_t{0}, size_t{1000}, kBuffer, 7 * kBuffer + 123}) {
    SCOPED_TRACE(size);
    const std::string data = PatternBytes(size, static_cast<int>(size % 251));
    TBackgroundFileWriter writer(CreateForWriting(file), kBuffer);
    ASSERT_TRUE(AppendInPieces(writer, data, 1000));
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(testsupport::ReadFile(file), data);
    EXPECT_FALSE(writer.Append("x", 1)) << "a finished writer takes no more";
    EXPECT_FALSE(writer.Finish());
  }
  // Pieces larger than a buffer, with three buffers.
  const std::string data = PatternBytes(10 * kBuffer + 7, 9);
  TBackgroundFileWriter writer(CreateForWriting(file), kBuffer, 3);
  ASSERT_TRUE(AppendInPieces(writer, data, 2 * kBuffer + 100));
  EXPECT_TRUE(writer.Finish());
  EXPECT_EQ(testsupport::ReadFile(file), data);
}

TEST(BackgroundFileWriter, AFailedWriteIsReportedInsteadOfWaitedFor) {
  testsupport::TScratchFolder scratch("bgwriter");
  const std::set<DWORD> threads = ThreadsOfThisProcess();
  {
    // Written by Finish itself.
    TBackgroundFileWriter writer(OpenForReadingOnly(scratch / "small.bin"), kBuffer);
    EXPECT_TRUE(writer.Append("abc", 3));
    EXPECT_FALSE(writer.Finish());
  }
  {
    // Written by the thread: the failure reaches the caller, however much more comes.
    TBackgroundFileWriter writer(OpenForReadingOnly(scratch / "large.bin"), kBuffer);
    EXPECT_FALSE(AppendInPieces(writer, PatternBytes(100 * kBuffer), 1000));
    EXPECT_FALSE(writer.Append("x", 1));
    EXPECT_FALSE(writer.Finish());
  }
  EXPECT_TRUE(ThreadsStartedSince(threads).empty()) << "no thread is left running";
}

TEST(BackgroundFileWriter, GoingWithoutFinishEndsTheThreadAndClosesTheFile) {
  testsupport::TScratchFolder scratch("bgwriter");
  const std::string file = scratch / "dropped.bin";
  const std::set<DWORD> threads = ThreadsOfThisProcess();
  {
    TBackgroundFileWriter writer(CreateForWriting(file), kBuffer);
    ASSERT_TRUE(AppendInPieces(writer, PatternBytes(5 * kBuffer), 1000));
    EXPECT_EQ(ThreadsStartedSince(threads).size(), 1u) << "the writing thread runs";
  }
  EXPECT_TRUE(ThreadsStartedSince(threads).empty()) << "no thread is left running";
  EXPECT_TRUE(DeleteFileA(file.c_str())) << "the file is closed";
}
