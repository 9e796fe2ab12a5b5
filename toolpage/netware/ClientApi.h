// Typed calls of the NetWare client entry points (bound in ClientLibraries). Each returns
// the client's result code (0 = success); an unbound entry raises instead of calling.
#pragma once

#include <cstdint>

#include "NwTypes.h"

namespace toolpage::nwc {

// In/out block of a path conversion between name spaces.
struct TConvertPathBlock {
  const char* Source;
  char* Destination;  // room for Capacity characters
  uint16_t Capacity;
};

NWCCODE OpenConnByRef(TConnRef Ref, uint32_t OpenMode, TConnHandle& Conn);
NWCCODE CloseConn(TConnHandle Conn);
NWCCODE ConnRefOfHandle(TConnHandle Conn, TConnRef& Ref);
// Level-2 connection information: a 140-byte block (server name at 56, version at 124/128).
NWCCODE ConnInfoLevel2(TConnRef Ref, uint8_t* Block140);

NWCCODE ExtensionRequest(TConnHandle Conn, uint32_t ExtensionId, const void* Request, uint32_t RequestLen, void* Reply,
                         uint16_t* ReplyLen);
NWCCODE ExtensionInfoByName(TConnHandle Conn, const char* Name, uint32_t& Id, uint8_t& Major, uint8_t& Minor,
                            uint8_t& Revision);

NWCCODE ConsoleOperatorTest(TConnHandle Conn);
NWCCODE RemoteExecRightTest(TConnHandle Conn);

NWCCODE LoadModule(TConnHandle Conn, const char* Path);
NWCCODE UnloadModule(TConnHandle Conn, const char* Name);
NWCCODE ExecuteNcf(TConnHandle Conn, const char* Path);
NWCCODE ListModules(TConnHandle Conn, uint32_t StartNumber, uint8_t* Buffer1556);
NWCCODE ModuleInfo(TConnHandle Conn, uint32_t Number, char* FileName256, char* Text2_256, char* Text3_256,
                   void* InfoBlock);

NWCCODE AllocDirHandleNs(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t PathNameSpace,
                         TNWDirHandle& NewHandle, uint8_t HandleNameSpace);
NWCCODE AllocDirHandle(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, TNWDirHandle& NewHandle,
                       uint8_t& Rights);
NWCCODE FreeDirHandle(TConnHandle Conn, TNWDirHandle DirHandle);
NWCCODE ScanEntries(TConnHandle Conn, TNWDirHandle DirHandle, uint8_t NameSpace, uint32_t SearchAttributes,
                    uint8_t* Sequence12, const char* Pattern, uint32_t InfoMask, uint8_t* EntryInfo344);
NWCCODE EntryInfo(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t SourceNameSpace,
                  uint8_t DestNameSpace, uint32_t SearchAttributes, uint32_t InfoMask, uint8_t* EntryInfo344);
NWCCODE ConvertPath(TConnHandle Conn, TNWDirHandle DirHandle, uint8_t DestNameSpace, uint8_t SourceNameSpace,
                    uint32_t Flags, TConvertPathBlock& Block);
NWCCODE SetAttributes(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t NameSpace,
                      uint32_t SearchAttributes, uint32_t ChangeMask, uint32_t Attributes);
NWCCODE DeleteEntry(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t NameSpace,
                    uint32_t SearchAttributes);
NWCCODE RenameEntry(TConnHandle Conn, TNWDirHandle DirHandle, const char* OldPath, uint32_t SearchAttributes,
                    const char* NewPath);
NWCCODE VolumeNumber(TConnHandle Conn, const char* Volume, uint8_t& Number);
NWCCODE VolumeNameSpaces(TConnHandle Conn, uint8_t Volume, uint8_t* List7, uint8_t& Count);
NWCCODE ServerName(TConnHandle Conn, char* Name);
// Splits "server/volume:directory"; buffers of 257 characters. The returned connection
// handle must be closed by the caller.
NWCCODE ParseNetWarePath(const char* Path, char* Volume257, TConnHandle& Conn, char* Server257, char* Directory257);

}  // namespace toolpage::nwc
