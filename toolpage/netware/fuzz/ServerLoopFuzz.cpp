// Plays a server that repeats the input's answers for ever against the loops that ask a
// server until it says that nothing more follows: the loaded-module list, the client's
// directory scan and the server-side listing. Whatever it answers, each loop must end
// within its bound: the walks done or with TNWException (NW_INVALID_REPLY_LENGTH), never
// taking a module number twice; the listing complete only with every name the search
// found, and never going on past its idle or time limit on its clock, which the answers
// move. The first byte picks the loop; the rest is the answers, read round and round.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "NwErrors.h"
#include "SearchListing.h"
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

// The listing's clock: it moves only by the waits the listing asks for and by the time
// each request takes.
class TFuzzClock : public TListingClock {
 public:
  uint32_t Now() override { return FNow; }
  bool Wait(uint32_t Milliseconds) override {
    Require(Milliseconds >= 1 && Milliseconds <= kListingSlowRequestPause + 1);
    FNow += Milliseconds;
    return true;
  }
  void Pass(uint32_t Milliseconds) { FNow += Milliseconds; }

 private:
  uint32_t FNow = 1000;
};

constexpr uint32_t kLongestRequest = 255 * 4;  // ms
// How far past a limit the listing may notice it: one pause, then a batch and a poll.
constexpr uint32_t kListingSlack = kListingSlowRequestPause + 1 + 2 * kLongestRequest;

// Each request first takes a byte: its time (x 4 ms). A status poll then takes a byte:
// 0xFF a client error; else bit 6 the end of the search, bit 7 the found count falling by
// the low five bits, otherwise rising by them, where 31 sets it to the next two bytes
// times 2. A batch takes a byte: 0xFF a broken batch; from 200 on (c - 200) x 100 names,
// else c % 64 names.
class TFuzzSearch : public TListingSearch {
 public:
  TFuzzSearch(TRepeatedAnswers& Server, TFuzzClock& Clock) : FServer(Server), FClock(Clock), FLastName(Clock.Now()) {}

  bool PollStatus() override {
    Request();
    const uint8_t a = FServer.Byte();
    if (a == 0xFF) return false;
    const uint32_t step = a & 0x1F;
    if (a & 0x80)
      FStatus.Found -= std::min(FStatus.Found, step);
    else if (step == 31)
      FStatus.Found = (FServer.Byte() | (FServer.Byte() << 8)) * 2u;
    else
      FStatus.Found += step;
    FStatus.Finished = (a & 0x40) != 0;
    return true;
  }
  const TSearchStatus& SearchStatus() const override { return FStatus; }
  bool FetchNames(std::vector<std::string>& Names) override {
    Request();
    const uint8_t c = FServer.Byte();
    if (c == 0xFF) return false;
    const uint32_t count = c >= 200 ? (c - 200u) * 100u : c % 64u;
    for (uint32_t i = 0; i < count; ++i) Names.push_back("N" + std::to_string(Names.size()));
    if (count > 0) FLastName = FClock.Now();
    return true;
  }
  uint32_t LastRequestTime() const override { return FRequestTime; }

 private:
  // A request comes only while the listing is within its limits (as far as it could know).
  void Request() {
    Require(FClock.Now() - FLastName <= kListingIdleLimit + kListingSlack);
    FRequestTime = FServer.Byte() * 4u;
    FClock.Pass(FRequestTime);
  }

  TRepeatedAnswers& FServer;
  TFuzzClock& FClock;
  TSearchStatus FStatus;
  uint32_t FRequestTime = 0;
  uint32_t FLastName;
};

void FuzzListing(TRepeatedAnswers& Server) {
  TFuzzClock clock;
  TFuzzSearch search(Server, clock);
  const uint32_t start = clock.Now();
  std::vector<std::string> names;
  const bool complete = RunListing(search, clock, names);
  Require(clock.Now() - start <= kListingTimeLimit + kListingSlack);
  if (complete)
    Require(search.SearchStatus().Finished && names.size() == search.SearchStatus().Found &&
            names.size() <= kMaxListedNames);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 2) return 0;
  TRepeatedAnswers server(Data + 1, Size - 1);
  switch (Data[0] % 3) {
    case 0:
      FuzzModuleList(server);
      break;
    case 1:
      FuzzEntryScan(server);
      break;
    default:
      FuzzListing(server);
  }
  return 0;
}
