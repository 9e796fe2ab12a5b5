// Damaged and hostile setup files as the loader program and the engine meet them: archives
// whose stored names climb out of the folder they unpack into or name devices, archives
// that are cut, corrupt or claim a huge number of files while the digest still matches,
// and records that point at the wrong bytes. Each is refused with a message or unpacked
// inside the loader's own folder; nothing hangs, nothing is written elsewhere, and a
// refused setup leaves no temporary folder behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>

#include "BuildTestSupport.h"
#include "UiDriver.h"
#include "archive/FileHeader.h"
#include "engine/ExitCodes.h"
#include "engine/FileDigest.h"
#include "engine/SelfExtractFile.h"

namespace setup::buildtests {
namespace {

using ::testing::HasSubstr;

std::string ProgramFolder() {
  char name[MAX_PATH];
  GetModuleFileNameA(nullptr, name, sizeof name);
  return fs::path(name).parent_path().string();
}

std::string TempFolder() {
  char temp[MAX_PATH + 1];
  std::string folder(temp, GetTempPathA(sizeof temp, temp));
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

// The loader's folders below the temporary folder.
std::set<std::string> LoaderFolders() {
  std::set<std::string> folders;
  for (const auto& entry : fs::directory_iterator(TempFolder()))
    if (entry.is_directory() && entry.path().filename().string().rfind("QLoad", 0) == 0)
      folders.insert(entry.path().string());
  return folders;
}

int32_t GetInt32(const std::string& Bytes, size_t At) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= uint32_t(uint8_t(Bytes.at(At + i))) << (8 * i);
  return static_cast<int32_t>(u);
}

void PutInt32(std::string& Bytes, size_t At, uint32_t Value) {
  for (int i = 0; i < 4; ++i) Bytes.at(At + i) = static_cast<char>(Value >> (8 * i));
}

// Gives file Index of a single-file archive the stored name Name, as a hostile archive
// writer would.
void SetStoredName(std::string& Archive, int Index, const std::string& Name) {
  size_t header = kHeaderTableStart;
  for (int i = 0; i < Index; ++i) header = static_cast<size_t>(GetInt32(Archive, header + TFileHeader::fhNextHeader));
  const size_t at = header + TFileHeader::fhName;
  Archive.replace(at, kMaxStoredName + 1, std::string(kMaxStoredName + 1, '\0'));
  Archive[at] = static_cast<char>(Name.size());
  Archive.replace(at + 1, Name.size(), Name);
}

struct TOutcome {
  DWORD ExitCode = 0;
  std::string Message;              // the loader's message box, if it showed one
  std::vector<std::string> Report;  // what the installer probe wrote, if it ran
};

// A setup.exe made of the real loader and the parts a test gives, sealed with a digest
// that matches: only the loader's own checks stand between it and the installer.
class THostileSetup {
 public:
  TScratchFolder Folder{"hostile"};
  std::string SetupExe = Folder / "setup\\setup.exe";

  THostileSetup() { fs::create_directories(Folder / "setup"); }

  // An archive of the installer probe followed by Companions (stored name -> content).
  std::string SetupArchive(const std::vector<std::pair<std::string, std::string>>& Companions) {
    std::vector<std::pair<std::string, std::string>> files{
        {"installer.exe", ReadFile(ProgramFolder() + "\\loader_installer_probe.exe")}};
    for (size_t i = 0; i < Companions.size(); ++i)
      files.emplace_back("companion" + std::to_string(i) + ".txt", Companions[i].second);
    const std::string archive = Folder / "parts\\made.1";
    fs::create_directories(Folder / "parts\\src");
    MakeArchive(archive, files, Folder / "parts\\src");
    std::string bytes = ReadFile(archive);
    for (size_t i = 0; i < Companions.size(); ++i) SetStoredName(bytes, static_cast<int>(i + 1), Companions[i].first);
    return bytes;
  }

  // setup.exe: the loader, Setup1, Files1 when not empty, the record and the digest.
  void Make(const std::string& Setup1, const std::string& Files1 = "") {
    WriteFile(SetupExe, ReadFile(ProgramFolder() + "\\QuenlarkLoadProgram.exe"));
    WriteFile(Folder / "parts\\setup.1", Setup1);
    DeleteFileA((Folder / "parts\\files.1").c_str());
    if (!Files1.empty()) WriteFile(Folder / "parts\\files.1", Files1);
    AppendSelfExtractParts(SetupExe, Folder / "parts\\setup.1", Folder / "parts\\files.1");
    AppendFileCheckSum(SetupExe, "");
  }

