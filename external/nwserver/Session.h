// What belongs to the calling process: connection handles, directory handles,
// remote-procedure channels, and the record of requests that tests read.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "Volumes.h"

namespace nwsim {

struct TDirHandle {
  uint32_t Conn = 0;
  TNwPath Path;
  uint8_t NameSpace = 0;
};

struct TSearchResult {
  uint32_t DirIndex = 0;
  uint32_t Attributes = 0;
  uint32_t Size = 0;
  std::string Name;
};

struct TChannel {
  uint32_t Conn = 0;
  uint32_t Procedure = 0;
  std::string StartDir;
  std::vector<std::string> Directories;  // by directory index: 0 is the start directory
  std::vector<TSearchResult> Results;
  size_t Next = 0;  // first result not yet fetched
  uint32_t OpenTick = 0;
  int ResultCalls = 0;
  uint32_t StatusCalls = 0;
};

class TProcessSession {
 public:
  static TProcessSession& Instance();

  std::mutex Lock;
  std::map<uint32_t, uint32_t> Connections;  // handle -> reference
  std::map<uint32_t, uint32_t> OpenModes;    // handle -> open mode
  std::map<uint32_t, std::string> Servers;   // handle -> peer server a path named
  uint32_t NextConnection = 0x1000;
  std::map<uint8_t, TDirHandle> DirHandles;
  std::map<uint32_t, TChannel> Channels;
  uint32_t NextChannel = 1;

  int RequestCount = 0;
  int LookupCount = 0;
  std::vector<uint8_t> LastRequest;
  uint32_t LastExtension = 0;
  int LastReplyCapacity = 0;

  struct TInitCalls {
    int Count = 0;
    uint32_t First = 0, Second = 0;
  };
  std::map<std::string, TInitCalls> ClientInits;  // library name -> its initialisation calls

  bool RefOf(uint32_t conn, uint32_t& ref);
};

}  // namespace nwsim
