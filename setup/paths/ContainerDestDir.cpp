#include "ContainerDestDir.h"

#include "core/ClassDef.h"
#include "objects/InstallContainer.h"
#include "support/PathStrings.h"

namespace setup {

const fw::TClass& TpsContainerDestDir::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TpsContainerDestDir>("TpsContainerDestDir", &TStandardPathSpecifier::StaticClass()).Creatable();
  return cls;
}

TpsContainerDestDir::TpsContainerDestDir(fw::TComponent* AOwner) : TStandardPathSpecifier(AOwner) {
  FDefaultName = "psContainerDestDir";
}

void TpsContainerDestDir::ValidateObject(fw::TComponent* Obj) {
  auto* object = dynamic_cast<TInstallObject*>(Obj);
  if (object == nullptr)
    throw IEPathSpecifier("%s must be a %s to use the %s path specifier", Obj != nullptr ? Obj->Name() : std::string(),
                          "TInstallObject", FDefaultName);
  if (object->Container() == nullptr)
    throw IEPathSpecifier("Cannot use ddContainerDestDir for %s unless you assign a Container", Obj->Name());
}

std::string TpsContainerDestDir::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  return RemoveTrailingBackslash(static_cast<TInstallObject*>(Obj)->Container()->GetFullDestDir());
}

}  // namespace setup
