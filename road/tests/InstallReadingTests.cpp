// What the road reads of an installation: the uninstall log as the uninstaller reads
// it, shortcuts through the shell, and the files left for deletion at the next restart.
#include <windows.h>
// After windows.h:
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "Files.h"
#include "InstallChecks.h"
#include "RegistrySnapshot.h"
#include "UninstallRun.h"

namespace road {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

void SetValue(const std::string& Path, const std::string& Name, const std::string& Value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Path.c_str() + 1, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                 static_cast<DWORD>(Value.size() + 1));
  RegCloseKey(key);
}

void SetNumber(const std::string& Path, const std::string& Name, DWORD Value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, Path.c_str() + 1, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, Name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Value), sizeof Value);
  RegCloseKey(key);
}

TEST(UninstallLog, IsReadInTheUninstallersOrderAcrossItsNumberedFileLists) {
  const std::string product = "Stavrel road log " + std::to_string(GetCurrentProcessId());
  const std::string key = UninstallKeyOf(product);
  testsupport::TSavedRegistryTree saved(HKEY_LOCAL_MACHINE, key);
  SetValue(key + "\\Files", "File2", "C:\\App\\b.txt");
  SetValue(key + "\\Files", "File1", "C:\\App\\a.txt");
  SetValue(key + "\\Files", "File4", "C:\\App\\after a gap is not read.txt");
  SetValue(key + "\\Files1", "File1", "C:\\App\\c.txt");
  SetValue(key + "\\ActiveX", "File1", "C:\\App\\server.exe;1");
  SetValue(key + "\\RegistryKeys\\RegistryKey1", "Key", "\\CLSID\\{1}");
  SetNumber(key + "\\RegistryKeys\\RegistryKey1", "Root", 0);
  SetValue(key + "\\RegistryKeys\\RegistryKey1\\Entries", "", "viewer");
  SetValue(key + "\\RegistryKeys\\RegistryKey2", "Key", "\\Software\\Borland\\Locales");
  SetNumber(key + "\\RegistryKeys\\RegistryKey2", "Root", 2);

  const TUninstallLog log = ReadUninstallLog(product);
  EXPECT_THAT(log.Files, ElementsAre("C:\\App\\a.txt", "C:\\App\\b.txt", "C:\\App\\c.txt"));
  EXPECT_THAT(log.ActiveX, ElementsAre("C:\\App\\server.exe"));
  ASSERT_EQ(log.Keys.size(), 2u);
  EXPECT_EQ(log.Keys[0].Root, 0);
  EXPECT_EQ(log.Keys[0].Key, "\\CLSID\\{1}");
  EXPECT_THAT(log.Keys[0].Entries, ElementsAre(""));
  EXPECT_EQ(log.Keys[1].Root, 2);
  EXPECT_THAT(log.Keys[1].Entries, IsEmpty());

  EXPECT_TRUE(ReadUninstallLog(product + " missing").Files.empty());
}

TEST(Shortcuts, AreReadBackThroughTheShellAndUrlFilesAsTheyAreWritten) {
  testsupport::TScratchFolder folder{"road"};
  testsupport::WriteFile(folder / "target.exe", "program");
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    Microsoft::WRL::ComPtr<IShellLinkA> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))));
    link->SetPath((folder / "target.exe").c_str());
    link->SetArguments("/q");
    ASSERT_TRUE(SUCCEEDED(link.As(&file)));
    wchar_t name[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, (folder / "Program.LNK").c_str(), -1, name, MAX_PATH);
    ASSERT_TRUE(SUCCEEDED(file->Save(name, TRUE)));
  }
  CoUninitialize();
  const TShortcut shortcut = ReadShellLink(folder / "Program.LNK");
  EXPECT_EQ(shortcut.Target, folder / "target.exe");
  EXPECT_EQ(shortcut.Arguments, "/q");
  EXPECT_EQ(ReadShellLink(folder / "missing.LNK").Target, "");

  testsupport::WriteFile(folder / "site.URL", "[InternetShortcut]\r\nURL=http://www.example.com/\r\n");
  EXPECT_EQ(ReadUrlFile(folder / "site.URL"), "http://www.example.com/");
  EXPECT_EQ(ReadUrlFile(folder / "missing.URL"), "");
}

TEST(RestartDeletions, FilesLeftForTheRestartAreDeletedAndTheListPutBack) {
  testsupport::TScratchFolder folder{"road"};
  const std::string left = folder / "left behind.exe";
  testsupport::WriteFile(left, "program");
  const std::string key = "\\System\\CurrentControlSet\\Control\\Session Manager";
  testsupport::TSavedRegistryValues saved(HKEY_LOCAL_MACHINE, key, {"PendingFileRenameOperations"});
  {
    TRestartDeletions deletions;
    EXPECT_THAT(deletions.Added(), IsEmpty());
    ASSERT_TRUE(MoveFileExA(left.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    std::vector<std::string> added = deletions.Added();
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(_stricmp(added[0].c_str(), left.c_str()), 0) << added[0];
    EXPECT_TRUE(testsupport::FileExists(left));
  }
  EXPECT_FALSE(testsupport::FileExists(left));
  TRestartDeletions after;
  EXPECT_THAT(after.Added(), IsEmpty());
}

}  // namespace
}  // namespace road
