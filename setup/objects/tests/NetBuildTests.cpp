// Net archives in the build, and the net install location as a property that forms name.
#include <gtest/gtest.h>

#include <algorithm>

#include "FileTestSupport.h"
#include "ObjectTestSupport.h"
#include "archive/QnlkCompress.h"
#include "core/ClassDef.h"
#include "core/FormReader.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/InstallLists.h"
#include "objects/NetInstallLocation.h"
#include "support/Registry.h"

using namespace setup;
using namespace setup::testing;

namespace {

class TNetForm : public fw::TForm {
  FW_CLASS(TNetForm, fw::TForm)
 public:
  using fw::TForm::TForm;
};
const fw::TClass& TNetForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TNetForm>().Creatable();
  return cls;
}

TEST(NetLocationProperty, FormsNameTheLocationAndItsRemovalClearsIt) {
  RegisterMirrorClass();
  fw::TOwnedPtr<TNetForm> form(new TNetForm(nullptr));
  fw::ReadComponentFromText(form.get(), R"(object Setup: TNetForm
  object Mirror: TMirror
  end
  object Dir: TInstallDirectory
    NetLocation = Mirror
  end
  object F: TInstallFile
    Container = Dir
    FileName = 'a.txt'
    NetLocation = Mirror
  end
end
)",
                            "TNETFORM");
  auto* mirror = dynamic_cast<TMirror*>(form->FindComponent("Mirror"));
  auto* dir = dynamic_cast<TInstallDirectory*>(form->FindComponent("Dir"));
  auto* file = dynamic_cast<TInstallFile*>(form->FindComponent("F"));
  ASSERT_TRUE(mirror != nullptr && dir != nullptr && file != nullptr);
  EXPECT_EQ(dir->NetLocation(), static_cast<INetInstallLocation*>(mirror));
  EXPECT_EQ(file->NetLocation(), static_cast<INetInstallLocation*>(mirror));
  EXPECT_EQ(dir->NetLocationComponent(), mirror);
  EXPECT_EQ(dir->GetNetPath(), "mirror.example.com\\FTP Root directory");

  // A component that is no location is refused; the old one stays.
  fw::TComponent plain(nullptr);
  plain.SetName("Plain");
  try {
    dir->SetNetLocationComponent(&plain);
    ADD_FAILURE();
  } catch (const IEFileRelated& e) {
    EXPECT_EQ(e.Message(), "Dir cannot take Plain as its NetLocation: it is no net install location");
  }
  EXPECT_EQ(dir->NetLocationComponent(), mirror);

  delete mirror;
  EXPECT_EQ(dir->NetLocation(), nullptr);
  EXPECT_EQ(dir->NetLocationComponent(), nullptr);
  EXPECT_EQ(file->NetLocation(), nullptr);
}

// The names of the files an archive holds, without their folders, sorted.
std::vector<std::string> ArchivedNames(const std::string& Archive) {
  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Archive);
  reader.ReadHeaders();
  std::vector<std::string> names;
  for (int i = 0; i < reader.Headers().GetCount(); ++i) {
    std::string name = reader.Headers()[i].Name();
    names.push_back(name.substr(name.find_last_of('\\') + 1));
  }
  std::sort(names.begin(), names.end());
  return names;
}

class NetBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string source = Scratch.Folder("src");
    Build = Scratch.Folder("build");
    NetFolder = Build + "\\mirror.example.com\\FTP Root directory";
    Dir = new TInstallDirectory(Form.get());
    Dir->SetName("Docs");
    Dir->SetArchiveFileType(nullptr);
    Dir->SetArchiveFile(Build + "\\files.1");
    for (const char* name : {"net.txt", "local.txt", "dated.txt"}) WriteFile(source + "\\" + name, name);
    Net = new TInstallFile(Form.get(), Dir, source + "\\net.txt");
    Net->SetName("NetText");
    Net->SetNet(true);
    Local = new TInstallFile(Form.get(), Dir, source + "\\local.txt");
    Local->SetName("LocalText");
    Dated = new TInstallFile(Form.get(), Dir, source + "\\dated.txt");
    Dated->SetName("DatedText");
    Dated->SetNet(true);
    Dated->SetOverwriteMode(owDate);  // an archive of its own
  }

  TScratchFolder Scratch{"netbuild"};
  fw::TOwnedPtr<TNetForm> Form{new TNetForm(nullptr)};  // brings the standard specifiers
  TMirror Mirror{nullptr};
  TInstallDirectory* Dir = nullptr;
  TInstallFile *Net = nullptr, *Local = nullptr, *Dated = nullptr;
  std::string Build, NetFolder;
};

