#include "InstallGroups.h"

#include "InstallEngine.h"
#include "InstallFile.h"
#include "InstallLists.h"
#include "archive/FileSystem.h"
#include "core/ClassDef.h"
#include "paths/PathSpecifier.h"
#include "support/PathStrings.h"

namespace setup {

namespace {

// The published properties that groups and directories share.
template <class T>
fw::TClassDef<T> FileContainerClassDef() {
  fw::TClassDef<T> def;
  def.Creatable()
      .Enum("AddToArchive", LzhCommandInfo(), &T::AddToArchive, &T::SetAddToArchive)
      .String("ArchiveFile", &T::ArchiveFile, &T::SetArchiveFile)
      .Component("ArchiveFileType", &T::ArchiveFileType, &T::SetArchiveFileType)
      .Component("Container", &T::Container, &T::SetContainer)
      .String("Description", &T::Description, &T::SetDescription)
      .String("DestDir", &T::DestDir, &T::SetDestDir)
      .Component("DestDirType", &T::DestDirType, &T::SetDestDirType)
      .Boolean("Include", &T::Include, &T::SetInclude)
      .Set("InstallTypes", InstallTypeInfo(), &T::InstallTypes, &T::SetInstallTypes)
      .Component("NetLocation", &T::NetLocationComponent, &T::SetNetLocationComponent)
      .Set("OS", OSVerTypeInfo(), &T::OS, &T::SetOS)
      .Event("OnAfterInstallObjects", static_cast<TAfterInstallObjectsEvent T::*>(&T::OnAfterInstallObjects))
      .Event("OnAfterProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnAfterProcess))
      .Event("OnBeforeInstallObjects", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnBeforeInstallObjects))
      .Event("OnBeforeProcess", static_cast<TInstallContainerNotifyEvent T::*>(&T::OnBeforeProcess))
      .Event("OnDataReceived", static_cast<TDataReceivedEvent T::*>(&T::OnDataReceived))
      .Event("OnNewDisk", static_cast<TInstallFileNewDiskEvent T::*>(&T::OnNewDisk))
      .Event("OnReplacing", static_cast<TInstallFileNotifyEvent T::*>(&T::OnReplacing))
      .Event("OnStatus", static_cast<TInstallFileStatusEvent T::*>(&T::OnStatus));
  return def;
}

}  // namespace

// --- TCustomInstallGroup -----------------------------------------------------------

const fw::TClass& TCustomInstallGroup::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomInstallGroup>();
  return cls;
}

TCustomInstallGroup::TCustomInstallGroup(fw::TComponent* AOwner)
    : TFileContainer(AOwner, rtGroup), FDialogOptions(std::make_unique<TInstallGroupDialogOptions>()) {}

TCustomInstallGroup::~TCustomInstallGroup() = default;

void TCustomInstallGroup::SetContainer(TInstallContainer* Value) {
  TInstallEngine* engine = GlobalInstall();
  bool isEngine = engine != nullptr && Value == &engine->EngineContainer();
  if (Value != nullptr && !isEngine && !Value->IsInstallGroup())
    throw IEInstallGroup(
        "A TInstallGroup component can only be contained by a TInstall, or another TInstallGroup component");
  if (Value == nullptr && engine != nullptr && !IsLoading()) Value = &engine->EngineContainer();
  TFileContainer::SetContainer(Value);
}

const fw::TClass& TInstallGroup::StaticClass() {
  static const fw::TClass cls = FileContainerClassDef<TInstallGroup>().Object(
      "DialogOptions", &TInstallGroup::DialogOptions, &TInstallGroup::SetDialogOptions);
  return cls;
}

// --- TInstallDirectory -------------------------------------------------------------

const fw::TClass& TInstallDirectory::StaticClass() {
  static const fw::TClass cls = FileContainerClassDef<TInstallDirectory>();
  return cls;
}

TInstallDirectory::TInstallDirectory(fw::TComponent* AOwner) : TFileContainer(AOwner, rtFileContainer) {
  SetInstalledByContainer(true);
  SetInclude(true);
  if (IsDesignTime(this) && AllInstallObjects() != nullptr) {
    int count = 0;
    for (TInstallContainer* object : AllInstallObjects()->Items())
      if (dynamic_cast<TFileContainer*>(object) != nullptr || object == this) ++count;
    SetDescription("Install Directory " + std::to_string(count));
  }
}

void TInstallDirectory::RemoveMissingFiles() {
  for (int i = GetFileCount(); i-- > 0;) {
    TCustomInstallFile* file = GetFile(i);
    if (!FileExists(AddTrailingBackslash(file->IncludeFromDir()) + file->FileName())) file->Free();
  }
}

}  // namespace setup
