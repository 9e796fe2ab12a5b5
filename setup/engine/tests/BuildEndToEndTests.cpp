// Builds of the sample product through the engine as switch b runs them: "BUILD.INF"
// beside the program names the build folder, every configured file lands in "files.1",
// the program in "setup.1", and the loader at the head of the setup unpacks and starts it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "BuildTestSupport.h"
#include "EngineFixture.h"
#include "NetTestServers.h"
#include "engine/FileDigest.h"
#include "engine/SelfExtractFile.h"
#include "support/NetInstallLocation.h"
#include "support/FileListFormat.h"

namespace setup::buildtests {
namespace {

using ::testing::HasSubstr;

// The files at the top of the sample product's folder, as the build made them.
std::vector<std::string> SampleFiles() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(BinaryFolder() + "\\..\\sample-product"))
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A configuration of the files (all from SourceFolder), the engine's own files.
std::string FileObjects(const std::vector<std::string>& Names, const std::string& SourceFolder) {
  std::string text;
  for (size_t i = 0; i < Names.size(); ++i)
    text += "  object File" + std::to_string(i) + ": TInstallFile\n    Container = MainInstall\n    FileName = '" +
            Names[i] + "'\n    DestName = '" + Names[i] + "'\n    IncludeFromDir = '" + SourceFolder +
            "'\n    ArchiveFileType = psContainerArchiveFile\n  end\n";
  return text;
}

class BuildEndToEnd : public setup::testing::EngineFixture {
 protected:
  BuildEndToEnd() {
    // The setup program of the build: the loader tests' installer stands in for it.
    fs::create_directories(Scratch / "tools");
    CopyFileA((BinaryFolder() + "\\loader_installer_probe.exe").c_str(), (Scratch / "tools\\bramset.exe").c_str(),
              FALSE);
    WriteFile(Scratch / "tools\\BUILD.INF", "  " + BuildDir + "  \r\n");
    setup::testing::TTestInstall::NextProgramFile() = Scratch / "tools\\bramset.exe";
    setup::testing::TTestInstall::NextArguments() = {"-b"};
  }
  std::string BuildDir = Scratch / "Setup Build";
  TLoaderLibrary Library{Scratch, ReadFile(BinaryFolder() + "\\QuenlarkLoadProgram.exe")};
};

TEST_F(BuildEndToEnd, TheSampleBuildsIntoASetupThatHoldsEveryFileAndStartsItsProgram) {
  const std::vector<std::string> files = SampleFiles();
  ASSERT_GE(files.size(), 10u);
  const double start = GetTickCount() / 1000.0;
  // An object left out of the installation by default still goes into the archive.
  std::string objects = FileObjects(files, fs::canonical(BinaryFolder() + "\\..\\sample-product").string());
  objects.insert(objects.find("Container = MainInstall\n") + 24, "    Include = False\n");
  Load(objects);
  const double seconds = GetTickCount() / 1000.0 - start;
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_EQ(Engine->Messages, std::vector<std::string>());
  RecordProperty("build_seconds", std::to_string(seconds));

  const std::string setupExe = BuildDir + "\\setup.exe";
  const TSelfExtractInfo info = ReadSelfExtractInfo(setupExe);
  EXPECT_EQ(ReadFile(setupExe).substr(info.Setup1First, info.Setup1Size()), ReadFile(BuildDir + "\\setup.1"));
  EXPECT_EQ(ExtractAll(setupExe, info.Setup1First, Scratch / "setup1"), std::vector<std::string>{"bramset.exe"});
  std::vector<std::string> archived = ExtractAll(setupExe, info.Files1First, Scratch / "files1");
  std::sort(archived.begin(), archived.end());
  EXPECT_EQ(archived, files);
  EXPECT_EQ(ReadFile(Scratch / "files1\\VX4.exe"), ReadFile(BinaryFolder() + "\\..\\sample-product\\VX4.exe"));
  EXPECT_NE(Engine->ArchiveFileType(), nullptr) << "the engine's archive settings are back";

  // The loader at its head unpacks the program and starts it from a folder of its own.
  const TRun run = RunSetup(setupExe, "", Scratch / "probe.txt");
  EXPECT_EQ(run.ExitCode, 7u);
  ASSERT_GE(run.Report.size(), 2u);
  EXPECT_THAT(run.Report[0], HasSubstr("\"-s" + BuildDir + "\" \"-esetup.exe\" -c"));
}

// A network setup puts its files into the net archive of the mirror folder below the build
// folder (dtWeb every file, dtTraditionalNet the files marked Net) and "filelist.lst"
// beside it, naming every file the build packed with what the installer needs of it.
TEST_F(BuildEndToEnd, NetworkSetupsWriteTheirMirrorAndAWebSetupInstallsFromIt) {
  const std::string sample = fs::canonical(BinaryFolder() + "\\..\\sample-product").string();
  const std::vector<std::string> names{"VX4.exe", "VX4.hlp"};
  for (const char* type : {"dtTraditionalNet", "dtWeb"}) {
    SCOPED_TRACE(type);
    testsupport::RemoveTree(BuildDir);
    std::string objects = FileObjects(names, sample);
    if (std::string(type) == "dtTraditionalNet")
      objects.insert(objects.find("Container = MainInstall\n") + 24, "    Net = True\n");
    Load(objects + "  object Location: TNetInstallLocation\n    LoginInformation.Directory = 'updates/vx4cs'\n"
                   "    LoginInformation.Hostname = 'files.example.com'\n  end\n",
         "    NetLocation = Location\n    DistributeType = " + std::string(type) + "\n");
    EXPECT_EQ(Engine->Messages, std::vector<std::string>());
    const std::string mirror = BuildDir + "\\files.example.com\\updates-vx4cs";  // "/" is no file name character
    const std::vector<std::string> netFiles =
        std::string(type) == "dtWeb" ? names : std::vector<std::string>{names[0]};
    std::vector<std::string> archived = ExtractAll(mirror + "\\MainInstall.1", 0, Scratch / type);
    std::sort(archived.begin(), archived.end());
    EXPECT_EQ(archived, netFiles);
    const TSelfExtractInfo info = ReadSelfExtractInfo(BuildDir + "\\setup.exe");
    if (std::string(type) == "dtTraditionalNet")
      EXPECT_EQ(ExtractAll(BuildDir + "\\setup.exe", info.Files1First, Scratch / "files1"),
                std::vector<std::string>{names[1]});

    // The list names each file object with the size the installer shows.
    const std::string list = ReadFile(mirror + "\\filelist.lst");
    size_t at = 0;
    std::vector<std::pair<std::string, int32_t>> entries;
    ReadFileList(
        [&](char* Buffer, size_t Count) {
          const size_t n = std::min(Count, list.size() - at);
          list.copy(Buffer, n, at);
          at += n;
          return n;
        },
        [&](const TFileListEntry& Entry) { entries.emplace_back(Entry.Name, Entry.Size); });
    EXPECT_EQ(entries, (std::vector<std::pair<std::string, int32_t>>{
                           {"File0", static_cast<int32_t>(fs::file_size(sample + "\\" + names[0]))},
                           {"File1", static_cast<int32_t>(fs::file_size(sample + "\\" + names[1]))}}));

    if (std::string(type) != "dtWeb") continue;
    // The web setup, whose setup file holds no files.1, installs every file from the mirror
    // served over HTTP.
    for (const char* part : {"filelist.lst", "MainInstall.1"})
      benchsupport::SharedServers().Put(std::string("updates\\vx4cs\\") + part, ReadFile(mirror + "\\" + part));
    setup::testing::TTestInstall::NextArguments() = {"-s" + BuildDir, "-esetup.exe"};
    std::string installed = objects;
    for (size_t at = 0; (at = installed.find("Container = MainInstall\n", at)) != std::string::npos; at += 24)
      installed.insert(at + 24, "    DestDir = '" + Scratch / "app" + "'\n");
    Load(installed + "  object Location: TNetInstallLocation\n    LoginInformation.Directory = 'updates/vx4cs'\n"
                     "    LoginInformation.Hostname = '127.0.0.1'\n    LoginInformation.Protocol = ipHTTP\n  end\n",
         "    NetLocation = Location\n    DistributeType = dtWeb\n");
    dynamic_cast<TNetInstallLocation*>(Form->FindComponent("Location"))
        ->SetServerPort(benchsupport::SharedServers().HttpPort());
    Run();
    EXPECT_TRUE(setup::testing::EngineLog().Contains("OnAfterNotifyGoodInstall"));
    for (const std::string& name : names)
      EXPECT_EQ(ReadFile(Scratch / ("app\\" + name)), ReadFile(sample + "\\" + name)) << name;
  }
}

TEST_F(BuildEndToEnd, AFailedBuildShowsWhyAndLeavesNoSetup) {
  Load(FileObjects({"VX4.exe", "missing.dll"}, fs::canonical(BinaryFolder() + "\\..\\sample-product").string()));
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_EQ(Engine->ExitCode(), ecFailed);
  ASSERT_EQ(Engine->Messages.size(), 1u);
  EXPECT_THAT(Engine->Messages[0], HasSubstr("missing.dll"));
  EXPECT_FALSE(fs::exists(BuildDir + "\\setup.exe"));
  EXPECT_FALSE(fs::exists(BuildDir + "\\~build.tmp"));
}

TEST_F(BuildEndToEnd, ABlankBuildInfIsTold) {
  WriteFile(Scratch / "tools\\BUILD.INF", " \r\n" + BuildDir);
  Load();
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_EQ(Engine->Messages,
            std::vector<std::string>{"Must be 1 line in BUILD.INF. This line should specify the build directory"});
}

}  // namespace
}  // namespace setup::buildtests
