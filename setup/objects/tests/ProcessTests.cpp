#include <gtest/gtest.h>

#include "ObjectTestSupport.h"
#include "RegistrySnapshot.h"
#include "objects/Broadcasts.h"
#include "objects/StatusParameters.h"
#include "support/OSVersion.h"
#include "support/Registry.h"

using namespace setup;
using namespace setup::testing;

namespace {

TWindowsVersion gVersion{2, 5, 1};  // XP
bool InjectedVersion(TWindowsVersion& Version) {
  Version = gVersion;
  return true;
}

// Runs the processing of one object with a log of what it told its helpers.
class ProcessDecision : public ::testing::Test {
 protected:
  void SetUp() override {
    FPrevious = SetWindowsVersionQuery(InjectedVersion);
    Object = new TTestObject(&Owner, rtFileContainer);
    Object->SetName("Object");
    Listener = new TTestObject(&Owner, rtDialog);
    Listener->SetName("Listener");
    Listener->Log = &Log;
    Listener->SetContainer(Object);
    Object->OnBeforeProcess = [this](TInstallContainer*) { Events.push_back("before"); };
    Object->OnAfterProcess = [this](TInstallContainer*) { Events.push_back("after"); };
  }
  void TearDown() override { SetWindowsVersionQuery(FPrevious); }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const TReceived& r : Log) codes.push_back(r.Code);
    return codes;
  }

  fw::TComponent Owner{nullptr};
  TTestObject* Object = nullptr;
  TTestObject* Listener = nullptr;
  std::vector<TReceived> Log;
  std::vector<std::string> Events;
  TWindowsVersionQuery FPrevious = nullptr;
};

TEST_F(ProcessDecision, AnIncludedObjectOfTheSelectedTypeIsInstalled) {
  Object->Process();
  EXPECT_EQ(Object->Installs, 1);
  EXPECT_TRUE(Object->Done());
  EXPECT_EQ(Events, (std::vector<std::string>{"before", "after"}));
  EXPECT_EQ(Codes(), (std::vector<int>{icBeforeProcess, icIncluded, icAfterProcess}));
  EXPECT_EQ(Log[0].Sender, Object);
}

TEST_F(ProcessDecision, AnotherOperatingSystemExcludesTheObjectForGood) {
  Object->SetOS({oswin95, oswin98});
  Object->Process();
  EXPECT_FALSE(Object->Include());
  EXPECT_EQ(Object->Installs, 0);
  EXPECT_FALSE(Object->Done());
  EXPECT_EQ(Events, (std::vector<std::string>{"before"}));
  EXPECT_EQ(Codes(), (std::vector<int>{icBeforeProcess}));
  Object->SetOS({oswin95, oswin98, oswinXP});
  Object->Process();
  EXPECT_EQ(Object->Installs, 0);
}

TEST_F(ProcessDecision, NewerWindowsVersionsInstallWithTheDefaultSet) {
  gVersion = TWindowsVersion{2, 10, 0};
  Object->Process();
  gVersion = TWindowsVersion{2, 5, 1};
  EXPECT_EQ(Object->Installs, 1);
}

TEST_F(ProcessDecision, SetupTypes) {
  Object->SetInstallTypes({itFull});
  Object->SetSelectedInstallType(itCompact);
  Object->Process();
  EXPECT_EQ(Object->Installs, 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"before"}));
  EXPECT_EQ(Codes(), (std::vector<int>{icBeforeProcess, icIncluded}));
  EXPECT_FALSE(Object->IsSelected());
  // A custom setup does not look at the object's types.
  Object->SetSelectedInstallType(itCustom);
  EXPECT_TRUE(Object->IsSelected());
  Object->Process();
  EXPECT_EQ(Object->Installs, 1);
}

TEST_F(ProcessDecision, AnExcludedObjectStopsAfterItsBeforeEvent) {
  Object->SetInclude(false);
  Object->Process();
  EXPECT_EQ(Object->Installs, 0);
  EXPECT_EQ(Codes(), (std::vector<int>{icBeforeProcess}));
  EXPECT_FALSE(Object->IsSelected());
}

