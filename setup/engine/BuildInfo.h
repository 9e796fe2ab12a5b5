// The build settings the engine keeps with its configuration (BuildInfo).
#pragma once

#include <string>

#include "core/Classes.h"

namespace setup {

class TBuildInfo : public fw::TPersistent {
  FW_CLASS(TBuildInfo, fw::TPersistent)
 public:
  TBuildInfo() = default;

  bool AddUninstallOnCreate() const { return FAddUninstallOnCreate; }
  void SetAddUninstallOnCreate(bool Value) { FAddUninstallOnCreate = Value; }
  const std::string& AppName() const { return FAppName; }
  void SetAppName(const std::string& Value) { FAppName = Value; }
  const std::string& AppURL() const { return FAppURL; }
  void SetAppURL(const std::string& Value) { FAppURL = Value; }
  const std::string& BuildDirectory() const { return FBuildDirectory; }
  void SetBuildDirectory(const std::string& Value) { FBuildDirectory = Value; }
  const std::string& CredentialsFile() const { return FCredentialsFile; }
  void SetCredentialsFile(const std::string& Value) { FCredentialsFile = Value; }
  const std::string& OCXName() const { return FOCXName; }
  void SetOCXName(const std::string& Value) { FOCXName = Value; }
  const std::string& PrivateKeyFile() const { return FPrivateKeyFile; }
  void SetPrivateKeyFile(const std::string& Value) { FPrivateKeyFile = Value; }
  bool SignCode() const { return FSignCode; }
  void SetSignCode(bool Value) { FSignCode = Value; }
  const std::string& URLPath() const { return FURLPath; }
  void SetURLPath(const std::string& Value) { FURLPath = Value; }
  // The version of the installer library, for display.
  std::string QnlkVersion() const { return "5.20.00"; }

  void Assign(const fw::TPersistent* Source) override;

 private:
  bool FAddUninstallOnCreate = true;
  std::string FAppName;
  std::string FAppURL;
  std::string FBuildDirectory = "c:\\build";
  std::string FCredentialsFile;
  std::string FOCXName = "QnlkSetup.ocx";
  std::string FPrivateKeyFile;
  bool FSignCode = false;
  std::string FURLPath;
};

}  // namespace setup
