// A write-only stream that passes everything on to another stream and counts, on the
// way, the size and the SHA-0 digest of what that stream took.
#pragma once

#include <cstdint>

#include "core/Streams.h"
#include "support/Sha0.h"

namespace setup {

class TDigestingStream : public fw::TStream {
 public:
  explicit TDigestingStream(fw::TStream& Target) : FTarget(Target) {}

  size_t Write(const void* Buffer, size_t Count) override {
    const size_t done = FTarget.Write(Buffer, Count);
    FDigest.Update(Buffer, done);
    FSize += static_cast<int64_t>(done);
    return done;
  }
  size_t Read(void*, size_t) override { throw fw::EStreamError("Invalid stream operation"); }
  // Only the query of the current position: a digest counts the bytes in their order.
  int64_t Seek(int64_t Offset, fw::TSeekOrigin Origin) override {
    if (Offset != 0 || Origin != fw::soCurrent) throw fw::EStreamError("Invalid stream operation");
    return FSize;
  }
  void SetSize(int64_t) override { throw fw::EStreamError("Invalid stream operation"); }

  int64_t Written() const { return FSize; }
  // The digest of everything written (once, at the end).
  TSha0Digest Final() { return FDigest.Final(); }

 private:
  fw::TStream& FTarget;
  TSha0 FDigest;
  int64_t FSize = 0;
};

}  // namespace setup
