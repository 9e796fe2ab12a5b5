#include "InstallInformation.h"

#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TInstallInformation::StaticClass() {
  using T = TInstallInformation;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .String("CompanyName", &T::CompanyName, &T::CompanyName)
                                    .String("ProductName", &T::ProductName, &T::ProductName)
                                    .String("Version", &T::Version, &T::Version);
  return cls;
}

void TInstallInformation::Assign(const fw::TPersistent* Source) {
  if (auto* other = dynamic_cast<const TInstallInformation*>(Source)) {
    CompanyName = other->CompanyName;
    ProductName = other->ProductName;
    Version = other->Version;
    return;
  }
  fw::TPersistent::Assign(Source);
}

const fw::TClass& TRegistrationInformation::StaticClass() {
  using T = TRegistrationInformation;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .String("RegCompany", &T::RegCompany, &T::RegCompany)
                                    .String("RegOwner", &T::RegOwner, &T::RegOwner);
  return cls;
}

void TRegistrationInformation::Assign(const fw::TPersistent* Source) {
  if (auto* other = dynamic_cast<const TRegistrationInformation*>(Source)) {
    RegCompany = other->RegCompany;
    RegOwner = other->RegOwner;
    return;
  }
  fw::TPersistent::Assign(Source);
}

}  // namespace setup
