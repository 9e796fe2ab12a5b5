// Uninstall logs edited as an attacker would, against what an installation recorded: the
// uninstaller removes what the record shows the installation made, keeps everything else
// (other programs' files and folders, Windows' own files wherever they lie, the user's
// shortcuts and documents, programs and libraries it must not run or load, registry values
// that were there before or changed since, Windows' configuration by any spelling, what a
// registry or file-system link leads to) and names what stayed; the product's entry goes
// in any case. A log of an earlier version, which records nothing of the kind, keeps all
// its items; a log of 20,000 missing files is judged quickly.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "Files.h"
#include "InstallationLog.h"
#include "MachineFolders.h"
#include "RegistrySnapshot.h"
#include "TestLinks.h"
#include "objects/UninstallRemoval.h"
#include "support/FileHandles.h"
#include "support/RegistryLinks.h"

namespace {

using uninstall_tests::TInstallationLog;

const std::string kPid = std::to_string(GetCurrentProcessId());



std::string BuiltProgram(const std::string& Name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + Name;
}

bool KeyExists(HKEY Root, const std::string& Key) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root, Key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetValue(HKEY Root, const std::string& Key, const std::string& Name, DWORD Type, const std::string& Data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(Root, Key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, Name.c_str(), 0, Type, reinterpret_cast<const BYTE*>(Data.data()),
                 static_cast<DWORD>(Data.size()));
  RegCloseKey(key);
}

// The value's type and bytes; an empty type when it is missing.
setup::TStoredValue ValueOf(HKEY Root, const std::string& Key, const std::string& Name) {
  setup::TStoredValue value;
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(Root, Key.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS)
    setup::ReadStoredValue(key.Get(), Name, value);
  return value;
}

std::string Text(const std::string& Value) {
  return Value + '\0';
}

// Makes Root\Key a registry link to the machine's key Target (below HKEY_LOCAL_MACHINE).
void MakeRegistryLink(HKEY Root, const std::string& Key, const std::string& Target) {
  HKEY link = nullptr;
  ASSERT_EQ(RegCreateKeyExA(Root, Key.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &link, nullptr),
            ERROR_SUCCESS);
  const std::string nt = "\\Registry\\Machine\\" + Target;
  const std::wstring wide(nt.begin(), nt.end());
  RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(wide.data()),
                 static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
  RegCloseKey(link);
}

// Deletes Root\Key with its tree without following a link in it.
void DeleteTreeWithoutLinks(HKEY Root, const std::string& Key) {
  const size_t slash = Key.find_last_of('\\');
  fw::TRegKeyHandle parent;
  if (RegOpenKeyExA(Root, Key.substr(0, slash).c_str(), 0, KEY_READ, parent.Put()) != ERROR_SUCCESS) return;
  LONG error = 0;
  setup::DeleteKeyTreeWithoutLinks(parent.Get(), Key.substr(slash + 1), error);
}

std::string Joined(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\n";
  return text;
}

// Whether exactly one line of the report names Item for Reason.
bool Names(const std::vector<std::string>& Report, const std::string& Item, const std::string& Reason) {
  return std::count_if(Report.begin(), Report.end(), [&](const std::string& line) {
           return line.find(Item) != std::string::npos && line.find(Reason) != std::string::npos;
         }) == 1;
}

class HostileLog : public ::testing::Test {
 protected:
  void TearDown() override { DeleteTreeWithoutLinks(HKEY_LOCAL_MACHINE, Key); }

