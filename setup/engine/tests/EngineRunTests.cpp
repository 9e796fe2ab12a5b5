#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "UiDriver.h"
#include "gui/StdCtrls.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "support/Translator.h"

using namespace setup;
using namespace setup::testing;

namespace {

int gReboots = 0;
bool gRebootStarts = true;
bool CountedReboot() {
  ++gReboots;
  EngineLog().Add("reboot");
  return gRebootStarts;
}

class EngineRun : public EngineFixture {
 protected:
  EngineRun() {
    gReboots = 0;
    gRebootStarts = true;
    FPrevious = SetRebootRequest(CountedReboot);
  }
  ~EngineRun() override { SetRebootRequest(FPrevious); }

  static std::string Listener(int CancelAt = 0) {
    return "  object Listener: TListener\n    Container = MainInstall\n    CancelAt = " + std::to_string(CancelAt) +
           "\n  end\n";
  }
  static std::string Object(const std::string& Class, const std::string& Name, const std::string& Lines = "") {
    return "  object " + Name + ": " + Class + "\n    Container = MainInstall\n" + Lines + "  end\n";
  }
  bool RecordExists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\URQ\\Install\\Install0", 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  TRebootRequest FPrevious = nullptr;
};

using Lines = std::vector<std::string>;
const Lines kMilestones{"On", "code -98", "code -97", "code -99", "status", "install", "terminate", "error", "reboot"};

TEST_F(EngineRun, AGoodRunGoesThroughItsStepsInOrder) {
  Load(Listener() + Object("TStepObject", "Step") + Object("TRegistryStepObject", "Keys") +
       Object("TLinkObject", "Link") + Object("TLinkGroupObject", "Group"));
  Run();
  EXPECT_EQ(Logged(kMilestones), (Lines{"OnBeforeReadArchiveInfo",
                                        "code -984",
                                        "code -974",
                                        "status Reading file information...",
                                        "code -973",
                                        "OnAfterReadArchiveInfo",
                                        "code -983",
                                        "OnAfterInitialized",
                                        "code -986",
                                        "code -980",
                                        "code -990",
                                        "code -999",
                                        "code -992",
                                        "OnBeforeInstallObjects",
                                        "install Step",
                                        "code -996",
                                        "code -989",
                                        "code -974",
                                        "status Installing shell links...",
                                        "install Group",
                                        "code -973",
                                        "code -974",
                                        "status Installing shell links...",
                                        "install Link",
                                        "code -973",
                                        "code -974",
                                        "status Installing registry keys...",
                                        "install Keys",
                                        "code -973",
                                        "OnAfterInstallObjects",
                                        "OnBeforeNotifyGoodInstall",
                                        "code -995",
                                        "code -979",
                                        "OnAfterNotifyGoodInstall",
                                        "OnBeforeShutdown",
                                        "terminate"}));
  EXPECT_FALSE(Engine->Installing());
  EXPECT_FALSE(Engine->InstallAborted());
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_FALSE(RecordExists()) << "a good installation removes its record";
  EXPECT_EQ(Engine->ExitCode(), ecSuccess);
  EXPECT_EQ(*InstallRecordKey(), "\\SOFTWARE\\URQ\\Install\\Install0") << "the key stays known";
  EXPECT_EQ(RunOnceValue(HKEY_CURRENT_USER, "QuenlarkUnfinished"), "");
}

TEST_F(EngineRun, ACancelInTheWizardTakesTheBadPathAndRemovesTheRecord) {
  Load(Listener(icBeforeInstall) + Object("TStepObject", "Step"));
  Run();
  EXPECT_EQ(Logged({"On", "code -99", "code -98", "code -97", "install", "terminate", "error"}),
            (Lines{"OnBeforeReadArchiveInfo", "code -984", "code -974", "code -973", "OnAfterReadArchiveInfo",
                   "code -983", "OnAfterInitialized", "code -986", "code -980", "code -996", "OnBeforeNotifyBadInstall",
                   "code -994", "code -978", "OnAfterNotifyBadInstall", "OnBeforeShutdown", "terminate"}));
  EXPECT_TRUE(Engine->InstallAborted());
  EXPECT_FALSE(Engine->Installing());
  EXPECT_TRUE(Engine->Errors.empty()) << "a cancel is no error";
  EXPECT_FALSE(RecordExists());
  EXPECT_EQ(Engine->ExitCode(), ecCancelled);
}

TEST_F(EngineRun, AFailureShowsItsErrorOnceAndLeavesNoRecordItMade) {
  Load(Listener() + Object("TStepObject", "Step", "    Fail = True\n") + Object("TLinkObject", "Link"),
       "    RunAutomatic = False\n");
  Run();
  Lines logged = Logged({"On", "code -99", "install", "terminate", "error"});
  Lines tail(logged.end() - 9, logged.end());
  // The copy's end closes its window before the bad-install page.
  EXPECT_EQ(tail, (Lines{"install Step", "OnAfterInstallObjects", "code -996", "OnBeforeNotifyBadInstall", "code -994",
                         "OnAfterNotifyBadInstall", "error Step failed", "OnBeforeShutdown", "terminate"}));
  EXPECT_FALSE(EngineLog().Contains("install Link")) << "no later phase after a failure";
  EXPECT_FALSE(EngineLog().Contains("OnBeforeNotifyGoodInstall"));
  EXPECT_EQ(Engine->Errors, Lines{"Step failed"});
  EXPECT_FALSE(RecordExists()) << "a failed installation leaves the machine as it was";
  EXPECT_EQ(Engine->ExitCode(), ecFailed);
}

TEST_F(EngineRun, WithoutTheLoadersFolderTheRunStopsAtOnceOnTheBadPath) {
  TTestInstall::NextArguments() = {};
  Load(Listener() + Object("TStepObject", "Step"));
  Run();
  ASSERT_EQ(Engine->Errors.size(), 1u);
  EXPECT_EQ(Engine->Errors[0].rfind("The path of the loading program was not passed correctly.", 0), 0u);
  EXPECT_FALSE(EngineLog().Contains("install Step"));
  EXPECT_FALSE(EngineLog().Contains("OnBeforeReadArchiveInfo"));
  EXPECT_TRUE(EngineLog().Contains("code -978"));
  EXPECT_EQ(Engine->ExitCode(), ecFailed);
}

TEST_F(EngineRun, NoGoodNoticeAfterTheHandlerEndedTheRunDuringTheInstallStep) {
  Load(Listener() + Object("TStepObject", "Step"));
  // A window of the install step handles a message that fails: the application's
  // handler ends the run while the step goes on.
  Engine->OnBeforeInstallObjects = [this](TInstallContainer*) {
    try {
      throw IEInstall("a message handler failed");
    } catch (...) {
      fw::Application->HandleException(Engine);
    }
  };
  Run();
  EXPECT_TRUE(EngineLog().Contains("error a message handler failed"));
  EXPECT_FALSE(EngineLog().Contains("OnBeforeNotifyGoodInstall"));
  EXPECT_FALSE(EngineLog().Contains("code -979"));
  EXPECT_EQ(Engine->Terminations, 1);
}

TEST_F(EngineRun, ARebootVetoedByTheHandlerEndsTheProgramWithoutTheGoodNotice) {
  Load(Listener() + Object("TDeferringObject", "Deferring"));
  int asked = 0;
  Engine->OnBeforeReboot = [&](TCustomInstall* Install, bool& Continue) {
    ++asked;
    EXPECT_TRUE(Continue);
    Continue = false;
  };
  Run();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(gReboots, 0);
  EXPECT_FALSE(Engine->Reboot());
  EXPECT_TRUE(EngineLog().Contains("code -987"));
  EXPECT_FALSE(EngineLog().Contains("OnBeforeNotifyGoodInstall"));
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_TRUE(Engine->Installing()) << "the continuation after the restart finishes the run";
  EXPECT_TRUE(RecordExists());
  EXPECT_EQ(Engine->DeferredCount(), 1);
  EXPECT_NE(RunOnceValue(HKEY_CURRENT_USER, "QuenlarkUnfinished"), "");
  EXPECT_EQ(Engine->ExitCode(), ecRestartPending);
}

TEST_F(EngineRun, ARebootThatCannotStartIsToldAndTheProgramEnds) {
  Load(Object("TDeferringObject", "Deferring"));
  gRebootStarts = false;
  Run();
  EXPECT_EQ(gReboots, 1);
  EXPECT_EQ(Engine->Messages, Lines{"Could not reboot windows. Please manually reboot windows."});
  EXPECT_EQ(Engine->Terminations, 2) << "told to end after the reboot and again as the run ends";

  Load(Object("TDeferringObject", "Deferring"));
  int failed = 0;
  Engine->OnFailedReboot = [&](fw::TObject*) { ++failed; };
  Run();
  EXPECT_EQ(failed, 1);
  EXPECT_TRUE(Engine->Messages.empty());
}

TEST_F(EngineRun, TheRebootPageMayClearTheReboot) {
  Load(Listener() + Object("TDeferringObject", "Deferring"));
  auto* listener = dynamic_cast<TListener*>(Form->FindComponent("Listener"));
  listener->OnCode = [this](int Code) {
    if (Code == icRebootDue) Engine->SetEngineReboot(false);
  };
  Run();
  EXPECT_EQ(gReboots, 0);
  EXPECT_FALSE(EngineLog().Contains("OnBeforeNotifyGoodInstall")) << "the continuation gives the notice";
  EXPECT_TRUE(RecordExists());
}

TEST_F(EngineRun, DeferredWorkIsRegisteredForTheRestartAlsoWhenAHandlerClearedTheReboot) {
  Load(Listener() + Object("TDeferringObject", "Deferring"));
  Engine->OnAfterInstallObjects = [this](TInstallContainer*, bool) { Engine->SetEngineReboot(false); };
  Run();
  EXPECT_EQ(gReboots, 0);
  EXPECT_FALSE(EngineLog().Contains("code -987")) << "no reboot page";
  EXPECT_NE(RunOnceValue(HKEY_CURRENT_USER, "QuenlarkUnfinished"), "");
  // The run waits for the restart all the same: the continuation needs its record.
  EXPECT_FALSE(EngineLog().Contains("OnBeforeNotifyGoodInstall")) << "the continuation gives the notice";
  EXPECT_TRUE(RecordExists());
  EXPECT_EQ(Engine->ExitCode(), ecRestartPending);
}

// The language of a run that ends in a reboot is the continuation's language, the last
// one of the table too.
TEST_F(EngineRun, TheContinuationSpeaksTheLanguageSavedBeforeTheReboot) {
  Load(Listener() + Object("TDeferringObject", "Deferring") + "  object Translator: TTranslator\n  end\n");
  ASSERT_NE(GlobalTranslator(), nullptr);
  GlobalTranslator()->SetTranslateIntoLanguage(qlVietnamese);
  Run();
  ASSERT_EQ(gReboots, 1);
  GlobalTranslator()->SetTranslateIntoLanguage(qlGerman);
  Engine->FinishAfterReboot();
  EXPECT_EQ(GlobalTranslator()->TranslateIntoLanguage(), qlVietnamese);
}

TEST_F(EngineRun, APhaseShowsItsStatusOnceAndOnlyWithObjects) {
  Load(Listener() + Object("TLinkObject", "LinkA") + Object("TLinkObject", "LinkB"));
  Run();
  Lines statuses = Logged({"status", "install"});
  EXPECT_EQ(statuses, (Lines{"status Reading file information...", "status Installing shell links...", "install LinkA",
                             "install LinkB"}));
}

TEST_F(EngineRun, AShutdownRefusedKeepsTheProgramRunning) {
  Load(Listener());
  Engine->OnBeforeShutdown = [](TCustomInstall*, bool& QuitOut) { QuitOut = false; };
  Run();
  EXPECT_EQ(Engine->Terminations, 0);
  EXPECT_FALSE(Engine->Installing());
  EXPECT_TRUE(EngineLog().Contains("code -979"));
}

TEST_F(EngineRun, TheUserAbortQuestionFollowsItsHandler) {
  Load();
  EXPECT_TRUE(Engine->QueryUserAbort());
  Engine->OnUserAbort = [](TCustomInstall*, bool& QuitOut) { QuitOut = false; };
  EXPECT_FALSE(Engine->EngineQueryUserAbort());
}

TEST_F(EngineRun, OutsideARunTheHandlerOnlyShowsTheError) {
  Load(Listener());
  try {
    throw IEInstall("outside");
  } catch (...) {
    fw::Application->HandleException(Engine);
  }
  EXPECT_EQ(Engine->Errors, Lines{"outside"});
  EXPECT_FALSE(EngineLog().Contains("code -978"));
  EXPECT_EQ(Engine->Terminations, 0);
  EXPECT_EQ(Engine->ExitCode(), ecFailed) << "an error the user saw";
}

}  // namespace

