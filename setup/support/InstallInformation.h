// The product and registration facts that the engine publishes.
#pragma once

#include <string>

#include "core/Classes.h"

namespace setup {

class TInstallInformation : public fw::TPersistent {
  FW_CLASS(TInstallInformation, fw::TPersistent)
 public:
  TInstallInformation() = default;
  const std::string& CompanyName() const { return FCompanyName; }
  void SetCompanyName(const std::string& Value) { FCompanyName = Value; }
  const std::string& ProductName() const { return FProductName; }
  void SetProductName(const std::string& Value) { FProductName = Value; }
  const std::string& Version() const { return FVersion; }
  void SetVersion(const std::string& Value) { FVersion = Value; }
  void Assign(const fw::TPersistent* Source) override;

 private:
  std::string FCompanyName = "My Company";
  std::string FProductName = "My product";
  std::string FVersion = "1.0";
};

class TRegistrationInformation : public fw::TPersistent {
  FW_CLASS(TRegistrationInformation, fw::TPersistent)
 public:
  TRegistrationInformation() = default;
  const std::string& RegCompany() const { return FRegCompany; }
  void SetRegCompany(const std::string& Value) { FRegCompany = Value; }
  const std::string& RegOwner() const { return FRegOwner; }
  void SetRegOwner(const std::string& Value) { FRegOwner = Value; }
  void Assign(const fw::TPersistent* Source) override;

 private:
  std::string FRegCompany;
  std::string FRegOwner;
};

}  // namespace setup
