// The copy of a setup onto floppy disks as a user meets it: the setup program started
// with switch f and the self-extracting setup writes to drive A:, which the test's Wine
// prefix maps to a folder (the ctest entry engine_floppy); the disk prompts are the real
// message boxes, answered through the UI driver, while the test changes the disk in the
// drive.
//
// Wine gives a drive that is a folder the free space of the file system holding the
// folder, so a write to it never comes up short as on a full floppy. The volumes are
// therefore written through an archive whose disk holds what a 1.44 MB floppy holds,
// counting every file already on it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "BuildTestSupport.h"
#include "EngineFixture.h"
#include "Screenshot.h"
#include "UiDriver.h"
#include "engine/FileDigest.h"
#include "engine/SelfExtractFile.h"
#include "gui/WinHandles.h"

namespace setup::testing {
namespace {

namespace fs = std::filesystem;
using buildtests::ExtractAll;
using buildtests::MakeArchive;
using buildtests::RandomBytes;
using testsupport::ReadFile;
using testsupport::WriteFile;

constexpr char kDrive[] = "A:\\";
// The bytes a 1.44 MB floppy gives its files (2,847 clusters of 512 bytes).
constexpr int64_t kFloppyBytes = 1457664;

// The files in drive A: with their sizes. A drive's root has no "." and "..", so an
// empty one finds nothing at all (which std::filesystem takes for an error).
std::vector<std::pair<std::string, int64_t>> FilesOnDrive() {
  std::vector<std::pair<std::string, int64_t>> files;
  WIN32_FIND_DATAA found;
  fw::TFindHandle find(FindFirstFileA("A:\\*", &found));
  if (!find) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      files.emplace_back(found.cFileName, (int64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
  } while (FindNextFileA(find.Get(), &found));
  return files;
}

int64_t BytesOnDrive() {
  int64_t bytes = 0;
  for (const auto& [name, size] : FilesOnDrive()) bytes += size;
  return bytes;
}

void EmptyDrive() {
  for (const auto& [name, size] : FilesOnDrive()) DeleteFileA((kDrive + name).c_str());
}

// Writes volumes onto the disk in drive A: while it has room.
class TFloppyDiskArchive : public TQnlkCompress {
 public:
  TFloppyDiskArchive() : TQnlkCompress(nullptr) {}
  // When not 0, the abort flag goes up once a volume holds this many bytes, as a window
  // handled during the copy may raise it.
  static int64_t& AbortAt() {
    static int64_t bytes = 0;
    return bytes;
  }

 protected:
  size_t WriteVolume(TWinFile& Volume, const void* Buffer, size_t Count) override {
    if (AbortAt() != 0 && Volume.Size() >= AbortAt()) SetAbort(true);
    const int64_t room = kFloppyBytes - BytesOnDrive();
    if (room <= 0) return 0;
    return TQnlkCompress::WriteVolume(Volume, Buffer, static_cast<size_t>(std::min<int64_t>(room, Count)));
  }
};

class TFloppyInstall : public TTestInstall {
  FW_CLASS(TFloppyInstall, TTestInstall)
 public:
  using TTestInstall::TTestInstall;

 protected:
  TQnlkCompress& FloppyArchive() override { return FArchive; }

 private:
  TFloppyDiskArchive FArchive;
};

}  // namespace

const fw::TClass& TFloppyInstall::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TFloppyInstall>().Creatable();
  return cls;
}

namespace {

// The disks: the one in drive A: and the others on a shelf folder each.
class TDiskShelf {
 public:
  explicit TDiskShelf(std::string Folder) : FFolder(std::move(Folder)) {}
  // Takes the disk out of the drive onto the shelf and puts disk Number in.
  void Insert(int Number) {
    fs::create_directories(Disk(FInDrive));
    for (const auto& [name, size] : FilesOnDrive()) Move(kDrive + name, Disk(FInDrive) + "\\" + name);
    if (fs::exists(Disk(Number)))
      for (const auto& file : fs::directory_iterator(Disk(Number)))
        Move(file.path().string(), kDrive + file.path().filename().string());
    FInDrive = Number;
  }
  // Every disk's files in one folder (the one in the drive stays there).
  void Gather(const std::string& Folder) const {
    fs::create_directories(Folder);
    for (const auto& disk : fs::directory_iterator(FFolder))
      for (const auto& file : fs::directory_iterator(disk.path()))
        fs::copy_file(file.path(), fs::path(Folder) / file.path().filename());
    for (const auto& [name, size] : FilesOnDrive()) fs::copy_file(kDrive + name, fs::path(Folder) / name);
  }
  int InDrive() const { return FInDrive; }

