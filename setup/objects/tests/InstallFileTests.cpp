#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "FileTestSupport.h"
#include "ObjectTestSupport.h"
#include "archive/FileSystem.h"
#include "core/FormReader.h"
#include "core/Streams.h"
#include "objects/FileRegistration.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/InstallLists.h"
#include "objects/InstallRunJournal.h"
#include "objects/UninstallFileLog.h"
#include "objects/UninstallRemoval.h"
#include "paths/StandardSpecifiers.h"
#include "support/FileAttributes.h"
#include "support/FileHandles.h"
#include "support/OSVersion.h"
#include "support/Registry.h"
#include "support/RegistryObject.h"
#include "support/WinFolders.h"

using namespace setup;
using namespace setup::testing;

namespace {

class TFileForm : public fw::TForm {
  FW_CLASS(TFileForm, fw::TForm)
 public:
  using fw::TForm::TForm;
};
const fw::TClass& TFileForm::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TFileForm>().Creatable();
  return cls;
}

// An engine that records what the files ask of it.
class TRecordingEngine : public TTestEngine {
 public:
  using TTestEngine::TTestEngine;
  bool RebootRequested = false;
  std::vector<std::pair<std::string, int>> Unfinished;
  void EngineRequestReboot() override { RebootRequested = true; }
  void EngineAddUnfinished(const std::string& Item, int Kind) override { Unfinished.emplace_back(Item, Kind); }
};

// A file whose question is answered by the test.
class TAnsweredFile : public TInstallFile {
 public:
  using TInstallFile::TInstallFile;
  bool Answer = true;
  int Asked = 0;
  bool RestartMoveRefused = false;

 protected:
  bool ConfirmCopy() override {
    ++Asked;
    return Answer;
  }
  bool MoveAtNextStart(const std::string& NewPath, const std::string& Target) override {
    return !RestartMoveRefused && TInstallFile::MoveAtNextStart(NewPath, Target);
  }
};

// Volumes that hold at most Capacity bytes, like floppy disks.
class TSmallDisks : public TQnlkCompress {
 public:
  TSmallDisks() : TQnlkCompress(nullptr) {}
  int64_t Capacity = 40000;

 protected:
  size_t WriteVolume(TWinFile& Volume, const void* Buffer, size_t Count) override {
    int64_t room = std::max<int64_t>(0, Capacity - Volume.Position());
    return Volume.Write(Buffer, static_cast<size_t>(std::min<int64_t>(room, static_cast<int64_t>(Count))));
  }
};

// Runs Command and waits for it (a minute at most); its exit code, -1 when it did not start.
int RunAndWait(std::string Command) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process))
    return -1;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// A file the build put beside the test program.
std::string BuiltProgram(const std::string& Name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + Name;
}

// Another process that holds a file open, shared with nobody, until the object goes.
class THolderProcess {
 public:
  explicit THolderProcess(const std::string& Path) {
    std::string tag = "StavrelHolder" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++FCount);
    FReady = CreateEventA(nullptr, TRUE, FALSE, (tag + "Ready").c_str());
    FRelease = CreateEventA(nullptr, TRUE, FALSE, (tag + "Release").c_str());
    std::string command =
        "\"" + BuiltProgram("file_holder.exe") + "\" \"" + Path + "\" " + tag + "Ready " + tag + "Release";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return;
    CloseHandle(process.hThread);
    FProcess = process.hProcess;
    HANDLE either[] = {FReady, FProcess};
    FHolding = WaitForMultipleObjects(2, either, FALSE, 30000) == WAIT_OBJECT_0;
  }
  ~THolderProcess() { Release(); }
  THolderProcess(const THolderProcess&) = delete;
  THolderProcess& operator=(const THolderProcess&) = delete;

  bool Holding() const { return FHolding; }
  // Lets the file go and waits for the process to end.
  void Release() {
    if (FProcess != nullptr) {
      SetEvent(FRelease);
      WaitForSingleObject(FProcess, 30000);
      CloseHandle(FProcess);
      FProcess = nullptr;
    }
    if (FReady != nullptr) CloseHandle(FReady);
    if (FRelease != nullptr) CloseHandle(FRelease);
    FReady = FRelease = nullptr;
    FHolding = false;
  }

 private:
  static inline int FCount = 0;
  HANDLE FReady = nullptr, FRelease = nullptr, FProcess = nullptr;
  bool FHolding = false;
};

const std::string kPid = std::to_string(GetCurrentProcessId());

