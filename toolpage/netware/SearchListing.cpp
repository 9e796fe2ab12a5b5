#include "SearchListing.h"

#include "Timeout.h"

namespace toolpage {

bool RunListing(TListingSearch& Search, TListingClock& Clock, std::vector<std::string>& Names) {
  Names.clear();
  const uint32_t start = Clock.Now();
  if (!Search.PollStatus()) return false;
  uint32_t polled = Clock.Now();
  uint32_t lastName = start;
  for (;;) {
    if (Search.SearchStatus().Found > kMaxListedNames || Names.size() > kMaxListedNames) return false;
    bool nothingCame = true;
    if (Names.size() < Search.SearchStatus().Found) {
      const size_t before = Names.size();
      if (!Search.FetchNames(Names)) return false;
      if (Names.size() > before) {
        lastName = Clock.Now();
        nothingCame = false;
      }
    }
    if (TimeoutExpiredAt(Clock.Now(), polled, kListingPollInterval)) {
      if (!Search.PollStatus()) return false;
      polled = Clock.Now();
    }
    const TSearchStatus& status = Search.SearchStatus();
    if (status.Finished) {
      if (Names.size() == status.Found) return true;
      if (Names.size() > status.Found) return false;  // more names than the server found
    }
    const uint32_t now = Clock.Now();
    if (TimeoutExpiredAt(now, lastName, kListingIdleLimit)) return false;
    if (TimeoutExpiredAt(now, start, kListingTimeLimit)) return false;
    if (Search.LastRequestTime() > kListingSlowRequest) {
      if (!Clock.Wait(kListingSlowRequestPause)) return false;
    } else if (nothingCame || Names.size() >= status.Found) {
      // Nothing to fetch before the next status poll.
      const uint32_t waited = now - polled;
      if (!Clock.Wait(waited < kListingPollInterval ? kListingPollInterval - waited + 1 : 1)) return false;
    }
  }
}

}  // namespace toolpage
