// The layout of a bitmap file (.bmp), checked against the bytes that hold it, without
// any Windows call: what GDI is handed must lie inside the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fw {

struct TBitmapLayout {
  int32_t Width = 0;
  int32_t Height = 0;      // the number of rows (a top-down bitmap stores it negative)
  size_t InfoOffset = 0;   // the info header, followed by masks and colour table
  size_t PixelOffset = 0;  // the pixel data
};

// Reads the file header and info header and checks that the header, the colour masks,
// the colour table and the pixel data all lie inside Data; raises EInOutError
// "Bitmap image is not valid: <why>" when they do not.
TBitmapLayout CheckBitmapFile(const std::vector<uint8_t>& Data);

}  // namespace fw
