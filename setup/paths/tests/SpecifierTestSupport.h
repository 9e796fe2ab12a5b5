// Installable objects, containers and an engine for the specifier tests.
#pragma once

#include <windows.h>

#include <string>

#include "core/ClassDef.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "objects/InstallGroups.h"
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
