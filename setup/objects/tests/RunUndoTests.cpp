// A run taken back by its journal: what the run made goes wherever it lies, while it is
// still what the run made; what was there before stays as it was.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <functional>

#include "FileTestSupport.h"
#include "Files.h"
#include "ObjectTestSupport.h"
#include "RegistrySnapshot.h"
#include "archive/FileSystem.h"
#include "objects/FileRegistration.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/InstallRegistry.h"
#include "objects/InstallRunJournal.h"
#include "objects/RegistryTree.h"
#include "objects/ShellLinks.h"
#include "support/FileAttributes.h"
#include "support/Registry.h"
#include "support/WinFolders.h"

using namespace setup;
using namespace setup::testing;

namespace {

const std::string kPid = std::to_string(GetCurrentProcessId());

std::string DesktopFolder() {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool KeyExists(HKEY Root, const std::string& Key) {
  fw::TRegKeyHandle key;
  return RegOpenKeyExA(Root, Key.substr(1).c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// Makes Link (below HKEY_LOCAL_MACHINE) a registry link to Target.
bool MakeRegistryLink(const std::string& Link, const std::string& Target) {
  fw::TRegKeyHandle link;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Link.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                      KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, link.Put(), nullptr) != ERROR_SUCCESS)
    return false;
  const std::wstring to = L"\\Registry\\Machine\\" + std::wstring(Target.begin(), Target.end());
  return RegSetValueExW(link.Get(), L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(to.c_str()),
                        static_cast<DWORD>(to.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// An engine whose runs install files from directories of their own (one file each).
class RunUndo : public ::testing::Test {
 protected:
  void SetUp() override {
    Engine = new TTestEngine(Form.get());
    Engine->Distribution = dtTraditional;
    Engine->Info.SetProductName("Stavrel Undo Test " + kPid);
    Uninstall = std::string(kUninstallRootKey) + Engine->Info.ProductName();
  }
  void TearDown() override { DeleteRegKeyTree(hkLocalMachine, Uninstall); }

  // A directory that installs Name, made from Source (or from Contents when Source is
  // empty), into Folder.
  TInstallFile* AddFile(const std::string& Folder, const std::string& Name, const std::string& Contents,
                        const std::string& Source = "") {
    const std::string number = std::to_string(Directories.size() + 1);
    const std::string source = Scratch.Folder("src" + number) + "\\" + Name;
    if (Source.empty())
      WriteFile(source, Contents);
    else
      CopyFileA(Source.c_str(), source.c_str(), FALSE);
    SetFileDay(source, 10);
    auto* dir = new TInstallDirectory(Form.get());
    dir->SetName("Dir" + number);
    dir->SetContainer(Engine);
    dir->SetArchiveFile(Scratch / ("dir" + number + ".1"));
    dir->SetDestDirType(nullptr);
    dir->SetDestDir(Folder);
    auto* file = new TInstallFile(Form.get(), dir, source);
    file->SetName("File" + number);
    Directories.push_back(dir);
    return file;
  }
  void Build() {
    for (TInstallDirectory* dir : Directories) dir->Compress(coForceNetFilesLocal);
  }
  // One run of the objects as the engine runs it (Later runs after them, as the later
  // phases do), then taken back; what stayed.
  std::vector<std::string> RunTakenBack(const std::function<void()>& Later = nullptr) {
    Engine->Running = true;
    Engine->BeginRun();
    Engine->Process();
    if (Later) Later();
    std::vector<std::string> stayed = Engine->RunJournal()->Undo();
    Engine->Running = false;
    return stayed;
  }
  // One run that ends well.
  void RunGood() {
    Engine->Running = true;
    Engine->BeginRun();
    Engine->Process();
    Engine->RunJournal()->Complete();
    Engine->Running = false;
  }
  std::string Logged(const std::string& Subkey, const std::string& Value) {
    return ReadRegString(hkLocalMachine, Uninstall + "\\" + Subkey, Value, "-");
  }

  TScratchFolder Scratch{"undo"};
  fw::TOwnedPtr<fw::TForm> Form{new fw::TForm(nullptr)};
  TTestEngine* Engine = nullptr;
  std::vector<TInstallDirectory*> Directories;
  std::string Uninstall;
};

// The run knows first-hand what it made: a file in the Windows folder, one right on the
// Desktop and a value under HKEY_CURRENT_USER\Environment go like any other.
TEST_F(RunUndo, AFailedRunTakesBackWhatItMadeWhereverItLies) {
  const std::string name = "stavrel_undo_" + kPid + ".txt";
  const std::string inWindows = GetWindowsDir() + "\\" + name, onDesktop = DesktopFolder() + "\\" + name;
  const std::string made = "STAVREL_UNDO_" + kPid, changed = "STAVREL_UNDO_CHANGED_" + kPid;
  testsupport::TSavedRegistryValues environment(HKEY_CURRENT_USER, "\\Environment", {made, changed});
  struct TRemove {
    std::vector<std::string> Files;
    ~TRemove() {
      for (const std::string& file : Files) DeleteFileA(file.c_str());
    }
  } remove{{inWindows, onDesktop}};
  ASSERT_FALSE(Exists(inWindows));
  ASSERT_FALSE(Exists(onDesktop));
  testsupport::WriteRegistryText(HKEY_CURRENT_USER, "\\Environment", changed, "before");
  AddFile(GetWindowsDir(), name, "in the Windows folder");
  AddFile(DesktopFolder(), name, "on the Desktop");
  auto* environmentValues = new TInstallRegistry(Form.get());
  environmentValues->SetRootKey(hkCurrentUser);
  environmentValues->SetKey("\\Environment");
  environmentValues->Entries()->AddEntry()->SetIdent(made);
  environmentValues->Entries()->AddEntry()->SetIdent(changed);
  Build();

  const std::vector<std::string> stayed = RunTakenBack([&] {
    ASSERT_TRUE(Exists(inWindows));
    ASSERT_TRUE(Exists(onDesktop));
    environmentValues->Process();
    ASSERT_EQ(ReadRegString(hkCurrentUser, "\\Environment", made, "-"), "");
  });
  EXPECT_EQ(stayed, std::vector<std::string>{});
  EXPECT_FALSE(Exists(inWindows));
  EXPECT_FALSE(Exists(onDesktop));
  EXPECT_EQ(ReadRegString(hkCurrentUser, "\\Environment", made, "-"), "-");
  EXPECT_EQ(ReadRegString(hkCurrentUser, "\\Environment", changed, "-"), "before");
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "\\Environment"));
}

// What the run made but is no longer what it made stays, and is reported.
TEST_F(RunUndo, WhatChangedSinceTheRunMadeItStaysAndIsReported) {
  const std::string folder = Scratch / "app";
  AddFile(folder, "made.txt", "made by the run");
  Build();
  const std::string made = folder + "\\made.txt";
  const std::vector<std::string> stayed = RunTakenBack([&] {
    // Another program puts a file of its own in its place.
    WriteFile(folder + "\\other.tmp", "another program's");
    ASSERT_TRUE(MoveFileExA((folder + "\\other.tmp").c_str(), made.c_str(), MOVEFILE_REPLACE_EXISTING));
  });
  EXPECT_EQ(stayed, std::vector<std::string>{made + " (no longer the file the installation made; kept)"});
  EXPECT_EQ(ReadFile(made), "another program's");
  EXPECT_TRUE(FolderExists(folder)) << "a folder that is not empty stays";
}

// A repair or an upgrade that is cancelled gives each file it replaced back byte for
// byte, and the log as it was; one that ends well keeps no old file.
TEST_F(RunUndo, ACancelledRepairGivesTheEarlierFilesBackAndAGoodOneKeepsNone) {
  const std::string folder = Scratch.Folder("app"), target = folder + "\\app.txt";
  AddFile(folder, "app.txt", Content(70000, 'n'));
  TInstallFile* more = AddFile(folder, "more.txt", "a file the update brings");
  Build();
  more->SetInclude(false);
  RunGood();  // the earlier installation
  ASSERT_EQ(Logged("Files", "File1"), target);
  WriteFile(target, Content(50000, 'o'));  // as an earlier version left it
  SetFileDay(target, 5);
  SetFileAttributeSet(target, TQnlkFileAttributeSet{qfaHidden});

  more->SetInclude(true);
  EXPECT_EQ(RunTakenBack([&] { ASSERT_TRUE(ReadFile(target) == Content(70000, 'n')); }), std::vector<std::string>{});
  EXPECT_TRUE(ReadFile(target) == Content(50000, 'o')) << "the earlier contents";
  EXPECT_NE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "the earlier file itself";
  EXPECT_EQ(testsupport::NamesIn(folder), std::vector<std::string>{"app.txt"}) << "no old or new file beside it";
  EXPECT_EQ(Logged("Files", "File2"), "-") << "the log as it was";
  EXPECT_EQ(Logged("Files", "Entries"), "1");

  RunGood();
  EXPECT_TRUE(ReadFile(target) == Content(70000, 'n')) << "the new contents";
  std::vector<std::string> files = testsupport::NamesIn(folder);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"app.txt", "more.txt"})) << "no old file stays";
}

