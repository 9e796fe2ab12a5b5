// The specifier of a shortcut's target when the target is another installed object:
// that file's installed path, or the folder of a group or directory.
#pragma once

#include "PathSpecifier.h"

namespace setup {

class TpsObjectLink : public TStandardPathSpecifier {
  FW_CLASS(TpsObjectLink, TStandardPathSpecifier)
 public:
  explicit TpsObjectLink(fw::TComponent* AOwner);
  // Obj must be a shortcut with an ObjectLink.
  void ValidateObject(fw::TComponent* Obj) override;
  std::string GetDescription() const override { return "Path of the file or file group in the ObjectLink property"; }
  std::string GetPath(fw::TComponent* Obj) override;
};

}  // namespace setup
