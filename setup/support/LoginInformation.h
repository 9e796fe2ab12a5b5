// Where a net install location logs in: server, folder, protocol and the account.
#pragma once

#include <string>

#include "core/Classes.h"
#include "support/NetLocationInterface.h"

namespace setup {

const fw::TEnumInfo& InternetProtocolInfo();

class TCustomNetInstallLocation;

class TCustomLoginInformation : public fw::TPersistent {
  FW_CLASS(TCustomLoginInformation, fw::TPersistent)
 public:
  explicit TCustomLoginInformation(TCustomNetInstallLocation* ALocation = nullptr) : FLocation(ALocation) {}

  bool Anonymous() const { return FAnonymous; }
  void SetAnonymous(bool Value) { FAnonymous = Value; }
  const std::string& Directory() const { return FDirectory; }
  void SetDirectory(const std::string& Value) { FDirectory = Value; }
  const std::string& Hostname() const { return FHostname; }
  void SetHostname(const std::string& Value) { FHostname = Value; }
  const std::string& Password() const { return FPassword; }
  void SetPassword(const std::string& Value) { FPassword = Value; }
  TInternetProtocol Protocol() const { return FProtocol; }
  void SetProtocol(TInternetProtocol Value) { FProtocol = Value; }
  const std::string& Username() const { return FUsername; }
  void SetUsername(const std::string& Value) { FUsername = Value; }

  // The location that owns this information (nil for a free-standing one).
  TCustomNetInstallLocation* Location() const { return FLocation; }

  // Anonymous: a host name that is not blank; otherwise any of host name, password and
  // user name not blank.
  bool LoginInformationNotBlank() const;

  // Copies the six properties of another login information.
  void Assign(const fw::TPersistent* Source) override;

 private:
  TCustomNetInstallLocation* FLocation;
  bool FAnonymous = true;
  std::string FDirectory;
  std::string FHostname;
  std::string FPassword;
  TInternetProtocol FProtocol = ipHTTP;
  std::string FUsername;
};

class TLoginInformation : public TCustomLoginInformation {
  FW_CLASS(TLoginInformation, TCustomLoginInformation)
 public:
  using TCustomLoginInformation::TCustomLoginInformation;
};

}  // namespace setup