  // What an attacker adds to the log: entries of the lists an installation writes.
  void LogFile(const std::string& Path) {
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\Files", "File" + std::to_string(++FAdded), Path);
  }
  void LogActiveX(const std::string& Entry) {
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\ActiveX", "File" + std::to_string(++FAdded), Entry);
  }
  // A logged registry key: each value with its "Entries" text and, when the installation
  // made it, the type and bytes it wrote (MadeValues), with the levels it made.
  struct TLogged {
    std::string Name, Text;
    bool Made = false;
    DWORD Type = REG_SZ;
    std::string Data;
  };
  void LogKey(HKEY Root, const std::string& Path, int MadeLevels, const std::vector<TLogged>& Values) {
    const std::string record = Key + "\\RegistryKeys\\RegistryKey" + std::to_string(++FAdded);
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, record, "Key", "\\" + Path);
    const DWORD root = Root == HKEY_CLASSES_ROOT    ? 0
                       : Root == HKEY_CURRENT_CONFIG ? 1
                       : Root == HKEY_CURRENT_USER   ? 2
                                                     : 4;
    SetValue(HKEY_LOCAL_MACHINE, record, "Root", REG_DWORD, std::string(reinterpret_cast<const char*>(&root), 4));
    if (MadeLevels > 0)
      SetValue(HKEY_LOCAL_MACHINE, record, "MadeLevels", REG_DWORD,
               std::string(reinterpret_cast<const char*>(&MadeLevels), 4));
    for (const TLogged& value : Values) {
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, record + "\\Entries", value.Name, value.Text);
      if (value.Made) SetValue(HKEY_LOCAL_MACHINE, record + "\\MadeValues", value.Name, value.Type, value.Data);
    }
  }
  setup::TUninstallReport Uninstall(const setup::TSharedFileQuestion& Question = nullptr) {
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key, "DisplayName", Product);
    return setup::UninstallProduct(Product, setup::MachineFolderRules(), std::string(), Question);
  }

  const std::string Product = "Stavrel Hostile Log " + kPid;
  const std::string Key = setup::UninstallKeyOfProduct(Product);
  testsupport::TScratchFolder Scratch{"hostilelog"};

 private:
  int FAdded = 1000;
};

