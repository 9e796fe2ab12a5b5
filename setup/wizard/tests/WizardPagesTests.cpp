// The setup's pages with the English table, driven as a user meets them; every page is
// saved as a picture.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Files.h"
#include "Screenshot.h"
#include "WizardTestSupport.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/ShellLinks.h"
#include "paths/ContainerDestDir.h"
#include "paths/PathSpecifier.h"
#include "paths/StandardSpecifiers.h"
#include "support/Errors.h"
#include "support/Language.h"
#include "support/OSVersion.h"
#include "support/Translator.h"
#include "wizard/ClientProbe.h"
#include "wizard/DestinationPage.h"
#include "wizard/FolderPage.h"
#include "wizard/TextFilePages.h"

namespace setup::testing {
namespace {

using testsupport::TUserThread;

std::string StandInClient() {
  return ProgramFolder() + "CALWIN32.DLL";
}

// Where a control sits in the wizard's client area.
RECT ClientPlace(HWND Wizard, HWND Control) {
  RECT r{};
  GetWindowRect(Control, &r);
  MapWindowPoints(nullptr, Wizard, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    translator = new TTranslator(config.Owner());
    translator->FindLanguage(qlEnglish)->Strings().LoadFromFile(ENGLISH_STRINGS_FILE);
    translator->SetTranslateIntoLanguage(qlEnglish);
    ResetClient32Probe(StandInClient());
  }
  void TearDown() override { ResetClient32Probe(); }

  // Runs the manager's wizard while Script plays the user; true when it was cancelled.
  bool Run(TDialogManager* Manager, std::function<void()> Script) {
    TUserThread user(WizardScript(std::move(Script)));
    bool aborted = false;
    try {
      Manager->Execute();
    } catch (const EAIUserAbort&) {
      aborted = true;
    }
    EXPECT_EQ(user.Failure(), "");
    return aborted;
  }
  static void ClickVisible(HWND Wizard, const std::string& Caption) {
    testsupport::Click(WaitForVisibleControl(Wizard, {.Caption = Caption}));
  }
  static void WaitForCaption(HWND Wizard, const std::string& Caption) {
    if (!testsupport::WaitUntil([&] { return testsupport::ControlText(Wizard) == Caption; }))
      throw testsupport::EUiDriver("the wizard did not show \"" + Caption + "\"");
  }

  TWizardConfiguration config;
  TTranslator* translator = nullptr;
  TScratchTextFile licence{ProgramFolder() + "Licence.ENG", "LICENCE AGREEMENT\r\n\r\nThe licence's own words.\r\n"};
  TScratchTextFile readme{ProgramFolder() + "Readme.ENG", "README\r\n\r\nRead me first.\r\n"};
};

// --- the before-install wizard -------------------------------------------------------

TEST_F(PagesTest, BeforeInstallWizardWalksFromWelcomeToDestination) {
  TDialogManager* manager = config.AddManager(dmBeforeInstall, "BeforeInstall");
  config.Engine->SetDestDir("C:\\Program Files\\Kavel\\Stavrel");
  std::vector<std::string> seen;
  bool backOnWelcome = true;
  std::string welcome;
  std::string licenceCancel, licenceText;
  bool aborted = Run(manager, [&] {
    HWND wizard = WaitForWizard("Welcome");
    backOnWelcome = HasVisibleControl(wizard, {.Caption = "< Previous"});
    welcome = PageLabel(wizard, "Label1");
    testsupport::SaveWindowPng(wizard, "welcome");
    ClickVisible(wizard, "Next >");
    WaitForCaption(wizard, "Software license agreement");
    // GLID 104 ("Abort" in the form) reads "Cancel" with the English table.
    licenceCancel = testsupport::ControlText(WaitForVisibleControl(wizard, {.Caption = "Cancel"}));
    licenceText = testsupport::ControlText(WaitForVisibleControl(wizard, {.ClassName = "RichEdit20A"}));
    testsupport::SaveWindowPng(wizard, "licence");
    ClickVisible(wizard, "Next >");
    WaitForCaption(wizard, "Readme information");
    testsupport::SaveWindowPng(wizard, "readme");
    ClickVisible(wizard, "Next >");
    WaitForCaption(wizard, "Choose Destination Location");
    seen.push_back(testsupport::ControlText(WaitForVisibleControl(wizard, {.ClassName = "Edit"})));
    testsupport::SaveWindowPng(wizard, "destination");
    // Without a main link group the folder page is passed over: Next ends the wizard.
    ClickVisible(wizard, "Next >");
  });
  EXPECT_FALSE(aborted);
  EXPECT_FALSE(backOnWelcome);
  EXPECT_EQ(welcome, "This program will install the software on your computer.");
  EXPECT_EQ(licenceCancel, "Cancel");
  EXPECT_THAT(licenceText, ::testing::HasSubstr("The licence's own words."));
  EXPECT_THAT(seen, ::testing::ElementsAre("C:\\Program Files\\Kavel\\Stavrel"));
}

TEST_F(PagesTest, WithoutTheClientOnlyTheStopPageShowsAndEndsTheSetup) {
  ResetClient32Probe(ProgramFolder() + "no-such-client.dll");
  TDialogManager* manager = config.AddManager(dmBeforeInstall, "BeforeInstall");
  std::string text;
  bool aborted = Run(manager, [&] {
    HWND wizard = WaitForWizard("Novell Client32 missing");
    text = testsupport::ControlText(wizard);
    EXPECT_FALSE(HasVisibleControl(wizard, {.Caption = "Next >"}));
    EXPECT_EQ(PageLabel(wizard, "TranslateLabel2"), "Novell Client32 not found!");
    EXPECT_EQ(PageLabel(wizard, "TranslateLabel1"),
              "Program can't find Novell Client32. In order to use Stavrel you have to install latest version of "
              "Client software (v2.5 or newer).");
    testsupport::SaveWindowPng(wizard, "no-client");
    // Escape is no way out here: only the button ends the setup.
    testsupport::PressKey(WaitForVisibleControl(wizard, {.Caption = "Cancel"}), VK_ESCAPE);
    Sleep(300);
    ClickVisible(wizard, "Cancel");
  });
  EXPECT_TRUE(aborted);
  EXPECT_EQ(config.Engine->CancelQuestions, 0);
}

TEST(ClientProbe, AsksTheLibraryForItsEntry377AndKeepsOnlyTheAnswer) {
  EXPECT_TRUE(ProbeClient32(StandInClient()));
  EXPECT_FALSE(ProbeClient32(ProgramFolder() + "no-such-client.dll"));
  EXPECT_FALSE(ProbeClient32(ProgramFolder() + "wizard_client_noentry.dll"));
  EXPECT_FALSE(ProbeClient32(ProgramFolder() + "wizard_client_refuses.dll"));
  ResetClient32Probe(StandInClient());
  EXPECT_TRUE(IsClient32Installed());
  // The library is let go; the answer stays.
  EXPECT_EQ(GetModuleHandleA(StandInClient().c_str()), nullptr);
  EXPECT_TRUE(IsClient32Installed());
  ResetClient32Probe();
}

// --- licence and readme files --------------------------------------------------------

TEST_F(PagesTest, TextFilesFollowTheTargetLanguageAndFallBackToEnglish) {
  testsupport::TScratchFolder folder;
  std::string dir = folder.Path() + "\\";
  TScratchTextFile german(dir + "Licence.DE", "de"), english(dir + "Licence.ENG", "eng");
  translator->SetTranslateIntoLanguage(qlGerman);
  EXPECT_EQ(TextFileLanguageSuffix(), "DE");
  EXPECT_EQ(TextFilePath(dir, "Licence."), dir + "Licence.DE");
  translator->SetTranslateIntoLanguage(qlPolish);
  EXPECT_EQ(TextFileLanguageSuffix(), "PL");
  EXPECT_EQ(TextFilePath(dir, "Licence."), dir + "Licence.ENG");  // no Polish file
  translator->SetTranslateIntoLanguage(qlFrench);
  EXPECT_EQ(TextFileLanguageSuffix(), "ENG");
  EXPECT_EQ(TextFilePath(dir, "Readme."), dir + "Readme.ENG");
}

TEST_F(PagesTest, MissingEnglishTextFileStopsTheWizardWithTheFileError) {
  TDialogManager* manager = config.AddManager(dmBeforeInstall, "BeforeInstall");
  DeleteFileA(licence.Path().c_str());
  TUserThread user(WizardScript([&] {
    HWND wizard = WaitForWizard("Welcome");
    ClickVisible(wizard, "Next >");
  }));
  EXPECT_THROW(manager->Execute(), fw::Exception);
  user.Failure();
  EXPECT_EQ(CurrentDialogManager(), nullptr);
}

// --- destination ---------------------------------------------------------------------

// Each folder that cannot work is refused on the page with its reason, before anything
// is copied; the folders made to try one go again.
TEST_F(PagesTest, DestinationTakesTypedFoldersAndRefusesThoseThatCannotWork) {
  testsupport::TScratchFolder scratch;
  testsupport::WriteFile(scratch / "file", "a file where a folder would have to be");
  TDialogManager* manager = config.AddManager(dmBeforeInstall, "BeforeInstall");
  TCustomPathSpecifier* programFiles = StandardPathSpecifiers()->Find(TpsProgramFiles::StaticClass());
  config.Engine->SetDestDirType(programFiles);
  config.Engine->SetDestDir("\\Kavel");
  bool specifierKept = false;
  std::vector<std::string> told;
  const std::string longFolder = "C:\\" + std::string(257, 'k');
  bool aborted = Run(manager, [&] {
    HWND wizard = WaitForWizard("Welcome");
    for (const char* caption : {"Software license agreement", "Readme information", "Choose Destination Location"}) {
      ClickVisible(wizard, "Next >");
      WaitForCaption(wizard, caption);
    }
    HWND edit = WaitForVisibleControl(wizard, {.ClassName = "Edit"});
    specifierKept = config.Engine->DestDirType() == programFiles;
    for (const std::string& folder : {std::string("Kavel\\Stavrel"), std::string("C:\\Zaz?\xf3\\Stavrel"),
                                      std::string("C:\\apps\\con"), longFolder, scratch / "file\\Stavrel"}) {
      testsupport::SetEditText(edit, folder);
      ClickVisible(wizard, "Next >");
      HWND box = testsupport::WaitForWindow({.ClassName = "#32770", .Caption = "Choose Destination Location"});
      told.push_back(testsupport::MessageBoxText(box));
      testsupport::Click(testsupport::RequireControl(box, {.Caption = "OK"}));
      testsupport::WaitForWindowToGo(box);
    }
    testsupport::SetEditText(edit, scratch / "new\\Stavrel");
    ClickVisible(wizard, "Next >");
  });
  EXPECT_FALSE(aborted);
  EXPECT_TRUE(specifierKept);
  ASSERT_EQ(told.size(), 5u);
  EXPECT_EQ(told[0], TSelectDestinationForm::FolderRefusedText());
  EXPECT_THAT(told[1], ::testing::StartsWith("The folder's name holds \"?\""));
  EXPECT_THAT(told[2], ::testing::StartsWith("\"con\" is the name of a device"));
  EXPECT_THAT(told[3], ::testing::StartsWith("The folder's path is too long"));
  EXPECT_THAT(told[4], ::testing::StartsWith("The folder " + scratch / "file\\Stavrel" + " cannot be created.\n"));
  EXPECT_GT(told[4].size(), (scratch / "file\\Stavrel cannot be created.\n").size() + 11) << "with the reason";
  EXPECT_EQ(config.Engine->DestDirType(), nullptr);
  EXPECT_EQ(config.Engine->DestDir(), scratch / "new\\Stavrel");
  EXPECT_FALSE(testsupport::FolderExists(scratch / "new")) << "the folder made to try it went again";
}

// The length that counts is that of the product's deepest file below the typed folder:
// a folder short enough itself, but not for that file, is refused.
TEST_F(PagesTest, DestinationRefusesAFolderTooLongForTheProductsDeepestFile) {
  testsupport::TScratchFolder scratch;
  TDialogManager* manager = config.AddManager(dmBeforeInstall, "BeforeInstall");
  config.Engine->SetDestDir(scratch / "Kavel");
  TCustomPathSpecifier* containers = StandardPathSpecifiers()->Find(TpsContainerDestDir::StaticClass());
  auto* templates = new TInstallDirectory(config.Owner());
  templates->SetContainer(config.Engine);
  templates->SetDestDirType(containers);
  templates->SetDestDir("\\Templates\\Quarterly");
  auto* deepFile = new TInstallFile(config.Owner());
  deepFile->SetContainer(templates);
  deepFile->SetDestDirType(containers);
  deepFile->SetDestDir("");
  deepFile->SetFileName("Processor quarterly.kct");
  deepFile->SetDestName("Processor quarterly.kct");
  const std::string folder = "C:\\" + std::string(237, 'k');  // 240 characters, 44 more for the file
  std::string told;
  Run(manager, [&] {
    HWND wizard = WaitForWizard("Welcome");
    for (const char* caption : {"Software license agreement", "Readme information", "Choose Destination Location"}) {
      ClickVisible(wizard, "Next >");
      WaitForCaption(wizard, caption);
    }
    HWND edit = WaitForVisibleControl(wizard, {.ClassName = "Edit"});
    testsupport::SetEditText(edit, folder);
    ClickVisible(wizard, "Next >");
    HWND box = testsupport::WaitForWindow({.ClassName = "#32770", .Caption = "Choose Destination Location"});
    told = testsupport::MessageBoxText(box);
    testsupport::Click(testsupport::RequireControl(box, {.Caption = "OK"}));
    testsupport::WaitForWindowToGo(box);
    testsupport::SetEditText(edit, scratch / "Kavel");
    ClickVisible(wizard, "Next >");
  });
  EXPECT_THAT(told, ::testing::StartsWith("The folder's path is too long: the product's deepest file would have a "
                                          "path of 284 characters"));
  EXPECT_FALSE(testsupport::FolderExists(folder));
}

TEST(DestinationFolders, FullPathsAndTheFoldersMadeForTheBrowser) {
  EXPECT_TRUE(IsFullFolderPath("C:\\"));
  EXPECT_TRUE(IsFullFolderPath(" D:\\Apps\\Stavrel "));
  EXPECT_TRUE(IsFullFolderPath("\\\\server\\share\\apps"));
  EXPECT_FALSE(IsFullFolderPath(""));
  EXPECT_FALSE(IsFullFolderPath("   "));
  EXPECT_FALSE(IsFullFolderPath("C:"));
  EXPECT_FALSE(IsFullFolderPath("C:apps"));
  EXPECT_FALSE(IsFullFolderPath("apps\\stavrel"));
  EXPECT_FALSE(IsFullFolderPath("\\apps"));
  EXPECT_FALSE(IsFullFolderPath("\\\\server"));

  testsupport::TScratchFolder folder;
  std::string deepest = folder / "a\\b\\c";
  std::vector<std::string> made = CreateFolderChain(deepest);
  EXPECT_THAT(made, ::testing::ElementsAre(folder / "a", folder / "a\\b", deepest));
  // The user kept "a\b": "c" goes, "a" and "a\b" stay.
  RemoveFolderChain(made, folder / "a\\b");
  EXPECT_EQ(GetFileAttributesA(deepest.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((folder / "a\\b").c_str()), INVALID_FILE_ATTRIBUTES);
  // Nothing kept: every folder made goes, except one the user filled meanwhile.
  made = CreateFolderChain(deepest);
  EXPECT_THAT(made, ::testing::ElementsAre(deepest));
  made = {folder / "a", folder / "a\\b", deepest};
  {
    TScratchTextFile note(folder / "a\\note.txt", "x");
    RemoveFolderChain(made, "");
  }
  EXPECT_EQ(GetFileAttributesA((folder / "a\\b").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((folder / "a").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PagesTest, BrowseRemovesTheFolderItMadeWhenTheUserCancels) {
  testsupport::TScratchFolder folder;
  std::string missing = folder / "new\\Stavrel";
  TDialogManager* manager = config.AddManager(dmBeforeInstall, "BeforeInstall");
  config.Engine->SetDestDir(missing);
  bool existedWhileBrowsing = false;
  Run(manager, [&] {
    HWND wizard = WaitForWizard("Welcome");
    for (const char* caption : {"Software license agreement", "Readme information", "Choose Destination Location"}) {
      ClickVisible(wizard, "Next >");
      WaitForCaption(wizard, caption);
    }
    ClickVisible(wizard, "Browse");
    HWND browser = testsupport::WaitForWindow({.ClassName = "#32770"});
    existedWhileBrowsing = GetFileAttributesA(missing.c_str()) != INVALID_FILE_ATTRIBUTES;
    testsupport::SaveWindowPng(browser, "destination-browse");
    testsupport::Click(testsupport::RequireControl(browser, {.Caption = "Cancel"}));
    testsupport::WaitForWindowToGo(browser);
    ClickVisible(wizard, "Next >");
  });
  EXPECT_TRUE(existedWhileBrowsing);
  EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((folder / "new").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(config.Engine->DestDir(), missing);
}

// --- Start-menu folder ---------------------------------------------------------------

TEST_F(PagesTest, FolderPageEditsTheMainLinkGroupAndKeepsTheWholeTypedFolder) {
  TDialogManager* manager = config.AddManager(dmBeforeInstall, "BeforeInstall");
  config.Engine->SetDestDir("C:\\Program Files\\Kavel\\Stavrel");
  TCustomPathSpecifier* programs = StandardPathSpecifiers()->Find(TpsProgramMenu::StaticClass());
  ASSERT_NE(programs, nullptr);
  auto* group = new TMainLinkGroup(config.Owner());
  group->SetDestDirType(programs);
  group->SetDestDir("\\Kavel Stavrel");
  std::string probeFolder = programs->GetPath(nullptr) + "\\Wizard Probe Folder";
  CreateDirectoryA(probeFolder.c_str(), nullptr);
  std::string first, afterReturn;
  bool listed = false;
  RECT editPlace{}, listPlace{};
  bool aborted = Run(manager, [&] {
    HWND wizard = WaitForWizard("Welcome");
    for (const char* caption : {"Software license agreement", "Readme information", "Choose Destination Location",
                                "Select folder in start menu"}) {
      ClickVisible(wizard, "Next >");
      WaitForCaption(wizard, caption);
    }
    HWND edit = WaitForVisibleControl(wizard, {.ClassName = "Edit"});
    first = testsupport::ControlText(edit);
    HWND list = WaitForVisibleControl(wizard, {.ClassName = "ListBox"});
    listed = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                          reinterpret_cast<LPARAM>("Wizard Probe Folder")) >= 0;
    testsupport::SaveWindowPng(wizard, "start-menu-folder");
    // The boxes stand below their texts and spacers: 48 + 18 + 16 + 2 from the text's
    // top at 8, then 8 + 16 + 8 between the edit and the list.
    editPlace = ClientPlace(wizard, edit);
    listPlace = ClientPlace(wizard, list);
    testsupport::SetEditText(edit, "Kavel\\Tools");
    ClickVisible(wizard, "< Previous");
    WaitForCaption(wizard, "Choose Destination Location");
    ClickVisible(wizard, "Next >");
    WaitForCaption(wizard, "Select folder in start menu");
    afterReturn = testsupport::ControlText(edit);
    testsupport::ChooseListItem(list, "Wizard Probe Folder");
    ClickVisible(wizard, "Next >");
  });
  RemoveDirectoryA(probeFolder.c_str());
  EXPECT_FALSE(aborted);
  EXPECT_EQ(first, "Kavel Stavrel");
  EXPECT_TRUE(listed);
  EXPECT_EQ(afterReturn, "Kavel\\Tools");
  EXPECT_EQ(editPlace.top, 8 + 48 + 18 + 16 + 2);
  EXPECT_EQ(listPlace.top - editPlace.bottom, 8 + 16 + 8);
  EXPECT_EQ(group->DestDirType(), programs);
  EXPECT_EQ(group->DestDir(), "\\Wizard Probe Folder");
  group->Free();
}

TEST_F(PagesTest, StartMenuFoldersOfferedAreTheFoldersInProgramsOnly) {
  // "." and ".." would put the shortcuts beside or above the Programs folder.
  TCustomPathSpecifier* programs = StandardPathSpecifiers()->Find(TpsProgramMenu::StaticClass());
  ASSERT_NE(programs, nullptr);
  const std::string folder = programs->GetPath(nullptr) + "\\Folder List Probe";
  const std::string file = programs->GetPath(nullptr) + "\\Folder List Probe.lnk";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  TScratchTextFile link{file, "not a folder"};
  fw::TStringList list;
  list.Add("stale");
  ListProgramMenuFolders(list);
  RemoveDirectoryA(folder.c_str());
  const std::vector<std::string> names = list.ToVector();
  EXPECT_THAT(names, ::testing::Contains("Folder List Probe"));
  for (const char* offered : {".", "..", "Folder List Probe.lnk", "stale"})
    EXPECT_THAT(names, ::testing::Not(::testing::Contains(offered)));
}

TEST(FolderPage, ResizingPutsTheSpacersBackToTheirHeights) {
  TWizardConfiguration config;
  fw::TOwnedPtr<TSelectFolderForm> page(
      static_cast<TSelectFolderForm*>(CreateRegisteredForm(TSelectFolderForm::StaticClass(), nullptr)));
  page->Show();
  page->Label1->SetHeight(30);
  page->Label3->SetHeight(1);
  page->Label4->SetHeight(2);
  EXPECT_EQ(page->ProgramFolders->Top(), page->TopDescriptionLabel->Height() + 30);
  page->SetBounds(page->Left(), page->Top(), page->Width() + 10, page->Height());
  EXPECT_EQ(page->Label1->Height(), 18);
  EXPECT_EQ(page->Label3->Height(), 8);
  EXPECT_EQ(page->Label4->Height(), 8);
  EXPECT_EQ(page->ProgramFolders->Top(), page->TopDescriptionLabel->Height() + 18);
}

TEST(FolderList, OlderSystemsListNoFolders) {
  auto win31 = [](TWindowsVersion& Version) {
    Version = {0, 3, 10};
    return true;
  };
  TWindowsVersionQuery previous = SetWindowsVersionQuery(win31);
  fw::TStringList list;
  list.Add("stale");
  ListProgramMenuFolders(list);
  SetWindowsVersionQuery(previous);
  EXPECT_EQ(list.Count(), 0);
}

// --- the pages that end an installation ----------------------------------------------

TEST_F(PagesTest, GoodAndBadPagesOfferOnlyFinish) {
  for (auto [type, caption, label, text, picture] :
       {std::tuple{dmAfterGoodInstall, "Setup complete", "Label1",
                   "The software has been properly installed. You may start the software by clicking on the icon.",
                   "good-install"},
        std::tuple{dmAfterBadInstall, "Setup incomplete", "TopLabel",
                   "This software has not been properly installed and will not work correctly if you try to use it.",
                   "bad-install"}}) {
    TDialogManager* manager = config.AddManager(type, std::string("Manager") + picture[0]);
    bool aborted = Run(manager, [&] {
      HWND wizard = WaitForWizard(caption);
      EXPECT_EQ(PageLabel(wizard, label), text);
      EXPECT_FALSE(HasVisibleControl(wizard, {.Caption = "Next >"}));
      EXPECT_FALSE(HasVisibleControl(wizard, {.Caption = "< Previous"}));
      testsupport::SaveWindowPng(wizard, picture);
      ClickVisible(wizard, "Finish");
    });
    EXPECT_FALSE(aborted) << caption;
  }
}

TEST_F(PagesTest, RebootPagePreselectsTheEngineFlagAndTakesTheUsersChoice) {
  TDialogManager* manager = config.AddManager(dmReboot, "Reboot");
  bool noChecked = false;
  Run(manager, [&] {
    HWND wizard = WaitForWizard("Reboot windows");
    HWND no = WaitForVisibleControl(wizard, {.Caption = "No, I would not like to reboot windows"});
    noChecked = SendMessageA(no, BM_GETCHECK, 0, 0) == BST_CHECKED;
    testsupport::SaveWindowPng(wizard, "reboot");
    testsupport::ChooseRadioButton(WaitForVisibleControl(wizard, {.Caption = "Yes, I would like to reboot windows"}));
    ClickVisible(wizard, "Finish");
  });
  EXPECT_TRUE(noChecked);
  EXPECT_TRUE(config.Engine->Reboot);
  // Preselected "Yes" changes nothing by itself.
  bool yesChecked = false;
  Run(manager, [&] {
    HWND wizard = WaitForWizard("Reboot windows");
    HWND yes = WaitForVisibleControl(wizard, {.Caption = "Yes, I would like to reboot windows"});
    yesChecked = SendMessageA(yes, BM_GETCHECK, 0, 0) == BST_CHECKED;
    ClickVisible(wizard, "Finish");
  });
  EXPECT_TRUE(yesChecked);
  EXPECT_TRUE(config.Engine->Reboot);
}

}  // namespace
}  // namespace setup::testing
