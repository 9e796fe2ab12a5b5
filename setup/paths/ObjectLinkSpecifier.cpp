#include "ObjectLinkSpecifier.h"

#include "core/ClassDef.h"
#include "objects/InstallFile.h"
#include "objects/ShellLinks.h"
#include "support/PathStrings.h"

namespace setup {

const fw::TClass& TpsObjectLink::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TpsObjectLink>().Creatable();
  return cls;
}

TpsObjectLink::TpsObjectLink(fw::TComponent* AOwner) : TStandardPathSpecifier(AOwner) {
  FDefaultName = "psObjectLink";
}

void TpsObjectLink::ValidateObject(fw::TComponent* Obj) {
  auto* link = dynamic_cast<TCustomInstallShellLink*>(Obj);
  if (link == nullptr)
    throw IEPathSpecifier("%s must be a %s to use the %s path specifier",
                          Obj != nullptr ? Obj->Name() : std::string("nil"), "TCustomInstallShellLink", "psObjectLink");
  if (link->ObjectLink() == nullptr)
    throw IEPathSpecifier("Cannot use ddObjectLink for %s unless you assign a value to ObjectLink", link->Name());
}

std::string TpsObjectLink::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  TInstallContainer* target = static_cast<TCustomInstallShellLink*>(Obj)->ObjectLink();
  if (auto* file = dynamic_cast<TCustomInstallFile*>(target)) return RemoveTrailingBackslash(file->GetDestFileName());
  return RemoveTrailingBackslash(target->GetFullDestDir());
}

}  // namespace setup
