// The main form's handlers: what they make of the configuration per target language and
// per machine.
#include <gtest/gtest.h>
#include <windows.h>

#include "LoadedMain.h"
#include "support/OSVersion.h"

namespace setup::testing {
namespace {

// The machine the handlers see: its reported version and what the probes answer.
TWindowsVersion gVersion;
bool gVersionReadable = true;
bool gShFolderPresent = false;
uint32_t gCommonControls = (5u << 16) + 81u;

bool InjectedVersion(TWindowsVersion& Version) {
  Version = gVersion;
  return gVersionReadable;
}

class Handlers : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = LoadMain();
    Form->Probes = {[] { return gShFolderPresent; }, [] { return gCommonControls; }};
    FPrevious = SetWindowsVersionQuery(InjectedVersion);
    gVersionReadable = true;
    SetLanguage(qlEnglish);
  }
  void TearDown() override {
    SetWindowsVersionQuery(FPrevious);
    Form.reset();
  }
  void SetLanguage(TQnlkLanguage Language) { Form->MainTranslator->SetTranslateIntoLanguage(Language); }
  // The engine's event, as the engine fires it once initialized.
  void Initialized(TWindowsVersion Version, bool ShFolder, uint32_t CommonControls) {
    gVersion = Version;
    gShFolderPresent = ShFolder;
    gCommonControls = CommonControls;
    Form->MainInstall->OnAfterInitialized(Form->MainInstall);
  }
  static void BeforeProcess(TInstallMainLink* Link) { Link->OnBeforeProcess(Link); }
  // Each locale entry as the registry object hands it over before writing it.
  std::vector<std::string> WrittenLocales() {
    TInstallRegistry& registry = *Form->InstallRegistry;
    std::vector<std::string> out;
    for (int i = 0; i < registry.Entries()->Count(); ++i) {
      TRegistryEntry* entry = registry.Entries()->Entry(i);
      bool proceed = true;
      registry.OnBeforeWriteEntry(&registry, entry, proceed);
      EXPECT_TRUE(proceed);
      out.push_back(entry->Ident() + "=" + entry->GetExpandedText());
    }
    return out;
  }
  TLoadedMain Form;

 private:
  TWindowsVersionQuery FPrevious = nullptr;
};

constexpr TWindowsVersion kWin95{1, 4, 0}, kWin98{1, 4, 10}, kWinME{1, 4, 90}, kNT4{2, 4, 0}, kWin2K{2, 5, 0},
    kWinXP{2, 5, 1}, kVista{2, 6, 0};
constexpr uint32_t k470 = (4u << 16) + 70u, k471 = (4u << 16) + 71u, k580 = (5u << 16) + 80u;

TEST_F(Handlers, TheShellFolderInstallerRunsOnlyWhereWindowsLacksTheLibrary) {
  struct TCase {
    TWindowsVersion Version;
    bool ShFolder;
    bool Runs;
  };
  const TCase cases[] = {{kWin2K, false, false}, {kWinXP, false, false}, {kVista, false, false}, {kWin95, false, true},
                         {kWin98, false, true},  {kWinME, false, true},  {kWin95, true, false},  {kWin98, true, false},
                         {kWinME, true, false},  {kNT4, false, true},    {kNT4, true, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Version.Platform << " " << c.Version.Major << "." << c.Version.Minor
                                      << (c.ShFolder ? " with" : " without") << " SHFOLDER.DLL");
    Form->ShFolderInstallFile->SetRunAfterInstall(true);
    Initialized(c.Version, c.ShFolder, k580);
    EXPECT_EQ(Form->ShFolderInstallFile->RunAfterInstall(), c.Runs);
    // Copied in every case.
    EXPECT_TRUE(Form->ShFolderInstallFile->Include());
  }
}

TEST_F(Handlers, AnUnreadableVersionLeavesTheAnswerToTheLibraryProbe) {
  gVersionReadable = false;
  Initialized(kWinXP, false, k580);
  EXPECT_TRUE(Form->ShFolderInstallFile->RunAfterInstall());
  Initialized(kWinXP, true, k580);
  EXPECT_FALSE(Form->ShFolderInstallFile->RunAfterInstall());
}

TEST_F(Handlers, TheCommonControlsUpdateComesOnlyWithALibraryOlderThan471) {
  Initialized(kWin95, false, k470);
  EXPECT_TRUE(Form->InstallCommUpdate->Include());
  EXPECT_EQ(Form->InstallCommUpdate->RunParameters(), "/Q");
  EXPECT_TRUE(Form->InstallCommUpdate->RunAfterInstall());
  Initialized(kWin95, false, k471);
  EXPECT_FALSE(Form->InstallCommUpdate->Include());
  Initialized(kWinXP, false, k580);
  EXPECT_FALSE(Form->InstallCommUpdate->Include());
  Initialized(kWinXP, false, 4u << 16);
  EXPECT_TRUE(Form->InstallCommUpdate->Include());
}

