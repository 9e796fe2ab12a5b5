// Shortcuts and the folders that hold them. A link group is a folder of shortcuts (the
// product's Start-menu folder is the one TMainLinkGroup); a shortcut is a shell-link
// file, an Internet shortcut (".URL") or a hard link, pointing at a path, a URL or another
// installed object (ObjectLink). Link groups are category 7000, shortcuts 8000.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "InstallContainer.h"

// windows.h names its hard-link call like the shortcut's operation.
#undef CreateHardLink

namespace setup {

SETUP_IEXCEPTION(IEShellLinkGroup, IException);
SETUP_IEXCEPTION(IEInstallShellLink, IException);
SETUP_IEXCEPTION(IEInstallShellLinkList, IException);
SETUP_IEXCEPTION(IEInstallHardLink, IException);

// Broadcast by a link group before it makes its folder.
constexpr int icLinkGroupInstalls = -991;
// A link group, or a shortcut, that receives this code processes itself.
constexpr int icProcessLinkGroup = -969;
constexpr int icProcessShellLink = -970;

// How a shortcut that is not a ".URL" file is made.
enum class TMethodType { mtAutoDetect, mtShellLinkInterface };
using enum TMethodType;
const fw::TEnumInfo& MethodTypeInfo();

class TCustomShellLinkGroup : public TInstallObject {
  FW_CLASS(TCustomShellLinkGroup, TInstallObject)
 public:
  explicit TCustomShellLinkGroup(fw::TComponent* AOwner);
  // Makes the group's folder with every missing parent.
  void Install() override;
  void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) override;
  // A link group goes with its Container.
  void RemoveReference(TInstallContainer* Obj) override;
};

// The product's folder below the Programs menu. There is at most one.
class TMainLinkGroup : public TCustomShellLinkGroup {
  FW_CLASS(TMainLinkGroup, TCustomShellLinkGroup)
 public:
  // Raises IEShellLinkGroup when a main group exists already.
  explicit TMainLinkGroup(fw::TComponent* AOwner);
  ~TMainLinkGroup() override;
  // Always the Programs-menu specifier, whatever is given.
  void SetDestDirType(TCustomPathSpecifier* Value) override;
  // Keeps the group's own DestDir.
  void SetContainer(TInstallContainer* Value) override;
};

// The program's main link group, or nil.
TMainLinkGroup* MainLinkGroup();

class TCustomInstallShellLink : public TInstallObject {
  FW_CLASS(TCustomInstallShellLink, TInstallObject)
 public:
  explicit TCustomInstallShellLink(fw::TComponent* AOwner);
  ~TCustomInstallShellLink() override;

  // --- properties --------------------------------------------------------------
  bool HardLink() const { return FHardLink; }
  void SetHardLink(bool Value) { FHardLink = Value; }
  int HotKey() const { return FHotKey; }
  void SetHotKey(int Value) { FHotKey = static_cast<uint16_t>(Value); }
  const std::string& IconFilePath() const { return FIconFilePath; }
  void SetIconFilePath(const std::string& Value) { FIconFilePath = Value; }
  int IconIndex() const { return FIconIndex; }
  void SetIconIndex(int Value) { FIconIndex = Value; }
  const std::string& LinkName() const { return FLinkName; }
  TMethodType Method() const { return FMethod; }
  void SetMethod(TMethodType Value) { FMethod = Value; }
  TInstallContainer* ObjectLink() const { return FObjectLink; }
  const std::string& ObjectLocation() const { return FObjectLocation; }
  TCustomPathSpecifier* ObjectLocationType() const { return FObjectLocationType; }
  const std::string& Parameters() const { return FParameters; }
  void SetParameters(const std::string& Value) { FParameters = Value; }
  const std::string& WorkingDir() const { return FWorkingDir; }
  void SetWorkingDir(const std::string& Value) { FWorkingDir = Value; }
  bool ComInitialized() const { return FComInitialized; }

