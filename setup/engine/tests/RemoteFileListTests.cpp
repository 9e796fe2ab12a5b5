// The remote file list of a net distribution: written by the build for the files it
// packed, read back into the install files, fetched from a real HTTP server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <set>
#include <vector>

#include "Files.h"
#include "NetTestServers.h"
#include "RaisedMessage.h"
#include "engine/RemoteFileList.h"
#include "gui/WinHandles.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "support/FileListFormat.h"
#include "support/NetInstallLocation.h"

using namespace setup;
using testing::HasSubstr;

namespace {

using testsupport::MessageOf;

// Install files named Names, each with size, date and version of its own; the first
// Packed of them marked as packed by this build.
class RemoteFileList : public testing::Test {
 protected:
  void AddFiles(const std::vector<std::string>& Names, size_t Packed) {
    for (size_t i = 0; i < Names.size(); ++i) {
      auto* file = new TInstallFile(&Owner);
      file->SetName(Names[i]);
      file->ApplyRemoteFileInfo(static_cast<int32_t>(100 * (i + 1)), 40000.0 + static_cast<double>(i),
                                "1.0." + std::to_string(i));
      if (i < Packed) file->CompressInfo().Compressed = i % 2 == 0 ? 2 : 1;
      Files.push_back(file);
    }
  }
  // Every file forgets what it knew.
  void ClearFiles() {
    for (TInstallFile* file : Files) file->ApplyRemoteFileInfo(0, 0, "");
  }

  fw::TComponent Owner{nullptr};
  std::vector<TInstallFile*> Files;
  testsupport::TScratchFolder Scratch{"remotelist"};
};

// The temporary folder's files, to see that nothing is left behind.
// The files in the temporary folder now (other programs may add or remove theirs).
std::set<std::string> TemporaryFiles() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::set<std::string> names;
  WIN32_FIND_DATAA data;
  fw::TFindHandle find(FindFirstFileA((std::string(temp) + "*").c_str(), &data));
  if (!find) return names;
  do
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.insert(data.cFileName);
  while (FindNextFileA(find.Get(), &data));
  return names;
}

// The temporary files that came since Before.
std::vector<std::string> NewTemporaryFiles(const std::set<std::string>& Before) {
  std::vector<std::string> added;
  for (const std::string& name : TemporaryFiles())
    if (Before.count(name) == 0) added.push_back(name);
  return added;
}

}  // namespace

TEST_F(RemoteFileList, TheBuildListsThePackedFilesInOrderAndTheyReadBack) {
  AddFiles({"MainProgram", "HelpFile", "Readme", "NotPacked"}, 3);
  std::string mirror = Scratch / "build\\files.example\\updates";
  WriteFileList(mirror);
  std::string bytes = testsupport::ReadFile(mirror + "\\filelist.lst");
  ASSERT_EQ(bytes.size(), 4u + 3 * 80);
  EXPECT_EQ(bytes.substr(0, 4), std::string("\x03\0\0\0", 4));
  EXPECT_EQ(bytes.substr(4, 80), EncodeFileListRecord({100, 40000.0, "MainProgram", "1.0.0"}));
  EXPECT_EQ(DecodeFileListRecord(bytes.data() + 4 + 160).Name, "Readme");

  ClearFiles();
  ApplyRemoteFileListFile(mirror + "\\filelist.lst");
  EXPECT_EQ(Files[1]->UncompressedSize(), 200);
  EXPECT_EQ(Files[1]->FileDate(), 40001.0);
  EXPECT_EQ(Files[1]->FileVersion(), "1.0.1");
  EXPECT_EQ(Files[3]->UncompressedSize(), 0) << "a file the list does not name keeps what it had";

  // A second build replaces the list.
  Files[3]->CompressInfo().Compressed = 2;
  WriteFileList(mirror);
  EXPECT_EQ(testsupport::ReadFile(mirror + "\\filelist.lst").size(), 4u + 4 * 80);
}

TEST_F(RemoteFileList, AnEntryGoesToTheFirstFileOfItsNameWhateverTheCase) {
  AddFiles({"Second", "Target"}, 0);
  // A file of the same name on another form.
  fw::TComponent otherForm(nullptr);
  auto* sameName = new TInstallFile(&otherForm);
  sameName->SetName("target");
  Files.push_back(sameName);
  ClearFiles();
  ApplyRemoteFileEntryToFiles("TARGET", std::string(24, '7'), 77, 12.5);
  EXPECT_EQ(Files[1]->UncompressedSize(), 77);
  EXPECT_EQ(Files[1]->FileDate(), 12.5);
  EXPECT_EQ(Files[1]->FileVersion(), std::string(20, '7'));
  EXPECT_EQ(Files[2]->UncompressedSize(), 0);
  ApplyRemoteFileEntryToFiles("Nobody", "1", 5, 5);
  EXPECT_EQ(Files[0]->UncompressedSize(), 0);
}

TEST_F(RemoteFileList, AListCutShortIsReportedWithTheRecordsBeforeItApplied) {
  AddFiles({"First", "Second"}, 0);
  ClearFiles();
  std::string list = Scratch / "filelist.lst";
  testsupport::WriteFile(list, EncodeFileListCount(2) + EncodeFileListRecord({11, 1, "First", "1"}) +
                                   EncodeFileListRecord({22, 2, "Second", "2"}).substr(0, 40));
  EXPECT_EQ(MessageOf<IEInstall>([&] { ApplyRemoteFileListFile(list); }),
            "Cannot read the remote list of files: " + list);
  EXPECT_EQ(Files[0]->UncompressedSize(), 11);
  EXPECT_EQ(Files[1]->UncompressedSize(), 0);
  testsupport::WriteFile(list, "\x01");
  EXPECT_THROW(ApplyRemoteFileListFile(list), IEInstall);
}

TEST_F(RemoteFileList, TheListComesFromTheNetLocationAndLeavesNoTemporaryFile) {
  EXPECT_THAT(MessageOf<IEInstall>([] { FetchRemoteFileListFrom(nullptr); }), HasSubstr("NetLocation"));

  AddFiles({"Archive1", "Archive2"}, 2);
  benchsupport::TNetTestServers& servers = benchsupport::SharedServers();
  WriteFileList(servers.Root() + "\\updates\\vx4cs");
  ClearFiles();
  TNetInstallLocation location(nullptr);
  location.LoginInformation()->SetHostname("127.0.0.1");
  location.LoginInformation()->SetDirectory("updates/vx4cs");
  location.SetServerPort(servers.HttpPort());
  const std::set<std::string> before = TemporaryFiles();
  FetchRemoteFileListFrom(&location);
  EXPECT_EQ(Files[0]->UncompressedSize(), 100);
  EXPECT_EQ(Files[1]->FileVersion(), "1.0.1");
  EXPECT_TRUE(NewTemporaryFiles(before).empty());

  // A cancel ends the run as the user's abort; a missing list is the location's error.
  ClearFiles();
  location.OnDataReceived = [](fw::TObject*, const std::string&, int, int, int, const char*) {
    SetNetDownloadAbort(true);
  };
  EXPECT_THROW(FetchRemoteFileListFrom(&location), EAIUserAbort);
  EXPECT_EQ(Files[0]->UncompressedSize(), 0);
  location.OnDataReceived = nullptr;
  location.LoginInformation()->SetDirectory("elsewhere");
  EXPECT_THROW(FetchRemoteFileListFrom(&location), ENIL_FileNotFound);
  EXPECT_TRUE(NewTemporaryFiles(before).empty());
}
