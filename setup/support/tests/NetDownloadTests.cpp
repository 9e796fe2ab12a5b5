// Downloads through Wine's real internet library from real HTTP and FTP servers on
// 127.0.0.1: several files with their events, missing files and server errors, a cancel,
// a connection that breaks mid-file, a refused login.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Files.h"
#include "NetTestServers.h"
#include "RaisedMessage.h"
#include "gui/WinHandles.h"
#include "support/NetInstallLocation.h"

using namespace setup;
using testing::HasSubstr;
using benchsupport::PatternBytes;
using benchsupport::SharedServers;

namespace {

// A location on the shared servers that writes down what its events tell.
class TRecordingLocation {
 public:
  TRecordingLocation(TInternetProtocol Protocol, const std::string& Directory) : FLocation(nullptr) {
    TLoginInformation* login = FLocation.LoginInformation();
    login->SetHostname("127.0.0.1");
    login->SetProtocol(Protocol);
    login->SetDirectory(Directory);
    FLocation.SetServerPort(Protocol == ipFTP ? SharedServers().FtpPort() : SharedServers().HttpPort());
    FLocation.OnBeforeLogin = [this](fw::TObject*) { Events.push_back("before login"); };
    FLocation.OnAfterLogin = [this](fw::TObject*) { Events.push_back("after login"); };
    FLocation.OnBeforeDownload = [this](fw::TObject*) { Events.push_back("before download"); };
    FLocation.OnDataReceived = [this](fw::TObject*, const std::string& Name, int Bytes, int Total, int Size,
                                      const char*) {
      Events.push_back("data " + Name);
      Blocks.push_back(Bytes);
      Totals.push_back(Total);
      Sizes.push_back(Size);
      if (CancelAtTotal > 0 && Total >= CancelAtTotal) SetNetDownloadAbort(true);
    };
    FLocation.OnAfterDownload = [this](fw::TObject*, bool Aborted) {
      Events.push_back(Aborted ? "after download (aborted)" : "after download");
    };
  }
  TNetInstallLocation& operator*() { return FLocation; }
  TNetInstallLocation* operator->() { return &FLocation; }
  void Clear() {
    Events.clear();
    Blocks.clear();
    Totals.clear();
    Sizes.clear();
  }

  std::vector<std::string> Events;
  std::vector<int> Blocks, Totals, Sizes;
  int CancelAtTotal = 0;

 private:
  TNetInstallLocation FLocation;
};

// Events of a download of Name that took Blocks data blocks, without the login.
std::vector<std::string> DownloadEvents(const std::string& Name, size_t Blocks, bool Aborted = false) {
  std::vector<std::string> events{"before download"};
  events.insert(events.end(), Blocks, "data " + Name);
  events.push_back(Aborted ? "after download (aborted)" : "after download");
  return events;
}

std::vector<std::string> WithLogin(std::vector<std::string> Events) {
  Events.insert(Events.begin(), {"before login", "after login"});
  return Events;
}

using testsupport::MessageOf;

class NetDownload : public testing::TestWithParam<TInternetProtocol> {
 protected:
  static void SetUpTestSuite() {
    auto& servers = SharedServers();
    servers.Put("updates\\vx4cs\\small.1", PatternBytes(1000, 1));
    servers.Put("updates\\vx4cs\\exact.1", PatternBytes(2 * kNetBlockSize, 2));
    servers.Put("updates\\vx4cs\\large.1", PatternBytes(300000, 3));
    servers.Put("updates\\vx4cs\\empty.1", "");
    servers.Put("updates\\vx4cs\\huge.1", PatternBytes(5 << 20, 5));
    servers.Put("top.1", PatternBytes(5000, 4));
  }
  testsupport::TScratchFolder Local{"netdownload"};
};

}  // namespace

