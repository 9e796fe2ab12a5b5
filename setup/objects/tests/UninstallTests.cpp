#include <gtest/gtest.h>
#include <windows.h>

#include "FileTestSupport.h"
#include "ObjectTestSupport.h"
#include "RegistrySnapshot.h"
#include "objects/UninstallRemoval.h"
#include "objects/InstallFile.h"
#include "objects/InstallRegistry.h"
#include "objects/ShellLinks.h"
#include "objects/InstallRunJournal.h"
#include "objects/UninstallFileLog.h"
#include "paths/ShellFolders.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

using namespace setup;
using namespace setup::testing;

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());
constexpr char kLibraryClass[] = "\\CLSID\\{5E1D7A40-6C2B-4B8E-9A51-0C2F3B7D9E11}";
constexpr char kLocaleKey[] = "\\Control Panel\\International";

std::string BuiltFile(const std::string& Name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + Name;
}

bool KeyExists(HKEY Root, const std::string& Key) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root, Key.c_str() + (Key[0] == '\\' ? 1 : 0), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A product with an engine, its uninstall key saved and put back.
class Uninstall : public ::testing::Test {
 protected:
  void SetUp() override {
    Engine = new TTestEngine(Form.get());
    Engine->Info.SetProductName(Product);
    Key = std::string(kUninstallRootKey) + Product;
  }
  void TearDown() override {
    DeleteRegKeyTree(hkLocalMachine, Key);
    DeleteRegKeyTree(hkCurrentUser, "\\Software\\" + Product);
    DeleteRegKeyTree(hkClassesRoot, kLibraryClass);
  }
  // Runs uninstall.exe for the product, as Add/Remove Programs does; its report.
  std::string RunUninstaller(const std::string& Name) {
    const std::string report = Scratch / "report.txt";
    SetEnvironmentVariableA("STAVREL_UNINSTALL_REPORT", report.c_str());
    std::string command(1, '"');
    command.append(BuiltFile("uninstall.exe")).append("\" ").append(Name);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    SetEnvironmentVariableA("STAVREL_UNINSTALL_REPORT", nullptr);
    return ReadFile(report);
  }

  const std::string Product = "Stavrel Uninstall " + kPid;
  TScratchFolder Scratch{"uninstall"};
  fw::TOwnedPtr<fw::TForm> Form{new fw::TForm(nullptr)};
  TTestEngine* Engine = nullptr;
  std::string Key;
  testsupport::TSavedRegistryValues FLocale{HKEY_CURRENT_USER, kLocaleKey, {"sStavrelTest", "sStavrelKeep"}};
};

