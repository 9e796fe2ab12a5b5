// Files, directories and volumes on the server through the client library: directory
// handles, name spaces, DOS names, attributes, file lists and rename. Paths are in OEM
// characters, as the server stores them.
#pragma once

#include <cstdint>
#include <string>

#include "NwTypes.h"
#include "ServerPaths.h"
#include "core/Strings.h"

namespace toolpage {

// A temporary directory handle, freed with its connection's client call when the owner ends.
class TDirHandleOwner {
 public:
  TDirHandleOwner(TConnHandle Conn, TNWDirHandle Handle) : FConn(Conn), FHandle(Handle) {}
  ~TDirHandleOwner();
  TDirHandleOwner(const TDirHandleOwner&) = delete;
  TDirHandleOwner& operator=(const TDirHandleOwner&) = delete;
  TNWDirHandle Get() const { return FHandle; }

 private:
  TConnHandle FConn;
  TNWDirHandle FHandle;
};

// A handle for a directory given in long names, whose own name space is DOS respectively
// long names; 0 for an empty path. Without name-space support on the server (0x89BF) the
// plain allocation is used. Other failures raise "Error creating directory handle".
TNWDirHandle AllocDosDirHandle(TConnHandle Conn, const std::string& Path);
TNWDirHandle AllocLongDirHandle(TConnHandle Conn, const std::string& Path);

// One trailing ":" is cut from Volume; false on any failure.
bool VolumeHasNameSpace(TConnHandle Conn, const std::string& Volume, uint8_t NameSpace);
bool VolumeHasNameSpaceByRef(TConnRef ConnRef, const std::string& Volume, uint8_t NameSpace);
// 4 when the path's volume has long names loaded, else 0.
uint8_t GetPathNameSpace(TConnHandle Conn, const std::string& Path);

// The DOS form of Dir (with Name: of the entry Name in Dir); see GetDosEntryName.
std::string GetDosPath(TConnHandle Conn, const std::string& Dir, const std::string& Name = "");
std::string GetDosPathByRef(TConnRef ConnRef, const std::string& Dir, const std::string& Name = "");
// The DOS name of the entry Name in Dir; the upper-cased Name when the server has none.
std::string GetDosEntryName(TConnHandle Conn, const std::string& Dir, const std::string& Name, bool WithDirs);

// The entry's NetWare attributes; 0 on any failure.
uint32_t GetServerEntryAttributes(TConnHandle Conn, const std::string& Path, uint32_t SearchAttributes);
uint32_t GetServerFileAttributes(TConnHandle Conn, const std::string& Path);
// Raises "Error setting attribute of\r<path>" when the server refuses. The by-reference
// form does nothing when no handle can be opened.
void SetServerFileAttributes(TConnHandle Conn, const std::string& Path, uint32_t Attributes);
void SetServerFileAttributesByRef(TConnRef ConnRef, const std::string& Path, uint32_t Attributes);

// The names (OEM) of the files in Directory that match Mask, added to List: through the
// search module on the server when it answers, else through the client's own scan
// ("Error geting file list" when that fails). True when List is not empty.
bool ListServerFiles(TConnHandle Conn, const std::string& Mask, const std::string& Directory, bool DosOnly,
                     fw::TStrings& List);
// The client's scan alone.
void ScanServerFiles(TConnHandle Conn, const std::string& Mask, const std::string& Directory, bool DosOnly,
                     fw::TStrings& List);

// Raises "Unable to rename file\r<old path>" when the server refuses; false (no raise)
// when no handle can be opened.
bool RenameServerFile(TConnRef ConnRef, const std::string& OldPath, const std::string& NewPath);

}  // namespace toolpage
