#include "ServerFiles.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ClientApi.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "SearchProcess.h"
#include "ServerLoops.h"
#include "ServerNames.h"

namespace toolpage {

namespace {

constexpr NWCCODE kNameSpaceNotSupported = 0x89BF;
constexpr NWCCODE kNoMoreEntries = 0x89FF;
constexpr uint32_t kInfoMaskName = 1;
constexpr uint32_t kInfoMaskAttributes = 4;
constexpr uint32_t kChangeAttributes = 2;
constexpr size_t kPathSize = 257;

TNWDirHandle AllocDirHandleIn(TConnHandle Conn, const std::string& Path, uint8_t HandleNameSpace) {
  if (Path.empty()) return 0;
  TNWDirHandle handle = 0;
  NWCCODE code = nwc::AllocDirHandleNs(Conn, 0, Path.c_str(), nsLong, handle, HandleNameSpace);
  if (code == kNameSpaceNotSupported) {
    uint8_t rights = 0;
    code = nwc::AllocDirHandle(Conn, 0, Path.c_str(), handle, rights);
  }
  CheckNWError("Error creating directory handle", code);
  return handle;
}

// "SYS:SYSTEM\A.OKS" into "SYS:SYSTEM" and "A.OKS"; "SYS:A" into "SYS:" and "A".
void SplitEntryPath(const std::string& Path, std::string& Dir, std::string& Name) {
  size_t sep = Path.find_last_of("\\/");
  if (sep != std::string::npos) {
    Dir = Path.substr(0, sep);
    Name = Path.substr(sep + 1);
    return;
  }
  size_t colon = Path.find(':');
  Dir = colon == std::string::npos ? std::string() : Path.substr(0, colon + 1);
  Name = colon == std::string::npos ? Path : Path.substr(colon + 1);
}

}  // namespace

TDirHandleOwner::~TDirHandleOwner() {
  if (FHandle != 0) nwc::FreeDirHandle(FConn, FHandle);  // result ignored
}

TNWDirHandle AllocDosDirHandle(TConnHandle Conn, const std::string& Path) {
  return AllocDirHandleIn(Conn, Path, nsDOS);
}

TNWDirHandle AllocLongDirHandle(TConnHandle Conn, const std::string& Path) {
  return AllocDirHandleIn(Conn, Path, nsLong);
}

bool VolumeHasNameSpace(TConnHandle Conn, const std::string& Volume, uint8_t NameSpace) {
  std::string name = Volume;
  if (!name.empty() && name.back() == ':') name.pop_back();
  uint8_t number = 0;
  if (nwc::VolumeNumber(Conn, name.c_str(), number) != 0) return false;
  uint8_t list[7] = {}, count = 0;
  if (nwc::VolumeNameSpaces(Conn, number, list, count) != 0) return false;
  const uint8_t* end = list + std::min<size_t>(count, sizeof list);
  return std::find(static_cast<const uint8_t*>(list), end, NameSpace) != end;
}

bool VolumeHasNameSpaceByRef(TConnRef ConnRef, const std::string& Volume, uint8_t NameSpace) {
  TNWConnection conn(ConnRef);
  return conn.IsOpen() && VolumeHasNameSpace(conn.Handle(), Volume, NameSpace);
}

uint8_t GetPathNameSpace(TConnHandle Conn, const std::string& Path) {
  return VolumeHasNameSpace(Conn, ExtractVolume(Path), nsLong) ? uint8_t(nsLong) : uint8_t(nsDOS);
}

std::string GetDosPath(TConnHandle Conn, const std::string& Dir, const std::string& Name) {
  if (!Name.empty()) return GetDosEntryName(Conn, Dir, Name, false);
  if (Dir.empty()) return std::string();
  std::string path = Dir;
  if (path.back() == '\\') path.pop_back();
  if (IsVolumeRoot(path)) return path;
  std::vector<char> destination(kPathSize, 0);
  nwc::TConvertPathBlock block{path.c_str(), destination.data(), static_cast<uint16_t>(destination.size())};
  if (nwc::ConvertPath(Conn, 0, nsDOS, nsLong, 0, block) != 0) return path;
  destination.back() = 0;
  return destination.data();
}

std::string GetDosPathByRef(TConnRef ConnRef, const std::string& Dir, const std::string& Name) {
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return Name.empty() ? Dir : JoinServerPath(Dir, Name);
  return GetDosPath(conn.Handle(), Dir, Name);
}

std::string GetDosEntryName(TConnHandle Conn, const std::string& Dir, const std::string& Name, bool WithDirs) {
  TDirHandleOwner handle(Conn, AllocLongDirHandle(Conn, Dir));
  uint8_t info[kEntryInfoSize] = {};
  NWCCODE code = nwc::EntryInfo(Conn, handle.Get(), Name.c_str(), nsLong, nsDOS,
                                WithDirs ? saHiddenSystemDirs : saHiddenSystem, kInfoMaskName, info);
  if (code != 0) return fw::UpperCase(Name);
  return BoundedText(info, sizeof info, 85);
}

uint32_t GetServerEntryAttributes(TConnHandle Conn, const std::string& Path, uint32_t SearchAttributes) {
  std::string dir, name;
  SplitEntryPath(Path, dir, name);
  TNWDirHandle allocated = 0;
  try {
    allocated = AllocLongDirHandle(Conn, dir);
  } catch (const TNWException&) {
    return 0;
  }
  TDirHandleOwner handle(Conn, allocated);
  const uint8_t ns = GetPathNameSpace(Conn, Path);
  uint8_t info[kEntryInfoSize] = {};
  if (nwc::EntryInfo(Conn, handle.Get(), name.c_str(), ns, ns, SearchAttributes, kInfoMaskAttributes, info) != 0)
    return 0;
  uint32_t attributes;
  memcpy(&attributes, info + 4, 4);
  return attributes;
}

uint32_t GetServerFileAttributes(TConnHandle Conn, const std::string& Path) {
  return GetServerEntryAttributes(Conn, Path, saHiddenSystem);
}

void SetServerFileAttributes(TConnHandle Conn, const std::string& Path, uint32_t Attributes) {
  const uint8_t ns = GetPathNameSpace(Conn, Path);
  std::string path = ns == nsDOS ? fw::UpperCase(Path) : Path;
  NWCCODE code = nwc::SetAttributes(Conn, 0, path.c_str(), ns, saHiddenSystem, kChangeAttributes, Attributes);
  if (code != 0) CheckNWError(fw::Format("Error setting attribute of\r%s", OemToAnsiStr(path).c_str()), code);
}

void SetServerFileAttributesByRef(TConnRef ConnRef, const std::string& Path, uint32_t Attributes) {
  TNWConnection conn(ConnRef);
  if (conn.IsOpen()) SetServerFileAttributes(conn.Handle(), Path, Attributes);
}

void ScanServerFiles(TConnHandle Conn, const std::string& Mask, const std::string& Directory, bool DosOnly,
                     fw::TStrings& List) {
  const uint8_t ns = DosOnly ? uint8_t(nsDOS) : GetPathNameSpace(Conn, Directory);
  TDirHandleOwner handle(Conn, ns == nsLong ? AllocLongDirHandle(Conn, Directory) : AllocDosDirHandle(Conn, Directory));
  const TScanMask mask = ScanMaskOf(Mask);
  TEntryScanWalk walk;
  std::vector<std::string> names;
  uint8_t info[kEntryInfoSize] = {};
  NWCCODE code;
  while ((code = nwc::ScanEntries(Conn, handle.Get(), ns, saHiddenSystem, walk.Sequence(), mask.Pattern.c_str(),
                                  kInfoMaskName, info)) == 0) {
    try {
      walk.Answered();
    } catch (TNWException& e) {
      e.SetMessage("Error geting file list\r" + e.Message());
      throw;
    }
    std::string name = EntryInfoName(info);
    if (!mask.NamesWithoutDot || name.find('.') == std::string::npos) names.push_back(std::move(name));
  }
  if (code != kNoMoreEntries) CheckNWError("Error geting file list", code);
  for (const std::string& name : names) List.Add(name);
}

bool ListServerFiles(TConnHandle Conn, const std::string& Mask, const std::string& Directory, bool DosOnly,
                     fw::TStrings& List) {
  TConnRef ref = 0;
  nwc::ConnRefOfHandle(Conn, ref);  // result ignored: a reference of 0 lists nothing
  {
    const int before = List.Count();
    TDirListProcess search(ref, 1, Mask, Directory);
    if (search.FillList(List) && List.Count() > before) return true;
  }
  ScanServerFiles(Conn, Mask, Directory, DosOnly, List);
  return List.Count() > 0;
}

bool RenameServerFile(TConnRef ConnRef, const std::string& OldPath, const std::string& NewPath) {
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return false;
  NWCCODE code = nwc::RenameEntry(conn.Handle(), 0, OldPath.c_str(), saHiddenSystem, NewPath.c_str());
  if (code != 0) CheckNWError(fw::Format("Unable to rename file\r%s", OldPath.c_str()), code);
  return true;
}

}  // namespace toolpage
