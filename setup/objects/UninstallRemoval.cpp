#include "UninstallRemoval.h"

#include <windows.h>
// after windows.h
#include <oleauto.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "support/FileHandles.h"

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
    return Names(16384, [this](DWORD Index, char* Name, DWORD* Size) {
      return RegEnumValueA(FKey, Index, Name, Size, nullptr, nullptr, nullptr, nullptr);
    });
  }
  std::vector<std::string> SubkeyNames() const {
    return Names(256, [this](DWORD Index, char* Name, DWORD* Size) {
      return RegEnumKeyExA(FKey, Index, Name, Size, nullptr, nullptr, nullptr, nullptr);
    });
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
  // A value's data as the log writes it: text as it is, a number in decimal; false when
  // it is missing or of another kind.
  bool ReadData(const std::string& Name, std::string& Text) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (FKey == nullptr || RegQueryValueExA(FKey, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return false;
    if (type == REG_DWORD) {
      size = sizeof value;
      if (RegQueryValueExA(FKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS)
        return false;
      Text = std::to_string(static_cast<int32_t>(value));
      return true;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) return ReadText(Name, Text);
    Text = "(data of type " + std::to_string(type) + ")";
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
  template <typename TEnumerate>
  std::vector<std::string> Names(DWORD Longest, const TEnumerate& Enumerate) const {
    std::vector<std::string> names;
    std::string name(Longest, '\0');
    for (DWORD i = 0; FKey != nullptr; ++i) {
      DWORD size = Longest;
      if (Enumerate(i, name.data(), &size) != ERROR_SUCCESS) break;
      names.emplace_back(name.data(), size);
    }
    return names;
  }

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

bool SamePath(const std::string& A, const std::string& B) {
  return IsSameOrParent(A, B) && IsSameOrParent(B, A);
}

// The final path of a folder of the machine, following links; the folder itself when it
// cannot be opened.
std::string FinalFolder(const std::string& Folder) {
  TOpenedEntry opened(Folder, true);
  return opened.Opened() ? opened.FinalPath() : Folder;
}

// The file names the system lists as its known libraries.
std::set<std::string> KnownLibraries() {
  std::set<std::string> names;
  TKey known(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", KEY_READ);
  for (const std::string& value : known.ValueNames()) {
    std::string name;
    if (known.ReadText(value, name)) names.insert(Upper(name));
  }
  return names;
}

// Whether the file's version resource names Windows' maker: a file of the system's own.
bool HasSystemVersion(const std::string& Path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(Path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(Path.c_str(), 0, size, data.data())) return false;
  struct TTranslation {
    WORD Language, CodePage;
  };
  TTranslation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length))
    return false;
  for (UINT i = 0; i < length / sizeof(TTranslation); ++i) {
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\CompanyName", translations[i].Language,
                  translations[i].CodePage);
    char* company = nullptr;
    UINT companyLength = 0;
    if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&company), &companyLength) && company != nullptr &&
        Upper(std::string(company)).find("MICROSOFT") != std::string::npos)
      return true;
  }
  return false;
}

// The target of a shortcut (".lnk", ".pif"); empty when it names none or cannot be read.
std::string ShortcutTarget(const std::string& Path) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return std::string();
  std::string target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t wide[MAX_PATH + 1];
    char buffer[MAX_PATH + 1] = "";
    if (MultiByteToWideChar(CP_ACP, 0, Path.c_str(), -1, wide, MAX_PATH + 1) != 0 &&
        SUCCEEDED(file->Load(wide, STGM_READ)) &&
        SUCCEEDED(link->GetPath(buffer, sizeof buffer, nullptr, SLGP_RAWPATH)))
      target = buffer;
    file->Release();
  }
  link->Release();
  return target;
}

std::string UpperExtension(const std::string& Path) {
  const size_t slash = Path.find_last_of('\\'), dot = Path.find_last_of('.');
  return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? std::string()
                                                                                 : Upper(Path.substr(dot));
}

// The kind an installation logs for a registered file: by its extension.
char ActiveXKindOf(const std::string& Path) {
  const std::string extension = UpperExtension(Path);
  return extension == ".TLB" ? '2' : extension == ".EXE" ? '1' : '0';
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
  if (!NormalizePath(program, checked) || !SamePath(program, LongPath(OwnProgram)) || !Rules.MayDeleteFile(program))
    return std::string();
  return program;
}