// Keys, values, folders and registrations that were there before the run stay as they
// were: a key and an empty key with its empty parent, a folder with attributes of its
// own, and a type library and COM classes (of a library and of a program) of the same
// identifiers as the run's.
TEST_F(RunUndo, WhatWasThereBeforeTheRunStaysAsItWas) {
  constexpr char kClassKey[] = "\\CLSID\\{5E1D7A40-6C2B-4B8E-9A51-0C2F3B7D9E11}";
  constexpr char kServerKey[] = "\\CLSID\\{5E1D7A41-6C2B-4B8E-9A51-0C2F3B7D9E11}";
  constexpr char kTypeLibraryKey[] = "\\TypeLib\\{5E1D7A30-6C2B-4B8E-9A51-0C2F3B7D9E11}";
  const std::string platform = sizeof(void*) == 8 ? "win64" : "win32";
  const std::string root = "\\Software\\StavrelTests\\Undo" + kPid;
  testsupport::TSavedRegistryTree savedKeys(HKEY_CURRENT_USER, root);
  testsupport::TSavedRegistryTree savedClass(HKEY_CLASSES_ROOT, kClassKey);
  testsupport::TSavedRegistryTree savedTypes(HKEY_CLASSES_ROOT, kTypeLibraryKey);
  testsupport::TSavedRegistryTree savedServer(HKEY_CLASSES_ROOT, kServerKey);

  // Before the run: the keys, the folder, and the registrations of an earlier copy.
  testsupport::WriteRegistryText(HKEY_CURRENT_USER, root + "\\Tool", "Path", "mine");
  const DWORD count = 7;
  {
    fw::TRegKeyHandle key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (root.substr(1) + "\\Tool").c_str(), 0, KEY_SET_VALUE, key.Put()),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.Get(), "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count),
              ERROR_SUCCESS);
  }
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, (root.substr(1) + "\\Parent\\Company").c_str(), fw::TRegKeyHandle().Put()),
            ERROR_SUCCESS);
  const std::string existing = Scratch.Folder("Existing");
  ASSERT_TRUE(SetFileAttributesA(existing.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  // (Wine keeps no read-only attribute on a folder.)
  const DWORD attributes = GetFileAttributesA(existing.c_str());
  ASSERT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  const std::string earlier = Scratch.Folder("earlier");
  ASSERT_TRUE(CopyFileA(testsupport::BesideProgram("file_probe.tlb").c_str(), (earlier + "\\probe.tlb").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(testsupport::BesideProgram("file_com_library.dll").c_str(), (earlier + "\\probe.dll").c_str(), FALSE));
  RegisterTypeLibraryFile(earlier + "\\probe.tlb");
  RegisterSelfRegisteringLibrary(earlier + "\\probe.dll", "Earlier");
  ASSERT_TRUE(CopyFileA(testsupport::BesideProgram("file_com_server.exe").c_str(), (earlier + "\\server.exe").c_str(), FALSE));
  RegisterSelfRegisteringServer(earlier + "\\server.exe");
  const std::string server = ReadRegString(hkClassesRoot, std::string(kServerKey) + "\\LocalServer32", "", "-");
  ASSERT_EQ(server, earlier + "\\server.exe");
  const std::string classes = ReadRegString(hkClassesRoot, std::string(kClassKey) + "\\InprocServer32", "", "-");
  const std::string types = ReadRegString(hkClassesRoot, std::string(kTypeLibraryKey) + "\\1.0\\0\\" + platform, "", "-");
  ASSERT_EQ(classes, earlier + "\\probe.dll");
  ASSERT_EQ(types, earlier + "\\probe.tlb");

  // The run: a file below the folder, values in the keys, its own copies registered.
  AddFile(existing + "\\sub\\deeper", "data.txt", "data");
  const std::string app = Scratch / "app";
  for (const auto& [name, built] : std::vector<std::pair<std::string, std::string>>{
           {"probe.tlb", "file_probe.tlb"}, {"probe.dll", "file_com_library.dll"}, {"server.exe", "file_com_server.exe"}}) {
    TInstallFile* com = AddFile(app, name, "", testsupport::BesideProgram(built));
    com->SetActiveX(true);
    com->SetFileType(iftNormal);
    com->SetDestDirType(nullptr);
    com->SetDestDir(app);
  }
  auto* tool = new TInstallRegistry(Form.get());
  tool->SetRootKey(hkCurrentUser);
  tool->SetKey(root + "\\Tool");
  tool->Entries()->AddEntry()->SetIdent("Path");
  tool->Entries()->AddEntry()->SetIdent("Level");
  tool->Entries()->AddEntry()->SetIdent("Count");  // a text now
  auto* product = new TInstallRegistry(Form.get());
  product->SetRootKey(hkCurrentUser);
  product->SetKey(root + "\\Parent\\Company\\Product\\Version");
  product->Entries()->AddEntry()->SetIdent("Name");
  Build();

  const std::vector<std::string> stayed = RunTakenBack([&] {
    tool->Process();
    product->Process();
    ASSERT_EQ(ReadRegString(hkClassesRoot, std::string(kClassKey) + "\\InprocServer32", "", "-"), app + "\\probe.dll");
    ASSERT_EQ(ReadRegString(hkClassesRoot, std::string(kTypeLibraryKey) + "\\1.0\\0\\" + platform, "", "-"),
              app + "\\probe.tlb");
    ASSERT_EQ(ReadRegString(hkClassesRoot, std::string(kServerKey) + "\\LocalServer32", "", "-"), app + "\\server.exe");
  });
  EXPECT_EQ(stayed, std::vector<std::string>{});
  // What the run made is gone: its COM files too.
  EXPECT_FALSE(Exists(app + "\\probe.dll"));
  EXPECT_FALSE(Exists(app + "\\probe.tlb"));
  EXPECT_FALSE(Exists(app + "\\server.exe"));
  EXPECT_FALSE(Exists(app));
  EXPECT_FALSE(Exists(existing + "\\sub"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, root + "\\Parent\\Company\\Product"));
  EXPECT_EQ(ReadRegString(hkCurrentUser, root + "\\Tool", "Level", "-"), "-");
  // What was there is as it was.
  EXPECT_EQ(ReadRegString(hkCurrentUser, root + "\\Tool", "Path", "-"), "mine");
  DWORD type = REG_NONE, data = 0, size = sizeof data;
  fw::TRegKeyHandle toolKey;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (root.substr(1) + "\\Tool").c_str(), 0, KEY_READ, toolKey.Put()),
            ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(toolKey.Get(), "Count", nullptr, &type, reinterpret_cast<BYTE*>(&data), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << "the earlier type";
  EXPECT_EQ(data, count);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, root + "\\Parent\\Company")) << "an empty key of before";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, root + "\\Parent"));
  EXPECT_EQ(GetFileAttributesA(existing.c_str()), attributes) << "the folder of before, with its attributes";
  EXPECT_EQ(ReadRegString(hkClassesRoot, std::string(kClassKey) + "\\InprocServer32", "", "-"), classes);
  EXPECT_EQ(ReadRegString(hkClassesRoot, std::string(kClassKey) + "\\InprocServer32", "ThreadingModel", "-"),
            "Apartment");
  EXPECT_EQ(ReadRegString(hkClassesRoot, std::string(kTypeLibraryKey) + "\\1.0\\0\\" + platform, "", "-"), types);
  EXPECT_EQ(ReadRegString(hkClassesRoot, std::string(kServerKey) + "\\LocalServer32", "", "-"), server);
  EXPECT_EQ(ReadRegString(hkClassesRoot, std::string(kTypeLibraryKey) + "\\1.0", "", "-"),
            "Stavrel file test type library");
  SetFileAttributesA(existing.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A key the run made that is a registry link by the time of the undo is none of the
// run's: it stays, and so does the key it leads to.
TEST_F(RunUndo, AKeyThatBecameALinkIsNotFollowed) {
  const std::string root = "Software\\StavrelTests\\UndoLink" + kPid, made = root + "\\Made";
  const std::string target = "Software\\StavrelTests\\UndoLinkTarget" + kPid;
  struct TRemove {
    std::vector<std::string> Keys;
    ~TRemove() {
      for (const std::string& key : Keys) DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
    }
  } remove{{root, target}};
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, target.c_str(), fw::TRegKeyHandle().Put()), ERROR_SUCCESS);
  auto* keys = new TInstallRegistry(Form.get());
  keys->SetRootKey(hkLocalMachine);
  keys->SetKey("\\" + made);

  const std::vector<std::string> stayed = RunTakenBack([&] {
    keys->Process();
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "\\" + made));
    // Another program puts a link where the run's key was.
    ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, made));
    ASSERT_TRUE(MakeRegistryLink(made, target));
  });
  EXPECT_EQ(stayed, std::vector<std::string>{});
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "\\" + target)) << "the key the link leads to";
  EXPECT_TRUE(OpenKeyNotFollowing(HKEY_LOCAL_MACHINE, made, KEY_READ)) << "the link itself";
}

