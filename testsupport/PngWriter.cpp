// PNG encoding: signature, IHDR, one IDAT of deflated scan lines, IEND.
#include "PngWriter.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>

namespace testsupport {

namespace {

void AppendUint32(std::vector<std::uint8_t>& Out, std::uint32_t Value) {
  Out.push_back(static_cast<std::uint8_t>(Value >> 24));
  Out.push_back(static_cast<std::uint8_t>(Value >> 16));
  Out.push_back(static_cast<std::uint8_t>(Value >> 8));
  Out.push_back(static_cast<std::uint8_t>(Value));
}

// Length, type, data, and the CRC over type and data.
void AppendChunk(std::vector<std::uint8_t>& Out, const char (&Type)[5], const std::vector<std::uint8_t>& Data) {
  AppendUint32(Out, static_cast<std::uint32_t>(Data.size()));
  std::size_t typeStart = Out.size();
  Out.insert(Out.end(), Type, Type + 4);
  Out.insert(Out.end(), Data.begin(), Data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, Out.data() + typeStart, static_cast<uInt>(Out.size() - typeStart));
  AppendUint32(Out, static_cast<std::uint32_t>(crc));
}

// Every scan line with filter type 0 (none) in front.
std::vector<std::uint8_t> ScanLines(std::uint32_t Width, std::uint32_t Height, const std::vector<std::uint8_t>& Rgb) {
  std::size_t rowBytes = static_cast<std::size_t>(Width) * 3;
  std::vector<std::uint8_t> lines;
  lines.reserve((rowBytes + 1) * Height);
  for (std::uint32_t y = 0; y < Height; ++y) {
    lines.push_back(0);
    auto row = Rgb.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
    lines.insert(lines.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
  }
  return lines;
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& Data) {
  uLongf size = compressBound(static_cast<uLong>(Data.size()));
  std::vector<std::uint8_t> out(size);
  if (compress2(out.data(), &size, Data.data(), static_cast<uLong>(Data.size()), Z_BEST_SPEED) != Z_OK)
    throw std::runtime_error("deflate failed");
  out.resize(size);
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(std::uint32_t Width, std::uint32_t Height, const std::vector<std::uint8_t>& Rgb) {
  if (Width == 0 || Height == 0) throw std::invalid_argument("a PNG image has at least one pixel");
  // PNG limits each dimension to 2^31 - 1; far below, a screen fits with room to spare.
  if (Width > 0x7FFFFFFF || Height > 0x7FFFFFFF || static_cast<std::uint64_t>(Width) * Height * 3 != Rgb.size())
    throw std::invalid_argument("the pixels do not match the image size");

  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  AppendUint32(header, Width);
  AppendUint32(header, Height);
  header.push_back(8);  // bits per sample
  header.push_back(2);  // colour type: RGB
  header.push_back(0);  // compression: deflate
  header.push_back(0);  // filter method
  header.push_back(0);  // no interlace
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", Deflate(ScanLines(Width, Height, Rgb)));
  AppendChunk(png, "IEND", {});
  return png;
}

bool WritePngFile(const std::string& FileName, std::uint32_t Width, std::uint32_t Height,
                  const std::vector<std::uint8_t>& Rgb) {
  std::vector<std::uint8_t> png = EncodePng(Width, Height, Rgb);
  std::ofstream file(FileName, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(file.flush());
}

}  // namespace testsupport
