// The product and registration facts that the engine publishes.
#pragma once

#include <string>

#include "core/Classes.h"

namespace setup {

class TInstallInformation : public fw::TPersistent {
  FW_CLASS(TInstallInformation, fw::TPersistent)
 public:
  TInstallInformation() = default;
  std::string CompanyName = "My Company";
  std::string ProductName = "My product";
  std::string Version = "1.0";
  void Assign(const fw::TPersistent* Source) override;
};

class TRegistrationInformation : public fw::TPersistent {
  FW_CLASS(TRegistrationInformation, fw::TPersistent)
 public:
  TRegistrationInformation() = default;
  std::string RegCompany;
  std::string RegOwner;
  void Assign(const fw::TPersistent* Source) override;
};

}  // namespace setup
