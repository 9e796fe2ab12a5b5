#include "WizardWalker.h"

#include <algorithm>

#include "ProgramRun.h"
#include "Screenshot.h"
#include "UiDriver.h"

namespace road {

namespace {

constexpr char kWizardClass[] = "TBaseFormContainer";
constexpr char kCopyWindowClass[] = "TCopyFileForm";

struct TPageStep {
  const char* Caption;
  const char* Button;
  const char* Picture;
};

// The before-install wizard, page by page.
constexpr TPageStep kBeforeInstall[] = {
    {"Welcome", "Next >", "welcome"},
    {"Software license agreement", "Next >", "licence"},
    {"Readme information", "Next >", "readme"},
    {"Choose Destination Location", "Next >", "destination"},
    {"Select folder in start menu", "Next >", "start-menu-folder"},
};
constexpr TPageStep kGoodInstall = {"Setup complete", "Finish", "setup-complete"};
constexpr TPageStep kBadInstall = {"Setup incomplete", "Finish", "setup-incomplete"};
constexpr TPageStep kReboot = {"Reboot windows", "Finish", "reboot"};
constexpr char kMessageBoxClass[] = "#32770";
constexpr char kNoReboot[] = "No, I would not like to reboot windows";

std::string WithoutAccelerators(std::string Text) {
  Text.erase(std::remove(Text.begin(), Text.end(), '&'), Text.end());
  return Text;
}

std::string EnvironmentValue(const char* Name) {
  char buffer[32768] = "";
  const DWORD length = GetEnvironmentVariableA(Name, buffer, sizeof buffer);
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

// Sets an environment variable for the processes started from here while the object
// lives; an empty value leaves it as it is.
class TEnvironmentSetting {
 public:
  TEnvironmentSetting(const char* Name, const std::string& Value)
      : FName(Name), FHad(GetEnvironmentVariableA(Name, nullptr, 0) > 0), FOld(EnvironmentValue(Name)) {
    if (!Value.empty()) SetEnvironmentVariableA(Name, Value.c_str());
  }
  ~TEnvironmentSetting() { SetEnvironmentVariableA(FName, FHad ? FOld.c_str() : nullptr); }
  TEnvironmentSetting(const TEnvironmentSetting&) = delete;
  TEnvironmentSetting& operator=(const TEnvironmentSetting&) = delete;

 private:
  const char* FName;
  bool FHad = false;
  std::string FOld;
};

// The folders the loader made below the temporary folder (marked by its tag file).
std::vector<std::string> LoaderFolders() {
  char temp[MAX_PATH] = "";
  const std::string base(temp, GetTempPathA(MAX_PATH, temp));
  std::vector<std::string> folders;
  WIN32_FIND_DATAA found;
  fw::TFindHandle find(FindFirstFileA((base + "*").c_str(), &found));
  if (!find) return folders;
  do {
    const std::string folder = base + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
        GetFileAttributesA((folder + "\\~loader.tag").c_str()) != INVALID_FILE_ATTRIBUTES)
      folders.push_back(folder);
  } while (FindNextFileA(find.Get(), &found));
  return folders;
}

// The loader's folders that are not among Before.
std::vector<std::string> NewLoaderFolders(const std::vector<std::string>& Before) {
  std::vector<std::string> added;
  for (const std::string& folder : LoaderFolders())
    if (std::find(Before.begin(), Before.end(), folder) == Before.end()) added.push_back(folder);
  return added;
}

double SecondsSince(LARGE_INTEGER Start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - Start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

HWND VisibleControl(HWND Window, const std::string& Caption, const std::string& ClassName) {
  for (const testsupport::TControlInfo& info : testsupport::ListControls(Window))
    if (info.Visible && (Caption.empty() || WithoutAccelerators(info.Text) == WithoutAccelerators(Caption)) &&
        (ClassName.empty() || _stricmp(info.ClassName.c_str(), ClassName.c_str()) == 0))
      return info.Handle;
  return nullptr;
}

const std::vector<std::string>& TWizardWalker::SetupWindowClasses() {
  static const std::vector<std::string> classes{"TMain", kWizardClass, kCopyWindowClass};
  return classes;
}

TWizardWalker::TWizardWalker(TRoadReport& Report, TWalkOptions Options)
    : FReport(Report), FOptions(std::move(Options)) {}

std::unique_ptr<TStartedProgram> TWizardWalker::StartBeforeInstall(const TWindowWatch& Watch,
                                                                   const std::string& SetupExe, TWalkResult& Result) {
  std::unique_ptr<TStartedProgram> setup = StartSetup(SetupExe);
  WalkBeforeInstall(Watch, Result);
  return setup;
}

TWalkResult TWizardWalker::Walk(const std::string& SetupExe) {
  TWindowWatch watch(SetupWindowClasses());
  const std::vector<std::string> loaderFoldersBefore = LoaderFolders();
  TWalkResult result;
  std::unique_ptr<TStartedProgram> setup = StartBeforeInstall(watch, SetupExe, result);
  // The loader's folder of this setup, made before the first page came.
  std::vector<std::string> ours = NewLoaderFolders(loaderFoldersBefore);
  FinishSetup(watch, *setup, result);
  result.LoaderFolders = ours;
  if (result.RebootAsked) {
    // The continuation after the restart runs the installer from there and removes it.
    const bool stays = !ours.empty() && std::all_of(ours.begin(), ours.end(), [](const std::string& folder) {
      return GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    FReport.Check(stays, "the loader's folder stays for the continuation after the restart",
                  ours.empty() ? "the loader made none" : "it went");
    return result;
  }

  // The installer removes the loader's folder once it has ended (switch c).
  auto left = [&] {
    for (const std::string& folder : ours)
      if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return folder;
    return std::string();
  };
  const DWORD cleanupStart = GetTickCount();
  while (!left().empty() && GetTickCount() - cleanupStart < FOptions.StepTimeoutMs) Sleep(50);
  FReport.Check(!ours.empty() && left().empty(), "the loader's folder is gone after the setup ended",
                ours.empty() ? "the loader made none" : left() + " stayed");
  AwaitLeftPrograms(*setup);
  return result;
}

TWalkResult TWizardWalker::CancelAtWelcome(const std::string& SetupExe) {
  TWindowWatch watch(SetupWindowClasses());
  const std::vector<std::string> before = LoaderFolders();
  TWalkResult result;
  std::unique_ptr<TStartedProgram> setup = StartSetup(SetupExe);
  CancelOnPage(watch, WaitForPage(watch, {kBeforeInstall[0].Caption}), kBeforeInstall[0].Caption);
  FinishCancelled(watch, *setup, before, result);
  return result;
}

TWalkResult TWizardWalker::WalkToRefusedDestinations(const std::string& SetupExe,
                                                     const std::vector<std::string>& Folders) {
  TWindowWatch watch(SetupWindowClasses());
  const std::vector<std::string> before = LoaderFolders();
  TWalkResult result;
  std::unique_ptr<TStartedProgram> setup = StartSetup(SetupExe);
  const TPageStep* step = kBeforeInstall;
  for (; std::string(step->Picture) != "destination"; ++step) {
    testsupport::Click(WaitForButton(watch, WaitForPage(watch, {step->Caption}), step->Button));
    FReport.Note("page \"" + std::string(step->Caption) + "\": " + step->Button);
  }
  for (const std::string& folder : Folders) {
    HWND page = WaitForPage(watch, {step->Caption});
    HWND next = WaitForButton(watch, page, step->Button);
    if (HWND edit = VisibleControl(page, "", "Edit")) testsupport::SetEditText(edit, folder);
    FReport.Note("destination typed: " + folder);
    testsupport::Click(next);
    std::string refusal;
    for (const DWORD start = GetTickCount(); !AnswerMessageBox(watch, refusal); Sleep(20))
      if (GetTickCount() - start > FOptions.StepTimeoutMs) Fail("the destination page did not refuse " + folder);
    result.Refusals.push_back(refusal);
    // The page has its focus back once the box is gone.
    for (const DWORD start = GetTickCount(); IsWindow(watch.Find(kMessageBoxClass, step->Caption)); Sleep(20))
      if (GetTickCount() - start > FOptions.StepTimeoutMs) Fail("the refusal's box stays");
  }
  CancelOnPage(watch, WaitForPage(watch, {step->Caption}), step->Caption);
  FinishCancelled(watch, *setup, before, result);
  return result;
}

void TWizardWalker::CancelOnPage(const TWindowWatch& Watch, HWND Page, const char* Caption) {
  testsupport::Click(WaitForButton(Watch, Page, "Cancel"));
  FReport.Note("page \"" + std::string(Caption) + "\": Cancel");
}

void TWizardWalker::FinishCancelled(const TWindowWatch& Watch, TStartedProgram& Setup,
                                    const std::vector<std::string>& LoaderFoldersBefore, TWalkResult& Result) {
  HWND bad = WaitForPage(Watch, {kBadInstall.Caption});
  HWND finish = WaitForButton(Watch, bad, kBadInstall.Button);
  Shoot(bad, kBadInstall.Picture);
  Result.Pages.push_back(kBadInstall.Caption);
  FReport.Note("page \"" + std::string(kBadInstall.Caption) + "\": " + kBadInstall.Button);
  testsupport::Click(finish);
  const DWORD start = GetTickCount();
  while (!Setup.WaitForEnd(20, Result.ExitCode))
    if (GetTickCount() - start > FOptions.StepTimeoutMs) Fail("the setup did not end after Finish");
  AwaitLeftPrograms(Setup);
  Result.LoaderFolders = NewLoaderFolders(LoaderFoldersBefore);
}

bool TWizardWalker::AnswerMessageBox(const TWindowWatch& Watch, std::string& Error) {
  for (const TShownWindow& window : Watch.NewWindows()) {
    HWND ok = window.ClassName == kMessageBoxClass ? VisibleControl(window.Handle, "OK", "Button") : nullptr;
    if (ok == nullptr) continue;
    Error = TWindowWatch::Describe(window);
    FReport.Note("it said: " + Error + "; OK");
    testsupport::Click(ok);
    return true;
  }
  return false;
}

void TWizardWalker::AwaitLeftPrograms(TStartedProgram& Setup) {
  FReport.Check(Setup.WaitForAllToEnd(FOptions.StepTimeoutMs),
                "the programs the setup left running (its clean-up batch file) have ended");
}

std::unique_ptr<TStartedProgram> TWizardWalker::StartSetup(const std::string& SetupExe,
                                                          std::optional<int> HoldCopyAt) {
  TEnvironmentSetting path(
      "PATH", FOptions.ClientFolder.empty() ? std::string() : FOptions.ClientFolder + ";" + EnvironmentValue("PATH"));
  TEnvironmentSetting hold(TCopyHold::kHoldAtVariable, HoldCopyAt ? std::to_string(*HoldCopyAt) : std::string());
  auto setup = std::make_unique<TStartedProgram>(Quoted(SetupExe));
  FSetupProcess = setup->ProcessId();
  return setup;
}

void TWizardWalker::WalkBeforeInstall(const TWindowWatch& Watch, TWalkResult& Result) {
  for (const TPageStep& step : kBeforeInstall) {
    HWND wizard = WaitForPage(Watch, {step.Caption});
    HWND button = WaitForButton(Watch, wizard, step.Button);
    if (Result.Pages.empty() && FOptions.Screenshots) testsupport::SaveScreenPng("splash");
    const std::string picture = step.Picture;
    if (HWND edit = VisibleControl(wizard, "", "Edit"); edit != nullptr && picture == "destination") {
      if (!FOptions.Destination.empty()) {
        testsupport::SetEditText(edit, FOptions.Destination);
        FReport.Note("destination typed: " + FOptions.Destination);
      }
      Result.Destination = testsupport::ControlText(edit);
    }
    if (HWND edit = VisibleControl(wizard, "", "Edit"); edit != nullptr && picture == "start-menu-folder")
      Result.StartMenuFolder = testsupport::ControlText(edit);
    Shoot(wizard, picture);
    Result.Pages.push_back(step.Caption);
    FReport.Note("page \"" + std::string(step.Caption) + "\": " + step.Button);
    QueryPerformanceCounter(&FLastButton);
    testsupport::Click(button);
  }
}

TWalkResult TWizardWalker::WalkToFailure(const std::string& SetupExe, std::optional<int> CancelCopyAt) {
  TWindowWatch watch(SetupWindowClasses());
  TWalkResult result;
  const std::vector<std::string> loaderFoldersBefore = LoaderFolders();
  std::unique_ptr<TStartedProgram> setup = StartSetup(SetupExe, CancelCopyAt);
  if (CancelCopyAt) {
    TCopyHold hold(WaitForPage(watch, {kBeforeInstall[0].Caption}));
    WalkBeforeInstall(watch, result);
    CancelHeldCopy(hold, *setup, *CancelCopyAt);
  } else {
    WalkBeforeInstall(watch, result);
  }
  bool pageAnswered = false;
  DWORD lastChange = GetTickCount();
  while (!setup->WaitForEnd(20, result.ExitCode)) {
    if (HWND page = pageAnswered ? nullptr : watch.Find(kWizardClass, kBadInstall.Caption)) {
      HWND finish = WaitForButton(watch, page, kBadInstall.Button);
      Shoot(page, kBadInstall.Picture);
      result.Pages.push_back(kBadInstall.Caption);
      FReport.Note("page \"" + std::string(kBadInstall.Caption) + "\": " + kBadInstall.Button);
      testsupport::Click(finish);
      pageAnswered = true;
      lastChange = GetTickCount();
    }
    if (pageAnswered && result.Error.empty() && AnswerMessageBox(watch, result.Error)) lastChange = GetTickCount();
    if (TShownWindow odd = watch.FirstUnexpected(); odd.Handle != nullptr && odd.ClassName != kMessageBoxClass)
      Fail("while the installation ended badly, the setup showed " + TWindowWatch::Describe(odd));
    if (watch.Find(kWizardClass, kGoodInstall.Caption) != nullptr)
      Fail("the installation ended well: the setup showed the page \"" + std::string(kGoodInstall.Caption) + "\"");
    if (GetTickCount() - lastChange > FOptions.StepTimeoutMs)
      Fail(pageAnswered ? "the setup did not end after the bad-install page" : "the bad-install page did not come");
  }
  FReport.Check(pageAnswered, "the bad-install page came", "the setup ended without it");
  AwaitLeftPrograms(*setup);
  result.LoaderFolders = NewLoaderFolders(loaderFoldersBefore);
  return result;
}

void TWizardWalker::CancelHeldCopy(TCopyHold& Hold, TStartedProgram& Setup, int At) {
  // Nothing of the installer's windows is read through messages until the copy is held:
  // a held installer answers none.
  for (const DWORD start = GetTickCount(); !Hold.WaitUntilHeld(20);) {
    if (!Setup.Running()) Fail("the setup ended before its copy reached " + std::to_string(At) + " %");
    if (GetTickCount() - start > FOptions.StepTimeoutMs)
      Fail("the copy did not reach " + std::to_string(At) + " % within " + std::to_string(FOptions.StepTimeoutMs / 1000) +
           " s");
  }
  HWND cancel = Hold.CancelButton();
  if (cancel == nullptr) {
    Hold.Release();
    Fail("the copy window held at " + std::to_string(At) + " % has no Cancel button");
  }
  testsupport::Click(cancel);
  FReport.Note("copy window, held at " + std::to_string(At) + " % of the copy: Cancel");
  Hold.Release();
}

void TWizardWalker::FinishSetup(const TWindowWatch& Watch, TStartedProgram& Setup, TWalkResult& Result) {
  FSetupProcess = Setup.ProcessId();
  std::string caption;
  HWND page = WaitForPage(Watch, {kGoodInstall.Caption, kReboot.Caption}, &caption);
  if (FLastButton.QuadPart != 0) Result.InstallSeconds = SecondsSince(FLastButton);
  AnswerOutcomePage(Watch, page, caption, Result);
  const DWORD start = GetTickCount();
  while (!Setup.WaitForEnd(20, Result.ExitCode)) {
    if (TShownWindow odd = Watch.FirstUnexpected(); odd.Handle != nullptr)
      Fail("the setup showed " + TWindowWatch::Describe(odd) + " after Finish");
    if (GetTickCount() - start > FOptions.StepTimeoutMs) Fail("the setup did not end after Finish");
  }
}

DWORD TWizardWalker::PlayUntilEnd(const TWindowWatch& Watch, TStartedProgram& Program, TWalkResult& Result) {
  std::vector<HWND> answered;
  DWORD exitCode = 0;
  DWORD lastChange = GetTickCount();
  while (!Program.WaitForEnd(20, exitCode)) {
    for (const TPageStep* step : {&kGoodInstall, &kReboot}) {
      HWND page = Watch.Find(kWizardClass, step->Caption);
      if (page == nullptr || std::find(answered.begin(), answered.end(), page) != answered.end()) continue;
      AnswerOutcomePage(Watch, page, step->Caption, Result);
      answered.push_back(page);
      lastChange = GetTickCount();
    }
    if (TShownWindow odd = Watch.FirstUnexpected(); odd.Handle != nullptr)
      Fail("while the restart ran, the setup showed " + TWindowWatch::Describe(odd));
    if (GetTickCount() - lastChange > 2 * FOptions.StepTimeoutMs) Fail("the restart did not end within its time");
  }
  return exitCode;
}

void TWizardWalker::AnswerOutcomePage(const TWindowWatch& Watch, HWND Page, const std::string& Caption,
                                      TWalkResult& Result) {
  const TPageStep& step = Caption == kReboot.Caption ? kReboot : kGoodInstall;
  HWND finish = WaitForButton(Watch, Page, step.Button);
  Result.Pages.push_back(step.Caption);
  if (&step == &kReboot) {
    // The restart is the caller's to play: the user does not let the setup reboot now.
    Result.RebootAsked = true;
    HWND no = VisibleControl(Page, kNoReboot, "Button");
    if (no == nullptr) Fail("the reboot page has no choice \"" + std::string(kNoReboot) + "\"");
    testsupport::ChooseRadioButton(no);
    FReport.Note("page \"" + std::string(step.Caption) + "\": " + kNoReboot + ", " + step.Button);
  } else {
    FReport.Note("page \"" + std::string(step.Caption) + "\": " + step.Button);
  }
  Shoot(Page, step.Picture);
  testsupport::Click(finish);
}

HWND TWizardWalker::WaitForPage(const TWindowWatch& Watch, const std::vector<std::string>& Captions,
                                std::string* Found) {
  std::string Caption;
  for (const std::string& one : Captions) Caption += (Caption.empty() ? "" : "\" or \"") + one;
  const DWORD start = GetTickCount();
  for (;;) {
    for (const std::string& one : Captions)
      if (HWND wizard = Watch.Find(kWizardClass, one)) {
        if (Found != nullptr) *Found = one;
        return wizard;
      }
    if (TShownWindow odd = Watch.FirstUnexpected(); odd.Handle != nullptr)
      Fail("waiting for the page \"" + Caption + "\", the setup showed " + TWindowWatch::Describe(odd));
    if (HWND copy = Watch.Find(kCopyWindowClass, "Copying installation files"); copy && !FCopyWindowShot) {
      FCopyWindowShot = true;
      try {
        Shoot(copy, "copying-files");
      } catch (const std::exception&) {
        // The copy window went while it was taken: the install was quicker.
      }
    }
    if (GetTickCount() - start > FOptions.StepTimeoutMs) {
      std::string shown;
      for (const TShownWindow& window : Watch.NewWindows())
        shown += (shown.empty() ? "" : ", ") + TWindowWatch::Describe(window);
      Fail("the page \"" + Caption + "\" did not come within " + std::to_string(FOptions.StepTimeoutMs / 1000) +
           " s (shown: " + (shown.empty() ? "nothing" : shown) + ")");
    }
    DWORD exitCode = STILL_ACTIVE;
    if (fw::TKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, FSetupProcess));
        process && GetExitCodeProcess(process.Get(), &exitCode) && exitCode != STILL_ACTIVE)
      Fail("the setup ended (exit code " + std::to_string(exitCode) + ") before the page \"" + Caption + "\"");
    Sleep(10);
  }
}

HWND TWizardWalker::WaitForButton(const TWindowWatch& Watch, HWND Wizard, const std::string& Caption) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND button = VisibleControl(Wizard, Caption, "Button"); button != nullptr && IsWindowEnabled(button))
      return button;
    if (TShownWindow odd = Watch.FirstUnexpected(); odd.Handle != nullptr)
      Fail("waiting for the button \"" + Caption + "\", the setup showed " + TWindowWatch::Describe(odd));
    if (GetTickCount() - start > FOptions.StepTimeoutMs)
      Fail("the page \"" + testsupport::ControlText(Wizard) + "\" has no button \"" + Caption + "\"");
    Sleep(10);
  }
}

void TWizardWalker::Shoot(HWND Window, const std::string& Name) {
  if (FOptions.Screenshots) testsupport::SaveWindowPng(Window, Name);
}

void TWizardWalker::Fail(const std::string& Message) {
  std::string picture;
  try {
    picture = testsupport::SaveScreenPng("failure");
  } catch (const std::exception&) {
  }
  throw ERoad(Message + (picture.empty() ? "" : " (the screen: " + picture + ")"));
}

}  // namespace road
