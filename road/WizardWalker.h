// Runs a built setup.exe as a user does: finds each page of the wizard, keeps what the
// pages propose (licence accepted, destination and Start-menu folder kept), presses Next
// up to the install and Finish on the good-install page. Anything else that comes up, or
// nothing coming within the deadline, ends the walk with ERoad and a picture of the
// screen.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CopyHold.h"
#include "ProgramRun.h"
#include "RoadReport.h"
#include "WindowWatch.h"

namespace road {

struct TWalkOptions {
  // A PNG of every page passed and of the splash (testsupport's screenshot folder).
  bool Screenshots = false;
  // The longest wait for the next window.
  DWORD StepTimeoutMs = 30000;
  // A folder put before the search path of the setup's processes (the Novell client's).
  std::string ClientFolder;
  // Typed into the destination page when not empty: the user chooses another folder.
  std::string Destination;
};

struct TWalkResult {
  std::vector<std::string> Pages;  // the captions passed, in order
  std::string Destination;         // what the destination page proposed
  std::string StartMenuFolder;     // and the Start-menu folder page
  double InstallSeconds = 0;       // from the last Next to the page after the install
  bool RebootAsked = false;        // the reboot page came (answered: not now) instead of the good-install page
  DWORD ExitCode = 0;              // of setup.exe
  std::vector<std::string> LoaderFolders;  // the folders the setup's loader made
  std::string Error;                       // the error box after the bad-install page
  std::vector<std::string> Refusals;       // the destination page's refusals
};

class TWizardWalker {
 public:
  TWizardWalker(TRoadReport& Report, TWalkOptions Options);
  // Starts the setup, walks the before-install wizard, then FinishSetup; checks that the
  // loader's folder is gone at the end (or, when the setup waits for a restart, that it
  // stays for the continuation).
  TWalkResult Walk(const std::string& SetupExe);
  // Starts the setup, walks the before-install wizard and expects the installation to end
  // badly: with CancelCopyAt the user presses Cancel on the copy window while the copy
  // is held when its total bar reaches that percentage (TCopyHold), so that the Cancel
  // lands while files are being copied. Answers the bad-install page and the error box
  // that may follow it (Error), and waits for the setup to end.
  TWalkResult WalkToFailure(const std::string& SetupExe, std::optional<int> CancelCopyAt);
  // Starts the setup and cancels it on its welcome page; Finish on the bad-install page.
  // Its exit code and the loader folders it left.
  TWalkResult CancelAtWelcome(const std::string& SetupExe);
  // Starts the setup, types each of Folders on its destination page and expects the page
  // to refuse each with a message box (their texts in Refusals, each answered OK); then
  // cancels there.
  TWalkResult WalkToRefusedDestinations(const std::string& SetupExe, const std::vector<std::string>& Folders);
  // Plays the user on the page a setup program shows after installing (the good-install
  // page: Finish; the reboot page: "No", Finish) and waits for the program to end.
  void FinishSetup(const TWindowWatch& Watch, TStartedProgram& Setup, TWalkResult& Result);
  // Plays the user on every such page that comes while Program runs (a restart that
  // continues a setup) and waits for it to end; its exit code. Nothing but those pages
  // may come up.
  DWORD PlayUntilEnd(const TWindowWatch& Watch, TStartedProgram& Program, TWalkResult& Result);

  // The window classes of the setup program: its splash, the wizard and the copy window.
  static const std::vector<std::string>& SetupWindowClasses();

 private:
  // Starts the setup and walks the before-install wizard.
  std::unique_ptr<TStartedProgram> StartBeforeInstall(const TWindowWatch& Watch, const std::string& SetupExe,
                                                      TWalkResult& Result);
  // Starts setup.exe with the client's folder on the search path; with HoldCopyAt its
  // installer's copy can be held there (TCopyHold).
  std::unique_ptr<TStartedProgram> StartSetup(const std::string& SetupExe,
                                              std::optional<int> HoldCopyAt = std::nullopt);
  // Waits until the copy is held and presses Cancel on the copy window then.
  void CancelHeldCopy(TCopyHold& Hold, TStartedProgram& Setup, int At);
  // Answers a message box with an OK button among the new windows, its text into Error;
  // whether there was one.
  bool AnswerMessageBox(const TWindowWatch& Watch, std::string& Error);
  // Waits until the programs the ended setup left running (its clean-up batch file)
  // have ended too, so that the machine is settled for what the road reads next.
  void AwaitLeftPrograms(TStartedProgram& Setup);
  // Presses Cancel on a wizard page.
  void CancelOnPage(const TWindowWatch& Watch, HWND Page, const char* Caption);
  // Finish on the bad-install page that follows a cancel; waits for the setup to end and
  // notes its exit code and the loader folders it left.
  void FinishCancelled(const TWindowWatch& Watch, TStartedProgram& Setup,
                       const std::vector<std::string>& LoaderFoldersBefore, TWalkResult& Result);
  void WalkBeforeInstall(const TWindowWatch& Watch, TWalkResult& Result);
  // Waits for the wizard showing one of Captions (which one into Found) while nothing
  // unexpected comes up.
  HWND WaitForPage(const TWindowWatch& Watch, const std::vector<std::string>& Captions, std::string* Found = nullptr);
  HWND WaitForButton(const TWindowWatch& Watch, HWND Wizard, const std::string& Caption);
  // Answers the good-install or reboot page (Caption tells which).
  void AnswerOutcomePage(const TWindowWatch& Watch, HWND Page, const std::string& Caption, TWalkResult& Result);
  // Fails the walk: a picture of the screen, then ERoad with Message.
  [[noreturn]] void Fail(const std::string& Message);
  void Shoot(HWND Window, const std::string& Name);

  TRoadReport& FReport;
  TWalkOptions FOptions;
  DWORD FSetupProcess = 0;
  bool FCopyWindowShot = false;
  LARGE_INTEGER FLastButton{};
};

// The visible control of Window (its pages' too) with the caption and class; nil when none.
HWND VisibleControl(HWND Window, const std::string& Caption, const std::string& ClassName = std::string());

}  // namespace road
