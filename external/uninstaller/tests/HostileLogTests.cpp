// Uninstall logs that try to reach what must stay by another name of it: the short
// (8.3) name of a protected or sealed folder, a shared key spelt in another case.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlwapi.h>

#include <string>

#include "Files.h"
#include "RegistrySnapshot.h"
#include "objects/UninstallRemoval.h"

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());

bool KeyExists(HKEY Root, const std::string& Key) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root, Key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetNumber(HKEY Root, const std::string& Key, const std::string& Name, DWORD Value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(Root, Key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, Name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Value), sizeof Value);
  RegCloseKey(key);
}

// The short name of an existing folder's last part ("PROTEC~1").
std::string ShortNameOf(const std::string& Folder) {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetShortPathNameA(Folder.c_str(), buffer, sizeof buffer);
  const std::string path(buffer, length > 0 && length < sizeof buffer ? length : 0);
  return path.substr(path.find_last_of('\\') + 1);
}

class HostileLog : public ::testing::Test {
 protected:
  void TearDown() override { SHDeleteKeyA(HKEY_LOCAL_MACHINE, Key.c_str()); }
  // Logs Path as an installed file, in the order of the calls.
  void LogFile(const std::string& Path) {
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\Files", "File" + std::to_string(++FFiles), Path);
  }

  const std::string Product = "Stavrel Hostile Log " + kPid;
  const std::string Key = std::string(setup::kUninstallRoot) + "\\" + Product;
  testsupport::TScratchFolder Scratch{"hostilelog"};

 private:
  int FFiles = 0;
};

TEST_F(HostileLog, ShortNamesOfProtectedAndSealedFoldersDoNotGetThemRemoved) {
  const std::string protectedFolder = Scratch / "Protected Empty Folder";
  const std::string sealedFolder = Scratch / "Sealed Empty Folder";
  const std::string product = Scratch / "Product Folder";
  CreateDirectoryA(protectedFolder.c_str(), nullptr);
  CreateDirectoryA(sealedFolder.c_str(), nullptr);
  testsupport::WriteFile(product + "\\ours.txt", "ours");
  const std::string protectedShort = ShortNameOf(protectedFolder), sealedShort = ShortNameOf(sealedFolder);
  ASSERT_NE(protectedShort, "Protected Empty Folder") << "the file system gives no short names";
  ASSERT_FALSE(protectedShort.empty());

  // Files that are not there, named through the short names: only their folders remain
  // to be tidied away afterwards.
  LogFile(Scratch / protectedShort + "\\gone.txt");
  LogFile(Scratch / sealedShort + "\\gone.txt");
  LogFile(Scratch / sealedShort);
  LogFile(product + "\\ours.txt");
  setup::TFolderRules rules;
  rules.Protected = {protectedFolder};
  rules.Sealed = {sealedFolder};
  const setup::TUninstallReport report = setup::UninstallProduct(Product, rules);
  EXPECT_TRUE(report.Found);
  EXPECT_TRUE(testsupport::FolderExists(protectedFolder));
  EXPECT_TRUE(testsupport::FolderExists(sealedFolder));
  EXPECT_FALSE(testsupport::FolderExists(product)) << "the product's own emptied folder goes";
  EXPECT_TRUE(testsupport::FolderExists(Scratch.Path()));
}

TEST_F(HostileLog, AWindowsKeyInAnotherCaseStaysWhenEmptied) {
  const std::string runOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
  const std::string logged = "software\\MICROSOFT\\windows\\currentversion\\RUNONCE\\Stavrel Hostile " + kPid;
  testsupport::WriteRegistryText(HKEY_CURRENT_USER, logged, "Value", "goes");
  const std::string entry = Key + "\\RegistryKeys\\RegistryKey1";
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, entry, "Key", "\\" + logged);
  SetNumber(HKEY_LOCAL_MACHINE, entry, "Root", 2);
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, entry + "\\Entries", "Value", "goes");
  const bool runOnceHadMore = [&] {
    HKEY key = nullptr;
    DWORD subkeys = 0, values = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, runOnce.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return subkeys > 1 || values > 0;
  }();
  const setup::TUninstallReport report =
      setup::UninstallProduct(Product, setup::MachineFolderRules());
  EXPECT_TRUE(report.Found);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, logged));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, runOnce)) << (runOnceHadMore ? "" : "emptied, yet it stays");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key));
}

// What an undone installation removes: the entries it is given, read from the log, and
// nothing else; the log stays as it is. In a data folder, a folder holding only given
// files goes; a file right in it that is no shortcut to a given file stays.
TEST_F(HostileLog, RemovingGivenEntriesLeavesTheOthersAndTheLog) {
  const std::string data = Scratch / "Data";
  const std::string product = Scratch / "Product";
  testsupport::WriteFile(product + "\\new.exe", "MZ new");
  testsupport::WriteFile(product + "\\old.exe", "MZ old");
  testsupport::WriteFile(data + "\\Product Menu\\new.txt", "menu");
  testsupport::WriteFile(data + "\\Other Menu\\new.txt", "menu");
  testsupport::WriteFile(data + "\\Other Menu\\theirs.txt", "theirs");
  testsupport::WriteFile(data + "\\loose.txt", "loose");
  for (const std::string& file : {product + "\\new.exe", product + "\\old.exe", data + "\\Product Menu\\new.txt",
                                  data + "\\Other Menu\\new.txt", data + "\\loose.txt"})
    LogFile(file);
  testsupport::WriteRegistryText(HKEY_CURRENT_USER, "Software\\Stavrel Hostile " + kPid, "Changed", "theirs now");
  testsupport::WriteRegistryText(HKEY_CURRENT_USER, "Software\\Stavrel Hostile " + kPid, "Same", "ours");

  setup::TUninstallLog log = setup::ReadUninstallLog(Product);
  ASSERT_TRUE(log.Found);
  ASSERT_EQ(log.Files.size(), 5u);
  log.Files.erase(log.Files.begin() + 1);  // old.exe: an earlier run's
  log.RegistryKeys.push_back({"RegistryKey1", "\\Software\\Stavrel Hostile " + kPid, 2,
                              {{"Changed", "ours"}, {"Same", "ours"}}});
  setup::TFolderRules rules;
  rules.Protected = rules.Data = {data};
  const setup::TUninstallReport report = setup::RemoveLoggedEntries(log, rules);
  EXPECT_FALSE(testsupport::FileExists(product + "\\new.exe"));
  EXPECT_TRUE(testsupport::FileExists(product + "\\old.exe"));
  EXPECT_FALSE(testsupport::FolderExists(data + "\\Product Menu"));
  EXPECT_TRUE(testsupport::FileExists(data + "\\Other Menu\\new.txt")) << "a folder with files of others";
  EXPECT_TRUE(testsupport::FileExists(data + "\\loose.txt")) << "no shortcut to a given file";
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\Stavrel Hostile " + kPid).c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Changed", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_NE(RegQueryValueExA(key, "Same", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(key);
  SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\Stavrel Hostile " + kPid).c_str());
  EXPECT_EQ(report.NotRemoved.size(), 3u);
  EXPECT_EQ(setup::ReadUninstallLog(Product).Files.size(), 5u) << "the log stays";
}

}  // namespace
