// The self-extract record reader: the first 8 bytes give the record's position in its
// file, the next 56 the record. A record that is read must describe parts inside the file,
// in order, and encode back to the same offsets.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/SelfExtractRecord.h"

using namespace setup;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 8 + kSelfExtractRecordSize) return 0;
  int64_t position = 0;
  std::memcpy(&position, Data, 8);
  TSelfExtractInfo info;
  std::string reason;
  if (!DecodeSelfExtractInfo(Data + 8, position, info, reason)) {
    if (reason.empty() || info.Setup1First != 0) std::abort();
    return 0;
  }
  if (info.SelfExtracting) {
    if (info.Setup1First < 0 || info.Setup1Size() <= 0 || info.Setup1Last >= position) std::abort();
    if (info.HasFiles1() &&
        (info.Files1First <= info.Setup1Last || info.Files1Size() <= 0 || info.Files1Last >= position))
      std::abort();
  } else if (info.Setup1Last != 0 || info.HasFiles1()) {
    std::abort();
  }
  TSelfExtractInfo again;
  if (!DecodeSelfExtractInfo(EncodeSelfExtractInfo(info).data(), position, again, reason)) std::abort();
  if (std::memcmp(&again, &info, sizeof info) != 0) std::abort();
  return 0;
}
