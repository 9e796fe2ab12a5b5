// Loading the NetWare client libraries and binding their entry points by export ordinal.
#pragma once

#include <cstdint>
#include <string>

#include "core/Startup.h"

namespace toolpage {

using TClientProc = void (*)();

// The client entry points the page calls: library and export ordinal of each.
enum class TClientLib { CalWin32, ClxWin32, NetWin32, LocWin32, Lgnw };

enum class TClientEntry {
  CalInit,                // CALWIN32 377
  CalExtensionRequest,    // CALWIN32 471
  CalExtensionByName,     // CALWIN32 500
  CalConsoleOperator,     // CALWIN32 530
  CalRemoteExecRight,     // CALWIN32 332
  CalLoadModule,          // CALWIN32 570
  CalUnloadModule,        // CALWIN32 571
  CalExecuteNcf,          // CALWIN32 578
  CalListModules,         // CALWIN32 426
  CalModuleInfo,          // CALWIN32 425
  CalAllocDirHandleNs,    // CALWIN32 396
  CalAllocDirHandle,      // CALWIN32 83
  CalFreeDirHandle,       // CALWIN32 84
  CalScanEntries,         // CALWIN32 290
  CalEntryInfo,           // CALWIN32 273
  CalConvertPath,         // CALWIN32 276
  CalSetAttributes,       // CALWIN32 395
  CalDeleteEntry,         // CALWIN32 562
  CalRenameEntry,         // CALWIN32 160
  CalVolumeNumber,        // CALWIN32 111
  CalVolumeNameSpaces,    // CALWIN32 275
  CalServerName,          // CALWIN32 119
  CalParsePath,           // CALWIN32 104
  CalScanMountedVolumes,  // CALWIN32, by name "NWScanMountedVolumeList"
  ClxOpenConnByRef,       // CLXWIN32 102
  ClxCloseConn,           // CLXWIN32 103
  ClxConnRef,             // CLXWIN32 108
  ClxConnInfo,            // CLXWIN32 117
  NetInit,                // NETWIN32 2037
  Count
};

// The address exported under Ordinal (nil when the library has none); with Module 0
// the address of UninitializedProcStub.
TClientProc BindClientProc(void* Module, uint16_t Ordinal);

// Target of every entry whose library is missing: warns once (dialog in the main
// thread), then raises "NWCLIENT: Uninitialized procedure called" at every call.
[[noreturn]] void UninitializedProcStub();

void BindCalWin32Procs(void* Module);
void BindClxWin32Procs(void* Module);
void BindNetWin32Procs(void* Module);
void BindLocWin32Procs(void* Module);
void BindLgnwProcs(void* Module);

void LoadCalWin32();
void LoadClxWin32();
bool LoadNetWin32Libraries();  // true when NETWIN32 and LOCWIN32 both loaded
void LoadLgnwLibrary();

// Library start and end of the NetWare units, in their order: GoToWeb, ExThreads,
// client warning, CALWIN32, CLXWIN32, NETWIN32/LOCWIN32, login library, extension cache,
// module manager.
// The tool page library runs them on the first call into it and when it is about to be
// released (never under the loader lock: they load and free DLLs).
void NetWareLibraryStartup();
void NetWareLibraryShutdown();
fw::TLibrary NetWareLibrary();

// The bound address of an entry; calls UninitializedProcStub when the entry is unbound.
TClientProc ClientEntry(TClientEntry Entry);
bool IsClientLibraryLoaded(TClientLib Lib);
// File name of a loaded client library ("LGNW9532.DLL"), empty when not loaded.
std::string ClientLibraryFileName(TClientLib Lib);

}  // namespace toolpage
