#include "GroupDialogOptions.h"

#include "core/ClassDef.h"

namespace setup {

const fw::TClass& TInstallGroupDialogOptions::StaticClass() {
  using T = TInstallGroupDialogOptions;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Boolean("AllowChangeDir", &T::AllowChangeDir, &T::AllowChangeDir)
          .Boolean("AllowExcludeInclude", &T::AllowExcludeInclude, &T::AllowExcludeInclude)
          .StringList(
              "Description", [](const T* t) { return t->FDescription->ToVector(); },
              [](T* t, const std::vector<std::string>& v) { t->FDescription->SetVector(v); })
          .Boolean("DisplayDirectory", &T::DisplayDirectory, &T::DisplayDirectory)
          .Binary(
              "SmallIcon", [](const T* t) { return t->FSmallIcon->Bytes(); },
              [](T* t, const std::vector<uint8_t>& v) { t->FSmallIcon->LoadFromBytes(v); })
          .Boolean("ShowRegardlessOfInclude", &T::ShowRegardlessOfInclude, &T::ShowRegardlessOfInclude);
  return cls;
}

TInstallGroupDialogOptions::TInstallGroupDialogOptions()
    : FDescription(std::make_unique<fw::TStringList>()), FSmallIcon(std::make_unique<fw::TIcon>()) {}

void TInstallGroupDialogOptions::SetDescription(const fw::TStrings* Value) { FDescription->Assign(Value); }

void TInstallGroupDialogOptions::SetSmallIcon(const fw::TIcon* Value) { FSmallIcon->Assign(Value); }

void TInstallGroupDialogOptions::Assign(const fw::TPersistent* Source) {
  if (auto* other = dynamic_cast<const TInstallGroupDialogOptions*>(Source)) {
    AllowChangeDir = other->AllowChangeDir;
    AllowExcludeInclude = other->AllowExcludeInclude;
    DisplayDirectory = other->DisplayDirectory;
    ShowRegardlessOfInclude = other->ShowRegardlessOfInclude;
    SetDescription(other->Description());
    SetSmallIcon(other->SmallIcon());
    return;
  }
  fw::TPersistent::Assign(Source);
}

}  // namespace setup