// A key saved before a change is put back only as far as it was read: a link below it or
// a level deeper than the save reads is not deleted for want of a copy.
TEST(SavedRegistryKey, WhatWasNotReadWholeIsLeftAsItIs) {
  const std::string root = "Software\\StavrelTests\\Saved" + kPid, target = root + "Target";
  struct TRemove {
    std::vector<std::string> Keys;
    ~TRemove() {
      for (const std::string& key : Keys) DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
    }
  } remove{{root, target}};
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, (target + "\\Kept").c_str(), fw::TRegKeyHandle().Put()), ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, (root + "\\Deep\\Deeper").c_str(), fw::TRegKeyHandle().Put()),
            ERROR_SUCCESS);
  const TSavedRegistryKey shallow(HKEY_LOCAL_MACHINE, root, true, 1);
  EXPECT_FALSE(shallow.Saved());
  EXPECT_FALSE(shallow.Restore());
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "\\" + root + "\\Deep\\Deeper"));

  ASSERT_TRUE(MakeRegistryLink(root + "\\Link", target));
  const TSavedRegistryKey linked(HKEY_LOCAL_MACHINE, root, true);
  EXPECT_FALSE(linked.Saved());
  EXPECT_FALSE(linked.Restore());
  EXPECT_TRUE(OpenKeyNotFollowing(HKEY_LOCAL_MACHINE, root + "\\Link", KEY_READ)) << "the link itself";
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "\\" + target + "\\Kept")) << "what the link leads to";

  // Read whole, the key comes back as it was.
  ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, root + "\\Link"));
  const TSavedRegistryKey whole(HKEY_LOCAL_MACHINE, root, true);
  ASSERT_TRUE(whole.Saved());
  ASSERT_TRUE(DeleteRegistryTree(HKEY_LOCAL_MACHINE, root + "\\Deep"));
  EXPECT_TRUE(whole.Restore());
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "\\" + root + "\\Deep\\Deeper"));
}