TEST_F(HostileLog, FilesTheRecordDoesNotShowAsTheInstallationsStayAndAreNamed) {
  // The installation: its own folders with its files (one rewritten by the product since:
  // it lies in the product's folder and still goes), files it wrote into a folder that was
  // there (one changed by the user since: it stays), a file in a folder it made that was
  // since replaced by another of the same name, and a file named like a library Windows
  // keeps for itself.
  TInstallationLog install(Product);
  const std::string app = Scratch / "Kavel\\App", lib = Scratch / "Kavel\\Lib", data = Scratch / "Replaced";
  install.WriteFile(app + "\\tool.exe", "MZ tool");
  install.WriteFile(app + "\\settings.ini", "a=1");
  testsupport::WriteFile(app + "\\settings.ini", "a=2");
  const std::string there = Scratch / "There";
  CreateDirectoryA(there.c_str(), nullptr);
  install.WriteFile(there + "\\ours.txt", "ours");
  install.WriteFile(there + "\\changed.txt", "ours");
  testsupport::WriteFile(there + "\\changed.txt", "the user's now");
  install.WriteFile(data + "\\data.txt", "data");
  ASSERT_TRUE(MoveFileA(data.c_str(), (Scratch / "Replaced Before").c_str()));
  testsupport::WriteFile(data + "\\data.txt", "someone else's");
  const std::string known = "stavrelknown" + kPid + ".dll";
  testsupport::TSavedRegistryValues knownLibraries(
      HKEY_LOCAL_MACHINE, "\\System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", {"StavrelKnown" + kPid});
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs",
                                 "StavrelKnown" + kPid, known);
  install.WriteFile(lib + "\\" + known, "MZ named like Windows' own");

  // What the attacker adds. Another vendor's folder, every file of it logged.
  const std::string vendor = Scratch / "Vendor";
  testsupport::WriteFile(vendor + "\\vendor.dll", "MZ vendor");
  testsupport::WriteFile(vendor + "\\vendor.txt", "vendor");
  LogFile(vendor + "\\vendor.dll");
  LogFile(vendor + "\\vendor.txt");
  // A file with Windows' version resource, outside the Windows folder, with its content
  // as the installation would record it.
  const std::string windowsFile = vendor + "\\renamed.dll";
  ASSERT_TRUE(CopyFileA((testsupport::SystemFolder() + "\\kernel32.dll").c_str(), windowsFile.c_str(), FALSE));
  install.LogFile(windowsFile);
  // The user's shortcut on the desktop, with the program it leads to.
  const std::string shortcut = testsupport::ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Stavrel Notepad " + kPid + ".lnk";
  testsupport::WriteFile(shortcut, "the user's shortcut");
  LogFile(shortcut);
  LogFile(testsupport::ShellFolder(CSIDL_WINDOWS) + "\\notepad.exe");
  // A lone plain file right in the user's documents, with the documents folder itself
  // logged as made by the installation (its identity as it is).
  const std::string documents = testsupport::ShellFolder(CSIDL_PERSONAL);
  const std::string letter = documents + "\\Stavrel Letter " + kPid + ".txt";
  testsupport::WriteFile(letter, "the user's letter");
  // Should the documents folder be taken as the installation's, this keeps it from
  // going with the prefix's other tests' files.
  const std::string guard = documents + "\\Stavrel Guard " + kPid + ".txt";
  testsupport::WriteFile(guard, "guard");
  LogFile(letter);
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\MadeFolders", documents,
                                 setup::TOpenedEntry(documents).Id());
  // The program files folder by its short name, logged as made by the installation.
  char shortName[MAX_PATH] = "";
  GetShortPathNameA(testsupport::ShellFolder(CSIDL_PROGRAM_FILES).c_str(), shortName, MAX_PATH);
  testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, Key + "\\MadeFolders", shortName,
                                 setup::TOpenedEntry(shortName).Id());
  // Links: in the installation's own folder one leading outside, in a folder that was
  // there another.
  const std::string outside = Scratch / "Outside\\target.txt";
  testsupport::WriteFile(outside, "outside");
  const bool linked = uninstall_tests::MakeLink(app + "\\link.txt", outside) && uninstall_tests::MakeLink(there + "\\link.txt", outside);
  // Where the system opens a link itself, the link in the product's folder goes; where it
  // opens only what the link leads to (Wine), it stays, as what it leads to does.
  const bool linksSeen = linked && setup::TOpenedEntry(app + "\\link.txt").IsLink();
  if (linked) {
    LogFile(app + "\\link.txt");
    LogFile(there + "\\link.txt");
  } else {
    std::printf("no link can be made here: the routes through links are not tried\n");
  }
  // A data file of Windows in the system folder, counted once as shared.
  const std::string systemData = testsupport::SystemFolder() + "\\stavrel_c_037_" + kPid + ".nls";
  ASSERT_TRUE(CopyFileA((testsupport::SystemFolder() + "\\c_037.nls").c_str(), systemData.c_str(), FALSE));
  testsupport::TSavedRegistryValues counts(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                                           {systemData});
  SetValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", systemData, REG_DWORD,
           std::string("\1\0\0\0", 4));
  LogFile(systemData);

  std::vector<std::string> asked;
  const setup::TUninstallReport report = Uninstall([&](const std::string& Path) {
    asked.push_back(Path);
    return true;
  });
  const std::vector<std::string>& stayed = report.NotRemoved;
  EXPECT_TRUE(report.Found);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key));
  EXPECT_TRUE(asked.empty()) << Joined(asked);

  // The installation's own goes.
  EXPECT_EQ(testsupport::FolderExists(app), linked && !linksSeen);
  EXPECT_FALSE(testsupport::FileExists(there + "\\ours.txt"));
  EXPECT_TRUE(testsupport::FileExists(outside)) << "a link goes itself, never what it leads to";
  // Everything else stays, each named once.
  EXPECT_TRUE(testsupport::FileExists(there + "\\changed.txt"));
  EXPECT_TRUE(Names(stayed, "changed.txt", "(changed since this installation wrote it; kept)")) << Joined(stayed);
  EXPECT_TRUE(testsupport::FileExists(data + "\\data.txt"));
  EXPECT_TRUE(Names(stayed, data, "(no longer the folder this installation made; kept)")) << Joined(stayed);
  EXPECT_TRUE(Names(stayed, "data.txt", "(changed since this installation wrote it; kept)"));
  EXPECT_TRUE(testsupport::FileExists(lib + "\\" + known));
  EXPECT_TRUE(Names(stayed, known, "(a file of Windows itself; kept)")) << Joined(stayed);
  EXPECT_TRUE(Names(stayed, lib, "(not empty; kept)")) << Joined(stayed);
  for (const std::string& file : {vendor + "\\vendor.dll", vendor + "\\vendor.txt", shortcut, letter})
    EXPECT_TRUE(Names(stayed, file, "(no record that this installation wrote it; kept)"))
        << file << "\n"
        << Joined(stayed);
  EXPECT_TRUE(Names(stayed, "renamed.dll", "(a file of Windows itself; kept)")) << Joined(stayed);
  EXPECT_TRUE(Names(stayed, "notepad.exe", "(no record that this installation wrote it; kept)"));
  EXPECT_TRUE(Names(stayed, documents, "(a folder of Windows, of the user or of every program; kept)"));
  EXPECT_TRUE(Names(stayed, testsupport::ShellFolder(CSIDL_PROGRAM_FILES), "(a folder of Windows, of the user or of every program; kept)"))
      << Joined(stayed);
  EXPECT_TRUE(testsupport::FolderExists(testsupport::ShellFolder(CSIDL_PROGRAM_FILES)));
  EXPECT_TRUE(Names(stayed, systemData, "(no record that this installation wrote it; kept)"));
  EXPECT_TRUE(testsupport::FileExists(letter));
  EXPECT_TRUE(testsupport::FolderExists(documents));
  EXPECT_TRUE(testsupport::FileExists(shortcut));
  EXPECT_TRUE(testsupport::FileExists(windowsFile));
  EXPECT_TRUE(testsupport::FileExists(systemData));
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", systemData).Data,
            std::string("\1\0\0\0", 4))
      << "a count the installation did not record is not given back";
  if (linked) {
    // Taken as a link, or as what a link on the way leads to (where the system cannot
    // tell a link from what it leads to).
    const std::string reason =
        linksSeen ? "(a link; neither it nor what it leads to is removed)" : "(reached through a link or another drive: ";
    EXPECT_TRUE(Names(stayed, there + "\\link.txt", reason)) << Joined(stayed);
    EXPECT_EQ(Names(stayed, app + "\\link.txt", reason), !linksSeen) << Joined(stayed);
    EXPECT_EQ(Names(stayed, app + " (not empty; kept)", ""), !linksSeen) << Joined(stayed);
  }
  EXPECT_EQ(stayed.size(), 14u + (linked ? 1u : 0u) + (linked && !linksSeen ? 2u : 0u)) << Joined(stayed);
  // The links go while what they lead to is still there: a dangling one is out of the
  // scratch folder's reach under Wine and would keep it.
  if (linked) {
    uninstall_tests::RemoveLink(app + "\\link.txt");
    uninstall_tests::RemoveLink(there + "\\link.txt");
  }
  DeleteFileA(letter.c_str());
  DeleteFileA(guard.c_str());
  DeleteFileA(shortcut.c_str());
  DeleteFileA(systemData.c_str());
}