TEST_F(ProcessDecision, AbortSkipsSilentlyAndOtherErrorsPassOn) {
  Object->OnBeforeProcess = [](TInstallContainer*) { fw::Abort(); };
  EXPECT_NO_THROW(Object->Process());
  EXPECT_EQ(Object->Installs, 0);
  EXPECT_TRUE(Log.empty());
  Object->OnBeforeProcess = nullptr;
  Object->OnInstall = [] { fw::Abort(); };
  EXPECT_NO_THROW(Object->Process());
  EXPECT_FALSE(Object->Done());
  EXPECT_TRUE(Events.empty());
  Object->OnInstall = [] { throw EAIUserAbort(); };
  EXPECT_THROW(Object->Process(), EAIUserAbort);
  Object->OnInstall = [] { throw fw::EConvertError("bad"); };
  EXPECT_THROW(Object->Process(), fw::EConvertError);
  EXPECT_TRUE(std::find(Events.begin(), Events.end(), "after") == Events.end());
}

TEST_F(ProcessDecision, InstallProcessesOnlyHelpersThatTheirContainerInstalls) {
  auto* byContainer = new TTestObject(&Owner);
  auto* byEngine = new TTestObject(&Owner, rtShellLink);
  byContainer->SetInstalledByContainer(true);
  byContainer->SetContainer(Object);
  byEngine->SetContainer(Object);
  Object->Process();
  EXPECT_EQ(byContainer->Installs, 1);
  EXPECT_EQ(byEngine->Installs, 0);
}

TEST(ProcessWithEngine, ARunningEngineWaitsForTheContainer) {
  fw::TComponent owner(nullptr);
  auto* engine = new TTestEngine(&owner);
  auto* container = new TTestObject(&owner, rtFileContainer);
  auto* link = new TTestObject(&owner, rtShellLink);
  container->SetUninstall(false);
  link->SetUninstall(false);
  link->SetContainer(container);
  engine->Running = true;
  EXPECT_TRUE(IsInstallRunning());
  link->Process();
  EXPECT_EQ(link->Installs, 0);
  container->Process();
  link->Process();
  EXPECT_EQ(link->Installs, 1);
  // Outside a run every object is processed.
  auto* other = new TTestObject(&owner, rtShellLink);
  auto* idle = new TTestObject(&owner, rtFileContainer);
  other->SetUninstall(false);
  other->SetContainer(idle);
  engine->Running = false;
  other->Process();
  EXPECT_EQ(other->Installs, 1);
  EXPECT_EQ(CurrentDistributeType(), dtWeb);
}

TEST(ProcessWithEngine, ModuleHelpersWithoutAnEngine) {
  EXPECT_EQ(GlobalInstall(), nullptr);
  EXPECT_EQ(CurrentDistributeType(), dtTraditionalNet);
  EXPECT_FALSE(IsInstallRunning());
}

// --- uninstall log -----------------------------------------------------------------

TEST(UninstallLog, ProcessedObjectsLogUnderTheProductsKey) {
  fw::TComponent owner(nullptr);
  auto* engine = new TTestEngine(&owner);
  engine->Info.SetProductName("Stavrel Objects Test " + std::to_string(GetCurrentProcessId()));
  const std::string key = std::string(kUninstallRootKey) + engine->Info.ProductName();
  testsupport::TSavedRegistryTree savedKey(HKEY_LOCAL_MACHINE, key);
  auto* object = new TTestObject(&owner);
  object->OnWriteUninstall = [](const std::string& Key) {
    WriteRegString(hkLocalMachine, Key + "\\Files", "File1", "C:\\Apps\\a.exe");
  };
  auto* quiet = new TTestObject(&owner);
  quiet->SetUninstall(false);
  auto* skipped = new TTestObject(&owner);
  skipped->SetInclude(false);
  object->Process();
  quiet->Process();
  skipped->Process();
  EXPECT_EQ(object->UninstallKeys, (std::vector<std::string>{key}));
  EXPECT_TRUE(quiet->UninstallKeys.empty());
  EXPECT_TRUE(skipped->UninstallKeys.empty());
  EXPECT_EQ(ReadRegString(hkLocalMachine, key + "\\Files", "File1", ""), "C:\\Apps\\a.exe");
  DeleteRegKeyTree(hkLocalMachine, key);
  EXPECT_EQ(ReadRegString(hkLocalMachine, key + "\\Files", "File1", "gone"), "gone");
}

