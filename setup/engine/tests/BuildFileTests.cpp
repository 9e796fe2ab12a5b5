// The build's files on disk: the digest trailer, the self-extract record in a setup file,
// the floppy transfer into folders that stand for disks, and whole builds through a
// stand-in engine (a failed one leaves no setup behind).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "BuildTestSupport.h"
#include "engine/FileDigest.h"
#include "engine/FloppyTransfer.h"
#include "engine/SelfExtractFile.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "objects/QuenlarkInfo.h"
#include "support/Registry.h"
#include "support/Sha0.h"

namespace setup::buildtests {
namespace {

using ::testing::HasSubstr;

TEST(FileDigest, TrailerOfAFileAndItsChecks) {
  TScratchFolder folder("digest");
  const std::string file = folder / "abc.bin";
  WriteFile(file, "abc");
  EXPECT_EQ(CalcFileCheckSum(file, false), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");
  EXPECT_EQ(MessageOf([&] { CalcFileCheckSum(file, true); }), "Can't calculete CheckSum") << "shorter than a trailer";

  AppendFileCheckSum(file, "");
  EXPECT_EQ(ReadFile(file), "abc0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");
  // The digest of all but the trailer is the trailer.
  EXPECT_EQ(CalcFileCheckSum(file, true), "0164B8A914CD2A5E74C4F7FF082C4D97F1EDF880");

  EXPECT_EQ(MessageOf([&] { AppendFileCheckSum(file, "ABC"); }), "Can't calculete CheckSum");
  EXPECT_EQ(ReadFile(file).size(), 43u) << "a refused digest writes nothing";
  const std::string missing = folder / "missing.exe";
  EXPECT_EQ(MessageOf([&] { CalcFileCheckSum(missing, false); }), "Can't find file \"" + missing + "\"!");
  EXPECT_EQ(MessageOf([&] { AppendFileCheckSum(missing, ""); }), "Can't find file \"" + missing + "\"!");
}

struct TExampleSetup {
  TScratchFolder Folder{"selfextract"};
  std::string Loader = RandomBytes(20480, 1), Setup1 = RandomBytes(1000, 2), Files1 = RandomBytes(3000, 3);
  std::string SetupExe = Folder / "setup.exe";

  void Make(bool WithFiles) {
    WriteFile(SetupExe, Loader);
    WriteFile(Folder / "setup.1", Setup1);
    if (WithFiles) WriteFile(Folder / "files.1", Files1);
    AppendSelfExtractParts(SetupExe, Folder / "setup.1", Folder / "files.1");
    AppendFileCheckSum(SetupExe, "");
  }
};

TEST(SelfExtractFile, PartsRecordAndTrailerInTheirPlaces) {
  TExampleSetup setup;
  setup.Make(true);
  const std::string bytes = ReadFile(setup.SetupExe);
  ASSERT_EQ(bytes.size(), 20480u + 1000 + 3000 + 56 + 40);
  EXPECT_EQ(bytes.substr(0, 20480), setup.Loader);
  EXPECT_EQ(bytes.substr(20480, 1000), setup.Setup1);
  EXPECT_EQ(bytes.substr(21480, 3000), setup.Files1);
  EXPECT_EQ(bytes.substr(bytes.size() - 40), CalcFileCheckSum(setup.SetupExe, true));

  const TSelfExtractInfo info = ReadSelfExtractInfo(setup.SetupExe);
  EXPECT_TRUE(info.SelfExtracting);
  EXPECT_EQ(info.Setup1First, 20480);
  EXPECT_EQ(info.Setup1Last, 21479) << "inclusive";
  EXPECT_EQ(info.Files1First, 21480);
  EXPECT_EQ(info.Files1Last, 24479);
  EXPECT_NO_THROW(RequireSelfExtractArchive(info, setup.SetupExe));
}

TEST(SelfExtractFile, WithoutFilesTheLastOffsetsAreZeroAndTheArchiveIsMissing) {
  TExampleSetup setup;
  setup.Make(false);
  const TSelfExtractInfo info = ReadSelfExtractInfo(setup.SetupExe);
  EXPECT_EQ(info.Files1First, 0);
  EXPECT_EQ(info.Files1Last, 0);
  EXPECT_THAT(MessageOf<IEInstall>([&] { RequireSelfExtractArchive(info, setup.SetupExe); }),
              HasSubstr("holds no files.1"));
}

TEST(SelfExtractFile, ShortGarbageAndSeparateFilesAreRefused) {
  TScratchFolder folder("record");
  const std::string file = folder / "setup.exe";
  const std::string cannotRead = "Could not read the extraction info from the archive file " + file +
                                 " when trying to find the correct offset into the self extracting file";
  WriteFile(file, std::string(95, 'x'));
  EXPECT_EQ(MessageOf<IEInstall>([&] { ReadSelfExtractInfo(file); }), cannotRead);
  EXPECT_EQ(MessageOf<IEInstall>([&] { ReadSelfExtractInfo(folder / "none.exe"); }),
            "Could not read the extraction info from the archive file " + (folder / "none.exe") +
                " when trying to find the correct offset into the self extracting file");
  WriteFile(file, RandomBytes(5000, 9));
  EXPECT_THAT(MessageOf<IEInstall>([&] { ReadSelfExtractInfo(file); }), HasSubstr("is not valid"));

  // A setup whose archives stay beside it: the record with no offsets, then its trailer.
  WriteFile(file, RandomBytes(1000, 4));
  WriteNotSelfExtractInfo(file);
  const std::string bytes = ReadFile(file);
  ASSERT_EQ(bytes.size(), 1056u);
  EXPECT_EQ(bytes.substr(1000, 15), std::string("\x0eNOTSELFEXTRACT"));
  EXPECT_EQ(bytes.substr(1015), std::string(41, '\0'));
  AppendFileCheckSum(file, "");
  const TSelfExtractInfo info = ReadSelfExtractInfo(file);
  EXPECT_FALSE(info.SelfExtracting);
  EXPECT_THROW(RequireSelfExtractArchive(info, file), IEInstall);
}

// A volume holds at most Capacity bytes.
class TCappedArchive : public TQnlkCompress {
 public:
  explicit TCappedArchive(int64_t Capacity) : TQnlkCompress(nullptr), FCapacity(Capacity) {}

 protected:
  size_t WriteVolume(TWinFile& Volume, const void* Buffer, size_t Count) override {
    const int64_t room = FCapacity - Volume.Size();
    if (room <= 0) return 0;
    return TQnlkCompress::WriteVolume(Volume, Buffer, static_cast<size_t>(std::min<int64_t>(room, Count)));
  }

 private:
  int64_t FCapacity;
};

// A drive folder whose contents are swapped for the disk asked for; the disks not in
// the drive wait in a shelf folder.
class TDiskDrive : public IFloppyTransferUser {
 public:
  TDiskDrive(std::string Drive, std::string Shelf) : FDrive(std::move(Drive)), FShelf(std::move(Shelf)) {
    fs::create_directories(FDrive);
  }
  std::vector<int> Asked;
  int CancelAt = 0;
  int StatusShown = 0, StatusHidden = 0;

  void ShowStatus(const std::string& Text) override {
    EXPECT_EQ(Text, "Transferring this installation to floppies. Please wait...");
    ++StatusShown;
  }
  void HideStatus() override { ++StatusHidden; }
  bool ConfirmNewDisk(int DiskNumber) override {
    Asked.push_back(DiskNumber);
    if (DiskNumber == CancelAt) return false;
    MoveAll(FDrive, Disk(FCurrent));
    MoveAll(Disk(DiskNumber), FDrive);
    FCurrent = DiskNumber;
    return true;
  }
  void ProcessMessages() override {}

  // Every disk's files, the one in the drive included, in one folder.
  void Gather(const std::string& Folder) {
    MoveAll(FDrive, Disk(FCurrent));
    for (const auto& disk : fs::directory_iterator(FShelf))
      for (const auto& file : fs::directory_iterator(disk.path()))
        fs::copy_file(file.path(), fs::path(Folder) / file.path().filename());
  }
  std::string Disk(int Number) const { return FShelf + "\\disk" + std::to_string(Number); }

 private:
  static void MoveAll(const std::string& From, const std::string& To) {
    fs::create_directories(To);
    if (!fs::exists(From)) return;
    for (const auto& file : fs::directory_iterator(From))
      fs::rename(file.path(), fs::path(To) / file.path().filename());
  }
  std::string FDrive, FShelf;
  int FCurrent = 1;
};

struct TFloppySetup {
  TScratchFolder Folder{"floppy"};
  std::vector<std::pair<std::string, std::string>> Files{
      {"one.dat", RandomBytes(30000, 5)}, {"two.dat", RandomBytes(25000, 6)}, {"three.txt", "three"}};
  std::string Setup1 = RandomBytes(3000, 7), Loader = RandomBytes(4096, 8);
  std::string SetupExe = Folder / "build\\setup.exe";

  TFloppySetup() {
    MakeArchive(Folder / "build\\files.1", Files, Folder / "sources");
    WriteFile(Folder / "build\\setup.1", Setup1);
    WriteFile(SetupExe, Loader);
    AppendSelfExtractParts(SetupExe, Folder / "build\\setup.1", Folder / "build\\files.1");
    AppendFileCheckSum(SetupExe, "");
    // The transfer only reads the setup: it works while another program keeps others
    // from writing to it (as on a read-only medium).
    Reader.Reset(CreateFileA(SetupExe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  }
  fw::TFileHandle Reader;
};

TEST(FloppyTransfer, SetupAndArchiveSpreadOverDisksThatReadBack) {
  TFloppySetup setup;
  TDiskDrive drive(setup.Folder / "a", setup.Folder / "shelf");
  TCappedArchive archive(20000);
  TransferSetupToFloppies(setup.SetupExe, setup.Folder / "a", archive, drive);
  EXPECT_EQ(drive.StatusShown, 1);
  EXPECT_EQ(drive.StatusHidden, 1);
  ASSERT_GE(drive.Asked.size(), 3u);
  EXPECT_EQ(drive.Asked[0], 2);
  EXPECT_EQ(drive.Asked.back(), 1) << "the first disk comes back for the header table";
  EXPECT_FALSE(archive.OnNewDisk) << "the handlers are cleared";

  const std::string disk1 = setup.Folder / "a";
  EXPECT_EQ(ReadFile(disk1 + "\\setup.1"), setup.Setup1) << "byte-identical to the build's";
  const std::string floppySetup = ReadFile(disk1 + "\\setup.exe");
  ASSERT_EQ(floppySetup.size(), setup.Loader.size() + 56);
  EXPECT_EQ(floppySetup.substr(0, setup.Loader.size()), setup.Loader);
  EXPECT_EQ(floppySetup.substr(setup.Loader.size() + 1, 14), "NOTSELFEXTRACT");

  const std::string gathered = setup.Folder / "gathered";
  fs::create_directories(gathered);
  drive.Gather(gathered);
  EXPECT_TRUE(fs::exists(gathered + "\\files.2"));
  const std::string out = setup.Folder / "out";
  EXPECT_EQ(ExtractAll(gathered + "\\files.1", 0, out).size(), setup.Files.size());
  for (const auto& [name, content] : setup.Files) EXPECT_EQ(ReadFile(out + "\\" + name), content) << name;
}

TEST(FloppyTransfer, CancelAtTheDiskPromptKeepsWhatTheDisksHold) {
  TFloppySetup setup;
  TDiskDrive drive(setup.Folder / "a", setup.Folder / "shelf");
  drive.CancelAt = 2;
  TCappedArchive archive(20000);
  EXPECT_EQ(MessageOf<IEInstall>([&] { TransferSetupToFloppies(setup.SetupExe, setup.Folder / "a", archive, drive); }),
            "Aborted by user");
  EXPECT_EQ(drive.StatusHidden, 1);
  EXPECT_EQ(ReadFile(setup.Folder / "a\\setup.1"), setup.Setup1);
  EXPECT_TRUE(fs::exists(setup.Folder / "a\\files.1"));
}

TEST(FloppyTransfer, TheArchiveAbortFlagStopsTheCopyAndASetupWithoutArchiveIsRefused) {
  TFloppySetup setup;
  TDiskDrive drive(setup.Folder / "a", setup.Folder / "shelf");
  TCappedArchive archive(20000);
  archive.SetAbort(true);
  EXPECT_EQ(MessageOf<EUserAbortInstall>(
                [&] { TransferSetupToFloppies(setup.SetupExe, setup.Folder / "a", archive, drive); }),
            "Creating Install Aborted!");
  EXPECT_EQ(drive.StatusHidden, 1);

  TExampleSetup plain;
  plain.Make(false);
  EXPECT_THAT(
      MessageOf<IEInstall>([&] { TransferSetupToFloppies(plain.SetupExe, setup.Folder / "b", archive, drive); }),
      HasSubstr("holds no files.1"));
  EXPECT_FALSE(fs::exists(setup.Folder / "b\\setup.exe"));
}

TEST(BuildInfFile, MissingEmptyAndBlank) {
  TScratchFolder folder("buildinf");
  EXPECT_EQ(MessageOf<IEInstall>([&] { ReadBuildInf(folder.Path()); }),
            "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
  for (const char* content : {"", "  \r\n"}) {
    WriteFile(folder / "BUILD.INF", content);
    EXPECT_EQ(MessageOf<IEInstall>([&] { ReadBuildInf(folder.Path()); }),
              "Must be 1 line in BUILD.INF. This line should specify the build directory");
  }
  WriteFile(folder / "BUILD.INF", " C:\\Build Here \r\n");
  EXPECT_EQ(ReadBuildInf(folder.Path() + "\\"), "C:\\Build Here");
}

TEST(BuildDistribution, AStandAloneSetupHoldsItsPartsAndPassesItsDigest) {
  TScratchFolder folder("build");
  TLoaderLibrary library(folder);
  TStandInEngine engine(folder);
  WriteFile(folder / "src\\bramset.exe", RandomBytes(5000, 13));
  const std::string dir = folder / "out\\";
  BuildDistribution(engine, folder / "src\\bramset.exe", dir, true);
  EXPECT_EQ(engine.Options, std::vector<int>{46});

  const std::string setupExe = dir + "setup.exe";
  const std::string bytes = ReadFile(setupExe);
  EXPECT_EQ(bytes.substr(0, library.Loader.size()), library.Loader);
  EXPECT_EQ(bytes.substr(bytes.size() - 40), CalcFileCheckSum(setupExe, true));
  const TSelfExtractInfo info = ReadSelfExtractInfo(setupExe);
  EXPECT_EQ(info.Setup1First, static_cast<int32_t>(library.Loader.size()));
  EXPECT_EQ(bytes.substr(info.Setup1First, info.Setup1Size()), ReadFile(dir + "setup.1"));
  EXPECT_EQ(bytes.substr(info.Files1First, info.Files1Size()), ReadFile(dir + "files.1"));
  EXPECT_EQ(ExtractAll(setupExe, info.Setup1First, folder / "setup1"),
            (std::vector<std::string>{"bramset.exe", "companion.dll"}));
  EXPECT_EQ(ExtractAll(setupExe, info.Files1First, folder / "files1"),
            (std::vector<std::string>{"readme.txt", "data.bin"}));
  EXPECT_EQ(ReadFile(folder / "files1\\data.bin"), ReadFile(folder / "src\\data.bin"));
  EXPECT_FALSE(fs::exists(dir + "~build.tmp"));
}

TEST(BuildDistribution, AFailedBuildLeavesNoNewSetupAndKeepsTheOldOne) {
  TScratchFolder folder("failed");
  TLoaderLibrary library(folder);
  TStandInEngine engine(folder);
  WriteFile(folder / "src\\bramset.exe", RandomBytes(5000, 14));
  const std::string dir = folder / "out";

  engine.FailContainers = true;
  EXPECT_EQ(MessageOf<IEInstall>([&] { BuildDistribution(engine, folder / "src\\bramset.exe", dir, true); }),
            "the containers failed");
  EXPECT_TRUE(fs::is_empty(dir)) << "no setup.exe, setup.1, files.1 or staging folder";

  WriteFile(dir + "\\setup.exe", "an earlier build");
  WriteFile(folder / "lib\\QuenlarkLoadProgram.exe", "");
  DeleteFileA((folder / "lib\\QuenlarkLoadProgram.exe").c_str());
  engine.FailContainers = false;
  EXPECT_EQ(MessageOf<IEInstall>([&] { BuildDistribution(engine, folder / "src\\bramset.exe", dir, true); }),
            "The loader program " + (folder / "lib\\QuenlarkLoadProgram.exe") + " was not found");
  EXPECT_EQ(ReadFile(dir + "\\setup.exe"), "an earlier build");

  EXPECT_EQ(MessageOf<IEInstall>([&] { BuildDistribution(engine, folder / "src\\missing.exe", dir, true); }),
            "TInstall: Cannot find the executable file " + (folder / "src\\missing.exe"));
  EXPECT_EQ(MessageOf<IEInstall>([&] { BuildDistribution(engine, "  ", dir, true); }),
            "Cannot create setup file. Executable is blank");
  engine.UseLoadingProgram = false;
  EXPECT_THAT(MessageOf<IEInstall>([&] { BuildDistribution(engine, folder / "src\\bramset.exe", dir, true); }),
              HasSubstr("UseLoadingProgram property"));
  EXPECT_EQ(ReadFile(dir + "\\setup.exe"), "an earlier build");
}

TEST(BuildDistribution, WithoutTheLibraryFolderTheRegistryKeyIsNamed) {
  TScratchFolder folder("nolib");
  testsupport::TSavedRegistryTree saved(HKEY_CURRENT_USER, QuenlarkInfo::kSearchPathKey + 1);
  WriteRegString(hkCurrentUser, QuenlarkInfo::kSearchPathKey, QuenlarkInfo::kSearchPathValue, folder / "nowhere");
  TStandInEngine engine(folder);
  WriteFile(folder / "src\\bramset.exe", "program");
  EXPECT_EQ(MessageOf<IEInstall>([&] { BuildDistribution(engine, folder / "src\\bramset.exe", folder / "out", true); }),
            "The HKEY_LOCAL_MACHINE | \\Software\\TOBA\\Quenlark key in the registry is either missing or points to an "
            "invalid URQ directory");
}

}  // namespace
}  // namespace setup::buildtests