// Shortcuts, Internet shortcuts and hard links the run made go; a shortcut the run wrote
// over gets its earlier contents back.
TEST_F(RunUndo, TheLinksARunMadeGoAndOnesItRewroteComeBack) {
  const std::string app = Scratch / "app", menu = Scratch / "menu";
  TInstallFile* tool = AddFile(app, "tool.exe", "MZ tool");
  Build();
  const auto link = [&](const std::string& Name, const std::string& LinkName) {
    auto* made = new TInstallShellLink(Form.get());
    made->SetName(Name);
    made->SetDestDirType(nullptr);
    made->SetDestDir(menu);
    made->SetObjectLink(tool);
    made->SetContainer(nullptr);
    made->SetDestDirType(nullptr);
    made->SetDestDir(menu);
    made->SetLinkName(LinkName);
    return made;
  };
  TInstallShellLink* hard = link("Hard", "tool copy.exe");
  hard->SetHardLink(true);
  TInstallShellLink* shortcut = link("Shortcut", "Tool.lnk");
  shortcut->SetMethod(mtShellLinkInterface);
  TInstallShellLink* web = link("Web", "Site.url");
  web->SetObjectLink(nullptr);
  web->SetObjectLocation("http://www.example.com/");
  ASSERT_TRUE(ForceDirectories(menu));
  WriteFile(menu + "\\Site.url", "[InternetShortcut]\r\nURL=http://earlier.example.com/\r\n");

  const std::vector<std::string> stayed = RunTakenBack([&] {
    for (TInstallShellLink* made : {hard, shortcut, web}) made->Process();
    ASSERT_TRUE(Exists(menu + "\\tool copy.exe"));
    ASSERT_TRUE(Exists(menu + "\\Tool.lnk"));
  });
  EXPECT_EQ(stayed, std::vector<std::string>{});
  EXPECT_FALSE(Exists(menu + "\\tool copy.exe")) << "the hard link's own name";
  EXPECT_FALSE(Exists(menu + "\\Tool.lnk"));
  EXPECT_FALSE(Exists(app));
  EXPECT_EQ(ReadFile(menu + "\\Site.url"), "[InternetShortcut]\r\nURL=http://earlier.example.com/\r\n");
  EXPECT_EQ(testsupport::NamesIn(menu), std::vector<std::string>{"Site.url"});
}

}  // namespace