TEST_F(HostileLog, ProgramsAndLibrariesRunOrLoadOnlyAsTheInstallationsOwnUnchangedFiles) {
  // Each probe leaves a mark when it is run or loaded, saying whether it was held.
  const std::string marks = Scratch / "Marks";
  CreateDirectoryA(marks.c_str(), nullptr);
  SetEnvironmentVariableA("STAVREL_MARKS", marks.c_str());
  const auto place = [](const std::string& Built, const std::string& Path) {
    testsupport::WriteFile(Path, "");
    ASSERT_TRUE(CopyFileA(BuiltProgram(Built).c_str(), Path.c_str(), FALSE));
  };
  const auto mark = [&](const std::string& Name) {
    const std::string file = marks + "\\" + Name + ".mark";
    return testsupport::FileExists(file) ? testsupport::ReadFile(file) : std::string("none");
  };
  // The installation's own library and program, as it wrote them.
  TInstallationLog install(Product);
  const std::string app = Scratch / "Kavel\\App", changed = Scratch / "Kavel\\Changed";
  install.MakeFolder(app);
  place("mark_library.dll", app + "\\ownlib.dll");
  place("mark_program.exe", app + "\\ownprog.exe");
  install.LogActiveX(app + "\\ownlib.dll", setup::kActiveXLibrary);
  install.LogActiveX(app + "\\ownprog.exe", setup::kActiveXServer);
  // Its own files changed since (in its own folder: they go, but are neither run nor
  // loaded), and one logged as another kind than its name gives.
  install.MakeFolder(changed);
  place("mark_library.dll", changed + "\\changedlib.dll");
  place("mark_program.exe", changed + "\\changedprog.exe");
  install.LogActiveX(changed + "\\changedlib.dll", setup::kActiveXLibrary);
  install.LogActiveX(changed + "\\changedprog.exe", setup::kActiveXServer);
  for (const std::string& file : {changed + "\\changedlib.dll", changed + "\\changedprog.exe"}) {
    HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, "x", 1, &written, nullptr);
    CloseHandle(handle);
  }
  place("mark_library.dll", app + "\\kind.dll");
  install.LogFile(app + "\\kind.dll");
  LogActiveX(app + "\\kind.dll;1");
  // What the attacker adds: a library and a program in the user's data, another vendor's
  // program among the programs.
  const std::string evil = testsupport::ShellFolder(CSIDL_APPDATA) + "\\Stavrel Evil " + kPid;
  const std::string other = testsupport::ShellFolder(CSIDL_PROGRAM_FILES) + "\\Stavrel Other " + kPid;
  place("mark_library.dll", evil + "\\evil.dll");
  place("mark_program.exe", evil + "\\evil.exe");
  place("mark_program.exe", other + "\\other.exe");
  LogActiveX(evil + "\\evil.dll;0");
  LogActiveX(evil + "\\evil.exe;1");
  LogActiveX(other + "\\other.exe;1");

  const setup::TUninstallReport report = Uninstall();
  SetEnvironmentVariableA("STAVREL_MARKS", nullptr);
  const std::vector<std::string>& stayed = report.NotRemoved;
  // The installation's own, unchanged: unregistered while held, then deleted.
  EXPECT_EQ(mark("ownlib.dll"), "loaded held");
  EXPECT_EQ(mark("ownprog.exe"), "ran held");
  EXPECT_FALSE(testsupport::FolderExists(app));
  // Changed: deleted from the installation's folder without being run or loaded.
  EXPECT_EQ(mark("changedlib.dll"), "none");
  EXPECT_EQ(mark("changedprog.exe"), "none");
  EXPECT_FALSE(testsupport::FolderExists(changed));
  for (const char* name : {"changedlib.dll", "changedprog.exe"})
    EXPECT_TRUE(Names(stayed, std::string("the registration of ") + changed + "\\" + name,
                      "(changed since this installation wrote it: neither run nor loaded)"))
        << Joined(stayed);
  EXPECT_TRUE(Names(stayed, "kind.dll;1", "(not the registration an installation logs for such a file)"));
  EXPECT_EQ(mark("kind.dll"), "none");
  // The attacker's: never run or loaded, kept.
  for (const char* name : {"evil.dll", "evil.exe", "other.exe"}) EXPECT_EQ(mark(name), "none") << name;
  for (const std::string& file : {evil + "\\evil.dll", evil + "\\evil.exe", other + "\\other.exe"}) {
    EXPECT_TRUE(testsupport::FileExists(file)) << file;
    EXPECT_TRUE(Names(stayed, file, "(no record that this installation wrote it; kept)"))
        << Joined(stayed);
  }
  EXPECT_EQ(stayed.size(), 6u) << Joined(stayed);
  testsupport::RemoveTree(evil);
  testsupport::RemoveTree(other);
}

