// The wizard machinery: placement, page order, navigation and skip rules, cancel and
// close, the codes each manager type acts on, the progress windows and the disk change.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Screenshot.h"
// after windows.h
#include <commctrl.h>

#include "WizardTestSupport.h"
#include "archive/QnlkCompress.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "objects/StatusParameters.h"
#include "support/Errors.h"
#include "support/NetInstallLocation.h"
#include "wizard/BaseFormContainer.h"
#include "wizard/CopyFileForm.h"
#include "wizard/WizardPlacement.h"

namespace setup::testing {

// A change-disk form the tests register.
class TProbeChangeDiskForm : public TBaseChangeDiskForm {
  FW_CLASS(TProbeChangeDiskForm, TBaseChangeDiskForm)
 public:
  explicit TProbeChangeDiskForm(fw::TComponent* AOwner) : TBaseChangeDiskForm(AOwner) {
    SetDM(FindDialogManager(dmChangeDisk));
    ++Alive;
  }
  ~TProbeChangeDiskForm() override { --Alive; }
  static inline int Alive = 0;
};

const fw::TClass& TProbeChangeDiskForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TProbeChangeDiskForm>().Creatable();
  return cls;
}

void RegisterTestForms() {
  for (const fw::TClass* page : {&TProbePage1::StaticClass(), &TProbePage2::StaticClass(), &TProbePage3::StaticClass(),
                                 &TProbePage4::StaticClass(), &TProbePage5::StaticClass(), &TProbePage6::StaticClass()})
    RegisterBaseInstallForm(*page);
  RegisterChangeDiskForm(TProbeChangeDiskForm::StaticClass());
}

namespace {

using ::testing::ElementsAre;
using testsupport::TUserThread;

// --- placement -----------------------------------------------------------------------

TEST(WizardPlacement, RowsAndColumnsFollowThePositionWithHalvesToEven) {
  // Screen 1024 x 768, caption 20, window 478 x 395, offsets 7 and 9.
  auto at = [](TQuenlarkDialogPosition p, int w = 478, int h = 395) {
    TWindowPlace place = PlaceWindow(p, 7, 9, w, h, 1024, 768, 20);
    return std::pair{place.Left, place.Top};
  };
  EXPECT_EQ(at(qdpCenterLeft), std::pair(7, 186 + 9));    // (768 - 395) / 2 = 186.5 -> 186
  EXPECT_EQ(at(qdpCenter), std::pair(273 + 7, 186 + 9));  // (1024 - 478) / 2 = 273
  EXPECT_EQ(at(qdpCenterRight), std::pair(1024 - 478 - 7, 195));
  EXPECT_EQ(at(qdpBottomLeft), std::pair(7, 768 - 20 - 395 - 9));
  EXPECT_EQ(at(qdpBottomCenter), std::pair(280, 344));
  EXPECT_EQ(at(qdpBottomRight), std::pair(539, 344));
  EXPECT_EQ(at(qdpTopLeft), std::pair(7, 9));
  EXPECT_EQ(at(qdpTopCenter), std::pair(280, 9));
  EXPECT_EQ(at(qdpTopRight), std::pair(539, 9));
  // Ties: 272.5 goes down to 272, 273.5 up to 274; 186.5 down, 187.5 up.
  EXPECT_EQ(at(qdpCenter, 479, 393).first, 272 + 7);
  EXPECT_EQ(at(qdpCenter, 477, 393).first, 274 + 7);
  EXPECT_EQ(at(qdpCenter, 479, 393).second, 188 + 9);
  EXPECT_EQ(at(qdpCenter, 479, 395).second, 186 + 9);
}

// --- wizards of test pages -----------------------------------------------------------

class ProbeWizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gProbePages.clear();
    gProbeLog.clear();
    manager = config.AddManager(dmUninstall, "UninstallManager");
  }
  void TearDown() override {
    gProbePages.clear();
    gProbeLog.clear();
  }
  // Queues pages (name = order unless given) for the next wizard.
  void Queue(std::vector<TProbePageSpec> Pages) { gProbePages.assign(Pages.begin(), Pages.end()); }
  // Runs the wizard while Script plays the user; returns the user's failure.
  std::string Run(std::function<void()> Script, bool* Aborted = nullptr) {
    TUserThread user(WizardScript(std::move(Script)));
    try {
      manager->Execute();
    } catch (const EAIUserAbort&) {
      if (Aborted != nullptr) *Aborted = true;
    }
    return user.Failure();
  }

  TWizardConfiguration config;
  TDialogManager* manager = nullptr;
};

