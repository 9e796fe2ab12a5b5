// For tests: reads back what the PNG writer makes (8-bit RGB, one filter type 0 per
// line), checking the signature, every chunk's CRC and the amount of pixel data.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

struct TDecodedPng {
  std::uint32_t Width = 0, Height = 0;
  std::uint8_t BitDepth = 0, ColourType = 0, Interlace = 0;
  std::vector<std::string> ChunkTypes;
  std::vector<std::uint8_t> Rgb;

  // Red, green and blue of the pixel at X, Y.
  std::vector<std::uint8_t> Pixel(std::uint32_t X, std::uint32_t Y) const {
    auto at = Rgb.begin() + static_cast<std::ptrdiff_t>((static_cast<std::size_t>(Y) * Width + X) * 3);
    return {at, at + 3};
  }
};

inline std::uint32_t ReadUint32(const std::vector<std::uint8_t>& Data, std::size_t At) {
  return static_cast<std::uint32_t>(Data.at(At)) << 24 | static_cast<std::uint32_t>(Data.at(At + 1)) << 16 |
         static_cast<std::uint32_t>(Data.at(At + 2)) << 8 | Data.at(At + 3);
}

inline std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t>& Compressed, std::size_t Expected) {
  std::vector<std::uint8_t> out(Expected + 1);  // one spare byte shows data beyond the expected size
  uLongf size = static_cast<uLongf>(out.size());
  int status = uncompress(out.data(), &size, Compressed.data(), static_cast<uLong>(Compressed.size()));
  if (status != Z_OK) throw std::runtime_error("inflate failed: " + std::to_string(status));
  out.resize(size);
  return out;
}

inline TDecodedPng DecodePng(const std::vector<std::uint8_t>& Png) {
  const std::vector<std::uint8_t> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (Png.size() < 8 || !std::equal(signature.begin(), signature.end(), Png.begin()))
    throw std::runtime_error("no PNG signature");
  TDecodedPng image;
  std::vector<std::uint8_t> idat;
  std::size_t at = 8;
  while (at < Png.size()) {
    std::uint32_t length = ReadUint32(Png, at);
    if (at + 12 + length > Png.size()) throw std::runtime_error("chunk runs past the end");
    auto data = Png.begin() + static_cast<std::ptrdiff_t>(at + 8);
    std::string type(data - 4, data);
    uLong crc = crc32(crc32(0L, Z_NULL, 0), Png.data() + at + 4, length + 4);
    if (crc != ReadUint32(Png, at + 8 + length)) throw std::runtime_error("bad CRC in " + type);
    if (type == "IHDR") {
      std::vector<std::uint8_t> header(data, data + length);
      image.Width = ReadUint32(header, 0);
      image.Height = ReadUint32(header, 4);
      image.BitDepth = header.at(8);
      image.ColourType = header.at(9);
      image.Interlace = header.at(12);
    } else if (type == "IDAT") {
      idat.insert(idat.end(), data, data + length);
    }
    image.ChunkTypes.push_back(type);
    at += 12 + length;
  }
  std::size_t rowBytes = static_cast<std::size_t>(image.Width) * 3;
  std::vector<std::uint8_t> lines = Inflate(idat, (rowBytes + 1) * image.Height);
  if (lines.size() != (rowBytes + 1) * image.Height) throw std::runtime_error("wrong amount of pixel data");
  for (std::uint32_t y = 0; y < image.Height; ++y) {
    auto line = lines.begin() + static_cast<std::ptrdiff_t>(y * (rowBytes + 1));
    if (*line != 0) throw std::runtime_error("unexpected filter type");
    image.Rgb.insert(image.Rgb.end(), line + 1, line + 1 + static_cast<std::ptrdiff_t>(rowBytes));
  }
  return image;
}

}  // namespace testsupport