TEST_F(HostileLog, RegistryValuesAndKeysGoOnlyAsTheInstallationMadeThem) {
  const std::string user = "Software\\Stavrel Hostile " + kPid;
  const std::string target = "Software\\Stavrel Target " + kPid;
  testsupport::TSavedRegistryTree savedTarget(HKEY_LOCAL_MACHINE, target);
  testsupport::TSavedRegistryTree savedUser(HKEY_CURRENT_USER, user);
  const std::string number("\3\0\0\0", 4), blob("\1\0\xFF", 3);
  // The product's key with the values it made: they go, and so do the levels it made.
  const std::string product = user + "\\Product\\1.0";
  SetValue(HKEY_CURRENT_USER, product, "Path", REG_SZ, Text("C:\\App"));
  SetValue(HKEY_CURRENT_USER, product, "Count", REG_DWORD, number);
  SetValue(HKEY_CURRENT_USER, product, "Blob", REG_BINARY, blob);
  LogKey(HKEY_CURRENT_USER, product, 2,
         {{"Path", "C:\\App", true, REG_SZ, Text("C:\\App")},
          {"Count", "3", true, REG_DWORD, number},
          {"Blob", "(data of type 3)", true, REG_BINARY, blob}});
  // Another vendor's key: a value that was there before, with the data the log repeats;
  // a binary value the log holds only as text; one whose bytes differ from the record; one
  // of another type with the same bytes; and a value the installation made there.
  const std::string vendor = user + "\\Vendor";
  SetValue(HKEY_CURRENT_USER, vendor, "Setting", REG_SZ, Text("theirs"));
  SetValue(HKEY_CURRENT_USER, vendor, "Binary", REG_BINARY, blob);
  SetValue(HKEY_CURRENT_USER, vendor, "Changed", REG_BINARY, blob);
  SetValue(HKEY_CURRENT_USER, vendor, "Expanded", REG_EXPAND_SZ, Text("%x%"));
  SetValue(HKEY_CURRENT_USER, vendor, "Ours", REG_SZ, Text("ours"));
  LogKey(HKEY_CURRENT_USER, vendor, 0,
         {{"Setting", "theirs"},
          {"Binary", "(data of type 3)"},
          {"Changed", "(data of type 3)", true, REG_BINARY, std::string("\1\0\xFE", 3)},
          {"Expanded", "%x%", true, REG_SZ, Text("%x%")},
          {"Ours", "ours", true, REG_SZ, Text("ours")}});
  // Windows' configuration, by the spellings that alias it, with records as the
  // installation would write them.
  const std::string name = "Stavrel" + kPid;
  const std::vector<std::pair<HKEY, std::string>> windows = {
      {HKEY_CLASSES_ROOT, "exefile\\shell\\open\\command"},
      {HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}\\InprocServer32"},
      {HKEY_CURRENT_CONFIG, "Software\\Fonts"},
      {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug"}};
  for (const auto& [root, key] : windows) {
    SetValue(root, key, name, REG_SZ, Text("theirs"));
    LogKey(root, key, 1, {{name, "theirs", true, REG_SZ, Text("theirs")}});
  }
  // Registry links: a logged key that leads to another key with the value the log names;
  // the product's own key replaced by a link since; a link inside the product's entry.
  SetValue(HKEY_LOCAL_MACHINE, target, "Shell", REG_SZ, Text("explorer.exe"));
  SetValue(HKEY_LOCAL_MACHINE, target, "V", REG_SZ, Text("v"));
  MakeRegistryLink(HKEY_CURRENT_USER, user + "\\Linked", target);
  LogKey(HKEY_CURRENT_USER, user + "\\Linked", 1, {{"Shell", "explorer.exe", true, REG_SZ, Text("explorer.exe")}});
  const std::string replaced = user + "\\Product\\2.0";
  LogKey(HKEY_CURRENT_USER, replaced, 1, {{"V", "v", true, REG_SZ, Text("v")}});
  MakeRegistryLink(HKEY_CURRENT_USER, replaced, target);
  MakeRegistryLink(HKEY_LOCAL_MACHINE, Key + "\\Evil", target);

  const setup::TUninstallReport report = Uninstall();
  const std::vector<std::string>& stayed = report.NotRemoved;
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, user + "\\Product")) << Joined(stayed);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, vendor)) << "the key was there before";
  for (const char* kept : {"Setting", "Binary", "Changed", "Expanded"})
    EXPECT_NE(ValueOf(HKEY_CURRENT_USER, vendor, kept).Type, 0u) << kept;
  EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, vendor, "Ours").Type, 0u);
  EXPECT_TRUE(Names(stayed, "the value Setting of HKEY_CURRENT_USER\\" + vendor,
                    "(no record that this installation made it; kept)"));
  EXPECT_TRUE(Names(stayed, "the value Binary of", "(no record that this installation made it; kept)"));
  for (const char* changed : {"Changed", "Expanded"})
    EXPECT_TRUE(Names(stayed, std::string("the value ") + changed + " of",
                      "(no longer what this installation wrote; kept)"))
        << Joined(stayed);
  for (const auto& [root, key] : windows) {
    EXPECT_EQ(ValueOf(root, key, name).Data, Text("theirs")) << key;
    EXPECT_TRUE(Names(stayed, "the value " + name + " of HKEY_", key + " (Windows' own configuration; kept)"))
        << key << "\n"
        << Joined(stayed);
    EXPECT_TRUE(Names(stayed, "the registry key HKEY_", key + " (Windows' own or every program's; kept)")) << key;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
      RegDeleteValueA(opened, name.c_str());
      RegCloseKey(opened);
    }
  }
  // What the links led to is as it was; the links went as links.
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, target, "Shell").Data, Text("explorer.exe"));
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, target, "V").Data, Text("v"));
  EXPECT_TRUE(Names(stayed, "the values of HKEY_CURRENT_USER\\" + user + "\\Linked",
                    "(reached through the registry link HKEY_CURRENT_USER\\" + user + "\\Linked"));
  EXPECT_TRUE(Names(stayed, "the values of HKEY_CURRENT_USER\\" + replaced, "which is not followed"));
  EXPECT_FALSE(setup::OpenSubkeyItself(HKEY_CURRENT_USER, user + "\\Linked", KEY_READ));
  EXPECT_EQ(stayed.size(), 14u) << Joined(stayed);
}

