// Plays a server that repeats the input's answers for ever against the loops that ask a
// server until it says that nothing more follows: the loaded-module list and the client's
// directory scan. Whatever it answers, each loop must end within its bound, either done
// or with TNWException (NW_INVALID_REPLY_LENGTH), and never take a module number twice.
// The first byte picks the loop; the rest is the answers, read round and round.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "NwErrors.h"
#include "ServerLoops.h"
#include "ServerPaths.h"
#include "WireFormat.h"

using namespace toolpage;

namespace {

void Require(bool Condition) {
  if (!Condition) __builtin_trap();
}

// The answers of the input, started again from the first when they run out.
class TRepeatedAnswers {
 public:
  TRepeatedAnswers(const uint8_t* Data, size_t Size) : FData(Data), FSize(Size) {}
  uint8_t Byte() {
    uint8_t b = FData[FPos];
    FPos = (FPos + 1) % FSize;
    return b;
  }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPos = 0;
};

// Each batch: a count byte (200 and more stand for counts of 128 and far above), then
// that many numbers (at most 128) of two bytes each.
void FuzzModuleList(TRepeatedAnswers& Server) {
  TModuleListWalk walk;
  std::set<uint32_t> taken;
  std::vector<uint8_t> buffer(kModuleListSize);
  uint32_t batches = 0, expectedStart = 0;
  try {
    while (!walk.Done()) {
      Require(++batches <= kMaxModuleBatches && walk.Start() == expectedStart);
      std::fill(buffer.begin(), buffer.end(), 0);
      uint8_t c = Server.Byte();
      uint32_t count = c >= 200 ? 128u + (c - 200u) * 1000000u : c;
      PutLE32(buffer.data() + 16, count);
      for (uint32_t i = 0; i < std::min(count, kModuleBatch); ++i) {
        uint32_t number = Server.Byte() | (Server.Byte() << 8);
        PutLE32(buffer.data() + 20 + 4 * i, number);
      }
      for (uint32_t number : walk.Take(buffer.data(), buffer.size())) Require(taken.insert(number).second);
      expectedStart += kModuleBatch;
    }
  } catch (const TNWException& e) {
    Require(e.ErrorCode() == NW_INVALID_REPLY_LENGTH && !walk.Done());
  }
}

// Each answer: a byte that ends the scan when it is 0xFF, else how many of the sequence's
// 12 bytes the server changes (0: none, the same entry again), followed by their values.
void FuzzEntryScan(TRepeatedAnswers& Server) {
  TEntryScanWalk walk;
  uint32_t calls = 0;
  try {
    for (;;) {
      Require(++calls <= kMaxScannedEntries + 1);
      uint8_t answer = Server.Byte();
      if (answer == 0xFF) break;  // no more entries
      uint8_t before[12];
      memcpy(before, walk.Sequence(), sizeof before);
      for (uint8_t i = 0; i < answer % 13; ++i) walk.Sequence()[Server.Byte() % 12] = Server.Byte();
      const bool moved = memcmp(before, walk.Sequence(), sizeof before) != 0;
      try {
        walk.Answered();
      } catch (const TNWException&) {
        Require(!moved || walk.Answers() > kMaxScannedEntries);  // only a stuck sequence or the bound
        throw;
      }
      Require(moved && walk.Answers() <= kMaxScannedEntries);
    }
  } catch (const TNWException& e) {
    Require(e.ErrorCode() == NW_INVALID_REPLY_LENGTH);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 2) return 0;
  TRepeatedAnswers server(Data + 1, Size - 1);
  if (Data[0] % 2 == 0)
    FuzzModuleList(server);
  else
    FuzzEntryScan(server);
  return 0;
}