TEST_F(ProbeWizardTest, PagesShowInAscendingOrderAndNextPastTheLastEndsWithResultOne) {
  Queue({{30, false, "30"}, {5, false, "5"}, {60, false, "60"}, {0, false, "0"}, {45, false, "45"}, {20, false, "20"}});
  std::vector<std::string> captions;
  std::string failure = Run([&] {
    for (int i = 0; i < 6; ++i) {
      HWND wizard = testsupport::WaitForWindow({.ClassName = "TBaseFormContainer"});
      captions.push_back(testsupport::ControlText(wizard));
      HWND next = WaitForVisibleControl(wizard, {.Caption = "Next >"});
      testsupport::Click(next);
      if (i < 5) testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) != captions.back(); });
    }
  });
  EXPECT_EQ(failure, "");
  EXPECT_THAT(captions, ElementsAre("Probe 0", "Probe 5", "Probe 20", "Probe 30", "Probe 45", "Probe 60"));
  ASSERT_FALSE(gProbeLog.empty());
  EXPECT_EQ(gProbeLog.back(), "result 1");
}

TEST_F(ProbeWizardTest, EqualOrdersFollowTheExchangeSequence) {
  // 2a, 2b, 1: the 1 is exchanged with 2a, which so comes after 2b.
  Queue({{2, false, "2a"}, {2, false, "2b"}, {1, false, "1"}});
  std::vector<std::string> captions;
  std::string failure = Run([&] {
    for (int i = 0; i < 3; ++i) {
      HWND wizard = testsupport::WaitForWindow({.ClassName = "TBaseFormContainer"});
      captions.push_back(testsupport::ControlText(wizard));
      testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Next >"}));
      if (i < 2) testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) != captions.back(); });
    }
  });
  EXPECT_EQ(failure, "");
  EXPECT_THAT(captions, ElementsAre("Probe 1", "Probe 2b", "Probe 2a"));
}

TEST_F(ProbeWizardTest, SkippedPagesAreJumpedAndTheFirstShownPageHasNoBack) {
  Queue({{1, true, "A"}, {2, false, "B"}, {3, false, "C"}, {4, true, "D"}});
  bool backOnB = true, backOnC = false;
  std::string failure = Run([&] {
    HWND wizard = WaitForWizard("Probe B");
    backOnB = HasVisibleControl(wizard, {.Caption = "< Previous"});
    testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Next >"}));
    testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) == "Probe C"; });
    backOnC = HasVisibleControl(wizard, {.Caption = "< Previous"});
    testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "< Previous"}));
    testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) == "Probe B"; });
    testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Next >"}));
    testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) == "Probe C"; });
    // Every page after C is skipped: C is entered again, then the wizard ends.
    testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Next >"}));
  });
  EXPECT_EQ(failure, "");
  EXPECT_FALSE(backOnB);
  EXPECT_TRUE(backOnC);
  EXPECT_THAT(gProbeLog, ElementsAre("enter B", "leave B", "enter C", "leave C", "enter B", "leave B", "enter C",
                                     "enter C", "result 1"));
}

