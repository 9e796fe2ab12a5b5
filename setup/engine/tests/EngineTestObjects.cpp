#include "EngineTestObjects.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

#include "objects/StatusParameters.h"

namespace setup::testing {

bool TEngineLog::Contains(const std::string& Line) const {
  return IndexOf(Line) >= 0;
}

int TEngineLog::IndexOf(const std::string& Line) const {
  auto it = std::find(Lines.begin(), Lines.end(), Line);
  return it == Lines.end() ? -1 : static_cast<int>(it - Lines.begin());
}

TEngineLog& EngineLog() {
  static TEngineLog log;
  return log;
}

const fw::TClass& TTestInstall::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TTestInstall>().Creatable();
  return cls;
}

TTestInstall::TTestInstall(fw::TComponent* AOwner)
    : TInstall(AOwner), FArguments(NextArguments()), FProgramFile(NextProgramFile()) {}

std::vector<std::string>& TTestInstall::NextArguments() {
  static std::vector<std::string> arguments;
  return arguments;
}

std::string& TTestInstall::NextProgramFile() {
  static std::string file;
  return file;
}

std::string TTestInstall::ProgramFileName() const {
  return FProgramFile.empty() ? TInstall::ProgramFileName() : FProgramFile;
}

void TTestInstall::TerminateApplication() {
  ++Terminations;
  EngineLog().Add("terminate");
  if (AsTheProgramDoes) PostQuitMessage(0);
}

void TTestInstall::ShowError(const fw::Exception& E) {
  Errors.push_back(E.Message());
  EngineLog().Add("error " + E.Message());
  if (AsTheProgramDoes) TInstall::ShowError(E);
}

void TTestInstall::ShowMessage(const std::string& Text) {
  Messages.push_back(Text);
  EngineLog().Add("message " + Text);
  if (AsTheProgramDoes) TInstall::ShowMessage(Text);
}

void TTestInstall::LogEvents() {
  auto notify = [](const char* Name) { return fw::TNotifyEvent([Name](fw::TObject*) { EngineLog().Add(Name); }); };
  OnAfterInitialized = notify("OnAfterInitialized");
  OnBeforeReadArchiveInfo = notify("OnBeforeReadArchiveInfo");
  OnAfterReadArchiveInfo = notify("OnAfterReadArchiveInfo");
  OnBeforeNotifyBadInstall = notify("OnBeforeNotifyBadInstall");
  OnAfterNotifyBadInstall = notify("OnAfterNotifyBadInstall");
  OnBeforeNotifyGoodInstall = notify("OnBeforeNotifyGoodInstall");
  OnAfterNotifyGoodInstall = notify("OnAfterNotifyGoodInstall");
  OnBeforeInstallObjects = [](TInstallContainer*) { EngineLog().Add("OnBeforeInstallObjects"); };
  OnAfterInstallObjects = [](TInstallContainer*, bool WasAborted) {
    EngineLog().Add(WasAborted ? "OnAfterInstallObjects aborted" : "OnAfterInstallObjects");
  };
  OnBeforeShutdown = [](TCustomInstall*, bool&) { EngineLog().Add("OnBeforeShutdown"); };
  OnBeforeCleanup = [](TCustomInstall*, bool&) { EngineLog().Add("OnBeforeCleanup"); };
}

const fw::TClass& TListener::StaticClass() {
  using T = TListener;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Component("Container", &T::Container, &T::SetContainer)
                                    .Integer("CancelAt", &T::CancelAt, &T::SetCancelAt);
  return cls;
}

void TListener::InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) {
  EngineLog().Add("code " + std::to_string(Code));
  if (auto* message = dynamic_cast<TMessageParameter*>(PO)) EngineLog().Add("status " + message->Text);
  if (OnCode) OnCode(Code);
  if (Code == FCancelAt) throw EAIUserAbort();
}

namespace {
template <class T>
fw::TClassDef<T> KindClassDef() {
  fw::TClassDef<T> def;
  def.Creatable()
      .Component("Container", &T::Container, &T::SetContainer)
      .Boolean("Fail", &T::Fail, &T::SetFail)
      .Boolean("Include", &T::Include, &T::SetInclude);
  return def;
}
}  // namespace

const fw::TClass& TStepObject::StaticClass() {
  static const fw::TClass cls = KindClassDef<TStepObject>();
  return cls;
}
const fw::TClass& TLinkGroupObject::StaticClass() {
  static const fw::TClass cls = KindClassDef<TLinkGroupObject>();
  return cls;
}
const fw::TClass& TLinkObject::StaticClass() {
  static const fw::TClass cls = KindClassDef<TLinkObject>();
  return cls;
}
const fw::TClass& TRegistryStepObject::StaticClass() {
  static const fw::TClass cls = KindClassDef<TRegistryStepObject>();
  return cls;
}

const fw::TClass& TDeferringObject::StaticClass() {
  using T = TDeferringObject;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Component("Container", &T::Container, &T::SetContainer)
                                    .String("DeleteLater", &T::DeleteLater, &T::SetDeleteLater)
                                    .String("FinishedMarker", &T::FinishedMarker, &T::SetFinishedMarker);
  return cls;
}

namespace {
// A name relative to the engine's source folder.
std::string InSourceDir(const std::string& Name) {
  if (Name.empty() || Name.find(':') != std::string::npos || Name[0] == '\\') return Name;
  return GlobalInstall()->EngineSourceDir() + "\\" + Name;
}
}  // namespace

void TDeferringObject::Install() {
  TInstallObject::Install();
  TInstallEngine* engine = GlobalInstall();
  engine->EngineAddUnfinished(Name(), 0);
  if (!FDeleteLater.empty()) engine->EngineAddUnfinished(InSourceDir(FDeleteLater), 1);
  engine->EngineRequestReboot();
}

void TDeferringObject::FinishAfterReboot() {
  EngineLog().Add("finish " + Name());
  if (FFinishedMarker.empty()) return;
  std::ofstream(InSourceDir(FFinishedMarker)) << "finished";
}

void RegisterEngineTestClasses() {
  fw::RegisterClasses({&TTestInstall::StaticClass(), &TListener::StaticClass(), &TStepObject::StaticClass(),
                       &TLinkGroupObject::StaticClass(), &TLinkObject::StaticClass(),
                       &TRegistryStepObject::StaticClass(), &TDeferringObject::StaticClass()});
}

}  // namespace setup::testing
