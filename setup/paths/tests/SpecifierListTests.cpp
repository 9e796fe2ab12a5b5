#include <gtest/gtest.h>

#include "SpecifierTestSupport.h"
#include "core/FormReader.h"
#include "gui/Forms.h"
#include "paths/EngineSpecifiers.h"
#include "paths/StandardSpecifiers.h"
#include "tests/ErrorText.h"

using namespace setup;
using namespace setup::testing;

namespace {

using fw::testing::ErrorText;

TEST(PathSpecifierLists, SpecifiersJoinAndLeaveAndAreFoundByClass) {
  TPathSpecifierList* all = PathSpecifiers();
  TStandardPathSpecList* standard = StandardPathSpecifiers();
  ASSERT_NE(all, nullptr);
  int before = all->Count();
  int standardBefore = standard->Count();
  {
    fw::TComponent owner(nullptr);
    auto* custom = new TPathSpecifier(&owner);
    auto* container = new TpsContainerDestDir(&owner);
    EXPECT_EQ(all->Count(), before + 2);
    EXPECT_EQ(standard->Count(), standardBefore + 1);
    EXPECT_EQ(all->FindByClass(TStandardPathSpecifier::StaticClass()), container);
    EXPECT_EQ(all->FindByClass(TCustomPathSpecifier::StaticClass()), all->GetItem(0));
    EXPECT_EQ(custom->GetDescription(), "My cool new path specifier");
    EXPECT_EQ(custom->GetObjectCaption(nullptr), "My cool new path specifier");
    EXPECT_EQ(custom->GetPath(nullptr), "");
  }
  EXPECT_EQ(all->Count(), before);
  EXPECT_EQ(standard->Count(), standardBefore);
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { standard->FindByClass(TpsContainerDestDir::StaticClass()); }),
            "Could not find the path specifier");
  EXPECT_EQ(ErrorText<IEPathSpecifierList>([&] { all->Add(nullptr); }),
            "Tried to add a nil object to the path specifier list");
  EXPECT_THROW(PathSpecifierClasses()->Add(nullptr), IEPathSpecifierClassList);
}

const std::vector<std::string> kRegistrationOrder = {
    "TpsBDEDLL", "TpsCommonFiles", "TpsContainerArchiveFile", "TpsContainerDestDir", "TpsDesktopMenu",
    "TpsInstallSource", "TpsMainInstall", "TpsProgramFiles", "TpsProgramMenu", "TpsStartMenu", "TpsStartupMenu",
    "TpsSystem", "TpsMainArchiveFile", "TpsWindow",
    // the shell folders, then the office folders
    "TpsPrinters", "TpsRecent", "TpsSendTo", "TpsStartup", "TpsControlPanel", "TpsFavorites", "TpsBitBucket",
    "TpsCookies", "TpsCommonAltStartup", "TpsCommonStartup", "TpsCommonDesktopDirectory", "TpsCommonFavorites",
    "TpsCommonPrograms", "TpsCommonStartMenu", "TpsQuickLaunchMenu", "TpsOfficeUserTemplates",
    "TpsOfficeWorkgroupTemplates", "TpsOfficeClipartDirectory", "TpsOfficeStartupDirectory", "TpsOfficeToolsDirectory",
    "TpsOfficeFavoritesDirectory"};
const int kSpecifierCount = static_cast<int>(kRegistrationOrder.size());

