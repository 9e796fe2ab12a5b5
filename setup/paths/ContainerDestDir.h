// The standard specifier of an object's container folder.
#pragma once

#include "PathSpecifier.h"

namespace setup {

class TpsContainerDestDir : public TStandardPathSpecifier {
  FW_CLASS(TpsContainerDestDir)
 public:
  explicit TpsContainerDestDir(fw::TComponent* AOwner);

  // Obj must be an installable object with a Container.
  void ValidateObject(fw::TComponent* Obj) override;
  std::string GetDescription() const override { return "Path of the group (container)"; }
  // The container's full destination folder.
  std::string GetPath(fw::TComponent* Obj) override;
};

}  // namespace setup
