// The loop of a server-side listing: the search's status is polled and its names fetched
// in batches until the search has ended with every name it found. A server that never gets
// there (a broken or hostile one) cannot keep the page waiting: the listing gives up when
// no new name has come for a while, and when it has taken too long as a whole. No
// windows.h: the loop runs on a replaceable clock and is fuzzed natively.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SearchWire.h"

namespace toolpage {

// Names one listing takes at most.
constexpr uint32_t kMaxListedNames = 65536;
// Milliseconds a listing goes on without receiving a new name.
constexpr uint32_t kListingIdleLimit = 30000;
// Milliseconds a whole listing may take.
constexpr uint32_t kListingTimeLimit = 300000;
// Milliseconds between status polls.
constexpr uint32_t kListingPollInterval = 250;
// A request slower than this (ms) is followed by a pause before the next one.
constexpr uint32_t kListingSlowRequest = 150;
constexpr uint32_t kListingSlowRequestPause = 350;

// What the listing asks of the search on the server.
class TListingSearch {
 public:
  virtual ~TListingSearch() = default;
  // Asks for the search's status. False when the client reported an error.
  virtual bool PollStatus() = 0;
  // The status last received.
  virtual const TSearchStatus& SearchStatus() const = 0;
  // The names of the next batch, appended to Names. False when the client reported an
  // error or the batch was broken.
  virtual bool FetchNames(std::vector<std::string>& Names) = 0;
  // Milliseconds the last request took.
  virtual uint32_t LastRequestTime() const = 0;
};

// The time a listing goes by: the millisecond counter, and the waits between requests.
class TListingClock {
 public:
  virtual ~TListingClock() = default;
  virtual uint32_t Now() = 0;
  // False when the wait was cut short because the program is ending (a quit is pending).
  virtual bool Wait(uint32_t Milliseconds) = 0;
};

// Runs the listing: the status is polled at most every kListingPollInterval ms, a batch is
// asked for while fewer names came than the search found (after a batch that brought none,
// not before the next poll), and a slow request is followed by a pause. True, with Names
// holding exactly the names found, when the search has ended with all of them. False (some
// names may have come) on a client error or a broken batch, when the search announces or
// delivers more than kMaxListedNames names or ends with more names than it found, when no
// new name came for kListingIdleLimit ms, when the listing has gone on for
// kListingTimeLimit ms, and when a wait of the clock reports that the program is ending.
bool RunListing(TListingSearch& Search, TListingClock& Clock, std::vector<std::string>& Names);

}  // namespace toolpage
