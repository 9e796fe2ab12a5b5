#include "ComServer.h"

#include <oleauto.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "ToolPageControl.h"
#include "gui/WinHandles.h"

namespace toolpage {

const CLSID CLSID_ToolPageX = {0x5027C520, 0x4434, 0x11D2, {0x83, 0x52, 0x00, 0xA0, 0x24, 0xD5, 0xAE, 0x34}};
const GUID LIBID_TuvekPage = {0x5027C521, 0x4434, 0x11D2, {0x83, 0x52, 0x00, 0xA0, 0x24, 0xD5, 0xAE, 0x34}};

namespace {

const char* const kLibIdText = "{5027C521-4434-11D2-8352-00A024D5AE34}";
const char* const kControlName = "ToolPageX Control";

TComServer gComServer;

class TToolPageFactory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IClassFactory)) {
      *Object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is static: its references only keep the server loaded.
  ULONG STDMETHODCALLTYPE AddRef() override {
    ComServer().Lock(true);
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    ComServer().Lock(false);
    return 1;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* Outer, REFIID Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    if (Outer != nullptr) return CLASS_E_NOAGGREGATION;
    return CreateToolPageControl(Iid, Object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL Lock) override {
    ComServer().Lock(Lock != FALSE);
    return S_OK;
  }
};

TToolPageFactory gFactory;

LONG SetKeyValue(const std::string& Path, const char* Name, const std::string& Value) {
  HKEY raw = nullptr;
  LONG status = RegCreateKeyExA(HKEY_CLASSES_ROOT, Path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr);
  if (status != ERROR_SUCCESS) return status;
  fw::TRegKeyHandle key(raw);
  return RegSetValueExA(key.Get(), Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                        static_cast<DWORD>(Value.size() + 1));
}

// Deletes the key with everything below it; true when it is gone.
bool DeleteKeyTree(HKEY Root, const std::string& Path) {
  if (Path.empty()) return false;
  HKEY raw = nullptr;
  if (RegOpenKeyExA(Root, Path.c_str(), 0, KEY_READ | KEY_WRITE, &raw) == ERROR_SUCCESS) {
    fw::TRegKeyHandle key(raw);
    std::vector<std::string> children;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      children.emplace_back(name, size);
    }
    for (const std::string& child : children) DeleteKeyTree(Root, Path + "\\" + child);
  }
  LONG status = RegDeleteKeyA(Root, Path.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::wstring Wide(const std::string& Text) {
  std::wstring wide(Text.size() + 1, L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, Text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return wide;
}

}  // namespace

TComServer& ComServer() {
  return gComServer;
}

HRESULT GetToolPageClassObject(REFCLSID ClassId, REFIID Iid, void** Object) {
  if (Object == nullptr) return E_POINTER;
  *Object = nullptr;
  if (!IsEqualCLSID(ClassId, CLSID_ToolPageX)) return CLASS_E_CLASSNOTAVAILABLE;
  return gFactory.QueryInterface(Iid, Object);
}

HRESULT RegisterToolPageServer(const std::string& ModulePath) {
  const std::string clsidKey = std::string("CLSID\\") + kToolPageClassId;
  const std::pair<std::string, std::pair<const char*, std::string>> values[] = {
      {clsidKey, {nullptr, kControlName}},
      {clsidKey + "\\InprocServer32", {nullptr, ModulePath}},
      {clsidKey + "\\InprocServer32", {"ThreadingModel", "Apartment"}},
      {clsidKey + "\\ProgID", {nullptr, kToolPageProgId}},
      {clsidKey + "\\Control", {nullptr, ""}},
      {clsidKey + "\\MiscStatus", {nullptr, "0"}},
      {clsidKey + "\\MiscStatus\\1", {nullptr, std::to_string(kToolPageMiscStatus)}},
      {clsidKey + "\\ToolboxBitmap32", {nullptr, ModulePath + ", 1"}},
      {clsidKey + "\\TypeLib", {nullptr, kLibIdText}},
      {clsidKey + "\\Version", {nullptr, "1.0"}},
      {kToolPageProgId, {nullptr, kControlName}},
      {std::string(kToolPageProgId) + "\\CLSID", {nullptr, kToolPageClassId}},
  };
  for (const auto& [path, value] : values)
    if (SetKeyValue(path, value.first, value.second) != ERROR_SUCCESS) return SELFREG_E_CLASS;
  ITypeLib* typeLib = nullptr;
  HRESULT hr = LoadTypeLibEx(Wide(ModulePath).c_str(), REGKIND_REGISTER, &typeLib);
  if (FAILED(hr)) return SELFREG_E_TYPELIB;
  typeLib->Release();
  return S_OK;
}

HRESULT UnregisterToolPageServer(const std::string& ModulePath) {
  HRESULT result = S_OK;
  if (!DeleteKeyTree(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kToolPageClassId)) result = SELFREG_E_CLASS;
  if (!DeleteKeyTree(HKEY_CLASSES_ROOT, kToolPageProgId)) result = SELFREG_E_CLASS;
  ITypeLib* typeLib = nullptr;
  if (SUCCEEDED(LoadTypeLibEx(Wide(ModulePath).c_str(), REGKIND_NONE, &typeLib))) {
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(typeLib->GetLibAttr(&attr))) {
      HRESULT hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
      if (FAILED(hr) && hr != TYPE_E_REGISTRYACCESS) result = SELFREG_E_TYPELIB;
      typeLib->ReleaseTLibAttr(attr);
    }
    typeLib->Release();
  }
  return result;
}

}  // namespace toolpage
