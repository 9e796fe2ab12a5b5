// TFileRelated: an installable object whose files come from an archive. It names the
// archive (a path specifier plus ArchiveFile), remembers an archive downloaded for it
// (LocalArchivePath and the "LocalFile" value of the installation record) and relays
// download progress.
#pragma once

#include <string>

#include "InstallContainer.h"
#include "archive/QnlkCompress.h"
#include "paths/ContainerDestDir.h"

namespace setup {

class INetInstallLocation;

SETUP_IEXCEPTION(IEFileRelated, IException);

// The registry value under the installation record that names a downloaded archive.
inline constexpr char kLocalFileValue[] = "LocalFile";

class TFileRelated : public TInstallObject, public IArchivePathSource {
  FW_CLASS(TFileRelated, TInstallObject)
 public:
  TFileRelated(fw::TComponent* AOwner, int ARegisteredType);

  bool ArchiveFileTypeAssigned() const { return FArchiveFileTypeAssigned; }
  bool ArchiveFileTypeDefaulted() const { return FArchiveFileTypeDefaulted; }
  const std::string& LocalArchivePath() const { return FLocalArchivePath; }
  void SetLocalArchivePath(const std::string& Value) { FLocalArchivePath = Value; }
  TlzhCommand AddToArchive() const { return FAddToArchive; }
  void SetAddToArchive(TlzhCommand Value) { FAddToArchive = Value; }
  bool ArchiveInfoRead() const { return FArchiveInfoRead; }
  void SetArchiveInfoRead(bool Value) { FArchiveInfoRead = Value; }
  const std::string& ArchiveFile() const { return FArchiveFile; }
  TCustomPathSpecifier* ArchiveFileType() const { return FArchiveFileType; }
  bool Net() const { return FNet; }

  TDataReceivedEvent OnDataReceived;

  // While loading stored unchanged; otherwise emptied when the specifier names the
  // archive itself (the container's or the main archive).
  virtual void SetArchiveFile(const std::string& Value);
  // Outside loading the specifier first checks this object; a specifier that names the
  // archive itself empties ArchiveFile.
  virtual void SetArchiveFileType(TCustomPathSpecifier* Value);
  virtual void SetNet(bool Value) { FNet = Value; }
  INetInstallLocation* NetLocation() const { return FNetLocation; }
  // A location that is a component is let go when the component goes.
  virtual void SetNetLocation(INetInstallLocation* Value);
  // NetLocation as the published reference: the component that is the location, if any.
  fw::TComponent* NetLocationComponent() const { return FNetLocationComponent; }
  // Nil or a component that is a net install location (IEFileRelated otherwise).
  void SetNetLocationComponent(fw::TComponent* Value);
  // The object's own location, else its container's (for a file in a file container)
  // or the engine's; nil when there is none.
  INetInstallLocation* GetNetInstallLocation() const;
  // The folder of the object's files below a net mirror: host name and directory (or
  // the protocol's root folder name). IEFileRelated without a location.
  std::string GetNetPath() const;
  // Fetches the object's archive (Name + ".1") into a temporary file, unless an earlier
  // run did; remembers it in LocalArchivePath and the registry. A failed or cancelled
  // download leaves neither a file nor a path behind.
  virtual void DownloadArchive();
  // The specifier's path for this object followed by ArchiveFile, without trailing "\".
  std::string GetArchivePath() const override;
  // A container that is file-related brings the container-archive specifier with an
  // empty ArchiveFile; any other drops that specifier.
  void SetContainer(TInstallContainer* Value) override;

  // The archive an earlier run downloaded for this object, remembered under the
  // installation record; false when there is none or the file is gone.
  bool GetLocalArchiveFile(std::string& Path) const;
  virtual bool IsArchiveDownloaded() const;
  // Remembers Path as this object's downloaded archive; a write failure is ignored.
  virtual void SaveLocalArchiveFile(const std::string& Path);
  // Relays download progress: OnDataReceived, broadcast and report.
  virtual void DoDataReceived(fw::TObject* Sender, const std::string& FileName, int Bytes, int TotalBytes, int FileSize,
                              const char* Buffer);

  // Puts saved archive properties back as they were, without the setters' rules.
  void RestoreArchive(TCustomPathSpecifier* Specifier, const std::string& File) {
    StoreArchiveFileType(Specifier);
    FArchiveFile = File;
  }

  void Loaded() override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
  // True for the specifiers that name an archive file themselves.
  static bool NamesArchiveItself(const TCustomPathSpecifier* Specifier);
  // Stores the specifier without checks.
  void StoreArchiveFileType(TCustomPathSpecifier* Value);
  void StoreArchiveFile(const std::string& Value) { FArchiveFile = Value; }

 private:
  std::string LocalFileKey() const;

  bool FArchiveFileTypeAssigned = false;
  bool FArchiveFileTypeDefaulted = false;
  std::string FLocalArchivePath;
  TlzhCommand FAddToArchive = lzcOverwrite;
  bool FArchiveInfoRead = false;
  std::string FArchiveFile;
  TCustomPathSpecifier* FArchiveFileType = nullptr;
  bool FNet = true;
  INetInstallLocation* FNetLocation = nullptr;
  fw::TComponent* FNetLocationComponent = nullptr;  // FNetLocation as a component
};

// The standard container-archive specifier, or nil.
TCustomPathSpecifier* StandardContainerArchiveFile();

}  // namespace setup
