// TpsFileContainer: the path specifier that names the destination folder of one file
// container. Every file container makes one for itself; one read from a stored
// configuration takes the place of the one the container made.
#pragma once

#include "PathSpecifier.h"

namespace setup {

class TFileContainer;

class TpsFileContainer : public TCustomPathSpecifier {
  FW_CLASS(TpsFileContainer, TCustomPathSpecifier)
 public:
  explicit TpsFileContainer(fw::TComponent* AOwner);
  ~TpsFileContainer() override;
  // Made by the container itself: named "psFileContainer", or with the first free
  // number after it.
  static TpsFileContainer* CreateForContainer(fw::TComponent* AOwner, TFileContainer* Container);

  TFileContainer* FileContainer() const { return FFileContainer; }
  void SetFileContainer(TFileContainer* Value);

  // File containers, groups and installed files may not use this specifier.
  void ValidateObject(fw::TComponent* Obj) override;
  std::string GetDescription() const override;
  std::string GetCaption() const override;
  // The container's full destination folder; empty without container.
  std::string GetPath(fw::TComponent* Obj) override;
  // A name that another component of the owner holds is taken from it (that one gets
  // "nameClash" and a number); a rename that fails otherwise keeps the old name.
  void SetName(const std::string& NewName) override;
  void Loaded() override;

 protected:
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  TFileContainer* FFileContainer = nullptr;
  bool FNamedByContainer = false;
};

}  // namespace setup
