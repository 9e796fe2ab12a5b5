#include "ClientApi.h"

#include "ClientLibraries.h"

namespace toolpage::nwc {

namespace {

// The entry's address as a stdcall function of the given type.
template <class R, class... A>
auto Entry(TClientEntry Id) {
  return reinterpret_cast<R(__stdcall*)(A...)>(ClientEntry(Id));
}

}  // namespace

NWCCODE OpenConnByRef(TConnRef Ref, uint32_t OpenMode, TConnHandle& Conn) {
  Conn = 0;
  return Entry<uint32_t, uint32_t, uint32_t, uint32_t, uint32_t*>(TClientEntry::ClxOpenConnByRef)(Ref, OpenMode, 0,
                                                                                                  &Conn);
}

NWCCODE CloseConn(TConnHandle Conn) {
  return Entry<uint32_t, uint32_t>(TClientEntry::ClxCloseConn)(Conn);
}

NWCCODE ConnRefOfHandle(TConnHandle Conn, TConnRef& Ref) {
  Ref = 0;
  return Entry<uint32_t, uint32_t, uint32_t*>(TClientEntry::ClxConnRef)(Conn, &Ref);
}

NWCCODE ConnInfoLevel2(TConnRef Ref, uint8_t* Block140) {
  return Entry<uint32_t, uint32_t, uint32_t, uint8_t*>(TClientEntry::ClxConnInfo)(Ref, 2, Block140);
}

NWCCODE ExtensionRequest(TConnHandle Conn, uint32_t ExtensionId, const void* Request, uint32_t RequestLen, void* Reply,
                         uint16_t* ReplyLen) {
  return Entry<uint32_t, uint32_t, uint32_t, const void*, uint32_t, void*, uint16_t*>(
      TClientEntry::CalExtensionRequest)(Conn, ExtensionId, Request, RequestLen, Reply, ReplyLen);
}

NWCCODE ExtensionInfoByName(TConnHandle Conn, const char* Name, uint32_t& Id, uint8_t& Major, uint8_t& Minor,
                            uint8_t& Revision) {
  return Entry<uint32_t, uint32_t, const char*, uint32_t*, uint8_t*, uint8_t*, uint8_t*, void*>(
      TClientEntry::CalExtensionByName)(Conn, Name, &Id, &Major, &Minor, &Revision, nullptr);
}

NWCCODE ConsoleOperatorTest(TConnHandle Conn) {
  return Entry<uint32_t, uint32_t>(TClientEntry::CalConsoleOperator)(Conn);
}

NWCCODE RemoteExecRightTest(TConnHandle Conn) {
  return Entry<uint32_t, uint32_t>(TClientEntry::CalRemoteExecRight)(Conn);
}

NWCCODE LoadModule(TConnHandle Conn, const char* Path) {
  return Entry<uint32_t, uint32_t, const char*>(TClientEntry::CalLoadModule)(Conn, Path);
}

NWCCODE UnloadModule(TConnHandle Conn, const char* Name) {
  return Entry<uint32_t, uint32_t, const char*>(TClientEntry::CalUnloadModule)(Conn, Name);
}

NWCCODE ExecuteNcf(TConnHandle Conn, const char* Path) {
  return Entry<uint32_t, uint32_t, const char*>(TClientEntry::CalExecuteNcf)(Conn, Path);
}

NWCCODE ListModules(TConnHandle Conn, uint32_t StartNumber, uint8_t* Buffer1556) {
  return Entry<uint32_t, uint32_t, uint32_t, uint8_t*>(TClientEntry::CalListModules)(Conn, StartNumber, Buffer1556);
}

NWCCODE ModuleInfo(TConnHandle Conn, uint32_t Number, char* FileName256, char* Text2_256, char* Text3_256,
                   void* InfoBlock) {
  return Entry<uint32_t, uint32_t, uint32_t, char*, char*, char*, void*>(TClientEntry::CalModuleInfo)(
      Conn, Number, FileName256, Text2_256, Text3_256, InfoBlock);
}

NWCCODE AllocDirHandleNs(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t PathNameSpace,
                         TNWDirHandle& NewHandle, uint8_t HandleNameSpace) {
  NewHandle = 0;
  return Entry<uint32_t, uint32_t, uint8_t, const char*, uint8_t, uint8_t*, uint8_t>(TClientEntry::CalAllocDirHandleNs)(
      Conn, DirHandle, Path, PathNameSpace, &NewHandle, HandleNameSpace);
}

NWCCODE AllocDirHandle(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, TNWDirHandle& NewHandle,
                       uint8_t& Rights) {
  NewHandle = 0;
  return Entry<uint32_t, uint32_t, uint8_t, const char*, uint8_t*, uint8_t*>(TClientEntry::CalAllocDirHandle)(
      Conn, DirHandle, Path, &NewHandle, &Rights);
}

NWCCODE FreeDirHandle(TConnHandle Conn, TNWDirHandle DirHandle) {
  return Entry<uint32_t, uint32_t, uint8_t>(TClientEntry::CalFreeDirHandle)(Conn, DirHandle);
}

NWCCODE ScanEntries(TConnHandle Conn, TNWDirHandle DirHandle, uint8_t NameSpace, uint32_t SearchAttributes,
                    uint8_t* Sequence12, const char* Pattern, uint32_t InfoMask, uint8_t* EntryInfo344) {
  return Entry<uint32_t, uint32_t, uint8_t, uint8_t, uint32_t, uint8_t*, const char*, uint32_t, uint8_t*>(
      TClientEntry::CalScanEntries)(Conn, DirHandle, NameSpace, SearchAttributes, Sequence12, Pattern, InfoMask,
                                    EntryInfo344);
}

NWCCODE EntryInfo(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t SourceNameSpace,
                  uint8_t DestNameSpace, uint32_t SearchAttributes, uint32_t InfoMask, uint8_t* EntryInfo344) {
  return Entry<uint32_t, uint32_t, uint8_t, const char*, uint8_t, uint8_t, uint32_t, uint32_t, uint8_t*>(
      TClientEntry::CalEntryInfo)(Conn, DirHandle, Path, SourceNameSpace, DestNameSpace, SearchAttributes, InfoMask,
                                  EntryInfo344);
}

NWCCODE ConvertPath(TConnHandle Conn, TNWDirHandle DirHandle, uint8_t DestNameSpace, uint8_t SourceNameSpace,
                    uint32_t Flags, TConvertPathBlock& Block) {
  return Entry<uint32_t, uint32_t, uint8_t, uint8_t, uint8_t, uint32_t, void*>(TClientEntry::CalConvertPath)(
      Conn, DirHandle, DestNameSpace, SourceNameSpace, Flags, &Block);
}

NWCCODE SetAttributes(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t NameSpace,
                      uint32_t SearchAttributes, uint32_t ChangeMask, uint32_t Attributes) {
  return Entry<uint32_t, uint32_t, uint8_t, const char*, uint8_t, uint32_t, uint32_t, uint32_t>(
      TClientEntry::CalSetAttributes)(Conn, DirHandle, Path, NameSpace, SearchAttributes, ChangeMask, Attributes);
}

NWCCODE DeleteEntry(TConnHandle Conn, TNWDirHandle DirHandle, const char* Path, uint8_t NameSpace,
                    uint32_t SearchAttributes) {
  return Entry<uint32_t, uint32_t, uint8_t, const char*, uint8_t, uint32_t>(TClientEntry::CalDeleteEntry)(
      Conn, DirHandle, Path, NameSpace, SearchAttributes);
}

NWCCODE RenameEntry(TConnHandle Conn, TNWDirHandle DirHandle, const char* OldPath, uint32_t SearchAttributes,
                    const char* NewPath) {
  return Entry<uint32_t, uint32_t, uint8_t, const char*, uint32_t, uint8_t, const char*>(TClientEntry::CalRenameEntry)(
      Conn, DirHandle, OldPath, SearchAttributes, 0, NewPath);
}

NWCCODE VolumeNumber(TConnHandle Conn, const char* Volume, uint8_t& Number) {
  return Entry<uint32_t, uint32_t, const char*, uint8_t*>(TClientEntry::CalVolumeNumber)(Conn, Volume, &Number);
}

NWCCODE VolumeNameSpaces(TConnHandle Conn, uint8_t Volume, uint8_t* List7, uint8_t& Count) {
  Count = 0;
  return Entry<uint32_t, uint32_t, uint8_t, uint32_t, uint8_t*, uint8_t*>(TClientEntry::CalVolumeNameSpaces)(
      Conn, Volume, 6, List7, &Count);
}

NWCCODE ServerName(TConnHandle Conn, char* Name) {
  return Entry<uint32_t, uint32_t, char*, void*, void*, void*, void*, void*, void*, void*, void*, void*>(
      TClientEntry::CalServerName)(Conn, Name, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr);
}

NWCCODE ParseNetWarePath(const char* Path, char* Volume257, TConnHandle& Conn, char* Server257, char* Directory257) {
  Conn = 0;
  return Entry<uint32_t, const char*, char*, uint32_t*, char*, char*>(TClientEntry::CalParsePath)(
      Path, Volume257, &Conn, Server257, Directory257);
}

}  // namespace toolpage::nwc