 private:
  std::string Disk(int Number) const { return FFolder + "\\disk" + std::to_string(Number); }
  // Between drives, as a user's copy goes.
  static void Move(const std::string& From, const std::string& To) {
    if (!MoveFileExA(From.c_str(), To.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING))
      throw std::runtime_error("cannot move " + From + " to " + To);
  }
  std::string FFolder;
  int FInDrive = 1;
};

class FloppyRoad : public EngineFixture {
 protected:
  void SetUp() override {
    if (std::getenv("STAVREL_FLOPPY_TEST") == nullptr) GTEST_SKIP() << "run by engine_floppy, which maps drive A:";
    ASSERT_EQ(GetFileAttributesA(kDrive), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY))
        << "drive A: is not mapped";
    EmptyDrive();
    fw::RegisterClasses({&TFloppyInstall::StaticClass()});
    // A setup whose archive needs two and a bit disks.
    const std::string build = Scratch / "build";
    MakeArchive(build + "\\files.1", Files, Scratch / "sources");
    WriteFile(build + "\\setup.1", Setup1);
    WriteFile(SetupExe, Loader);
    AppendSelfExtractParts(SetupExe, build + "\\setup.1", build + "\\files.1");
    AppendFileCheckSum(SetupExe, "");
  }
  void TearDown() override {
    EmptyDrive();
    TFloppyDiskArchive::AbortAt() = 0;
  }

  // Starts the setup program as "setup.exe *TODISK" starts it: the transfer runs while
  // its form loads, and ends the program.
  void StartTransfer() {
    TTestInstall::NextArguments() = {"-f", "-s" + Scratch / "build", "-esetup.exe"};
    FreeForm();
    Form.reset(new fw::TForm(nullptr));
    Form->InitFromText("object Form: TForm\n  object MainInstall: TFloppyInstall\n    Information.ProductName = '" +
                           std::string(kTestProduct) + "'\n  end\nend\n",
                       "TFORM");
    Engine = dynamic_cast<TTestInstall*>(Form->FindComponent("MainInstall"));
  }

  // Waits for the disk prompt of the test's thread asking for disk Number.
  static HWND WaitForPrompt(DWORD Thread, int Number) {
    const std::string text = "Please insert disk " + std::to_string(Number);
    HWND box = nullptr;
    const bool found = testsupport::WaitUntil(
        [&] {
          box = testsupport::FindTopLevelWindow({.ClassName = "#32770", .ThreadId = Thread});
          if (box == nullptr) return false;
          for (const testsupport::TControlInfo& control : testsupport::ListControls(box))
            if (control.Text == text) return true;
          return false;
        },
        20000);
    if (!found) throw testsupport::EUiDriver("no prompt \"" + text + "\"");
    return box;
  }

