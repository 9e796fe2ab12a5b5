#include "InstallChecks.h"

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>

#include "Files.h"
#include "ProgramRun.h"
#include "RegistryView.h"

namespace road {

namespace {

using Microsoft::WRL::ComPtr;

constexpr char kUninstallRoot[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kLocalesKey[] = "\\Software\\Borland\\Locales";
constexpr char kToolsKey[] = "\\SOFTWARE\\Kavel\\Stavrel\\Tools";

// The product's files by folder below the destination.
struct TFolderFiles {
  const char* Folder;
  std::vector<const char*> Files;
};
const std::vector<TFolderFiles>& ProductFiles() {
  static const std::vector<TFolderFiles> files{
      {"", {"VX4.exe",    "VX4.tlb",    "VX4.fts",     "VX4.gid",   "VX4.hlp",    "vx4.cnt",      "Readme.wri",
            "VX4TSK.exe", "Vx4lib.nlm", "Vx4rc.nlm",   "Vx4cs.nlm", "vxrcon.exe", "nss.ico",      "dsk.Ico",
            "exe.ico",    "Lan.Ico",    "ncf.ico",     "nlm.ico",   "cfg.ico",    "Stations.ini", "clibaux.nlm",
            "html.css",   "nwpp.cnt",   "PortImp.dll", "vx4.pdf",   "zipdll.dll"}},
      {"Tools",
       {"Tuvek.nlm", "Tuvek.ico", "Tuvek.kvx", "Pirn.nlm", "Pirn.ico", "Pirn.kvx", "Down.oks", "Lodo.dat", "Lodo.ico",
        "Lodo.nlm", "Lodo.kvx"}},
      {"TASKS", {"Down servers.tsk"}},
      {"WORK", {"dummy.tsk"}},
      {"Compare", {"Default NetWare 5.00.cts"}},
      {"Params", {"Unused.spa", "Unowned files.spa"}},
      {"Uninstall", {"uninstall.exe"}},
  };
  return files;
}

// The tools the console finds through their keys; the first one is this project's page.
struct TToolKey {
  const char* Name;
  const char* ClassId;  // empty: any class identifier without braces
};
constexpr TToolKey kTools[] = {
    {"Tuvek", "5027C520-4434-11D2-8352-00A024D5AE34"},
    {"Pirn", ""},
    {"Lodo", ""},
};

// The programs whose resource language the locale values choose.
constexpr const char* kLocalePrograms[] = {"VXRCON.EXE", "VX4TSK.EXE", "VX4.EXE"};

// Shortcuts in the Start-menu folder and their targets below the destination.
struct TExpectedLink {
  const char* LinkName;
  const char* Target;
};
constexpr TExpectedLink kMenuLinks[] = {
    {"Kavel Stavrel.LNK", "VX4.exe"},
    {"Help.LNK", "VX4.hlp"},
    {"Uninstall.LNK", "Uninstall\\uninstall.exe"},
    {"Readme.lnk", "Readme.wri"},
    {"Remote Console.LNK", "vxrcon.exe"},
    {"User's Guide.LNK", "vx4.pdf"},
};
constexpr TExpectedLink kDesktopLink = {"Kavel Stavrel 4.LNK", "VX4.exe"};

bool SamePath(const std::string& A, const std::string& B) {
  return _stricmp(A.c_str(), B.c_str()) == 0;
}

bool EndsWithNoCase(const std::string& Text, const std::string& End) {
  return Text.size() >= End.size() && _stricmp(Text.c_str() + Text.size() - End.size(), End.c_str()) == 0;
}

HKEY RootOf(int LayerRoot) {
  switch (LayerRoot) {
    case 0:
      return HKEY_CLASSES_ROOT;
    case 2:
      return HKEY_CURRENT_USER;
    case 4:
      return HKEY_LOCAL_MACHINE;
    case 5:
      return HKEY_USERS;
    default:
      return nullptr;
  }
}

// The "File<n>" values of a log key in their order.
std::vector<std::string> NumberedFiles(const std::string& Key) {
  std::vector<std::string> files;
  const std::vector<TRegValue> values = KeyValues(HKEY_LOCAL_MACHINE, Key);
  for (int n = 1;; ++n) {
    auto value = std::find_if(values.begin(), values.end(),
                              [&](const TRegValue& v) { return SamePath(v.Name, "File" + std::to_string(n)); });
    if (value == values.end()) break;
    files.push_back(value->Data);
  }
  return files;
}

// The quoted program at the head of a command line; empty when it is not quoted.
std::string QuotedProgram(const std::string& Command) {
  if (Command.size() < 2 || Command[0] != '"') return "";
  size_t end = Command.find('"', 1);
  return end == std::string::npos ? "" : Command.substr(1, end - 1);
}

class TComApartment {
 public:
  TComApartment() : FInitialised(SUCCEEDED(CoInitialize(nullptr))) {}
  ~TComApartment() {
    if (FInitialised) CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;

 private:
  bool FInitialised;
};

}  // namespace

std::string UninstallKeyOf(const std::string& ProductName) {
  return kUninstallRoot + ProductName;
}

TUninstallLog ReadUninstallLog(const std::string& ProductName) {
  const std::string key = UninstallKeyOf(ProductName);
  TUninstallLog log;
  for (int n = 0;; ++n) {
    const std::string filesKey = key + "\\Files" + (n == 0 ? std::string() : std::to_string(n));
    if (!KeyExists(HKEY_LOCAL_MACHINE, filesKey)) break;
    for (std::string& file : NumberedFiles(filesKey)) log.Files.push_back(std::move(file));
  }
  for (const std::string& entry : NumberedFiles(key + "\\ActiveX"))
    log.ActiveX.push_back(entry.substr(0, entry.rfind(';')));
  const std::string keysKey = key + "\\RegistryKeys";
  for (int n = 1;; ++n) {
    const std::string entryKey = keysKey + "\\RegistryKey" + std::to_string(n);
    if (!KeyExists(HKEY_LOCAL_MACHINE, entryKey)) break;
    TLoggedKey logged;
    logged.Key = ReadString(HKEY_LOCAL_MACHINE, entryKey, "Key").value_or("");
    for (const TRegValue& value : KeyValues(HKEY_LOCAL_MACHINE, entryKey))
      if (SamePath(value.Name, "Root") && value.Type == REG_DWORD && value.Data.size() == 4)
        logged.Root = *reinterpret_cast<const int32_t*>(value.Data.data());
    for (const TRegValue& value : KeyValues(HKEY_LOCAL_MACHINE, entryKey + "\\Entries"))
      logged.Entries.push_back(value.Name);
    log.Keys.push_back(std::move(logged));
  }
  return log;
}

TShortcut ReadShellLink(const std::string& LinkFile) {
  TComApartment apartment;
  TShortcut shortcut;
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file)))
    return shortcut;
  wchar_t wide[MAX_PATH] = L"";
  MultiByteToWideChar(CP_ACP, 0, LinkFile.c_str(), -1, wide, MAX_PATH);
  if (FAILED(file->Load(wide, STGM_READ))) return shortcut;
  char text[MAX_PATH] = "";
  if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) shortcut.Target = text;
  text[0] = '\0';
  if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) shortcut.Arguments = text;
  return shortcut;
}

