#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "engine/BuildInfo.h"
#include "gui/Graphics.h"
#include "objects/InstallFile.h"
#include "objects/NetInstallLocation.h"
#include "objects/UninstallEXE.h"
#include "paths/EngineSpecifiers.h"
#include "paths/StandardSpecifiers.h"
#include "support/InstallInformation.h"
#include "support/NetInstallLocation.h"

using namespace setup;
using namespace setup::testing;

namespace {

using EngineStart = EngineFixture;

TEST_F(EngineStart, ANewEngineHasItsDefaultsAndIsTheApplicationsHandler) {
  Load();
  EXPECT_EQ(GlobalInstall(), static_cast<TInstallEngine*>(Engine));
  EXPECT_EQ(Engine->DestDir(), "\\MyApplication");
  EXPECT_EQ(Engine->DestDirType(), nullptr) << "the constructor's folder goes when the form did not store one";
  EXPECT_NE(dynamic_cast<TpsMainArchiveFile*>(Engine->ArchiveFileType()), nullptr);
  EXPECT_EQ(Engine->ArchiveFile(), "");
  EXPECT_EQ(Engine->PathSpecifier(), nullptr);
  EXPECT_EQ(Engine->Description(), "TInstall component");
  EXPECT_TRUE(Engine->InstallTypes() == TInstallTypeSet{itFull});
  EXPECT_EQ(Engine->SelectedInstallType(), itFull);
  EXPECT_TRUE(Engine->RunAutomatic());
  EXPECT_TRUE(Engine->UseLoadingProgram());
  EXPECT_TRUE(Engine->AutoMaximizeWindow());
  EXPECT_FALSE(Engine->HideMainForm());
  EXPECT_EQ(Engine->DistributeType(), dtTraditional);
  EXPECT_EQ(Engine->BuildInfo()->BuildDirectory(), "c:\\build");
  EXPECT_EQ(Engine->BuildInfo()->QnlkVersion(), "5.20.00");
  EXPECT_EQ(Engine->DialogThemeBitmap()->Width(), 117);
  EXPECT_EQ(Engine->DialogThemeBitmap()->Height(), 290);
  EXPECT_EQ(Engine->Information()->ProductName(), kTestProduct);
  EXPECT_EQ(Engine->MainForm(), Form.get());
  EXPECT_EQ(fw::Application->OnException.Data(), static_cast<const void*>(static_cast<TCustomInstall*>(Engine)));
  FreeForm();
  EXPECT_EQ(GlobalInstall(), nullptr);
  EXPECT_FALSE(fw::Application->OnException) << "no handler is left pointing at a freed engine";
}

TEST_F(EngineStart, OneEngineOnAFormAndNoOther) {
  Load();
  try {
    TInstall second(Form.get());
    ADD_FAILURE() << "a second engine was made";
  } catch (const IEInstall& e) {
    EXPECT_EQ(e.Message(),
              "The TInstall component does not currently support the use of 2 TInstall components in the same project");
  }
  FreeForm();
  fw::TComponent notAForm(nullptr);
  EXPECT_THROW({ TInstall engine(&notAForm); }, IEInstall);
  EXPECT_THROW({ TInstall engine(nullptr); }, IEInstall);
  EXPECT_EQ(GlobalInstall(), nullptr);
}

TEST_F(EngineStart, TheSourceFolderComesFromSwitchSOrIsTheProgramsFolder) {
  TTestInstall::NextArguments() = {"-sC:\\Dist\\"};
  Load();
  EXPECT_EQ(Engine->SourceDir(), "C:\\Dist");
  EXPECT_EQ(Engine->EngineSourceDir(), "C:\\Dist");
  TTestInstall::NextArguments() = {};
  TTestInstall::NextProgramFile() = "C:\\Temp\\Loader\\bramset.exe";
  Load();
  EXPECT_EQ(Engine->SourceDir(), "C:\\Temp\\Loader");
  EXPECT_EQ(Engine->GetProgramDir(), "C:\\Temp\\Loader");
}

TEST_F(EngineStart, DebugWithoutABuildFolderIsRefusedAtStartUp) {
  for (std::vector<std::string> arguments : {std::vector<std::string>{"-d"}, std::vector<std::string>{"-d", "-s  "}}) {
    TTestInstall::NextArguments() = arguments;
    try {
      Load();
      ADD_FAILURE() << "the form loaded";
    } catch (const IEInstall& e) {
      EXPECT_EQ(e.Message(),
                "You forgot to pass in the build directory. In Run | Parameters, follow this format: -d \"-sC:\\My "
                "Build\"");
    }
  }
  TTestInstall::NextArguments() = {"-q"};
  EXPECT_THROW(Load(), IException);
}

TEST_F(EngineStart, TheBuildAndFloppySwitchesReachTheirEntryPoints) {
  // The program's folder has no BUILD.INF; the floppy transfer needs switch e.
  TTestInstall::NextProgramFile() = Scratch / "bramset.exe";
  for (const char* sw : {"-b", "-f"}) {
    TTestInstall::NextArguments() = {sw, "-s" + Scratch.Path()};
    Load();
    EXPECT_EQ(Engine->Terminations, 1) << sw;
    ASSERT_EQ(Engine->Messages.size(), 1u) << sw;
    EXPECT_THAT(Engine->Messages[0],
                ::testing::StartsWith(std::string(sw) == "-b" ? "Need to have a BUILD.INF" : "Sorry"));
    EXPECT_EQ(Engine->ExitCode(), ecFailed) << sw;
  }
}

TEST_F(EngineStart, MaximizingAndHidingExcludeEachOtherOnlyOutsideLoading) {
  Load("", "    HideMainForm = True\n    AutoMaximizeWindow = True\n");
  EXPECT_TRUE(Engine->HideMainForm());
  EXPECT_TRUE(Engine->AutoMaximizeWindow());
  EXPECT_EQ(Form->Left(), -2 * Form->Width()) << "moved off the screen at load";
  EXPECT_EQ(Form->Top(), -2 * Form->Height());
  Engine->SetAutoMaximizeWindow(true);
  EXPECT_FALSE(Engine->HideMainForm());
  Engine->SetHideMainForm(true);
  EXPECT_FALSE(Engine->AutoMaximizeWindow());
}

TEST_F(EngineStart, TheFormsOwnShowHandlerRunsOnceBeforeTheInstallation) {
  Load("  object Listener: TListener\n    Container = MainInstall\n  end\n", "    RunAutomatic = True\n");
  int shown = 0;
  // The hook saved the handler the form had at load; a handler set now is the form's own.
  Engine->StartOnShow(nullptr);  // hook without a saved handler: runs the installation
  EXPECT_TRUE(Engine->Started());
  EXPECT_TRUE(EngineLog().Contains("code -980"));
  EXPECT_EQ(Form->WindowState(), fw::wsMaximized);
  EngineLog().Lines.clear();
  Engine->StartOnShow(nullptr);
  EXPECT_TRUE(EngineLog().Lines.empty()) << "the hook runs once";

  EngineLog().Lines.clear();
  FreeForm();
  Form.reset(new fw::TForm(nullptr));
  Form->OnShow = [&](fw::TObject* Sender) {
    ++shown;
    EngineLog().Add("form shown");
  };
  // The form's handler is in place before the engine loads, as a stored handler is.
  Form->InitFromText("object Form: TForm\n  object MainInstall: TTestInstall\n    RunAutomatic = False\n  end\nend\n",
                     "TFORM");
  Engine = dynamic_cast<TTestInstall*>(Form->FindComponent("MainInstall"));
  ASSERT_NE(Engine, nullptr);
  Form->OnShow(Form.get());
  Form->OnShow(Form.get());
  EXPECT_EQ(shown, 1) << "with RunAutomatic off the hook stays and does nothing more";
  EXPECT_FALSE(EngineLog().Contains("code -980"));
}

TEST_F(EngineStart, SettersKeepTheirRules) {
  Load();
  EXPECT_THROW(Engine->SetDistributeType(dtWeb), IEInstall);
  EXPECT_EQ(Engine->DistributeType(), dtTraditional);
  fw::TComponent notALocation(nullptr);
  EXPECT_THROW(Engine->SetNetLocationComponent(&notALocation), IEInstall);
  EXPECT_EQ(Engine->NetLocation(), nullptr);
  fw::TStringList files;
  files.Add("setup.ini");
  files.Add("   ");
  files.Add("");
  files.Add("readme.txt");
  Engine->SetPresetupFiles(&files);
  EXPECT_EQ(Engine->PresetupFiles()->ToVector(), (std::vector<std::string>{"setup.ini", "readme.txt"}));
  TBuildInfo info;
  info.SetAppName("Product");
  Engine->SetBuildInfo(&info);
  EXPECT_EQ(Engine->BuildInfo()->AppName(), "Product");
}

}  // namespace