TEST_F(Uninstall, EverythingTheInstallationMadeGoesAndNothingElse) {
  // A run of the installation: what it makes is noted in its log.
  Engine->Running = true;
  Engine->BeginRun();
  // Files in a folder of their own, one registered with COM.
  const std::string app = Scratch / "Product";
  ASSERT_TRUE(MakeFolderOfRun(app + "\\data"));
  WriteFile(app + "\\tool.exe", "MZ tool");
  WriteFile(app + "\\data\\readme.txt", "read me");
  SetFileAttributesA((app + "\\data\\readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(CopyFileA(BuiltFile("file_com_library.dll").c_str(), (app + "\\probe.dll").c_str(), FALSE));
  auto* library = new TInstallFile(Form.get());
  library->SetFileName("probe.dll");
  library->SetActiveX(true);
  library->SetFileType(iftNormal);
  library->SetDestDirType(nullptr);
  library->SetDestDir(app);
  library->RegisterActiveX();
  ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kLibraryClass));
  LogInstalledFile(Key, app + "\\tool.exe", LoggedWriteAt(app + "\\tool.exe"));
  LogInstalledFile(Key, app + "\\data\\readme.txt", LoggedWriteAt(app + "\\data\\readme.txt"));
  LogActiveXFile(Key, app + "\\probe.dll", kActiveXLibrary, LoggedWriteAt(app + "\\probe.dll"));
  // A file beside them that the installation did not make stays.
  WriteFile(Scratch / "mine.txt", "user's");

  // The product's Start-menu folder with a shortcut, and registry values in a key of its
  // own and in the shared locale key.
  auto* group = new TMainLinkGroup(Form.get());
  auto* link = new TInstallMainLink(Form.get());
  link->SetLinkName("Tool");
  link->SetObjectLocation(app + "\\tool.exe");
  group->Process();
  link->Process();
  ASSERT_TRUE(FileExists(link->GetLinkFileName()));
  const std::string menuFolder = group->GetFullDestDir();
  WriteRegString(hkCurrentUser, kLocaleKey, "sStavrelKeep", "not ours");
  auto* settings = new TInstallRegistry(Form.get());
  settings->SetRootKey(hkCurrentUser);
  settings->SetKey("\\Software\\" + Product + "\\Settings\\1.0");
  settings->Entries()->AddEntry()->SetIdent("Path");
  settings->Entries()->Entry(0)->SetText(app);
  settings->Entries()->AddEntry()->SetIdent("Count");
  settings->Entries()->Entry(1)->SetInteger(3);
  auto* locale = new TInstallRegistry(Form.get());
  locale->SetRootKey(hkCurrentUser);
  locale->SetKey(kLocaleKey);
  locale->Entries()->AddEntry()->SetIdent("sStavrelTest");
  locale->Entries()->Entry(0)->SetText("ours");
  settings->Process();
  locale->Process();
  Engine->Running = false;
  ASSERT_EQ(ReadRegString(hkCurrentUser, "\\Software\\" + Product + "\\Settings\\1.0", "Path", "-"), app);

  // A value in Windows' own configuration stays, even one the installation wrote.
  EXPECT_EQ(RunUninstaller(Product), Product +
                                         " was removed, except for these items:\r\n\r\nthe value sStavrelTest of "
                                         "HKEY_CURRENT_USER\\Control Panel\\International (Windows' own "
                                         "configuration; kept)");
  for (const std::string& gone :
       {app + "\\tool.exe", app + "\\data\\readme.txt", app + "\\probe.dll", link->GetLinkFileName()})
    EXPECT_FALSE(FileExists(gone)) << gone;
  EXPECT_FALSE(FolderExists(app));
  EXPECT_FALSE(FolderExists(menuFolder));
  EXPECT_TRUE(FolderExists(GetProgramsMenuDir()));
  EXPECT_TRUE(FileExists(Scratch / "mine.txt"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kLibraryClass));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "\\Software\\" + Product));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "\\Software"));
  EXPECT_EQ(ReadRegString(hkCurrentUser, kLocaleKey, "sStavrelTest", "-"), "ours");
  EXPECT_EQ(ReadRegString(hkCurrentUser, kLocaleKey, "sStavrelKeep", "-"), "not ours");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallRootKey));

  // Run again: nothing is recorded any more.
  EXPECT_EQ(RunUninstaller(Product), "Nothing is recorded for the removal of " + Product + ".");
}

