#include "ContainerDestDir.h"

#include "core/ClassDef.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "support/PathStrings.h"

namespace setup {

namespace {

// Obj as an installable object; raises the specifier's "must be a" error otherwise.
TInstallObject& RequireInstallObject(fw::TComponent* Obj, const std::string& SpecifierName) {
  auto* object = dynamic_cast<TInstallObject*>(Obj);
  if (object == nullptr)
    throw IEPathSpecifier("%s must be a %s to use the %s path specifier", Obj != nullptr ? Obj->Name() : std::string(),
                          "TInstallObject", SpecifierName);
  return *object;
}

// A container's published Description (groups and file containers have one).
std::string DescriptionOf(const fw::TComponent& Container) {
  const fw::TPropInfo* info = Container.ClassType().FindProperty("Description");
  return info != nullptr && info->Kind == fw::TTypeKind::String ? info->GetStr(&Container) : Container.Name();
}

enum class TContainerKind { ckEngine, ckGroup, ckDirectory, ckOther };

TContainerKind KindOf(const TInstallContainer& Container) {
  TInstallEngine* engine = GlobalInstall();
  if (engine != nullptr && &engine->EngineContainer() == &Container) return TContainerKind::ckEngine;
  if (Container.IsInstallGroup()) return TContainerKind::ckGroup;
  if (Container.IsFileContainer()) return TContainerKind::ckDirectory;
  return TContainerKind::ckOther;
}

}  // namespace

// --- TpsContainerDestDir ---------------------------------------------------------

const fw::TClass& TpsContainerDestDir::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TpsContainerDestDir>().Creatable();
  return cls;
}

TpsContainerDestDir::TpsContainerDestDir(fw::TComponent* AOwner) : TStandardPathSpecifier(AOwner) {
  FDefaultName = "psContainerDestDir";
}

void TpsContainerDestDir::ValidateObject(fw::TComponent* Obj) {
  TInstallObject& object = RequireInstallObject(Obj, FDefaultName);
  if (object.Container() == nullptr)
    throw IEPathSpecifier("Cannot use ddContainerDestDir for %s unless you assign a Container", Obj->Name());
}

const TInstallContainer* TpsContainerDestDir::ValidContainer(fw::TComponent* Obj) const {
  try {
    const_cast<TpsContainerDestDir*>(this)->ValidateObject(Obj);
  } catch (const IEPathSpecifier&) {
    return nullptr;
  }
  return static_cast<TInstallObject*>(Obj)->Container();
}

std::string TpsContainerDestDir::GetObjectDescription(fw::TComponent* Obj) const {
  const TInstallContainer* valid = ValidContainer(Obj);
  if (valid == nullptr) return GetDescription();
  const TInstallContainer& container = *valid;
  switch (KindOf(container)) {
    case TContainerKind::ckEngine:
      return "Main installation directory";
    case TContainerKind::ckGroup:
      return fw::Format("Path of the <%s> group", DescriptionOf(container));
    case TContainerKind::ckDirectory:
      return fw::Format("Path of the <%s> directory", DescriptionOf(container));
    case TContainerKind::ckOther:
      break;
  }
  return fw::Format("Path of the <%s> group", container.Name());
}

std::string TpsContainerDestDir::GetObjectCaption(fw::TComponent* Obj) const {
  const TInstallContainer* valid = ValidContainer(Obj);
  if (valid == nullptr) return GetDescription();
  const TInstallContainer& container = *valid;
  switch (KindOf(container)) {
    case TContainerKind::ckEngine:
      return "Main installation directory";
    case TContainerKind::ckGroup:
    case TContainerKind::ckDirectory:
      return fw::Format("<%s>", DescriptionOf(container));
    case TContainerKind::ckOther:
      break;
  }
  return fw::Format("<%s>", container.Name());
}

std::string TpsContainerDestDir::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  return RemoveTrailingBackslash(static_cast<TInstallObject*>(Obj)->Container()->GetFullDestDir());
}

// --- TpsContainerArchiveFile -----------------------------------------------------

const fw::TClass& TpsContainerArchiveFile::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TpsContainerArchiveFile>().Creatable();
  return cls;
}

TpsContainerArchiveFile::TpsContainerArchiveFile(fw::TComponent* AOwner) : TStandardPathSpecifier(AOwner) {
  FDefaultName = "psContainerArchiveFile";
}

void TpsContainerArchiveFile::ValidateObject(fw::TComponent* Obj) {
  TInstallObject& object = RequireInstallObject(Obj, FDefaultName);
  if (object.Container() == nullptr)
    throw IEPathSpecifier("Cannot use ddContainerArchiveFile for %s unless you assign a Container", Obj->Name());
  // File-related containers are the ones that know their archive's path.
  if (dynamic_cast<IArchivePathSource*>(object.Container()) == nullptr)
    throw IEPathSpecifier(
        "Cannot use the ddContainerArchiveFile path specifier for %s because the Container is not a TFileRelated "
        "descendant",
        Obj->Name());
}

std::string TpsContainerArchiveFile::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  auto* source = dynamic_cast<IArchivePathSource*>(static_cast<TInstallObject*>(Obj)->Container());
  return RemoveTrailingBackslash(source->GetArchivePath());
}

}  // namespace setup
