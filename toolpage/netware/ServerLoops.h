// The ends of the loops that ask a server again and again until it says that nothing more
// follows. A server that keeps saying "more" (a broken or hostile one) cannot keep them
// going: each answer must move the walk forward, and each walk takes a bounded number of
// answers. A walk that meets such a server raises TNWException (NW_INVALID_REPLY_LENGTH)
// naming what did not end. No windows.h: the decisions are fuzzed natively.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "NwTypes.h"

namespace toolpage {

// Batches of the loaded-module list that one listing asks for at most (4096 modules).
constexpr uint32_t kMaxModuleBatches = 32;
// Entries that one scan of a directory takes at most.
constexpr uint32_t kMaxScannedEntries = 65536;

// The loaded-module list, asked for in batches of 128 numbers from a start number.
class TModuleListWalk {
 public:
  // Where the next batch starts (0 first, then 128 further each time).
  uint32_t Start() const { return FStart; }
  bool Done() const { return FDone; }
  // Takes the batch the server answered (a 1556-byte buffer) and gives the numbers not
  // seen before, in their order. Raises when the batch is broken (DecodeModuleListBatch),
  // when it says that more follow but brings no number not seen before, or when the
  // last batch allowed says that more follow.
  std::vector<uint32_t> Take(const uint8_t* Buffer, size_t Size);

 private:
  uint32_t FStart = 0;
  uint32_t FBatches = 0;
  bool FDone = false;
  std::set<uint32_t> FSeen;
};

// The client's scan of a directory, one entry an answer, led by a 12-byte search sequence
// that the client call reads and the server moves on.
class TEntryScanWalk {
 public:
  TEntryScanWalk();  // the sequence of a new scan: -1 in its last four bytes
  // The sequence the next call reads and updates.
  uint8_t* Sequence() { return FSequence.data(); }
  // After each answer that found an entry. Raises when the answer left the sequence where
  // it was (the same entry would come again) or when it is one entry more than
  // kMaxScannedEntries.
  void Answered();
  uint32_t Answers() const { return FAnswers; }

 private:
  std::array<uint8_t, 12> FSequence{};
  std::array<uint8_t, 12> FPrevious{};
  uint32_t FAnswers = 0;
};

}  // namespace toolpage