  // --- operations ----------------------------------------------------------------
  // Initialises COM for this thread once (IEInstallShellLink when it fails).
  virtual void InitCOM();
  virtual void CreateShellLink();
  virtual void CreateHardLink();
  virtual void CreateURLFile();
  // Characters that no file name may hold become "_"; a name without ".LNK" or ".URL"
  // keeps the previous extension (".LNK" when there was none); ".URL" drops ObjectLink.
  virtual void SetLinkName(const std::string& Value);
  // With a blank LinkName, the location names the link: a URL's host and page, else
  // the file's name.
  virtual void SetObjectLocation(const std::string& Value);
  // Outside loading the specifier checks the link first.
  virtual void SetObjectLocationType(TCustomPathSpecifier* Value);
  // Points the link at another installed object: its specifier, name and container.
  virtual void SetObjectLink(TInstallContainer* Value);
  // The target: the specifier's path followed by ObjectLocation.
  virtual std::string GetObjectPath();

  // The link's file: its full destination folder + "\" + LinkName.
  std::string GetLinkFileName() const;
  // A hard link's file: GetLinkFileName without ".LNK", ending in Target's extension.
  std::string HardLinkFileName(const std::string& Target) const;
  // LinkName ends in ".URL" (any case).
  bool IsURLLink() const;

  void Install() override;
  // Logs the link file when one was made.
  void WriteUninstallInfo(const std::string& Key) override;
  void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) override;
  // A shortcut goes with its Container or its ObjectLink.
  void RemoveReference(TInstallContainer* Obj) override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  // Creates the link's folder with all missing parents.
  void MakeLinkFolder();
  void StoreObjectLocationType(TCustomPathSpecifier* Value);

  bool FHardLink = false;
  uint16_t FHotKey = 0;
  std::string FIconFilePath;
  int FIconIndex = 0;
  std::string FLinkName;
  TMethodType FMethod = mtAutoDetect;
  TInstallContainer* FObjectLink = nullptr;
  std::string FObjectLocation;
  TCustomPathSpecifier* FObjectLocationType = nullptr;
  std::string FParameters;
  std::string FWorkingDir;
  bool FComInitialized = false;
  // The file this run's install step made (empty when none).
  std::string FMadeFile;
};

class TInstallShellLink : public TCustomInstallShellLink {
  FW_CLASS(TInstallShellLink, TCustomInstallShellLink)
 public:
  using TCustomInstallShellLink::TCustomInstallShellLink;
};

// A shortcut in the main link group.
class TInstallMainLink : public TCustomInstallShellLink {
  FW_CLASS(TInstallMainLink, TCustomInstallShellLink)
 public:
  // Raises IEInstallShellLink without a main link group; joins it.
  explicit TInstallMainLink(fw::TComponent* AOwner);
  ~TInstallMainLink() override;
  // Only the main link group (IEInstallShellLink for any other).
  void SetContainer(TInstallContainer* Value) override;
  // Always the container-folder specifier.
  void SetDestDirType(TCustomPathSpecifier* Value) override;
};

// The shortcuts of the program (every shortcut, or every main link), in creation order.
class TInstallShellLinkList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TCustomInstallShellLink* GetItem(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
  // Raises IEInstallShellLinkList for nil.
  void Add(TCustomInstallShellLink* Item);
  void Remove(TCustomInstallShellLink* Item);

 private:
  std::vector<TCustomInstallShellLink*> FItems;
};

// Nil outside the library's life.
TInstallShellLinkList* ShellLinks();
TInstallShellLinkList* MainLinks();

// Makes NewName a hard link of ExistingName through kernel32's CreateHardLinkA, looked
// up at run time; IEInstallHardLink when it is not there. False when the call fails.
bool MakeHardLink(const std::string& NewName, const std::string& ExistingName, void* SecurityAttributes);

// Creates the lists and registers the link and uninstaller classes.
void StartShellLinkUnit();
void StopShellLinkUnit();

}  // namespace setup
