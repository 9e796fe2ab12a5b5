#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "core/Classes.h"
#include "gui/WinHandles.h"
#include "support/Errors.h"
#include "support/FileAttributes.h"
#include "support/OSVersion.h"
#include "support/UniqueName.h"
#include "support/WinFolders.h"

using namespace setup;

namespace {

// A folder of its own under the temporary folder, removed with everything in it.
class TScratchFolder {
 public:
  TScratchFolder() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    FPath = std::string(base) + "support-tests-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(FPath.c_str(), nullptr);
  }
  ~TScratchFolder() { Remove(FPath); }
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& Name, const std::string& Text = "x") const {
    std::string path = FPath + "\\" + Name;
    std::ofstream(path, std::ios::binary) << Text;
    return path;
  }

 private:
  static void Remove(const std::string& Path) {
    WIN32_FIND_DATAA data;
    fw::TFindHandle find(FindFirstFileA((Path + "\\*").c_str(), &data));
    if (find) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        std::string child = Path + "\\" + name;
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(child);
        else
          DeleteFileA(child.c_str());
      } while (FindNextFileA(find.Get(), &data));
    }
    RemoveDirectoryA(Path.c_str());
  }
  std::string FPath;
};

// --- Windows version -----------------------------------------------------------

TWindowsVersion gInjected;
bool InjectedVersion(TWindowsVersion& Version) {
  Version = gInjected;
  return true;
}
bool UnreadableVersion(TWindowsVersion&) {
  return false;
}

struct TVersionRow {
  uint32_t Platform, Major, Minor;
  TOSVerType Expected;
};

class OSVersionTable : public ::testing::TestWithParam<TVersionRow> {
 protected:
  void SetUp() override { FPrevious = SetWindowsVersionQuery(InjectedVersion); }
  void TearDown() override { SetWindowsVersionQuery(FPrevious); }
  TWindowsVersionQuery FPrevious = nullptr;
};

TEST_P(OSVersionTable, ClassifiesTheReportedVersion) {
  const TVersionRow& row = GetParam();
  gInjected = TWindowsVersion{row.Platform, row.Major, row.Minor};
  EXPECT_EQ(GetOSVersion(), row.Expected) << row.Platform << " " << row.Major << "." << row.Minor;
  // The report itself reaches the callers that need more than the class.
  TWindowsVersion read;
  ASSERT_TRUE(QueryWindowsVersion(read));
  EXPECT_EQ(read.Platform, row.Platform);
  EXPECT_EQ(read.Major, row.Major);
  EXPECT_EQ(read.Minor, row.Minor);
}

INSTANTIATE_TEST_SUITE_P(EveryRow, OSVersionTable,
                         ::testing::Values(TVersionRow{0, 3, 10, os31win32}, TVersionRow{1, 4, 90, oswinME},
                                           TVersionRow{1, 4, 10, oswin98}, TVersionRow{1, 4, 0, oswin95},
                                           TVersionRow{1, 4, 3, oswin98}, TVersionRow{2, 5, 0, oswin2K},
                                           TVersionRow{2, 5, 1, oswinXP}, TVersionRow{2, 5, 2, oswinXP},
                                           TVersionRow{2, 4, 0, oswinNT}, TVersionRow{2, 3, 51, oswinNT351},
                                           TVersionRow{2, 6, 1, oswinXP}, TVersionRow{2, 10, 0, oswinXP},
                                           TVersionRow{3, 1, 0, osUnidentified}));

TEST(OSVersion, UnreadableVersionRaisesAndTheRealOneIsKnown) {
  TWindowsVersionQuery previous = SetWindowsVersionQuery(UnreadableVersion);
  TWindowsVersion read;
  EXPECT_FALSE(QueryWindowsVersion(read));
  try {
    GetOSVersion();
    ADD_FAILURE();
  } catch (const EAPIRoutines& e) {
    EXPECT_STREQ(e.what(), "Could not get information about the current version of Windows");
  }
  SetWindowsVersionQuery(nullptr);
  TOSVerType running = GetOSVersion();
  EXPECT_NE(running, osUnidentified);
  EXPECT_TRUE(OSNTFamily.Contains(running));
  SetWindowsVersionQuery(previous);
}

// --- folders, attributes -------------------------------------------------------