// --- property rules and identifiers ----------------------------------------------

TEST(InstallFileProperties, NamesDecideHelpComAndDllRules) {
  TScratchFolder scratch("rules");
  WriteFile(scratch / "Readme.HLP", "help");
  WriteFile(scratch / "x.ocx", "not really a control");
  fw::TOwnedPtr<TFileForm> form(new TFileForm(nullptr));
  auto* dir = new TInstallDirectory(form.get());
  auto* help = new TInstallFile(form.get(), dir, scratch / "Readme.HLP");
  EXPECT_TRUE(help->RegisterAsHelp());
  EXPECT_FALSE(help->ActiveX());
  EXPECT_EQ(help->DestName(), "Readme.HLP");
  EXPECT_EQ(help->FileType(), iftNormal);

  auto* control = new TInstallFile(form.get(), dir, scratch / "x.ocx");
  EXPECT_TRUE(control->ActiveX());
  EXPECT_EQ(control->FileType(), iftSystemWideDLL);
  EXPECT_TRUE(control->UpdateDLLCounter());
  EXPECT_EQ(control->OverwriteMode(), owVersionDate);
  EXPECT_EQ(control->DestDir(), "");
  EXPECT_NE(dynamic_cast<TpsSystem*>(control->DestDirType()), nullptr);

  // A file read-only at the source is installed read-only.
  WriteFile(scratch / "fixed.txt", "f");
  SetFileAttributesA((scratch / "fixed.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  auto* fixed = new TInstallFile(form.get(), dir, scratch / "fixed.txt");
  EXPECT_TRUE(fixed->InstallAttributes().Contains(qfaReadOnly));

  try {
    new TInstallFile(form.get(), dir, scratch / "README.hlp");
    FAIL();
  } catch (const IEfcDuplicateFile& e) {
    EXPECT_EQ(e.Message(), "There is already a file with the name :" + scratch.Path() + "\\README.hlp");
  }
  EXPECT_EQ(dir->GetFileCount(), 3);
  TTestObject other(form.get());
  EXPECT_THROW(help->SetContainer(&other), IECustomInstallFile);
  EXPECT_EQ(help->Container(), dir);
}

TEST(InstallFileProperties, IdentifiersAfterLoadingAreTheStoredOnesAndTheLowestFree) {
  fw::TOwnedPtr<TFileForm> form(new TFileForm(nullptr));
  fw::ReadComponentFromText(form.get(), R"(object Setup: TFileForm
  object Dir: TInstallDirectory
  end
  object F0: TInstallFile
    Container = Dir
    FileName = 'a.txt'
    UniqueID = 0
  end
  object F5: TInstallFile
    Container = Dir
    FileName = 'b.txt'
    UniqueID = 5
  end
  object F1: TInstallFile
    Container = Dir
    FileName = 'c.txt'
    UniqueID = 1
  end
end
)",
                            "TFILEFORM");
  auto* created = new TInstallFile(form.get());
  EXPECT_EQ(created->UniqueID(), 2);
  auto* next = new TInstallFile(form.get());
  EXPECT_EQ(next->UniqueID(), 3);
  EXPECT_THROW(next->SetUniqueID(5), IECustomInstallFile);
  delete created;
  EXPECT_EQ(TInstallFile(form.get()).UniqueID(), 2);
}

TEST(InstallFileProperties, AnExhaustedIdentifierRangeIsAnError) {
  fw::TComponent owner(nullptr);
  std::vector<TInstallFile*> files;
  TUsedIDTable saved = *UsedIDTable();
  UsedIDTable()->Used.fill(true);
  EXPECT_THROW(new TInstallFile(&owner), IECustomInstallFile);
  *UsedIDTable() = saved;
}

TEST(InstallFileProperties, FileInfoRecordLayout) {
  fw::TComponent owner(nullptr);
  TInstallFile file(&owner);
  file.SetName("AVeryLongComponentNameThatDoesNotFitInTheField");
  fw::TMemoryStream stream;
  file.WriteFileInfoRecord(stream);
  ASSERT_EQ(stream.Size(), kFileInfoRecordSize);
  const char* bytes = reinterpret_cast<const char*>(stream.Memory());
  EXPECT_EQ(std::string(bytes + 16), std::string("AVeryLongComponentNameThatDoesNotFitInT"));  // 39 characters
  EXPECT_EQ(bytes[55], 0);
}

// --- the install step ------------------------------------------------------------

// A directory with one file, new.txt of day 10, compressed into an archive; the
// installation goes to dest\.
class FileInstall : public ::testing::Test {
 protected:
  void SetUp() override {
    Engine = new TRecordingEngine(Form.get());
    Engine->Distribution = dtTraditional;
    Engine->Info.SetProductName("Stavrel File Test " + kPid);
    Uninstall = std::string(kUninstallRootKey) + Engine->Info.ProductName();
    std::string source = Scratch.Folder("src");
    Dest = Scratch.Folder("dest");
    Target = Dest + "\\new.txt";
    WriteFile(source + "\\new.txt", Content(5000, 'n'));
    SetFileDay(source + "\\new.txt", 10);
    Dir = new TInstallDirectory(Form.get());
    Dir->SetName("Dir");
    Dir->SetContainer(Engine);
    Dir->SetArchiveFile(Scratch / "dir.1");
    Dir->SetDestDirType(nullptr);
    Dir->SetDestDir(Dest);
    File = new TAnsweredFile(Form.get(), Dir, source + "\\new.txt");
    File->SetName("NewText");
    Dir->Compress(coForceNetFilesLocal);
  }
  void TearDown() override { DeleteRegKeyTree(hkLocalMachine, Uninstall); }
  void OldTarget(int Day) {
    WriteFile(Target, "old");
    SetFileDay(Target, Day);
  }
  std::string Logged(const std::string& Subkey, const std::string& Value) {
    return ReadRegString(hkLocalMachine, Uninstall + "\\" + Subkey, Value, "-");
  }
  // The tree installed as the engine's run installs it: with the run's log, ending well.
  void Run() {
    Engine->Running = true;
    Engine->BeginRun();
    Engine->Process();
    Engine->RunJournal()->Complete();
    Engine->Running = false;
  }

  TScratchFolder Scratch{"install"};
  fw::TOwnedPtr<TFileForm> Form{new TFileForm(nullptr)};
  TRecordingEngine* Engine = nullptr;
  TInstallDirectory* Dir = nullptr;
  TAnsweredFile* File = nullptr;
  std::string Uninstall, Dest, Target;
};

TEST_F(FileInstall, EveryOverwriteModeOverOlderEqualAndNewerFiles) {
  struct TCase {
    TOverwriteType Mode;
    bool Replaced[3];  // over a target of day 5, 10, 15
  };
  const TCase cases[] = {
      {owAlways, {true, true, true}},     {owNever, {false, false, false}},      {owDate, {true, false, false}},
      {owVersion, {false, false, false}}, {owVersionDate, {true, false, false}}, {owAsk, {true, true, true}},
  };
  const int days[] = {5, 10, 15};
  for (const TCase& c : cases) {
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(c.Mode) << ", target day " << days[i]);
      OldTarget(days[i]);
      DeleteRegKeyTree(hkLocalMachine, Uninstall);
      File->SetOverwriteMode(c.Mode);
      Dir->Process();
      EXPECT_EQ(ReadFile(Target) == Content(5000, 'n'), c.Replaced[i]);
      EXPECT_EQ(File->CopyDecided(), c.Replaced[i]);
      EXPECT_TRUE(File->Done());
      // A newer file that was there before (or kept by owNever) is not ours to delete.
      // (owVersion finds the two versionless files the same.)
      bool keptNewer = !c.Replaced[i] && (c.Mode == owNever || (days[i] == 15 && c.Mode != owVersion));
      EXPECT_EQ(Logged("Files", "File1"), keptNewer ? "-" : Target);
    }
  }
  // Every mode installs where nothing is in the way.
  for (const TCase& c : cases) {
    DeleteFileA(Target.c_str());
    File->SetOverwriteMode(c.Mode);
    Dir->Process();
    EXPECT_EQ(ReadFile(Target), Content(5000, 'n'));
  }
  File->Answer = false;
  OldTarget(5);
  File->SetOverwriteMode(owAsk);
  Dir->Process();
  EXPECT_EQ(ReadFile(Target), "old");
  EXPECT_EQ(File->Asked, 4);
}

