#include <gtest/gtest.h>

#include <cstring>

#include "core/SysUtils.h"
#include "gui/BitmapFormat.h"
#include "tests/ErrorText.h"
#ifdef _WIN32
#include "gui/Graphics.h"
#endif

using namespace fw;

namespace {

void PutDWord(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  std::memcpy(&b[at], &v, 4);
}

// A bitmap file of Width x Height pixels at Bits per pixel, with a full colour table
// for 8 bits or fewer.
std::vector<uint8_t> MakeBitmap(int32_t Width, int32_t Height, uint16_t Bits) {
  uint32_t colors = Bits <= 8 ? 1u << Bits : 0;
  uint32_t offset = 54 + colors * 4;
  uint32_t stride = (static_cast<uint32_t>(Width) * Bits + 31) / 32 * 4;
  std::vector<uint8_t> b(offset + stride * static_cast<uint32_t>(Height < 0 ? -Height : Height), 0);
  b[0] = 'B';
  b[1] = 'M';
  PutDWord(b, 2, static_cast<uint32_t>(b.size()));
  PutDWord(b, 10, offset);
  PutDWord(b, 14, 40);
  PutDWord(b, 18, static_cast<uint32_t>(Width));
  PutDWord(b, 22, static_cast<uint32_t>(Height));
  b[26] = 1;
  b[28] = static_cast<uint8_t>(Bits);
  return b;
}

std::string CheckError(const std::vector<uint8_t>& Data) {
  return fw::testing::ErrorText<EInOutError>([&] { CheckBitmapFile(Data); });
}

TEST(BitmapFormat, ConsistentFilesPassWithTheirSizeAndLayout) {
  TBitmapLayout layout = CheckBitmapFile(MakeBitmap(2, 3, 24));
  EXPECT_EQ(layout.Width, 2);
  EXPECT_EQ(layout.Height, 3);
  EXPECT_EQ(layout.InfoOffset, 14u);
  EXPECT_EQ(layout.PixelOffset, 54u);
  EXPECT_EQ(CheckBitmapFile(MakeBitmap(5, -4, 8)).Height, 4);  // top-down
  EXPECT_EQ(CheckBitmapFile(MakeBitmap(17, 2, 1)).PixelOffset, 62u);
}

TEST(BitmapFormat, HeadersTablesAndPixelsThatTheDataDoesNotHoldAreRefused) {
  std::vector<uint8_t> good = MakeBitmap(2, 3, 24);
  EXPECT_EQ(CheckError(std::vector<uint8_t>(good.begin(), good.begin() + 30)),
            "Bitmap image is not valid: the header is cut short");
  EXPECT_EQ(CheckError(std::vector<uint8_t>(good.begin(), good.end() - 1)),
            "Bitmap image is not valid: the pixel data is cut short");
  std::vector<uint8_t> bigHeader = good;
  PutDWord(bigHeader, 14, 0x7FFFFFF0);
  EXPECT_EQ(CheckError(bigHeader), "Bitmap image is not valid: unknown header size 2147483632");
  std::vector<uint8_t> tall = good;
  PutDWord(tall, 22, 3000);
  EXPECT_EQ(CheckError(tall), "Bitmap image is not valid: the pixel data is cut short");
  std::vector<uint8_t> palette = MakeBitmap(4, 4, 8);
  EXPECT_EQ(CheckError(std::vector<uint8_t>(palette.begin(), palette.begin() + 54 + 100)),
            "Bitmap image is not valid: the colour table is cut short");
  std::vector<uint8_t> manyColors = palette;
  PutDWord(manyColors, 46, 100000);
  EXPECT_EQ(CheckError(manyColors), "Bitmap image is not valid: the colour table is too large");
  std::vector<uint8_t> offset = good;
  PutDWord(offset, 10, 0xFFFFFFFF);
  EXPECT_EQ(CheckError(offset), "Bitmap image is not valid: the pixel data offset is out of place");
  std::vector<uint8_t> lowest = good;
  PutDWord(lowest, 22, 0x80000000);
  EXPECT_EQ(CheckError(lowest), "Bitmap image is not valid: width or height out of range");
  std::vector<uint8_t> huge = good;
  PutDWord(huge, 18, 0x7FFFFFFF);
  PutDWord(huge, 22, 0x7FFFFFFF);
  huge[28] = 32;
  EXPECT_EQ(CheckError(huge), "Bitmap image is not valid: the pixel data is cut short");
  std::vector<uint8_t> rle = good;
  rle[30] = 1;  // RLE8 at 24 bits
  EXPECT_EQ(CheckError(rle), "Bitmap image is not valid: unsupported compression");
  EXPECT_EQ(CheckError({'B', 'M', 0}), "Bitmap image is not valid: no bitmap file header");
}

#ifdef _WIN32
TEST(BitmapFormat, AShortPictureInAFormIsRefusedBeforeGdiSeesIt) {
  std::vector<uint8_t> good = MakeBitmap(2, 3, 24);
  // A picture's data: the class name, the bitmap's length, the bitmap.
  const std::string name = "\x07TBitmap";
  std::vector<uint8_t> data(name.begin(), name.end());
  data.resize(name.size() + 4 + good.size());
  PutDWord(data, name.size(), static_cast<uint32_t>(good.size()));
  std::memcpy(&data[name.size() + 4], good.data(), good.size());
  TPicture picture;
  picture.SetData(data);
  EXPECT_EQ(picture.Height(), 3);
  // The header promises 3000 rows; the data holds 3.
  std::vector<uint8_t> tall = data;
  PutDWord(tall, 12 + 22, 3000);
  EXPECT_THROW(picture.SetData(tall), EInOutError);
  EXPECT_EQ(picture.Data(), data);
  TBitmap bitmap;
  std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 20);
  EXPECT_THROW(bitmap.LoadFromBytes(shortHeader), EInOutError);
  EXPECT_TRUE(bitmap.Empty());
}
#endif

}  // namespace
