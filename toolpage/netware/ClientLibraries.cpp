#include "ClientLibraries.h"

#include <windows.h>

#include <array>

#include "ClientWarning.h"
#include "ExThreads.h"
#include "GoToWeb.h"
#include "NcpExtensions.h"
#include "NlmMgr.h"
#include "NwTypes.h"
#include "gui/WinHandles.h"

namespace toolpage {

namespace {

struct TEntryDef {
  TClientLib Lib;
  uint16_t Ordinal;  // 0: bound by name
};

constexpr TEntryDef kEntries[] = {
    {TClientLib::CalWin32, 377},  {TClientLib::CalWin32, 471}, {TClientLib::CalWin32, 500}, {TClientLib::CalWin32, 530},
    {TClientLib::CalWin32, 332},  {TClientLib::CalWin32, 570}, {TClientLib::CalWin32, 571}, {TClientLib::CalWin32, 578},
    {TClientLib::CalWin32, 426},  {TClientLib::CalWin32, 425}, {TClientLib::CalWin32, 396}, {TClientLib::CalWin32, 83},
    {TClientLib::CalWin32, 84},   {TClientLib::CalWin32, 290}, {TClientLib::CalWin32, 273}, {TClientLib::CalWin32, 276},
    {TClientLib::CalWin32, 395},  {TClientLib::CalWin32, 562}, {TClientLib::CalWin32, 160}, {TClientLib::CalWin32, 111},
    {TClientLib::CalWin32, 275},  {TClientLib::CalWin32, 119}, {TClientLib::CalWin32, 104}, {TClientLib::CalWin32, 0},
    {TClientLib::ClxWin32, 102},  {TClientLib::ClxWin32, 103}, {TClientLib::ClxWin32, 108}, {TClientLib::ClxWin32, 117},
    {TClientLib::NetWin32, 2037},
};
static_assert(std::size(kEntries) == static_cast<size_t>(TClientEntry::Count));

const char* const kScanMountedVolumes = "NWScanMountedVolumeList";

// One client library: the module this unit loaded, freed at library end. A handle below
// 32 counts as not loaded (the convention of LoadLibrary results) and is not kept.
struct TClientLibrary {
  fw::TModuleHandle Module;

  bool IsLoaded() const { return IsLoadedModule(Module.Get()); }
  bool Load(const char* FileName) {
    if (IsLoaded()) return true;
    HMODULE h = LoadLibraryA(FileName);
    if (IsLoadedModule(h)) Module.Reset(h);
    return IsLoaded();
  }
  void Free() { Module.Reset(); }

