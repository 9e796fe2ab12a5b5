#include "NcpExtensions.h"

#include <windows.h>

#include <memory>

#include "ClientApi.h"
#include "Timeout.h"

namespace toolpage {

namespace {

std::mutex gCacheLock;
std::unique_ptr<TNCPCacheList> gCache;

// Writes an out argument the caller asked for.
template <class T>
void Put(T* Out, T Value) {
  if (Out) *Out = Value;
}

}  // namespace

int32_t GetNCPExtensionUncached(TConnHandle Conn, const std::string& Name, uint8_t* Major, uint8_t* Minor,
                                uint8_t* Revision) {
  uint32_t id = 0;
  uint8_t major = Major ? *Major : 0, minor = Minor ? *Minor : 0, revision = Revision ? *Revision : 0;
  NWCCODE code = nwc::ExtensionInfoByName(Conn, Name.c_str(), id, major, minor, revision);
  TExtensionLookup found = DecodeExtensionLookup(code, id, major, minor, revision);
  Put(Major, found.Major);
  Put(Minor, found.Minor);
  Put(Revision, found.Revision);
  return found.Id;
}

TNCPCacheList::TNCPCacheList(TClock Clock) : FClock(std::move(Clock)) {
  if (!FClock) FClock = [] { return static_cast<uint32_t>(GetTickCount()); };
}

int32_t TNCPCacheList::GetExtension(TConnHandle Conn, const std::string& Name, uint8_t* Major, uint8_t* Minor,
                                    uint8_t* Revision, NWCCODE* Status) {
  std::lock_guard<std::recursive_mutex> guard(FLock);
  TConnRef key = 0;
  nwc::ConnRefOfHandle(Conn, key);  // result ignored: the reference is only the cache key
  TCacheElem elem;
  if (!Lookup(key, Name, elem)) {
    elem = TCacheElem();
    elem.Name = Name;
    elem.ServerKey = key;
    uint32_t id = 0;
    uint8_t major = 0, minor = 0, revision = 0;
    NWCCODE code = nwc::ExtensionInfoByName(Conn, Name.c_str(), id, major, minor, revision);
    TExtensionLookup found = DecodeExtensionLookup(code, id, major, minor, revision);
    elem.Id = found.Id;
    elem.Major = found.Major;
    elem.Minor = found.Minor;
    elem.Revision = found.Revision;
    elem.Status = found.Status;
    AddEntry(elem);
  }
  Put(Major, elem.Major);
  Put(Minor, elem.Minor);
  Put(Revision, elem.Revision);
  Put(Status, elem.Status);
  return elem.Id;
}

bool TNCPCacheList::Lookup(TConnRef ServerKey, const std::string& Name, TCacheElem& Found) {
  std::lock_guard<std::recursive_mutex> guard(FLock);
  PurgeExpired();
  for (const TCacheElem& e : FItems) {
    if (e.Name == Name && e.ServerKey == ServerKey) {
      Found = e;
      return true;
    }
  }
  return false;
}

void TNCPCacheList::AddEntry(const TCacheElem& Elem) {
  std::lock_guard<std::recursive_mutex> guard(FLock);
  TCacheElem e = Elem;
  e.CreationTick = FClock();
  FItems.push_back(e);
}

void TNCPCacheList::PurgeExpired() {
  std::lock_guard<std::recursive_mutex> guard(FLock);
  uint32_t now = FClock();
  for (size_t i = 0; i < FItems.size();) {
    if (TimeoutExpiredAt(now, FItems[i].CreationTick, kNCPCacheLifetime))
      FItems.erase(FItems.begin() + i);
    else
      ++i;
  }
}

void TNCPCacheList::Clear() {
  std::lock_guard<std::recursive_mutex> guard(FLock);
  FItems.clear();
}

size_t TNCPCacheList::Count() {
  std::lock_guard<std::recursive_mutex> guard(FLock);
  return FItems.size();
}

TNCPCacheList& NCPCache() {
  std::lock_guard<std::mutex> guard(gCacheLock);
  if (!gCache) gCache = std::make_unique<TNCPCacheList>();
  return *gCache;
}

void InitNCPCache() {
  NCPCache();
}

void FinalizeNCPCache() {
  std::lock_guard<std::mutex> guard(gCacheLock);
  if (gCache) gCache->Clear();
  gCache.reset();
}

int32_t GetNCPExtension(TConnHandle Conn, const std::string& Name, uint8_t* Major, uint8_t* Minor, uint8_t* Revision,
                        NWCCODE* Status) {
  return NCPCache().GetExtension(Conn, Name, Major, Minor, Revision, Status);
}

}  // namespace toolpage
