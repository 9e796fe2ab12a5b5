// The digest's block functions against each other: every usable path, fed the input in
// pieces whose sizes the first byte chooses, gives the portable path's digest.
#include <cstdint>
#include <cstdlib>

#include "support/Sha0.h"

using namespace setup;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const size_t step = Data[0] + 1u;
  ++Data;
  --Size;
  const TSha0Digest expected = [&] {
    TSha0 portable(Sha0BlockFunction(TSha0Path::Portable));
    portable.Update(Data, Size);
    return portable.Final();
  }();
  for (TSha0Path path : {TSha0Path::Portable, TSha0Path::ShaExtensions}) {
    if (!Sha0PathUsable(path)) continue;
    TSha0 sha(Sha0BlockFunction(path));
    for (size_t at = 0; at < Size; at += step) sha.Update(Data + at, Size - at < step ? Size - at : step);
    if (sha.Final() != expected) std::abort();
  }
  return 0;
}
