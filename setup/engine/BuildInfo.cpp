#include "BuildInfo.h"

#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TBuildInfo::StaticClass() {
  using T = TBuildInfo;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Boolean("AddUninstallOnCreate", &T::AddUninstallOnCreate, &T::SetAddUninstallOnCreate)
          .String("AppName", &T::AppName, &T::SetAppName)
          .String("AppURL", &T::AppURL, &T::SetAppURL)
          .String("BuildDirectory", &T::BuildDirectory, &T::SetBuildDirectory)
          .String("CredentialsFile", &T::CredentialsFile, &T::SetCredentialsFile)
          .String("OCXName", &T::OCXName, &T::SetOCXName)
          .String("PrivateKeyFile", &T::PrivateKeyFile, &T::SetPrivateKeyFile)
          .Boolean("SignCode", &T::SignCode, &T::SetSignCode)
          .String("URLPath", &T::URLPath, &T::SetURLPath)
          .String("QnlkVersion", &T::QnlkVersion);
  return cls;
}

void TBuildInfo::Assign(const fw::TPersistent* Source) {
  auto* other = dynamic_cast<const TBuildInfo*>(Source);
  if (other == nullptr) {
    fw::TPersistent::Assign(Source);
    return;
  }
  if (other == this) return;
  FAddUninstallOnCreate = other->FAddUninstallOnCreate;
  FAppName = other->FAppName;
  FAppURL = other->FAppURL;
  FBuildDirectory = other->FBuildDirectory;
  FCredentialsFile = other->FCredentialsFile;
  FOCXName = other->FOCXName;
  FPrivateKeyFile = other->FPrivateKeyFile;
  FSignCode = other->FSignCode;
  FURLPath = other->FURLPath;
}

}  // namespace setup
