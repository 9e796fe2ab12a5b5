// Feeds arbitrary format strings to fw::Format, as translated texts reach it, with one of
// a few typical argument lists: the answer is a text of bounded size or an
// EConvertError, never a crash, a huge allocation or a C library error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/SysUtils.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string FormatWith(uint8_t choice, std::string_view fmt) {
  static const std::string kLong(300, 'w');
  switch (choice % 6) {
    case 0:
      return fw::Format(fmt, "C:\\Program Files\\Kavel");
    case 1:
      return fw::Format(fmt, 42);
    case 2:
      return fw::Format(fmt, "VX4.EXE", -7, 2.5);
    case 3:
      return fw::Format(fmt, 1e300, -1e-300, 18446744073709551615ull);
    case 4:
      return fw::Format(fmt, kLong, static_cast<const void*>(&kLong), 'x');
    default:
      return fw::Format(fmt);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view fmt(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    std::string out = FormatWith(data[0], fmt);
    // Each specifier gives at most its bounded width and precision plus the digits of
    // the largest double or the longest argument.
    Check(out.size() <= fmt.size() * (2 * fw::kMaxFormatField + 400));
  } catch (const fw::EConvertError&) {
  }
  return 0;
}
