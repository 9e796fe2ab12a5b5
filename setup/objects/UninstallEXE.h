// The uninstaller program as an installed file, and the Add/Remove Programs values it
// writes under the product's uninstall key in place of a file log entry.
#pragma once

#include <string>

#include "InstallFile.h"
#include "support/InstallInformation.h"

namespace setup {

SETUP_IEXCEPTION(IEUninstallEXE, IException);

// The uninstaller's own file name.
inline constexpr char kUninstallerFileName[] = "uninstall.exe";

// What the control panel's Add/Remove Programs shows of the product beyond its name,
// version and publisher.
class TControlPanelExtensionInformation : public fw::TPersistent {
  FW_CLASS(TControlPanelExtensionInformation, fw::TPersistent)
 public:
  TControlPanelExtensionInformation() = default;
  const std::string& Comments() const { return FComments; }
  void SetComments(const std::string& Value) { FComments = Value; }
  const std::string& Contact() const { return FContact; }
  void SetContact(const std::string& Value) { FContact = Value; }
  const std::string& HelpLink() const { return FHelpLink; }
  void SetHelpLink(const std::string& Value) { FHelpLink = Value; }
  const std::string& HelpTelephone() const { return FHelpTelephone; }
  void SetHelpTelephone(const std::string& Value) { FHelpTelephone = Value; }
  const std::string& ProductID() const { return FProductID; }
  void SetProductID(const std::string& Value) { FProductID = Value; }
  const std::string& URLInfoAbout() const { return FURLInfoAbout; }
  void SetURLInfoAbout(const std::string& Value) { FURLInfoAbout = Value; }
  const std::string& URLUpdateInfo() const { return FURLUpdateInfo; }
  void SetURLUpdateInfo(const std::string& Value) { FURLUpdateInfo = Value; }
  // The installed files whose paths the icon and read-me values name; nil when none.
  TCustomInstallFile* DisplayIcon() const { return FDisplayIcon; }
  void SetDisplayIcon(TCustomInstallFile* Value) { FDisplayIcon = Value; }
  TCustomInstallFile* ReadMe() const { return FReadMe; }
  void SetReadMe(TCustomInstallFile* Value) { FReadMe = Value; }
  // Obj is being destroyed: the references to it become nil.
  void RemoveReference(const fw::TComponent* Obj);
  void Assign(const fw::TPersistent* Source) override;

 private:
  std::string FComments, FContact, FHelpLink, FHelpTelephone, FProductID, FURLInfoAbout, FURLUpdateInfo;
  TCustomInstallFile* FDisplayIcon = nullptr;
  TCustomInstallFile* FReadMe = nullptr;
};

// What an engine that publishes the extended and registration information offers the
// uninstaller object (an engine without it writes the product's name, version and
// publisher only).
class IAddRemoveInformationSource {
 public:
  virtual const TControlPanelExtensionInformation& EngineExtendedInformation() const = 0;
  virtual const TRegistrationInformation& EngineRegistrationInformation() const = 0;

 protected:
  ~IAddRemoveInformationSource() = default;
};

class TUninstallEXE : public TCustomInstallFile {
  FW_CLASS(TUninstallEXE, TCustomInstallFile)
 public:
  // Net at creation; in a designer preset to the uninstaller beside the library.
  explicit TUninstallEXE(fw::TComponent* AOwner);
  // Tells the engine, so that its build does not add an uninstaller again.
  ~TUninstallEXE() override;
  // Writes the Add/Remove Programs values under Key (HKEY_LOCAL_MACHINE) instead of a
  // file log entry. Raises IEUninstallEXE without an engine.
  void WriteUninstallInfo(const std::string& Key) override;
  // The command Add/Remove Programs runs: the quoted program path, a blank and the
  // product name.
  std::string UninstallCommand(const std::string& ProductName) const;
};

}  // namespace setup
