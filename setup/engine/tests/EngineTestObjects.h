// Objects that the engine's tests put on their configuration forms: an engine whose
// command line, program file and exits are the test's, a listener standing where the
// dialog managers stand, objects of the later phases, and an object that leaves work
// for after the reboot. The test host program uses them too.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/ClassDef.h"
#include "engine/Install.h"
#include "objects/InstallContainer.h"

namespace setup::testing {

// What happened in one run, in order: events, broadcast codes and phase objects.
struct TEngineLog {
  std::vector<std::string> Lines;
  void Add(const std::string& Line) { Lines.push_back(Line); }
  bool Contains(const std::string& Line) const;
  // The position of Line, or -1.
  int IndexOf(const std::string& Line) const;
};
TEngineLog& EngineLog();

class TTestInstall : public TInstall {
  FW_CLASS(TTestInstall, TInstall)
 public:
  explicit TTestInstall(fw::TComponent* AOwner);

  // Read when the next engine loads.
  static std::vector<std::string>& NextArguments();
  // Empty: the real program file.
  static std::string& NextProgramFile();

  int Terminations = 0;
  std::vector<std::string> Errors;
  std::vector<std::string> Messages;
  // Ends and tells as the setup program does: a posted quit message, real message boxes.
  bool AsTheProgramDoes = false;

  // Logs every event of the engine under its name.
  void LogEvents();

 protected:
  std::vector<std::string> CommandLineArguments() const override { return FArguments; }
  std::string ProgramFileName() const override;
  void TerminateApplication() override;
  void ShowError(const fw::Exception& E) override;
  void ShowMessage(const std::string& Text) override;

 private:
  std::vector<std::string> FArguments;
  std::string FProgramFile;
};

// Stands where a dialog manager stands: logs the codes it hears ("code -980"); a code
// may be answered by a cancel.
class TListener : public TInstallObject {
  FW_CLASS(TListener, TInstallObject)
 public:
  explicit TListener(fw::TComponent* AOwner) : TInstallObject(AOwner, rtDialog) {}
  int CancelAt() const { return FCancelAt; }
  void SetCancelAt(int Value) { FCancelAt = Value; }
  std::function<void(int Code)> OnCode;
  void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) override;

 private:
  int FCancelAt = 0;
};

// Logs "process <name>" when processed; may fail.
template <int Kind>
class TKindObject : public TInstallObject {
 public:
  explicit TKindObject(fw::TComponent* AOwner) : TInstallObject(AOwner, Kind) { SetInstalledByContainer(Kind < 7000); }
  bool Fail() const { return FFail; }
  void SetFail(bool Value) { FFail = Value; }
  void Install() override {
    EngineLog().Add("install " + Name());
    if (FFail) throw IEInstall("%s failed", Name());
    TInstallObject::Install();
  }

 private:
  bool FFail = false;
};

class TStepObject : public TKindObject<rtInstallFile> {
  FW_CLASS(TStepObject, TInstallObject)
 public:
  using TKindObject::TKindObject;
};
class TLinkGroupObject : public TKindObject<rtLinkGroup> {
  FW_CLASS(TLinkGroupObject, TInstallObject)
 public:
  using TKindObject::TKindObject;
};
class TLinkObject : public TKindObject<rtShellLink> {
  FW_CLASS(TLinkObject, TInstallObject)
 public:
  using TKindObject::TKindObject;
};
class TRegistryStepObject : public TKindObject<rtRegistry> {
  FW_CLASS(TRegistryStepObject, TInstallObject)
 public:
  using TKindObject::TKindObject;
};

// Leaves work for after the reboot: itself (kind 0) and the file DeleteLater (kind 1),
// and asks for the reboot. After the reboot it writes FinishedMarker.
class TDeferringObject : public TInstallObject {
  FW_CLASS(TDeferringObject, TInstallObject)
 public:
  explicit TDeferringObject(fw::TComponent* AOwner) : TInstallObject(AOwner, rtInstallFile) {
    SetInstalledByContainer(true);
  }
  const std::string& DeleteLater() const { return FDeleteLater; }
  void SetDeleteLater(const std::string& Value) { FDeleteLater = Value; }
  const std::string& FinishedMarker() const { return FFinishedMarker; }
  void SetFinishedMarker(const std::string& Value) { FFinishedMarker = Value; }
  void Install() override;
  void FinishAfterReboot() override;

 private:
  std::string FDeleteLater;
  std::string FFinishedMarker;
};

// Registers the classes above for the forms.
void RegisterEngineTestClasses();

}  // namespace setup::testing
