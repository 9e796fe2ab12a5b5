// The product installed for real through its wizard, its uninstall log then edited as an
// attacker would, each kind of route once: Windows' own files outside the Windows folder
// (with their contents recorded as the installation's), every file of a folder of
// Windows', a data file of Windows' and another product's library in the system folder
// with a shared count, programs and libraries of others to be run or loaded to unregister
// them, another product's files, the user's shortcut with the program it leads to, files
// in the user's and every program's data folders, a link out of the product's folder,
// other drive letters; registry values of Windows' configuration by every spelling (with
// records as the installation writes them), values whose data the log repeats, another
// vendor's binary value, a logged key that is a registry link, the product's own key
// replaced by a link, a link inside the product's uninstall entry. The uninstaller is
// started from Add/Remove Programs with Yes to every question: the product goes, entry
// and all, nothing else on the machine changes, nothing else is run or loaded, and its
// one report names what stayed.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BuildMachine.h"
#include "Files.h"
#include "InstallChecks.h"
#include "MachineFolders.h"
#include "MachineSnapshot.h"
#include "ProgramRun.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"
#include "RoadReport.h"
#include "SetupTraces.h"
#include "TestLinks.h"
#include "UninstallRun.h"
#include "WizardWalker.h"
#include "objects/UninstallLogFormat.h"
#include "support/FileHandles.h"
#include "support/RegistryLinks.h"

