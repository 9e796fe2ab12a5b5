// Feeds arbitrary bytes to the bitmap file check: it answers with a layout whose parts
// lie inside the data, or with an EInOutError; it never reads past the data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/SysUtils.h"
#include "gui/BitmapFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  try {
    fw::TBitmapLayout layout = fw::CheckBitmapFile(bytes);
    if (layout.Width <= 0 || layout.Height <= 0 || layout.PixelOffset > size || layout.InfoOffset + 40 > size)
      __builtin_trap();
  } catch (const fw::EInOutError&) {
  }
  return 0;
}
