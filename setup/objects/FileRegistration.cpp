#include "FileRegistration.h"

#include <windows.h>
// COM after windows.h
#include <oleauto.h>
#include <wrl/client.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "InstallFile.h"
#include "InstallRunJournal.h"
#include "RegistryTree.h"
#include "gui/WinHandles.h"
#include "support/Errors.h"
#include "support/ProgramLauncher.h"
#include "support/Registry.h"
#include "support/RegistryLinks.h"
#include "support/RegistryObject.h"
#include "support/WinFolders.h"

namespace setup {

EOleSysError::EOleSysError(long Result)
    : fw::Exception(SystemErrorText(static_cast<uint32_t>(Result))), FErrorCode(Result) {}

void OleCheck(long Result) {
  if (FAILED(Result)) throw EOleSysError(Result);
}

void RegisterHelpFile(const std::string& FileName, const std::string& Folder) {
  WriteRegString(hkLocalMachine, kHelpKey, fw::UpperCase(FileName), Folder);
}

namespace {

// A DWORD value of the open key; false when missing or of another type.
bool ReadCount(HKEY Key, const std::string& Name, DWORD& Count) {
  DWORD type = 0;
  DWORD size = sizeof Count;
  return RegQueryValueExA(Key, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&Count), &size) == ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof Count;
}

}  // namespace

bool IncrementSharedDLLValue(const std::string& Path, unsigned long& Error, TSharedCountBefore* Before) {
  fw::TRegKeyHandle key;
  LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDLLsKey + 1, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                key.Put(), nullptr);
  if (result != ERROR_SUCCESS) {
    Error = static_cast<unsigned long>(result);
    return false;
  }
  std::string name = ShortPathName(Path);
  DWORD count = 0;
  bool counted = ReadCount(key.Get(), name, count);
  if (!counted) {
    name = Path;
    counted = ReadCount(key.Get(), name, count);
    if (!counted) count = 0;
  }
  if (Before != nullptr) {
    Before->Name = name;
    Before->Count = counted ? std::optional<uint32_t>(count) : std::nullopt;
  }
  ++count;
  result = RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
  Error = static_cast<unsigned long>(result);
  return result == ERROR_SUCCESS;
}

bool HasSharedDLLCount(const std::string& Path) {
  fw::TRegKeyHandle key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDLLsKey + 1, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
  DWORD count = 0;
  return ReadCount(key.Get(), ShortPathName(Path), count) || ReadCount(key.Get(), Path, count);
}

bool HasOLESelfRegisterFlag(const std::string& Path) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(Path.c_str(), &handle);
  if (size == 0) return false;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(Path.c_str(), 0, size, block.data())) return false;
  void* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length) || length < 4) return false;
  auto* ids = static_cast<const WORD*>(translation);
  char query[64];
  wsprintfA(query, "\\StringFileInfo\\%04X%04X\\OLESelfRegister", ids[0], ids[1]);
  void* value = nullptr;
  return VerQueryValueA(block.data(), query, &value, &length) != 0;
}

namespace {

std::wstring Wide(const std::string& Text) {
  const int needed = MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, nullptr, 0);
  if (needed <= 0) return std::wstring(Text.begin(), Text.end());
  std::vector<wchar_t> buffer(static_cast<size_t>(needed));
  MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, buffer.data(), needed);
  return std::wstring(buffer.data());
}

// "{xxxxxxxx-...}" in upper case, as registrations name their keys.
std::string GuidText(const GUID& Guid) {
  wchar_t text[40] = {};
  StringFromGUID2(Guid, text, 40);
  return std::string(text, text + wcslen(text));
}

// --- the keys a registration writes ----------------------------------------------------

// The root numbers of TRootKeys.
constexpr int kClassesRoot = static_cast<int>(hkClassesRoot);
constexpr int kCurrentUser = static_cast<int>(hkCurrentUser);
constexpr int kLocalMachine = static_cast<int>(hkLocalMachine);

struct TKeyName {
  int Root;
  std::string Path;
};

std::vector<std::string> PathParts(const std::string& Path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= Path.size()) {
    const size_t slash = Path.find('\\', start);
    const std::string part = Path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (!part.empty()) parts.push_back(part);
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return parts;
}

