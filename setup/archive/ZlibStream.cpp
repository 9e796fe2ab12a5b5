#include "ZlibStream.h"

#include <algorithm>
#include <cstdlib>

#include "support/Errors.h"

namespace setup {

const char* const kZlibVersion = "1.0.4";

// zlib checks the record size it is given against its own: on Windows 56 bytes in a
// 32-bit build, 88 in a 64-bit one (elsewhere, as in the native test build, long is wider).
#ifdef _WIN32
static_assert(sizeof(z_stream) == (sizeof(void*) == 4 ? 56 : 88), "unexpected z_stream layout");
#endif

namespace {
constexpr size_t kOutputBufferSize = 65536;

// zlib's memory comes from the program heap.
voidpf ZAlloc(voidpf, uInt items, uInt size) {
  if (size != 0 && items > SIZE_MAX / size) return Z_NULL;
  return std::malloc(static_cast<size_t>(items) * size);
}
void ZFree(voidpf, voidpf address) {
  std::free(address);
}

void InstallHooks(z_stream& rec) {
  rec.zalloc = ZAlloc;
  rec.zfree = ZFree;
  rec.opaque = Z_NULL;
}
}  // namespace

int ZlibLevel(TCompressionLevel Level) {
  switch (Level) {
    case colNone:
      return 0;
    case colFastest:
      return 1;
    case colMax:
      return 9;
    default:
      return -1;
  }
}

TCustomZlibStream::TCustomZlibStream(fw::TStream& Destination)
    : FDestination(Destination), FDestinationPosition(Destination.Position()) {
  InstallHooks(FZRec);
}

void TCustomZlibStream::WriteOut(const uint8_t* Data, size_t Count) {
  if (Count == 0) return;
  if (FDestination.Write(Data, Count) != Count) {
    if (OnWriteShort) OnWriteShort();
    throw EqcDiskFull("The disk is full");
  }
  FDestinationPosition += static_cast<int64_t>(Count);
}

TCompressionStream::TCompressionStream(TCompressionLevel Level, fw::TStream& Destination)
    : TCustomZlibStream(Destination), FBuffer(kOutputBufferSize) {
  if (deflateInit_(&FZRec, ZlibLevel(Level), kZlibVersion, static_cast<int>(sizeof(z_stream))) < 0)
    throw fw::Exception("error");
  FZRec.next_out = FBuffer.data();
  FZRec.avail_out = static_cast<uInt>(FBuffer.size());
}

TCompressionStream::~TCompressionStream() {
  deflateEnd(&FZRec);
}

size_t TCompressionStream::Write(const void* Buffer, size_t Count) {
  const Bytef* next = static_cast<const Bytef*>(Buffer);
  size_t left = Count;
  if (FDestination.Position() != FDestinationPosition) FDestination.Seek(FDestinationPosition, fw::soBeginning);
  while (left > 0 || FZRec.avail_in > 0) {
    if (FZRec.avail_in == 0) {
      // zlib takes at most 4 GiB at a time.
      size_t piece = std::min<size_t>(left, 0x40000000);
      FZRec.next_in = const_cast<Bytef*>(next);
      FZRec.avail_in = static_cast<uInt>(piece);
      next += piece;
      left -= piece;
    }
    if (deflate(&FZRec, Z_NO_FLUSH) < 0) throw fw::Exception("error");
    if (FZRec.avail_out == 0) {
      WriteOut(FBuffer.data(), FBuffer.size());
      FZRec.next_out = FBuffer.data();
      FZRec.avail_out = static_cast<uInt>(FBuffer.size());
      Progress();
    }
  }
  FTakenIn += static_cast<int64_t>(Count);
  return Count;
}

void TCompressionStream::Finish() {
  if (FFinished) return;
  FZRec.next_in = Z_NULL;
  FZRec.avail_in = 0;
  if (FDestination.Position() != FDestinationPosition) FDestination.Seek(FDestinationPosition, fw::soBeginning);
  for (;;) {
    int result = deflate(&FZRec, Z_FINISH);
    if (result < 0 && result != Z_BUF_ERROR) throw fw::Exception("error");
    if (FZRec.avail_out != 0 || result == Z_STREAM_END) break;
    WriteOut(FBuffer.data(), FBuffer.size());
    FZRec.next_out = FBuffer.data();
    FZRec.avail_out = static_cast<uInt>(FBuffer.size());
  }
  WriteOut(FBuffer.data(), FBuffer.size() - FZRec.avail_out);
  FFinished = true;
}

int64_t TCompressionStream::Seek(int64_t Offset, fw::TSeekOrigin Origin) {
  if (Offset == 0 && Origin == fw::soCurrent) return FTakenIn;
  throw fw::Exception("Invalid stream operation");
}

size_t TCompressionStream::Read(void*, size_t) {
  throw fw::Exception("Invalid stream operation");
}

void TCompressionStream::SetSize(int64_t) {
  throw fw::Exception("Invalid stream operation");
}

TInflater::TInflater() {
  InstallHooks(FZRec);
  if (inflateInit_(&FZRec, kZlibVersion, static_cast<int>(sizeof(z_stream))) < 0) throw fw::Exception("error");
}

TInflater::~TInflater() {
  inflateEnd(&FZRec);
}

void TInflater::Reset() {
  if (inflateReset(&FZRec) != Z_OK) throw fw::Exception("error");
  // zlib leaves the input as it was: nothing of the last stream may feed the next.
  FZRec.next_in = Z_NULL;
  FZRec.avail_in = 0;
}

}  // namespace setup