// The machine's folders with the routes to them: each protected, sealed and data folder
// also by its final path, so that a route through another drive letter or a link judges
// alike; and what a path not leading through a link must finally be.
class TRoutes {
 public:
  explicit TRoutes(const TFolderRules& Rules) : FRules(Rules) {
    auto addFinal = [this](std::vector<std::string>& Folders) {
      const std::vector<std::string> named = Folders;
      for (const std::string& folder : named) {
        const std::string final = FinalFolder(folder);
        if (SamePath(final, folder)) continue;
        Folders.push_back(final);
        FLinkedFolders.emplace_back(folder, final);
      }
    };
    addFinal(FRules.Protected);
    addFinal(FRules.Sealed);
    addFinal(FRules.Data);
  }

  const TFolderRules& Rules() const { return FRules; }

  // Where Path (long, checked) finally lies when no link but the machine's own folders'
  // is on its way.
  std::string ExpectedFinal(const std::string& Path) const {
    const std::pair<std::string, std::string>* best = nullptr;
    for (const auto& linked : FLinkedFolders)
      if (IsSameOrParent(linked.first, Path) && (best == nullptr || linked.first.size() > best->first.size()))
        best = &linked;
    if (best == nullptr) return Path;
    std::string folder = best->first;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return best->second + Path.substr(folder.size());
  }

  // Whether the opened entry is what Path names without a link on the way (other than
  // the machine's own folders').
  bool Direct(const std::string& Path, const TOpenedEntry& Opened) const {
    return SamePath(Opened.FinalPath(), ExpectedFinal(Path)) || SamePath(Opened.FinalPath(), Path);
  }

  // The data folder that holds Path when it is the innermost kept folder holding it
  // (the temporary folder within a profile is no data folder); empty otherwise.
  std::string DataFolderOf(const std::string& Path) const {
    std::string best;
    for (const std::string& folder : FRules.Protected)
      if (IsSameOrParent(folder, Path) && !SamePath(folder, Path) && folder.size() > best.size()) best = folder;
    const bool data = std::any_of(FRules.Data.begin(), FRules.Data.end(),
                                  [&](const std::string& folder) { return SamePath(folder, best); });
    while (!best.empty() && best.back() == '\\') best.pop_back();
    return data ? best : std::string();
  }

  // Whether Path lies in the system folder itself (where shared libraries go).
  bool InSystemFolder(const std::string& Path) const {
    const std::string folder = ParentFolder(Path);
    return std::any_of(FRules.Sealed.begin(), FRules.Sealed.end(),
                       [&](const std::string& sealed) { return SamePath(sealed, folder); });
  }

 private:
  TFolderRules FRules;
  std::vector<std::pair<std::string, std::string>> FLinkedFolders;  // named, final
};

// One removal of logged entries, with what it learns on the way: the shared files
// already counted down, the folders that were emptied, what stays.
class TRemoval {
 public:
  TRemoval(const TFolderRules& Rules, const TSharedFileQuestion& RemoveShared, const std::string& NamedOwnProgram)
      : FRoutes(Rules), FRemoveShared(RemoveShared), FNamedOwnProgram(NamedOwnProgram), FKnown(KnownLibraries()) {}

