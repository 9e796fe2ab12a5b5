#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "ObjectTestSupport.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/InstallLists.h"
#include "support/Registry.h"

using namespace setup;
using namespace setup::testing;

namespace {

constexpr char kLibraryClass[] = "\\CLSID\\{5E1D7A40-6C2B-4B8E-9A51-0C2F3B7D9E11}";
constexpr char kServerClass[] = "\\CLSID\\{5E1D7A41-6C2B-4B8E-9A51-0C2F3B7D9E11}";
constexpr char kTypeLibrary[] = "\\TypeLib\\{5E1D7A30-6C2B-4B8E-9A51-0C2F3B7D9E11}";

// A file the build put beside the test program.
std::string BuiltFile(const std::string& Name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + Name;
}

// Installed copies of the probes, registered through installed-file objects.
class ComRegistration : public ::testing::Test {
 protected:
  void TearDown() override {
    DeleteRegKeyTree(hkClassesRoot, kLibraryClass);
    DeleteRegKeyTree(hkClassesRoot, kServerClass);
    DeleteRegKeyTree(hkClassesRoot, kTypeLibrary);
  }
  // The probe copied into the scratch folder as Name, and a file object for it.
  TInstallFile* Installed(const std::string& Probe, const std::string& Name) {
    EXPECT_TRUE(CopyFileA(BuiltFile(Probe).c_str(), (Scratch / Name).c_str(), FALSE));
    auto* file = new TInstallFile(&Owner);
    file->SetName("Probe");
    file->SetFileName(Name);
    file->SetActiveX(true);
    file->SetFileType(iftNormal);
    file->SetDestDir(Scratch.Path());
    return file;
  }
  std::string ClassesValue(const std::string& Key, const std::string& Name) {
    return ReadRegString(hkClassesRoot, Key, Name, "-");
  }

  TScratchFolder Scratch{"com"};
  fw::TComponent Owner{nullptr};
};

TEST_F(ComRegistration, ASelfRegisteringLibraryWritesItsClassKey) {
  Installed("file_com_library.dll", "probe.dll")->RegisterActiveX();
  EXPECT_EQ(ClassesValue(std::string(kLibraryClass) + "\\InprocServer32", ""), Scratch / "probe.dll");
  EXPECT_EQ(ClassesValue(std::string(kLibraryClass) + "\\InprocServer32", "ThreadingModel"), "Apartment");
}

TEST_F(ComRegistration, ASelfRegisteringProgramRunsWithRegserver) {
  Installed("file_com_server.exe", "server.exe")->RegisterActiveX();
  EXPECT_EQ(ClassesValue(std::string(kServerClass) + "\\LocalServer32", ""), Scratch / "server.exe");
}

TEST_F(ComRegistration, ATypeLibraryIsRegisteredWithItsFolder) {
  Installed("file_probe.tlb", "probe.tlb")->RegisterActiveX();
  EXPECT_EQ(ClassesValue(std::string(kTypeLibrary) + "\\1.0", ""), "Stavrel file test type library");
  std::string platform = sizeof(void*) == 8 ? "win64" : "win32";
  EXPECT_EQ(ClassesValue(std::string(kTypeLibrary) + "\\1.0\\0\\" + platform, ""), Scratch / "probe.tlb");
}

TEST_F(ComRegistration, FailuresNameTheFileAndTheCause) {
  TInstallFile* file = Installed("file_com_server.exe", "noreg.dll");
  try {
    file->RegisterActiveX();
    FAIL();
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(), "Could not register the ActiveX component, " + (Scratch / "noreg.dll") +
                               ", because the DllRegisterServer function could not be found. The file component is "
                               "Probe. The following value is the value of the GetLastError function: 127");
  }
  DeleteFileA((Scratch / "noreg.dll").c_str());
  try {
    file->RegisterActiveX();
    FAIL();
  } catch (const IECustomInstallFile& e) {
    EXPECT_EQ(e.Message(),
              "Cannot compress,copy, or install the following file because it's destination directory is blank. "
              "File is :Probe");
  }
}

TEST_F(ComRegistration, FailuresDuringAnInstallationAreCollected) {
  TTestEngine* engine = new TTestEngine(&Owner);
  engine->Distribution = dtTraditional;
  engine->Running = true;
  engine->SetDone(true);
  std::string source = Scratch.Folder("src");
  // Made by the build: an archive holding a file that is no library at all.
  WriteFile(source + "\\broken.ocx", "not a library");
  auto* dir = new TInstallDirectory(&Owner);
  dir->SetContainer(engine);
  dir->SetArchiveFile(Scratch / "dir.1");
  dir->SetDestDirType(nullptr);
  dir->SetDestDir(Scratch.Folder("dest"));
  auto* file = new TInstallFile(&Owner, dir, source + "\\broken.ocx");
  file->SetFileType(iftNormal);
  file->SetUpdateDLLCounter(false);
  file->SetUninstall(false);
  file->SetArchiveFile(Scratch / "dir.1");
  file->SetAddToArchive(lzcOnlyAdd);
  dir->SetUninstall(false);
  file->SetDestDirType(nullptr);
  file->SetDestDir(Scratch / "dest");
  engine->Running = false;
  dir->Compress(coForceNetFilesLocal);
  engine->Running = true;
  dir->Process();
  engine->Running = false;
  EXPECT_TRUE(file->Done());
  EXPECT_EQ(FailedRegistrationFiles()->IndexOf(file), 0);
  delete file;
  EXPECT_EQ(FailedRegistrationFiles()->Count(), 0);
}

}  // namespace