TEST_F(ProbeWizardTest, TabPickedByTheUserLeavesThePageAndShowsTheNearestShownOne) {
  Queue({{1, false, "A"}, {2, false, "B"}, {3, true, "C"}, {4, false, "D"}});
  std::string shownAfterClick;
  std::string failure = Run([&] {
    HWND wizard = WaitForWizard("Probe A");
    HWND tabs = testsupport::RequireControl(wizard, {.ClassName = "SysTabControl32"});
    // The hidden tabs still take a click on the tab of the skipped page C: the host
    // goes back to B, the nearest page before it that is shown.
    RECT r{};
    if (!SendMessageA(tabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r)))
      throw testsupport::EUiDriver("no tab rectangle");
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(tabs, WM_LBUTTONUP, 0, at);
    testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) != "Probe A"; });
    shownAfterClick = testsupport::ControlText(wizard);
    testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Next >"}));
    testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) == "Probe D"; });
    testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Next >"}));
  });
  EXPECT_EQ(failure, "");
  EXPECT_EQ(shownAfterClick, "Probe B");
  // A leaves once, through the tabs.
  EXPECT_THAT(gProbeLog, ElementsAre("enter A", "leave A", "enter B", "leave B", "enter D", "result 1"));
}

TEST_F(ProbeWizardTest, CloseBoxIsRefusedAndCancelAsksTheEngine) {
  Queue({{1, false, "A"}});
  bool stillThere = false;
  bool aborted = false;
  config.Engine->CancelAnswer = false;
  std::string failure = Run(
      [&] {
        HWND wizard = WaitForWizard("Probe A");
        testsupport::SaveWindowPng(wizard, "probe-wizard");
        // No close box: only the keyboard's close request reaches the window.
        if ((GetWindowLongA(wizard, GWL_STYLE) & WS_SYSMENU) != 0) throw testsupport::EUiDriver("a close box");
        testsupport::RequestClose(wizard);
        Sleep(200);
        // The engine says no: the wizard stays.
        testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Cancel"}));
        Sleep(200);
        stillThere = IsWindowVisible(wizard) != FALSE;
        config.Engine->CancelAnswer = true;
        testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Cancel"}));
      },
      &aborted);
  EXPECT_EQ(failure, "");
  EXPECT_TRUE(stillThere);
  EXPECT_TRUE(aborted);
  EXPECT_EQ(config.Engine->CancelQuestions, 2);
  EXPECT_EQ(gProbeLog.back(), "result 3");
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

TEST_F(ProbeWizardTest, EscapeAndEnterPressTheCancelAndDefaultButtons) {
  Queue({{1, false, "A"}, {2, false, "B"}});
  bool aborted = false;
  std::string failure = Run(
      [&] {
        HWND wizard = WaitForWizard("Probe A");
        testsupport::PressKey(WaitForVisibleControl(wizard, {.Caption = "Next >"}), VK_RETURN);
        testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) == "Probe B"; });
        testsupport::PressKey(WaitForVisibleControl(wizard, {.Caption = "Next >"}), VK_ESCAPE);
      },
      &aborted);
  EXPECT_EQ(failure, "");
  EXPECT_TRUE(aborted);
}

TEST_F(ProbeWizardTest, WizardWithNothingToShowEndsAtOnceAsSuccess) {
  // Every page skipped, then no page of this manager at all.
  Queue({{1, true, "A"}, {2, true, "B"}});
  EXPECT_NO_THROW(manager->Execute());
  EXPECT_EQ(testsupport::FindTopLevelWindow({.ClassName = "TBaseFormContainer"}), nullptr);
  gProbePages.clear();
  TDialogManager* lonely = config.AddManager(dmAfterBadInstall, "Lonely");
  lonely->SetContainer(nullptr);  // not the engine's: no page finds it
  EXPECT_NO_THROW(lonely->Execute());
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

TEST(WizardHost, RefusesToBuildPagesWithoutACurrentManager) {
  fw::TOwnedPtr<TBaseFormContainer> host(
      static_cast<TBaseFormContainer*>(CreateRegisteredForm(TBaseFormContainer::StaticClass(), nullptr)));
  EXPECT_THROW(
      {
        try {
          host->CreatePages();
        } catch (const fw::Exception& e) {
          EXPECT_STREQ(e.what(), "The current dialog manager is not defined");
          throw;
        }
      },
      fw::Exception);
}

// --- the codes each manager acts on --------------------------------------------------

class TRecordingManager : public TDialogManager {
  FW_CLASS(TRecordingManager, TDialogManager)
 public:
  using TDialogManager::TDialogManager;
  std::vector<std::string> Actions;
  void Execute() override { Actions.push_back("execute"); }
  void ShowChangeDisk(fw::TObject*) override { Actions.push_back("disk"); }
  void NotifyDuringCopyForms(TFileStatusParameter* F, TDownloadStatusParameter* D) override {
    Actions.push_back(F != nullptr ? "file" : D != nullptr ? "download" : "none");
  }
  void CloseDuringCopyForms() override { Actions.push_back("close"); }
};

}  // namespace

