#include "BitmapFormat.h"

#include <string>

#include "core/SysUtils.h"

namespace fw {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3;

[[noreturn]] void Invalid(const std::string& why) {
  throw EInOutError("Bitmap image is not valid: " + why);
}

uint16_t Word(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<uint16_t>(d[at] | d[at + 1] << 8);
}
uint32_t DWord(const std::vector<uint8_t>& d, size_t at) {
  return static_cast<uint32_t>(d[at]) | static_cast<uint32_t>(d[at + 1]) << 8 | static_cast<uint32_t>(d[at + 2]) << 16 |
         static_cast<uint32_t>(d[at + 3]) << 24;
}

bool IsKnownInfoSize(uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

TBitmapLayout CheckBitmapFile(const std::vector<uint8_t>& Data) {
  const uint64_t size = Data.size();
  if (size < kFileHeaderSize + 4 || Data[0] != 'B' || Data[1] != 'M') Invalid("no bitmap file header");
  const uint32_t pixelOffset = DWord(Data, 10);
  const uint32_t infoSize = DWord(Data, kFileHeaderSize);
  if (!IsKnownInfoSize(infoSize)) Invalid("unknown header size " + std::to_string(infoSize));
  if (kFileHeaderSize + uint64_t{infoSize} > size) Invalid("the header is cut short");

  const size_t info = kFileHeaderSize;
  const auto width = static_cast<int32_t>(DWord(Data, info + 4));
  const auto height = static_cast<int32_t>(DWord(Data, info + 8));
  const uint16_t planes = Word(Data, info + 12);
  const uint16_t bitCount = Word(Data, info + 14);
  const uint32_t compression = DWord(Data, info + 16);
  const uint32_t imageSize = DWord(Data, info + 20);
  const uint32_t colorsUsed = DWord(Data, info + 32);

  if (planes != 1) Invalid("planes must be 1");
  if (width <= 0 || height == 0 || height == INT32_MIN) Invalid("width or height out of range");
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    Invalid("unsupported bit count " + std::to_string(bitCount));
  const bool rle = compression == kRLE8 || compression == kRLE4;
  if (compression == kRLE8        ? bitCount != 8
      : compression == kRLE4      ? bitCount != 4
      : compression == kBitFields ? bitCount != 16 && bitCount != 32
                                  : compression != kRGB)
    Invalid("unsupported compression");
  if (rle && height < 0) Invalid("a compressed bitmap cannot be top-down");

  // The three colour masks follow a plain info header; larger headers hold them.
  uint64_t tableStart = kFileHeaderSize + uint64_t{infoSize};
  if (compression == kBitFields && infoSize == 40) tableStart += 12;
  const uint64_t maxColors = bitCount <= 8 ? uint64_t{1} << bitCount : 0;
  if (bitCount <= 8 && colorsUsed > maxColors) Invalid("the colour table is too large");
  const uint64_t colors = colorsUsed != 0 ? colorsUsed : maxColors;
  const uint64_t tableEnd = tableStart + colors * 4;
  if (tableEnd > size) Invalid("the colour table is cut short");
  if (pixelOffset < tableEnd || pixelOffset > size) Invalid("the pixel data offset is out of place");

  const uint64_t stride = (uint64_t{static_cast<uint32_t>(width)} * bitCount + 31) / 32 * 4;
  const auto rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  const uint64_t pixelBytes = rle ? imageSize : stride * rows;  // below 2^33 * 2^31: no overflow
  if (rle && imageSize == 0) Invalid("a compressed bitmap needs its image size");
  if (pixelBytes > size - pixelOffset) Invalid("the pixel data is cut short");

  TBitmapLayout layout;
  layout.Width = width;
  layout.Height = height < 0 ? -height : height;
  layout.InfoOffset = info;
  layout.PixelOffset = pixelOffset;
  return layout;
}

}  // namespace fw