TEST_F(HostileLog, ALogOfAnEarlierVersionUninstallsAndKeepsWhatItCannotShow) {
  // A log as earlier versions wrote it: the lists alone.
  const std::string app = Scratch / "Kavel\\App";
  testsupport::WriteFile(app + "\\tool.exe", "MZ tool");
  testsupport::WriteFile(app + "\\library.dll", "MZ library");
  LogFile(app + "\\tool.exe");
  LogActiveX(app + "\\library.dll;0");
  const std::string user = "Software\\Stavrel Old " + kPid;
  testsupport::TSavedRegistryTree saved(HKEY_CURRENT_USER, user);
  SetValue(HKEY_CURRENT_USER, user, "Path", REG_SZ, Text(app));
  LogKey(HKEY_CURRENT_USER, user, 0, {{"Path", app}});
  const setup::TUninstallReport report = Uninstall();
  EXPECT_TRUE(report.Found);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key)) << "the product's entry goes";
  EXPECT_TRUE(testsupport::FileExists(app + "\\tool.exe"));
  EXPECT_TRUE(testsupport::FileExists(app + "\\library.dll"));
  EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, user, "Path").Data, Text(app));
  EXPECT_EQ(report.NotRemoved,
            (std::vector<std::string>{
                app + "\\library.dll (no record that this installation wrote it; kept)",
                app + "\\tool.exe (no record that this installation wrote it; kept)",
                "the value Path of HKEY_CURRENT_USER\\" + user +
                    " (no record that this installation made it; kept)"}));
}

TEST_F(HostileLog, TwentyThousandMissingFilesAreJudgedInUnderThirtySeconds) {
  {
    fw::TRegKeyHandle files;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (Key + "\\Files").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              files.Put(), nullptr),
              ERROR_SUCCESS);
    for (int n = 1; n <= 20000; ++n) {
      const std::string path = Scratch / ("Gone\\folder " + std::to_string(n % 50) + "\\file" + std::to_string(n) + ".dll");
      RegSetValueExA(files.Get(), ("File" + std::to_string(n)).c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(path.c_str()), static_cast<DWORD>(path.size() + 1));
    }
  }
  const auto start = std::chrono::steady_clock::now();
  const setup::TUninstallReport report = Uninstall();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("20,000 missing files judged in %.1f s\n", seconds);
  EXPECT_LT(seconds, 30.0);
  EXPECT_TRUE(report.Found);
  EXPECT_TRUE(report.NotRemoved.empty()) << Joined(report.NotRemoved);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key));
}

}  // namespace