TEST_F(Handlers, PolishNamesTheUninstallShortcutAndPointsTheWebShortcutAtThePolishSite) {
  SetLanguage(qlPolish);
  BeforeProcess(Form->UnInstallLink);
  BeforeProcess(Form->UrlLink);
  // The shortcut keeps its file's extension.
  EXPECT_EQ(Form->UnInstallLink->LinkName(), "Usu\xF1.LNK");
  EXPECT_EQ(Form->UrlLink->LinkName(), "pl.example.com.URL");
  EXPECT_EQ(Form->UrlLink->ObjectLocation(), "http://pl.example.com/");
}

TEST_F(Handlers, OtherLanguagesKeepTheUninstallNameAndLeadToTheInternationalSite) {
  for (TQnlkLanguage language : {qlEnglish, qlGerman, qlCzech}) {
    SetLanguage(qlPolish);
    BeforeProcess(Form->UrlLink);
    SetLanguage(language);
    BeforeProcess(Form->UnInstallLink);
    BeforeProcess(Form->UrlLink);
    EXPECT_EQ(Form->UnInstallLink->LinkName(), "Uninstall.LNK");
    EXPECT_EQ(Form->UrlLink->LinkName(), "www.example.com.URL");
    EXPECT_EQ(Form->UrlLink->ObjectLocation(), "http://www.example.com/");
  }
}

TEST_F(Handlers, EnglishPutsTheEnglishHelpAndReadmeBehindTheirShortcuts) {
  Form->HelpLink->SetObjectLink(nullptr);
  Form->HelpLink->SetLinkName("Pomoc.LNK");
  Form->ReadmeLink->SetObjectLink(nullptr);
  SetLanguage(qlGerman);
  BeforeProcess(Form->HelpLink);
  BeforeProcess(Form->ReadmeLink);
  EXPECT_EQ(Form->HelpLink->ObjectLink(), nullptr);
  EXPECT_EQ(Form->HelpLink->LinkName(), "Pomoc.LNK");
  EXPECT_EQ(Form->ReadmeLink->ObjectLink(), nullptr);
  SetLanguage(qlEnglish);
  BeforeProcess(Form->HelpLink);
  BeforeProcess(Form->ReadmeLink);
  EXPECT_EQ(Form->HelpLink->ObjectLink(), Form->Help_US);
  EXPECT_EQ(Form->HelpLink->LinkName(), "Help.LNK");
  EXPECT_EQ(Form->ReadmeLink->ObjectLink(), Form->ReadMe_US);
}

TEST_F(Handlers, LocaleValuesAreNamedByTheInstalledProgramsAndSayTheLanguage) {
  const std::string folder = Form->MainInstall->GetFullDestDir();
  SetLanguage(qlGerman);
  EXPECT_EQ(WrittenLocales(), (std::vector<std::string>{folder + "\\VXRCON.EXE=DE", folder + "\\VX4TSK.EXE=DE",
                                                        folder + "\\VX4.EXE=DE"}));
  SetLanguage(qlPolish);
  EXPECT_EQ(WrittenLocales()[2], folder + "\\VX4.EXE=PL");
  SetLanguage(qlEnglish);
  EXPECT_EQ(WrittenLocales(),
            (std::vector<std::string>{folder + "\\VXRCON.EXE=", folder + "\\VX4TSK.EXE=", folder + "\\VX4.EXE="}));
}

TEST_F(Handlers, ALocaleEntryWrittenTwiceKeepsOnePath) {
  const std::string folder = Form->MainInstall->GetFullDestDir();
  WrittenLocales();
  EXPECT_EQ(WrittenLocales()[1], folder + "\\VX4TSK.EXE=");
  // A language without a value of its own leaves the value as it was.
  SetLanguage(qlFrench);
  EXPECT_EQ(WrittenLocales()[0], folder + "\\VXRCON.EXE=");
}

TEST_F(Handlers, TheMachineProbesAnswerUnderThisWindows) {
  // The real probes: Windows (and Wine) has the shell-folder library and a common-controls
  // library of 4.71 or later.
  UINT before = SetErrorMode(SEM_FAILCRITICALERRORS);
  EXPECT_TRUE(IsShFolderDllPresent());
  EXPECT_EQ(SetErrorMode(before), static_cast<UINT>(SEM_FAILCRITICALERRORS)) << "the error mode is restored";
  EXPECT_GE(CommonControlsVersion(), kCommonControlsWithoutUpdate);
}

}  // namespace
}  // namespace setup::testing
