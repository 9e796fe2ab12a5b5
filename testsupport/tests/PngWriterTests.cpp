// The PNG writer's output read back with zlib: chunk layout and CRCs, header, pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "PngReader.h"
#include "PngWriter.h"

using testsupport::DecodePng;
using testsupport::EncodePng;
using testsupport::TDecodedPng;
using testsupport::WritePngFile;

namespace {

// A pattern where every pixel differs from its neighbours, so a row or channel out of
// place shows.
std::vector<std::uint8_t> Pattern(std::uint32_t Width, std::uint32_t Height) {
  std::vector<std::uint8_t> rgb;
  for (std::uint32_t y = 0; y < Height; ++y)
    for (std::uint32_t x = 0; x < Width; ++x) {
      rgb.push_back(static_cast<std::uint8_t>(x * 7 + y));
      rgb.push_back(static_cast<std::uint8_t>(y * 13 + 1));
      rgb.push_back(static_cast<std::uint8_t>((x ^ y) * 31 + 2));
    }
  return rgb;
}

TEST(PngWriter, DecodesToTheSamePixelsWithAValidHeaderAndChunks) {
  for (auto [width, height] : {std::pair<std::uint32_t, std::uint32_t>{1, 1}, {3, 2}, {5, 7}, {640, 3}}) {
    std::vector<std::uint8_t> rgb = Pattern(width, height);
    TDecodedPng image = DecodePng(EncodePng(width, height, rgb));
    EXPECT_EQ(image.Width, width);
    EXPECT_EQ(image.Height, height);
    EXPECT_EQ(image.BitDepth, 8);
    EXPECT_EQ(image.ColourType, 2);
    EXPECT_EQ(image.Interlace, 0);
    EXPECT_EQ(image.ChunkTypes, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(image.Rgb, rgb) << width << "x" << height;
  }
}

TEST(PngWriter, NoiseThatDeflateCannotShrinkStillRoundTrips) {
  std::vector<std::uint8_t> rgb(97 * 61 * 3);
  std::uint32_t state = 12345;
  for (auto& byte : rgb) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<std::uint8_t>(state >> 16);
  }
  EXPECT_EQ(DecodePng(EncodePng(97, 61, rgb)).Rgb, rgb);
}

TEST(PngWriter, RefusesPixelsThatDoNotMatchTheSizeAndEmptyImages) {
  EXPECT_THROW(EncodePng(2, 2, std::vector<std::uint8_t>(11)), std::invalid_argument);
  EXPECT_THROW(EncodePng(2, 2, std::vector<std::uint8_t>(13)), std::invalid_argument);
  EXPECT_THROW(EncodePng(0, 5, {}), std::invalid_argument);
  EXPECT_THROW(EncodePng(5, 0, {}), std::invalid_argument);
  EXPECT_THROW(EncodePng(0x80000000u, 1, std::vector<std::uint8_t>(3)), std::invalid_argument);
}

TEST(PngWriter, WritesTheFileAndReportsAFolderThatIsNotThere) {
  std::string name = ::testing::TempDir() + "png-writer-test.png";
  std::vector<std::uint8_t> rgb = Pattern(4, 4);
  ASSERT_TRUE(WritePngFile(name, 4, 4, rgb));
  std::ifstream file(name, std::ios::binary);
  std::vector<std::uint8_t> written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  file.close();
  std::remove(name.c_str());
  EXPECT_EQ(written, EncodePng(4, 4, rgb));
  EXPECT_FALSE(WritePngFile(::testing::TempDir() + "no-such-folder-here/x.png", 4, 4, rgb));
}

}  // namespace