TEST_F(Uninstall, AHostileOrDamagedLogRemovesNothingItShouldNot) {
  std::string windows = GetWindowsDir();
  if (windows.back() == '\\') windows.pop_back();
  const std::string ours = Scratch.Folder("Product") + "\\ours.txt";
  WriteFile(ours, "ours");
  WriteFile(Scratch / "kept.txt", "kept");
  const std::string rootFile = "C:\\stavrel_root_" + kPid + ".txt";
  WriteFile(rootFile, "in the root");
  const std::string programFiles = GetProgramFilesDir();
  const std::string temp = Scratch.Path().substr(0, Scratch.Path().find_last_of('\\'));
  // What an attacker adds names no content the installation wrote; even with the content
  // they hold, a drive's root and the Windows folder stay.
  for (const std::string& logged :
       {std::string("C:\\"), windows, windows + "\\win.ini", rootFile, programFiles, temp,
        Scratch / "Product\\..\\kept.txt", std::string("kept.txt"), Scratch.Path() + "\\Product\\\\..\\kept.txt",
        Scratch / "PRODUC~1\\..\\kept.txt", ours})
    LogInstalledFile(Key, logged, LoggedWriteAt(logged));
  LogActiveXFile(Key, windows + "\\system32\\kernel32.dll", kActiveXLibrary,
                 LoggedWriteAt(windows + "\\system32\\kernel32.dll"));
  WriteRegString(hkLocalMachine, Key + "\\ActiveX", "File9", "no kind at all");
  WriteRegInteger(hkLocalMachine, Key + "\\Files1", "File1", 7);  // not a text
  WriteRegString(hkLocalMachine, Key + "\\Files1", "Entries", "garbage");

  // Registry entries naming roots, base keys and unknown roots; and a key of the
  // product's with a value it never logged.
  const std::string own = "\\Software\\" + Product;
  WriteRegString(hkCurrentUser, own, "Unlogged", "stays");
  WriteRegString(hkCurrentUser, own + "\\Logged", "Value", "goes");
  auto logKey = [&](int Number, const std::string& Path, int Root, const std::string& Value) {
    const std::string entry = Key + "\\RegistryKeys\\RegistryKey" + std::to_string(Number);
    WriteRegString(hkLocalMachine, entry, "Key", Path);
    WriteRegInteger(hkLocalMachine, entry, "Root", Root);
    WriteRegString(hkLocalMachine, entry + "\\Entries", Value, Value == "Value" ? "goes" : "");
  };
  logKey(1, "", 2, "Missing");
  logKey(2, "\\Software", 2, "StavrelMissing" + kPid);
  logKey(3, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 4, "StavrelMissing");
  logKey(4, own + "\\Logged", 9, "Value");  // no such root
  logKey(5, "\\Software\\..\\" + own.substr(1), 2, "Unlogged");
  logKey(6, own + "\\Logged", 2, "Value");
  // The product's own key and value, as the installation records what it made.
  WriteRegInteger(hkLocalMachine, Key + "\\RegistryKeys\\RegistryKey6", "MadeLevels", 1);
  WriteRegString(hkLocalMachine, Key + "\\RegistryKeys\\RegistryKey6\\MadeValues", "Value", "goes");

  setup::TUninstallReport report = setup::UninstallProduct(Product, setup::MachineFolderRules());
  EXPECT_TRUE(report.Found);
  EXPECT_GE(report.NotRemoved.size(), 12u);
  EXPECT_FALSE(FileExists(ours));
  EXPECT_TRUE(FileExists(Scratch / "kept.txt"));
  EXPECT_TRUE(FileExists(rootFile));
  EXPECT_TRUE(FileExists(windows + "\\win.ini"));
  EXPECT_TRUE(FolderExists(programFiles));
  EXPECT_TRUE(FolderExists(temp));
  EXPECT_TRUE(FolderExists(Scratch.Path()));
  EXPECT_EQ(ReadRegString(hkCurrentUser, own, "Unlogged", "-"), "stays");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, own + "\\Logged"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallRootKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key));
  DeleteFileA(rootFile.c_str());

  // A product name that would lead out of its uninstall key is refused.
  WriteRegString(hkLocalMachine, std::string(kUninstallRootKey) + "Stavrel Sibling " + kPid, "DisplayName", "x");
  for (const std::string& name : {std::string("..\\Stavrel Sibling ") + kPid, std::string(".."), std::string("")}) {
    report = setup::UninstallProduct(name, setup::MachineFolderRules());
    EXPECT_FALSE(report.Found);
    EXPECT_EQ(report.NotRemoved.size(), 1u);
  }
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(kUninstallRootKey) + "Stavrel Sibling " + kPid));
  DeleteRegKeyTree(hkLocalMachine, std::string(kUninstallRootKey) + "Stavrel Sibling " + kPid);
}

}  // namespace
