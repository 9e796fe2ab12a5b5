#include "FileRegistration.h"

#include <windows.h>
// COM after windows.h
#include <oleauto.h>
#include <wrl/client.h>

#include <vector>

#include "InstallFile.h"
#include "gui/WinHandles.h"
#include "support/Errors.h"
#include "support/ProgramLauncher.h"
#include "support/Registry.h"
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

void RegisterTypeLibraryFile(const std::string& Path) {
  std::wstring widePath(Path.begin(), Path.end());
  int needed = MultiByteToWideChar(CP_ACP, 0, Path.c_str(), -1, nullptr, 0);
  if (needed > 0) {
    std::vector<wchar_t> buffer(static_cast<size_t>(needed));
    MultiByteToWideChar(CP_ACP, 0, Path.c_str(), -1, buffer.data(), needed);
    widePath.assign(buffer.data());
  }
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

void RegisterSelfRegisteringLibrary(const std::string& Path, const std::string& ObjectName) {
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
  HRESULT result = registerServer();
  if (result != S_OK)
    throw IECustomInstallFile(
        "Could not register the ActiveX component, %s, because the DllRegisterServer function returned a value of "
        "%d. The file component is %s",
        Path, static_cast<int>(result), ObjectName);
}

void RegisterSelfRegisteringServer(const std::string& Path) {
  fw::TOwnedPtr<TProgramLauncher> launcher(new TProgramLauncher(nullptr));
  launcher->SetFileName(Path);
  launcher->SetParameters("/REGSERVER");
  launcher->SetShowMode(smHide);
  launcher->Execute();
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
