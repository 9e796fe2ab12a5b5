#include "LoginInformation.h"

#include "core/ClassDef.h"
#include "core/SysUtils.h"

namespace setup {

namespace {

bool NotBlank(const std::string& Text) {
  return !fw::Trim(Text).empty();
}

}  // namespace

const fw::TEnumInfo& InternetProtocolInfo() {
  static const fw::TEnumInfo info{"TInternetProtocol", {"ipFTP", "ipHTTP"}};
  return info;
}

const fw::TClass& TCustomLoginInformation::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TCustomLoginInformation>();
  return cls;
}

const fw::TClass& TLoginInformation::StaticClass() {
  using T = TLoginInformation;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Boolean("Anonymous", &T::Anonymous, &T::SetAnonymous)
                                    .String("Directory", &T::Directory, &T::SetDirectory)
                                    .String("Hostname", &T::Hostname, &T::SetHostname)
                                    .String("Password", &T::Password, &T::SetPassword)
                                    .Enum("Protocol", InternetProtocolInfo(), &T::Protocol, &T::SetProtocol)
                                    .String("Username", &T::Username, &T::SetUsername);
  return cls;
}

bool TCustomLoginInformation::LoginInformationNotBlank() const {
  if (FAnonymous) return NotBlank(FHostname);
  return NotBlank(FHostname) || NotBlank(FPassword) || NotBlank(FUsername);
}

void TCustomLoginInformation::Assign(const fw::TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TCustomLoginInformation*>(Source)) {
    FAnonymous = other->FAnonymous;
    FDirectory = other->FDirectory;
    FHostname = other->FHostname;
    FPassword = other->FPassword;
    FProtocol = other->FProtocol;
    FUsername = other->FUsername;
    return;
  }
  fw::TPersistent::Assign(Source);
}

}  // namespace setup
