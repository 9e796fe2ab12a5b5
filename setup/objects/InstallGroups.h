// Groups (file containers the user may select, inside the engine or another group)
// and directories (file containers that are simply destination folders).
#pragma once

#include <memory>

#include "FileContainer.h"
#include "GroupDialogOptions.h"

namespace setup {

SETUP_IEXCEPTION(IEInstallGroup, IException);

class TCustomInstallGroup : public TFileContainer {
  FW_CLASS(TCustomInstallGroup, TFileContainer)
 public:
  explicit TCustomInstallGroup(fw::TComponent* AOwner);
  ~TCustomInstallGroup() override;

  TInstallGroupDialogOptions* DialogOptions() const { return FDialogOptions.get(); }
  void SetDialogOptions(TInstallGroupDialogOptions* Value) { FDialogOptions->Assign(Value); }

  bool IsInstallGroup() const override { return true; }
  // Only the engine or another group may hold a group (IEInstallGroup, and nothing
  // changes); nil means the engine when there is one.
  void SetContainer(TInstallContainer* Value) override;

 private:
  std::unique_ptr<TInstallGroupDialogOptions> FDialogOptions;
};

class TInstallGroup : public TCustomInstallGroup {
  FW_CLASS(TInstallGroup, TCustomInstallGroup)
 public:
  using TCustomInstallGroup::TCustomInstallGroup;
};

class TInstallDirectory : public TFileContainer {
  FW_CLASS(TInstallDirectory, TFileContainer)
 public:
  explicit TInstallDirectory(fw::TComponent* AOwner);
  // Frees every file whose source file is missing, last first.
  virtual void RemoveMissingFiles();
};

}  // namespace setup
