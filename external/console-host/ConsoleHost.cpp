#include "ConsoleHost.h"

#include <ocidl.h>
#include <ole2.h>

#include <stdexcept>

namespace consolehost {

using Microsoft::WRL::ComPtr;

namespace {

const char* const kToolsKey = "Software\\Kavel\\Stavrel\\Tools\\Tuvek";
const char* const kPageClass = "5027C520-4434-11D2-8352-00A024D5AE34";
const char* const kFrameClass = "StavrelConsoleFrame";

using TAtlAxWinInit = BOOL(WINAPI*)();
using TAtlAxAttachControl = HRESULT(WINAPI*)(IUnknown*, HWND, IUnknown**);

std::string ErrorText(const char* What, HRESULT Result) {
  char code[16];
  wsprintfA(code, "%08lX", static_cast<unsigned long>(Result));
  return std::string(What) + " (0x" + code + ")";
}

}  // namespace

// The console's side of the page's events.
class TEventSink : public IDispatch {
 public:
  explicit TEventSink(TConsoleHost& Host) : FHost(Host) {}
  virtual ~TEventSink() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IDispatch) || IsEqualIID(Iid, DIID_ToolEvents)) {
      *Object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG refs = --FRefs;
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* Count) override {
    *Count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID Id, REFIID, LCID, WORD, DISPPARAMS* Params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    if (Id == 1) {
      ++ConnectionRequests;
      if (FHost.Page() != nullptr && FHost.ConnRef != 0) FHost.Page()->SetConnection(static_cast<LONG>(FHost.ConnRef));
      return S_OK;
    }
    if (Id == 3) {
      if (Params == nullptr || Params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      VARIANT value;
      VariantInit(&value);
      if (FAILED(VariantChangeType(&value, &Params->rgvarg[0], 0, VT_BOOL))) return DISP_E_TYPEMISMATCH;
      EditStates.push_back(value.boolVal != VARIANT_FALSE);
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  int ConnectionRequests = 0;
  std::vector<bool> EditStates;

 private:
  TConsoleHost& FHost;
  ULONG FRefs = 1;
};

int RunRegsvr32(const std::string& LibraryPath, bool Unregister) {
  std::string command = std::string("regsvr32.exe ") + (Unregister ? "/u " : "") + "/s \"" + LibraryPath + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

void WriteToolsKey(const std::string& ToolsFolder) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kToolsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("Cannot create the tools key");
  auto set = [key](const char* Name, const std::string& Value) {
    return RegSetValueExA(key, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                          static_cast<DWORD>(Value.size() + 1)) == ERROR_SUCCESS;
  };
  bool ok = set("Descr", "Console scripts") && set("Key", kPageClass) && set("Path", ToolsFolder);
  RegCloseKey(key);
  if (!ok) throw std::runtime_error("Cannot write the tools key");
}

// The tools key goes, and so do its parents ("Software\Kavel\Stavrel\Tools", ...) while
// nothing else is in them.
void DeleteToolsKey() {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kToolsKey);
  std::string parent = kToolsKey;
  for (int level = 0; level < 3; ++level) {
    parent.erase(parent.find_last_of('\\'));
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) break;
    DWORD subkeys = 1, values = 1;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    if (subkeys != 0 || values != 0 || RegDeleteKeyA(HKEY_LOCAL_MACHINE, parent.c_str()) != ERROR_SUCCESS) break;
  }
}

std::string ToolClassFromKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kToolsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char value[64] = {};
  DWORD size = sizeof value - 1;
  LONG status = RegQueryValueExA(key, "Key", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return "";
  std::string text = "{";
  text.append(value, strnlen(value, sizeof value));
  return text + "}";
}

TConsoleHost::TConsoleHost() = default;

TConsoleHost::~TConsoleHost() {
  Close();
}

void TConsoleHost::Open(const CLSID& ClassId, int Width, int Height) {
  Close();
  HMODULE atl = LoadLibraryA("atl.dll");
  auto init =
      atl ? reinterpret_cast<TAtlAxWinInit>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit"))) : nullptr;
  auto attach =
      atl ? reinterpret_cast<TAtlAxAttachControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxAttachControl")))
          : nullptr;
  if (init == nullptr || attach == nullptr)
    throw std::runtime_error("atl.dll cannot host controls (error " + std::to_string(GetLastError()) + ")");
  // A second start finds the window class there already.
  if (!init() && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error("atl.dll cannot host controls (error " + std::to_string(GetLastError()) + ")");

  WNDCLASSA frame{};
  frame.lpfnWndProc = DefWindowProcA;
  frame.hInstance = GetModuleHandleA(nullptr);
  frame.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frame.lpszClassName = kFrameClass;
  RegisterClassA(&frame);
  RECT r{0, 0, Width, Height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  FWindow = CreateWindowA(kFrameClass, "Stavrel console", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40,
                          r.right - r.left, r.bottom - r.top, nullptr, nullptr, frame.hInstance, nullptr);
  FHostWindow = CreateWindowA("AtlAxWin", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, Width, Height, FWindow,
                              nullptr, frame.hInstance, nullptr);
  if (FWindow == nullptr || FHostWindow == nullptr) {
    Close();
    throw std::runtime_error("Cannot create the console's windows");
  }
  ShowWindow(FWindow, SW_SHOW);

  HRESULT hr = CoCreateInstance(ClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IToolPage,
                                reinterpret_cast<void**>(FPage.GetAddressOf()));
  if (FAILED(hr)) {
    Close();
    throw std::runtime_error(ErrorText("Cannot create the tool page", hr));
  }
  FSink = new TEventSink(*this);
  ComPtr<IConnectionPointContainer> container;
  ComPtr<IConnectionPoint> point;
  if (SUCCEEDED(FPage.As(&container)) && SUCCEEDED(container->FindConnectionPoint(DIID_ToolEvents, &point)))
    point->Advise(FSink, &FCookie);
  ComPtr<IUnknown> site;
  hr = attach(FPage.Get(), FHostWindow, site.GetAddressOf());
  if (FAILED(hr)) {
    Close();
    throw std::runtime_error(ErrorText("Cannot host the tool page", hr));
  }
  UpdateWindow(FWindow);
}

void TConsoleHost::Close(bool KeepListening) {
  if (FPage && FCookie != 0 && !KeepListening) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(FPage.As(&container)) && SUCCEEDED(container->FindConnectionPoint(DIID_ToolEvents, &point)))
      point->Unadvise(FCookie);
  }
  FCookie = 0;
  // The host window lets go of the control when it is destroyed.
  if (FWindow != nullptr) DestroyWindow(FWindow);
  FWindow = FHostWindow = nullptr;
  FPage.Reset();
  if (FSink != nullptr) {
    FLastEditStates = FSink->EditStates;
    FSink->Release();
  }
  FSink = nullptr;
}

HWND TConsoleHost::PageWindow() const {
  return FHostWindow != nullptr ? GetWindow(FHostWindow, GW_CHILD) : nullptr;
}

int TConsoleHost::ConnectionRequests() const {
  return FSink != nullptr ? FSink->ConnectionRequests : 0;
}

const std::vector<bool>& TConsoleHost::EditStates() const {
  return FSink != nullptr ? FSink->EditStates : FLastEditStates;
}

}  // namespace consolehost