const fw::TClass& TRecordingManager::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TRecordingManager>().Creatable();
  return cls;
}

namespace {

TEST(DialogManagerCodes, EachTypeActsOnItsOwnCodesOnly) {
  TWizardConfiguration config;
  TFileStatusParameter file;
  TDownloadStatusParameter download;
  TInformationList disk;
  struct TSent {
    int Code;
    fw::TObject* PO;
  };
  const std::vector<TSent> codes{{-980, nullptr},   {-979, nullptr}, {-978, nullptr}, {-987, nullptr}, {-998, &file},
                                 {-988, &download}, {-996, nullptr}, {-993, &disk},   {-986, nullptr}, {-990, nullptr}};
  const std::vector<std::pair<TManagerType, std::vector<std::string>>> expected{
      {dmBeforeInstall, {"-980 execute"}},
      {dmAfterGoodInstall, {"-979 execute"}},
      {dmAfterBadInstall, {"-978 execute"}},
      {dmDuringCopyFiles, {"-998 file", "-988 download", "-996 close"}},
      {dmChangeDisk, {"-993 disk"}},
      {dmReboot, {"-987 execute"}},
      {dmUninstall, {}},
  };
  for (const auto& [type, actions] : expected) {
    auto* manager = static_cast<TRecordingManager*>(
        config.AddManager(type, "Manager" + std::to_string(static_cast<int>(type)), TRecordingManager::StaticClass()));
    std::vector<std::string> seen;
    for (const TSent& sent : codes) {
      manager->Actions.clear();
      manager->InformationEvent(config.Engine, sent.Code, sent.PO);
      for (const std::string& action : manager->Actions) seen.push_back(std::to_string(sent.Code) + " " + action);
    }
    EXPECT_EQ(seen, actions) << static_cast<int>(type);
  }
}

TEST(DialogManagerCodes, ProgressCodesCheckTheirParameter) {
  TWizardConfiguration config;
  TDialogManager* manager = config.AddManager(dmDuringCopyFiles, "CopyManager", TRecordingManager::StaticClass());
  TFileStatusParameter file;
  TDownloadStatusParameter download;
  auto message = [&](int code, fw::TObject* po) {
    try {
      manager->InformationEvent(config.Engine, code, po);
    } catch (const IException& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(-998, nullptr), "CopyManager got a nil PO parameter");
  EXPECT_EQ(message(-988, nullptr), "CopyManager got a nil PO parameter");
  EXPECT_EQ(message(-998, &download), "The PO object passed to CopyManager is not a TFileStatusParameter object");
  EXPECT_EQ(message(-988, &file), "The PO object passed to CopyManager is not a TDownloadStatusParameter object");
}

// --- progress windows ----------------------------------------------------------------

TEST(CopyProgress, ARunShowsOneWindowAndTheNextRunAFreshOne) {
  TWizardConfiguration config;
  TDialogManager* manager = config.AddManager(dmDuringCopyFiles, "CopyManager");
  TFileStatusParameter status;
  status.FileName = "VX4LIB.NLM";
  status.Percent = 40;
  status.TotalPercent = 10;
  config.Engine->BroadcastInformation(config.Engine, icFileStatus, &status);
  ASSERT_EQ(manager->DuringCopyForms().size(), 1u);
  auto* first = dynamic_cast<TCopyFileForm*>(manager->DuringCopyForms()[0]);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsWindowVisible(first->Handle()));
  status.FileName = "VX4CS.NLM";
  status.Percent = 75;
  status.TotalPercent = 30;
  config.Engine->BroadcastInformation(config.Engine, icFileStatus, &status);
  ASSERT_EQ(manager->DuringCopyForms().size(), 1u);
  EXPECT_EQ(manager->DuringCopyForms()[0], first);
  EXPECT_EQ(first->ProgressBar1->Position(), 75);
  EXPECT_EQ(first->ProgressBar2->Position(), 30);
  EXPECT_EQ(first->lblCopyingFile->Caption(), "VX4CS.NLM");
  EXPECT_FALSE(first->TransferBitmap->Visible());
  // The window sits in the bottom-right corner.
  RECT r;
  GetWindowRect(first->Handle(), &r);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN) - 20);
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN) - 60);
  testsupport::SaveWindowPng(first->Handle(), "copy-progress");
  EXPECT_EQ(GetWindowLongA(first->Handle(), GWL_STYLE) & WS_SYSMENU, 0);

  // A download moves only the file bar.
  TDownloadStatusParameter download(512, "TUVEK.NLM", 1024, 256);
  config.Engine->BroadcastInformation(config.Engine, icDownloadStatus, &download);
  EXPECT_EQ(first->ProgressBar1->Position(), 25);
  EXPECT_EQ(first->ProgressBar2->Position(), 30);
  EXPECT_TRUE(first->TransferBitmap->Visible());
  EXPECT_EQ(first->lblCopyingFile->Caption(), "TUVEK.NLM");
  testsupport::SaveWindowPng(first->Handle(), "copy-progress-download");
  // The next file's progress hides the transfer picture again.
  config.Engine->BroadcastInformation(config.Engine, icFileStatus, &status);
  EXPECT_FALSE(first->TransferBitmap->Visible());
  EXPECT_FALSE(first->UnZipImage->Picture().Empty());
  EXPECT_FALSE(first->TransferBitmap->Picture().Empty());

  config.Engine->BroadcastInformation(config.Engine, icOperationEnded, nullptr);
  EXPECT_TRUE(manager->DuringCopyForms().empty());
  EXPECT_FALSE(IsWindowVisible(first->Handle()));
  config.Engine->BroadcastInformation(config.Engine, icFileStatus, &status);
  ASSERT_EQ(manager->DuringCopyForms().size(), 1u);
  EXPECT_NE(manager->DuringCopyForms()[0], first);
  // A window freed by its owner leaves the manager's list.
  manager->DuringCopyForms()[0]->Free();
  EXPECT_TRUE(manager->DuringCopyForms().empty());
  first->Free();
}

