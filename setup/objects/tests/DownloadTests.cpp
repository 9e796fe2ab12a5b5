#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "ObjectTestSupport.h"
#include "archive/QnlkCompress.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/InstallLists.h"
#include "objects/NetInstallLocation.h"
#include "support/Registry.h"

using namespace setup;
using namespace setup::testing;

namespace {

// A download source that writes part of the file, then finishes, fails or is cancelled.
class TFakeLocation : public INetInstallLocation {
 public:
  enum TEnding { Finish, Fail, Cancel } Ending = Finish;
  bool Usable = true;
  std::string Directory_;
  std::vector<std::string> Requested;

  bool LoginInformationUsable() const override { return Usable; }
  std::string Hostname() const override { return "mirror.example.com"; }
  std::string Directory() const override { return Directory_; }
  TNetProtocol Protocol() const override { return ipHTTP; }
  void DownloadFile(const std::string& RemoteName, const std::string& LocalPath,
                    const TDataReceivedEvent& OnData) override {
    Requested.push_back(RemoteName);
    WriteFile(LocalPath, "partial");
    OnData(nullptr, RemoteName, 7, 7, 14, nullptr);
    if (Ending == Fail) throw fw::Exception("connection lost");
    if (Ending == Cancel) SharedArchive()->SetAbort(true);
    std::ofstream(LocalPath, std::ios::binary | std::ios::app) << " archive";
  }
};

class Download : public ::testing::Test {
 protected:
  void SetUp() override {
    *InstallRecordKey() = "\\SOFTWARE\\URQ\\Install\\FileTest" + std::to_string(GetCurrentProcessId());
    Dir = new TInstallDirectory(&Owner);
    Dir->SetName("Docs");
    Dir->OnDataReceived = [this](fw::TObject*, const std::string& File, int, int Total, int Size, const char*) {
      Received.push_back(File + " " + std::to_string(Total) + "/" + std::to_string(Size));
    };
  }
  void TearDown() override {
    DeleteRegKeyTree(hkLocalMachine, *InstallRecordKey());
    InstallRecordKey()->clear();
    SharedArchive()->SetAbort(false);
  }
  std::string Message(const std::function<void()>& Action) {
    try {
      Action();
    } catch (const fw::Exception& e) {
      return e.Message();
    }
    return "no error";
  }

  fw::TComponent Owner{nullptr};
  TInstallDirectory* Dir = nullptr;
  TFakeLocation Location;
  std::vector<std::string> Received;
};

TEST_F(Download, AnArchiveIsFetchedOnceAndRemembered) {
  EXPECT_EQ(Message([&] { Dir->DownloadArchive(); }), "Could not find a net install location for Docs");
  Dir->SetNetLocation(&Location);
  Location.Usable = false;
  EXPECT_EQ(Message([&] { Dir->DownloadArchive(); }),
            "Docs could not install itself because the TNetLocation component's properties, in the NetLocation "
            "property, have not been filled in");
  Location.Usable = true;
  Dir->DownloadArchive();
  EXPECT_EQ(Location.Requested, std::vector<std::string>{"Docs.1"});
  EXPECT_EQ(Received, std::vector<std::string>{"Docs.1 7/14"});
  std::string local = Dir->LocalArchivePath();
  EXPECT_EQ(ReadFile(local), "partial archive");
  EXPECT_EQ(Dir->GetDownloadedArchivePath(), local);
  // A later run (a new object of the same name) finds it without a download.
  auto* again = new TInstallDirectory(&Owner);
  delete Dir;
  again->SetName("Docs");
  again->SetNetLocation(&Location);
  again->DownloadArchive();
  EXPECT_EQ(again->LocalArchivePath(), local);
  EXPECT_EQ(Location.Requested.size(), 1u);
  DeleteFileA(local.c_str());
  EXPECT_EQ(Message([&] { again->GetDownloadedArchivePath(); }),
            "Docs has not yet downloaded the archive file and therefore cannot retrieve the path of the archive file");
}

TEST_F(Download, AFailedOrCancelledDownloadLeavesNothingBehind) {
  Dir->SetNetLocation(&Location);
  for (auto ending : {TFakeLocation::Fail, TFakeLocation::Cancel}) {
    Location.Ending = ending;
    std::string before = Dir->LocalArchivePath();
    if (ending == TFakeLocation::Fail)
      EXPECT_EQ(Message([&] { Dir->DownloadArchive(); }), "connection lost");
    else
      EXPECT_THROW(Dir->DownloadArchive(), EAIUserAbort);
    EXPECT_EQ(Dir->LocalArchivePath(), "");
    EXPECT_FALSE(Dir->IsArchiveDownloaded());
    SharedArchive()->SetAbort(false);
  }
}

TEST_F(Download, TheNetPathNamesHostAndFolder) {
  Dir->SetNetLocation(&Location);
  EXPECT_EQ(Dir->GetNetPath(), "mirror.example.com\\HTTP Root directory");
  Location.Directory_ = " setup ";
  EXPECT_EQ(Dir->GetNetPath(), "mirror.example.com\\setup");
  // A file of the directory takes the directory's location.
  TInstallFile* file = new TInstallFile(&Owner);
  file->SetContainer(Dir);
  EXPECT_EQ(file->GetNetInstallLocation(), &Location);
  file->SetContainer(nullptr);
  EXPECT_EQ(file->GetNetInstallLocation(), nullptr);
}

}  // namespace
