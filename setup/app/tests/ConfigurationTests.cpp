// The configuration as the setup program loads it: the tree, its stored values and the
// sample build folder it takes the files from.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>

#include "LoadedMain.h"
#include "engine/BuildInfo.h"
#include "objects/InstallGroups.h"
#include "objects/UninstallEXE.h"
#include "paths/FileContainerSpecifier.h"
#include "paths/PathSpecifier.h"
#include "support/InstallInformation.h"
#include "support/Language.h"
#include "support/LoginInformation.h"
#include "wizard/DialogManager.h"

namespace setup::testing {
namespace {

const OSSet kAllSystems{oswin95, oswinNT, oswin2K, oswin98, oswinME, oswinXP};
const TInstallTypeSet kAllTypes{itFull, itDefault, itCompact};

class Configuration : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Form = LoadMain().release(); }
  static void TearDownTestSuite() {
    if (Form != nullptr) Form->Free();
    Form = nullptr;
  }
  void SetUp() override { ASSERT_NE(Form, nullptr) << "the configuration did not load"; }
  template <class T>
  static T& Get(const std::string& Name) {
    return Part<T>(*Form, Name);
  }
  template <class T>
  static std::vector<T*> All() {
    std::vector<T*> found;
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* item = dynamic_cast<T*>(Form->Components(i))) found.push_back(item);
    return found;
  }
  static TMain* Form;
};
TMain* Configuration::Form = nullptr;

TEST_F(Configuration, TheEngineKeepsTheProductsValues) {
  TInstall& engine = *Form->MainInstall;
  EXPECT_EQ(&Get<TInstall>("MainInstall"), &engine);
  EXPECT_EQ(engine.DestDir(), "\\Kavel\\Stavrel 4");
  EXPECT_EQ(engine.DestDirType(), &Get<TCustomPathSpecifier>("psProgramFiles"));
  EXPECT_EQ(engine.DialogThemeBitmap()->Width(), 117);
  EXPECT_EQ(engine.DialogThemeBitmap()->Height(), 290);
  EXPECT_FALSE(engine.HideMainForm());
  EXPECT_FALSE(engine.Reboot());
  EXPECT_TRUE(engine.UseLoadingProgram());
  EXPECT_EQ(engine.Information()->CompanyName(), "Kavel Software");
  EXPECT_EQ(engine.Information()->ProductName(), "Kavel Stavrel");
  EXPECT_EQ(engine.Information()->Version(), "4.00");
  const TControlPanelExtensionInformation& extended = *engine.ExtendedInformation();
  EXPECT_EQ(extended.Contact(), "Kavel Software");
  EXPECT_EQ(extended.DisplayIcon(), &Get<TInstallFile>("InstallFile61"));
  EXPECT_EQ(extended.ProductID(), "Kavel Stavrel");
  EXPECT_EQ(extended.HelpLink(), "http://www.example.com/stavrel/");
  EXPECT_EQ(extended.URLInfoAbout(), extended.HelpLink());
  EXPECT_EQ(extended.URLUpdateInfo(), "http://www.example.com/stavrel/updates/vx4/");
  EXPECT_EQ(engine.NetLocationComponent(), Form->NetLocation);
  EXPECT_EQ(engine.PresetupFiles()->ToVector(), (std::vector<std::string>{"C:\\Stavrel\\Sample\\Data\\LICENCE.ENG",
                                                                          "C:\\Stavrel\\Sample\\Data\\README.ENG"}));
  EXPECT_EQ(engine.BuildInfo()->BuildDirectory(), "C:\\Stavrel\\Setup");
  EXPECT_FALSE(engine.BuildInfo()->SignCode());
  EXPECT_TRUE(engine.OnAfterInitialized);
  EXPECT_TRUE(engine.OnBeforeInstallObjects);
  EXPECT_EQ(engine.DistributeType(), dtTraditional);
}