std::string ReadUrlFile(const std::string& UrlFile) {
  char url[2048] = "";
  GetPrivateProfileStringA("InternetShortcut", "URL", "", url, sizeof url, UrlFile.c_str());
  return url;
}

TInstallCheck::TInstallCheck(TRoadReport& Report, TInstallation Installation)
    : FReport(Report), FInstallation(std::move(Installation)), FLog(ReadUninstallLog(FInstallation.ProductName)) {}

std::string TInstallCheck::Installed(const std::string& Relative) const {
  return Relative.empty() ? FInstallation.Destination : FInstallation.Destination + "\\" + Relative;
}

void TInstallCheck::CheckAll() {
  CheckAddRemoveEntry();
  CheckUninstallLog();
  CheckProductFiles();
  CheckToolsKeys();
  CheckLocaleValues();
  CheckChartViewerRegistration();
  CheckShortcuts();
}

void TInstallCheck::CheckAddRemoveEntry() {
  FReport.Step("the Add/Remove Programs entry");
  const std::string key = UninstallKeyOf(FInstallation.ProductName);
  if (!FReport.Check(KeyExists(HKEY_LOCAL_MACHINE, key), "HKLM" + key)) return;
  FReport.CheckEqual("DisplayName", FInstallation.ProductName,
                     ReadString(HKEY_LOCAL_MACHINE, key, "DisplayName").value_or("(none)"));
  const std::string command = ReadString(HKEY_LOCAL_MACHINE, key, "UninstallString").value_or("(none)");
  FReport.CheckEqual("UninstallString", Quoted(Installed("Uninstall\\uninstall.exe")) + " " + FInstallation.ProductName,
                     command);
  FReport.Check(testsupport::FileExists(QuotedProgram(command)), "the uninstall program is there");
  const std::pair<const char*, std::string> expected[] = {
      {"Contact", "Kavel Software"},   {"DisplayIcon", Installed("VX4.exe")}, {"DisplayVersion", "4.00"},
      {"Publisher", "Kavel Software"}, {"ProductID", "Kavel Stavrel"},
  };
  for (const auto& [name, value] : expected)
    FReport.CheckEqual(name, value, ReadString(HKEY_LOCAL_MACHINE, key, name).value_or("(none)"));
  for (const char* name : {"HelpLink", "URLInfoAbout", "URLUpdateInfo"}) {
    const std::string address = ReadString(HKEY_LOCAL_MACHINE, key, name).value_or("");
    FReport.Check(address.rfind("http", 0) == 0, std::string(name) + " = " + address);
  }
}