namespace {

// A net install location of the tests: never downloads.
class TTestLocation : public fw::TComponent, public INetInstallLocation {
  FW_CLASS(TTestLocation, fw::TComponent)
 public:
  explicit TTestLocation(fw::TComponent* AOwner) : fw::TComponent(AOwner) {}
  bool LoginInformationUsable() const override { return true; }
  std::string Hostname() const override { return "localhost"; }
  std::string Directory() const override { return "/"; }
  TNetProtocol Protocol() const override { return ipHTTP; }
  void DownloadFile(const std::string&, const std::string&, const TDataReceivedEvent&) override {}
};

const fw::TClass& TTestLocation::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TTestLocation>().Creatable();
  return cls;
}

TEST_F(EngineStart, ALocationThatGoesIsDroppedWithoutTheSettersChecks) {
  fw::RegisterClasses({&TTestLocation::StaticClass()});
  Load("  object Location: TTestLocation\n  end\n", "    NetLocation = Location\n    DistributeType = dtWeb\n");
  auto* location = dynamic_cast<TTestLocation*>(Form->FindComponent("Location"));
  ASSERT_NE(location, nullptr);
  EXPECT_EQ(Engine->DistributeType(), dtWeb) << "a stored distribution is taken as it is";
  EXPECT_EQ(Engine->EngineNetInstallLocation(), static_cast<INetInstallLocation*>(location));
  location->Free();
  EXPECT_EQ(Engine->NetLocation(), nullptr);
  EXPECT_EQ(Engine->EngineNetInstallLocation(), nullptr);
  EXPECT_EQ(Engine->DistributeType(), dtTraditional);
  // The whole form goes at the program's end, the location before or after the engine.
  Load("  object Location: TTestLocation\n  end\n", "    NetLocation = Location\n    DistributeType = dtWeb\n");
  EXPECT_NO_THROW(FreeForm());
}