TEST(UninstallLog, ABlankProductNameIsAnErrorNamingTheEngine) {
  fw::TComponent owner(nullptr);
  auto* engine = new TTestEngine(&owner);
  engine->SetName("MainInstall");
  engine->Info.SetProductName("  ");
  testsupport::TSavedRegistryTree savedKey(HKEY_LOCAL_MACHINE, std::string(kUninstallRootKey) + "  ");
  auto* object = new TTestObject(&owner);
  object->OnWriteUninstall = [](const std::string& Key) {
    WriteRegString(hkLocalMachine, Key + "\\Files", "File1", "x");
  };
  try {
    object->Process();
    ADD_FAILURE();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(e.what(),
                 "The product name in the Information of MainInstall is blank, so the uninstall information cannot be "
                 "written");
  }
  EXPECT_EQ(object->Installs, 0);
  EXPECT_TRUE(object->UninstallKeys.empty());
  EXPECT_EQ(ReadRegString(hkLocalMachine, std::string(kUninstallRootKey) + "  \\Files", "File1", "none"), "none");
  // Without an engine nothing is logged at all.
  engine->Free();
  auto* alone = new TTestObject(&owner);
  alone->Process();
  EXPECT_EQ(alone->Installs, 1);
  EXPECT_TRUE(alone->UninstallKeys.empty());
}

// --- broadcasts and reports ----------------------------------------------------------

TEST(Messages, BroadcastsReachOnlyDirectHelpersFromInstalledFilesUp) {
  fw::TComponent owner(nullptr);
  std::vector<TReceived> log;
  auto make = [&](const char* name, int category, TInstallContainer* container) {
    auto* o = new TTestObject(&owner, category);
    o->SetName(name);
    o->Log = &log;
    if (container != nullptr) o->SetContainer(container);
    return o;
  };
  auto* root = make("Root", rtFileContainer, nullptr);
  auto* group = make("Group", rtGroup, root);
  make("Directory", rtFileContainer, root);
  auto* file = make("File", rtInstallFile, root);
  make("Link", rtShellLink, root);
  make("Manager", rtDialog, root);
  make("Nested", rtDialog, group);
  make("NestedInFile", rtDialog, file);
  TMessageParameter text("Copying");
  root->BroadcastInformation(root, -980, &text);
  std::vector<std::string> reached;
  for (const TReceived& r : log) {
    reached.push_back(r.Receiver);
    EXPECT_EQ(r.Code, -980);
    EXPECT_EQ(r.PO, &text);
  }
  EXPECT_EQ(reached, (std::vector<std::string>{"File", "Link", "Manager"}));
  log.clear();
  root->ShowStatusMessage("Reading file information...");
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].Code, icShowStatus);
  EXPECT_EQ(log[0].Text, "Reading file information...");
  EXPECT_EQ(log[2].Text, "Reading file information...");
  log.clear();
  root->HideStatusMessage();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[2].Code, icHideStatus);
  EXPECT_EQ(log[2].PO, nullptr);
}