  void RemoveEntries(const TUninstallLog& Log) {
    HRESULT com = CoInitialize(nullptr);
    NoteLoggedFiles(Log);
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

  // The folders of deleted files, and their parents, while they are empty and may go.
  void RemoveEmptiedFolders() {
    std::vector<std::string> folders(FFolders.begin(), FFolders.end());
    // The deepest first, so a parent is empty when its turn comes.
    std::sort(folders.begin(), folders.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (std::string folder : folders) {
      while (!folder.empty() && RemoveFolder(folder)) folder = ParentFolder(folder);
    }
  }

 private:
  const TFolderRules& Rules() const { return FRoutes.Rules(); }

  void NotRemoved(const std::string& Line) { FReport.NotRemoved.push_back(Line); }

  // Every file the log names, in its long form: what a data folder's own folder of the
  // installation holds, and what the installation's shortcuts point at.
  void NoteLoggedFiles(const TUninstallLog& Log) {
    auto note = [this](const std::string& Logged) {
      std::string checked;
      if (NormalizePath(Logged, checked)) FLogged.insert(Upper(LongPath(checked)));
    };
    for (const std::string& entry : Log.Files) note(entry);
    for (const std::string& entry : Log.ActiveX) {
      std::string path;
      char kind = 0;
      if (ParseActiveXEntry(entry, path, kind)) note(path);
    }
    if (!FNamedOwnProgram.empty()) FLogged.insert(Upper(FNamedOwnProgram));
  }

  // An emptied folder that may go: reached without a link, neither kept by the rules nor
  // the user's or every program's own data folder.
  bool RemoveFolder(const std::string& Folder) {
    std::string checked;
    if (!NormalizePath(Folder, checked) || !Rules().MayRemoveFolder(Folder)) return false;
    TOpenedEntry opened(Folder);
    if (!opened.Opened() || !opened.IsFolder() || opened.IsLink() || !FRoutes.Direct(Folder, opened)) return false;
    if (!NormalizePath(opened.FinalPath(), checked) || !Rules().MayRemoveFolder(opened.FinalPath())) return false;
    DWORD error = ERROR_SUCCESS;
    return opened.Delete(error);
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
      if (Rules().MayRemoveFolder(own)) MoveFileExA(own.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
      NotRemoved(Program + " (removed at the next restart)");
    } else {
      NotRemoved(Program + " (" + ErrorText(error) + ")");
    }
  }

  enum class TShare { NotShared, StillUsed, Released };

  // One use fewer of a file the installation counted as shared (its SharedDLLs value,
  // named by the logged, the long, the final or the short path); once for each file,
  // however often and by whatever route it is logged.
  TShare ReleaseShare(const std::string& Id, const std::vector<std::string>& Names) {
    if (auto done = FShares.find(Id); done != FShares.end()) return done->second;
    TShare share = TShare::NotShared;
    TKey counts(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    std::vector<std::string> names = Names;
    char shortPath[MAX_PATH + 1];
    const DWORD length = GetShortPathNameA(Names.back().c_str(), shortPath, sizeof shortPath);
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
    FShares[Id] = share;
    return share;
  }

  // A file of Windows itself: one of its known libraries, or a file of its folders whose
  // version names Windows' maker.
  bool IsSystemFile(const std::string& Final) const {
    const std::string name = Upper(Final.substr(Final.find_last_of('\\') + 1));
    if (FKnown.count(name) != 0) return true;
    return HasSystemVersion(Final);
  }

  // Whether an entry of a data folder is the installation's: in a folder of its own
  // there that holds only logged files, or, right in the data folder, a shortcut to a
  // logged file.
  bool MadeByInstallation(const std::string& Path, const std::string& DataFolder, std::string& Target) {
    const std::string below = Path.substr(DataFolder.size() + 1);
    const size_t slash = below.find('\\');
    if (slash == std::string::npos) {
      const std::string extension = UpperExtension(Path);
      if (extension != ".LNK" && extension != ".PIF") return false;
      Target = ShortcutTarget(Path);
      std::string checked;
      return !Target.empty() && NormalizePath(Target, checked) && FLogged.count(Upper(LongPath(checked))) != 0;
    }
    const std::string own = DataFolder + "\\" + below.substr(0, slash);
    if (auto known = FOwnDataFolders.find(Upper(own)); known != FOwnDataFolders.end()) return known->second;
    size_t budget = 4096;
    const bool ours = HoldsOnlyLoggedFiles(own, budget);
    FOwnDataFolders[Upper(own)] = ours;
    return ours;
  }

  bool HoldsOnlyLoggedFiles(const std::string& Folder, size_t& Budget) const {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((Folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ours = true;
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = Folder + "\\" + name;
      if (Budget-- == 0 || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ours = false;
      else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        ours = HoldsOnlyLoggedFiles(path, Budget);
      else
        ours = FLogged.count(Upper(path)) != 0;
    } while (ours && FindNextFileA(find, &found));
    FindClose(find);
    return ours;
  }

  // Judges a logged file on the file itself and, when it may go, deletes it. It may go
  // when the rules allow its logged path and its final path, nothing but the machine's own
  // folders' links lie on its way, it is no file of Windows, and inside a data folder the
  // installation made it; or when it is a shared file in the system folder that no
  // program uses any more and the user lets it go. A file still shared stays without a
  // word: it is the other programs'. Before the file goes, Unregister (when given) acts on
  // it by its final path.
  void JudgeAndDelete(const std::string& Logged, const std::function<void(const std::string&)>& Unregister) {
    std::string checked;
    if (!NormalizePath(Logged, checked)) {
      NotRemoved(Logged + " (not a plain full path of a file)");
      return;
    }
    const std::string path = LongPath(checked);
    TOpenedEntry opened(path);
    if (!opened.Opened()) {
      if (!opened.Missing()) NotRemoved(path + " (" + ErrorText(opened.Error()) + ")");
      // Gone already: its count goes all the same.
      else if (NormalizePath(path, checked))
        ReleaseShare(Upper(path), {Logged, path});
      return;
    }
    const std::string& final = opened.FinalPath();
    if (!FRoutes.Direct(path, opened)) {
      NotRemoved(path + " (reached through a link or another drive: " + final + ")");
      return;
    }
    if (opened.IsFolder()) {
      NotRemoved(path + " (a folder, not a file)");
      return;
    }
    if (!FNamedOwnProgram.empty() && SamePath(path, FNamedOwnProgram)) return;  // it goes last, on its own way
    const bool allowed = NormalizePath(path, checked) && Rules().MayDeleteFile(path) &&
                         NormalizePath(final, checked) && Rules().MayDeleteFile(final);
    // Windows' own files stay as they are, their counts too.
    if (!allowed && IsSystemFile(final)) {
      NotRemoved(path + " (a file of Windows itself; kept)");
      return;
    }
    // In a data folder, what the installation did not make stays untouched, its count too.
    if (const std::string data = FRoutes.DataFolderOf(path); allowed && !data.empty()) {
      std::string target;
      if (!MadeByInstallation(path, data, target)) {
        NotRemoved(path + " (in a folder of the user's or of all programs, and not made by this installation" +
                   (target.empty() ? std::string() : ": a shortcut to " + target) + ")");
        return;
      }
    }
    const TShare share = ReleaseShare(opened.Id(), {Logged, path, final});
    FShares.emplace(Upper(path), share);  // logged again and gone by then: counted already
    if (share == TShare::StillUsed) return;
    if (!allowed) {
      if (share != TShare::Released || !FRoutes.InSystemFolder(final)) {
        NotRemoved(path + " (a root, Windows or shared folder, or a file in one)");
        return;
      }
      if (!AskedShared(opened.Id(), final)) return;
    }
    if (!FDeleted.insert(opened.Id()).second) return;
    if (Unregister) Unregister(final);
    DWORD error = ERROR_SUCCESS;
    if (!opened.Delete(error)) {
      NotRemoved(path + " (" + ErrorText(error) + ")");
      return;
    }
    FFolders.insert(ParentFolder(path));
    RemoveHelpRegistration(path);
  }

  // The user's answer for a shared file nobody uses any more, asked once for each file.
  bool AskedShared(const std::string& Id, const std::string& Path) {
    if (auto asked = FAnswers.find(Id); asked != FAnswers.end()) return asked->second;
    bool answer = false;
    if (!FRemoveShared)
      NotRemoved(Path + " (a shared file that no program uses any more; kept)");
    else
      answer = FRemoveShared(Path);
    FAnswers[Id] = answer;
    return answer;
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

  // A registered file is unregistered only when it goes itself, and only as the kind an
  // installation logs for its name.
  void UnregisterActiveX(const std::vector<std::string>& Entries) {
    for (const std::string& entry : Entries) {
      std::string logged;
      char kind = 0;
      if (!ParseActiveXEntry(entry, logged, kind)) {
        NotRemoved(entry + " (not a registration entry)");
        continue;
      }
      if (kind != ActiveXKindOf(logged)) {
        NotRemoved(entry + " (not the registration an installation logs for such a file)");
        continue;
      }
      JudgeAndDelete(logged, [this, kind](const std::string& Path) {
        bool done = kind == '0' ? UnregisterLibrary(Path) : kind == '1' ? UnregisterServer(Path) : UnregisterTypes(Path);
        if (!done) NotRemoved("the registration of " + Path);
      });
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

  void DeleteLoggedFile(const std::string& Logged) { JudgeAndDelete(Logged, nullptr); }

  void RemoveRegistryEntries(const std::vector<TLoggedRegistryKey>& Entries) {
    for (const TLoggedRegistryKey& logged : Entries) {
      std::string key;
      TLogRoot root{};
      if (!LogRootFromNumber(logged.Root, root) || !NormalizeKey(logged.Key, key)) {
        NotRemoved("the registry key of " + logged.Entry + " (" + logged.Key + ": not a plain key of a known root)");
        continue;
      }
      HKEY rootHandle = RootHandle(root);
      RemoveLoggedValues(rootHandle, root, key, logged.Values);
      // Then the key and its parents, while they are empty and may go.
      for (std::string current = key; !current.empty() && MayDeleteKey(root, current); current = ParentKey(current)) {
        if (!IsEmptyKey(rootHandle, current)) break;
        if (RegDeleteKeyA(rootHandle, current.c_str()) != ERROR_SUCCESS) break;
      }
    }
  }

  // The logged values of a key that still hold what the log says the installation wrote,
  // outside Windows' own configuration.
  void RemoveLoggedValues(HKEY RootHandle, TLogRoot Root, const std::string& Key,
                          const std::vector<TLoggedValue>& Values) {
    TKey values(RootHandle, Key, KEY_SET_VALUE | KEY_QUERY_VALUE);
    if (!values) return;
    const bool mayGo = MayDeleteValue(Root, Key);
    for (const TLoggedValue& value : Values) {
      std::string data;
      if (!values.ReadData(value.Name, data)) continue;  // gone already
      if (!mayGo) {
        NotRemoved("the value " + value.Name + " of " + Key + " (Windows' own configuration; kept)");
        continue;
      }
      if (data != value.Data) {
        NotRemoved("the value " + value.Name + " of " + Key + " (it no longer holds what the installation wrote)");
        continue;
      }
      LONG result = RegDeleteValueA(values.Get(), value.Name.c_str());
      if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        NotRemoved("the value " + value.Name + " of " + Key + " (" + ErrorText(static_cast<DWORD>(result)) + ")");
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

  TRoutes FRoutes;
  const TSharedFileQuestion& FRemoveShared;
  std::string FNamedOwnProgram;              // the running program when the uninstall command names it
  std::set<std::string> FKnown;              // the system's known libraries, upper case
  std::set<std::string> FLogged;             // every logged file, long and upper case
  std::map<std::string, TShare> FShares;     // by file
  std::map<std::string, bool> FAnswers;      // by file
  std::set<std::string> FDeleted;            // by file
  std::map<std::string, bool> FOwnDataFolders;  // upper case
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
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) {
    std::string folder = Folder(csidl);
    if (!folder.empty()) rules.Protected.push_back(folder);
  }
  // The user's and every program's data: kept, and so is what the installation did not
  // make in them.
  std::vector<std::string> data;
  for (int csidl : {CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_PROFILE, CSIDL_APPDATA,
                    CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
                    CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_STARTUP,
                    CSIDL_COMMON_STARTUP, CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS, CSIDL_FAVORITES, CSIDL_COMMON_FAVORITES,
                    CSIDL_SENDTO, CSIDL_RECENT, CSIDL_TEMPLATES, CSIDL_COMMON_TEMPLATES, CSIDL_FONTS, CSIDL_COOKIES,
                    CSIDL_INTERNET_CACHE, CSIDL_HISTORY, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO,
                    CSIDL_ADMINTOOLS, CSIDL_COMMON_ADMINTOOLS}) {
    std::string folder = Folder(csidl);
    if (!folder.empty()) data.push_back(folder);
  }
  length = GetEnvironmentVariableA("PUBLIC", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) data.push_back(LongPath(std::string(buffer, length)));
  length = GetTempPathA(MAX_PATH, buffer);
  if (length > 0 && length < MAX_PATH) {
    std::string temp = LongPath(std::string(buffer, length));
    while (!temp.empty() && temp.back() == '\\') temp.pop_back();
    rules.Protected.push_back(temp);
  }
  rules.Protected.insert(rules.Protected.end(), data.begin(), data.end());
  rules.Data = data;
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
