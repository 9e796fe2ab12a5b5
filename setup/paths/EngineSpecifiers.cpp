#include "EngineSpecifiers.h"

#include "core/ClassDef.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "support/PathStrings.h"

namespace setup {

namespace {
constexpr char kArchiveFileName[] = "files.1";
}

const fw::TClass& TEngineSpecifier::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TEngineSpecifier>();
  return cls;
}

void TEngineSpecifier::ValidateObject(fw::TComponent* Obj) {
  if (GlobalInstall() == nullptr)
    throw IEPathSpecifier("There is no TInstall component so the path specifier could not be expanded for %s",
                          Obj != nullptr ? Obj->Name() : std::string());
}

TInstallEngine& TEngineSpecifier::Engine() {
  return *GlobalInstall();
}

// --- TpsInstallSource ----------------------------------------------------------

const fw::TClass& TpsInstallSource::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TpsInstallSource>().Creatable();
  return cls;
}

TpsInstallSource::TpsInstallSource(fw::TComponent* AOwner) : TEngineSpecifier(AOwner) {
  FDefaultName = "psInstallSource";
}

std::string TpsInstallSource::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  return RemoveTrailingBackslash(Engine().EngineSourceDir());
}

// --- TpsMainInstall ------------------------------------------------------------

const fw::TClass& TpsMainInstall::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TpsMainInstall>().Creatable();
  return cls;
}

TpsMainInstall::TpsMainInstall(fw::TComponent* AOwner) : TEngineSpecifier(AOwner) {
  FDefaultName = "psMainInstall";
}

void TpsMainInstall::ValidateObject(fw::TComponent* Obj) {
  TEngineSpecifier::ValidateObject(Obj);
  // The engine's folder would be asked of itself without end.
  if (Obj != nullptr && Obj == &Engine().EngineContainer())
    throw IEPathSpecifier("Cannot use the ddMainInstallDir path specifier for a TInstall component");
}

std::string TpsMainInstall::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  return RemoveTrailingBackslash(Engine().EngineContainer().GetFullDestDir());
}

// --- TpsMainArchiveFile --------------------------------------------------------

const fw::TClass& TpsMainArchiveFile::StaticClass() {
  static const fw::TClass cls =
      fw::TClassDef<TpsMainArchiveFile>().Creatable();
  return cls;
}

TpsMainArchiveFile::TpsMainArchiveFile(fw::TComponent* AOwner) : TEngineSpecifier(AOwner) {
  FDefaultName = "psMainArchiveFile";
}

std::string TpsMainArchiveFile::GetPath(fw::TComponent* Obj) {
  ValidateObject(Obj);
  std::string selfExtracting;
  if (Engine().EngineSelfExtractSwitch(selfExtracting)) {
    if (fw::Trim(selfExtracting).empty())
      throw IEInstall(
          "You forgot to pass in the name of the self-extracting executable. Usage example: \"-eSetup.exe\"");
    return RemoveTrailingBackslash(Engine().EngineSourceDir()) + "\\" + selfExtracting;
  }
  // Folders may end in "\" (a drive's root always does): one separator only.
  if (!fw::Trim(FArchiveFolder).empty()) return RemoveTrailingBackslash(FArchiveFolder) + "\\" + kArchiveFileName;
  return RemoveTrailingBackslash(Engine().EngineSourceDir()) + "\\" + kArchiveFileName;
}

}  // namespace setup
