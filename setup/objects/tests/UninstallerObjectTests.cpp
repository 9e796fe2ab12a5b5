// The uninstaller object as a configuration describes it: every property an installed
// file publishes, its place in the tree and its net location.
#include <gtest/gtest.h>

#include <string>

#include "ObjectTestSupport.h"
#include "core/ClassDef.h"
#include "core/FormReader.h"
#include "gui/Forms.h"
#include "objects/InstallFile.h"
#include "objects/UninstallEXE.h"

using namespace setup;
using namespace setup::testing;

namespace {

TEST(UninstallerObject, PublishesWhatAnInstalledFilePublishesAndItsOrderAndState) {
  const fw::TClass& uninstaller = TUninstallEXE::StaticClass();
  for (const fw::TPropInfo* property : TInstallFile::StaticClass().Properties()) {
    const fw::TPropInfo* own = uninstaller.FindProperty(property->Name);
    ASSERT_NE(own, nullptr) << property->Name;
    EXPECT_EQ(own->Kind, property->Kind) << property->Name;
    EXPECT_FALSE(own->ReadOnly()) << property->Name;
  }
  for (const char* name : {"Order", "State"}) {
    ASSERT_NE(uninstaller.FindProperty(name), nullptr) << name;
    EXPECT_FALSE(uninstaller.FindProperty(name)->ReadOnly()) << name;
  }
}

TEST(UninstallerObject, AConfigurationSetsEachOfItsProperties) {
  RegisterMirrorClass();
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  // A stored state is no operation to run while the tree is read.
  fw::ReadComponentFromText(form.get(), R"(object Setup: TForm
  object Mirror: TMirror
  end
  object ifUninstallEXE: TUninstallEXE
    NetLocation = Mirror
    Order = -1
    Net = False
    IncludeFromDir = 'C:\Stavrel\Sample'
    FileName = 'uninstall.exe'
    DestName = 'uninstall.exe'
    State = ifsInstall
  end
end
)",
                            "TFORM");
  auto* uninstaller = dynamic_cast<TUninstallEXE*>(form->FindComponent("ifUninstallEXE"));
  ASSERT_NE(uninstaller, nullptr);
  EXPECT_EQ(uninstaller->NetLocationComponent(), form->FindComponent("Mirror"));
  EXPECT_EQ(uninstaller->Order(), -1);
  EXPECT_FALSE(uninstaller->Net());
  EXPECT_EQ(uninstaller->IncludeFromDir(), "C:\\Stavrel\\Sample");
  EXPECT_EQ(uninstaller->FileName(), "uninstall.exe");
  EXPECT_EQ(uninstaller->DestName(), "uninstall.exe");
  EXPECT_EQ(uninstaller->State(), ifsNone);
  EXPECT_FALSE(uninstaller->Done());

  // Net is set at creation when the configuration says nothing.
  EXPECT_TRUE((new TUninstallEXE(form.get()))->Net());
}

}  // namespace