TEST(StandardSpecifiers, OneOfEachClassPerFormInRegistrationOrder) {
  std::vector<std::string> registered;
  for (int i = 0; i < PathSpecifierClasses()->Count(); ++i)
    registered.push_back(PathSpecifierClasses()->GetItem(i)->ClassName());
  EXPECT_EQ(registered, kRegistrationOrder);

  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  // The first installable object brings the specifiers (after itself), the second none.
  new TPathObject(form.get());
  new TPathObject(form.get());
  ASSERT_EQ(form->ComponentCount(), 2 + kSpecifierCount);
  for (int i = 0; i < kSpecifierCount; ++i) {
    auto* made = dynamic_cast<TCustomPathSpecifier*>(form->Components(i + 1));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ClassName(), kRegistrationOrder[static_cast<size_t>(i)]);
    EXPECT_EQ(made->Name(), made->DefaultName());
    EXPECT_EQ(made->Name(), "ps" + made->ClassName().substr(3));
  }
  EXPECT_NE(form->FindComponent("psProgramFiles"), nullptr);
  // A clash of names leaves no half-made specifier behind.
  EXPECT_THROW(CreateStandardSpecifier(TpsWindow::StaticClass(), form.get(), false), fw::EComponentError);
  EXPECT_EQ(form->ComponentCount(), 2 + kSpecifierCount);

  // The program holds one set: another form gets none while the first set lives, and
  // an owner that is no form never does.
  fw::TOwnedPtr<fw::TForm> second(new fw::TForm(nullptr));
  new TPathObject(second.get());
  EXPECT_EQ(second->ComponentCount(), 1);
  form.reset();
  fw::TOwnedPtr<fw::TForm> third(new fw::TForm(nullptr));
  new TPathObject(third.get());
  EXPECT_EQ(third->ComponentCount(), 1 + kSpecifierCount);
  fw::TComponent plain(nullptr);
  PathSpecifiers()->CreateStandardSpecifiers(nullptr, false);
  third.reset();
  new TPathObject(&plain);
  EXPECT_EQ(plain.ComponentCount(), 1);
}

// --- specifiers that ask the engine ------------------------------------------------

class EngineSpecifiers : public ::testing::Test {
 protected:
  fw::TComponent Owner{nullptr};
  TPathObject* Object = MakeObject();
  TPathObject* MakeObject() {
    auto* object = new TPathObject(&Owner);
    object->SetName("Readme");
    return object;
  }
};

TEST_F(EngineSpecifiers, NoEngineNoPath) {
  TpsInstallSource source(&Owner);
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { source.GetPath(Object); }),
            "There is no TInstall component so the path specifier could not be expanded for Readme");
  TpsMainArchiveFile archive(&Owner);
  EXPECT_THROW(archive.ValidateObject(Object), IEPathSpecifier);
  TpsMainInstall main(&Owner);
  EXPECT_THROW(Object->SetDestDirType(&main), IEPathSpecifier);
}

TEST_F(EngineSpecifiers, SourceMainFolderAndArchive) {
  TPathEngine engine(&Owner);
  engine.SetDestDir("C:\\Product\\");
  TpsInstallSource source(&Owner);
  TpsMainInstall main(&Owner);
  TpsMainArchiveFile archive(&Owner);
  EXPECT_EQ(source.GetPath(Object), "E:\\Setup");
  EXPECT_EQ(main.GetPath(Object), "C:\\Product");
  Object->SetDestDirType(&main);
  Object->SetDestDir("\\Tools");
  EXPECT_EQ(Object->GetFullDestDir(), "C:\\Product\\Tools");
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { main.GetPath(&engine); }),
            "Cannot use the ddMainInstallDir path specifier for a TInstall component");

  EXPECT_EQ(archive.GetPath(Object), "E:\\Setup\\files.1");
  engine.SourceDir = "E:\\Setup";
  EXPECT_EQ(archive.GetPath(Object), "E:\\Setup\\files.1");
  archive.SetArchiveFolder("  ");
  EXPECT_EQ(archive.GetPath(Object), "E:\\Setup\\files.1");
  archive.SetArchiveFolder("A:\\Disk2");
  EXPECT_EQ(archive.GetPath(Object), "A:\\Disk2\\files.1");
  archive.SetArchiveFolder("A:\\");
  EXPECT_EQ(archive.GetPath(Object), "A:\\files.1");
  // The self-extracting file wins over any folder.
  engine.SwitchGiven = true;
  engine.SwitchValue = "Setup.exe";
  engine.SourceDir = "E:\\Setup\\";
  EXPECT_EQ(archive.GetPath(Object), "E:\\Setup\\Setup.exe");
  engine.SwitchValue = " ";
  EXPECT_EQ(ErrorText<IEInstall>([&] { archive.GetPath(Object); }),
            "You forgot to pass in the name of the self-extracting executable. Usage example: \"-eSetup.exe\"");
}

// --- specifiers that ask the container ----------------------------------------------

