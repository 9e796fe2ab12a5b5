// The product installed for real through its wizard, its uninstall log then edited as an
// attacker would (files of the user's and every program's data folders, a link in the
// product's folder leading outside, another drive letter to the system folder, the
// system's own libraries with a shared count, registrations of programs and libraries
// elsewhere, registry values of Windows' own configuration and of other programs), and
// the uninstaller started from Add/Remove Programs with Yes to every question: the
// product goes, nothing else on the machine changes.
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
#include "MachineSnapshot.h"
#include "ProgramRun.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"
#include "RoadReport.h"
#include "SetupTraces.h"
#include "UninstallRun.h"
#include "WizardWalker.h"

namespace {

using namespace road;

constexpr char kProduct[] = "Kavel Stavrel";
const std::string kPid = std::to_string(GetCurrentProcessId());
const std::string kSharedDlls = "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string ShellFolder(int Csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, Csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::string SystemFolder() {
  char path[MAX_PATH] = "";
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

// The same path by the drive that maps the whole Unix file system (Wine's Z:).
std::string ThroughDriveZ(const std::string& Path) {
  char prefix[MAX_PATH] = "";
  const DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
  std::string route = "Z:" + std::string(prefix, length < MAX_PATH ? length : 0) + "/drive_c" + Path.substr(2);
  std::replace(route.begin(), route.end(), '/', '\\');
  return route;
}

void SetCount(const std::string& Name, DWORD Count) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls.c_str() + 1, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExA(key, Name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Count), sizeof Count);
  RegCloseKey(key);
}

