#include "ServerInfo.h"

#include <algorithm>
#include <cstring>

#include "ClientApi.h"
#include "NwConnection.h"
#include "ServerLoops.h"
#include "ServerPaths.h"
#include "Std4Requests.h"

namespace toolpage {

namespace {

bool ReadConnInfo(TConnRef ConnRef, TConnInfo& Info) {
  uint8_t block[kConnInfoSize] = {};
  if (nwc::ConnInfoLevel2(ConnRef, block) != 0) return false;
  Info = DecodeConnInfoLevel2(block);
  return true;
}

constexpr int32_t kMaxStd4Index = 200;
constexpr size_t kTextSize = 256;

void AddModulesFromList(TConnHandle Conn, std::vector<TLoadedNlm>& List) {
  std::vector<uint8_t> buffer(kModuleListSize);
  TModuleListWalk walk;
  while (!walk.Done()) {
    std::fill(buffer.begin(), buffer.end(), 0);
    if (nwc::ListModules(Conn, walk.Start(), buffer.data()) != 0) return;
    for (uint32_t number : walk.Take(buffer.data(), buffer.size())) {
      char fileName[kTextSize] = {}, text2[kTextSize] = {}, text3[kTextSize] = {};
      uint8_t infoBlock[512] = {};
      if (nwc::ModuleInfo(Conn, number, fileName, text2, text3, infoBlock) != 0) continue;
      fileName[kTextSize - 1] = 0;
      std::string name = fw::UpperCase(fileName);
      bool known = std::any_of(List.begin(), List.end(), [&](const TLoadedNlm& m) { return m.FileName == name; });
      if (!known) List.push_back({name, number});
    }
  }
}

}  // namespace

std::string GetServerName(TConnRef ConnRef) {
  TConnInfo info;
  return ReadConnInfo(ConnRef, info) ? info.ServerName : std::string();
}

std::string ServerSystemUNC(TConnRef ConnRef, const std::string& Name) {
  return MakeUNCPath(GetServerName(ConnRef), "SYS\\SYSTEM\\" + Name);
}

int32_t GetServerVersion(TConnRef ConnRef) {
  TConnInfo info;
  return ReadConnInfo(ConnRef, info) ? ServerVersionNumber(info.Major, info.Minor) : 0;
}

bool IsServerVersionAtLeast(TConnRef ConnRef, uint32_t Major, uint32_t Minor) {
  TConnInfo info;
  return ReadConnInfo(ConnRef, info) && IsVersionAtLeast(info.Major, info.Minor, Major, Minor);
}

std::vector<TLoadedNlm> GetLoadedNlmList(TConnRef ConnRef) {
  std::vector<TLoadedNlm> list;
  if (GetServerVersion(ConnRef) >= 410) {
    TNWConnection conn(ConnRef);
    if (conn.IsOpen()) AddModulesFromList(conn.Handle(), list);
    return list;
  }
  for (int32_t index = 0; index <= kMaxStd4Index; ++index) {
    NW_312_NLM_INFO info;
    if (Std4GetNlmInfo(ConnRef, index, info) != 0) break;
    list.push_back({fw::UpperCase(info.FileName), static_cast<uint32_t>(index)});
  }
  return list;
}

void GetLoadedNlms(TConnRef ConnRef, fw::TStrings& List) {
  List.Clear();
  for (const TLoadedNlm& m : GetLoadedNlmList(ConnRef))
    List.AddObject(m.FileName, reinterpret_cast<fw::TObject*>(static_cast<uintptr_t>(m.Number)));
}

uint32_t LoadedNlmNumber(const fw::TStrings& List, int Index) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(List.Objects(Index)));
}

bool IsNlmLoaded(TConnRef ConnRef, const std::string& Name) {
  const std::string wanted = NlmLookupName(Name);
  for (const TLoadedNlm& m : GetLoadedNlmList(ConnRef))
    if (m.FileName == wanted) return true;
  return false;
}

}  // namespace toolpage