// Progress comes with every block of every file: the window draws at once what changed and
// nothing else (drawing all of it each time cost the install most of its time).
TEST(CopyProgress, IsDrawnAtOnceWhereItChangedAndNotAgainWhereItDidNot) {
  TWizardConfiguration config;
  TDialogManager* manager = config.AddManager(dmDuringCopyFiles, "CopyManager");
  TFileStatusParameter status;
  status.FileName = "VX4LIB.NLM";
  status.Percent = 40;
  config.Engine->BroadcastInformation(config.Engine, icFileStatus, &status);
  auto* form = static_cast<TCopyFileForm*>(manager->DuringCopyForms().at(0));
  HWND window = form->Handle();
  UpdateWindow(window);
  static int paints = 0;
  static WNDPROC original = nullptr;
  original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND Window, UINT Message, WPARAM W, LPARAM L) -> LRESULT {
        if (Message == WM_PAINT) ++paints;
        return CallWindowProcA(original, Window, Message, W, L);
      })));
  const auto paintsFor = [&](const std::string& FileName, int Percent) {
    paints = 0;
    status.FileName = FileName;
    status.Percent = Percent;
    config.Engine->BroadcastInformation(config.Engine, icFileStatus, &status);
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "nothing is left to draw later";
    return paints;
  };
  EXPECT_EQ(paintsFor("VX4LIB.NLM", 40), 0) << "nothing changed";
  EXPECT_EQ(paintsFor("VX4LIB.NLM", 41), 0) << "the bar draws itself";
  EXPECT_EQ(form->ProgressBar1->Position(), 41);
  EXPECT_GE(paintsFor("VX4CS.NLM", 41), 1) << "the new name is drawn at once";
  EXPECT_EQ(form->lblCopyingFile->Caption(), "VX4CS.NLM");
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  manager->CloseDuringCopyForms();
  form->Free();
}