// What an attacker put on the machine beforehand and what he adds to the log: each
// item is watched and goes again with the object.
class THostileMachine {
 public:
  THostileMachine() {
    AddFile(ShellFolder(CSIDL_FAVORITES) + "\\Stavrel Bank " + kPid + ".url", true);
    AddFile(ShellFolder(CSIDL_APPDATA) + "\\Stavrel Other " + kPid + "\\settings.ini", true);
    AddFile(ShellFolder(CSIDL_APPDATA) + "\\Stavrel Other " + kPid + "\\history.dat", false);
    char publicFolder[MAX_PATH] = "";
    GetEnvironmentVariableA("PUBLIC", publicFolder, MAX_PATH);
    AddFile(std::string(publicFolder) + "\\Stavrel Public " + kPid + ".txt", true);
    AddFile(ShellFolder(CSIDL_COMMON_APPDATA) + "\\Stavrel Data " + kPid + ".txt", true);
    AddFile(ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\Stavrel Vendor " + kPid + "\\shared.txt", true);
    AddFile(ShellFolder(CSIDL_PROGRAM_FILES_COMMON) + "\\Stavrel Vendor " + kPid + "\\vendor.dll", false);
    // A folder outside the product that a link inside it will lead to.
    FOutside = "C:\\Stavrel Outside " + kPid;
    AddFile(FOutside + "\\v.txt", false);
    // An empty folder of the user's that a missing file would get removed.
    const std::string empty = ShellFolder(CSIDL_APPDATA) + "\\Stavrel Empty " + kPid;
    CreateDirectoryA(empty.c_str(), nullptr);
    FFolders.push_back(empty);
    FLogged.push_back(empty + "\\gone.txt");
    // Registrations of a program and a library in the user's Favorites.
    const std::string server = ShellFolder(CSIDL_FAVORITES) + "\\Stavrel Server " + kPid + ".exe";
    const std::string library = ShellFolder(CSIDL_FAVORITES) + "\\Stavrel Library " + kPid + ".dll";
    CopyFileA((ProgramFolder() + "\\file_holder.exe").c_str(), server.c_str(), FALSE);
    CopyFileA((ProgramFolder() + "\\file_com_library.dll").c_str(), library.c_str(), FALSE);
    FFiles.push_back(server);
    FFiles.push_back(library);
    FActiveX = {server + ";1", library + ";0"};
    // The system's own library, counted once and logged by three routes; a copy of it in
    // the system folder, counted and logged too.
    const std::string kernel = SystemFolder() + "\\kernel32.dll";
    // Should the uninstaller get it deleted, the prefix gets it back.
    CopyFileA(kernel.c_str(), FKernelCopy.c_str(), FALSE);
    FSystemCopy = SystemFolder() + "\\stavrelcopy" + kPid + ".dll";
    CopyFileA(kernel.c_str(), FSystemCopy.c_str(), FALSE);
    FFiles.push_back(FSystemCopy);
    FLogged.insert(FLogged.end(), {kernel, ThroughDriveZ(kernel), FSystemCopy, ThroughDriveZ(FSystemCopy)});
    SetCount(kernel, 1);
    SetCount(FSystemCopy, 1);
    // Registry values: in Windows' own configuration with the data they hold, in the Run
    // key and in another program's key with data they do not hold.
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "Stavrel" + kPid,
             "theirs", "theirs");
    AddValue(HKEY_LOCAL_MACHINE, "\\System\\CurrentControlSet\\Control\\Session Manager\\Environment",
             "STAVREL_" + kPid, "theirs", "theirs");
    AddValue(HKEY_CURRENT_USER, "\\Environment", "STAVREL_" + kPid, "theirs", "theirs");
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Stavrel Other " + kPid,
             "C:\\Other\\other.exe", "C:\\Program Files\\Kavel\\other.exe");
    AddValue(HKEY_LOCAL_MACHINE, "\\Software\\Stavrel Other Vendor " + kPid, "Setting", "theirs", "ours");
  }
  ~THostileMachine() {
    const std::string kernel = SystemFolder() + "\\kernel32.dll";
    if (!testsupport::FileExists(kernel)) CopyFileA(FKernelCopy.c_str(), kernel.c_str(), TRUE);
    DeleteFileA(FKernelCopy.c_str());
    for (const std::string& file : FFiles) DeleteFileA(file.c_str());
    for (auto folder = FFolders.rbegin(); folder != FFolders.rend(); ++folder) RemoveDirectoryA(folder->c_str());
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, "\\Software\\Stavrel Other Vendor " + kPid);
  }
  THostileMachine(const THostileMachine&) = delete;
  THostileMachine& operator=(const THostileMachine&) = delete;

  // A folder inside the installed product that leads to one outside it, with a file
  // there; false where links cannot be made.
  bool LinkOutside(const std::string& ProductFolder) {
    FLink = ProductFolder + "\\Linked";
    using TCreateSymbolicLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    const auto create = reinterpret_cast<TCreateSymbolicLink>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    if (create == nullptr || !create(FLink.c_str(), FOutside.c_str(), 1 /* a folder */)) return false;
    FLogged.push_back(FLink + "\\v.txt");
    return true;
  }
  // Takes the link away again (the product's folders it kept then go with it).
  void RemoveLink() {
    if (!FLink.empty()) RemoveDirectoryA(FLink.c_str());
  }

  // Adds the attacker's entries to the product's log.
  void EditLog(const std::string& UninstallKey) const {
    int number = 1000;
    for (const std::string& path : FLogged)
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, UninstallKey + "\\Files", "File" + std::to_string(++number),
                                     path);
    for (const std::string& entry : FActiveX)
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, UninstallKey + "\\ActiveX",
                                     "File" + std::to_string(++number), entry);
    for (const TValue& value : FValues) {
      const std::string entry = UninstallKey + "\\RegistryKeys\\RegistryKey" + std::to_string(++number);
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, entry, "Key", value.Key);
      HKEY key = nullptr;
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, (entry.substr(1)).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr);
      const DWORD root = value.Root == HKEY_CURRENT_USER ? 2 : 4;
      RegSetValueExA(key, "Root", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&root), sizeof root);
      RegCloseKey(key);
      testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, entry + "\\Entries", value.Name, value.Logged);
    }
  }

  // What must not change: every file and folder above, every value.
  TMachineSnapshot Watched() const {
    std::vector<TWatchedKey> keys;
    for (const TValue& value : FValues) keys.push_back({value.Root, value.Key, 0});
    keys.push_back({HKEY_LOCAL_MACHINE, kSharedDlls, 0});
    std::vector<TWatchedFolder> folders{{ShellFolder(CSIDL_FAVORITES), false},
                                        {ShellFolder(CSIDL_APPDATA), false},
                                        {ShellFolder(CSIDL_COMMON_APPDATA), false},
                                        {ShellFolder(CSIDL_PROGRAM_FILES_COMMON), false},
                                        {SystemFolder(), false}};
    for (const std::string& folder : FFolders) folders.push_back({folder, true});
    return TMachineSnapshot(keys, folders);
  }

  const std::string& SystemCopy() const { return FSystemCopy; }

 private:
  struct TValue {
    HKEY Root;
    std::string Key, Name, Logged;
  };

  void AddFile(const std::string& Path, bool Logged) {
    const std::string folder = Path.substr(0, Path.find_last_of('\\'));
    if (CreateDirectoryA(folder.c_str(), nullptr)) FFolders.push_back(folder);
    testsupport::WriteFile(Path, "not the product's");
    FFiles.push_back(Path);
    if (Logged) FLogged.push_back(Path);
  }

  void AddValue(HKEY Root, const std::string& Key, const std::string& Name, const std::string& Data,
                const std::string& Logged) {
    FSaved.push_back(std::make_unique<testsupport::TSavedRegistryValues>(Root, Key, std::vector<std::string>{Name}));
    testsupport::WriteRegistryText(Root, Key, Name, Data);
    FValues.push_back({Root, Key, Name, Logged});
  }

  std::vector<std::string> FFiles, FFolders, FLogged, FActiveX;
  std::vector<TValue> FValues;
  std::vector<std::unique_ptr<testsupport::TSavedRegistryValues>> FSaved;
  testsupport::TSavedRegistryValues FCounts{
      HKEY_LOCAL_MACHINE, kSharedDlls,
      {SystemFolder() + "\\kernel32.dll", SystemFolder() + "\\stavrelcopy" + kPid + ".dll"}};
  std::string FSystemCopy, FOutside, FLink;
  const std::string FKernelCopy = SystemFolder() + "\\..\\stavrel-kernel32-" + kPid + ".dll";
};

