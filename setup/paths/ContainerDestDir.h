// The standard specifiers that answer from an object's container: the container's
// folder and the container's archive file.
#pragma once

#include "PathSpecifier.h"

namespace setup {

class TInstallContainer;

class TpsContainerDestDir : public TStandardPathSpecifier {
  FW_CLASS(TpsContainerDestDir, TStandardPathSpecifier)
 public:
  explicit TpsContainerDestDir(fw::TComponent* AOwner);

  // Obj must be an installable object with a Container.
  void ValidateObject(fw::TComponent* Obj) override;
  std::string GetDescription() const override { return "Path of the group (container)"; }
  // By the kind of Obj's container: the main installation folder, a group's or a
  // directory's description, or the container's name; GetDescription when Obj may not
  // use this specifier.
  std::string GetObjectDescription(fw::TComponent* Obj) const override;
  std::string GetObjectCaption(fw::TComponent* Obj) const override;
  // The container's full destination folder.
  std::string GetPath(fw::TComponent* Obj) override;

 private:
  // Obj's container when Obj may use this specifier, else nil.
  const TInstallContainer* ValidContainer(fw::TComponent* Obj) const;
};

// What a file-related container (a later layer) offers this specifier: the path of the
// archive its files come from.
class IArchivePathSource {
 public:
  virtual std::string GetArchivePath() const = 0;

 protected:
  ~IArchivePathSource() = default;
};

class TpsContainerArchiveFile : public TStandardPathSpecifier {
  FW_CLASS(TpsContainerArchiveFile, TStandardPathSpecifier)
 public:
  explicit TpsContainerArchiveFile(fw::TComponent* AOwner);

  // Obj must be an installable object whose Container is a TFileRelated.
  void ValidateObject(fw::TComponent* Obj) override;
  std::string GetDescription() const override { return "Path to the archive file of the container"; }
  std::string GetCaption() const override { return "Container archive file"; }
  // The container's archive path.
  std::string GetPath(fw::TComponent* Obj) override;
};

}  // namespace setup