void TInstallCheck::CheckUninstallLog() {
  FReport.Step("the uninstall log");
  std::vector<std::string> missing;
  for (const std::string& file : FLog.Files)
    if (!testsupport::FileExists(file)) missing.push_back(file);
  FReport.Check(!FLog.Files.empty() && missing.empty(), std::to_string(FLog.Files.size()) + " logged files are there",
                missing.empty() ? "none logged" : "missing: " + missing.front());
  for (const std::string& file : FLog.ActiveX) FReport.Check(testsupport::FileExists(file), "registered file " + file);
  int keysThere = 0;
  for (const TLoggedKey& logged : FLog.Keys) {
    HKEY root = RootOf(logged.Root);
    bool there = root != nullptr && KeyExists(root, logged.Key);
    std::vector<std::string> names;
    if (there)
      for (const TRegValue& value : KeyValues(root, logged.Key)) names.push_back(value.Name);
    for (const std::string& entry : logged.Entries)
      there =
          there && std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SamePath(n, entry); });
    if (!there) FReport.Check(false, "logged key " + RootName(root) + logged.Key + " with its values");
    keysThere += there ? 1 : 0;
  }
  FReport.Check(keysThere == static_cast<int>(FLog.Keys.size()),
                std::to_string(keysThere) + " logged registry keys hold their values");
}

void TInstallCheck::CheckProductFiles() {
  FReport.Step("the product's files in " + FInstallation.Destination);
  for (const TFolderFiles& folder : ProductFiles()) {
    std::string missing;
    for (const char* name : folder.Files) {
      const std::string file = Installed(std::string(folder.Folder) + (*folder.Folder ? "\\" : "") + name);
      if (!testsupport::FileExists(file)) missing += (missing.empty() ? "" : ", ") + std::string(name);
    }
    FReport.Check(missing.empty(),
                  std::string(*folder.Folder ? folder.Folder : "the product's folder") + ": " +
                      std::to_string(folder.Files.size()) + " files",
                  "missing " + missing);
  }
  FReport.Check(!testsupport::FolderExists(Installed("WinUpdates")),
                "no WinUpdates folder (the system updates are not for this Windows)");
}

void TInstallCheck::CheckToolsKeys() {
  FReport.Step("the tools keys (HKLM" + std::string(kToolsKey) + ")");
  for (const TToolKey& tool : kTools) {
    const std::string key = std::string(kToolsKey) + "\\" + tool.Name;
    const std::string descr = ReadString(HKEY_LOCAL_MACHINE, key, "Descr").value_or("");
    const std::string classId = ReadString(HKEY_LOCAL_MACHINE, key, "Key").value_or("");
    const std::string path = ReadString(HKEY_LOCAL_MACHINE, key, "Path").value_or("");
    FReport.Check(!descr.empty(), std::string(tool.Name) + " Descr = " + descr);
    if (*tool.ClassId != '\0')
      FReport.CheckEqual(std::string(tool.Name) + " Key", tool.ClassId, classId);
    else
      FReport.Check(classId.size() == 36 && classId.find_first_of("{}") == std::string::npos,
                    std::string(tool.Name) + " Key = " + classId);
    FReport.CheckEqual(std::string(tool.Name) + " Path", Installed("Tools"), path);
  }
}

