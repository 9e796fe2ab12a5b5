// The simulated NetWare server behind the stand-in client libraries (NWSIM.DLL).
//
// Every client entry point of the stand-in CALWIN32/CLXWIN32/NETWIN32 libraries forwards
// to one function here. The server is described by a configuration file (see README.md)
// and keeps its state (loaded modules, attributes, name spaces) in a state file, so every
// process that loads the client sees the same server. Connection handles, directory
// handles and remote-procedure channels belong to the calling process, as with a real client.
#pragma once

#include <cstdint>

#ifdef NWSIM_BUILD
#define NWSIM_API extern "C" __declspec(dllexport)
#else
#define NWSIM_API extern "C" __declspec(dllimport)
#endif

// Connections.
NWSIM_API uint32_t nwsim_OpenConnByRef(uint32_t ref, uint32_t mode, uint32_t* conn);
NWSIM_API uint32_t nwsim_CloseConn(uint32_t conn);
NWSIM_API uint32_t nwsim_ConnRefOfHandle(uint32_t conn, uint32_t* ref);
NWSIM_API uint32_t nwsim_ConnInfoLevel2(uint32_t ref, uint8_t* block140);
NWSIM_API uint32_t nwsim_ServerName(uint32_t conn, char* name);
NWSIM_API uint32_t nwsim_ParseNetWarePath(const char* path, char* volume, uint32_t* conn, char* server,
                                          char* directory);

// NCP extensions.
NWSIM_API uint32_t nwsim_ExtensionInfoByName(uint32_t conn, const char* name, uint32_t* id, uint8_t* major,
                                             uint8_t* minor, uint8_t* revision);
NWSIM_API uint32_t nwsim_ExtensionRequest(uint32_t conn, uint32_t id, const void* request, uint32_t requestLen,
                                          void* reply, uint16_t* replyLen);

// Rights.
NWSIM_API uint32_t nwsim_ConsoleOperatorTest(uint32_t conn);
NWSIM_API uint32_t nwsim_RemoteExecTest(uint32_t conn);

// Server modules and NCF files.
NWSIM_API uint32_t nwsim_LoadModule(uint32_t conn, const char* path);
NWSIM_API uint32_t nwsim_UnloadModule(uint32_t conn, const char* name);
NWSIM_API uint32_t nwsim_ExecuteNcf(uint32_t conn, const char* path);
NWSIM_API uint32_t nwsim_ListModules(uint32_t conn, uint32_t start, uint8_t* buffer1556);
NWSIM_API uint32_t nwsim_ModuleInfo(uint32_t conn, uint32_t number, char* fileName, char* text2, char* text3,
                                    void* infoBlock);

// Directories, entries, volumes and name spaces.
NWSIM_API uint32_t nwsim_AllocDirHandleNs(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t pathNs,
                                          uint8_t* newHandle, uint8_t handleNs);
NWSIM_API uint32_t nwsim_AllocDirHandle(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t* newHandle,
                                        uint8_t* rights);
NWSIM_API uint32_t nwsim_FreeDirHandle(uint32_t conn, uint8_t dirHandle);
NWSIM_API uint32_t nwsim_ScanEntries(uint32_t conn, uint8_t dirHandle, uint8_t nameSpace, uint32_t searchAttr,
                                     uint8_t* sequence12, const char* pattern, uint32_t infoMask, uint8_t* info344);
NWSIM_API uint32_t nwsim_EntryInfo(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t srcNs, uint8_t dstNs,
                                   uint32_t searchAttr, uint32_t infoMask, uint8_t* info344);
NWSIM_API uint32_t nwsim_ConvertPath(uint32_t conn, uint8_t dirHandle, uint8_t dstNs, uint8_t srcNs, uint32_t flags,
                                     void* block);
NWSIM_API uint32_t nwsim_SetAttributes(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t nameSpace,
                                       uint32_t searchAttr, uint32_t changeMask, uint32_t attributes);
NWSIM_API uint32_t nwsim_DeleteEntry(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t nameSpace,
                                     uint32_t searchAttr);
NWSIM_API uint32_t nwsim_RenameEntry(uint32_t conn, uint8_t dirHandle, const char* oldPath, uint32_t searchAttr,
                                     uint8_t reserved, const char* newPath);
NWSIM_API uint32_t nwsim_VolumeNumber(uint32_t conn, const char* volume, uint8_t* number);
NWSIM_API uint32_t nwsim_VolumeNameSpaces(uint32_t conn, uint8_t volume, uint32_t level, uint8_t* list, uint8_t* count);

// Observation for tests and demos: never called by the product.
// Connection handles that this process opened and has not closed yet.
NWSIM_API int nwsim_OpenConnectionCount(void);
// Number of extension requests this process sent, and the bytes and reply capacity of the last one.
NWSIM_API int nwsim_ExtensionRequestCount(void);
NWSIM_API int nwsim_LastExtensionRequest(uint8_t* buffer, int capacity, uint32_t* extensionId, int* replyCapacity);
// Number of extension look-ups by name that reached the server in this process.
NWSIM_API int nwsim_ExtensionLookupCount(void);
// The entries deleted on the server with the attributes they had then, one line
// "VOL:PATH HEX" each (entries deleted through a share are noticed by the next request, and
// only those that had attributes); the text's length is returned.
NWSIM_API int nwsim_Deletions(char* buffer, int capacity);
// The open mode a connection handle of this process was opened with; 0 when it is not open.
NWSIM_API uint32_t nwsim_ConnectionOpenMode(uint32_t conn);
// How often this process called a client library's initialisation ("CALWIN32",
// "NETWIN32"), and the two arguments of the last call.
NWSIM_API int nwsim_ClientInitCalls(const char* library, uint32_t* lastFirst, uint32_t* lastSecond);

// For the stand-in client libraries: their initialisation entry was called.
NWSIM_API void nwsim_NoteClientInit(const char* library, uint32_t first, uint32_t second);
