#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "engine/RestartCommands.h"
#include "objects/InstallLists.h"
#include "support/OSVersion.h"

using namespace setup;
using namespace setup::testing;

namespace {

constexpr char kRoot[] = "SOFTWARE\\URQ\\Install";

bool KeyExists(const std::string& Path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void WriteValue(const std::string& Path, const char* Name, DWORD Type, const void* Data, DWORD Size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, Name, 0, Type, static_cast<const BYTE*>(Data), Size);
  RegCloseKey(key);
}

// A record as another run left it, for the file whose facts are given.
void WriteRecord(const std::string& Name, double Date, int32_t Size, bool WithSize = true) {
  std::string path = std::string(kRoot) + "\\" + Name;
  WriteValue(path, "Path", REG_SZ, "C:\\other\\setup.exe", 19);
  WriteValue(path, "CreationDate", REG_BINARY, &Date, sizeof(Date));
  if (WithSize) WriteValue(path, "Size", REG_DWORD, &Size, sizeof(Size));
}

// The size and UTC date of a file, as the record keeps them.
void FileFacts(const std::string& Path, double& Date, int32_t& Size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &data));
  Size = static_cast<int32_t>(data.nFileSizeLow);
  Date = FileTimeToDays((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime);
}

double ReadDoubleValue(const std::string& Path, const char* Name) {
  HKEY key = nullptr;
  double value = -1;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = sizeof(value);
  DWORD type = 0;
  RegQueryValueExA(key, Name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return type == REG_BINARY ? value : -2;
}

class InstallRecord : public EngineFixture {
 protected:
  InstallRecord() {
    ProgramFile = Scratch / "setup.exe";
    testsupport::WriteFile(ProgramFile, "a program of 24 bytes...");
    TTestInstall::NextProgramFile() = ProgramFile;
  }
  std::string Find(bool Create) {
    std::string key = "unchanged";
    Engine->FindInstallRecord(Create, key);
    return key;
  }
  std::string ProgramFile;
};

TEST_F(InstallRecord, TheSameProgramFileFindsItsRecordAndARebuiltOneGetsTheFirstFreeNumber) {
  Load();
  EXPECT_EQ(*InstallRecordKey(), "") << "the look-up at start-up makes no record";
  EXPECT_TRUE(KeyExists(kRoot)) << "the parent is made by every look-up";
  double date = 0;
  int32_t size = 0;
  FileFacts(ProgramFile, date, size);
  WriteRecord("Install0", date + 1, size);     // another date
  WriteRecord("Install2", date, size + 1);     // another size
  WriteRecord("Install3", date, size, false);  // no size: never matched
  EXPECT_EQ(Find(false), "");
  std::string key = Find(true);
  EXPECT_EQ(key, "\\SOFTWARE\\URQ\\Install\\Install1");
  EXPECT_EQ(ReadDoubleValue(std::string(kRoot) + "\\Install1", "CreationDate"), date) << "the file's UTC date";
  EXPECT_EQ(ReadDoubleValue(std::string(kRoot) + "\\Install1", "LastRunDate"), InstallStartTime());
  EXPECT_EQ(Find(true), key);
  EXPECT_EQ(Find(false), key);
  // The record's values, in their types.
  HKEY record = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kRoot) + "\\Install1").c_str(), 0, KEY_READ, &record),
            ERROR_SUCCESS);
  char path[MAX_PATH];
  DWORD length = sizeof(path);
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExA(record, "Path", nullptr, &type, reinterpret_cast<BYTE*>(path), &length), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(path), ProgramFile);
  int32_t stored = 0;
  length = sizeof(stored);
  EXPECT_EQ(RegQueryValueExA(record, "Size", nullptr, &type, reinterpret_cast<BYTE*>(&stored), &length), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored, 24);
  EXPECT_NE(RegQueryValueExA(record, "SelfExtract", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(record);
}

TEST_F(InstallRecord, ASelfExtractingRunNamesItsSetupFile) {
  TTestInstall::NextArguments() = {"-sC:\\Dist\\", "-eSetup.exe"};
  Load();
  EXPECT_EQ(Find(true), "\\SOFTWARE\\URQ\\Install\\Install0");
  HKEY record = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kRoot) + "\\Install0").c_str(), 0, KEY_READ, &record),
            ERROR_SUCCESS);
  char text[MAX_PATH] = {};
  DWORD length = sizeof(text);
  EXPECT_EQ(RegQueryValueExA(record, "SelfExtract", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &length),
            ERROR_SUCCESS);
  RegCloseKey(record);
  EXPECT_EQ(std::string(text), "C:\\Dist\\Setup.exe");
}

TEST_F(InstallRecord, RemovingTheRecordTakesItsDownloadsAndTheEmptyParentsWithIt) {
  Load();
  *InstallRecordKey() = Find(true);
  std::string download = Scratch / "Group.1";
  testsupport::WriteFile(download, "archive");
  WriteValue(std::string(kRoot) + "\\Install0\\Group", "LocalFile", REG_SZ, download.c_str(),
             static_cast<DWORD>(download.size() + 1));
  Engine->AddUnfinished("Group", 0);
  Engine->RemoveInstallRecord();
  EXPECT_FALSE(testsupport::FileExists(download));
  EXPECT_FALSE(KeyExists("SOFTWARE\\URQ")) << "no record left: the parents go too";
  EXPECT_EQ(*InstallRecordKey(), "\\SOFTWARE\\URQ\\Install\\Install0");

  // Another installation's record keeps the parents.
  WriteRecord("Install5", 1, 1);
  *InstallRecordKey() = Find(true);
  Engine->RemoveInstallRecord();
  EXPECT_FALSE(KeyExists(std::string(kRoot) + "\\Install0"));
  EXPECT_TRUE(KeyExists(std::string(kRoot) + "\\Install5"));
}