namespace {

using namespace road;

constexpr char kProduct[] = "Kavel Stavrel";
const std::string kPid = std::to_string(GetCurrentProcessId());
const std::string kSharedDlls = "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";



// The same path by the drive that maps the whole Unix file system (Wine's Z:).
std::string ThroughDriveZ(const std::string& Path) {
  char prefix[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
  std::string route = "Z:" + std::string(prefix, length < MAX_PATH ? length : 0) + "/drive_c" + Path.substr(2);
  std::replace(route.begin(), route.end(), '/', '\\');
  return route;
}

void SetValue(HKEY Root, const std::string& Key, const std::string& Name, DWORD Type, const std::string& Data) {
  HKEY key = nullptr;
  RegCreateKeyExA(Root, Key.c_str() + (Key[0] == '\\' ? 1 : 0), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExA(key, Name.c_str(), 0, Type, reinterpret_cast<const BYTE*>(Data.data()),
                 static_cast<DWORD>(Data.size()));
  RegCloseKey(key);
}

void SetCount(const std::string& Name, DWORD Count) {
  SetValue(HKEY_LOCAL_MACHINE, kSharedDlls, Name, REG_DWORD, std::string(reinterpret_cast<const char*>(&Count), 4));
}

// The value as stored; none when it is missing.
bool ReadValue(HKEY Root, const std::string& Key, const std::string& Name, setup::TStoredValue& Value) {
  fw::TRegKeyHandle key;
  return RegOpenKeyExA(Root, Key.c_str() + (Key[0] == '\\' ? 1 : 0), 0, KEY_READ, key.Put()) == ERROR_SUCCESS &&
         setup::ReadStoredValue(key.Get(), Name, Value);
}

// Makes Root\Key a registry link to the machine's key Target (below HKEY_LOCAL_MACHINE).
void MakeRegistryLink(HKEY Root, const std::string& Key, const std::string& Target) {
  HKEY link = nullptr;
  RegCreateKeyExA(Root, Key.c_str() + (Key[0] == '\\' ? 1 : 0), 0, nullptr,
                  REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &link, nullptr);
  const std::string nt = "\\Registry\\Machine\\" + Target.substr(Target[0] == '\\' ? 1 : 0);
  const std::wstring wide(nt.begin(), nt.end());
  RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(wide.data()),
                 static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
  RegCloseKey(link);
}

// Deletes Root\Key (a link as a link) with what lies below it.
void DeleteKeyItself(HKEY Root, const std::string& Key) {
  const std::string path = Key.substr(Key[0] == '\\' ? 1 : 0);
  const size_t slash = path.find_last_of('\\');
  fw::TRegKeyHandle parent;
  if (RegOpenKeyExA(Root, path.substr(0, slash).c_str(), 0, KEY_READ, parent.Put()) != ERROR_SUCCESS) return;
  LONG error = 0;
  setup::DeleteKeyTreeWithoutLinks(parent.Get(), path.substr(slash + 1), error);
}

// The uninstaller's whole report: its box, or the file the box names when not all fit.
// The file goes once read.
std::string WholeReport(const std::string& Box) {
  const std::string named = ", all listed in:\r\n";
  const size_t at = Box.find(named);
  if (at == std::string::npos) return Box;
  const std::string file = Box.substr(at + named.size());
  std::string text = testsupport::FileExists(file) ? testsupport::ReadFile(file) : Box;
  DeleteFileA(file.c_str());
  return text;
}

std::string Joined(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\n";
  return text;
}

// What an attacker put on the machine beforehand and what he adds to the log: each item
// is watched and goes again with the object.
class THostileMachine {
 public:
  THostileMachine() {
    // Files in the user's and every program's data folders, an empty folder there that a
    // missing file would get removed, another vendor's files in Common Files.
    AddFile(testsupport::ShellFolder(CSIDL_FAVORITES) + "\\Stavrel Bank " + kPid + ".url", true);
    AddFile(testsupport::ShellFolder(CSIDL_APPDATA) + "\\Stavrel Other " + kPid + "\\settings.ini", true);
    AddFile(testsupport::ShellFolder(CSIDL_APPDATA) + "\\Stavrel Other " + kPid + "\\history.dat", false);
    char publicFolder[MAX_PATH] = "";
    GetEnvironmentVariableA("PUBLIC", publicFolder, MAX_PATH);
    FPublic = publicFolder;
    AddFile(FPublic + "\\Stavrel Public " + kPid + ".txt", true);
    AddFile(testsupport::ShellFolder(CSIDL_COMMON_APPDATA) + "\\Stavrel Data " + kPid + ".txt", true);
    AddFile(testsupport::ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\Stavrel Vendor " + kPid + "\\shared.txt", true);
    AddFile(testsupport::ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\Stavrel Vendor " + kPid + "\\vendor.dll", false);
    const std::string empty = testsupport::ShellFolder(CSIDL_APPDATA) + "\\Stavrel Empty " + kPid;
    CreateDirectoryA(empty.c_str(), nullptr);
    FFolders.push_back(empty);
    FLogged.push_back(empty + "\\gone.txt");
    // Another product's library in its own folder; the user's shortcut on the desktop with
    // the program it leads to.
    AddFile("C:\\nwclient " + kPid + "\\LOCWIN32.DLL", true);
    AddFile(testsupport::ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Stavrel Notepad " + kPid + ".lnk", true);
    FLogged.push_back(testsupport::ShellFolder(CSIDL_WINDOWS) + "\\notepad.exe");
    // A folder outside the product that a link inside it will lead to.
    FOutside = "C:\\Stavrel Outside " + kPid;
    AddFile(FOutside + "\\v.txt", false);
    // Windows' own files outside the Windows folder, one with its content recorded as the
    // installation's; every file of a folder of Windows'; a library of Windows' to be
    // unregistered.
    const std::string programFiles = testsupport::ShellFolder(CSIDL_PROGRAM_FILES);
    const std::string explorer = programFiles + "\\Internet Explorer\\iexplore.exe";
    FLogged.push_back(explorer);
    FRecorded.push_back(explorer);
    const std::string oleDb = testsupport::ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\System\\OLE DB";
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((oleDb + "\\*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found))
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) FLogged.push_back(oleDb + "\\" + found.cFileName);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    FWatchedFolders.push_back({oleDb, false});
    FWatchedFolders.push_back({programFiles + "\\Internet Explorer", false});
    FActiveX.push_back(testsupport::ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\System\\ADO\\msado15.dll;0");
    // Programs and libraries of others to unregister: among the programs, in the public
    // profile, in the user's data; each leaves a mark when run or loaded.
    PlaceProbe("mark_program.exe", programFiles + "\\Stavrel OtherVendor " + kPid + "\\other.exe", "1");
    PlaceProbe("mark_library.dll", testsupport::ShellFolder(CSIDL_PROGRAM_FILESX86) + "\\Stavrel OtherVendor " + kPid + "\\other.dll",
               "0");
    PlaceProbe("mark_program.exe", FPublic + "\\Stavrel EvilTools " + kPid + "\\evil2.exe", "1");
    PlaceProbe("mark_library.dll", testsupport::ShellFolder(CSIDL_APPDATA) + "\\Stavrel EvilVendor " + kPid + "\\evil2.dll", "0");
    // The system's own library logged by three routes and counted; a data file of
    // Windows' and another product's library in the system folder, each counted once.
    const std::string kernel = testsupport::SystemFolder() + "\\kernel32.dll";
    CopyFileA(kernel.c_str(), FKernelCopy.c_str(), FALSE);  // should it go, the prefix gets it back
    FLogged.insert(FLogged.end(), {kernel, ThroughDriveZ(kernel)});
    FRecorded.push_back(kernel);
    SetCount(kernel, 1);
    const std::string codePage = testsupport::SystemFolder() + "\\c_037.nls";
    FLogged.push_back(codePage);
    SetCount(codePage, 1);
    FSystemCopy = testsupport::SystemFolder() + "\\stavrelother" + kPid + ".dll";
    CopyFileA((testsupport::ProgramFolder() + "\\file_com_library.dll").c_str(), FSystemCopy.c_str(), FALSE);
    FFiles.push_back(FSystemCopy);
    FLogged.insert(FLogged.end(), {FSystemCopy, ThroughDriveZ(FSystemCopy)});
    SetCount(FSystemCopy, 1);
    // Registry values of Windows' configuration, by every spelling, as the installation
    // records values it made.
    const std::string theirs = "Stavrel" + kPid;
    AddValue(HKEY_CLASSES_ROOT, "\\exefile\\shell\\open\\command", "", true);
    AddValue(HKEY_CLASSES_ROOT, "\\.lnk", "", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Classes\\CLSID\\{00021401-0000-0000-C000-000000000046}\\InprocServer32",
             "", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows NT\\CurrentVersion", "ProductName", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug", "Debugger", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Hardware\\DeviceMap\\SERIALCOMM", theirs, true);
    AddValue(HKEY_CURRENT_CONFIG, "\\Software\\Fonts", "LogPixels", true);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", theirs, true);
    AddValue(HKEY_LOCAL_MACHINE, "\\System\\CurrentControlSet\\Control\\Session Manager\\Environment",
             "STAVREL_" + kPid, true);
    AddValue(HKEY_CURRENT_USER, "\\Environment", "STAVREL_" + kPid, true);
    // Values whose data the log repeats, as older logs hold it; another vendor's binary
    // value the log holds only as a text.
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Stavrel Other " + kPid, false);
    AddValue(HKEY_CURRENT_USER, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Stavrel Other " + kPid,
             false);
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Stavrel Other Vendor " + kPid, "Setting", false);
    FSaved.push_back(std::make_unique<testsupport::TSavedRegistryValues>(
        HKEY_LOCAL_MACHINE, "\\Software\\Stavrel Other Vendor " + kPid, std::vector<std::string>{"Blob"}));
    SetValue(HKEY_LOCAL_MACHINE, "\\Software\\Stavrel Other Vendor " + kPid, "Blob", REG_BINARY,
             std::string("\1\0\xFF", 3));
    FValues.push_back({HKEY_LOCAL_MACHINE, "\\Software\\Stavrel Other Vendor " + kPid, "Blob", "(data of type 3)"});
    // A logged key that is a registry link to Windows' logon settings, with the value the
    // log names for it.
    FLinkKey = "\\Software\\Stavrel Evil " + kPid;
    MakeRegistryLink(HKEY_CURRENT_USER, FLinkKey, kWinlogon);
  }
  ~THostileMachine() {
    const std::string kernel = testsupport::SystemFolder() + "\\kernel32.dll";
    if (!testsupport::FileExists(kernel)) CopyFileA(FKernelCopy.c_str(), kernel.c_str(), TRUE);
    DeleteFileA(FKernelCopy.c_str());
    for (const std::string& file : FFiles) DeleteFileA(file.c_str());
    for (auto folder = FFolders.rbegin(); folder != FFolders.rend(); ++folder) RemoveDirectoryA(folder->c_str());
    DeleteKeyItself(HKEY_CURRENT_USER, FLinkKey);
    DeleteKeyItself(HKEY_LOCAL_MACHINE, "\\Software\\Stavrel Other Vendor " + kPid);
  }
  THostileMachine(const THostileMachine&) = delete;
  THostileMachine& operator=(const THostileMachine&) = delete;

  // A folder inside the installed product that leads to one outside it, with a file
  // there; false where links cannot be made.
  bool LinkOutside(const std::string& ProductFolder) {
    FLink = ProductFolder + "\\Linked";
    if (!uninstall_tests::MakeLink(FLink, FOutside, true)) return false;
    FLogged.push_back(FLink + "\\v.txt");
    return true;
  }
  // Takes the link away again (the product's folders it kept then go with it).
  void RemoveLink() {
    if (!FLink.empty()) uninstall_tests::RemoveLink(FLink);
  }

  // Adds the attacker's entries to the product's log.
  void EditLog(const std::string& UninstallKey) const {
    int number = 1000;
    for (const std::string& path : FLogged)
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, UninstallKey + "\\Files", "File" + std::to_string(++number),
                                     path);
    for (const std::string& path : FRecorded) {
      setup::TFileRecord record;
      record.Contents.emplace_back();
      setup::ReadFileIdentity(path, record.Contents.back());
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, UninstallKey + "\\MadeFiles", path,
                                     setup::FileRecordText(record));
    }
    for (const std::string& entry : FActiveX)
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, UninstallKey + "\\ActiveX",
                                     "File" + std::to_string(++number), entry);
    const auto logKey = [&](HKEY Root, const std::string& Key, const std::string& Name, const std::string& Text,
                            const setup::TStoredValue* Made) {
      const std::string record = UninstallKey + "\\RegistryKeys\\RegistryKey" + std::to_string(++number);
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, record, "Key", Key);
      const DWORD root = Root == HKEY_CLASSES_ROOT    ? 0
                         : Root == HKEY_CURRENT_CONFIG ? 1
                         : Root == HKEY_CURRENT_USER   ? 2
                                                       : 4;
      SetValue(HKEY_LOCAL_MACHINE, record, "Root", REG_DWORD, std::string(reinterpret_cast<const char*>(&root), 4));
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, record + "\\Entries", Name, Text);
      if (Made == nullptr) return;
      const DWORD levels = 1;
      SetValue(HKEY_LOCAL_MACHINE, record, "MadeLevels", REG_DWORD,
               std::string(reinterpret_cast<const char*>(&levels), 4));
      SetValue(HKEY_LOCAL_MACHINE, record + "\\MadeValues", Name, Made->Type, Made->Data);
    };
    for (const TValue& value : FValues) logKey(value.Root, value.Key, value.Name, value.Text, value.Made ? &value.Stored : nullptr);
    setup::TStoredValue shell;
    ReadValue(HKEY_LOCAL_MACHINE, kWinlogon, "Shell", shell);
    logKey(HKEY_CURRENT_USER, FLinkKey, "Shell", shell.Data.substr(0, shell.Data.find('\0')), &shell);
  }

  // What must not change: every file and folder above, every value.
  TMachineSnapshot Watched() const {
    std::vector<TWatchedKey> keys;
    for (const TValue& value : FValues) keys.push_back({value.Root, value.Key, 0});
    keys.push_back({HKEY_LOCAL_MACHINE, kSharedDlls, 0});
    keys.push_back({HKEY_LOCAL_MACHINE, kWinlogon, 0});
    keys.push_back({HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0});
    keys.push_back({HKEY_CLASSES_ROOT, "\\ADODB.Connection", -1});
    std::vector<TWatchedFolder> folders{{testsupport::ShellFolder(CSIDL_FAVORITES), false},
                                        {testsupport::ShellFolder(CSIDL_APPDATA), false},
                                        {testsupport::ShellFolder(CSIDL_COMMON_APPDATA), false},
                                        {testsupport::ShellFolder(CSIDL_PROGRAM_FILES_COMMON), false},
                                        {testsupport::ShellFolder(CSIDL_DESKTOPDIRECTORY), false},
                                        {FPublic, false},
                                        {testsupport::SystemFolder(), false},
                                        {testsupport::ShellFolder(CSIDL_WINDOWS), false}};
    for (const std::string& folder : FFolders) folders.push_back({folder, true});
    folders.insert(folders.end(), FWatchedFolders.begin(), FWatchedFolders.end());
    return TMachineSnapshot(keys, folders);
  }

  const std::string& SystemCopy() const { return FSystemCopy; }
  const std::vector<std::string>& Probes() const { return FProbes; }

 private:
  struct TValue {
    HKEY Root;
    std::string Key, Name, Text;
    bool Made = false;
    setup::TStoredValue Stored;
  };
  static constexpr char kWinlogon[] = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

  void AddFile(const std::string& Path, bool Logged) {
    const std::string folder = Path.substr(0, Path.find_last_of('\\'));
    if (CreateDirectoryA(folder.c_str(), nullptr)) FFolders.push_back(folder);
    testsupport::WriteFile(Path, "not the product's");
    FFiles.push_back(Path);
    if (Logged) FLogged.push_back(Path);
  }

  void PlaceProbe(const std::string& Built, const std::string& Path, const std::string& Kind) {
    const std::string folder = Path.substr(0, Path.find_last_of('\\'));
    if (CreateDirectoryA(folder.c_str(), nullptr)) FFolders.push_back(folder);
    CopyFileA((testsupport::ProgramFolder() + "\\" + Built).c_str(), Path.c_str(), FALSE);
    FFiles.push_back(Path);
    FActiveX.push_back(Path + ";" + Kind);
    FProbes.push_back(Path.substr(Path.find_last_of('\\') + 1));
  }

  // A value the attacker logs with the data it holds (a value of "theirs" is made where
  // there is none); Made: with the record the installation writes of a value it made.
  void AddValue(HKEY Root, const std::string& Key, const std::string& Name, bool Made) {
    FSaved.push_back(std::make_unique<testsupport::TSavedRegistryValues>(Root, Key, std::vector<std::string>{Name}));
    TValue value{Root, Key, Name, "", Made, {}};
    if (!ReadValue(Root, Key, Name, value.Stored)) {
      SetValue(Root, Key, Name, REG_SZ, std::string("theirs") + '\0');
      ReadValue(Root, Key, Name, value.Stored);
    }
    value.Text = value.Stored.Data.substr(0, value.Stored.Data.find('\0'));
    FValues.push_back(value);
  }

  std::vector<std::string> FFiles, FFolders, FLogged, FRecorded, FActiveX, FProbes;
  std::vector<TWatchedFolder> FWatchedFolders;
  std::vector<TValue> FValues;
  std::vector<std::unique_ptr<testsupport::TSavedRegistryValues>> FSaved;
  testsupport::TSavedRegistryValues FCounts{HKEY_LOCAL_MACHINE,
                                            kSharedDlls,
                                            {testsupport::SystemFolder() + "\\kernel32.dll", testsupport::SystemFolder() + "\\c_037.nls",
                                             testsupport::SystemFolder() + "\\stavrelother" + kPid + ".dll"}};
  std::string FPublic, FSystemCopy, FOutside, FLink, FLinkKey;
  const std::string FKernelCopy = testsupport::SystemFolder() + "\\..\\stavrel-kernel32-" + kPid + ".dll";
};

// The product's own version key (made by the installation, with nothing in it) replaced
// by a link to another empty key: the link goes, never what it leads to.
class TReplacedProductKey {
 public:
  explicit TReplacedProductKey(const std::string& Key) : FKey(Key) {
    HKEY decoy = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, FDecoy.c_str() + 1, 0, nullptr, 0, KEY_READ, nullptr, &decoy, nullptr);
    RegCloseKey(decoy);
    DeleteKeyItself(HKEY_LOCAL_MACHINE, Key);
    MakeRegistryLink(HKEY_LOCAL_MACHINE, Key, FDecoy);
  }
  ~TReplacedProductKey() {
    DeleteKeyItself(HKEY_LOCAL_MACHINE, FKey);
    DeleteKeyItself(HKEY_LOCAL_MACHINE, FDecoy);
  }
  TReplacedProductKey(const TReplacedProductKey&) = delete;
  TReplacedProductKey& operator=(const TReplacedProductKey&) = delete;

  bool DecoyThere() const {
    fw::TRegKeyHandle decoy;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, FDecoy.c_str() + 1, 0, KEY_READ, decoy.Put()) == ERROR_SUCCESS;
  }

 private:
  std::string FKey;
  const std::string FDecoy = "\\Software\\Stavrel Decoy " + kPid;
};

TEST(InstalledLog, AnEditedLogOfARealInstallationRemovesTheProductAndNothingElse) {
  THostileMachine hostile;
  testsupport::TScratchFolder marks("marks");
  const TMachineSnapshot traces = SetupTraces();
  const TMachineSnapshot watched = hostile.Watched();
  const TSnapshotItems tracesBefore = traces.Take();
  const TSnapshotItems watchedBefore = watched.Take();
  std::string destination;
  bool linked = false;
  {
    TRoadReport report;
    TRestartDeletions restartDeletions;  // the uninstaller's own program, parked for the restart
    const std::string programs = testsupport::ProgramFolder();
    TBuildMachine machine(programs, programs + "\\..\\sample-product");
    machine.LayOut();
    TWalkOptions walkOptions;
    walkOptions.ClientFolder = programs;
    std::string setup;
    try {
      setup = machine.BuildSetup();
    } catch (const ERoad&) {
      // Right after another road the build now and then makes nothing; a second build
      // does.
      Sleep(3000);
      machine.LayOut();
      setup = machine.BuildSetup();
    }
    const TWalkResult walk = TWizardWalker(report, walkOptions).Walk(setup);
    ASSERT_EQ(walk.ExitCode, 0u) << Joined(report.Failures());
    destination = walk.Destination;

    linked = hostile.LinkOutside(destination);
    if (!linked) std::printf("no link can be made here: the route through a link is not tried\n");
    const std::string uninstallKey = UninstallKeyOf(kProduct);
    // The product's own shared file, logged once more by another drive letter.
    const std::string chartTypes = testsupport::SystemFolder() + "\\KCharts.tlb";
    ASSERT_TRUE(testsupport::FileExists(chartTypes));
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, uninstallKey + "\\Files", "File999", ThroughDriveZ(chartTypes));
    hostile.EditLog(uninstallKey);
    // The product's own version key replaced by a link; a link inside its entry leading
    // to Windows' fonts.
    TReplacedProductKey replaced("\\SOFTWARE\\Kavel Software\\Kavel Stavrel\\4.00");
    MakeRegistryLink(HKEY_LOCAL_MACHINE, uninstallKey + "\\Evil",
                     "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    SetEnvironmentVariableA("STAVREL_MARKS", marks.Path().c_str());
    const TUninstallRun run = RunUninstaller(kProduct, 90000);
    SetEnvironmentVariableA("STAVREL_MARKS", nullptr);
    EXPECT_EQ(run.Question, std::string("Remove ") + kProduct + " and all of its components?");
    // Asked once about the product's shared file, never about another.
    EXPECT_EQ(run.Questions.size(), 1u) << Joined(run.Questions);
    if (!run.Questions.empty()) {
      EXPECT_NE(run.Questions[0].find("KCharts.tlb"), std::string::npos) << run.Questions[0];
    }
    EXPECT_EQ(run.ExitCode, 3u) << "what stayed is reported: " << run.Outcome;
    // One report names what stayed, each kind.
    const std::string stayed = WholeReport(run.Outcome);
    for (const std::string& named : std::vector<std::string>{
         "iexplore.exe (a file of Windows itself; kept)", "kernel32.dll (a file of Windows itself; kept)",
          "oledb32.dll (a file of Windows itself; kept)", "LOCWIN32.DLL (no record that this installation wrote it",
          "Notepad " + kPid + ".lnk (no record that", "notepad.exe (no record that",
          "c_037.nls (no record that", "stavrelother" + kPid + ".dll (no record that",
          "evil2.dll (no record that", "evil2.exe (no record that", "other.exe (no record that",
          "other.dll (no record that", "msado15.dll (no record that", "Bank " + kPid + ".url (no record that",
          "the value ProductName of HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion (Windows' own "
          "configuration; kept)",
          "the value LogPixels of HKEY_CURRENT_CONFIG\\Software\\Fonts (Windows' own configuration; kept)",
          "the value (default) of HKEY_CLASSES_ROOT\\exefile\\shell\\open\\command (Windows' own configuration",
          "the value Stavrel Other " + kPid + " of HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run "
          "(no record that this installation made it; kept)",
          "the value Blob of HKEY_LOCAL_MACHINE\\Software\\Stavrel Other Vendor " + kPid + " (no record that",
          "the values of HKEY_CURRENT_USER\\Software\\Stavrel Evil " + kPid + " (reached through the registry link"})
      EXPECT_NE(stayed.find(named), std::string::npos) << named << "\n" << stayed;
    if (linked) {
      EXPECT_NE(stayed.find("reached through a link"), std::string::npos) << stayed;
    }

    // Nothing of the machine's own changed: the attacker's items are all there, nothing
    // was run or loaded, what the links led to is as it was.
    const std::vector<std::string> changed = CompareSnapshots(watchedBefore, watched.Take());
    EXPECT_TRUE(changed.empty()) << Joined(changed);
    for (const std::string& probe : hostile.Probes())
      EXPECT_FALSE(testsupport::FileExists(marks.Path() + "\\" + probe + ".mark")) << probe << " was run or loaded";
    EXPECT_TRUE(replaced.DecoyThere()) << "what the link in the product's place led to stays";
    EXPECT_FALSE(setup::OpenSubkeyItself(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kavel Software\\Kavel Stavrel\\4.00", KEY_READ))
        << "the link in the product's place went";
  }
  EXPECT_TRUE(testsupport::FileExists(testsupport::SystemFolder() + "\\kernel32.dll"));
  EXPECT_TRUE(testsupport::FileExists(hostile.SystemCopy()));

  // The product itself went, its entry too: once the attacker's link is gone, the
  // machine is as before but for the product's folders that held the link, which had to
  // stay.
  hostile.RemoveLink();
  std::vector<std::string> left = CompareSnapshots(tracesBefore, traces.Take());
  const std::vector<std::string> notCleaned = RemoveAdded(left);
  left.erase(std::remove_if(left.begin(), left.end(),
                            [&](const std::string& line) {
                              std::string folder = line.substr(line.find(' ') + 1);
                              if (!folder.empty() && folder.back() == '\\') folder.pop_back();
                              return linked && line.rfind("added ", 0) == 0 &&
                                     (destination + "\\").rfind(folder + "\\", 0) == 0;
                            }),
             left.end());
  EXPECT_TRUE(left.empty()) << Joined(left);
  EXPECT_TRUE(notCleaned.empty()) << Joined(notCleaned);
}

}  // namespace
