// A net install location: an FTP or HTTP server from which a net distribution downloads
// single files, in 8 KiB blocks with progress and the user's abort. The internet library
// is loaded at the first download. The unit also keeps the list of all locations, the
// download abort flag, the engine's location and the one that connected last.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Classes.h"
#include "core/Events.h"
#include "support/LoginInformation.h"
#include "support/NetErrors.h"
#include "support/NetLocationInterface.h"

namespace setup {

class TWinInetLibrary;
class TInternetHandle;

using TLoginEvent = fw::TMethodPtr<void(fw::TObject* Sender)>;
using TNotifyWithAbortFlag = fw::TMethodPtr<void(fw::TObject* Sender, bool Aborted)>;

inline constexpr int kNetBlockSize = 8192;

class TCustomNetInstallLocation : public fw::TComponent, public INetInstallLocation {
  FW_CLASS(TCustomNetInstallLocation, fw::TComponent)
 public:
  explicit TCustomNetInstallLocation(fw::TComponent* AOwner);
  ~TCustomNetInstallLocation() override;

  TLoginInformation* LoginInformation() const { return FLoginInformation.get(); }
  // Copies Value into the owned login information; an open connection is dropped, so the
  // next download logs in with the new information.
  virtual void SetLoginInformation(const TLoginInformation* Value);

  // The server's port; 0, the default, is the protocol's standard port.
  uint16_t ServerPort() const { return FServerPort; }
  void SetServerPort(uint16_t Value) { FServerPort = Value; }

  virtual void LoadWinInet();
  bool WinInetLoaded() const { return FLibrary != nullptr; }
  // Opens the session and the connection unless they are open (the FTP folder is set
  // once per connection), and becomes the active location.
  virtual void Connect();
  void Disconnect();
  // Downloads RemoteName from the server's folder into LocalName. A failed download
  // leaves no local file behind; a cancelled one (NetDownloadAbort) deletes it, fires
  // OnAfterDownload with Aborted set, then raises EAIUserAbort.
  virtual void Download(const std::string& RemoteName, const std::string& LocalName);

  // "/" for a blank folder, otherwise the folder with forward slashes.
  static std::string ToServerPath(const std::string& Directory);

  // INetInstallLocation
  bool LoginInformationUsable() const override { return FLoginInformation->LoginInformationNotBlank(); }
  std::string Hostname() const override { return FLoginInformation->Hostname(); }
  std::string Directory() const override { return FLoginInformation->Directory(); }
  TNetProtocol Protocol() const override { return FLoginInformation->Protocol(); }
  void DownloadFile(const std::string& RemoteName, const std::string& LocalPath,
                    const TDataReceivedEvent& OnData) override;

  TNotifyWithAbortFlag OnAfterDownload;
  TLoginEvent OnAfterLogin;
  fw::TNotifyEvent OnBeforeDownload;
  TLoginEvent OnBeforeLogin;
  TDataReceivedEvent OnDataReceived;
  // Called right after OnDataReceived; the file objects forward the progress with it.
  TDataReceivedEvent OnDataReceived2;

 private:
  using THandle = void*;  // an internet handle (HINTERNET)

  THandle ConnectFtp();
  THandle ConnectHttp();
  void SetFtpDirectory();
  // The file's size on the server (0 when unknown). FTP: before the file is opened, from
  // its directory entry; HTTP: from the open request's Content-Length.
  int32_t QueryFileSize(THandle Request);
  // Reads the open remote file into the local file; returns early when aborted.
  void ReceiveFile(THandle RemoteFile, int32_t FileSize);
  void DownloadFtp();
  void DownloadHttp();
  // Raises when the HTTP answer's status is not 2xx.
  void CheckHttpStatus(THandle Request);
  void DoDataReceived(int Bytes, int TotalBytes, int FileSize, const char* Buffer);
  // Closes the remote file or request; raises ENIL_FTPCloseFile when that fails, unless
  // an error is already on its way.
  template <class Body>
  void WithRemoteFile(THandle Handle, Body&& Run);

  std::unique_ptr<TWinInetLibrary> FLibrary;
  std::string FLocalFileName;
  bool FLocalFileCreated = false;
  THandle FSession = nullptr;
  THandle FConnection = nullptr;
  std::string FRemoteFileName;
  uint16_t FServerPort = 0;
  std::unique_ptr<TLoginInformation> FLoginInformation;
  uint32_t FLastPump = 0;
};

class TNetInstallLocation : public TCustomNetInstallLocation {
  FW_CLASS(TNetInstallLocation, TCustomNetInstallLocation)
 public:
  using TCustomNetInstallLocation::TCustomNetInstallLocation;
};

// The list of all locations: each joins when created and leaves when destroyed.
class TCustomNetInstallLocationList {
 public:
  // Raises IENetList for nil.
  void Add(TCustomNetInstallLocation* Location);
  void Remove(TCustomNetInstallLocation* Location);
  int Count() const { return static_cast<int>(FItems.size()); }
  TCustomNetInstallLocation* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }

 private:
  std::vector<TCustomNetInstallLocation*> FItems;
};

// Made and freed by the support library's start-up (nil outside it).
TCustomNetInstallLocationList* NetLocationList();
// Set by the copy window's cancel; cleared when the library starts and when a download
// starts.
bool NetDownloadAbort();
void SetNetDownloadAbort(bool Value);
// The engine's location.
TCustomNetInstallLocation* GlobalNetLocation();
void SetGlobalNetLocation(TCustomNetInstallLocation* Location);
// The location that connected last (nil when none or when it is gone).
TCustomNetInstallLocation* ActiveNetLocation();

void StartNetInstallUnit();
void StopNetInstallUnit();

}  // namespace setup
