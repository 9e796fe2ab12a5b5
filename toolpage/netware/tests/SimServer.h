// A simulated NetWare server for one test: a private folder with its volumes, its
// configuration file and its state, announced to the stand-in client through NWSIM_CONFIG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "nwsim.h"

namespace nwtest {

class TSimServer {
 public:
  // Extra lines go into the configuration ("fault std4-info-short", "version 312", ...).
  // Root is the folder that holds the volume folders; empty: a new folder in TEMP.
  explicit TSimServer(const std::vector<std::string>& ExtraConfig = {}, const std::string& Name = "NWSIM1",
                      const std::string& Root = "");
  ~TSimServer();
  TSimServer(const TSimServer&) = delete;
  TSimServer& operator=(const TSimServer&) = delete;

  // Host path of a file in a volume ("SYS", "SYSTEM\\A.NCF").
  std::string HostPath(const std::string& Volume, const std::string& Path) const;
  void WriteFile(const std::string& Volume, const std::string& Path, const std::string& Data) const;
  const std::string& Root() const { return FRoot; }
  bool FileExists(const std::string& Volume, const std::string& Path) const;
  std::string ReadFile(const std::string& Volume, const std::string& Path) const;

 private:
  std::string FRoot;
};

// The entries the server saw deleted, each as "VOL:PATH HEX" with the attributes it had.
std::vector<std::string> Deletions();

// The last extension request this process sent.
struct TSentRequest {
  std::vector<uint8_t> Bytes;
  uint32_t ExtensionId = 0;
  int ReplyCapacity = 0;  // -1: no reply length passed
};
TSentRequest LastRequest();

}  // namespace nwtest