TEST_F(EngineStart, AnUninstallerThatGoesIsNotAddedBackByTheBuild) {
  Load("  object Uninstaller: TUninstallEXE\n  end\n");
  EXPECT_TRUE(Engine->BuildInfo()->AddUninstallOnCreate());
  Form->FindComponent("Uninstaller")->Free();
  EXPECT_FALSE(Engine->BuildInfo()->AddUninstallOnCreate());
}

TEST_F(EngineStart, TheEnginesLocationServesTheWholeRunUntilItGoes) {
  Load("  object Location: TNetInstallLocation\n  end\n", "    NetLocation = Location\n    DistributeType = dtWeb\n");
  auto* location = dynamic_cast<TNetInstallLocation*>(Form->FindComponent("Location"));
  ASSERT_NE(location, nullptr);
  EXPECT_EQ(GlobalNetLocation(), location);
  Engine->SetNetLocationComponent(nullptr);
  EXPECT_EQ(GlobalNetLocation(), nullptr) << "an engine without a location leaves none for the downloads";
  Engine->SetNetLocationComponent(location);
  EXPECT_EQ(GlobalNetLocation(), location);
  location->Free();
  EXPECT_EQ(GlobalNetLocation(), nullptr);
  EXPECT_EQ(Engine->DistributeType(), dtTraditional);
}

}  // namespace

namespace {

TEST_F(EngineStart, TheExtendedInformationReachesTheUninstallerAndForgetsFilesThatGo) {
  Load("  object Icon: TInstallFile\n    Container = MainInstall\n    FileName = 'app.exe'\n  end\n",
       "    win2KExtendedInformation.Contact = 'Kavel Software'\n    win2KExtendedInformation.DisplayIcon = Icon\n");
  auto* source = dynamic_cast<IAddRemoveInformationSource*>(GlobalInstall());
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->EngineExtendedInformation().Contact(), "Kavel Software");
  auto* icon = dynamic_cast<TCustomInstallFile*>(Form->FindComponent("Icon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(source->EngineExtendedInformation().DisplayIcon(), icon);
  icon->Free();
  EXPECT_EQ(source->EngineExtendedInformation().DisplayIcon(), nullptr);
  EXPECT_EQ(&source->EngineRegistrationInformation(), Engine->RegistrationInformation());
}

}  // namespace