TEST_F(InstallRecord, TheUnfinishedListNeedsARecordAndKeepsItemAndKind) {
  Load();
  const std::string message = "The TInstall could not either write or read unfinished business from the registry";
  fw::TStringList lines;
  for (auto operation : std::vector<std::function<void()>>{[&] { Engine->AddUnfinished("x", 0); },
                                                           [&] { Engine->GetUnfinishedList(lines); },
                                                           [&] { Engine->ClearUnfinishedList(); }}) {
    try {
      operation();
      ADD_FAILURE() << "no error without a record";
    } catch (const IEInstall& e) {
      EXPECT_EQ(e.Message(), message);
    }
  }
  *InstallRecordKey() = Find(true);
  Engine->GetUnfinishedList(lines);
  EXPECT_EQ(lines.Count(), 0);
  Engine->AddUnfinished("InstallFile1", 0);
  Engine->AddUnfinished("C:\\Temp\\a;b.bat", 1);
  EXPECT_EQ(Engine->DeferredCount(), 2);
  Engine->GetUnfinishedList(lines);
  std::vector<std::string> got = lines.ToVector();
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<std::string>{"C:\\Temp\\a;b.bat;1", "InstallFile1;0"}));
  Engine->ClearUnfinishedList();
  Engine->GetUnfinishedList(lines);
  EXPECT_EQ(lines.Count(), 0);
}

TEST_F(InstallRecord, TheSavedLanguageFallsBackToTheDefault) {
  Load();
  EXPECT_EQ(Engine->ReadSavedLanguage(), qlUser) << "no record, no translator";
  Engine->SaveLanguage();  // no translator: nothing written, nothing raised
  *InstallRecordKey() = Find(true);
  int32_t german = static_cast<int32_t>(qlGerman);
  WriteValue(std::string(kRoot) + "\\Install0", "Language", REG_DWORD, &german, sizeof(german));
  EXPECT_EQ(Engine->ReadSavedLanguage(), qlGerman);
  int32_t wrong = 99;
  WriteValue(std::string(kRoot) + "\\Install0", "Language", REG_DWORD, &wrong, sizeof(wrong));
  EXPECT_EQ(Engine->ReadSavedLanguage(), qlUser);
}

TEST(RunOnceText, TheCommandQuotesEveryPartAndKeepsTheCleanUp) {
  EXPECT_EQ(RunOnceCommand("C:\\Temp\\ldr\\bramset.exe", false, "", "D:\\Setup Files", false),
            "\"C:\\Temp\\ldr\\bramset.exe\" -r \"-sD:\\Setup Files\"");
  EXPECT_EQ(RunOnceCommand("C:\\Temp\\ldr\\bramset.exe", true, "setup.exe", "D:\\", true),
            "\"C:\\Temp\\ldr\\bramset.exe\" -r \"-esetup.exe\" \"-sD:\\\\\" -c");
  EXPECT_EQ(QuoteArgument("a\\\"b"), "\"a\\\\\\\"b\"");
}

TEST(UnfinishedLines, ItemAndKindAreSplitAtTheLastSemicolon) {
  std::string item;
  int kind = -1;
  EXPECT_TRUE(ParseUnfinishedLine("InstallFile1;0", item, kind));
  EXPECT_EQ(item, "InstallFile1");
  EXPECT_EQ(kind, 0);
  EXPECT_TRUE(ParseUnfinishedLine("C:\\a;b\\x.bat;1", item, kind));
  EXPECT_EQ(item, "C:\\a;b\\x.bat");
  EXPECT_EQ(kind, 1);
  for (const char* bad : {"NoKind", ";1", "Name;", "Name;x", "Name;1x", "Name;99999999999", "Name;-"})
    EXPECT_FALSE(ParseUnfinishedLine(bad, item, kind)) << bad;
}

TWindowsVersion gVersion{2, 5, 1};
bool InjectedVersion(TWindowsVersion& Version) {
  Version = gVersion;
  return true;
}

TEST_F(InstallRecord, TheRunOnceCommandGoesUnderTheRootOfTheWindowsFamily) {
  TTestInstall::NextArguments() = {"-s" + Scratch.Path(), "-c"};
  Load();
  TWindowsVersionQuery previous = SetWindowsVersionQuery(InjectedVersion);
  gVersion = {2, 5, 1};
  Engine->RegisterRunOnce();
  std::string expected = "\"" + ProgramFile + "\" -r \"-s" + Scratch.Path() + "\" -c";
  EXPECT_EQ(RunOnceValue(HKEY_CURRENT_USER, "QuenlarkUnfinished"), expected);
  Engine->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue(HKEY_CURRENT_USER, "QuenlarkUnfinished1"), expected) << "a second run adds a value";
  gVersion = {1, 4, 10};  // Windows 98
  Engine->RegisterRunOnce();
  EXPECT_EQ(RunOnceValue(HKEY_LOCAL_MACHINE, "QuenlarkUnfinished"), expected);
  SetWindowsVersionQuery(previous);
}

}  // namespace
