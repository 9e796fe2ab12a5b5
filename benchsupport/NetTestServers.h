// Real HTTP and FTP servers on free ports of 127.0.0.1 for the download tests and the
// download benchmark: a Python script (http.server and pyftpdlib) started from the program,
// serving a scratch folder that the program fills. The servers stop when this object goes,
// and by themselves when the program ends in any other way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ScratchFiles.h"

namespace benchsupport {

class TNetTestServers {
 public:
  TNetTestServers();
  ~TNetTestServers();
  TNetTestServers(const TNetTestServers&) = delete;
  TNetTestServers& operator=(const TNetTestServers&) = delete;

  uint16_t HttpPort() const { return FHttpPort; }
  uint16_t FtpPort() const { return FFtpPort; }
  // The folder both servers serve (a Windows path).
  std::string Root() const { return FScratch / "root"; }
  // Writes a file of the served folder.
  void Put(const std::string& Relative, const std::string& Content) const;
  // The paths of the HTTP requests so far, in order.
  std::vector<std::string> HttpRequests() const;

 private:
  TScratchFolder FScratch{"netservers"};
  std::string FPortsFile;
  uint16_t FHttpPort = 0;
  uint16_t FFtpPort = 0;
};

// The servers every test of the program shares, started at the first call.
TNetTestServers& SharedServers();

// Bytes of a recognisable pattern: byte i is (i * 7 + Seed) mod 251.
std::string PatternBytes(size_t Count, int Seed = 0);

}  // namespace benchsupport