TEST(WindowsFolders, SystemWindowsAndTemporaryFiles) {
  EXPECT_TRUE(FolderExists(GetSystemDir()));
  EXPECT_TRUE(FolderExists(GetWindowsDir()));
  std::string kept = GetTempFile(true);
  EXPECT_NE(GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(kept.find("bat"), std::string::npos);
  DeleteFileA(kept.c_str());
  std::string name = GetTempFile(false);
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(GetFileAttributesA(name.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ShortPathName(""), "");
}

TEST(FileAttributes, SetAndReadBackReadOnly) {
  TScratchFolder scratch;
  std::string file = scratch.File("plain.txt");
  EXPECT_EQ(FileAttributeBits({qfaReadOnly, qfaHidden, qfaCompressed}), 0x3u);
  EXPECT_EQ(FileAttributeBits({qfaArchive, qfaSystem, qfaTemporary, qfaOffline}), 0x1124u);
  TQnlkFileAttributeSet found{qfaHidden};
  GetFileReadOnlyAttr(file, found);
  EXPECT_TRUE(found.Empty());
  SetFileAttributeSet(file, {qfaReadOnly, qfaArchive});
  EXPECT_EQ(GetFileAttributesA(file.c_str()) & 0x21u, 0x21u);
  GetFileReadOnlyAttr(file, found);
  EXPECT_EQ(found, TQnlkFileAttributeSet{qfaReadOnly});
  try {
    SetFileAttributeSet(scratch.Path() + "\\missing.txt", {qfaNormal});
    ADD_FAILURE();
  } catch (const IEfcSetAttributes& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot set file attributes. Error : ", 0), 0u) << e.what();
    EXPECT_GT(std::string(e.what()).size(), std::string("Cannot set file attributes. Error : ").size());
  }
}

TEST(FileAttributes, AFileThatCannotBeOpenedGivesAnEmptySet) {
  TScratchFolder scratch;
  std::string file = scratch.File("locked.txt");
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
  TQnlkFileAttributeSet found{qfaReadOnly};
  GetFileReadOnlyAttr(scratch.Path() + "\\missing.txt", found);
  EXPECT_TRUE(found.Empty());
  fw::TFileHandle lock(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(lock);
  found = TQnlkFileAttributeSet{qfaReadOnly};
  GetFileReadOnlyAttr(file, found);
  EXPECT_TRUE(found.Empty());
}

TEST(DeepestExistingDir, ClimbsToTheFirstFolderThatExists) {
  TScratchFolder scratch;
  EXPECT_EQ(GetDeepestExistingDir(scratch.Path()), scratch.Path());
  EXPECT_EQ(GetDeepestExistingDir(scratch.Path() + "\\missing\\deeper"), scratch.Path());
  // A file is no folder.
  std::string file = scratch.File("f.txt");
  EXPECT_EQ(GetDeepestExistingDir(file + "\\below"), scratch.Path());
  EXPECT_EQ(GetDeepestExistingDir("   "), "");
  EXPECT_EQ(GetDeepestExistingDir(""), "");
  EXPECT_EQ(GetDeepestExistingDir("nowhere-at-all\\deeper"), "");
  EXPECT_EQ(GetDeepestExistingDir("Q9:\\missing"), "");
}

TEST(LoadDllString, ReadsAnotherModulesStringTable) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(LoadDllString(self, 4711), "Strings from another module");
  EXPECT_EQ(LoadDllString(self, 4712), "");
  EXPECT_EQ(LoadDllString("no-such-module-here.dll", 4711), "");
}

// --- unique names --------------------------------------------------------------

// Installed files are recognised by their base class's name.
class TCustomInstallFile : public fw::TComponent {
  FW_CLASS(TCustomInstallFile, fw::TComponent)
 public:
  using fw::TComponent::TComponent;
};
class TInstallFile : public TCustomInstallFile {
  FW_CLASS(TInstallFile, TCustomInstallFile)
 public:
  using TCustomInstallFile::TCustomInstallFile;
};
const fw::TClass& TCustomInstallFile::StaticClass() {
  static const fw::TClass cls("TCustomInstallFile", &fw::TComponent::StaticClass());
  return cls;
}
const fw::TClass& TInstallFile::StaticClass() {
  static const fw::TClass cls("TInstallFile", &TCustomInstallFile::StaticClass());
  return cls;
}

TEST(UniqueComponentNames, NumberedUntilTheOwnerAccepts) {
  fw::TComponent owner(nullptr);
  auto* first = new TInstallFile(&owner);
  auto* second = new TInstallFile(&owner);
  auto* third = new TInstallFile(&owner);
  SetUniqueComponentName(first, "setup.exe");
  SetUniqueComponentName(second, "setup.exe");
  SetUniqueComponentName(third, "my-setup file.e-x-e");
  EXPECT_EQ(first->Name(), "IFsetup_exe");
  EXPECT_EQ(second->Name(), "IFsetup_exe1");
  EXPECT_EQ(third->Name(), "IFmysetupfile_exe");
  auto* other = new fw::TComponent(&owner);
  auto* another = new fw::TComponent(&owner);
  SetUniqueComponentName(other, "psProgramFiles");
  SetUniqueComponentName(another, "psProgramFiles");
  EXPECT_EQ(other->Name(), "psProgramFiles");
  EXPECT_EQ(another->Name(), "psProgramFiles1");
  EXPECT_EQ(UniqueNameCandidate("readme", true, 2), "IFreadme_2");
}

TEST(UniqueComponentNames, GivesUpOnABaseThatCanNeverBeAName) {
  fw::TComponent owner(nullptr);
  auto* component = new fw::TComponent(&owner);
  try {
    SetUniqueComponentName(component, "1 bad name");
    ADD_FAILURE();
  } catch (const EAPIRoutines& e) {
    EXPECT_NE(std::string(e.what()).find("1 bad name"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("is not a valid component name"), std::string::npos) << e.what();
  }
  EXPECT_EQ(component->Name(), "");
}

}  // namespace
