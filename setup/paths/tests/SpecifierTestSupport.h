// Installable objects, containers and an engine for the specifier tests, and a saved
// copy of registry values that a test changes.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

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

// Every value of a key, put back (and the key removed when it did not exist) when the
// object goes.
class TSavedRegistryKey {
 public:
  TSavedRegistryKey(HKEY Root, const std::string& Path) : FRoot(Root), FPath(Path.substr(1)) {
    HKEY key = nullptr;
    FExisted = RegOpenKeyExA(FRoot, FPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!FExisted) return;
    for (DWORD index = 0;; ++index) {
      char name[512];
      DWORD nameLength = sizeof name;
      BYTE data[4096];
      DWORD dataLength = sizeof data;
      DWORD type = 0;
      if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
      FValues.push_back({std::string(name, nameLength), type, std::vector<BYTE>(data, data + dataLength)});
    }
    RegCloseKey(key);
  }
  ~TSavedRegistryKey() {
    if (!FExisted) {
      RegDeleteKeyA(FRoot, FPath.c_str());
      return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(FRoot, FPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    // Values the test added go; the saved ones come back.
    for (const std::string& name : ValueNames(key))
      if (std::none_of(FValues.begin(), FValues.end(), [&](const TValue& v) { return v.Name == name; }))
        RegDeleteValueA(key, name.c_str());
    for (const TValue& v : FValues)
      RegSetValueExA(key, v.Name.c_str(), 0, v.Type, v.Data.data(), static_cast<DWORD>(v.Data.size()));
    RegCloseKey(key);
  }
  TSavedRegistryKey(const TSavedRegistryKey&) = delete;
  TSavedRegistryKey& operator=(const TSavedRegistryKey&) = delete;

 private:
  static std::vector<std::string> ValueNames(HKEY Key) {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
      char name[512];
      DWORD length = sizeof name;
      if (RegEnumValueA(Key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }
  struct TValue {
    std::string Name;
    DWORD Type;
    std::vector<BYTE> Data;
  };
  HKEY FRoot;
  std::string FPath;
  bool FExisted = false;
  std::vector<TValue> FValues;
};

}  // namespace setup::testing
