#include "InstallInformation.h"

#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TInstallInformation::StaticClass() {
  using T = TInstallInformation;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .String("CompanyName", &T::CompanyName, &T::SetCompanyName)
                                    .String("ProductName", &T::ProductName, &T::SetProductName)
                                    .String("Version", &T::Version, &T::SetVersion);
  return cls;
}

void TInstallInformation::Assign(const fw::TPersistent* Source) {
  if (auto* other = dynamic_cast<const TInstallInformation*>(Source)) {
    FCompanyName = other->FCompanyName;
    FProductName = other->FProductName;
    FVersion = other->FVersion;
    return;
  }
  fw::TPersistent::Assign(Source);
}

const fw::TClass& TRegistrationInformation::StaticClass() {
  using T = TRegistrationInformation;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .String("RegCompany", &T::RegCompany, &T::SetRegCompany)
                                    .String("RegOwner", &T::RegOwner, &T::SetRegOwner);
  return cls;
}

void TRegistrationInformation::Assign(const fw::TPersistent* Source) {
  if (auto* other = dynamic_cast<const TRegistrationInformation*>(Source)) {
    FRegCompany = other->FRegCompany;
    FRegOwner = other->FRegOwner;
    return;
  }
  fw::TPersistent::Assign(Source);
}

}  // namespace setup
