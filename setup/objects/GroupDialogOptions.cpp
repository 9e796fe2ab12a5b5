#include "GroupDialogOptions.h"

#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TInstallGroupDialogOptions::StaticClass() {
  using T = TInstallGroupDialogOptions;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Boolean("AllowChangeDir", &T::AllowChangeDir, &T::SetAllowChangeDir)
          .Boolean("AllowExcludeInclude", &T::AllowExcludeInclude, &T::SetAllowExcludeInclude)
          .StringList(
              "Description", [](const T* t) { return t->FDescription->ToVector(); },
              [](T* t, const std::vector<std::string>& v) { t->FDescription->SetVector(v); })
          .Boolean("DisplayDirectory", &T::DisplayDirectory, &T::SetDisplayDirectory)
          .Binary(
              "SmallIcon", [](const T* t) { return t->FSmallIcon->Bytes(); },
              [](T* t, const std::vector<uint8_t>& v) { t->FSmallIcon->LoadFromBytes(v); })
          .Boolean("ShowRegardlessOfInclude", &T::ShowRegardlessOfInclude, &T::SetShowRegardlessOfInclude);
  return cls;
}

TInstallGroupDialogOptions::TInstallGroupDialogOptions()
    : FDescription(std::make_unique<fw::TStringList>()), FSmallIcon(std::make_unique<fw::TIcon>()) {}

void TInstallGroupDialogOptions::SetDescription(const fw::TStrings* Value) { FDescription->Assign(Value); }

void TInstallGroupDialogOptions::SetSmallIcon(const fw::TIcon* Value) { FSmallIcon->Assign(Value); }

void TInstallGroupDialogOptions::Assign(const fw::TPersistent* Source) {
  if (auto* other = dynamic_cast<const TInstallGroupDialogOptions*>(Source)) {
    FAllowChangeDir = other->FAllowChangeDir;
    FAllowExcludeInclude = other->FAllowExcludeInclude;
    FDisplayDirectory = other->FDisplayDirectory;
    FShowRegardlessOfInclude = other->FShowRegardlessOfInclude;
    SetDescription(other->Description());
    SetSmallIcon(other->SmallIcon());
    return;
  }
  fw::TPersistent::Assign(Source);
}

}  // namespace setup