TEST_P(NetDownload, SeveralFilesOverOneConnectionWithTheirEvents) {
  TRecordingLocation location(GetParam(), "updates\\vx4cs");
  location->Download("small.1", Local / "small.1");
  EXPECT_EQ(location.Events, WithLogin(DownloadEvents("small.1", 1)));
  EXPECT_EQ(testsupport::ReadFile(Local / "small.1"), PatternBytes(1000, 1));
  EXPECT_EQ(ActiveNetLocation(), &*location);

  location.Clear();
  location->Download("large.1", Local / "large.1");
  // The connection (and the FTP folder) stays: no second login.
  ASSERT_EQ(location.Events.front(), "before download");
  EXPECT_EQ(location.Events.back(), "after download");
  EXPECT_EQ(testsupport::ReadFile(Local / "large.1"), PatternBytes(300000, 3));
  int sum = 0;
  for (size_t i = 0; i < location.Blocks.size(); ++i) {
    EXPECT_GT(location.Blocks[i], 0);
    EXPECT_LE(location.Blocks[i], kNetBlockSize);
    sum += location.Blocks[i];
    EXPECT_EQ(location.Totals[i], sum);
    EXPECT_EQ(location.Sizes[i], 300000) << "the size is the whole file's, from the start";
  }
  EXPECT_EQ(sum, 300000);

  location.Clear();
  location->Download("exact.1", Local / "exact.1");
  EXPECT_EQ(testsupport::ReadFile(Local / "exact.1"), PatternBytes(2 * kNetBlockSize, 2));
}

TEST_P(NetDownload, AnEmptyFolderIsTheServersRootAndAnExistingFileIsReplaced) {
  TRecordingLocation location(GetParam(), "");
  testsupport::WriteFile(Local / "top.1", std::string(20000, 'x'));
  location->Download("top.1", Local / "top.1");
  EXPECT_EQ(testsupport::ReadFile(Local / "top.1"), PatternBytes(5000, 4));
}

TEST_P(NetDownload, AMissingOrEmptyFileLeavesNothingAndTheNextDownloadWorks) {
  TRecordingLocation location(GetParam(), "updates/vx4cs");
  if (GetParam() == ipHTTP) {
    EXPECT_THAT(MessageOf<ENIL_FileNotFound>([&] { location->Download("missing.1", Local / "missing.1"); }),
                HasSubstr("Could not find the file missing.1 on the server. Error message "));
  } else {
    EXPECT_THAT(MessageOf<ENIL_FTPOpenFile>([&] { location->Download("missing.1", Local / "missing.1"); }),
                HasSubstr("Cannot open file missing.1 on server. Error message "));
  }
  EXPECT_FALSE(testsupport::FileExists(Local / "missing.1"));
  EXPECT_THAT(MessageOf<ENIL_FileNotFound>([&] { location->Download("empty.1", Local / "empty.1"); }),
              HasSubstr("Could not find the file empty.1 on the server"));
  EXPECT_FALSE(testsupport::FileExists(Local / "empty.1"));
  EXPECT_EQ(std::count(location.Events.begin(), location.Events.end(), std::string("after download")), 0)
      << "a failure passes OnAfterDownload by";

  location->Download("small.1", Local / "small.1");
  EXPECT_EQ(testsupport::ReadFile(Local / "small.1"), PatternBytes(1000, 1));
}

TEST_P(NetDownload, ACancelInTheSecondBlockDeletesThePartialFileAndEndsAsUserAbort) {
  TRecordingLocation location(GetParam(), "updates/vx4cs");
  location.CancelAtTotal = kNetBlockSize + 1;
  EXPECT_THROW(location->Download("large.1", Local / "large.1"), EAIUserAbort);
  EXPECT_FALSE(testsupport::FileExists(Local / "large.1"));
  EXPECT_EQ(location.Events.back(), "after download (aborted)");
  EXPECT_LE(location.Blocks.size(), 3u) << "the download stops at the block that saw the cancel";
  EXPECT_TRUE(NetDownloadAbort());

  // A new download clears the flag.
  location.CancelAtTotal = 0;
  location.Clear();
  location->Download("small.1", Local / "small.1");
  EXPECT_FALSE(NetDownloadAbort());
  EXPECT_EQ(testsupport::ReadFile(Local / "small.1"), PatternBytes(1000, 1));
}

