// Installable objects, containers and an engine for the specifier tests.
#pragma once

#include <windows.h>

#include <string>

#include "core/ClassDef.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "paths/ContainerDestDir.h"
#include "support/InstallInformation.h"

namespace setup::testing {

class TPathObject : public TInstallObject {
  FW_CLASS(TPathObject, TInstallObject)
 public:
  explicit TPathObject(fw::TComponent* AOwner) : TInstallObject(AOwner, rtInstallFile) {}
};
inline const fw::TClass& TPathObject::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TPathObject>();
  return cls;
}

// Stands for the containers of later layers, which the specifiers know by class name.
class TCustomInstallGroup : public TInstallObject {
  FW_CLASS(TCustomInstallGroup, TInstallObject)
 public:
  explicit TCustomInstallGroup(fw::TComponent* AOwner) : TInstallObject(AOwner, rtGroup) {}
  bool IsInstallGroup() const override { return true; }
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& Value) { FDescription = Value; }

 private:
  std::string FDescription = "Tools";
};
inline const fw::TClass& TCustomInstallGroup::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomInstallGroup>().String(
      "Description", &TCustomInstallGroup::Description, &TCustomInstallGroup::SetDescription);
  return cls;
}

class TFileRelated : public TInstallObject, public IArchivePathSource {
  FW_CLASS(TFileRelated, TInstallObject)
 public:
  explicit TFileRelated(fw::TComponent* AOwner) : TInstallObject(AOwner, rtFileContainer) {}
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& Value) { FDescription = Value; }
  std::string ArchivePath = "D:\\Disk1\\files.1\\";
  std::string GetArchivePath() const override { return ArchivePath; }

 private:
  std::string FDescription = "Help files";
};
inline const fw::TClass& TFileRelated::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TFileRelated>().String("Description", &TFileRelated::Description, &TFileRelated::SetDescription);
  return cls;
}

class TFileContainer : public TFileRelated {
  FW_CLASS(TFileContainer, TFileRelated)
 public:
  using TFileRelated::TFileRelated;
  bool IsFileContainer() const override { return true; }
};
inline const fw::TClass& TFileContainer::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TFileContainer>();
  return cls;
}

class TPathEngine : public TInstallObject, public TInstallEngine {
  FW_CLASS(TPathEngine, TInstallObject)
 public:
  explicit TPathEngine(fw::TComponent* AOwner) : TInstallObject(AOwner, rtFileContainer) { SetGlobalInstall(this); }
  TInstallInformation Info;
  std::string SourceDir = "E:\\Setup\\";
  bool SwitchGiven = false;
  std::string SwitchValue;

  TInstallContainer& EngineContainer() override { return *this; }
  bool EngineInstalling() const override { return false; }
  TDistributeType EngineDistributeType() const override { return dtTraditional; }
  const TInstallInformation& EngineInformation() const override { return Info; }
  std::string EngineSourceDir() const override { return SourceDir; }
  bool EngineSelfExtractSwitch(std::string& FileName) const override {
    FileName = SwitchValue;
    return SwitchGiven;
  }
};
inline const fw::TClass& TPathEngine::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TPathEngine>();
  return cls;
}

}  // namespace setup::testing