TEST(ContainerSpecifiers, DescriptionsByTheKindOfContainer) {
  fw::TComponent owner(nullptr);
  TpsContainerDestDir specifier(&owner);
  auto* object = new TPathObject(&owner);
  EXPECT_EQ(specifier.GetObjectCaption(object), "Path of the group (container)");
  EXPECT_EQ(specifier.GetObjectDescription(&owner), "Path of the group (container)");

  auto* group = new TInstallGroup(&owner);
  group->SetDescription("Tools");
  object->SetContainer(group);
  EXPECT_EQ(specifier.GetObjectDescription(object), "Path of the <Tools> group");
  EXPECT_EQ(specifier.GetObjectCaption(object), "<Tools>");
  auto* directory = new TInstallDirectory(&owner);
  directory->SetDescription("Help files");
  object->SetContainer(directory);
  EXPECT_EQ(specifier.GetObjectDescription(object), "Path of the <Help files> directory");
  EXPECT_EQ(specifier.GetObjectCaption(object), "<Help files>");
  auto* plain = new TPathObject(&owner);
  plain->SetName("Plain");
  object->SetContainer(plain);
  EXPECT_EQ(specifier.GetObjectDescription(object), "Path of the <Plain> group");
  EXPECT_EQ(specifier.GetObjectCaption(object), "<Plain>");
  TPathEngine engine(&owner);
  object->SetContainer(&engine);
  EXPECT_EQ(specifier.GetObjectDescription(object), "Main installation directory");
  EXPECT_EQ(specifier.GetObjectCaption(object), "Main installation directory");
}

TEST(ContainerSpecifiers, ArchiveFileOnlyFromAFileRelatedContainer) {
  fw::TComponent owner(nullptr);
  TpsContainerArchiveFile specifier(&owner);
  auto* object = new TPathObject(&owner);
  object->SetName("Data");
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { specifier.GetPath(&owner); }),
            " must be a TInstallObject to use the psContainerArchiveFile path specifier");
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { specifier.GetPath(object); }),
            "Cannot use ddContainerArchiveFile for Data unless you assign a Container");
  object->SetContainer(new TPathObject(&owner));
  EXPECT_EQ(ErrorText<IEPathSpecifier>([&] { specifier.GetPath(object); }),
            "Cannot use the ddContainerArchiveFile path specifier for Data because the Container is not a "
            "TFileRelated descendant");
  auto* directory = new TInstallDirectory(&owner);
  directory->SetArchiveFile("D:\\Disk1\\files.1\\");
  object->SetContainer(directory);
  EXPECT_EQ(specifier.GetPath(object), "D:\\Disk1\\files.1");
}

// --- the user's own specifier --------------------------------------------------------

class TSpecifierForm : public fw::TForm {
  FW_CLASS(TSpecifierForm, fw::TForm)
 public:
  using fw::TForm::TForm;
  void AppPath(fw::TComponent* Component, std::string& Path) {
    Path = "C:\\Apps\\" + (Component != nullptr ? Component->Name() : std::string("none"));
  }
};
const fw::TClass& TSpecifierForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TSpecifierForm>().Creatable().Method("AppPath", &TSpecifierForm::AppPath);
  return cls;
}

TEST(UserSpecifier, ConfiguredByAFormAndAnsweredByItsEvent) {
  fw::TOwnedPtr<TSpecifierForm> form(new TSpecifierForm(nullptr));
  fw::ReadComponentFromText(form.get(), R"(object Setup: TSpecifierForm
  object psApps: TPathSpecifier
    Description = 'Application folder'
    OnGetPath = AppPath
  end
  object psWin: TpsWindow
  end
end
)",
                            "TSPECIFIERFORM");
  auto* apps = dynamic_cast<TPathSpecifier*>(form->FindComponent("psApps"));
  ASSERT_NE(apps, nullptr);
  EXPECT_EQ(apps->GetDescription(), "Application folder");
  EXPECT_EQ(apps->GetCaption(), "Application folder");
  EXPECT_EQ(apps->GetPath(form.get()), "C:\\Apps\\Setup");
  EXPECT_NE(dynamic_cast<TpsWindow*>(form->FindComponent("psWin")), nullptr);
}

}  // namespace