TEST(Messages, ReportsClimbThroughContainersThatRelayThem) {
  fw::TComponent owner(nullptr);
  auto* top = new TRelayObject(&owner, rtFileContainer);
  auto* middle = new TRelayObject(&owner, rtFileContainer);
  auto* idle = new TTestObject(&owner, rtFileContainer);
  auto* file = new TTestObject(&owner);
  auto* stray = new TTestObject(&owner);
  middle->SetContainer(top);
  file->SetContainer(middle);
  stray->SetContainer(idle);
  TDownloadStatusParameter status(10, "files.1", 0, 10);
  file->ReportInformation(irDownloadStatus, &status);
  ASSERT_EQ(middle->Reports.size(), 1u);
  ASSERT_EQ(top->Reports.size(), 1u);
  EXPECT_EQ(middle->Reports[0].Sender, file);
  EXPECT_EQ(top->Reports[0].Sender, middle);
  EXPECT_EQ(top->Reports[0].Code, irDownloadStatus);
  EXPECT_EQ(top->Reports[0].PO, &status);
  stray->ReportInformation(irFileInstalled, nullptr);  // an idle container drops it
  top->ReportInformation(irFileInstalled, nullptr);    // nowhere to go
  EXPECT_EQ(top->Reports.size(), 1u);
}

TEST(StatusParameters, DownloadPercentIsRoundedAndZeroWithoutASize) {
  EXPECT_EQ(TDownloadStatusParameter(5, "f", 0, 5).Percent, 0);
  EXPECT_EQ(TDownloadStatusParameter(5, "f", -1, 5).Percent, 0);
  EXPECT_EQ(TDownloadStatusParameter(5, "f", 200, 50).Percent, 25);
  EXPECT_EQ(TDownloadStatusParameter(1, "f", 3, 2).Percent, 67);
  EXPECT_EQ(TDownloadStatusParameter(1, "f", 2000000000, 2000000000).Percent, 100);
}

}  // namespace

namespace setup::testing {
namespace {

// A dialog manager as the wizard pages will write one: typed receivers only.
class TProgressListener : public TTestObject {
 public:
  explicit TProgressListener(fw::TComponent* AOwner) : TTestObject(AOwner, rtDialog) {}
  std::vector<std::string> Seen;
  void InformationEvent(fw::TObject* Sender, int Code, fw::TObject* PO) override {
    if (auto* status = Payload<icFileStatus>(Code, PO))
      Seen.push_back("file " + status->FileName + " " + std::to_string(status->Percent));
    else if (auto* download = Payload<icDownloadStatus>(Code, PO))
      Seen.push_back("download " + download->FileName + " " + std::to_string(download->Percent));
    else if (auto* message = Payload<icShowStatus>(Code, PO))
      Seen.push_back("message " + message->Text);
    else
      Seen.push_back("other " + std::to_string(Code));
  }
};

TEST(Messages, TypedBroadcastsReachTypedReceiversAndAMismatchedPayloadIsNotDecoded) {
  fw::TComponent owner(nullptr);
  auto* root = new TTestObject(&owner, rtFileContainer);
  auto* listener = new TProgressListener(&owner);
  listener->SetContainer(root);

  TFileStatusParameter file;
  file.FileName = "VX4.HLP";
  file.Percent = 40;
  Broadcast<icFileStatus>(*root, file);
  TDownloadStatusParameter download(10, "files.1", 40, 10);
  Broadcast<icDownloadStatus>(*root, download);
  root->ShowStatusMessage("Reading file information...");
  // The right code with the wrong parameter class, and a code without a parameter.
  TMessageParameter wrong("not a file status");
  root->BroadcastInformation(root, icFileStatus, &wrong);
  root->BroadcastInformation(root, icFileStatus, nullptr);

  EXPECT_EQ(listener->Seen,
            (std::vector<std::string>{"file VX4.HLP 40", "download files.1 25", "message Reading file information...",
                                      "other -998", "other -998"}));
}

TEST(Messages, TypedReportsClimbTheContainerChain) {
  fw::TComponent owner(nullptr);
  auto* top = new TRelayObject(&owner, rtFileContainer);
  auto* file = new TTestObject(&owner);
  file->SetContainer(top);
  TDownloadStatusParameter status(5, "files.1", 10, 5);
  Report<irDownloadStatus>(*file, status);
  ASSERT_EQ(top->Reports.size(), 1u);
  EXPECT_EQ(Payload<irDownloadStatus>(top->Reports[0].Code, top->Reports[0].PO), &status);
}

}  // namespace
}  // namespace setup::testing
