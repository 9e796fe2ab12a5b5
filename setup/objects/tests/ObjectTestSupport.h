// Installable objects for the tests: a configurable category, a record of what reached
// them, and an engine that the tests switch on and off.
#pragma once

#include <string>
#include <vector>

#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "objects/NetInstallLocation.h"
#include "objects/StatusParameters.h"
#include "support/InstallInformation.h"

namespace setup::testing {

struct TReceived {
  std::string Receiver;
  int Code;
  fw::TObject* Sender;
  fw::TObject* PO;
  std::string Text;  // a message parameter's text, read while the call lasts
};

class TTestObject : public TInstallObject {
  FW_CLASS(TTestObject, TInstallObject)
 public:
  explicit TTestObject(fw::TComponent* AOwner, int Category = rtInstallFile) : TInstallObject(AOwner, Category) {}

  int Installs = 0;
  // What the install step does besides the base's work.
  std::function<void()> OnInstall;
  std::vector<TReceived>* Log = nullptr;
  std::vector<std::string> UninstallKeys;
  std::function<void(const std::string&)> OnWriteUninstall;

  void Install() override {
    ++Installs;
    if (OnInstall) OnInstall();
    TInstallObject::Install();
  }
  void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) override {
    auto* message = dynamic_cast<TMessageParameter*>(PO);
    if (Log != nullptr) Log->push_back({Name(), Code, Sender, PO, message != nullptr ? message->Text : std::string()});
  }
  void WriteUninstallInfo(const std::string& Key) override {
    UninstallKeys.push_back(Key);
    if (OnWriteUninstall) OnWriteUninstall(Key);
  }
};

// Relays every report to its own container, as a busy file container does.
class TRelayObject : public TTestObject {
  FW_CLASS(TRelayObject, TTestObject)
 public:
  using TTestObject::TTestObject;
  std::vector<TReceived> Reports;
  void DoInformationEventControl(fw::TObject* Sender, int Code, fw::TObject* PO) override {
    Reports.push_back({Name(), Code, Sender, PO, std::string()});
    ReportInformation(Code, PO);
  }
};

// A class of that name always goes first among the helpers.
class TInstallBDE : public TTestObject {
  FW_CLASS(TInstallBDE, TTestObject)
 public:
  explicit TInstallBDE(fw::TComponent* AOwner) : TTestObject(AOwner, 3000) {}
};

class TTestEngine : public TTestObject, public TInstallEngine {
  FW_CLASS(TTestEngine, TTestObject)
 public:
  explicit TTestEngine(fw::TComponent* AOwner) : TTestObject(AOwner, rtFileContainer) { SetGlobalInstall(this); }
  bool Running = false;
  TDistributeType Distribution = dtWeb;
  TInstallInformation Info;

  TInstallContainer& EngineContainer() override { return *this; }
  bool EngineInstalling() const override { return Running; }
  TDistributeType EngineDistributeType() const override { return Distribution; }
  const TInstallInformation& EngineInformation() const override { return Info; }
};

// A net install location that is a component, as a form names it; it downloads nothing.
class TMirror : public fw::TComponent, public INetInstallLocation {
  FW_CLASS(TMirror, fw::TComponent)
 public:
  using fw::TComponent::TComponent;
  bool LoginInformationUsable() const override { return true; }
  std::string Hostname() const override { return "mirror.example.com"; }
  std::string Directory() const override { return ""; }
  TNetProtocol Protocol() const override { return ipFTP; }
  void DownloadFile(const std::string&, const std::string&, const TDataReceivedEvent&) override {}
};
// Registers TMirror for form descriptions (once per program).
void RegisterMirrorClass();

}  // namespace setup::testing