void TInstallCheck::CheckLocaleValues() {
  FReport.Step("the locale values (HKCU" + std::string(kLocalesKey) + ")");
  for (const char* program : kLocalePrograms) {
    const std::string name = Installed(program);
    const std::optional<std::string> value = ReadString(HKEY_CURRENT_USER, kLocalesKey, name);
    FReport.Check(value.has_value() && value->empty(), name + " = \"\" (English)",
                  value ? "\"" + *value + "\"" : "missing");
  }
}

void TInstallCheck::CheckChartViewerRegistration() {
  FReport.Step("the chart viewer's COM registration");
  const TLoggedKey* classKey = nullptr;
  for (const TLoggedKey& logged : FLog.Keys)
    if (logged.Root == 0 && logged.Key.rfind("\\CLSID\\{", 0) == 0 && logged.Key.find('\\', 7) == std::string::npos)
      classKey = &logged;
  if (!FReport.Check(classKey != nullptr, "a class key is logged")) return;
  const std::string key = classKey->Key;
  const std::string classId = key.substr(7);
  const std::string server = ReadString(HKEY_CLASSES_ROOT, key + "\\LocalServer32", "").value_or("");
  FReport.Check(!ReadString(HKEY_CLASSES_ROOT, key, "").value_or("").empty(), "HKCR" + key);
  FReport.Check(!QuotedProgram(server).empty() && testsupport::FileExists(QuotedProgram(server)),
                "LocalServer32 = " + server + " (quoted, the program is there)");
  const std::string progId = ReadString(HKEY_CLASSES_ROOT, key + "\\ProgID", "").value_or("");
  FReport.CheckEqual("the ProgID " + progId + " names the class", classId,
                     ReadString(HKEY_CLASSES_ROOT, "\\" + progId + "\\Clsid", "").value_or("(none)"));
  const std::string typeLib = ReadString(HKEY_CLASSES_ROOT, key + "\\TypeLib", "").value_or("");
  const std::string win32 = ReadString(HKEY_CLASSES_ROOT, "\\TypeLib\\" + typeLib + "\\1.0\\0\\win32", "").value_or("");
  FReport.Check(!typeLib.empty() && !win32.empty(), "TypeLib " + typeLib + " 1.0\\0\\win32 = " + win32);
}

void TInstallCheck::CheckShortcuts() {
  FReport.Step("the shortcuts in " + FInstallation.StartMenuFolder);
  auto checkLink = [&](const std::string& Folder, const TExpectedLink& Link) {
    const std::string file = Folder + "\\" + Link.LinkName;
    const TShortcut shortcut = ReadShellLink(file);
    FReport.Check(SamePath(shortcut.Target, Installed(Link.Target)),
                  std::string(Link.LinkName) + " -> " + Installed(Link.Target),
                  testsupport::FileExists(file) ? "its target: " + shortcut.Target : "no such file");
  };
  for (const TExpectedLink& link : kMenuLinks) checkLink(FInstallation.StartMenuFolder, link);
  // The web site's shortcut and the chart viewer's are named by the configuration.
  int urlFiles = 0;
  for (const std::string& file : FLog.Files) {
    if (!SamePath(file.substr(0, file.find_last_of('\\')), FInstallation.StartMenuFolder)) continue;
    const std::string name = file.substr(file.find_last_of('\\') + 1);
    if (EndsWithNoCase(name, ".URL")) {
      ++urlFiles;
      const std::string url = ReadUrlFile(file);
      FReport.Check(url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0, name + " -> " + url);
    } else if (std::none_of(std::begin(kMenuLinks), std::end(kMenuLinks),
                            [&](const TExpectedLink& link) { return SamePath(link.LinkName, name); })) {
      const TShortcut shortcut = ReadShellLink(file);
      FReport.Check(testsupport::FileExists(shortcut.Target), name + " -> " + shortcut.Target);
    }
  }
  FReport.Check(urlFiles == 1, "one web shortcut (.URL)", std::to_string(urlFiles) + " found");
  FReport.Step("the desktop shortcut in " + FInstallation.DesktopFolder);
  checkLink(FInstallation.DesktopFolder, kDesktopLink);
}

}  // namespace road