// Past the first megabyte a thread writes the local file while the blocks arrive.
TEST_P(NetDownload, ACancelWhileTheFileIsWrittenDeletesIt) {
  TRecordingLocation location(GetParam(), "updates/vx4cs");
  location.CancelAtTotal = (5 << 20) / 2;
  EXPECT_THROW(location->Download("huge.1", Local / "huge.1"), EAIUserAbort);
  EXPECT_FALSE(testsupport::FileExists(Local / "huge.1"));

  location.CancelAtTotal = 0;
  location->Download("huge.1", Local / "huge.1");
  EXPECT_EQ(testsupport::ReadFile(Local / "huge.1"), PatternBytes(5 << 20, 5));
}

TEST_P(NetDownload, TheFileObjectsGetTheProgressThroughTheInterface) {
  TRecordingLocation location(GetParam(), "updates/vx4cs");
  INetInstallLocation& source = *location;
  std::vector<std::string> order;
  location->OnDataReceived = [&](fw::TObject*, const std::string&, int, int, int, const char*) {
    order.push_back("location");
  };
  int forwarded = 0;
  source.DownloadFile("exact.1", Local / "exact.1",
                      [&](fw::TObject* Sender, const std::string& Name, int Bytes, int Total, int Size, const char*) {
                        EXPECT_EQ(Sender, &*location);
                        EXPECT_EQ(Name, "exact.1");
                        EXPECT_EQ(Size, 2 * kNetBlockSize);
                        forwarded += Bytes;
                        order.push_back("file object");
                      });
  EXPECT_EQ(forwarded, 2 * kNetBlockSize);
  ASSERT_GE(order.size(), 2u);
  EXPECT_EQ(order[0], "location");
  EXPECT_EQ(order[1], "file object");
  EXPECT_FALSE(location->OnDataReceived2) << "the forwarding ends with the download";
}

INSTANTIATE_TEST_SUITE_P(Servers, NetDownload, testing::Values(ipHTTP, ipFTP),
                         [](const auto& info) { return info.param == ipFTP ? "FTP" : "HTTP"; });

TEST(NetDownloadHttp, ServerErrorsAndErrorPagesLeaveNoFile) {
  testsupport::TScratchFolder local("nethttp");
  TRecordingLocation location(ipHTTP, "");
  SharedServers().Put("whole.1", PatternBytes(100000, 5));
  EXPECT_THAT(MessageOf<ENIL_FileNotFound>([&] { location->Download("status/404/x.1", local / "x.1"); }),
              HasSubstr("Could not find the file status/404/x.1 on the server. Error message "));
  EXPECT_THAT(MessageOf<ENIL_ReadFile>([&] { location->Download("status/500/x.1", local / "x.1"); }),
              HasSubstr("Could not read from file status/500/x.1 on the server. Error message "));
  // A server that answers 200 with a page that says 404.
  EXPECT_THROW(location->Download("errorpage/x.1", local / "x.1"), ENIL_FileNotFound);
  // The server sends half of the announced file and closes the connection.
  EXPECT_THROW(location->Download("cut/whole.1", local / "x.1"), ENIL_ReadFile);
  EXPECT_FALSE(testsupport::FileExists(local / "x.1"));
  EXPECT_THAT(MessageOf<ENIL>([&] { location->Download("status/503/x.1", local / "x.1"); }),
              HasSubstr(". Server 127.0.0.1. Response from server "));

  location->Download("whole.1", local / "whole.1");
  EXPECT_EQ(testsupport::ReadFile(local / "whole.1"), PatternBytes(100000, 5));
}