TEST_F(FileInstall, ExistingTargetsAreFoundWhateverTheirCaseOrWhenTheyAppeared) {
  // The container reads its destination folder once: a name in another case is there.
  WriteFile(Dest + "\\NEW.TXT", "old");
  SetFileDay(Dest + "\\NEW.TXT", 15);
  File->SetOverwriteMode(owNever);
  Dir->Process();
  EXPECT_FALSE(File->CopyDecided());
  EXPECT_EQ(ReadFile(Target), "old");

  // A target made after the folder was read still goes through the overwrite decision.
  DeleteFileA(Target.c_str());
  WriteFile(Scratch / "src\\first.txt", "first");
  auto* first = new TInstallFile(Form.get(), Dir, Scratch / "src\\first.txt");
  first->SetOverwriteMode(owNever);
  Dir->Compress(coForceNetFilesLocal);
  File->SetOverwriteMode(owAlways);
  File->OnAfterInstall = [this](TCustomInstallFile*) { WriteFile(Dest + "\\first.txt", "old"); };
  Dir->Process();
  EXPECT_EQ(ReadFile(Target), Content(5000, 'n'));
  EXPECT_EQ(ReadFile(Dest + "\\first.txt"), "old");
}

TEST_F(FileInstall, FilesSkippedByTheirEventAreNeitherDoneNorLogged) {
  File->OnBeforeInstall = [](TCustomInstallFile*) { throw fw::EAbort(""); };
  Dir->Process();
  EXPECT_FALSE(File->Done());
  EXPECT_FALSE(Exists(Target));
  EXPECT_EQ(Logged("Files", "File1"), "-");
}

