// How a group shows itself in the wizard's component selection.
#pragma once

#include <memory>

#include "core/Classes.h"
#include "core/Strings.h"
#include "gui/Graphics.h"

namespace setup {

class TInstallGroupDialogOptions : public fw::TPersistent {
  FW_CLASS(TInstallGroupDialogOptions, fw::TPersistent)
 public:
  TInstallGroupDialogOptions();

  bool AllowChangeDir() const { return FAllowChangeDir; }
  void SetAllowChangeDir(bool Value) { FAllowChangeDir = Value; }
  bool AllowExcludeInclude() const { return FAllowExcludeInclude; }
  void SetAllowExcludeInclude(bool Value) { FAllowExcludeInclude = Value; }
  bool DisplayDirectory() const { return FDisplayDirectory; }
  void SetDisplayDirectory(bool Value) { FDisplayDirectory = Value; }
  bool ShowRegardlessOfInclude() const { return FShowRegardlessOfInclude; }
  void SetShowRegardlessOfInclude(bool Value) { FShowRegardlessOfInclude = Value; }

  fw::TStrings* Description() const { return FDescription.get(); }
  // Copies the lines.
  void SetDescription(const fw::TStrings* Value);
  fw::TIcon* SmallIcon() const { return FSmallIcon.get(); }
  // Copies the picture.
  void SetSmallIcon(const fw::TIcon* Value);

  void Assign(const fw::TPersistent* Source) override;

 private:
  bool FAllowChangeDir = true;
  bool FAllowExcludeInclude = true;
  bool FDisplayDirectory = true;
  bool FShowRegardlessOfInclude = true;
  std::unique_ptr<fw::TStringList> FDescription;
  std::unique_ptr<fw::TIcon> FSmallIcon;
};

}  // namespace setup
