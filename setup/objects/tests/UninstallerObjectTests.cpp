// The uninstaller object as a configuration describes it: every property an installed
// file publishes, its place in the tree and its net location.
#include <gtest/gtest.h>

#include <string>

#include "core/ClassDef.h"
#include "core/FormReader.h"
#include "gui/Forms.h"
#include "objects/InstallFile.h"
#include "objects/NetInstallLocation.h"
#include "objects/UninstallEXE.h"

using namespace setup;

namespace {

// A net install location as a form names it.
class TUninstallerMirror : public fw::TComponent, public INetInstallLocation {
  FW_CLASS(TUninstallerMirror, fw::TComponent)
 public:
  using fw::TComponent::TComponent;
  bool LoginInformationUsable() const override { return true; }
  std::string Hostname() const override { return "mirror.example.com"; }
  std::string Directory() const override { return ""; }
  TNetProtocol Protocol() const override { return ipFTP; }
  void DownloadFile(const std::string&, const std::string&, const TDataReceivedEvent&) override {}
};

}  // namespace

const fw::TClass& TUninstallerMirror::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TUninstallerMirror>().Creatable();
  return cls;
}

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
  if (fw::GetClass("TUninstallerMirror") == nullptr) fw::RegisterClasses({&TUninstallerMirror::StaticClass()});
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  // A stored state is no operation to run while the tree is read.
  fw::ReadComponentFromText(form.get(), R"(object Setup: TForm
  object Mirror: TUninstallerMirror
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
