#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/UninstallRules.h"

using namespace setup;

namespace {

bool Normal(const std::string& Text) {
  std::string path;
  return NormalizePath(Text, path);
}

TEST(UninstallPaths, OnlyFullDrivePathsWithoutTricksAreTaken) {
  EXPECT_TRUE(Normal("C:\\Program Files\\Stavrel\\tool.exe"));
  EXPECT_TRUE(Normal("d:\\a"));
  for (const char* refused :
       {"", "C:", "C:\\", "C:\\\\x", "C:\\App\\", "C:relative\\x", "\\App\\x", "App\\x", "\\\\server\\share\\x",
        "\\\\?\\C:\\x", "C:\\App\\..\\Windows\\win.ini", "C:\\App\\.\\x", "C:\\Windows.\\x.dll", "C:\\Windows \\x",
        "C:\\App\\x*.dll", "C:\\App\\x:stream", "C:\\App/x", "C:\\App\\a\x01b", "1:\\x"})
    EXPECT_FALSE(Normal(refused)) << refused;
  // "." and ".." parts anywhere, also where no trailing-dot rule would catch them.
  for (const char* dots : {"C:\\..\\x", "C:\\.\\x", "C:\\App\\..", "C:\\App\\.", "C:\\App\\..\\..\\x",
                           "C:\\App\\...\\x", "C:\\App\\.. \\x"})
    EXPECT_FALSE(Normal(dots)) << dots;
  EXPECT_TRUE(Normal("C:\\App\\.hidden\\..x"));
  EXPECT_TRUE(Normal("C:\\" + std::string(255, 'a')));
  EXPECT_FALSE(Normal("C:\\" + std::string(257, 'a')));
}

TEST(UninstallPaths, RootsWindowsAndProtectedFoldersStay) {
  const TFolderRules rules{{"C:\\Program Files", "C:\\Users\\me\\Desktop"}, {"C:\\Windows"}};
  EXPECT_TRUE(rules.MayDeleteFile("C:\\Program Files\\Stavrel\\tool.exe"));
  EXPECT_TRUE(rules.MayDeleteFile("C:\\Users\\me\\Desktop\\Stavrel.lnk"));
  EXPECT_TRUE(rules.MayDeleteFile("E:\\Tools\\x"));
  EXPECT_FALSE(rules.MayDeleteFile("C:\\boot.ini"));  // a drive's root
  EXPECT_FALSE(rules.MayDeleteFile("C:\\Windows\\win.ini"));
  EXPECT_FALSE(rules.MayDeleteFile("c:\\WINDOWS\\System32\\x.dll"));
  EXPECT_FALSE(rules.MayDeleteFile("C:\\program files"));
  EXPECT_FALSE(rules.MayDeleteFile("C:\\Users\\me"));   // the parent of a protected folder
  EXPECT_TRUE(rules.MayDeleteFile("C:\\Windowsx\\a"));  // a name that only begins alike

  EXPECT_TRUE(rules.MayRemoveFolder("C:\\Program Files\\Stavrel"));
  EXPECT_TRUE(rules.MayRemoveFolder("C:\\Tools"));
  EXPECT_FALSE(rules.MayRemoveFolder("C:\\"));
  EXPECT_FALSE(rules.MayRemoveFolder("C:\\Program Files"));
  EXPECT_FALSE(rules.MayRemoveFolder("C:\\Users"));
  EXPECT_FALSE(rules.MayRemoveFolder("C:\\Windows"));
  EXPECT_FALSE(rules.MayRemoveFolder("C:\\Windows\\Temp\\x"));
  EXPECT_EQ(ParentFolder("C:\\A\\b.txt"), "C:\\A");
  EXPECT_EQ(ParentFolder("C:\\A"), "");
}

TEST(UninstallKeys, RootsBaseKeysAndTheirParentsStay) {
  std::string key;
  EXPECT_TRUE(NormalizeKey("\\Software\\Maker\\Product", key));
  EXPECT_EQ(key, "Software\\Maker\\Product");
  for (const char* refused : {"", "\\", "\\\\Software", "Software\\", "Software\\\\Maker", "Software\\..\\System",
                              "Software\\.", "Soft\x01ware\\x"})
    EXPECT_FALSE(NormalizeKey(refused, key)) << refused;

  EXPECT_TRUE(MayDeleteKey(TLogRoot::CurrentUser, "Software\\Maker"));
  EXPECT_TRUE(MayDeleteKey(TLogRoot::LocalMachine, "Software\\Maker\\Product\\1.0"));
  EXPECT_TRUE(MayDeleteKey(TLogRoot::ClassesRoot, ".oks"));
  EXPECT_TRUE(MayDeleteKey(TLogRoot::ClassesRoot, "CLSID\\{01234567-89AB-CDEF-0123-456789ABCDEF}"));
  EXPECT_TRUE(MayDeleteKey(TLogRoot::LocalMachine, "Software\\Classes\\.oks"));
  for (const char* kept :
       {"Software", "SOFTWARE\\Microsoft", "Software\\Microsoft\\Windows\\CurrentVersion",
        "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "software\\microsoft\\windows\\currentversion\\uninstall",
        "Control Panel", "Control Panel\\International", "System\\CurrentControlSet", "Software\\Classes",
        "Software\\Classes\\CLSID", "Environment", "\\Software\\Maker"})
    EXPECT_FALSE(MayDeleteKey(TLogRoot::CurrentUser, kept)) << kept;
  EXPECT_FALSE(MayDeleteKey(TLogRoot::ClassesRoot, "CLSID"));
  EXPECT_FALSE(MayDeleteKey(TLogRoot::ClassesRoot, "typelib"));
  EXPECT_FALSE(MayDeleteKey(TLogRoot::Users, "S-1-5-21\\Software"));
  EXPECT_TRUE(MayDeleteKey(TLogRoot::Users, "S-1-5-21\\Software\\Maker"));
  EXPECT_FALSE(MayDeleteKey(TLogRoot::Users, "S-1-5-21\\Control Panel\\International"));
  TLogRoot root;
  EXPECT_TRUE(LogRootFromNumber(4, root));
  EXPECT_EQ(root, TLogRoot::LocalMachine);
  EXPECT_FALSE(LogRootFromNumber(6, root));
  EXPECT_FALSE(LogRootFromNumber(-1, root));
  EXPECT_EQ(ParentKey("Software\\Maker"), "Software");
  EXPECT_EQ(ParentKey("Software"), "");
}

TEST(UninstallKeys, ValuesOfWindowsOwnConfigurationStay) {
  for (const char* own : {"Software\\Maker\\Product", "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                          "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vx4.exe"})
    EXPECT_TRUE(MayDeleteValue(TLogRoot::LocalMachine, own)) << own;
  EXPECT_TRUE(MayDeleteValue(TLogRoot::ClassesRoot, ".oks"));
  for (const char* windows :
       {"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
        "System\\CurrentControlSet\\Services\\x", "Software\\Policies\\Maker",
        "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
        "Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
        "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other Product", "Software", "Software\\..\\System"})
    EXPECT_FALSE(MayDeleteValue(TLogRoot::LocalMachine, windows)) << windows;
  EXPECT_FALSE(MayDeleteValue(TLogRoot::CurrentUser, "Environment"));
  EXPECT_FALSE(MayDeleteValue(TLogRoot::CurrentUser, "Control Panel\\Desktop"));
  EXPECT_FALSE(MayDeleteValue(TLogRoot::Users, "S-1-5-21\\Environment"));
}

TEST(UninstallLog, EntryNamesActiveXEntriesAndProductNames) {
  EXPECT_TRUE(IsLogEntryName("File1"));
  EXPECT_TRUE(IsLogEntryName("file0012"));
  for (const char* other : {"File", "Entries", "File-1", "File1x", "File1234567890", "Files1"})
    EXPECT_FALSE(IsLogEntryName(other)) << other;
  EXPECT_TRUE(IsFileLogName("Files"));
  EXPECT_TRUE(IsFileLogName("Files16"));
  EXPECT_FALSE(IsFileLogName("ActiveX"));
  EXPECT_TRUE(IsRegistryLogName("RegistryKey3"));
  EXPECT_FALSE(IsRegistryLogName("RegistryKey"));

  std::string path;
  char kind = 0;
  EXPECT_TRUE(ParseActiveXEntry("C:\\App\\a;b.dll;2", path, kind));
  EXPECT_EQ(path, "C:\\App\\a;b.dll");
  EXPECT_EQ(kind, '2');
  for (const char* refused : {"C:\\App\\a.dll", "C:\\App\\a.dll;3", "C:\\App\\a.dll;01", "relative.dll;0", ";0"})
    EXPECT_FALSE(ParseActiveXEntry(refused, path, kind)) << refused;

  EXPECT_EQ(ProductNameFromArguments("  Stavrel Tools \t"), "Stavrel Tools");
  EXPECT_EQ(ProductNameFromArguments(" \"Stavrel Tools\" "), "Stavrel Tools");
  EXPECT_TRUE(IsValidProductName("Stavrel Tools 2.0"));
  for (const std::string& refused :
       std::vector<std::string>{"", "   ", ".", "..", "..\\..\\Run", "A\\B", "A\x01", std::string(201, 'p')})
    EXPECT_FALSE(IsValidProductName(refused)) << refused;
}

TEST(UninstallLog, TheProgramOfAnUninstallCommand) {
  std::string program;
  EXPECT_TRUE(ProgramOfUninstallCommand("\"C:\\Program Files\\Stavrel\\uninstall.exe\" Stavrel Tools", "Stavrel Tools",
                                        program));
  EXPECT_EQ(program, "C:\\Program Files\\Stavrel\\uninstall.exe");
  // Unquoted, as older installations wrote it: everything before the product name.
  EXPECT_TRUE(ProgramOfUninstallCommand("C:\\App Dir\\uninstall.exe Stavrel Tools", "Stavrel Tools", program));
  EXPECT_EQ(program, "C:\\App Dir\\uninstall.exe");
  for (const char* refused : {"", "\"", "\"C:\\App\\uninstall.exe Stavrel Tools", "C:\\App\\uninstall.exe Other",
                              "Stavrel Tools", " Stavrel Tools", "\"C:\\App\\..\\Windows\\x.exe\" Stavrel Tools",
                              "\"uninstall.exe\" Stavrel Tools", "\"\\\\server\\share\\uninstall.exe\" Stavrel Tools"})
    EXPECT_FALSE(ProgramOfUninstallCommand(refused, "Stavrel Tools", program)) << refused;
  EXPECT_FALSE(ProgramOfUninstallCommand("C:\\App\\uninstall.exe ", "", program));
}

}  // namespace
