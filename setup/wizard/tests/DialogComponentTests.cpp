// Dialog components: their managers' lists, their own modal form placed by their
// position, and the settings they lend to the wizard page they are registered with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Screenshot.h"
#include "WizardTestSupport.h"
#include "objects/StatusParameters.h"
#include "support/Errors.h"
#include "wizard/BaseFormContainer.h"
#include "wizard/BaseInstallDlg.h"
#include "wizard/WelcomePage.h"

namespace setup::testing {

// A form that is shown through a dialog only: it belongs to no manager itself.
class TProbeDialogPage : public TWizardPage {
  FW_CLASS(TProbeDialogPage, TWizardPage)
 public:
  explicit TProbeDialogPage(fw::TComponent* AOwner) : TWizardPage(AOwner, dmUninstall, 0) { SetDM(nullptr); }
  fw::TButton* OkBtn = nullptr;
};

const fw::TClass& TProbeDialogPage::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TProbeDialogPage>().Creatable().Field("OkBtn", &TProbeDialogPage::OkBtn);
  return cls;
}

// A progress window that joins a copy run only while a test wants it.
class TProbeCopyForm : public TBaseDuringCopyForm {
  FW_CLASS(TProbeCopyForm, TBaseDuringCopyForm)
 public:
  explicit TProbeCopyForm(fw::TComponent* AOwner) : TBaseDuringCopyForm(AOwner) {
    if (Wanted) SetDM(FindDialogManager(dmDuringCopyFiles));
  }
  static inline bool Wanted = false;
};

const fw::TClass& TProbeCopyForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TProbeCopyForm>().Creatable();
  return cls;
}

class TProbeDialog : public TCustomBaseInstallDlg {
  FW_CLASS(TProbeDialog, TCustomBaseInstallDlg)
 public:
  using TCustomBaseInstallDlg::TCustomBaseInstallDlg;
  bool Showable = true;
  const fw::TClass& FormClass() const override { return TProbeDialogPage::StaticClass(); }
  bool CanShow() override { return Showable; }
};

const fw::TClass& TProbeDialog::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TProbeDialog>().Creatable();
  return cls;
}

namespace {

using ::testing::ElementsAre;
using testsupport::TUserThread;

std::string FailureOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const fw::Exception& e) {
    return e.what();
  }
  return "no error";
}

class DialogComponentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gProbePages.clear();
    gProbeLog.clear();
    manager = config.AddManager(dmUninstall, "UninstallManager");
    dialog = new TProbeDialog(config.Owner());
    dialog->SetName("ProbeDialog");
  }
  void TearDown() override {
    gProbePages.clear();
    gProbeLog.clear();
  }
  TWizardConfiguration config;
  TDialogManager* manager = nullptr;
  TProbeDialog* dialog = nullptr;
};

TEST_F(DialogComponentTest, ManagersListTheirDialogsUntilEitherGoes) {
  // A dialog hears the broadcast codes as the managers do.
  EXPECT_EQ(dialog->RegisteredType(), 9000);
  EXPECT_EQ(dialog->InstallTypes(), (TInstallTypeSet{itFull, itDefault, itCompact, itCustom}));
  ASSERT_NE(UserInterfaceFormEntries(), nullptr);
  EXPECT_TRUE(UserInterfaceFormEntries()->empty());

  EXPECT_EQ(FailureOf([&] { manager->AddDialog(nullptr); }),
            "Cannot add a NIL Dialog to the Dialog Manager UninstallManager");
  TDialogManager* other = config.AddManager(dmBeforeInstall, "OtherManager");
  dialog->SetDialogManager(manager);
  EXPECT_THAT(manager->Dialogs(), ElementsAre(dialog));
  dialog->SetDialogManager(other);
  EXPECT_TRUE(manager->Dialogs().empty());
  EXPECT_THAT(other->Dialogs(), ElementsAre(dialog));
  manager->RemoveDialog(dialog);  // not listed there: nothing happens
  EXPECT_THAT(other->Dialogs(), ElementsAre(dialog));

  auto* second = new TProbeDialog(config.Owner());
  second->SetDialogManager(other);
  dialog->Free();
  EXPECT_THAT(other->Dialogs(), ElementsAre(second));
  other->Free();
  EXPECT_EQ(second->DialogManager(), nullptr);
  second->Free();

  // Placed in a designer, a new dialog belongs to the program's engine.
  fw::TOwnedPtr<fw::TForm> designed(new fw::TForm(nullptr));
  designed->SetDesigning(true);
  auto* placed = new TProbeDialog(designed.get());
  EXPECT_EQ(placed->Container(), config.Engine);
}

TEST_F(DialogComponentTest, PagesTakeTheEnginesPictureUnlessTheyHaveTheirOwn) {
  auto picture = [](const fw::TClass& Class) {
    fw::TOwnedPtr<fw::TCustomForm> page(CreateRegisteredForm(Class, nullptr));
    fw::TPicture& shown = static_cast<TWizardPage*>(page.get())->ThemeBitmap->Picture();
    return std::pair{shown.Width(), shown.Height()};
  };
  EXPECT_EQ(picture(TWelcomeForm::StaticClass()), std::pair(117, 290));
  EXPECT_EQ(picture(TProbeDialogPage::StaticClass()), std::pair(32, 32));
  config.Engine->ThemeBitmap.SetGraphic(nullptr);
  EXPECT_EQ(picture(TWelcomeForm::StaticClass()), std::pair(0, 0));
}