namespace {


std::string RunFile(const std::string& Name, const std::string& Program, const std::string& Parameters) {
  return "  object " + Name + ": TInstallFile\n    Container = MainInstall\n    DestDir = '" + testsupport::ProgramFolder() +
         "'\n    DestName = '" + Program + "'\n    FileName = '" + Program +
         "'\n    RunAfterInstall = True\n    RunParameters = '" + Parameters + "'\n  end\n";
}

TEST_F(EngineRun, TheProgramsToRunStartWithTheirOwnParametersAndAFailureIsOnlyTold) {
  Load(RunFile("First", "launcher_probe.exe", "/one") + RunFile("Skipped", "launcher_probe.exe", "/skip") +
       RunFile("Missing", "no_such_program.exe", "") + RunFile("Second", "launcher_probe.exe", "/two \"x y\""));
  std::vector<std::string> asked;
  Engine->OnBeforeRunFile = [&](TCustomInstall*, TCustomInstallFile* File, bool& DefaultAction) {
    asked.push_back(File->Name());
    EXPECT_TRUE(DefaultAction);
    DefaultAction = File->Name() != "Skipped";
    SetEnvironmentVariableA("STAVREL_PROBE_OUT", (Scratch / (File->Name() + ".out")).c_str());
  };
  Engine->RunFilesAfterInstall();
  SetEnvironmentVariableA("STAVREL_PROBE_OUT", nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"First", "Skipped", "Missing", "Second"}));
  std::string program = testsupport::BesideProgram("launcher_probe.exe");
  program.insert(program.begin(), '"');
  program += '"';
  EXPECT_EQ(testsupport::ReadFile(Scratch / "First.out").substr(0, program.size() + 5), program + " /one");
  EXPECT_EQ(testsupport::ReadFile(Scratch / "Second.out").substr(0, program.size() + 11), program + " /two \"x y\"");
  EXPECT_FALSE(testsupport::FileExists(Scratch / "Skipped.out"));
  ASSERT_EQ(Engine->Messages.size(), 1u) << "the missing program is told";
  EXPECT_TRUE(Engine->Errors.empty());
}

