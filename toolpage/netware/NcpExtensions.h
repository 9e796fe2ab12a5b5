// Finding the NCP extensions that the product's server modules register, with a
// 30-second cache per extension name and connection reference.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "NcpReplies.h"
#include "NwTypes.h"

namespace toolpage {

constexpr int32_t kNCPCacheLifetime = 30000;  // ms

// Asks the server each time; -1 when the client call fails. The version bytes are
// written as the client left them; each out argument may be nil.
int32_t GetNCPExtensionUncached(TConnHandle Conn, const std::string& Name, uint8_t* Major, uint8_t* Minor,
                                uint8_t* Revision);

struct TCacheElem {
  std::string Name;
  TConnRef ServerKey = 0;  // connection reference the lookup was made on
  int32_t Id = kInvalidExtensionId;
  uint8_t Major = 0, Minor = 0, Revision = 0;
  NWCCODE Status = 0;  // the lookup's result: a cached failure answers with it again
  uint32_t CreationTick = 0;
};

class TNCPCacheList {
 public:
  using TClock = std::function<uint32_t()>;
  explicit TNCPCacheList(TClock Clock = nullptr);

  // The cached lookup: answers from an entry younger than 30 s for this name (exact
  // comparison) and this connection's reference, else asks the server and keeps the
  // answer, a failure included.
  int32_t GetExtension(TConnHandle Conn, const std::string& Name, uint8_t* Major, uint8_t* Minor, uint8_t* Revision,
                       NWCCODE* Status);

  bool Lookup(TConnRef ServerKey, const std::string& Name, TCacheElem& Found);
  void AddEntry(const TCacheElem& Elem);
  void PurgeExpired();
  void Clear();
  size_t Count();

  void Lock() { FLock.lock(); }
  void Unlock() { FLock.unlock(); }

 private:
  TClock FClock;
  std::recursive_mutex FLock;
  std::vector<TCacheElem> FItems;
};

// The library's cache (created at library start, or at first use).
TNCPCacheList& NCPCache();
void InitNCPCache();
void FinalizeNCPCache();

// GetExtension on the library's cache.
int32_t GetNCPExtension(TConnHandle Conn, const std::string& Name, uint8_t* Major, uint8_t* Minor, uint8_t* Revision,
                        NWCCODE* Status);

}  // namespace toolpage
