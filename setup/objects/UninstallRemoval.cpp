#include "UninstallRemoval.h"

#include <windows.h>
// after windows.h
#include <oleauto.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <set>

namespace setup {

namespace {

constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char kHelpKey[] = "SOFTWARE\\Microsoft\\Windows\\Help";

std::string Upper(std::string Text) {
  if (!Text.empty()) CharUpperBuffA(Text.data(), static_cast<DWORD>(Text.size()));
  return Text;
}

// An open registry key, closed when it goes.
class TKey {
 public:
  TKey() = default;
  TKey(HKEY Root, const std::string& Path, REGSAM Access) {
    if (RegOpenKeyExA(Root, Path.c_str(), 0, Access, &FKey) != ERROR_SUCCESS) FKey = nullptr;
  }
  ~TKey() {
    if (FKey != nullptr) RegCloseKey(FKey);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  explicit operator bool() const { return FKey != nullptr; }
  HKEY Get() const { return FKey; }

  // The names of the key's values, or of its subkeys.
  std::vector<std::string> ValueNames() const {
    std::vector<std::string> names;
    for (DWORD i = 0; FKey != nullptr; ++i) {
      char name[16384];
      DWORD size = sizeof name;
      if (RegEnumValueA(FKey, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, size);
    }
    return names;
  }
  std::vector<std::string> SubkeyNames() const {
    std::vector<std::string> names;
    for (DWORD i = 0; FKey != nullptr; ++i) {
      char name[256];
      DWORD size = sizeof name;
      if (RegEnumKeyExA(FKey, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, size);
    }
    return names;
  }
  // A text value; false when it is missing, not text or longer than 64 KiB.
  bool ReadText(const std::string& Name, std::string& Text) const {
    DWORD type = 0, size = 0;
    if (FKey == nullptr || RegQueryValueExA(FKey, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size > 65536)
      return false;
    std::string data(size, '\0');
    if (RegQueryValueExA(FKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS)
      return false;
    data.resize(std::min<size_t>(size, data.size()));
    Text = data.substr(0, data.find('\0'));
    return true;
  }
  // A number, stored as a DWORD or as decimal text.
  bool ReadNumber(const std::string& Name, long long& Number) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (FKey != nullptr &&
        RegQueryValueExA(FKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value) {
      Number = static_cast<int32_t>(value);
      return true;
    }
    std::string text;
    if (!ReadText(Name, text) || text.empty() || text.size() > 6) return false;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    Number = std::stoll(text);
    return true;
  }

 private:
  HKEY FKey = nullptr;
};

std::string ErrorText(DWORD Code) {
  char* buffer = nullptr;
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, Code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length) : "error " + std::to_string(Code);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

// Entries of a log subkey in their logged order ("File1", "File2", ...).
std::vector<std::string> LogEntries(HKEY Root, const std::string& Key) {
  TKey key(Root, Key, KEY_READ);
  std::map<long long, std::string> ordered;
  for (const std::string& name : key.ValueNames()) {
    if (!IsLogEntryName(name)) continue;
    std::string text;
    if (key.ReadText(name, text)) ordered.emplace(std::stoll(name.substr(4)), text);
  }
  std::vector<std::string> entries;
  for (auto& [number, text] : ordered) entries.push_back(text);
  return entries;
}

HKEY RootHandle(TLogRoot Root) {
  switch (Root) {
    case TLogRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case TLogRoot::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case TLogRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case TLogRoot::DynData:
      return HKEY_DYN_DATA;
    case TLogRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    default:
      return HKEY_USERS;
  }
}

// The long form of a path (a short "PROGRA~1" part could hide a protected folder); of a
// path that does not exist, the long form of the part that exists, then the rest as given.
std::string LongPath(const std::string& Path) {
  char buffer[MAX_PATH + 1];
  DWORD length = GetLongPathNameA(Path.c_str(), buffer, sizeof buffer);
  if (length > 0 && length < sizeof buffer) return std::string(buffer, length);
  const size_t slash = Path.find_last_of('\\');
  if (slash == std::string::npos || slash <= 2) return Path;
  std::string folder = LongPath(Path.substr(0, slash));
  if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
  return folder + Path.substr(slash + 1);
}

// The product's uninstall command names the running program: that program in its long
// form when the rules let it go; empty otherwise (a copy run from elsewhere stays).
std::string NamedOwnProgram(const TKey& Product, const std::string& ProductName, const std::string& OwnProgram,
                            const TFolderRules& Rules) {
  std::string command, program, checked;
  if (OwnProgram.empty() || !Product.ReadText("UninstallString", command) ||
      !ProgramOfUninstallCommand(command, ProductName, program))
    return std::string();
  program = LongPath(program);
  const std::string own = LongPath(OwnProgram);
  if (!NormalizePath(program, checked) || !IsSameOrParent(program, own) || !IsSameOrParent(own, program) ||
      !Rules.MayDeleteFile(program))
    return std::string();
  return program;
}

// One removal of logged entries, with what it learns on the way: the shared files
// already counted down, the folders that may have been emptied, what stays.
class TRemoval {
 public:
  TRemoval(const TFolderRules& Rules, const TSharedFileQuestion& RemoveShared, const std::string& NamedOwnProgram)
      : FRules(Rules), FRemoveShared(RemoveShared), FNamedOwnProgram(NamedOwnProgram) {}

  void RemoveEntries(const TUninstallLog& Log) {
    HRESULT com = CoInitialize(nullptr);
    UnregisterActiveX(Log.ActiveX);
    for (const std::string& entry : Log.Files) DeleteLoggedFile(entry);
    RemoveRegistryEntries(Log.RegistryKeys);
    if (SUCCEEDED(com)) CoUninitialize();
  }

  // The product's uninstall entry with everything below it, then the running program
  // when the entry names it (while the entry stays, it may be started again).
  void RemoveProductEntry(const std::string& Key) {
    if (!DeleteKeyTree(HKEY_LOCAL_MACHINE, Key, 0))
      NotRemoved("the uninstall entry HKEY_LOCAL_MACHINE\\" + Key);
    else if (!FNamedOwnProgram.empty())
      RemoveOwnProgram(FNamedOwnProgram);
  }

  TUninstallReport& Report() { return FReport; }

  // The folders of deleted files, and their parents, while they are empty and allowed.
  void RemoveEmptiedFolders() {
    std::vector<std::string> folders(FFolders.begin(), FFolders.end());
    // The deepest first, so a parent is empty when its turn comes.
    std::sort(folders.begin(), folders.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (std::string folder : folders) {
      while (!folder.empty() && FRules.MayRemoveFolder(folder) && RemoveDirectoryA(folder.c_str()))
        folder = ParentFolder(folder);
    }
  }

 private:
  void NotRemoved(const std::string& Line) { FReport.NotRemoved.push_back(Line); }

  static bool SamePath(const std::string& A, const std::string& B) {
    return IsSameOrParent(A, B) && IsSameOrParent(B, A);
  }

  // Moves the running program to a fresh name in the temporary folder (a rename on its
  // volume, which Windows allows while it runs) and has that name deleted at the next
  // restart; its folder then goes with the other emptied folders. On another volume the
  // program and its folder are left for the next restart.
  void RemoveOwnProgram(const std::string& Program) {
    char folder[MAX_PATH + 1], parked[MAX_PATH + 1];
    DWORD error = ERROR_PATH_NOT_FOUND;
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length > 0 && length < sizeof folder && GetTempFileNameA(folder, "uni", 0, parked) != 0) {
      if (MoveFileExA(Program.c_str(), parked, MOVEFILE_REPLACE_EXISTING)) {
        MoveFileExA(parked, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        FFolders.insert(ParentFolder(Program));
        return;
      }
      error = GetLastError();
      DeleteFileA(parked);
    }
    if (MoveFileExA(Program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
      const std::string own = ParentFolder(Program);
      if (FRules.MayRemoveFolder(own)) MoveFileExA(own.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
      NotRemoved(Program + " (removed at the next restart)");
    } else {
      NotRemoved(Program + " (" + ErrorText(error) + ")");
    }
  }

  enum class TShare { NotShared, StillUsed, Released };

  // One use fewer of a file the installation counted as shared (its SharedDLLs value,
  // named by the long or the short path); once for each file, however often it is logged.
  TShare ReleaseShare(const std::string& Path) {
    const std::string id = Upper(Path);
    if (auto done = FShares.find(id); done != FShares.end()) return done->second;
    TShare share = TShare::NotShared;
    TKey counts(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    char shortPath[MAX_PATH + 1];
    const DWORD length = GetShortPathNameA(Path.c_str(), shortPath, sizeof shortPath);
    std::vector<std::string> names{Path};
    if (length > 0 && length < sizeof shortPath) names.emplace_back(shortPath, length);
    for (const std::string& name : names) {
      long long count = 0;
      if (!counts || !counts.ReadNumber(name, count)) continue;
      if (count > 1) {
        const DWORD left = static_cast<DWORD>(count - 1);
        RegSetValueExA(counts.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&left), sizeof left);
        share = TShare::StillUsed;
      } else {
        RegDeleteValueA(counts.Get(), name.c_str());
        share = TShare::Released;
      }
      break;
    }
    FShares[id] = share;
    return share;
  }

  // Whether a logged file goes, in its long form: the rules allow it, or it is a shared
  // file that no program uses any more and the user lets it go. A file still shared
  // stays without a word: it is the other programs'.
  bool MayGo(const std::string& Logged, std::string& Path) {
    std::string checked;
    if (!NormalizePath(Logged, checked)) return Allowed(Logged, Path);
    const std::string path = LongPath(checked);
    const TShare share = ReleaseShare(path);
    if (share == TShare::StillUsed) return false;
    if (share == TShare::Released && NormalizePath(path, checked) && !FRules.MayDeleteFile(path) &&
        GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      if (!FRemoveShared) {
        NotRemoved(path + " (a shared file that no program uses any more; kept)");
        return false;
      }
      if (!FRemoveShared(path)) return false;
      Path = path;
      return FNamedOwnProgram.empty() || !SamePath(Path, FNamedOwnProgram);
    }
    return Allowed(Logged, Path);
  }

  // The help registration of a help file that went, when it names the file's folder.
  static void RemoveHelpRegistration(const std::string& Path) {
    const std::string name = Upper(Path.substr(Path.find_last_of('\\') + 1));
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (name.substr(dot) != ".HLP" && name.substr(dot) != ".CNT")) return;
    TKey help(HKEY_LOCAL_MACHINE, kHelpKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    std::string folder;
    if (!help.ReadText(name, folder)) return;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (!folder.empty() && SamePath(LongPath(folder), ParentFolder(Path))) RegDeleteValueA(help.Get(), name.c_str());
  }

  // A logged path the rules let us touch, in its long form; reported otherwise.
  bool Allowed(const std::string& Logged, std::string& Path) {
    std::string checked;
    if (!NormalizePath(Logged, checked)) {
      NotRemoved(Logged + " (not a plain full path of a file)");
      return false;
    }
    Path = LongPath(checked);
    if (!NormalizePath(Path, checked) || !FRules.MayDeleteFile(Path)) {
      NotRemoved(Logged + " (a root, Windows or shared folder, or a file in one)");
      return false;
    }
    // The running program goes last, on its own way.
    return FNamedOwnProgram.empty() || !SamePath(Path, FNamedOwnProgram);
  }

  void UnregisterActiveX(const std::vector<std::string>& Entries) {
    for (const std::string& entry : Entries) {
      std::string logged;
      char kind = 0;
      if (!ParseActiveXEntry(entry, logged, kind)) {
        NotRemoved(entry + " (not a registration entry)");
        continue;
      }
      std::string path;
      if (!MayGo(logged, path)) continue;
      if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;  // gone already
      bool done = kind == '0' ? UnregisterLibrary(path) : kind == '1' ? UnregisterServer(path) : UnregisterTypes(path);
      if (!done) NotRemoved("the registration of " + path);
      RemoveFile(path);
    }
  }

  static bool UnregisterLibrary(const std::string& Path) {
    HMODULE library = LoadLibraryExA(Path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (library == nullptr) return false;
    using TUnregister = HRESULT(STDAPICALLTYPE*)();
    auto unregister =
        reinterpret_cast<TUnregister>(reinterpret_cast<void*>(GetProcAddress(library, "DllUnregisterServer")));
    bool done = unregister != nullptr && SUCCEEDED(unregister());
    FreeLibrary(library);
    return done;
  }

  static bool UnregisterServer(const std::string& Path) {
    std::string command = "\"" + Path + "\" /UnregServer";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(Path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return false;
    bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    DWORD code = 1;
    if (ended) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && code == 0;
  }

  static bool UnregisterTypes(const std::string& Path) {
    wchar_t wide[MAX_PATH + 1];
    if (MultiByteToWideChar(CP_ACP, 0, Path.c_str(), -1, wide, MAX_PATH + 1) == 0) return false;
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLibEx(wide, REGKIND_NONE, &library))) return false;
    TLIBATTR* attributes = nullptr;
    bool done = false;
    if (SUCCEEDED(library->GetLibAttr(&attributes))) {
      done = SUCCEEDED(UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                         attributes->lcid, attributes->syskind));
      library->ReleaseTLibAttr(attributes);
    }
    library->Release();
    return done;
  }

  void DeleteLoggedFile(const std::string& Logged) {
    std::string path;
    if (MayGo(Logged, path)) RemoveFile(path);
  }

  // Deletes a file that may go (a long, checked path), noting its folder.
  void RemoveFile(const std::string& Path) {
    FFolders.insert(ParentFolder(Path));
    DWORD attributes = GetFileAttributesA(Path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;  // gone already
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      NotRemoved(Path + " (a folder, not a file)");
      return;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(Path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!DeleteFileA(Path.c_str()))
      NotRemoved(Path + " (" + ErrorText(GetLastError()) + ")");
    else
      RemoveHelpRegistration(Path);
  }

  void RemoveRegistryEntries(const std::vector<TLoggedRegistryKey>& Entries) {
    for (const TLoggedRegistryKey& logged : Entries) {
      std::string key;
      TLogRoot root{};
      if (!LogRootFromNumber(logged.Root, root) || !NormalizeKey(logged.Key, key)) {
        NotRemoved("the registry key of " + logged.Entry + " (" + logged.Key + ": not a plain key of a known root)");
        continue;
      }
      HKEY rootHandle = RootHandle(root);
      {
        TKey values(rootHandle, key, KEY_SET_VALUE | KEY_QUERY_VALUE);
        for (const TLoggedValue& value : logged.Values) {
          if (!values) break;
          LONG result = RegDeleteValueA(values.Get(), value.Name.c_str());
          if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            NotRemoved("the value " + value.Name + " of " + key + " (" + ErrorText(static_cast<DWORD>(result)) + ")");
        }
      }
      // Then the key and its parents, while they are empty and may go.
      for (std::string current = key; !current.empty() && MayDeleteKey(root, current); current = ParentKey(current)) {
        if (!IsEmptyKey(rootHandle, current)) break;
        if (RegDeleteKeyA(rootHandle, current.c_str()) != ERROR_SUCCESS) break;
      }
    }
  }

  static bool IsEmptyKey(HKEY Root, const std::string& Key) {
    TKey key(Root, Key, KEY_READ);
    DWORD subkeys = 1, values = 1;
    return key &&
           RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           subkeys == 0 && values == 0;
  }

  // The product's own entry with everything below it (a few levels deep by its making).
  static bool DeleteKeyTree(HKEY Root, const std::string& Key, int Depth) {
    if (Depth > 8) return false;
    {
      TKey key(Root, Key, KEY_READ);
      if (!key) return true;
      for (const std::string& child : key.SubkeyNames())
        if (!DeleteKeyTree(Root, Key + "\\" + child, Depth + 1)) return false;
    }
    return RegDeleteKeyA(Root, Key.c_str()) == ERROR_SUCCESS;
  }

  const TFolderRules& FRules;
  const TSharedFileQuestion& FRemoveShared;
  std::map<std::string, TShare> FShares;  // by upper-case long path
  std::string FNamedOwnProgram;           // the running program when the uninstall command names it
  TUninstallReport FReport;
  std::set<std::string> FFolders;
};

std::string Folder(int CSIDL) {
  char buffer[MAX_PATH + 1] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL, nullptr, SHGFP_TYPE_CURRENT, buffer))) return std::string();
  return LongPath(buffer);
}

}  // namespace

TFolderRules MachineFolderRules() {
  TFolderRules rules;
  char buffer[MAX_PATH + 1];
  UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) rules.Sealed.push_back(LongPath(std::string(buffer, length)));
  length = GetSystemDirectoryA(buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) rules.Sealed.push_back(LongPath(std::string(buffer, length)));
  for (int csidl : {CSIDL_PROGRAM_FILES,
                    CSIDL_PROGRAM_FILES_COMMON,
                    CSIDL_PROGRAM_FILESX86,
                    CSIDL_PROGRAM_FILES_COMMONX86,
                    CSIDL_PROFILE,
                    CSIDL_APPDATA,
                    CSIDL_LOCAL_APPDATA,
                    CSIDL_COMMON_APPDATA,
                    CSIDL_DESKTOPDIRECTORY,
                    CSIDL_COMMON_DESKTOPDIRECTORY,
                    CSIDL_STARTMENU,
                    CSIDL_COMMON_STARTMENU,
                    CSIDL_PROGRAMS,
                    CSIDL_COMMON_PROGRAMS,
                    CSIDL_STARTUP,
                    CSIDL_COMMON_STARTUP,
                    CSIDL_PERSONAL,
                    CSIDL_COMMON_DOCUMENTS,
                    CSIDL_FAVORITES,
                    CSIDL_SENDTO,
                    CSIDL_RECENT,
                    CSIDL_TEMPLATES,
                    CSIDL_FONTS,
                    CSIDL_COOKIES,
                    CSIDL_INTERNET_CACHE,
                    CSIDL_HISTORY,
                    CSIDL_MYPICTURES,
                    CSIDL_MYMUSIC,
                    CSIDL_MYVIDEO,
                    CSIDL_ADMINTOOLS,
                    CSIDL_COMMON_ADMINTOOLS}) {
    std::string folder = Folder(csidl);
    if (!folder.empty()) rules.Protected.push_back(folder);
  }
  length = GetTempPathA(MAX_PATH, buffer);
  if (length > 0 && length < MAX_PATH) {
    std::string temp = LongPath(std::string(buffer, length));
    while (!temp.empty() && temp.back() == '\\') temp.pop_back();
    rules.Protected.push_back(temp);
  }
  return rules;
}

TUninstallLog ReadUninstallLog(const std::string& ProductName) {
  TUninstallLog log;
  if (!IsValidProductName(ProductName)) return log;
  const std::string productKey = std::string(kUninstallRoot) + "\\" + ProductName;
  TKey product(HKEY_LOCAL_MACHINE, productKey, KEY_READ);
  log.Found = static_cast<bool>(product);
  if (!product) return log;
  const std::vector<std::string> lists = product.SubkeyNames();
  for (const std::string& list : lists)
    if (IsFileLogName(list))
      for (std::string& entry : LogEntries(HKEY_LOCAL_MACHINE, productKey + "\\" + list))
        log.Files.push_back(std::move(entry));
  log.ActiveX = LogEntries(HKEY_LOCAL_MACHINE, productKey + "\\ActiveX");
  const std::string registryLog = productKey + "\\RegistryKeys";
  for (const std::string& name : TKey(HKEY_LOCAL_MACHINE, registryLog, KEY_READ).SubkeyNames()) {
    if (!IsRegistryLogName(name)) continue;
    TKey entry(HKEY_LOCAL_MACHINE, registryLog + "\\" + name, KEY_READ);
    TLoggedRegistryKey logged;
    logged.Entry = name;
    entry.ReadText("Key", logged.Key);
    if (!entry.ReadNumber("Root", logged.Root)) logged.Root = -1;
    TKey values(HKEY_LOCAL_MACHINE, registryLog + "\\" + name + "\\Entries", KEY_READ);
    for (const std::string& value : values.ValueNames()) {
      TLoggedValue loggedValue{value, std::string()};
      values.ReadText(value, loggedValue.Data);
      logged.Values.push_back(std::move(loggedValue));
    }
    log.RegistryKeys.push_back(std::move(logged));
  }
  return log;
}

TUninstallReport RemoveLoggedEntries(const TUninstallLog& Log, const TFolderRules& Rules,
                                     const TRemovalOptions& Options) {
  TRemoval removal(Rules, Options.RemoveShared, std::string());
  removal.RemoveEntries(Log);
  removal.RemoveEmptiedFolders();
  removal.Report().Found = Log.Found;
  return removal.Report();
}

TUninstallReport UninstallProduct(const std::string& ProductName, const TFolderRules& Rules,
                                  const std::string& OwnProgram, const TSharedFileQuestion& RemoveShared) {
  TUninstallReport report;
  if (!IsValidProductName(ProductName)) {
    report.NotRemoved.push_back("\"" + ProductName + "\" (not a product name)");
    return report;
  }
  const TUninstallLog log = ReadUninstallLog(ProductName);
  if (!log.Found) return report;
  const std::string key = std::string(kUninstallRoot) + "\\" + ProductName;
  std::string namedOwnProgram;
  {
    TKey product(HKEY_LOCAL_MACHINE, key, KEY_READ);
    namedOwnProgram = NamedOwnProgram(product, ProductName, OwnProgram, Rules);
  }
  TRemoval removal(Rules, RemoveShared, namedOwnProgram);
  removal.RemoveEntries(log);
  removal.RemoveProductEntry(key);
  removal.RemoveEmptiedFolders();
  removal.Report().Found = true;
  return removal.Report();
}

}  // namespace setup