// The message box the thread shows, once its texts and buttons are in place.
HWND WaitForMessageBox(DWORD Thread) {
  HWND box = testsupport::WaitForWindow({.ClassName = "#32770", .ThreadId = Thread}, 10000);
  testsupport::WaitUntil([&] { return testsupport::FindControl(box, {.Caption = "OK"}) != nullptr; });
  return box;
}

// With RunAutomatic the program ends after a good installation; a program that fails to
// start is told in a box that waits for the user.
TEST_F(EngineRun, AProgramThatFailsToStartAfterAGoodInstallIsToldUntilTheUserAnswers) {
  Load(RunFile("Missing", "no_such_program.exe", ""));
  Engine->AsTheProgramDoes = true;
  std::string key;
  Engine->FindInstallRecord(true, key);
  std::string told;
  const DWORD setupThread = GetCurrentThreadId();
  testsupport::TUserThread user([&] {
    HWND box = WaitForMessageBox(setupThread);
    told = testsupport::MessageBoxText(box);
    testsupport::Click(testsupport::RequireControl(box, {.Caption = "OK"}));
  });
  // The good end, as the continuation after a restart reaches it (nothing to install).
  try {
    Engine->FinishAfterReboot();
  } catch (...) {
    fw::Application->HandleException(Engine);
  }
  EXPECT_EQ(user.Failure(), "");
  EXPECT_THAT(told, ::testing::HasSubstr("no_such_program.exe"));
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_EQ(Engine->ExitCode(), ecSuccess) << "the installation itself is good";
  MSG quit;
  PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// The exit code is the run's own: an error told before the run, an error of a user's
// action on a page of the before-install wizard (told; the user goes on with the wizard)
// and an error told after the good end leave the good run's code at 0.
TEST_F(EngineRun, AGoodRunEndsWithSuccessWhateverErrorsWereToldBesideIt) {
  Load(Listener() + Object("TStepObject", "Step"));
  auto tell = [&](const char* Text) {
    try {
      throw IEInstall(Text);
    } catch (...) {
      fw::Application->HandleException(Engine);
    }
  };
  tell("before the run");
  EXPECT_EQ(Engine->ExitCode(), ecFailed) << "an error the user saw, and no run yet";

  // The destination page as the engine meets it: a window of the wizard whose Browse
  // button fails.
  std::string told;
  dynamic_cast<TListener&>(*Form->FindComponent("Listener")).OnCode = [&](int Code) {
    if (Code != icBeforeInstall) return;
    std::unique_ptr<fw::TForm, fw::TFreeDeleter> page(new fw::TForm(nullptr));
    page->InitFromText(
        "object Page: TForm\n  Caption = 'Choose Destination Location'\n"
        "  object BrowseBtn: TButton\n    Caption = '&Browse'\n  end\n"
        "  object NextBtn: TButton\n    Top = 40\n    Caption = 'Next >'\n  end\nend\n",
        "TFORM");
    dynamic_cast<fw::TButton&>(*page->FindComponent("BrowseBtn")).OnClick = [](fw::TObject*) {
      throw IEInstall("The folder browser cannot be opened");
    };
    dynamic_cast<fw::TButton&>(*page->FindComponent("NextBtn")).OnClick = [&](fw::TObject*) {
      page->SetModalResult(fw::mrOk);
    };
    Engine->AsTheProgramDoes = true;
    const DWORD setupThread = GetCurrentThreadId();
    testsupport::TUserThread user([&] {
      HWND wizard =
          testsupport::WaitForWindow({.Caption = "Choose Destination Location", .ThreadId = setupThread}, 10000);
      testsupport::Click(testsupport::RequireControl(wizard, {.Caption = "Browse"}));
      HWND box = WaitForMessageBox(setupThread);
      for (const auto& control : testsupport::ListControls(box))
        if (control.ClassName == "Static" && !control.Text.empty()) told = control.Text;
      testsupport::Click(testsupport::RequireControl(box, {.Caption = "OK"}));
      testsupport::Click(testsupport::RequireControl(wizard, {.Caption = "Next >"}));
    });
    page->ShowModal();
    Engine->AsTheProgramDoes = false;
    EXPECT_EQ(user.Failure(), "");
  };
  Run();
  EXPECT_THAT(told, ::testing::HasSubstr("The folder browser cannot be opened"));
  EXPECT_TRUE(EngineLog().Contains("install Step")) << "the user went on with the wizard";
  EXPECT_TRUE(EngineLog().Contains("OnBeforeNotifyGoodInstall"));
  EXPECT_FALSE(Engine->InstallAborted());
  EXPECT_EQ(Engine->ExitCode(), ecSuccess);

  tell("after the run");
  EXPECT_EQ(Engine->ExitCode(), ecSuccess) << "the run ended well";
}

// A failure that names a long path is shown in a box that fits the screen.
TEST_F(EngineRun, AnErrorBoxForALongPathFitsTheScreen) {
  Load(Listener());
  Engine->AsTheProgramDoes = true;
  const std::string path = "C:\\" + std::string(120, 'k') + "\\" + std::string(120, 'v') + "\\VX4.exe";
  const DWORD setupThread = GetCurrentThreadId();
  RECT box{};
  testsupport::TUserThread user([&] {
    HWND window = WaitForMessageBox(setupThread);
    GetWindowRect(window, &box);
    testsupport::Click(testsupport::RequireControl(window, {.Caption = "OK"}));
  });
  try {
    throw IEInstall("Cannot create the file %s", path);
  } catch (...) {
    fw::Application->HandleException(Engine);
  }
  EXPECT_EQ(user.Failure(), "");
  EXPECT_GE(box.left, 0);
  EXPECT_LE(box.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(box.right - box.left, 0);
}

// A real run: the program is installed from the setup's archive and then started.
TEST_F(EngineRun, AGoodRunStartsTheProgramsItInstalled) {
  Load(Listener() + "  object Program: TInstallFile\n    Container = MainInstall\n"
                    "    FileName = 'launcher_probe.exe'\n    DestName = 'launcher_probe.exe'\n    DestDir = '" +
       Scratch / "app" + "'\n    IncludeFromDir = '" + testsupport::ProgramFolder() +
       "'\n    ArchiveFileType = psContainerArchiveFile\n    RunAfterInstall = True\n    RunParameters = '/after'\n"
       "  end\n");
  Engine->Compress(46);  // the setup's archive, as a build makes it
  SetEnvironmentVariableA("STAVREL_PROBE_OUT", (Scratch / "after.out").c_str());
  Run();
  SetEnvironmentVariableA("STAVREL_PROBE_OUT", nullptr);
  EXPECT_TRUE(EngineLog().Contains("OnAfterNotifyGoodInstall"));
  ASSERT_TRUE(testsupport::WaitUntil([&] { return testsupport::FileExists(Scratch / "after.out"); }));
  EXPECT_NE(testsupport::ReadFile(Scratch / "after.out").find("/after"), std::string::npos);
}

// A file whose registration failed while files were installed is registered again once
// everything is in place; a failure then ends the run as a bad one.
TEST_F(EngineRun, AFailedRegistrationIsTriedAgainAfterTheInstallAndThenFailsTheRun) {
  Load(Listener() + "  object Server: TInstallFile\n    Container = MainInstall\n    Include = False\n"
                    "    FileName = 'launcher_probe.exe'\n    DestName = 'server.dll'\n    DestDir = '" +
       Scratch / "app" + "'\n    IncludeFromDir = '" + testsupport::ProgramFolder() +
       "'\n    ArchiveFileType = psContainerArchiveFile\n  end\n");
  Engine->Compress(46);
  auto* server = dynamic_cast<TCustomInstallFile*>(Form->FindComponent("Server"));
  Engine->OnBeforeInstallObjects = [server](TInstallContainer*) { FailedRegistrationFiles()->Add(server); };
  Run();
  EXPECT_EQ(Engine->Errors, Lines{"Cannot compress,copy, or install the following file because it's destination "
                                  "directory is blank. File is :Server"});
  EXPECT_TRUE(EngineLog().Contains("OnAfterInstallObjects"));
  EXPECT_FALSE(EngineLog().Contains("OnBeforeNotifyGoodInstall"));
}

// After a restart nothing is installed in the run: a program of a folder for other
// systems, never installed here, is not started (nor told as missing).
TEST_F(EngineRun, AProgramOfAFolderForOtherSystemsIsNotStarted) {
  std::string file = RunFile("Elsewhere", "launcher_probe.exe", "/elsewhere");
  file.replace(file.find("Container = MainInstall"), 23, "Container = OldSystems");
  Load(
      "  object OldSystems: TInstallDirectory\n    Container = MainInstall\n    OS = [oswin95, oswin98, oswinME]\n"
      "  end\n" +
      file + RunFile("Here", "launcher_probe.exe", "/here"));
  std::vector<std::string> started;
  Engine->OnBeforeRunFile = [&](TCustomInstall*, TCustomInstallFile* File, bool&) {
    started.push_back(File->Name());
    SetEnvironmentVariableA("STAVREL_PROBE_OUT", (Scratch / (File->Name() + ".out")).c_str());
  };
  Engine->RunFilesAfterInstall();
  SetEnvironmentVariableA("STAVREL_PROBE_OUT", nullptr);
  EXPECT_EQ(started, std::vector<std::string>{"Here"});
  EXPECT_FALSE(testsupport::FileExists(Scratch / "Elsewhere.out"));
  EXPECT_TRUE(Engine->Messages.empty());
}

}  // namespace
