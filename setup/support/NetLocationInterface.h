// What the file objects need of a net install location (the download source of a net
// distribution): its login information and the download of one remote file.
#pragma once

#include <string>

#include "core/Classes.h"
#include "core/Events.h"

namespace setup {

enum class TInternetProtocol { ipFTP, ipHTTP };
using enum TInternetProtocol;
using TNetProtocol = TInternetProtocol;

// A block of a download has arrived: the remote name, this block's size, the bytes so far,
// the file's size on the server (0 when unknown) and the block itself.
using TDataReceivedEvent = fw::TMethodPtr<void(fw::TObject* Sender, const std::string& FileName, int Bytes,
                                               int TotalBytes, int FileSize, const char* Buffer)>;

class INetInstallLocation {
 public:
  // The login information is filled in well enough to connect.
  virtual bool LoginInformationUsable() const = 0;
  virtual std::string Hostname() const = 0;
  virtual std::string Directory() const = 0;
  virtual TNetProtocol Protocol() const = 0;
  // Downloads RemoteName into LocalPath, calling OnData as data arrives.
  virtual void DownloadFile(const std::string& RemoteName, const std::string& LocalPath,
                            const TDataReceivedEvent& OnData) = 0;

 protected:
  ~INetInstallLocation() = default;
};

}  // namespace setup