TEST_F(DialogComponentTest, ShowsItsOwnFormWhereItsPositionSays) {
  dialog->Position = qdpTopLeft;
  dialog->LeftOffset = 10;
  dialog->TopOffset = 20;
  dialog->Width = 480;
  dialog->Height = 390;
  std::vector<std::string> log;
  dialog->OnBeforeShow = [&](fw::TObject*) { log.push_back("before"); };
  dialog->OnAfterShow = [&](fw::TObject*) { log.push_back("after " + std::to_string(dialog->Form() == nullptr)); };
  RECT placed{};
  {
    TUserThread user([&] {
      HWND form = testsupport::WaitForWindow({.Caption = "Probe dialog"});
      GetWindowRect(form, &placed);
      testsupport::SaveWindowPng(form, "probe-dialog");
      testsupport::Click(testsupport::RequireControl(form, {.Caption = "OK"}));
    });
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(user.Failure(), "");
  }
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 20);
  EXPECT_EQ(placed.right - placed.left, 480);
  EXPECT_EQ(placed.bottom - placed.top, 390);
  EXPECT_THAT(log, ElementsAre("before", "after 1"));

  // Cancel (the engine agrees) is the user's abort; the after-show notification stays
  // silent.
  log.clear();
  {
    TUserThread user([&] {
      HWND form = testsupport::WaitForWindow({.Caption = "Probe dialog"});
      testsupport::Click(testsupport::RequireControl(form, {.Caption = "Cancel"}));
    });
    EXPECT_THROW(dialog->Execute(), EAIUserAbort);
    EXPECT_EQ(user.Failure(), "");
  }
  EXPECT_THAT(log, ElementsAre("before"));
  EXPECT_EQ(dialog->Form(), nullptr);

  // An abort from a notification is a plain "no"; a dialog that cannot show says yes.
  dialog->OnBeforeShow = [](fw::TObject*) { throw fw::EAbort("stop"); };
  EXPECT_FALSE(dialog->Execute());
  dialog->OnBeforeShow = nullptr;
  dialog->OnAfterShow = nullptr;
  dialog->Showable = false;
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(FailureOf([&] { dialog->AssignDialogProperties(); }),
            "Cannot AssignDialogProperties for ProbeDialog because the Dialog is Nil");
}

TEST_F(DialogComponentTest, LendsItsSettingsToItsPageInTheWizard) {
  RegisterBaseInstallForm(TProbeDialogPage::StaticClass(), dialog);
  dialog->SetDialogManager(manager);
  dialog->SetContainer(config.Engine);
  dialog->PageOrder = 3;
  dialog->TranslateTexts = false;
  dialog->UseOwnLanguage = true;
  dialog->OwnLanguage = 7;
  auto run = [&](std::vector<std::string> Expected) {
    std::vector<std::string> captions;
    TUserThread user(WizardScript([&] {
      for (size_t i = 0; i < Expected.size(); ++i) {
        HWND wizard = testsupport::WaitForWindow({.ClassName = "TBaseFormContainer"});
        captions.push_back(testsupport::ControlText(wizard));
        if (captions.back() == "Probe dialog") {
          auto* page = dynamic_cast<TProbeDialogPage*>(dialog->Form());
          if (page == nullptr || page->DC() != dialog || page->Container() != config.Engine || page->Order() != 3 ||
              page->TranslateTexts || !page->UseOwnLanguage || page->OwnLanguage != 7)
            captions.back() += " without the dialog's settings";
        }
        testsupport::Click(WaitForVisibleControl(wizard, {.Caption = "Next >"}));
        if (i + 1 < Expected.size())
          testsupport::WaitUntil([&] { return testsupport::ControlText(wizard) != captions.back(); });
      }
    }));
    gProbePages.assign({{1, false, "1"}, {5, false, "5"}});
    manager->Execute();
    EXPECT_EQ(user.Failure(), "");
    EXPECT_EQ(captions, Expected);
  };
  run({"Probe 1", "Probe dialog", "Probe 5"});
  EXPECT_EQ(dialog->Form(), nullptr);
  // Not shown when it cannot show or belongs to another manager; nor once it is gone.
  dialog->Showable = false;
  run({"Probe 1", "Probe 5"});
  dialog->Showable = true;
  dialog->SetDialogManager(config.AddManager(dmReboot, "RebootManager"));
  run({"Probe 1", "Probe 5"});
  dialog->Free();
  run({"Probe 1", "Probe 5"});
}

TEST_F(DialogComponentTest, PlacesTheProgressWindowItIsRegisteredWith) {
  TDialogManager* copies = config.AddManager(dmDuringCopyFiles, "CopyManager");
  RegisterDuringCopyForm(TProbeCopyForm::StaticClass(), dialog);
  TProbeCopyForm::Wanted = true;
  dialog->Position = qdpBottomRight;
  dialog->LeftOffset = 5;
  dialog->TopOffset = 6;
  dialog->Width = 250;
  dialog->Height = 120;
  TFileStatusParameter status;
  copies->NotifyDuringCopyForms(&status, nullptr);
  TProbeCopyForm::Wanted = false;
  ASSERT_EQ(copies->DuringCopyForms().size(), 2u);
  auto* form = dynamic_cast<TProbeCopyForm*>(dialog->Form());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(copies->DuringCopyForms()[1], form);
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - 250 - 5);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYCAPTION) - 120 - 6);
  std::vector<TBaseDuringCopyForm*> windows = copies->DuringCopyForms();
  copies->CloseDuringCopyForms();
  for (TBaseDuringCopyForm* window : windows) window->Free();
  EXPECT_EQ(dialog->Form(), nullptr);
}

}  // namespace
}  // namespace setup::testing