TEST_F(Configuration, TheTranslatorHasTheEnglishTableAndOneFontForEveryLanguage) {
  TTranslator& translator = *Form->MainTranslator;
  EXPECT_EQ(GlobalTranslator(), &translator);
  EXPECT_EQ(translator.TranslateIntoLanguage(), qlEnglish);
  ASSERT_EQ(translator.LanguageCount(), 21);
  for (int i = 0; i < translator.LanguageCount(); ++i) {
    const TLanguage& language = *translator.GetLanguage(i);
    EXPECT_EQ(language.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(language.Font().Height(), -11);
    EXPECT_EQ(language.Font().Color(), fw::clWindowText);
    EXPECT_EQ(language.Font().Charset(), DEFAULT_CHARSET);
    EXPECT_FALSE(language.FontOverride());
    if (language.LanguageIdent() != qlEnglish) {
      EXPECT_EQ(language.Strings().Count(), 0);
    }
  }
  EXPECT_EQ(translator.TranslateGLID(9, ""), "Welcome");
  EXPECT_EQ(translator.TranslateGLID(5, ""), "Next >");
  EXPECT_EQ(translator.TranslateGLID(101, "").substr(0, 36), "Program can't find Novell Client32. ");
}

TEST_F(Configuration, SixDialogManagersOneOfEachKindServeTheEngine) {
  std::set<TManagerType> kinds;
  for (TDialogManager* manager : All<TDialogManager>()) {
    kinds.insert(manager->ManagerType());
    EXPECT_EQ(manager->Container(), Form->MainInstall) << manager->Name();
    EXPECT_EQ(manager->RelativeLeftOffset(), 0);
    EXPECT_EQ(manager->RelativeTopOffset(), 0);
  }
  EXPECT_EQ(All<TDialogManager>().size(), 6u);
  EXPECT_EQ(kinds, (std::set<TManagerType>{dmBeforeInstall, dmAfterGoodInstall, dmAfterBadInstall, dmDuringCopyFiles,
                                           dmChangeDisk, dmReboot}));
  EXPECT_EQ(Get<TDialogManager>("DialogManager3").ManagerType(), dmDuringCopyFiles);
}

TEST_F(Configuration, OneSpecifierOfEachStandardKindAndOneForEveryFolder) {
  for (const char* name : {"psBDEDLL",
                           "psCommonFiles",
                           "psContainerArchiveFile",
                           "psContainerDestDir",
                           "psDesktopMenu",
                           "psInstallSource",
                           "psMainInstall",
                           "psProgramFiles",
                           "psProgramMenu",
                           "psStartMenu",
                           "psStartupMenu",
                           "psSystem",
                           "psMainArchiveFile",
                           "psWindow",
                           "psPrinters",
                           "psRecent",
                           "psSendTo",
                           "psStartup",
                           "psControlPanel",
                           "psFavorites",
                           "psBitBucket",
                           "psCookies",
                           "psCommonAltStartup",
                           "psCommonStartup",
                           "psCommonDesktopDirectory",
                           "psCommonFavorites",
                           "psCommonPrograms",
                           "psCommonStartMenu",
                           "psQuickLaunchMenu",
                           "psOfficeUserTemplates",
                           "psOfficeWorkgroupTemplates",
                           "psOfficeClipartDirectory",
                           "psOfficeStartupDirectory",
                           "psOfficeToolsDirectory",
                           "psOfficeFavoritesDirectory",
                           "psObjectLink"}) {
    fw::TComponent* specifier = Form->FindComponent(name);
    ASSERT_NE(specifier, nullptr) << name;
    EXPECT_EQ(specifier->ClassName(), std::string("T") + name);
  }
  // No second specifier of a kind was made beside the stored ones.
  std::map<std::string, int> perClass;
  for (TCustomPathSpecifier* specifier : All<TCustomPathSpecifier>()) ++perClass[specifier->ClassName()];
  for (const auto& [cls, count] : perClass) {
    if (cls != "TpsFileContainer") {
      EXPECT_EQ(count, 1) << cls;
    }
  }
  EXPECT_EQ(perClass["TpsFileContainer"], 18);
}

struct TFolder {
  const char* Name;
  const char* Class;
  const char* Container;
  const char* Description;
  const char* DestDir;
  const char* Specifier;
};

TEST_F(Configuration, TheFoldersFormTheProductsTree) {
  const TFolder folders[] = {
      {"idMiscellaneous", "TInstallDirectory", "MainInstall", "Uninstall", "\\Uninstall", "psFileContainer"},
      {"Group", "TInstallGroup", "MainInstall", "Program files", "\\", "psFileContainer1"},
      {"FileGroup", "TInstallDirectory", "Group", "US", "\\", "psFileContainer3"},
      {"Tasks", "TInstallDirectory", "FileGroup", "TASKS", "\\TASKS", "psFileContainer5"},
      {"Compare", "TInstallDirectory", "FileGroup", "Compare", "\\Compare", "psFileContainer6"},
      {"Work", "TInstallDirectory", "FileGroup", "WORK", "\\WORK", "psFileContainer7"},
      {"Tools", "TInstallDirectory", "FileGroup", "Tools", "\\Tools", "psFileContainer9"},
      {"Params", "TInstallDirectory", "FileGroup", "Params", "\\Params", "psFileContainer10"},
      {"Directory15", "TInstallDirectory", "FileGroup", "Updates", "\\WinUpdates", "psFileContainer25"},
      {"Directory6", "TInstallDirectory", "Group", "Kavel Charts", "", "psFileContainer13"},
      {"Directory3", "TInstallDirectory", "Directory6", "Charts", "\\Charts", "psFileContainer14"},
      {"Directory4", "TInstallDirectory", "Directory6", "Templates", "\\Templates", "psFileContainer15"},
      {"Directory7", "TInstallDirectory", "Directory4", "Daily", "\\Daily", "psFileContainer16"},
      {"Directory9", "TInstallDirectory", "Directory4", "Monthly", "\\Monthly", "psFileContainer17"},
      {"Directory10", "TInstallDirectory", "Directory4", "Weekly", "\\Weekly", "psFileContainer18"},
      {"Directory11", "TInstallDirectory", "Directory4", "Quarterly", "\\Quarterly", "psFileContainer19"},
      {"Directory5", "TInstallDirectory", "Directory6", "Styles", "\\Styles", "psFileContainer20"},
      {"Directory8", "TInstallDirectory", "Directory6", "Desktops", "\\Desktops", "psFileContainer21"},
  };
  for (const TFolder& folder : folders) {
    SCOPED_TRACE(folder.Name);
    auto& container = Get<TFileContainer>(folder.Name);
    EXPECT_EQ(container.ClassName(), folder.Class);
    EXPECT_EQ(container.Container(), Form->FindComponent(folder.Container));
    EXPECT_EQ(container.Description(), folder.Description);
    EXPECT_EQ(container.DestDir(), folder.DestDir);
    ASSERT_NE(container.PathSpecifier(), nullptr);
    EXPECT_EQ(container.PathSpecifier()->Name(), folder.Specifier);
    EXPECT_EQ(container.Tag(), 1);
    EXPECT_EQ(container.ArchiveFileType(), &Get<TCustomPathSpecifier>("psContainerArchiveFile"));
    EXPECT_EQ(container.DestDirType(), &Get<TCustomPathSpecifier>("psContainerDestDir"));
    EXPECT_EQ(container.InstallTypes(), kAllTypes);
    EXPECT_EQ(container.OS(),
              std::string(folder.Name) == "Directory15" ? OSSet({oswin95, oswinNT, oswin98, oswinME}) : kAllSystems);
  }
  EXPECT_EQ(Get<TFileContainer>("Group").AddToArchive(), lzcOnlyAdd);
  EXPECT_EQ(Get<TFileContainer>("FileGroup").AddToArchive(), lzcOnlyAdd);
  EXPECT_FALSE(Get<TInstallGroup>("Group").DialogOptions()->AllowExcludeInclude());
  // The product's folder is the engine's, below Program Files.
  EXPECT_EQ(Get<TFileContainer>("FileGroup").GetFullDestDir(), Form->MainInstall->GetFullDestDir());
  EXPECT_EQ(Get<TFileContainer>("Directory7").GetFullDestDir(),
            Form->MainInstall->GetFullDestDir() + "\\Templates\\Daily");
}

std::map<std::string, int> FilesPerFolder(const std::vector<TCustomInstallFile*>& Files) {
  std::map<std::string, int> count;
  for (TCustomInstallFile* file : Files) ++count[file->Container()->Name()];
  return count;
}

TEST_F(Configuration, AHundredAndEighteenFilesEachWithItsOwnArchiveIndex) {
  std::vector<TCustomInstallFile*> files = All<TCustomInstallFile>();
  ASSERT_EQ(files.size(), 118u);
  std::set<int> ids;
  for (TCustomInstallFile* file : files) {
    SCOPED_TRACE(file->Name());
    ids.insert(file->UniqueID());
    EXPECT_EQ(file->FileName(), file->DestName());
    EXPECT_EQ(file->IncludeFromDir().rfind("C:\\Stavrel\\Sample", 0), 0u);
    EXPECT_EQ(file->ArchiveFileType(), &Get<TCustomPathSpecifier>("psContainerArchiveFile"));
    EXPECT_EQ(file->InstallTypes(), kAllTypes);
    EXPECT_EQ(file->OS(), kAllSystems);
    if (file->Name() != "ChartTypeLibFile") {
      EXPECT_EQ(file->DestDirType(), &Get<TCustomPathSpecifier>("psContainerDestDir"));
    }
    EXPECT_TRUE(file->InstallAttributes().Empty());
  }
  EXPECT_EQ(ids.size(), 118u);
  EXPECT_EQ(FilesPerFolder(files), (std::map<std::string, int>{{"FileGroup", 26},
                                                               {"Tools", 11},
                                                               {"Tasks", 1},
                                                               {"Work", 1},
                                                               {"Compare", 1},
                                                               {"Params", 2},
                                                               {"Directory15", 2},
                                                               {"idMiscellaneous", 1},
                                                               {"Directory6", 8},
                                                               {"Directory3", 18},
                                                               {"Directory4", 5},
                                                               {"Directory7", 8},
                                                               {"Directory9", 8},
                                                               {"Directory10", 8},
                                                               {"Directory11", 8},
                                                               {"Directory5", 6},
                                                               {"Directory8", 4}}));
}

TEST_F(Configuration, TheNamedFilesCarryTheirOwnSettings) {
  EXPECT_EQ(Get<TInstallFile>("InstallFile61").FileName(), "VX4.exe");
  EXPECT_EQ(Get<TInstallFile>("InstallFile61").AddToArchive(), lzcOnlyAdd);
  EXPECT_EQ(Get<TInstallFile>("InstallFile46").FileName(), "vxrcon.exe");
  EXPECT_EQ(Get<TInstallFile>("InstallFile120").FileName(), "vx4.pdf");
  EXPECT_EQ(Form->ReadMe_US->FileName(), "Readme.wri");
  std::set<std::string> help;
  for (TInstallFile* file : All<TInstallFile>())
    if (file->RegisterAsHelp()) help.insert(file->FileName());
  EXPECT_EQ(help, (std::set<std::string>{"VX4.hlp", "vx4.cnt", "nwpp.cnt", "KCharts.hlp", "KCharts.cnt"}));
  EXPECT_EQ(Form->Help_US->FileName(), "VX4.hlp");

  TInstallFile& update = *Form->InstallCommUpdate;
  EXPECT_EQ(update.FileName(), "40comupd.exe");
  EXPECT_FALSE(update.Include());
  EXPECT_TRUE(update.RunAfterInstall());
  EXPECT_EQ(update.RunParameters(), "/q");
  TInstallFile& shFolder = *Form->ShFolderInstallFile;
  EXPECT_EQ(shFolder.FileName(), "ShFolder.Exe");
  EXPECT_TRUE(shFolder.Include());
  EXPECT_TRUE(shFolder.RunAfterInstall());
  EXPECT_EQ(shFolder.RunParameters(), "/q");

  auto& typeLibrary = Get<TInstallFile>("ChartTypeLibFile");
  EXPECT_EQ(typeLibrary.FileType(), iftSystemWideDLL);
  EXPECT_EQ(typeLibrary.OverwriteMode(), owVersionDate);
  EXPECT_TRUE(typeLibrary.UpdateDLLCounter());
  EXPECT_EQ(typeLibrary.DestDirType(), &Get<TCustomPathSpecifier>("psSystem"));

  auto& uninstaller = Get<TUninstallEXE>("ifUninstallEXE");
  EXPECT_EQ(uninstaller.FileName(), "uninstall.exe");
  EXPECT_EQ(uninstaller.Container(), &Get<TFileContainer>("idMiscellaneous"));
  EXPECT_EQ(uninstaller.Order(), -1);
  EXPECT_FALSE(uninstaller.Net());
}

TEST_F(Configuration, EveryFileIsInTheSampleBuildFolderWhereTheConfigurationLooks) {
  // The main job copies the sample build folder to C:\Stavrel\Sample.
  const std::string sample = SAMPLE_PRODUCT_DIR;
  const std::string prefix = "C:\\Stavrel\\Sample";
  std::set<std::string> paths;
  for (TCustomInstallFile* file : All<TCustomInstallFile>()) {
    std::string path = sample + file->IncludeFromDir().substr(prefix.size()) + "\\" + file->FileName();
    paths.insert(path);
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  }
  EXPECT_EQ(paths.size(), 118u);
  for (const std::string& presetup : Form->MainInstall->PresetupFiles()->ToVector()) {
    std::string path = sample + presetup.substr(prefix.size());
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  }
}

struct TShortcut {
  const char* Name;
  const char* LinkName;
  const char* Target;
  bool Handled;
};

TEST_F(Configuration, TheStartMenuFolderHoldsTheProductsShortcuts) {
  EXPECT_EQ(Form->MainFolder->DestDir(), "\\Kavel Stavrel 4.0");
  EXPECT_EQ(Form->MainFolder->Container(), Form->MainInstall);
  const TShortcut shortcuts[] = {{"TInstallMainLink", "Kavel Stavrel.LNK", "InstallFile61", false},
                                 {"HelpLink", "Help.LNK", "Help_US", true},
                                 {"UnInstallLink", "Uninstall.LNK", "ifUninstallEXE", true},
                                 {"ReadmeLink", "Readme.lnk", "ReadMe_US", true},
                                 {"TInstallMainLink1", "Remote Console.LNK", "InstallFile46", false},
                                 {"InstallMainLink", "User's Guide.LNK", "InstallFile120", false},
                                 {"TInstallMainLink2", "Kavel Charts.LNK", "ChartViewerFile", false}};
  for (const TShortcut& shortcut : shortcuts) {
    SCOPED_TRACE(shortcut.Name);
    auto& link = Get<TInstallMainLink>(shortcut.Name);
    EXPECT_EQ(link.Container(), Form->MainFolder);
    EXPECT_EQ(link.LinkName(), shortcut.LinkName);
    EXPECT_EQ(link.ObjectLink(), Form->FindComponent(shortcut.Target));
    EXPECT_EQ(link.ObjectLocationType(), &Get<TCustomPathSpecifier>("psObjectLink"));
    EXPECT_EQ(link.HotKey(), 0);
    EXPECT_EQ(static_cast<bool>(link.OnBeforeProcess), shortcut.Handled);
  }
  EXPECT_EQ(Form->UrlLink->LinkName(), "www.example.com.URL");
  EXPECT_EQ(Form->UrlLink->ObjectLocation(), "http://www.example.com/");
  EXPECT_TRUE(Form->UrlLink->OnBeforeProcess);
  auto& desktop = Get<TInstallShellLink>("InstallShellLink");
  EXPECT_EQ(desktop.LinkName(), "Kavel Stavrel 4.LNK");
  EXPECT_EQ(desktop.Container(), Form->MainInstall);
  EXPECT_EQ(desktop.DestDirType(), &Get<TCustomPathSpecifier>("psDesktopMenu"));
  EXPECT_EQ(desktop.ObjectLink(), &Get<TInstallFile>("InstallFile61"));
  EXPECT_EQ(desktop.IconIndex(), 0);
}

// Entries as "ident=text" (with "<specifier>" for a path-specifier entry).
std::vector<std::string> EntriesOf(const TInstallRegistry& Registry) {
  std::vector<std::string> out;
  for (int i = 0; i < Registry.Entries()->Count(); ++i) {
    const TRegistryEntry& entry = *Registry.Entries()->Entry(i);
    EXPECT_EQ(entry.EntryType(), retText);
    out.push_back(entry.Ident() + "=" + entry.Text() +
                  (entry.PathSpecifier() != nullptr ? " <" + entry.PathSpecifier()->Name() + ">" : ""));
  }
  return out;
}

TEST_F(Configuration, TheRegistryObjectsWriteTheToolsTheLocalesAndTheViewersClass) {
  for (TInstallRegistry* registry : All<TInstallRegistry>()) {
    EXPECT_EQ(registry->Container(), Form->MainInstall) << registry->Name();
    EXPECT_EQ(registry->InstallTypes(), kAllTypes) << registry->Name();
  }
  EXPECT_EQ(All<TInstallRegistry>().size(), 21u);
  EXPECT_EQ(Get<TInstallRegistry>("CompanyNameReg").GetKeyPath(), "\\SOFTWARE\\Kavel Software");
  EXPECT_EQ(Get<TInstallRegistry>("VersionReg").GetKeyPath(), "\\SOFTWARE\\Kavel Software\\Kavel Stavrel\\4.00");
  EXPECT_EQ(Get<TInstallRegistry>("ProductNameReg").RootKey(), hkLocalMachine);

  TInstallRegistry& locales = *Form->InstallRegistry;
  EXPECT_EQ(locales.RootKey(), hkCurrentUser);
  EXPECT_EQ(locales.GetKeyPath(), "\\Software\\Borland\\Locales");
  EXPECT_EQ(EntriesOf(locales), (std::vector<std::string>{"VXRCON.EXE=", "VX4TSK.EXE=", "VX4.EXE="}));
  EXPECT_TRUE(locales.OnBeforeWriteEntry);

  EXPECT_EQ(Get<TInstallRegistry>("Registry").GetKeyPath(), "\\SOFTWARE\\Kavel\\Stavrel\\Tools");
  EXPECT_EQ(Get<TInstallRegistry>("Registry1").GetKeyPath(), "\\SOFTWARE\\Kavel\\Stavrel\\Tools\\Tuvek");
  EXPECT_EQ(EntriesOf(Get<TInstallRegistry>("Registry1")),
            (std::vector<std::string>{"Descr=Server console scripts", "Key=5027C520-4434-11D2-8352-00A024D5AE34",
                                      "Path=%p <psFileContainer9>"}));
  for (const char* name : {"Registry2", "Registry3"}) {
    std::vector<std::string> entries = EntriesOf(Get<TInstallRegistry>(name));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2], "Path=%p <psFileContainer9>");
  }
  EXPECT_EQ(Get<TInstallRegistry>("Registry1").Entries()->Entry(2)->GetExpandedText(),
            Form->MainInstall->GetFullDestDir() + "\\Tools");

  const std::string clsid = "\\CLSID\\{6A1E3B40-5C2D-11D2-8352-00A024D5AE34}";
  const std::string typeLib = "\\TypeLib\\{6A1E3B41-5C2D-11D2-8352-00A024D5AE34}";
  const std::vector<std::pair<std::string, std::vector<std::string>>> com = {
      {"\\KCharts.Viewer", {"=Kavel Charts Viewer"}},
      {"\\KCharts.Viewer\\Clsid", {"={6A1E3B40-5C2D-11D2-8352-00A024D5AE34}"}},
      {clsid, {"=Kavel Charts Viewer"}},
      {clsid + "\\LocalServer32", {"=\"%p\\KCharts.exe\" <psFileContainer13>"}},
      {clsid + "\\ProgID", {"=KCharts.Viewer"}},
      {clsid + "\\TypeLib", {"={6A1E3B41-5C2D-11D2-8352-00A024D5AE34}"}},
      {clsid + "\\Version", {"=1.0"}},
      {typeLib, {}},
      {typeLib + "\\1.0", {"=Kavel Charts 1.0 Type Library"}},
      {typeLib + "\\1.0\\0", {}},
      {typeLib + "\\1.0\\0\\win32", {"=%p\\KCharts.exe <psFileContainer13>"}},
      {typeLib + "\\1.0\\FLAGS", {"=0"}},
      {typeLib + "\\1.0\\HELPDIR", {"=%p <psFileContainer13>"}}};
  for (size_t i = 0; i < com.size(); ++i) {
    auto& registry = Get<TInstallRegistry>("Registry" + std::to_string(i + 4));
    EXPECT_EQ(registry.RootKey(), hkClassesRoot);
    EXPECT_EQ(registry.GetKeyPath(), com[i].first);
    EXPECT_EQ(EntriesOf(registry), com[i].second) << com[i].first;
  }
  // The server's path is quoted: it holds blanks.
  EXPECT_EQ(Get<TInstallRegistry>("Registry7").Entries()->Entry(0)->GetExpandedText(),
            "\"" + Form->MainInstall->GetFullDestDir() + "\\KCharts.exe\"");
}

TEST_F(Configuration, TheNetworkLocationNamesTheMakersServer) {
  EXPECT_EQ(Form->NetLocation->LoginInformation()->Directory(), "updates/vx4cs");
  EXPECT_EQ(Form->NetLocation->LoginInformation()->Hostname(), "ftp.example.com");
}

}  // namespace
}  // namespace setup::testing
