// CALWIN32.DLL stand-in: the calls library, each entry forwarding to the simulated server.
#include <cstdint>

#include "nwsim.h"

#define ENTRY extern "C" uint32_t __stdcall

ENTRY CalInit(uint32_t first, uint32_t second) {
  nwsim_NoteClientInit("CALWIN32", first, second);
  return 0;
}

ENTRY CalExtensionRequest(uint32_t conn, uint32_t id, const void* request, uint32_t requestLen, void* reply,
                          uint16_t* replyLen) {
  return nwsim_ExtensionRequest(conn, id, request, requestLen, reply, replyLen);
}

ENTRY CalExtensionInfoByName(uint32_t conn, const char* name, uint32_t* id, uint8_t* major, uint8_t* minor,
                             uint8_t* revision, void*) {
  return nwsim_ExtensionInfoByName(conn, name, id, major, minor, revision);
}

ENTRY CalConsoleOperatorTest(uint32_t conn) {
  return nwsim_ConsoleOperatorTest(conn);
}
ENTRY CalRemoteExecTest(uint32_t conn) {
  return nwsim_RemoteExecTest(conn);
}
ENTRY CalLoadModule(uint32_t conn, const char* path) {
  return nwsim_LoadModule(conn, path);
}
ENTRY CalUnloadModule(uint32_t conn, const char* name) {
  return nwsim_UnloadModule(conn, name);
}
ENTRY CalExecuteNcf(uint32_t conn, const char* path) {
  return nwsim_ExecuteNcf(conn, path);
}

ENTRY CalListModules(uint32_t conn, uint32_t start, uint8_t* buffer) {
  return nwsim_ListModules(conn, start, buffer);
}

ENTRY CalModuleInfo(uint32_t conn, uint32_t number, char* text1, char* text2, char* text3, void* info) {
  return nwsim_ModuleInfo(conn, number, text1, text2, text3, info);
}

ENTRY CalAllocDirHandleNs(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t pathNs, uint8_t* newHandle,
                          uint8_t handleNs) {
  return nwsim_AllocDirHandleNs(conn, dirHandle, path, pathNs, newHandle, handleNs);
}

ENTRY CalAllocDirHandle(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t* newHandle, uint8_t* rights) {
  return nwsim_AllocDirHandle(conn, dirHandle, path, newHandle, rights);
}

ENTRY CalFreeDirHandle(uint32_t conn, uint8_t dirHandle) {
  return nwsim_FreeDirHandle(conn, dirHandle);
}

ENTRY CalScanEntries(uint32_t conn, uint8_t dirHandle, uint8_t nameSpace, uint32_t searchAttr, uint8_t* sequence,
                     const char* pattern, uint32_t infoMask, uint8_t* info) {
  return nwsim_ScanEntries(conn, dirHandle, nameSpace, searchAttr, sequence, pattern, infoMask, info);
}

ENTRY CalEntryInfo(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t srcNs, uint8_t dstNs,
                   uint32_t searchAttr, uint32_t infoMask, uint8_t* info) {
  return nwsim_EntryInfo(conn, dirHandle, path, srcNs, dstNs, searchAttr, infoMask, info);
}

ENTRY CalConvertPath(uint32_t conn, uint8_t dirHandle, uint8_t dstNs, uint8_t srcNs, uint32_t flags, void* block) {
  return nwsim_ConvertPath(conn, dirHandle, dstNs, srcNs, flags, block);
}

ENTRY CalSetAttributes(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t nameSpace, uint32_t searchAttr,
                       uint32_t changeMask, uint32_t attributes) {
  return nwsim_SetAttributes(conn, dirHandle, path, nameSpace, searchAttr, changeMask, attributes);
}

ENTRY CalDeleteEntry(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t nameSpace, uint32_t searchAttr) {
  return nwsim_DeleteEntry(conn, dirHandle, path, nameSpace, searchAttr);
}

ENTRY CalRenameEntry(uint32_t conn, uint8_t dirHandle, const char* oldPath, uint32_t searchAttr, uint8_t reserved,
                     const char* newPath) {
  return nwsim_RenameEntry(conn, dirHandle, oldPath, searchAttr, reserved, newPath);
}

ENTRY CalVolumeNumber(uint32_t conn, const char* volume, uint8_t* number) {
  return nwsim_VolumeNumber(conn, volume, number);
}

ENTRY CalVolumeNameSpaces(uint32_t conn, uint8_t volume, uint32_t level, uint8_t* list, uint8_t* count) {
  return nwsim_VolumeNameSpaces(conn, volume, level, list, count);
}

ENTRY CalServerName(uint32_t conn, char* name, void*, void*, void*, void*, void*, void*, void*, void*, void*) {
  return nwsim_ServerName(conn, name);
}

ENTRY CalParsePath(const char* path, char* volume, uint32_t* conn, char* server, char* directory) {
  return nwsim_ParseNetWarePath(path, volume, conn, server, directory);
}

// Exported by name; nothing in the product calls it, the stand-in answers "not supported".
ENTRY NWScanMountedVolumeList() {
  return 0x89FB;
}
