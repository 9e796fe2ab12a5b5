#include "ServerLoops.h"

#include <cstring>

#include "NwErrors.h"
#include "ServerPaths.h"

namespace toolpage {

namespace {

[[noreturn]] void EndlessAnswers(const std::string& What) {
  throw TNWException(What, NW_INVALID_REPLY_LENGTH);
}

}  // namespace

std::vector<uint32_t> TModuleListWalk::Take(const uint8_t* Buffer, size_t Size) {
  TModuleBatch batch = DecodeModuleListBatch(Buffer, Size);
  ++FBatches;
  std::vector<uint32_t> fresh;
  for (uint32_t number : batch.Numbers)
    if (FSeen.insert(number).second) fresh.push_back(number);
  if (!batch.More) {
    FDone = true;
    return fresh;
  }
  if (fresh.empty())
    EndlessAnswers(fw::Format("The list of loaded modules does not end: batch %u names no new module", FBatches));
  if (FBatches >= kMaxModuleBatches)
    EndlessAnswers(fw::Format("The list of loaded modules does not end after %u modules", FBatches * kModuleBatch));
  FStart += kModuleBatch;
  return fresh;
}

TEntryScanWalk::TEntryScanWalk() {
  memset(FSequence.data() + 8, 0xFF, 4);
  FPrevious = FSequence;
}

void TEntryScanWalk::Answered() {
  if (FSequence == FPrevious) EndlessAnswers("The server's file list does not advance");
  if (++FAnswers > kMaxScannedEntries)
    EndlessAnswers(fw::Format("The server's file list does not end after %u entries", kMaxScannedEntries));
  FPrevious = FSequence;
}

}  // namespace toolpage