  // Replaces the record of the finished setup.exe with Info and seals it again.
  void Rewrite(const TSelfExtractInfo& Info) {
    std::string bytes = ReadFile(SetupExe);
    bytes.resize(bytes.size() - kSelfExtractTailSize);
    const TSelfExtractBytes record = EncodeSelfExtractInfo(Info);
    bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    WriteFile(SetupExe, bytes);
    AppendFileCheckSum(SetupExe, "");
  }

  // Runs setup.exe as a user does, answering its message box; fails the test when it
  // does not end within 30 seconds.
  TOutcome Run() {
    const std::string probeOut = Folder / "probe.txt";
    DeleteFileA(probeOut.c_str());
    SetEnvironmentVariableA("STAVREL_PROBE_OUT", probeOut.c_str());
    std::string command = "\"" + SetupExe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(SetupExe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
      throw std::runtime_error("cannot start " + SetupExe);
    fw::TKernelHandle processHandle(process.hProcess), thread(process.hThread);
    TOutcome outcome;
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(processHandle.Get(), 50) != WAIT_OBJECT_0) {
      if (GetTickCount() - start > 30000) {
        TerminateProcess(processHandle.Get(), 99);
        ADD_FAILURE() << "setup.exe did not end";
        return outcome;
      }
      HWND box = testsupport::FindTopLevelWindow({.Caption = "Setup", .ProcessId = process.dwProcessId});
      HWND ok = box != nullptr ? testsupport::FindControl(box, {.Caption = "OK"}) : nullptr;
      if (ok == nullptr) continue;
      for (const auto& control : testsupport::ListControls(box))
        if (_stricmp(control.ClassName.c_str(), "Static") == 0 && !control.Text.empty()) outcome.Message = control.Text;
      testsupport::Click(ok);
    }
    GetExitCodeProcess(processHandle.Get(), &outcome.ExitCode);
    if (testsupport::FileExists(probeOut)) {
      std::istringstream lines(ReadFile(probeOut));
      for (std::string line; std::getline(lines, line);) outcome.Report.push_back(line);
    }
    return outcome;
  }
};

// Refused with a message; the installer never ran and no temporary folder stays.
void ExpectRefused(THostileSetup& Setup, const std::string& Text) {
  const std::set<std::string> before = LoaderFolders();
  const TOutcome outcome = Setup.Run();
  EXPECT_EQ(outcome.ExitCode, static_cast<DWORD>(ecFailed));
  EXPECT_TRUE(outcome.Report.empty()) << "the installer ran: " << outcome.Report[0];
  EXPECT_FALSE(outcome.Message.empty());
  EXPECT_THAT(outcome.Message, HasSubstr(Text));
  EXPECT_EQ(LoaderFolders(), before) << "a temporary folder stayed";
}

TEST(HostileSetup, StoredNamesThatClimbOutLandInTheLoadersOwnFolder) {
  THostileSetup setup;
  const std::vector<std::pair<std::string, std::string>> hostile{{"..\\..\\climb1.txt", "1"},
                                                                 {"C:\\climb2.txt", "2"},
                                                                 {"D:climb3.txt", "3"},
                                                                 {"\\\\server\\share\\climb4.txt", "4"},
                                                                 {"../../climb5.txt", "5"},
                                                                 {"\\\\?\\C:\\climb6.txt", "6"},
                                                                 {"C:\\windows\\system32\\climb7.txt", "7"}};
  setup.Make(setup.SetupArchive(hostile));
  // The installer says a restart is pending: the loader keeps its folder to be looked at.
  SetEnvironmentVariableA("STAVREL_PROBE_EXIT", std::to_string(ecRestartPending).c_str());
  const TOutcome outcome = setup.Run();
  SetEnvironmentVariableA("STAVREL_PROBE_EXIT", nullptr);
  EXPECT_EQ(outcome.ExitCode, static_cast<DWORD>(ecRestartPending)) << outcome.Message;
  ASSERT_GE(outcome.Report.size(), 2u);
  const fs::path folder = fs::path(outcome.Report[1]).parent_path();
  EXPECT_THAT(folder.filename().string(), HasSubstr("QLoad"));
  const std::vector<std::string> beside(outcome.Report.begin() + 2, outcome.Report.end());
  for (int i = 1; i <= 7; ++i) {
    const std::string name = "climb" + std::to_string(i) + ".txt";
    EXPECT_THAT(beside, ::testing::Contains(name));
    EXPECT_EQ(ReadFile((folder / name).string()), std::to_string(i));
    for (const std::string& outside :
         {TempFolder(), fs::path(TempFolder()).parent_path().string(), folder.parent_path().parent_path().string(),
          std::string("C:"), std::string("C:\\windows\\system32"), setup.Folder.Path()})
      EXPECT_FALSE(testsupport::FileExists(outside + "\\" + name)) << outside;
  }
  testsupport::RemoveTree(folder.string());
}

TEST(HostileSetup, DotDeviceAndBlankNamesAreRefused) {
  for (const std::string name : {"..", ".", "NUL", "CON", "aux.txt", "COM1", "   ", "a;b"}) {
    SCOPED_TRACE(name);
    THostileSetup setup;
    setup.Make(setup.SetupArchive({{name, "device"}}));
    ExpectRefused(setup, name == "   " ? "Could not read the file headers" : name);
    EXPECT_FALSE(testsupport::FileExists(TempFolder() + "\\device"));
  }
}

TEST(HostileSetup, ACutOrCorruptSetupArchiveWithAMatchingDigestIsRefused) {
  THostileSetup setup;
  const std::string good = setup.SetupArchive({{"companion.dll", RandomBytes(200000, 3)}});

  const std::string headers = "Could not read the file headers";
  setup.Make(good.substr(0, good.size() / 2));
  ExpectRefused(setup, headers);

  std::string corrupt = good;
  for (size_t i = good.size() - 1000; i < good.size() - 900; ++i) corrupt[i] = static_cast<char>(~corrupt[i]);
  setup.Make(corrupt);
  ExpectRefused(setup, "The compressed data of the file companion.dll are damaged");

  std::string huge = good;
  PutInt32(huge, 0, 0x7fffffff);
  setup.Make(huge);
  ExpectRefused(setup, headers);

  std::string none = good.substr(0, kHeaderTableStart);
  PutInt32(none, 0, 0);
  setup.Make(none + "padding");
  ExpectRefused(setup, "holds no installer program");
}

TEST(HostileSetup, RecordsThatPointAtTheWrongBytesAreRefused) {
  THostileSetup setup;
  const std::string archive = setup.SetupArchive({});
  setup.Make(archive, RandomBytes(5000, 8));
  const TSelfExtractInfo good = ReadSelfExtractInfo(setup.SetupExe);

  // setup.1 said to start at the loader: its bytes read as an archive with a huge count.
  TSelfExtractInfo info = good;
  info.Setup1First = 0;
  setup.Rewrite(info);
  ExpectRefused(setup, "Could not read the file headers");

  // setup.1 said to run into files.1, and files.1 into the record: the offsets are checked.
  info = good;
  info.Setup1Last = good.Files1First;
  setup.Rewrite(info);
  ExpectRefused(setup, "is damaged");
  info = good;
  info.Files1Last = good.Files1Last + 1;
  setup.Rewrite(info);
  ExpectRefused(setup, "is damaged");

  // Offsets that wrap around in 32 bits.
  info = good;
  info.Setup1Last = INT32_MIN;
  setup.Rewrite(info);
  ExpectRefused(setup, "is damaged");
  info = good;
  info.Files1First = INT32_MAX;
  info.Files1Last = INT32_MIN;
  setup.Rewrite(info);
  ExpectRefused(setup, "is damaged");

  // A record without offsets but with its trailer: a setup that says it was copied to
  // disks must not end in a trailer, and one at the end without setup.1 beside it.
  setup.Rewrite(TSelfExtractInfo{});
  ExpectRefused(setup, "is damaged");
  std::string bytes = ReadFile(setup.SetupExe);
  WriteFile(setup.SetupExe, bytes.substr(0, bytes.size() - kDigestTrailerSize));
  ExpectRefused(setup, "Cannot open the compressed file " + setup.Folder / "setup\\setup.1");
}

TEST(HostileSetup, TheEngineRefusesARecordThatReachesBeyondACutFile) {
  THostileSetup setup;
  setup.Make(setup.SetupArchive({}), RandomBytes(5000, 8));
  std::string bytes = ReadFile(setup.SetupExe);
  // The middle of files.1 cut out: the record and the trailer stay as they were.
  bytes.erase(bytes.size() - kSelfExtractTailSize - 3000, 2000);
  WriteFile(setup.SetupExe, bytes);
  EXPECT_THAT(MessageOf<IEInstall>([&] { ReadSelfExtractInfo(setup.SetupExe); }), HasSubstr("is not valid"));
  // The digest over everything before the trailer no longer matches it.
  EXPECT_NE(CalcFileCheckSum(setup.SetupExe, true), bytes.substr(bytes.size() - kDigestTrailerSize));
}

}  // namespace
}  // namespace setup::buildtests
