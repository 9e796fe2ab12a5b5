#include "SearchProcess.h"

#include <windows.h>

#include "MessageWait.h"
#include "NwErrors.h"
#include "ServerFiles.h"
#include "Timeout.h"
#include "WireFormat.h"

namespace toolpage {

const char* const kSearchExtension = "KAVEL:CS4";

namespace {

enum : uint32_t { sfStatus = 0, sfDirectoryName = 1, sfResults = 4 };

constexpr int32_t kPollInterval = 250;       // ms between status polls
constexpr uint32_t kSlowRequest = 150;       // ms: a request slower than this ...
constexpr uint32_t kSlowRequestPause = 350;  // ... is followed by this pause
constexpr int kMaxDirectoryNames = 65536;    // a server that never stops naming directories
constexpr uint32_t kMaxListedNames = 65536;  // names one listing takes at most

// A status brings the listing forward when it finds more than ever before or ends the
// search; counters or a current directory that change for ever do not.
bool StatusProgressed(const TSearchStatus& Before, const TSearchStatus& Now, uint32_t& MostFound) {
  const bool more = Now.Found > MostFound;
  if (more) MostFound = Now.Found;
  return more || (Now.Finished && !Before.Finished);
}

}  // namespace

// --- TDirSearchProcess ---------------------------------------------------------

TDirSearchProcess::TDirSearchProcess(TConnRef ConnRef, std::unique_ptr<fw::TStringList> ListObject,
                                     const TSearchCtrl& Ctrl)
    : TRProcRequester(ConnRef, kSearchExtension), FListObject(std::move(ListObject)) {
  const uint32_t listCount = FListObject ? static_cast<uint32_t>(FListObject->Count()) : 0;
  TSearchCtrl order = Ctrl;
  std::vector<uint8_t> request = BuildSearchRequest(order, listCount);
  if (FListObject && listCount == 0) return;
  FSearch = TSearchStatus();
  Open(kDirSearchProc, request.data(), static_cast<uint32_t>(request.size()));
}

bool TDirSearchProcess::UpdateStatus() {
  uint8_t data[4] = {};
  uint8_t reply[kSearchStatusSize] = {};
  if (!Call(sfStatus, data, reply, sizeof data, sizeof reply)) return false;
  FSearch = DecodeSearchStatus(reply, sizeof reply, ReplyLength());
  return true;
}

// --- TFileSearchProcess --------------------------------------------------------

TFileSearchProcess::TFileSearchProcess(TConnRef ConnRef, const TSearchCtrl& Ctrl)
    : TDirSearchProcess(ConnRef, nullptr, Ctrl) {}

bool TFileSearchProcess::FetchResults(fw::TStrings* DirList) {
  ClearResults();
  uint8_t data[4];
  PutLE32(data, kSearchResultsBatch);
  std::vector<uint8_t> reply(kSearchResultsSize, 0);
  if (!Call(sfResults, data, reply.data(), sizeof data, static_cast<uint32_t>(reply.size()))) return false;
  std::vector<TSearchEntry> entries;
  if (!DecodeSearchResults(reply.data(), reply.size(), ReplyLength(), entries)) return false;
  if (DirList)
    for (const TSearchEntry& entry : entries)
      if (EntryDirIndex(entry) >= static_cast<uint32_t>(DirList->Count())) FetchDirectories(*DirList);
  FResults = std::move(entries);
  return true;
}

void TFileSearchProcess::FetchDirectories(fw::TStrings& DirList) {
  std::vector<uint8_t> reply(kDirNameReplySize, 0);
  for (int fetched = 0; fetched < kMaxDirectoryNames; ++fetched) {
    uint8_t data[4];
    PutLE32(data, static_cast<uint32_t>(DirList.Count()));
    if (!Call(sfDirectoryName, data, reply.data(), sizeof data, static_cast<uint32_t>(reply.size()))) return;
    DirList.Add(DecodeDirectoryName(reply.data(), reply.size(), ReplyLength()));
  }
  throw TNWException(fw::Format("The server names more than %d directories", kMaxDirectoryNames),
                     NW_INVALID_REPLY_LENGTH);
}

// --- TDirListProcess -----------------------------------------------------------

TSearchCtrl TDirListProcess::ListCtrl(TConnRef ConnRef, uint8_t Flags, const std::string& Mask,
                                      const std::string& Directory) {
  TSearchCtrl ctrl;
  InitSearchCtrl(ctrl);
  ctrl.StartDir = GetDosPathByRef(ConnRef, Directory);
  ctrl.Masks.push_back(Mask);
  ctrl.OptionB = 1;
  ctrl.OptionC = 1;
  if (Flags & 2) ctrl.OptionD = 2;
  return ctrl;
}

TDirListProcess::TDirListProcess(TConnRef ConnRef, uint8_t Flags, const std::string& Mask, const std::string& Directory)
    : TFileSearchProcess(ConnRef, ListCtrl(ConnRef, Flags, Mask, Directory)) {}

bool TDirListProcess::FillList(fw::TStrings& List) {
  if (!IsOpen()) return false;
  const int base = List.Count();
  bool complete = false;
  try {
    complete = RunListing(List, base);
  } catch (const TNWException&) {
    complete = false;  // a broken reply
  } catch (const EAssertionFailed&) {
    complete = false;  // a reply longer than its buffer
  }
  if (!complete)
    while (List.Count() > base) List.Delete(List.Count() - 1);
  return complete;
}

bool TDirListProcess::RunListing(fw::TStrings& List, int Base) {
  UpdateStatus();
  uint32_t pollStart = GetTickCount();
  uint32_t lastProgress = pollStart;
  uint32_t mostFound = SearchStatus().Found;
  while (Status() == 0) {
    const uint32_t added = static_cast<uint32_t>(List.Count() - Base);
    const TSearchStatus& search = SearchStatus();
    if (search.Found > kMaxListedNames || added > kMaxListedNames) return false;  // more than one listing takes
    if (added < search.Found) {
      if (!FetchResults(nullptr)) return false;
      for (int i = 0; i < GetResultCount(); ++i) {
        TSearchEntry entry;
        GetResult(i, entry);
        List.Add(EntryName(entry));
      }
      if (GetResultCount() > 0) lastProgress = GetTickCount();
    }
    if (TimeoutExpired(pollStart, kPollInterval)) {
      const TSearchStatus before = SearchStatus();
      UpdateStatus();
      if (StatusProgressed(before, SearchStatus(), mostFound)) lastProgress = GetTickCount();
      pollStart = GetTickCount();
    }
    if (Status() != 0) break;
    const uint32_t now = static_cast<uint32_t>(List.Count() - Base);
    if (SearchStatus().Finished) {
      if (now == SearchStatus().Found) return true;
      if (now > SearchStatus().Found) return false;  // more names than the server found
    }
    if (TimeoutExpired(lastProgress, static_cast<int32_t>(FDeadline))) return false;
    if (Duration() > kSlowRequest) {
      WaitAnswering(kSlowRequestPause);
    } else if (now >= SearchStatus().Found) {
      // Nothing to fetch until the next status poll.
      const uint32_t waited = GetTickCount() - pollStart;
      WaitAnswering(waited < uint32_t(kPollInterval) ? kPollInterval - waited + 1 : 1);
    }
  }
  return false;  // a client error ended the listing
}

}  // namespace toolpage
