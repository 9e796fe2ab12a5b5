// The built-in specifiers that ask the running setup (the engine): where it was started
// from, the main installation folder and the main archive file.
#pragma once

#include "PathSpecifier.h"

namespace setup {

class TInstallEngine;

// Base of the specifiers that need the engine: ValidateObject raises IEPathSpecifier
// when the program holds none.
class TEngineSpecifier : public TStandardPathSpecifier {
  FW_CLASS(TEngineSpecifier, TStandardPathSpecifier)
 public:
  using TStandardPathSpecifier::TStandardPathSpecifier;
  void ValidateObject(fw::TComponent* Obj) override;

 protected:
  // The engine; ValidateObject has passed.
  static TInstallEngine& Engine();
};

// The folder the user ran the setup from.
class TpsInstallSource : public TEngineSpecifier {
  FW_CLASS(TpsInstallSource, TEngineSpecifier)
 public:
  explicit TpsInstallSource(fw::TComponent* AOwner);
  std::string GetDescription() const override { return "Path from which the user ran the install"; }
  std::string GetCaption() const override { return "Install source"; }
  std::string GetPath(fw::TComponent* Obj) override;
};

// The engine's own full destination folder; the engine itself may not use it.
class TpsMainInstall : public TEngineSpecifier {
  FW_CLASS(TpsMainInstall, TEngineSpecifier)
 public:
  explicit TpsMainInstall(fw::TComponent* AOwner);
  void ValidateObject(fw::TComponent* Obj) override;
  std::string GetDescription() const override { return "Main installation directory"; }
  std::string GetCaption() const override { return "Main install dir"; }
  std::string GetPath(fw::TComponent* Obj) override;
};

// The archive with the installation's files: the self-extracting file named by the
// "-e" switch, else "files.1" in ArchiveFolder when one was named (the folder of a
// later disk), else in the source folder.
class TpsMainArchiveFile : public TEngineSpecifier {
  FW_CLASS(TpsMainArchiveFile, TEngineSpecifier)
 public:
  explicit TpsMainArchiveFile(fw::TComponent* AOwner);
  std::string GetDescription() const override {
    return "Archive containing most or all non-internet installation files";
  }
  std::string GetCaption() const override { return "Main archive"; }
  // Raises IEInstall when the "-e" switch names no file.
  std::string GetPath(fw::TComponent* Obj) override;

  const std::string& ArchiveFolder() const { return FArchiveFolder; }
  void SetArchiveFolder(const std::string& Value) { FArchiveFolder = Value; }

 private:
  std::string FArchiveFolder;
};

}  // namespace setup
