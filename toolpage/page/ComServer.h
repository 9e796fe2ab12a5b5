// The tool page library as an in-process COM server: its identities, the counts that
// decide whether it may be unloaded, its class factory and its registration.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

namespace toolpage {

// The page's class ToolPageX and the library's type library TuvekPage.
extern const CLSID CLSID_ToolPageX;
extern const GUID LIBID_TuvekPage;
constexpr const char* kToolPageClassId = "{5027C520-4434-11D2-8352-00A024D5AE34}";
constexpr const char* kToolPageProgId = "TuvekPage.ToolPageX";
// OLEMISC_SIMPLEFRAME | OLEMISC_ACTSLIKELABEL
constexpr DWORD kToolPageMiscStatus = 0x12000;

// Live objects and server locks of the library.
class TComServer {
 public:
  void ObjectCreated() { ++FObjects; }
  void ObjectDestroyed() { --FObjects; }
  void Lock(bool Value) { Value ? ++FLocks : --FLocks; }
  bool CanUnload() const { return FObjects == 0 && FLocks == 0; }
  long Objects() const { return FObjects; }

 private:
  std::atomic<long> FObjects{0};
  std::atomic<long> FLocks{0};
};
TComServer& ComServer();

// The class factory of ToolPageX (CLASS_E_CLASSNOTAVAILABLE for any other class).
HRESULT GetToolPageClassObject(REFCLSID ClassId, REFIID Iid, void** Object);

// The class's keys under HKEY_CLASSES_ROOT (in-process server of the module, apartment
// threading, control, miscellaneous status, tool-box bitmap, ProgID) and the type library
// held in the module as resource TYPELIB 1.
HRESULT RegisterToolPageServer(const std::string& ModulePath);
// Removes what RegisterToolPageServer wrote.
HRESULT UnregisterToolPageServer(const std::string& ModulePath);

}  // namespace toolpage
