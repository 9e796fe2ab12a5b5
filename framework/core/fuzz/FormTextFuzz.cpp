// Feeds arbitrary bytes to the form-description parser: it must answer with a tree or
// an EReadError, never crash (scripts/fuzz.sh runs it at length).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/FormText.h"
#include "core/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    fw::ParseFormText(std::string_view(reinterpret_cast<const char*>(data), size), "FUZZ");
  } catch (const fw::EReadError&) {
  }
  return 0;
}
