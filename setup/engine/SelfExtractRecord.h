// The self-extracting setup's information record: 56 bytes behind the archives that
// say where "setup.1" and "files.1" lie inside the file, followed in a finished setup by
// the 40-character digest trailer. Portable code: encoding and the checked decoding.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace setup {

inline constexpr int kSelfExtractRecordSize = 56;
inline constexpr int kDigestTrailerSize = 40;
// The record of a finished setup stands this far before its end.
inline constexpr int kSelfExtractTailSize = kSelfExtractRecordSize + kDigestTrailerSize;
inline constexpr char kSelfExtractingText[] = "SELFEXTRACTING";
inline constexpr char kNotSelfExtractText[] = "NOTSELFEXTRACT";

using TSelfExtractBytes = std::array<uint8_t, kSelfExtractRecordSize>;

// The record's offsets are inclusive: a part runs from its first to its last byte.
struct TSelfExtractInfo {
  bool SelfExtracting = false;  // "SELFEXTRACTING"; false for "NOTSELFEXTRACT"
  int32_t Setup1First = 0, Setup1Last = 0;
  int32_t Files1First = 0, Files1Last = 0;  // both 0: no "files.1"

  bool HasFiles1() const { return Files1First != 0 || Files1Last != 0; }
  int64_t Setup1Size() const { return int64_t(Setup1Last) - Setup1First + 1; }
  int64_t Files1Size() const { return HasFiles1() ? int64_t(Files1Last) - Files1First + 1 : 0; }
};

TSelfExtractBytes EncodeSelfExtractInfo(const TSelfExtractInfo& Info);

// Reads the record that starts at RecordPosition of its file. A sound record has its
// marker, and in a self-extracting one the parts lie in order inside the file before the
// record (setup.1 first, then files.1 when present); a "NOTSELFEXTRACT" record has no
// offsets. False with the reason when the record is not sound.
bool DecodeSelfExtractInfo(const uint8_t* Bytes, int64_t RecordPosition, TSelfExtractInfo& Info, std::string& Reason);

}  // namespace setup
