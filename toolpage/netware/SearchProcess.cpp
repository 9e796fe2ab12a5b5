#include "SearchProcess.h"

#include <windows.h>

#include "MessageWait.h"
#include "NwErrors.h"
#include "ServerFiles.h"
#include "WireFormat.h"

namespace toolpage {

const char* const kSearchExtension = "KAVEL:CS4";

namespace {

enum : uint32_t { sfStatus = 0, sfDirectoryName = 1, sfResults = 4 };

constexpr int kMaxDirectoryNames = 65536;  // a server that never stops naming directories

// The search process as the listing's loop asks it.
class TProcessListing : public TListingSearch {
 public:
  explicit TProcessListing(TFileSearchProcess& Process) : FProcess(Process) {}
  bool PollStatus() override { return FProcess.UpdateStatus(); }
  const TSearchStatus& SearchStatus() const override { return FProcess.SearchStatus(); }
  bool FetchNames(std::vector<std::string>& Names) override {
    if (!FProcess.FetchResults(nullptr)) return false;
    for (int i = 0; i < FProcess.GetResultCount(); ++i) {
      TSearchEntry entry;
      FProcess.GetResult(i, entry);
      Names.push_back(EntryName(entry));
    }
    return true;
  }
  uint32_t LastRequestTime() const override { return FProcess.Duration(); }

 private:
  TFileSearchProcess& FProcess;
};

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
  TProcessListing listing(*this);
  std::vector<std::string> names;
  try {
    if (!RunListing(listing, *FClock, names)) return false;
  } catch (const TNWException&) {
    return false;  // a broken reply
  } catch (const EAssertionFailed&) {
    return false;  // a reply longer than its buffer
  }
  for (const std::string& name : names) List.Add(name);
  return true;
}

// --- TAnsweringClock -----------------------------------------------------------

uint32_t TAnsweringClock::Now() {
  return GetTickCount();
}

bool TAnsweringClock::Wait(uint32_t Milliseconds) {
  return WaitAnswering(Milliseconds);
}

}  // namespace toolpage