TEST_F(NetBuild, NetFilesGoIntoTheNetArchivesBelowTheMirrorFolder) {
  EXPECT_THROW(Dir->Compress(0), IEFileRelated);  // no location to name the net folder
  Dir->SetNetLocation(&Mirror);
  std::string savedArchive = Net->ArchiveFile();
  Dir->Compress(0);
  EXPECT_EQ(Dir->NetArchivePath(), NetFolder + "\\Docs.1");
  EXPECT_EQ(ArchivedNames(NetFolder + "\\Docs.1"), std::vector<std::string>{"net.txt"});
  EXPECT_EQ(ArchivedNames(NetFolder + "\\DatedText.1"), std::vector<std::string>{"dated.txt"});
  EXPECT_EQ(ArchivedNames(Build + "\\files.1"), std::vector<std::string>{"local.txt"});
  EXPECT_TRUE(Net->CompressInfo().NetFlag);
  EXPECT_TRUE(Dated->CompressInfo().NetFlag);
  EXPECT_FALSE(Local->CompressInfo().NetFlag);
  EXPECT_EQ(Net->CompressInfo().Archive, NetFolder + "\\Docs.1");
  // The files' own archive properties are theirs again.
  EXPECT_EQ(Net->ArchiveFile(), savedArchive);

  // Every file is a net file with option 16; none is with option 8.
  Dir->Compress(coForceFilesNet);
  EXPECT_EQ(ArchivedNames(NetFolder + "\\Docs.1"), (std::vector<std::string>{"local.txt", "net.txt"}));
  EXPECT_TRUE(Local->CompressInfo().NetFlag);
  Dir->Compress(coForceNetFilesLocal);
  EXPECT_EQ(ArchivedNames(Build + "\\files.1"), (std::vector<std::string>{"dated.txt", "local.txt", "net.txt"}));
  EXPECT_FALSE(Net->CompressInfo().NetFlag);
}

TEST_F(NetBuild, ARebuiltNetArchiveLosesTheVolumesOfTheOldOne) {
  Dir->SetNetLocation(&Mirror);
  Dir->Compress(0);
  WriteFile(NetFolder + "\\Docs.2", "old volume");
  WriteFile(NetFolder + "\\Docs.3", "old volume");
  WriteFile(NetFolder + "\\Docs.5", "not a volume of the set");
  Dir->Compress(0);
  // Made anew: the file once, not added a second time.
  EXPECT_EQ(ArchivedNames(NetFolder + "\\Docs.1"), std::vector<std::string>{"net.txt"});
  EXPECT_FALSE(Exists(NetFolder + "\\Docs.2"));
  EXPECT_FALSE(Exists(NetFolder + "\\Docs.3"));
  EXPECT_TRUE(Exists(NetFolder + "\\Docs.5"));
  // A file's own net archive is made anew as well.
  EXPECT_EQ(ArchivedNames(NetFolder + "\\DatedText.1"), std::vector<std::string>{"dated.txt"});
  WriteFile(NetFolder + "\\DatedText.2", "old volume");
  Dir->Compress(0);
  EXPECT_FALSE(Exists(NetFolder + "\\DatedText.2"));
}

TEST_F(NetBuild, TheBuildLeavesADownloadedArchiveAlone) {
  *InstallRecordKey() = "\\SOFTWARE\\URQ\\Install\\NetBuild" + std::to_string(GetCurrentProcessId());
  std::string downloaded = Scratch / "downloaded.1";
  WriteFile(downloaded, "downloaded");
  Dir->SaveLocalArchiveFile(downloaded);
  Dir->SetLocalArchivePath(downloaded);  // as loading finds it
  // Without a location, option 8 builds everything into the ordinary archive.
  Dir->Compress(coForceNetFilesLocal);
  EXPECT_EQ(ReadFile(downloaded), "downloaded");
  EXPECT_EQ(Dir->LocalArchivePath(), downloaded);
  EXPECT_EQ(Dir->NetArchivePath(), "");
  // With one, the net archive is made beside the build, not in the downloaded file.
  Dir->SetNetLocation(&Mirror);
  Dir->Compress(0);
  EXPECT_EQ(ReadFile(downloaded), "downloaded");
  EXPECT_EQ(Dir->LocalArchivePath(), downloaded);
  // Even a downloaded archive that stands where the build's would is not deleted.
  Dir->SaveLocalArchiveFile(NetFolder + "\\Docs.1");
  Dir->Compress(coForceNetFilesLocal);
  EXPECT_EQ(ArchivedNames(NetFolder + "\\Docs.1"), std::vector<std::string>{"net.txt"});
  DeleteRegKeyTree(hkLocalMachine, *InstallRecordKey());
  InstallRecordKey()->clear();
}

}  // namespace