std::string Joined(const std::vector<std::string>& Lines) {
  std::string text;
  for (const std::string& line : Lines) text += line + "\n";
  return text;
}

TEST(InstalledLog, AnEditedLogOfARealInstallationRemovesTheProductAndNothingElse) {
  THostileMachine hostile;
  const TMachineSnapshot traces = SetupTraces();
  const TMachineSnapshot watched = hostile.Watched();
  const TSnapshotItems tracesBefore = traces.Take();
  const TSnapshotItems watchedBefore = watched.Take();
  std::string destination;
  bool linked = false;
  {
    TRoadReport report;
    TRestartDeletions restartDeletions;  // the uninstaller's own program, parked for the restart
    const std::string programs = ProgramFolder();
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
    // The product's own shared file, logged once more by another drive letter.
    const std::string chartTypes = SystemFolder() + "\\KCharts.tlb";
    ASSERT_TRUE(testsupport::FileExists(chartTypes));
    testsupport::WriteRegistryText(HKEY_LOCAL_MACHINE, UninstallKeyOf(kProduct) + "\\Files", "File999",
                                   ThroughDriveZ(chartTypes));
    hostile.EditLog(UninstallKeyOf(kProduct));

    const TUninstallRun run = RunUninstaller(kProduct, 90000);
    EXPECT_EQ(run.Question, std::string("Remove ") + kProduct + " and all of its components?");
    // Asked once about the product's shared file, never about the system's.
    EXPECT_EQ(run.Questions.size(), 1u) << Joined(run.Questions);
    if (!run.Questions.empty()) EXPECT_NE(run.Questions[0].find("KCharts.tlb"), std::string::npos) << run.Questions[0];
    EXPECT_EQ(run.ExitCode, 3u) << "what stayed is reported: " << run.Outcome;
    EXPECT_NE(run.Outcome.find("kernel32.dll (a file of Windows itself; kept)"), std::string::npos) << run.Outcome;
    if (linked) EXPECT_NE(run.Outcome.find("reached through a link"), std::string::npos) << run.Outcome;
  }

  // Nothing of the machine's own changed: the attacker's items are all there.
  const std::vector<std::string> changed = CompareSnapshots(watchedBefore, watched.Take());
  EXPECT_TRUE(changed.empty()) << Joined(changed);
  EXPECT_TRUE(testsupport::FileExists(SystemFolder() + "\\kernel32.dll"));
  EXPECT_TRUE(testsupport::FileExists(hostile.SystemCopy()));

  // The product itself went: once the attacker's link is gone, the machine is as before
  // but for the product's folders that held the link, which had to stay.
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