std::string JoinParts(const std::vector<std::string>& Parts, size_t Count) {
  std::string path;
  for (size_t i = 0; i < Count && i < Parts.size(); ++i) path += (i == 0 ? "" : "\\") + Parts[i];
  return path;
}

// The keys below the class keys that hold the registrations of all programs, each one
// registration a subkey.
bool IsRegistrationContainer(const std::string& Name) {
  for (const char* container : {"CLSID", "Interface", "TypeLib", "AppID", "Component Categories", "Record"})
    if (fw::SameText(Name, container)) return true;
  return false;
}

// How many leading parts of Parts lie before the class keys' own names: 0 below
// HKEY_CLASSES_ROOT, 2 ("Software\Classes") below the machine's and the user's keys;
// -1 outside the class keys.
int ClassesPrefix(int Root, const std::vector<std::string>& Parts) {
  if (Root == kClassesRoot) return 0;
  if (Parts.size() >= 2 && fw::SameText(Parts[0], "Software") && fw::SameText(Parts[1], "Classes")) return 2;
  return -1;
}

// Notes, before the registration writes Written, what of the registry it changes: the
// first level of it that is missing (it goes whole at an undo); else, among the class
// keys, the registration's own key with everything below it (a class, an interface, a
// type library, a program identifier; a registration may delete below it before it
// writes); elsewhere the key's values.
void NoteKeysBefore(TInstallRunJournal& Journal, const std::vector<TKeyName>& Written) {
  for (const TKeyName& key : Written) {
    const std::vector<std::string> parts = PathParts(key.Path);
    bool noted = false;
    for (size_t depth = 1; depth <= parts.size() && !noted; ++depth)
      if (RegistryKeyMissing(key.Root, JoinParts(parts, depth))) {
        Journal.NoteKeyBefore(key.Root, JoinParts(parts, depth), true);
        noted = true;
      }
    if (noted) continue;
    size_t own = 0;
    if (const int prefix = ClassesPrefix(key.Root, parts); prefix >= 0 && parts.size() > static_cast<size_t>(prefix)) {
      own = static_cast<size_t>(prefix) + 1;
      if (IsRegistrationContainer(parts[own - 1])) ++own;
      if (parts.size() < own) own = 0;  // a container itself
    }
    if (own > 0)
      Journal.NoteKeyBefore(key.Root, JoinParts(parts, own), true);
    else
      Journal.NoteKeyBefore(key.Root, key.Path, false);
  }
}

// The keys below Key (opened) that hold values or no subkeys, with their paths from Key.
void CollectWrittenKeys(HKEY Key, const std::string& Path, int Root, std::vector<TKeyName>& Written) {
  const std::vector<std::string> children = SubkeyNamesOf(Key);
  DWORD values = 0;
  RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  if (!Path.empty() && (values > 0 || children.empty())) Written.push_back({Root, Path});
  for (const std::string& child : children) {
    fw::TRegKeyHandle handle = OpenKeyNotFollowing(Key, child, KEY_READ);
    if (handle) CollectWrittenKeys(handle.Get(), Path.empty() ? child : Path + "\\" + child, Root, Written);
  }
}

