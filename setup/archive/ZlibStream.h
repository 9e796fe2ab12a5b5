// zlib behind the archive: the write-only deflate stream (a framework stream) through which files are
// compressed, and the inflate state that extraction drives block by block.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "core/Streams.h"

namespace setup {

enum TCompressionLevel { colNone, colFastest, colDefault, colMax };
// zlib's level for each: 0, 1, -1 (its default) and 9.
int ZlibLevel(TCompressionLevel Level);

// The version the archive asks zlib for; the record size is that of this build.
extern const char* const kZlibVersion;

class TCustomZlibStream : public fw::TStream {
 public:
  explicit TCustomZlibStream(fw::TStream& Destination);
  // Fired after each full output buffer reaches the destination.
  std::function<void()> OnProgress;
  // Called when the destination takes fewer bytes than given; the stream then raises
  // EqcDiskFull unless the handler raised first.
  std::function<void()> OnWriteShort;

 protected:
  void Progress() {
    if (OnProgress) OnProgress();
  }
  void WriteOut(const uint8_t* Data, size_t Count);

  fw::TStream& FDestination;
  int64_t FDestinationPosition;
  z_stream FZRec{};
};

class TCompressionStream : public TCustomZlibStream {
 public:
  TCompressionStream(TCompressionLevel Level, fw::TStream& Destination);
  // Releases zlib; Finish must have run for the stream to be complete.
  ~TCompressionStream() override;

  size_t Write(const void* Buffer, size_t Count) override;
  // Only the query of the current position: the number of bytes taken in so far.
  int64_t Seek(int64_t Offset, fw::TSeekOrigin Origin) override;
  size_t Read(void* Buffer, size_t Count) override;
  void SetSize(int64_t NewSize) override;
  // Ends the zlib stream and writes what is left of it.
  void Finish();

 private:
  std::vector<uint8_t> FBuffer;
  int64_t FTakenIn = 0;
  bool FFinished = false;
};

// One inflate state, released by the destructor; Reset makes it ready for the next
// stream and keeps its memory.
class TInflater {
 public:
  TInflater();
  ~TInflater();
  void Reset();
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  z_stream& Rec() { return FZRec; }

 private:
  z_stream FZRec{};
};

}  // namespace setup
