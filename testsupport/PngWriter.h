// PNG images from 24-bit RGB pixels: one IDAT chunk, no filtering, zlib's deflate.
// Portable code (no windows.h), so the native build checks it with the sanitizers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Pixels are rows top to bottom, three bytes (red, green, blue) a pixel, no padding:
// Rgb.size() must be Width * Height * 3. Throws std::invalid_argument otherwise, and for
// an empty image, which PNG does not allow.
std::vector<std::uint8_t> EncodePng(std::uint32_t Width, std::uint32_t Height, const std::vector<std::uint8_t>& Rgb);

// Encodes and writes the file; false when the file cannot be written.
bool WritePngFile(const std::string& FileName, std::uint32_t Width, std::uint32_t Height,
                  const std::vector<std::uint8_t>& Rgb);

}  // namespace testsupport