// Runs Register while the three roots lead to keys of a scratch key, and returns the
// keys it wrote; none when it failed or this Windows cannot lead a root elsewhere.
std::optional<std::vector<TKeyName>> KeysWrittenByTrial(const std::function<void()>& Register) {
  using TOverride = LONG(WINAPI*)(HKEY, HKEY);
  const auto override = reinterpret_cast<TOverride>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), "RegOverridePredefKey")));
  if (override == nullptr) return std::nullopt;
  const std::string scratch = "Software\\Setup registration trial " + std::to_string(GetCurrentProcessId());
  DeleteRegistryTree(HKEY_CURRENT_USER, scratch);
  struct TRoot {
    HKEY Key;
    int Root;
    const char* Name;
    fw::TRegKeyHandle Scratch;
  } roots[] = {{HKEY_CLASSES_ROOT, kClassesRoot, "Classes", {}},
               {HKEY_LOCAL_MACHINE, kLocalMachine, "Machine", {}},
               {HKEY_CURRENT_USER, kCurrentUser, "User", {}}};
  for (TRoot& root : roots)
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (scratch + "\\" + root.Name).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, root.Scratch.Put(), nullptr) != ERROR_SUCCESS) {
      DeleteRegistryTree(HKEY_CURRENT_USER, scratch);
      return std::nullopt;
    }
  bool registered = false;
  {
    // The roots lead back home whatever happens.
    struct TLeadBack {
      TOverride Override;
      ~TLeadBack() {
        Override(HKEY_CLASSES_ROOT, nullptr);
        Override(HKEY_LOCAL_MACHINE, nullptr);
        Override(HKEY_CURRENT_USER, nullptr);
      }
    } leadBack{override};
    bool led = true;
    for (TRoot& root : roots) led &= override(root.Key, root.Scratch.Get()) == ERROR_SUCCESS;
    if (led) {
      try {
        Register();
        registered = true;
      } catch (...) {
        // The registration proper tells why.
      }
    }
  }
  std::vector<TKeyName> written;
  for (TRoot& root : roots) CollectWrittenKeys(root.Scratch.Get(), std::string(), root.Root, written);
  for (TRoot& root : roots) root.Scratch.Reset();
  DeleteRegistryTree(HKEY_CURRENT_USER, scratch);
  if (!registered) return std::nullopt;
  return written;
}

// What a program's type library names: the library's key, its classes' and its
// interfaces'. Empty when it has none.
std::vector<TKeyName> TypeLibraryKeys(const std::string& Path) {
  std::vector<TKeyName> keys;
  Microsoft::WRL::ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(Wide(Path).c_str(), REGKIND_NONE, &library))) return keys;
  TLIBATTR* attributes = nullptr;
  if (SUCCEEDED(library->GetLibAttr(&attributes))) {
    keys.push_back({kClassesRoot, "TypeLib\\" + GuidText(attributes->guid)});
    library->ReleaseTLibAttr(attributes);
  }
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    TYPEKIND kind;
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    TYPEATTR* type = nullptr;
    if (FAILED(library->GetTypeInfoType(i, &kind)) || FAILED(library->GetTypeInfo(i, &info)) ||
        FAILED(info->GetTypeAttr(&type)))
      continue;
    if (kind == TKIND_COCLASS)
      keys.push_back({kClassesRoot, "CLSID\\" + GuidText(type->guid)});
    else if (kind == TKIND_INTERFACE || kind == TKIND_DISPATCH)
      keys.push_back({kClassesRoot, "Interface\\" + GuidText(type->guid)});
    info->ReleaseTypeAttr(type);
  }
  return keys;
}

// The names at the top of HKEY_CLASSES_ROOT and below its CLSID key, as
// "name" and "CLSID\name".
std::vector<std::string> ClassKeyNames() {
  std::vector<std::string> names = SubkeyNamesOf(HKEY_CLASSES_ROOT);
  if (fw::TRegKeyHandle classes = OpenKeyNotFollowing(HKEY_CLASSES_ROOT, "CLSID", KEY_READ))
    for (const std::string& name : SubkeyNamesOf(classes.Get())) names.push_back("CLSID\\" + name);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return fw::CompareText(a, b) < 0; });
  return names;
}

// A registration that runs where no trial can watch it: what its type library names is
// noted before, and the class keys it made are noted after, also when it fails.
void RegisterWatchingClassKeys(const std::string& Path, TInstallRunJournal* Journal,
                               const std::function<void()>& Register) {
  if (Journal == nullptr) {
    Register();
    return;
  }
  NoteKeysBefore(*Journal, TypeLibraryKeys(Path));
  const std::vector<std::string> before = ClassKeyNames();
  struct TNoteMade {
    TInstallRunJournal& Journal;
    const std::vector<std::string>& Before;
    ~TNoteMade() {
      try {
        for (const std::string& name : ClassKeyNames())
          if (!std::binary_search(Before.begin(), Before.end(), name,
                                  [](const std::string& a, const std::string& b) { return fw::CompareText(a, b) < 0; }))
            Journal.NoteKeyCreated(kClassesRoot, name);
      } catch (...) {
        // Out of memory: what the registration made stays.
      }
    }
  } noteMade{*Journal, before};
  Register();
}

