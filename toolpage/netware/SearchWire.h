// The server-side search of the search module's extension "KAVEL:CS4" on the wire: the
// search order, its status and its result records. No windows.h; every decoder checks the
// reply against the bytes received.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "NwTypes.h"

namespace toolpage {

// The search order. The server module defines what the options mean; the page sets the
// start directory, the masks and options B to D only.
struct TSearchCtrl {
  std::string StartDir;
  std::string Extra1, Extra2;
  std::vector<std::string> Masks;
  std::vector<std::string> Names;  // the second name list
  uint8_t OptionA = 0, OptionB = 0, OptionC = 0, OptionD = 0;
  uint8_t E1 = 0, E2 = 0, E3 = 0, E4 = 0, E5 = 255;
  uint32_t V1 = 0, V2 = 0;
  uint8_t F1 = 0, F2 = 0;
  uint32_t V3 = 0, V4 = 0;
  uint8_t G = 255;
  uint32_t V5 = 0, V6 = 0;
};

// Back to an empty order (E5 and G 255).
void InitSearchCtrl(TSearchCtrl& Ctrl);

constexpr uint32_t kDirSearchProc = 0x10021;
constexpr size_t kSearchHeaderSize = 48;
constexpr size_t kSearchVarAreaCapacity = 1025;

// The 48-byte header and the five counted texts. A mask "*" is sent as "*.*". ListCount is
// the number of items of the search's list object. Raises EAssertionFailed "Buffer to
// short!" when the texts need more than 1025 bytes.
std::vector<uint8_t> BuildSearchRequest(TSearchCtrl& Ctrl, uint32_t ListCount);

// What the status call (function 0, 277-byte reply) reports.
struct TSearchStatus {
  uint32_t Found = 0;
  uint32_t C1 = 0, C2 = 0, C3 = 0, C4 = 0;
  bool Finished = false;
  std::string CurrentDir;
};
constexpr size_t kSearchStatusSize = 277;
// Raises TNWException (NW_INVALID_REPLY_LENGTH) for a reply shorter than its fixed fields
// (21 bytes) or longer than its buffer.
TSearchStatus DecodeSearchStatus(const uint8_t* Reply, size_t Capacity, size_t ReplyLen);

// A 344-byte entry in the layout of the client's entry information.
using TSearchEntry = std::array<uint8_t, 344>;
constexpr size_t kEntryNameLengthOffset = 84;
constexpr size_t kEntryNameOffset = 85;
constexpr size_t kEntryDirIndexOffset = 56;
uint32_t EntryDirIndex(const TSearchEntry& Entry);
std::string EntryName(const TSearchEntry& Entry);

// Results (function 4): the 32-bit request value and the reply's capacity.
constexpr uint32_t kSearchResultsBatch = 4097;
constexpr size_t kSearchResultsSize = 4101;
constexpr size_t kRawRecordFixedSize = 30;

// One raw record (its fixed 30 bytes and its name, Length bytes in all) into an entry.
// False when the record is shorter than its fields or its name is not terminated within
// it or longer than 255 characters.
bool UnpackSearchResult(const uint8_t* Raw, size_t Length, TSearchEntry& Entry);

// A results batch: the 32-bit record count, then the records. False (and Entries empty)
// when the batch is broken: a record that runs past the bytes received, a record
// length that cannot hold its fields, a name past its record, or record lengths that add
// up to more than 4097 bytes.
bool DecodeSearchResults(const uint8_t* Reply, size_t Capacity, size_t ReplyLen, std::vector<TSearchEntry>& Entries);

// A directory name (function 1, 355-byte reply): NUL-terminated within the bytes received.
constexpr size_t kDirNameReplySize = 355;
std::string DecodeDirectoryName(const uint8_t* Reply, size_t Capacity, size_t ReplyLen);

}  // namespace toolpage