  static bool IsLoadedModule(HMODULE h) { return reinterpret_cast<uintptr_t>(h) >= 32; }
};

std::array<TClientLibrary, 5> gLibraries;
std::array<TClientProc, static_cast<size_t>(TClientEntry::Count)> gSlots{};
bool gNetWin32Loaded = false;

TClientLibrary& Library(TClientLib Lib) {
  return gLibraries[static_cast<size_t>(Lib)];
}

void BindLibrary(TClientLib Lib, void* Module) {
  for (size_t i = 0; i < std::size(kEntries); ++i) {
    if (kEntries[i].Lib != Lib) continue;
    if (kEntries[i].Ordinal != 0) {
      gSlots[i] = BindClientProc(Module, kEntries[i].Ordinal);
    } else {
      gSlots[i] = Module
                      ? reinterpret_cast<TClientProc>(GetProcAddress(static_cast<HMODULE>(Module), kScanMountedVolumes))
                      : reinterpret_cast<TClientProc>(&UninitializedProcStub);
    }
  }
}

// Loads one library by the common rule; on failure every entry of it points to the stub.
bool LoadAndBind(TClientLib Lib, const char* FileName, void (*Bind)(void*)) {
  TClientLibrary& lib = Library(Lib);
  if (lib.IsLoaded()) return true;
  if (!lib.Load(FileName)) {
    Bind(nullptr);
    return false;
  }
  Bind(lib.Module.Get());
  return true;
}

using TInitProc = uint32_t(__stdcall*)(uint32_t, uint32_t);

}  // namespace

TClientProc BindClientProc(void* Module, uint16_t Ordinal) {
  if (Module == nullptr) return reinterpret_cast<TClientProc>(&UninitializedProcStub);
  return reinterpret_cast<TClientProc>(GetProcAddress(static_cast<HMODULE>(Module), MAKEINTRESOURCEA(Ordinal)));
}

void UninitializedProcStub() {
  GiveClientWarningOnce();
  throw fw::Exception("NWCLIENT: Uninitialized procedure called");
}

void BindCalWin32Procs(void* Module) {
  BindLibrary(TClientLib::CalWin32, Module);
}
void BindClxWin32Procs(void* Module) {
  BindLibrary(TClientLib::ClxWin32, Module);
}
void BindNetWin32Procs(void* Module) {
  BindLibrary(TClientLib::NetWin32, Module);
}
void BindLocWin32Procs(void* Module) {
  BindLibrary(TClientLib::LocWin32, Module);
}
void BindLgnwProcs(void* Module) {
  BindLibrary(TClientLib::Lgnw, Module);
}

void LoadCalWin32() {
  if (!Library(TClientLib::CalWin32).IsLoaded() &&
      LoadAndBind(TClientLib::CalWin32, "CALWIN32.DLL", BindCalWin32Procs)) {
    TClientProc init = gSlots[static_cast<size_t>(TClientEntry::CalInit)];
    if (init) reinterpret_cast<TInitProc>(init)(0, 0);
  }
  OutputDebugStringA("CalWin32 Initialized");
}

void LoadClxWin32() {
  LoadAndBind(TClientLib::ClxWin32, "CLXWIN32.DLL", BindClxWin32Procs);
}

bool LoadNetWin32Libraries() {
  LoadAndBind(TClientLib::NetWin32, "NETWIN32.DLL", BindNetWin32Procs);
  LoadAndBind(TClientLib::LocWin32, "LOCWIN32.DLL", BindLocWin32Procs);
  bool both = Library(TClientLib::NetWin32).IsLoaded() && Library(TClientLib::LocWin32).IsLoaded();
  if (both && !gNetWin32Loaded) {
    TClientProc init = gSlots[static_cast<size_t>(TClientEntry::NetInit)];
    if (init) reinterpret_cast<TInitProc>(init)(0, 0);
  }
  gNetWin32Loaded = both;
  return both;
}

void LoadLgnwLibrary() {
  TClientLibrary& lib = Library(TClientLib::Lgnw);
  if (lib.IsLoaded()) return;
  if (lib.Load("LGNWNT32.DLL") || lib.Load("LGNW9532.DLL")) {
    BindLgnwProcs(lib.Module.Get());
  } else {
    BindLgnwProcs(nullptr);
  }
}

void NetWareLibraryStartup() {
  InitExThreads();
  LoadCalWin32();
  LoadClxWin32();
  LoadNetWin32Libraries();
  LoadLgnwLibrary();
  InitNCPCache();
  InitNlmMgr();
  // The file-type unit has nothing to set up but says so, as the page always has.
  OutputDebugStringA("Initializing uFileList");
  OutputDebugStringA("Initialized uFileList");
}

void NetWareLibraryShutdown() {
  FinalizeNlmMgr();
  FinalizeNCPCache();
  Library(TClientLib::Lgnw).Free();
  Library(TClientLib::LocWin32).Free();
  Library(TClientLib::NetWin32).Free();
  gNetWin32Loaded = false;
  Library(TClientLib::ClxWin32).Free();
  Library(TClientLib::CalWin32).Free();
  gSlots.fill(nullptr);
  FinalizeClientWarning();
  FinalizeGoToWeb();
}

fw::TLibrary NetWareLibrary() {
  return {"NetWare client", NetWareLibraryStartup, NetWareLibraryShutdown};
}

TClientProc ClientEntry(TClientEntry Entry) {
  TClientProc p = gSlots[static_cast<size_t>(Entry)];
  if (p == reinterpret_cast<TClientProc>(&UninitializedProcStub)) UninitializedProcStub();
  // A loaded library without the export (or no library start yet): calling nil would
  // crash the host, so the call fails like an unbound one, without the client warning.
  if (p == nullptr) throw fw::Exception("NWCLIENT: Uninitialized procedure called");
  return p;
}

bool IsClientLibraryLoaded(TClientLib Lib) {
  return Library(Lib).IsLoaded();
}

std::string ClientLibraryFileName(TClientLib Lib) {
  const TClientLibrary& lib = Library(Lib);
  if (!lib.IsLoaded()) return "";
  char path[MAX_PATH] = {};
  GetModuleFileNameA(lib.Module.Get(), path, MAX_PATH);
  std::string p = path;
  size_t slash = p.find_last_of("\\/");
  return fw::UpperCase(slash == std::string::npos ? p : p.substr(slash + 1));
}

}  // namespace toolpage
