#include "SelfExtractRecord.h"

#include <cstring>

namespace setup {
namespace {

constexpr size_t kTextLength = 14;

void PutInt32(uint8_t* P, int32_t Value) {
  const auto u = static_cast<uint32_t>(Value);
  for (int i = 0; i < 4; ++i) P[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t GetInt32(const uint8_t* P) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= uint32_t(P[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

}  // namespace

TSelfExtractBytes EncodeSelfExtractInfo(const TSelfExtractInfo& Info) {
  TSelfExtractBytes bytes{};
  bytes[0] = kTextLength;
  std::memcpy(&bytes[1], Info.SelfExtracting ? kSelfExtractingText : kNotSelfExtractText, kTextLength);
  if (Info.SelfExtracting) {
    PutInt32(&bytes[16], Info.Setup1First);
    PutInt32(&bytes[20], Info.Setup1Last);
    PutInt32(&bytes[24], Info.Files1First);
    PutInt32(&bytes[28], Info.Files1Last);
  }
  return bytes;
}

bool DecodeSelfExtractInfo(const uint8_t* Bytes, int64_t RecordPosition, TSelfExtractInfo& Info, std::string& Reason) {
  Info = TSelfExtractInfo();
  const bool selfExtracting = std::memcmp(&Bytes[1], kSelfExtractingText, kTextLength) == 0;
  const bool notSelfExtract = std::memcmp(&Bytes[1], kNotSelfExtractText, kTextLength) == 0;
  if (Bytes[0] != kTextLength || Bytes[15] != 0 || !(selfExtracting || notSelfExtract)) {
    Reason = "it has no extraction info record";
    return false;
  }
  TSelfExtractInfo read;
  read.SelfExtracting = selfExtracting;
  read.Setup1First = GetInt32(&Bytes[16]);
  read.Setup1Last = GetInt32(&Bytes[20]);
  read.Files1First = GetInt32(&Bytes[24]);
  read.Files1Last = GetInt32(&Bytes[28]);
  if (notSelfExtract) {
    if (read.Setup1First != 0 || read.Setup1Last != 0 || read.HasFiles1()) {
      Reason = "its NOTSELFEXTRACT record carries offsets";
      return false;
    }
  } else {
    if (read.Setup1First < 0 || read.Setup1Last < read.Setup1First || read.Setup1Last >= RecordPosition) {
      Reason = "the offsets of setup.1 lie outside the file or out of order";
      return false;
    }
    if (read.HasFiles1() && (read.Files1First <= read.Setup1Last || read.Files1Last < read.Files1First ||
                             read.Files1Last >= RecordPosition)) {
      Reason = "the offsets of files.1 lie outside the file or out of order";
      return false;
    }
  }
  Info = read;
  Reason.clear();
  return true;
}

}  // namespace setup