TEST(CopyProgress, CancelAsksAndThenStopsTheArchive) {
  TWizardConfiguration config;
  config.AddManager(dmDuringCopyFiles, "CopyManager");
  TFileStatusParameter status;
  config.Engine->BroadcastInformation(config.Engine, icFileStatus, &status);
  TDialogManager* manager = FindDialogManager(dmDuringCopyFiles);
  ASSERT_NE(manager, nullptr);
  auto* form = static_cast<TCopyFileForm*>(manager->DuringCopyForms().at(0));
  SharedArchive()->SetAbort(false);
  SetNetDownloadAbort(false);
  config.Engine->CancelAnswer = false;
  testsupport::Click(form->CancelBtn->Handle());
  EXPECT_FALSE(SharedArchive()->Abort());
  EXPECT_FALSE(NetDownloadAbort());
  EXPECT_EQ(form->ModalResult(), kCancelledResult);
  config.Engine->CancelAnswer = true;
  testsupport::Click(form->CancelBtn->Handle());
  EXPECT_TRUE(SharedArchive()->Abort());
  EXPECT_TRUE(NetDownloadAbort());
  EXPECT_EQ(config.Engine->CancelQuestions, 2);
  SharedArchive()->SetAbort(false);
  SetNetDownloadAbort(false);
  manager->CloseDuringCopyForms();
  form->Free();
}

// --- the disk change -----------------------------------------------------------------

TEST(ChangeDisk, ParametersAreCheckedAndTheFormGoesOnEveryPath) {
  TWizardConfiguration config;
  TDialogManager* manager = config.AddManager(dmChangeDisk, "DiskManager");
  auto* file = new TInstallFile(config.Owner());
  TDiskParameter disk;
  TMessageParameter other;
  auto failure = [&](fw::TObject* po) {
    try {
      manager->ShowChangeDisk(po);
    } catch (const fw::Exception& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  TInformationList shortList{file};
  TInformationList swapped{&disk, file};
  TInformationList wrongDisk{file, &other};
  EXPECT_EQ(failure(nullptr), "The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form");
  EXPECT_EQ(failure(&other), "TChangeDiskDlg--PO is not a TList object");
  EXPECT_EQ(failure(&shortList), "TChangeDiskDlg--Not engouh parameters for status event");
  EXPECT_EQ(failure(&swapped), "TChangeDiskDlg says bad first parameter");
  EXPECT_EQ(failure(&wrongDisk), "TChangeDiskDlg says bad second parameter");
  EXPECT_EQ(TProbeChangeDiskForm::Alive, 0);
  EXPECT_EQ(CurrentDialogManager(), nullptr);

  TInformationList good{file, &disk};
  {
    TUserThread user([] {
      HWND form = testsupport::WaitForWindow({.Caption = "Probe disk"});
      testsupport::Click(testsupport::RequireControl(form, {.Caption = "OK"}));
    });
    manager->ShowChangeDisk(&good);
    EXPECT_EQ(user.Failure(), "");
  }
  EXPECT_EQ(file->Tag(), 1);
  {
    TUserThread user([] {
      HWND form = testsupport::WaitForWindow({.Caption = "Probe disk"});
      testsupport::Click(testsupport::RequireControl(form, {.Caption = "Abort"}));
    });
    EXPECT_THROW(manager->ShowChangeDisk(&good), EAIUserAbort);
    EXPECT_EQ(user.Failure(), "");
  }
  EXPECT_EQ(TProbeChangeDiskForm::Alive, 0);
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

}  // namespace
}  // namespace setup::testing