TEST_F(FileInstall, AFailedExtractionLeavesTheOldFileIntact) {
  OldTarget(5);
  // Cut the archive inside the file's data.
  std::string archive = ReadFile(Scratch / "dir.1");
  WriteFile(Scratch / "dir.1", archive.substr(0, archive.size() - 100));
  EXPECT_ANY_THROW(Dir->Process());
  EXPECT_EQ(ReadFile(Target), "old");
  // Nothing but the old file is left in the folder.
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((Dest + "\\*").c_str(), &data);
  std::vector<std::string> names;
  do {
    if (data.cFileName[0] != '.') names.push_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  EXPECT_EQ(names, std::vector<std::string>{"new.txt"});
  EXPECT_EQ(Dir->State(), ifsNone);
}

// The pending renames Windows performs at the next start.
std::string PendingRenames() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return "";
  std::vector<wchar_t> data(65536);
  DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  LONG result = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(data.data()), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) return "";
  std::string text;
  for (size_t i = 0; i < size / sizeof(wchar_t); ++i) text += data[i] == 0 ? '|' : static_cast<char>(data[i]);
  return text;
}

TEST_F(FileInstall, AFileInUseIsReplacedAtTheNextStart) {
  OldTarget(5);
  WriteFile(Dest + "\\new.1", "someone else's");
  HANDLE held = CreateFileA(Target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Dir->Process();
  CloseHandle(held);
  EXPECT_TRUE(File->ReplacedAtReboot());
  EXPECT_EQ(ReadFile(Target), "old");
  EXPECT_EQ(ReadFile(Dest + "\\new.1"), "someone else's");
  EXPECT_EQ(ReadFile(Dest + "\\new.2"), Content(5000, 'n'));
  std::string pending = PendingRenames();
  EXPECT_NE(pending.find("new.2"), std::string::npos) << pending;
  EXPECT_TRUE(Engine->RebootRequested);
  ASSERT_EQ(Engine->Unfinished.size(), 1u);
  EXPECT_EQ(Engine->Unfinished[0], (std::pair<std::string, int>{"NewText", 0}));
  // The log names the real file, which the restart puts in place.
  EXPECT_EQ(Logged("Files", "File1"), Target);
  EXPECT_EQ(File->DestName(), "new.txt");
  // Cancel the pending move again: the test prefix must not replace anything.
  MoveFileExA((Dest + "\\new.2").c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// Plays the restart in the test prefix: wineboot performs the pending moves. It runs
// as a ctest of its own that no other test runs beside (it restarts the prefix).
TEST_F(FileInstall, TheRestartPutsTheNewFileInPlace) {
  if (GetEnvironmentVariableA("STAVREL_RESTART_TEST", nullptr, 0) == 0) GTEST_SKIP() << "run by objects_restart";
  OldTarget(5);
  // The old file is held by another program, which the restart ends.
  THolderProcess holder(Target);
  ASSERT_TRUE(holder.Holding());
  Dir->Process();
  ASSERT_TRUE(File->ReplacedAtReboot());
  ASSERT_TRUE(Exists(Dest + "\\new.1"));
  EXPECT_EQ(ReadFile(Dest + "\\new.1"), Content(5000, 'n'));
  EXPECT_NE(PendingRenames().find("new.1"), std::string::npos);
  holder.Release();
  EXPECT_EQ(ReadFile(Target), "old");
  ASSERT_EQ(RunAndWait("wineboot.exe -r"), 0);
  EXPECT_EQ(ReadFile(Target), Content(5000, 'n'));
  EXPECT_FALSE(Exists(Dest + "\\new.1"));
  EXPECT_EQ(PendingRenames().find("new.1"), std::string::npos);
}

TEST_F(FileInstall, WhereTheRestartMoveIsRefusedABatchFileRunOnceDoesIt) {
  OldTarget(5);
  File->RestartMoveRefused = true;
  THolderProcess holder(Target);
  ASSERT_TRUE(holder.Holding());
  Dir->Process();
  holder.Release();
  ASSERT_TRUE(File->ReplacedAtReboot());
  EXPECT_TRUE(Engine->RebootRequested);
  ASSERT_EQ(Engine->Unfinished.size(), 2u);
  const std::string batch = Engine->Unfinished[0].first;
  EXPECT_EQ(Engine->Unfinished[0].second, 1);
  EXPECT_EQ(Engine->Unfinished[1], (std::pair<std::string, int>{"NewText", 0}));
  EXPECT_EQ(PendingRenames().find("new.1"), std::string::npos);
  std::string runOnce = ReadRegString(RunOnceRoot(), kRunOnceKey, "QuenlarkBatFile", "-");
  HKEY runOnceKey = nullptr;
  if (RegOpenKeyExA(RunOnceRoot() == hkCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, kRunOnceKey + 1, 0,
                    KEY_SET_VALUE, &runOnceKey) == ERROR_SUCCESS) {
    RegDeleteValueA(runOnceKey, "QuenlarkBatFile");
    RegCloseKey(runOnceKey);
  }
  EXPECT_EQ(runOnce, "\"" + batch + "\"");
  EXPECT_EQ(Logged("Files", "File1"), Target);

  // What the next start runs puts the new file in place and the old one away.
  EXPECT_EQ(ReadFile(Target), "old");
  EXPECT_EQ(RunAndWait("cmd.exe /c " + runOnce), 0);
  EXPECT_EQ(ReadFile(Target), Content(5000, 'n'));
  EXPECT_FALSE(Exists(Dest + "\\new.1"));
  DeleteFileA(batch.c_str());
}

TEST_F(FileInstall, AMultiVolumeArchiveAsksTheContainerForTheNextDisk) {
  // A file too big for one disk: disk 1 in one folder, disk 2 in another.
  std::string data(70000, ' ');
  uint32_t state = 12345;
  for (char& c : data) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  WriteFile(Scratch / "src\\big.bin", data);
  auto* big = new TInstallFile(Form.get(), Dir, Scratch / "src\\big.bin");
  Dir->Compress(coForceNetFilesLocal);
  std::string disk1 = Scratch.Folder("disk1"), disk2 = Scratch.Folder("disk2");
  TSmallDisks splitter;
  splitter.SetCompressedFile(Scratch / "dir.1");
  splitter.OnNewDisk = [&](TQnlkCompress*, int, std::string& Folder) { Folder = disk2; };
  splitter.SplitToDisks(disk1, "dir.1");
  ASSERT_TRUE(Exists(disk2 + "\\dir.2"));
  Dir->SetArchiveFile(disk1 + "\\dir.1");

  // Each file whose data reach disk 2 asks for it where the archive was found.
  std::vector<TCustomInstallFile*> askers;
  Dir->OnNewDisk = [&](TCustomInstallFile* Asking, int Disk, std::string& Path) {
    askers.push_back(Asking);
    EXPECT_EQ(Disk, 2);
    EXPECT_EQ(Path, disk1);
    Path = disk2;
  };
  Dir->Process();
  EXPECT_NE(std::find(askers.begin(), askers.end(), big), askers.end());
  EXPECT_LE(askers.size(), 2u);
  EXPECT_EQ(ReadFile(Dest + "\\big.bin"), data);
  EXPECT_EQ(ReadFile(Target), Content(5000, 'n'));
  EXPECT_EQ(Dir->State(), ifsNone);
}

bool Windows98(TWindowsVersion& Version) {
  Version = TWindowsVersion{1, 4, 10};
  return true;
}

TEST_F(FileInstall, Windows9xMovesTheFileThroughWininit) {
  OldTarget(5);
  HANDLE held = CreateFileA(Target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TWindowsVersionQuery previous = SetWindowsVersionQuery(Windows98);
  Dir->Process();
  SetWindowsVersionQuery(previous);
  CloseHandle(held);
  std::string ini = GetWindowsDir() + "\\WININIT.INI";
  std::string key = ShortPathName(Target);
  char value[MAX_PATH] = "";
  GetPrivateProfileStringA("Rename", key.c_str(), "", value, sizeof value, ini.c_str());
  WritePrivateProfileStringA("Rename", key.c_str(), nullptr, ini.c_str());
  EXPECT_EQ(std::string(value), ShortPathName(Dest + "\\new.1"));
  EXPECT_TRUE(Engine->RebootRequested);
  EXPECT_EQ(ReadFile(Dest + "\\new.1"), Content(5000, 'n'));
}

TEST_F(FileInstall, SharedFilesAreCountedOncePerProductAndKeptFilesStillRegister) {
  File->SetRegisterAsHelp(true);
  File->SetUpdateDLLCounter(true);
  File->SetOverwriteMode(owNever);
  constexpr char kSharedKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  // The count lives under the long name; one left by an earlier run of a process of the
  // same number starts afresh.
  const auto count = [&]() -> DWORD {
    DWORD value = 0, size = sizeof value;
    fw::TRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS ||
        RegQueryValueExA(key.Get(), Target.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS)
      return 0;
    return value;
  };
  const auto forget = [&] {
    fw::TRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_WRITE, key.Put()) != ERROR_SUCCESS) return;
    RegDeleteValueA(key.Get(), Target.c_str());
    RegDeleteValueA(key.Get(), ShortPathName(Target).c_str());
  };
  forget();
  Dir->Process();  // installs: the target did not exist
  EXPECT_EQ(count(), 1u);
  EXPECT_NE(Logged("MadeFiles", Target).find(" shared"), std::string::npos) << "the use the uninstaller gives back";
  Dir->Process();  // the same setup again keeps it: this product counted its use already
  EXPECT_EQ(count(), 1u) << "the uninstaller gives back one use";
  EXPECT_EQ(ReadRegString(hkLocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\Help", "NEW.TXT", "-"), Dest);

  // Another program's copy that this product keeps is this product's use too.
  DeleteRegKeyTree(hkLocalMachine, Uninstall);
  if (fw::TRegKeyHandle help; RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\Help", 0, KEY_WRITE,
                                             help.Put()) == ERROR_SUCCESS)
    RegDeleteValueA(help.Get(), "NEW.TXT");
  Dir->Process();
  EXPECT_EQ(count(), 2u);
  EXPECT_EQ(ReadRegString(hkLocalMachine, "\\SOFTWARE\\Microsoft\\Windows\\Help", "NEW.TXT", "-"), Dest);
  // It is logged, so the uninstaller gives the use back, and a second run counts no more.
  EXPECT_TRUE(IsFileLogged(Uninstall, Target));
  Run();
  EXPECT_EQ(count(), 2u) << "a kept file counted on every run is never released";
  EXPECT_EQ(UninstallProduct(Engine->Info.ProductName(), MachineFolderRules()).NotRemoved,
            std::vector<std::string>{});
  EXPECT_EQ(count(), 1u) << "the other program's use stays";
  EXPECT_TRUE(FileExists(Target)) << "the other program's file stays";

  // A kept file that nobody counts is another program's alone: neither counted nor logged.
  forget();
  Run();
  EXPECT_EQ(count(), 0u);
  EXPECT_FALSE(IsFileLogged(Uninstall, Target));
  forget();
}

// Another program that counted the file under its short name counts it too: the kept
// file is this product's use as well, counted on that value and logged.
TEST_F(FileInstall, AKeptFileCountedUnderItsShortNameIsCountedThere) {
  File->SetUpdateDLLCounter(true);
  File->SetOverwriteMode(owNever);
  const std::string folder = Dest + "\\Shared Files", target = folder + "\\new.txt";
  Dir->SetDestDir(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFile(target, "the other program's copy, kept");
  SetFileDay(target, 15);
  const std::string shortName = ShortPathName(target);
  ASSERT_NE(shortName, target) << "the test needs a path whose short name differs";
  constexpr char kSharedKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  fw::TRegKeyHandle key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.Put(),
                            nullptr),
            ERROR_SUCCESS);
  const auto count = [&](const std::string& Name) -> DWORD {
    DWORD value = 0, size = sizeof value;
    return RegQueryValueExA(key.Get(), Name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
                   ERROR_SUCCESS
               ? value
               : 0;
  };
  const DWORD one = 1;
  RegSetValueExA(key.Get(), shortName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);

  Run();
  EXPECT_EQ(count(shortName), 2u);
  EXPECT_EQ(count(target), 0u) << "one count for one file";
  EXPECT_TRUE(IsFileLogged(Uninstall, target));
  RegDeleteValueA(key.Get(), shortName.c_str());
  RegDeleteValueA(key.Get(), target.c_str());
}

// --- a run taken back ------------------------------------------------------------

TEST_F(FileInstall, ARunTakenBackRemovesWhatItAddedAndKeepsWhatWasThere) {
  const std::string folder = Dest + "\\app\\data", target = folder + "\\new.txt";
  Dir->SetDestDir(folder);
  File->SetUpdateDLLCounter(true);
  File->SetRegisterAsHelp(true);
  const auto counted = [](const std::string& Path) { return HasSharedDLLCount(Path); };
  const auto helpValue = [] { return ReadRegString(hkLocalMachine, kHelpKey, "NEW.TXT", "-"); };
  const auto takeBack = [&] {
    Engine->Running = true;
    Engine->BeginRun();
    Engine->Process();
    Engine->RunJournal()->Undo();
    Engine->Running = false;
  };

  // A first installation taken back: its file, folders, log and count go, the help value
  // is as it was; the folder that was there stays.
  const std::string helpBefore = helpValue();
  takeBack();
  EXPECT_FALSE(FileExists(target));
  EXPECT_FALSE(FolderExists(Dest + "\\app"));
  EXPECT_TRUE(FolderExists(Dest));
  EXPECT_FALSE(counted(target));
  EXPECT_EQ(helpValue(), helpBefore);
  TqnlkRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_FALSE(registry.KeyExistsReadOnly(Uninstall));

  // A repair that brings a second file, taken back: the installation stays as it was,
  // working and removable.
  std::string source = Scratch.Folder("src") + "\\more.txt";
  WriteFile(source, Content(3000, 'm'));
  auto* more = new TAnsweredFile(Form.get(), Dir, source);
  more->SetName("MoreText");
  Dir->Compress(coForceNetFilesLocal);
  more->SetInclude(false);
  Run();
  ASSERT_TRUE(FileExists(target));
  const std::string logBefore = Logged("Files", "File1") + "|" + Logged("Files", "Entries");
  more->SetInclude(true);
  takeBack();
  EXPECT_TRUE(FileExists(target));
  EXPECT_FALSE(FileExists(folder + "\\more.txt"));
  EXPECT_EQ(Logged("Files", "File1") + "|" + Logged("Files", "Entries"), logBefore);
  EXPECT_TRUE(counted(target));
  EXPECT_EQ(helpValue(), folder);
  EXPECT_EQ(UninstallProduct(Engine->Info.ProductName(), MachineFolderRules()).NotRemoved,
            std::vector<std::string>{});
  EXPECT_FALSE(FileExists(target));
  EXPECT_FALSE(counted(target));
}

// --- the uninstall log -----------------------------------------------------------

TEST_F(FileInstall, EachRunReadsTheLogAfreshAndLogsAFileOnce) {
  Run();
  EXPECT_EQ(Logged("Files", "File1"), Target);
  DeleteRegKeyTree(hkLocalMachine, Uninstall);  // uninstalled between the runs
  Run();
  EXPECT_EQ(Logged("Files", "File1"), Target) << "the run trusted what an earlier run read";
  Run();
  EXPECT_EQ(Logged("Files", "Entries"), "1");
}

TEST_F(FileInstall, TheLogRecordsWhatEachRunWroteAndTheFoldersItMade) {
  const std::string folder = Dest + "\\app\\data", target = folder + "\\new.txt";
  Dir->SetDestDir(folder);
  const auto recorded = [&] { return Logged("MadeFiles", target); };
  const auto content = [](const std::string& Path) {
    TFileIdentity identity;
    EXPECT_TRUE(ReadFileIdentity(Path, identity));
    return std::to_string(identity.Size) + ":" + DigestToHex(identity.Digest);
  };
  Run();
  const std::string first = content(target);
  EXPECT_EQ(recorded(), first);
  // Every level the run made, as it is; not the folder that was there.
  EXPECT_EQ(Logged("MadeFolders", Dest + "\\app"), TOpenedEntry(Dest + "\\app").Id());
  EXPECT_EQ(Logged("MadeFolders", folder), TOpenedEntry(folder).Id());
  EXPECT_EQ(Logged("MadeFolders", Dest), "-");

  // A later run that writes other contents records them; one that finds the file the
  // same (as old as the archived one) writes nothing and keeps the record.
  WriteFile(Scratch / "src\\new.txt", Content(7000, 'm'));
  SetFileDay(Scratch / "src\\new.txt", 10);
  Dir->Compress(coForceNetFilesLocal);
  Run();
  const std::string second = content(target);
  EXPECT_NE(second, first);
  EXPECT_EQ(recorded(), second);
  File->SetOverwriteMode(owDate);
  WriteFile(target, "the user's now");
  SetFileDay(target, 10);
  Run();
  EXPECT_FALSE(File->CopyDecided());
  EXPECT_EQ(recorded(), second);

  // A file in use is replaced at the restart: until then what is in place is still what
  // an earlier run wrote, so both contents count.
  File->SetOverwriteMode(owAlways);
  WriteFile(target, Content(7000, 'm'));
  WriteFile(Scratch / "src\\new.txt", Content(9000, 'k'));
  Dir->Compress(coForceNetFilesLocal);
  HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Run();
  CloseHandle(held);
  ASSERT_TRUE(File->ReplacedAtReboot());
  EXPECT_EQ(recorded(), second + " " + content(folder + "\\new.1"));
  DeleteFileA((folder + "\\new.1").c_str());
}

TEST(UninstallFileLog, FilesAndComFilesHaveTheirOwnSubkeys) {
  const std::string key = std::string(kUninstallRootKey) + "Stavrel Log Test " + kPid;
  fw::TComponent owner(nullptr);
  TInstallFile plain(&owner), library(&owner), server(&owner), types(&owner), later(&owner), last(&owner);
  plain.SetFileName("a.txt");
  library.SetFileName("x.dll");
  library.SetActiveX(true);
  server.SetFileName("s.exe");
  server.SetActiveX(true);
  types.SetFileName("t.tlb");  // a type library is registered by its name
  later.SetFileName("b.txt");
  last.SetFileName("c.txt");
  for (TInstallFile* f : {&plain, &library, &server, &types, &later, &last}) {
    f->SetFileType(iftNormal);  // keeps the folder a system-wide DLL would not
    f->SetDestDir("C:\\App");
  }
  for (TInstallFile* f : {&plain, &library, &server, &types}) f->WriteUninstallInfo(key);
  auto value = [&](const std::string& Subkey, const std::string& Name) {
    return ReadRegString(hkLocalMachine, key + "\\" + Subkey, Name, "-");
  };
  EXPECT_EQ(value("Files", "Entries"), "1");
  EXPECT_EQ(value("Files", "File1"), "C:\\App\\a.txt");
  EXPECT_EQ(value("ActiveX", "Entries"), "3");
  EXPECT_EQ(value("ActiveX", "File1"), "C:\\App\\x.dll;0");
  EXPECT_EQ(value("ActiveX", "File2"), "C:\\App\\s.exe;1");
  EXPECT_EQ(value("ActiveX", "File3"), "C:\\App\\t.tlb;2");
  // The setup run again (a repair, an update) logs nothing twice, whatever the case.
  plain.WriteUninstallInfo(key);
  library.WriteUninstallInfo(key);
  plain.SetDestDir("c:\\app");
  plain.WriteUninstallInfo(key);
  EXPECT_EQ(value("Files", "Entries"), "1");
  EXPECT_EQ(value("Files", "File2"), "-");
  EXPECT_EQ(value("ActiveX", "Entries"), "3");
  // A damaged count sends the next entries to Files1; what Files holds is still known.
  WriteRegString(hkLocalMachine, key + "\\Files", "Entries", "damaged");
  later.WriteUninstallInfo(key);
  plain.WriteUninstallInfo(key);
  EXPECT_EQ(value("Files1", "File1"), "C:\\App\\b.txt");
  EXPECT_EQ(value("Files1", "Entries"), "1");
  later.WriteUninstallInfo(key);
  EXPECT_EQ(value("Files1", "Entries"), "1");
  for (int n = 1; n <= kMaxFilesLogRetries; ++n)
    WriteRegString(hkLocalMachine, key + "\\Files" + std::to_string(n), "Entries", "x");
  EXPECT_THROW(last.WriteUninstallInfo(key), IECustomInstallFile);
  DeleteRegKeyTree(hkLocalMachine, key);
}

}  // namespace
