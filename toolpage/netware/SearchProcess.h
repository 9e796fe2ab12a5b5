// Searches that the search module runs on the server behind its extension "KAVEL:CS4":
// a search is opened as a remote procedure, its status polled and its results fetched
// in batches.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RProcRequester.h"
#include "SearchListing.h"
#include "SearchWire.h"
#include "core/Strings.h"

namespace toolpage {

extern const char* const kSearchExtension;  // "KAVEL:CS4"

class TDirSearchProcess : public TRProcRequester {
 public:
  // Opens the search of Ctrl. With a list object that holds no items nothing is opened.
  // Raises EAssertionFailed when the order does not fit ("Buffer to short!", "ParamLen to
  // loong!").
  TDirSearchProcess(TConnRef ConnRef, std::unique_ptr<fw::TStringList> ListObject, const TSearchCtrl& Ctrl);

  // Asks for the search's status; on a client error the status stays as it was. Raises
  // TNWException for a broken reply.
  bool UpdateStatus();
  const TSearchStatus& SearchStatus() const { return FSearch; }

 private:
  std::unique_ptr<fw::TStringList> FListObject;
  TSearchStatus FSearch;
};

class TFileSearchProcess : public TDirSearchProcess {
 public:
  TFileSearchProcess(TConnRef ConnRef, const TSearchCtrl& Ctrl);

  void ClearResults() { FResults.clear(); }
  int GetResultCount() const { return static_cast<int>(FResults.size()); }
  void GetResult(int Index, TSearchEntry& Entry) const { Entry = FResults.at(static_cast<size_t>(Index)); }
  // The next batch of results in place of the last one. False on a client error or a
  // broken batch (then no results are kept). With DirList, the names of the directories
  // the entries refer to are fetched first.
  bool FetchResults(fw::TStrings* DirList);
  // Directory names from DirList's count on, until the server has no more. A server that
  // names more than 65,536 makes it raise TNWException (then FetchResults keeps no results).
  void FetchDirectories(fw::TStrings& DirList);

 private:
  std::vector<TSearchEntry> FResults;
};

// The system's tick counter, and waits during which the thread's windows keep answering.
class TAnsweringClock : public TListingClock {
 public:
  uint32_t Now() override;
  // False when a WM_QUIT is pending (put back for the message loop).
  bool Wait(uint32_t Milliseconds) override;
};

// Lists the names of one directory that match one mask.
class TDirListProcess : public TFileSearchProcess {
 public:
  // Flags: bit 2 asks for directories too.
  TDirListProcess(TConnRef ConnRef, uint8_t Flags, const std::string& Mask, const std::string& Directory);

  // Adds the names found to List (RunListing). False when the search could not be opened,
  // or when the listing failed (a client error, a broken batch, a bound met): then List is
  // left as it was, never holding part of the listing.
  bool FillList(fw::TStrings& List);

  // The clock the listing runs on (the tick counter unless a test gives another).
  void SetClock(TListingClock& Clock) { FClock = &Clock; }

 private:
  static TSearchCtrl ListCtrl(TConnRef ConnRef, uint8_t Flags, const std::string& Mask, const std::string& Directory);

  TAnsweringClock FAnsweringClock;
  TListingClock* FClock = &FAnsweringClock;
};

}  // namespace toolpage