  std::vector<std::pair<std::string, std::string>> Files{
      {"one.dat", RandomBytes(1500000, 11)}, {"two.dat", RandomBytes(1600000, 12)}, {"three.txt", "three"}};
  std::string Setup1 = RandomBytes(40000, 13), Loader = RandomBytes(60000, 14);
  std::string SetupExe = Scratch / "build\\setup.exe";
  TDiskShelf Shelf{Scratch / "shelf"};
};

TEST_F(FloppyRoad, TheUserChangesDisksAtEachPromptAndTheSetReadsBack) {
  const DWORD testThread = GetCurrentThreadId();
  std::vector<int> asked;
  testsupport::TUserThread user([&] {
    // Disk 2 and 3 for the archive's volumes, then disk 1 again for its header table.
    for (int number : {2, 3, 1}) {
      HWND prompt = WaitForPrompt(testThread, number);
      asked.push_back(number);
      if (number == 2) testsupport::SaveWindowPng(prompt, "floppy_prompt");
      Shelf.Insert(number);
      testsupport::Click(testsupport::RequireControl(prompt, {.Caption = "OK"}));
      if (!testsupport::WaitForWindowToGo(prompt, 20000)) throw testsupport::EUiDriver("the prompt stays");
    }
  });
  StartTransfer();
  ASSERT_EQ(user.Failure(), "");
  ASSERT_NE(Engine, nullptr);
  EXPECT_THAT(asked, ::testing::ElementsAre(2, 3, 1));
  EXPECT_TRUE(Engine->Messages.empty()) << Engine->Messages.front();
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_EQ(Engine->ExitCode(), ecSuccess);

  // The first disk: the loader marked as not self-extracting, the setup archive as built.
  EXPECT_EQ(ReadFile("A:\\setup.1"), Setup1);
  const std::string floppySetup = ReadFile("A:\\setup.exe");
  ASSERT_EQ(floppySetup.size(), Loader.size() + 56);
  EXPECT_EQ(floppySetup.substr(Loader.size() + 1, 14), "NOTSELFEXTRACT");
  EXPECT_LE(BytesOnDrive(), kFloppyBytes);

  const std::string gathered = Scratch / "gathered";
  Shelf.Gather(gathered);
  EXPECT_TRUE(fs::exists(gathered + "\\files.3"));
  const std::string out = Scratch / "out";
  EXPECT_EQ(ExtractAll(gathered + "\\files.1", 0, out).size(), Files.size());
  for (const auto& [name, content] : Files) EXPECT_EQ(ReadFile(out + "\\" + name), content) << name;
}

TEST_F(FloppyRoad, CancelAtThePromptEndsTheTransferAndSaysSo) {
  const DWORD testThread = GetCurrentThreadId();
  testsupport::TUserThread user([&] {
    HWND prompt = WaitForPrompt(testThread, 2);
    testsupport::Click(testsupport::RequireControl(prompt, {.Caption = "Cancel"}));
  });
  StartTransfer();
  ASSERT_EQ(user.Failure(), "");
  ASSERT_NE(Engine, nullptr);
  EXPECT_THAT(Engine->Messages, ::testing::ElementsAre("Aborted by user"));
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_EQ(Engine->ExitCode(), ecFailed) << "a copy the user cancelled is no finished copy";
  // What the first disk got stays there; its archive's header table was never
  // finished, so reading it fails instead of giving files.
  EXPECT_EQ(ReadFile("A:\\setup.1"), Setup1);
  EXPECT_TRUE(fs::exists("A:\\files.1"));
  EXPECT_ANY_THROW(ExtractAll("A:\\files.1", 0, Scratch / "cancelled"));

  // Cancelled when the first disk is asked for again to finish the set: every volume
  // is written, yet the set is not done.
  EmptyDrive();
  testsupport::TUserThread lastUser([&] {
    for (int number : {2, 3}) {
      HWND prompt = WaitForPrompt(testThread, number);
      Shelf.Insert(number);
      testsupport::Click(testsupport::RequireControl(prompt, {.Caption = "OK"}));
      if (!testsupport::WaitForWindowToGo(prompt, 20000)) throw testsupport::EUiDriver("the prompt stays");
    }
    testsupport::Click(testsupport::RequireControl(WaitForPrompt(testThread, 1), {.Caption = "Cancel"}));
  });
  StartTransfer();
  ASSERT_EQ(lastUser.Failure(), "");
  EXPECT_THAT(Engine->Messages, ::testing::ElementsAre("Aborted by user"));
  EXPECT_EQ(Engine->ExitCode(), ecFailed);
}

TEST_F(FloppyRoad, AnAbortWhileTheVolumesAreWrittenIsNoSuccess) {
  TFloppyDiskArchive::AbortAt() = 100000;
  StartTransfer();
  ASSERT_NE(Engine, nullptr);
  EXPECT_THAT(Engine->Messages, ::testing::ElementsAre("Creating Install Aborted!"));
  EXPECT_EQ(Engine->Terminations, 1);
  EXPECT_EQ(Engine->ExitCode(), ecFailed);
}

}  // namespace
}  // namespace setup::testing
