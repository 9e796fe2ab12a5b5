// What the wizard's tests share: an engine stand-in, a configuration that owns it and
// the dialog managers, test pages whose order and skipping a test sets, and the user's
// view of the wizard window (its visible controls only).
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/Graphics.h"
#include "objects/InstallContainer.h"
#include "objects/InstallEngine.h"
#include "support/InstallInformation.h"
#include "wizard/BaseInstallForm.h"
#include "wizard/DialogManager.h"
#include "wizard/WizardPage.h"

namespace setup::testing {

// The engine as the managers and pages see it.
class TWizardTestEngine : public TInstallObject, public TInstallEngine {
  FW_CLASS(TWizardTestEngine, TInstallObject)
 public:
  explicit TWizardTestEngine(fw::TComponent* AOwner) : TInstallObject(AOwner, rtFileContainer) {
    SetGlobalInstall(this);
    ThemeBitmap.LoadFromFile(THEME_BITMAP_FILE);
  }
  // The engine's own picture for the pages.
  fw::TPicture ThemeBitmap;
  bool CancelAnswer = true;
  int CancelQuestions = 0;
  bool Reboot = false;
  TInstallInformation Info;

  TInstallContainer& EngineContainer() override { return *this; }
  bool EngineInstalling() const override { return false; }
  TDistributeType EngineDistributeType() const override { return dtTraditional; }
  const TInstallInformation& EngineInformation() const override { return Info; }
  bool EngineQueryUserAbort() override {
    ++CancelQuestions;
    return CancelAnswer;
  }
  fw::TPicture* EngineDialogThemeBitmap() const override { return const_cast<fw::TPicture*>(&ThemeBitmap); }
  bool EngineReboot() const override { return Reboot; }
  void SetEngineReboot(bool Value) override { Reboot = Value; }
};

// A configuration: the form that owns the engine and the managers.
class TWizardConfiguration {
 public:
  TWizardConfiguration();
  ~TWizardConfiguration();
  TWizardConfiguration(const TWizardConfiguration&) = delete;
  TWizardConfiguration& operator=(const TWizardConfiguration&) = delete;

  // A manager of the engine; Class may be a test descendant.
  TDialogManager* AddManager(TManagerType Type, const std::string& Name,
                             const fw::TClass& Class = TDialogManager::StaticClass());
  fw::TForm* Owner() const { return FOwner.get(); }
  TWizardTestEngine* Engine = nullptr;

 private:
  fw::TOwnedPtr<fw::TForm> FOwner;
};

// Test pages (of the uninstall wizard, which the setup's own pages never join): each
// takes the next order and skip flag a test queued, and logs what happens to it.
struct TProbePageSpec {
  int Order = 0;
  bool Skip = false;
  std::string Name;
};
extern std::deque<TProbePageSpec> gProbePages;
extern std::vector<std::string> gProbeLog;

class TProbePage : public TWizardPage {
  FW_CLASS(TProbePage, TWizardPage)
 public:
  explicit TProbePage(fw::TComponent* AOwner);
  ~TProbePage() override;
  bool Skip = false;
  std::string PageName;
  bool SkipPage() override { return Skip; }
  void EnterPage() override;
  void LeavePage() override;
  void Loaded() override;

 private:
  void HostDestroying(fw::TObject* Sender);
};

// Six probe page classes (each with its form resource), registered by the test main.
#define SETUP_PROBE_PAGE(N)                                                \
  class TProbePage##N : public TProbePage {                                \
    FW_CLASS(TProbePage##N, TProbePage)                                    \
   public:                                                                 \
    explicit TProbePage##N(fw::TComponent* AOwner) : TProbePage(AOwner) {} \
  }
SETUP_PROBE_PAGE(1);
SETUP_PROBE_PAGE(2);
SETUP_PROBE_PAGE(3);
SETUP_PROBE_PAGE(4);
SETUP_PROBE_PAGE(5);
SETUP_PROBE_PAGE(6);

// The visible control of the window (or its pages) with the caption or class.
HWND VisibleControl(HWND Window, const testsupport::TControlQuery& Query);
// Waits until the window's visible control with the caption exists.
HWND WaitForVisibleControl(HWND Window, const testsupport::TControlQuery& Query, DWORD TimeoutMs = 5000);
// Whether the window has a visible control that fits.
bool HasVisibleControl(HWND Window, const testsupport::TControlQuery& Query);
// The caption of a label (drawn on its page, not a window) of the wizard's current page;
// read while the wizard waits for the user.
std::string PageLabel(HWND Wizard, const std::string& Name);
// The wizard host window (the visible one with the caption).
HWND WaitForWizard(const std::string& Caption, DWORD TimeoutMs = 5000);

// Plays Script as the user; when it fails, every wizard of the process is ended as
// cancelled (a wizard refuses the close requests of the user thread's own rescue).
std::function<void()> WizardScript(std::function<void()> Script);

// Writes a text file; removes it when the object goes.
class TScratchTextFile {
 public:
  TScratchTextFile(std::string Path, const std::string& Text);
  ~TScratchTextFile();
  TScratchTextFile(const TScratchTextFile&) = delete;
  TScratchTextFile& operator=(const TScratchTextFile&) = delete;
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

}  // namespace setup::testing