void RegisterLoadedTypeLibrary(const std::string& Path) {
  std::wstring widePath = Wide(Path);
  Microsoft::WRL::ComPtr<ITypeLib> library;
  OleCheck(LoadTypeLib(widePath.c_str(), &library));
  TLIBATTR* attributes = nullptr;
  OleCheck(library->GetLibAttr(&attributes));
  struct TReleaseAttributes {
    ITypeLib* Library;
    TLIBATTR* Attributes;
    ~TReleaseAttributes() { Library->ReleaseTLibAttr(Attributes); }
  } release{library.Get(), attributes};
  BSTR helpFile = nullptr;
  OleCheck(library->GetDocumentation(-1, nullptr, nullptr, nullptr, &helpFile));
  std::wstring helpFolder;
  if (helpFile != nullptr) {
    std::wstring help(helpFile, SysStringLen(helpFile));
    SysFreeString(helpFile);
    size_t slash = help.find_last_of(L"\\/:");
    if (slash != std::wstring::npos) helpFolder = help.substr(0, slash + 1);
  }
  OleCheck(RegisterTypeLib(library.Get(), widePath.data(), helpFolder.empty() ? nullptr : helpFolder.data()));
}

}  // namespace

void RegisterTypeLibraryFile(const std::string& Path, TInstallRunJournal* Journal) {
  if (Journal != nullptr) {
    const auto written = KeysWrittenByTrial([&] { RegisterLoadedTypeLibrary(Path); });
    // Without a trial, a type library's keys are those of what it names.
    NoteKeysBefore(*Journal, written ? *written : TypeLibraryKeys(Path));
  }
  RegisterLoadedTypeLibrary(Path);
}

void RegisterSelfRegisteringLibrary(const std::string& Path, const std::string& ObjectName,
                                    TInstallRunJournal* Journal) {
  HRESULT initialized = OleInitialize(nullptr);
  struct TUninitialize {
    bool Active;
    ~TUninitialize() {
      if (Active) OleUninitialize();
    }
  } uninitialize{SUCCEEDED(initialized)};
  fw::TModuleHandle library(LoadLibraryA(Path.c_str()));
  if (!library)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the LoadLibrary(%s) procedure returned a value of 0. "
        "The file component is %s. The following value is the value of the GetLastError function: %d",
        Path, Path, ObjectName, static_cast<int>(GetLastError()));
  using TRegisterServer = HRESULT(STDAPICALLTYPE*)();
  auto registerServer =
      reinterpret_cast<TRegisterServer>(reinterpret_cast<void*>(GetProcAddress(library.Get(), "DllRegisterServer")));
  if (registerServer == nullptr)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function could not be found. "
        "The file component is %s. The following value is the value of the GetLastError function: %d",
        Path, ObjectName, static_cast<int>(GetLastError()));
  const auto registerNow = [&] {
    HRESULT result = registerServer();
    if (result != S_OK)
      throw IECustomInstallFile(
          "Could not register the ActiveX component, %s, because the DllRegisterServer function returned a value of "
          "%d. The file component is %s",
          Path, static_cast<int>(result), ObjectName);
  };
  if (Journal == nullptr) {
    registerNow();
    return;
  }
  if (const auto written = KeysWrittenByTrial(registerNow)) {
    NoteKeysBefore(*Journal, *written);
    registerNow();
    return;
  }
  RegisterWatchingClassKeys(Path, Journal, registerNow);
}

void RegisterSelfRegisteringServer(const std::string& Path, TInstallRunJournal* Journal) {
  RegisterWatchingClassKeys(Path, Journal, [&] {
    fw::TOwnedPtr<TProgramLauncher> launcher(new TProgramLauncher(nullptr));
    launcher->SetFileName(Path);
    launcher->SetParameters("/REGSERVER");
    launcher->SetShowMode(smHide);
    launcher->Execute();
  });
}

TWorkingFolder::TWorkingFolder(const std::string& Folder) {
  char saved[MAX_PATH * 2];
  DWORD length = GetCurrentDirectoryA(sizeof saved, saved);
  if (length > 0 && length < sizeof saved) FSaved.assign(saved, length);
  SetCurrentDirectoryA(Folder.c_str());
}

TWorkingFolder::~TWorkingFolder() {
  if (!FSaved.empty()) SetCurrentDirectoryA(FSaved.c_str());
}

}  // namespace setup