// The object asked for is "/", the folder in forward slashes, one "/" and the name.
TEST(NetDownloadHttp, TheRequestNamesTheFolderAndTheFileWithSlashes) {
  testsupport::TScratchFolder local("nethttp");
  SharedServers().Put("paths\\one\\p.1", "p");
  SharedServers().Put("p.1", "p");
  for (const char* directory : {"paths/one", "paths\\one", "paths\\one\\", ""}) {
    TRecordingLocation location(ipHTTP, directory);
    location->Download("p.1", local / "p.1");
    EXPECT_EQ(SharedServers().HttpRequests().back(), *directory != '\0' ? "/paths/one/p.1" : "/p.1") << directory;
  }
}

// The local file is the writing end of a pipe whose reader goes at the first block: every
// write fails, whether the last piece is written at the end or a thread writes as the
// blocks arrive.
TEST(NetDownloadHttp, ALocalFileThatRefusesWritesEndsTheDownloadWithTheError) {
  testsupport::TScratchFolder local("nethttp");
  SharedServers().Put("one.1", PatternBytes(20000, 7));
  SharedServers().Put("many.1", PatternBytes(3 << 20, 8));
  for (const std::string name : {"one.1", "many.1"}) {
    SCOPED_TRACE(name);
    const std::string pipe = "\\\\.\\pipe\\netdownload-" + std::to_string(GetCurrentProcessId());
    fw::TFileHandle reader(CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, 1, 0, 4096, 0, nullptr));
    ASSERT_TRUE(reader);
    TRecordingLocation location(ipHTTP, "");
    location->SetName("NetSource");
    location->OnDataReceived = [&](fw::TObject*, const std::string&, int, int, int, const char*) { reader.Reset(); };
    EXPECT_EQ(MessageOf<ENIL_WriteDestFile>([&] { location->Download(name, pipe); }),
              "NetSource could not write to the local dest file " + pipe);
    EXPECT_EQ(location.Events, (std::vector<std::string>{"before login", "after login", "before download"}));
    // The location goes on working.
    location->Download("one.1", local / "one.1");
  }
}

TEST(NetDownloadFtp, AccountsLogInAndARefusedLoginIsReported) {
  testsupport::TScratchFolder local("netftp");
  SharedServers().Put("updates\\vx4cs\\account.1", PatternBytes(3000, 6));
  TRecordingLocation location(ipFTP, "updates/vx4cs");
  location->LoginInformation()->SetAnonymous(false);
  location->LoginInformation()->SetUsername("tester");
  location->LoginInformation()->SetPassword("wrong");
  EXPECT_THAT(MessageOf<ENIL_OpenService>([&] { location->Download("account.1", local / "account.1"); }),
              HasSubstr("Cannot connect to host 127.0.0.1. Error message "));
  EXPECT_EQ(location.Events, (std::vector<std::string>{"before login"}));
  EXPECT_FALSE(testsupport::FileExists(local / "account.1"));

  location->LoginInformation()->SetPassword("secret");
  location->Download("account.1", local / "account.1");
  EXPECT_EQ(testsupport::ReadFile(local / "account.1"), PatternBytes(3000, 6));
}

TEST(NetDownloadFtp, AMissingFolderIsReportedAndTriedAgainOnTheNextDownload) {
  testsupport::TScratchFolder local("netftp");
  SharedServers().Put("updates\\vx4cs\\small.1", PatternBytes(1000, 1));
  TRecordingLocation location(ipFTP, "no/such/folder");
  EXPECT_THAT(MessageOf<ENIL_FTPSetDir>([&] { location->Download("small.1", local / "small.1"); }),
              HasSubstr("Cannot set directory on server to no/such/folder. Error message "));
  TLoginInformation fixed;
  fixed.Assign(location->LoginInformation());
  fixed.SetDirectory("updates\\vx4cs");
  location->SetLoginInformation(&fixed);
  location->Download("small.1", local / "small.1");
  EXPECT_EQ(testsupport::ReadFile(local / "small.1"), PatternBytes(1000, 1));
}
