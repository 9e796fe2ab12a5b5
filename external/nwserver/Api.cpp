// Entry points of NWSIM.DLL: one per client role, each checking its connection and
// answering from the configured server.
#define NWSIM_BUILD
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "Server.h"
#include "nwsim.h"

using namespace nwsim;

namespace nwsim {

TProcessSession& TProcessSession::Instance() {
  static TProcessSession session;
  return session;
}

bool TProcessSession::RefOf(uint32_t conn, uint32_t& ref) {
  std::lock_guard<std::mutex> guard(Lock);
  auto it = Connections.find(conn);
  if (it == Connections.end()) return false;
  ref = it->second;
  return true;
}

}  // namespace nwsim

namespace {

// The server behind an open connection handle; code says why there is none.
bool Connect(uint32_t conn, TConfig& config, uint32_t& code) {
  uint32_t ref;
  if (!TProcessSession::Instance().RefOf(conn, ref)) {
    code = kInvalidConnection;
    return false;
  }
  if (!LoadConfig(config)) {
    code = kNoConnToServer;
    return false;
  }
  code = kOk;
  return true;
}

uint32_t NewConnection(uint32_t ref, uint32_t mode, const std::string& server = "") {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  uint32_t handle = s.NextConnection++;
  s.Connections[handle] = ref;
  s.OpenModes[handle] = mode;
  if (!server.empty()) s.Servers[handle] = server;
  return handle;
}

// The server a connection reaches: the configured one unless a path named a peer.
std::string ServerOf(const TConfig& config, uint32_t conn) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  auto it = s.Servers.find(conn);
  return it == s.Servers.end() ? config.ServerName : it->second;
}

bool HasNameSpace(const TConfig& config, const std::string& volume, uint8_t ns) {
  if (ns == 0) return true;
  TStateSession session(config);
  const auto& list = session.State().NameSpaces[volume];
  return std::find(list.begin(), list.end(), ns) != list.end();
}

// A path given relative to a directory handle (0: the path names its volume itself).
bool PathOf(const TConfig& config, uint32_t conn, uint8_t dirHandle, const char* path, TNwPath& out, uint32_t& code) {
  const TNwPath* base = nullptr;
  TNwPath baseCopy;
  if (dirHandle != 0) {
    TProcessSession& s = TProcessSession::Instance();
    std::lock_guard<std::mutex> guard(s.Lock);
    auto it = s.DirHandles.find(dirHandle);
    if (it == s.DirHandles.end() || it->second.Conn != conn) {
      code = kBadDirHandle;
      return false;
    }
    baseCopy = it->second.Path;
    base = &baseCopy;
  }
  if (!ParseNwPath(FromWire(config, path ? path : ""), base, out)) {
    code = kInvalidPath;
    return false;
  }
  return true;
}

// Resolves an existing entry; the name space of the path must be loaded on its volume.
bool FindEntry(const TConfig& config, uint32_t conn, uint8_t dirHandle, const char* path, uint8_t ns, std::string& host,
               TNwPath& canonical, bool& directory, uint32_t& code) {
  TNwPath nw;
  if (!PathOf(config, conn, dirHandle, path, nw, code)) return false;
  if (config.FindVolume(nw.Volume) == nullptr) {
    code = kVolumeDoesNotExist;
    return false;
  }
  if (!HasNameSpace(config, nw.Volume, ns)) {
    code = kInvalidNameSpace;
    return false;
  }
  TVolumes volumes(config);
  if (!volumes.Resolve(nw, host, canonical, code)) return false;
  if (!volumes.Exists(host, &directory)) {
    code = kFailure;
    return false;
  }
  return true;
}

uint32_t AttributesOf(const TConfig& config, const TNwPath& canonical, bool directory) {
  TStateSession session(config);
  auto& attrs = session.State().Attributes;
  auto it = attrs.find(canonical.Key());
  return (it == attrs.end() ? 0 : it->second) | (directory ? uint32_t(faDirectory) : 0u);
}

void CopyText(char* dst, const std::string& src, size_t cap) {
  if (!dst) return;
  size_t n = std::min(src.size(), cap - 1);
  memcpy(dst, src.data(), n);
  dst[n] = 0;
}

void Put32(uint8_t* p, uint32_t v) {
  memcpy(p, &v, 4);
}

uint32_t AllocHandle(uint32_t conn, const TNwPath& path, uint8_t ns, uint8_t* newHandle) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  for (int h = 1; h < 256; ++h) {
    if (s.DirHandles.count(static_cast<uint8_t>(h))) continue;
    s.DirHandles[static_cast<uint8_t>(h)] = {conn, path, ns};
    if (newHandle) *newHandle = static_cast<uint8_t>(h);
    return kOk;
  }
  return kNoMoreDirHandles;
}

}  // namespace

// --- connections ---------------------------------------------------------------

NWSIM_API uint32_t nwsim_OpenConnByRef(uint32_t ref, uint32_t mode, uint32_t* conn) {
  if (conn) *conn = 0;
  TConfig config;
  if (ref == 0) return kInvalidConnection;
  if (!LoadConfig(config)) return kNoConnToServer;
  if (config.StaleReferences.count(ref)) return kInvalidConnection;
  if (conn) *conn = NewConnection(ref, mode);
  return kOk;
}

NWSIM_API uint32_t nwsim_CloseConn(uint32_t conn) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  if (!s.Connections.erase(conn)) return kInvalidConnection;
  s.OpenModes.erase(conn);
  s.Servers.erase(conn);
  for (auto it = s.DirHandles.begin(); it != s.DirHandles.end();)
    it = it->second.Conn == conn ? s.DirHandles.erase(it) : std::next(it);
  for (auto it = s.Channels.begin(); it != s.Channels.end();)
    it = it->second.Conn == conn ? s.Channels.erase(it) : std::next(it);
  return kOk;
}

NWSIM_API uint32_t nwsim_ConnRefOfHandle(uint32_t conn, uint32_t* ref) {
  uint32_t r = 0;
  bool ok = TProcessSession::Instance().RefOf(conn, r);
  if (ref) *ref = r;
  return ok ? kOk : kInvalidConnection;
}

NWSIM_API uint32_t nwsim_ConnInfoLevel2(uint32_t ref, uint8_t* block) {
  TConfig config;
  if (ref == 0) return kInvalidConnection;
  if (!LoadConfig(config)) return kNoConnToServer;
  if (config.StaleReferences.count(ref)) return kInvalidConnection;
  if (config.HasFault("conninfo-fails")) return kNoConnToServer;
  if (!block) return kOk;
  CopyText(reinterpret_cast<char*>(block + 56), config.ServerName, 48);
  Put32(block + 124, static_cast<uint32_t>(config.Version / 100));
  Put32(block + 128, static_cast<uint32_t>(config.Version % 100));
  return kOk;
}

NWSIM_API uint32_t nwsim_ServerName(uint32_t conn, char* name) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  if (config.HasFault("conninfo-fails")) return kNoConnToServer;
  CopyText(name, ServerOf(config, conn), 49);
  return kOk;
}

NWSIM_API uint32_t nwsim_ParseNetWarePath(const char* path, char* volume, uint32_t* conn, char* server,
                                          char* directory) {
  if (conn) *conn = 0;
  TConfig config;
  if (!LoadConfig(config)) return kNoConnToServer;
  std::string p = FromWire(config, path ? path : "");
  size_t slash = p.find('/');
  size_t colon = p.find(':');
  if (colon == std::string::npos) return kInvalidPath;
  std::string srv = UpperStr(slash != std::string::npos && slash < colon ? p.substr(0, slash) : config.ServerName);
  const auto& peers = config.PeerServers;
  if (srv != config.ServerName && std::find(peers.begin(), peers.end(), srv) == peers.end()) return kNoConnToServer;
  size_t volStart = slash != std::string::npos && slash < colon ? slash + 1 : 0;
  std::string vol = p.substr(volStart, colon - volStart);
  std::string dir = p.substr(colon + 1);
  while (!dir.empty() && (dir[0] == '\\' || dir[0] == '/')) dir.erase(0, 1);
  if (config.FindVolume(vol) == nullptr) return kVolumeDoesNotExist;
  CopyText(volume, UpperStr(vol), 257);
  CopyText(server, srv, 257);
  CopyText(directory, ToWire(config, dir), 257);
  if (conn) *conn = NewConnection(1, 1, srv);
  return kOk;
}

// --- NCP extensions -------------------------------------------------------------

NWSIM_API uint32_t nwsim_ExtensionInfoByName(uint32_t conn, const char* name, uint32_t* id, uint8_t* major,
                                             uint8_t* minor, uint8_t* revision) {
  TConfig config;
  uint32_t code;
  {
    TProcessSession& s = TProcessSession::Instance();
    std::lock_guard<std::mutex> guard(s.Lock);
    ++s.LookupCount;
  }
  if (!Connect(conn, config, code)) return code;
  std::string n = name ? name : "";
  uint32_t ext = ExtensionId(n);
  if (ext == 0) return kFailure;
  TStateSession session(config);
  bool loaded = false;
  for (const std::string& m : session.State().Modules) loaded = loaded || ExtensionOfModule(ModuleBaseName(m)) == n;
  if (!loaded) return kFailure;
  TExtensionVersion v;
  auto it = config.ExtensionVersions.find(n);
  if (it != config.ExtensionVersions.end()) v = it->second;
  if (id) *id = ext;
  if (major) *major = v.Major;
  if (minor) *minor = v.Minor;
  if (revision) *revision = v.Revision;
  return kOk;
}

NWSIM_API uint32_t nwsim_ExtensionRequest(uint32_t conn, uint32_t id, const void* request, uint32_t requestLen,
                                          void* reply, uint16_t* replyLen) {
  TProcessSession& s = TProcessSession::Instance();
  {
    std::lock_guard<std::mutex> guard(s.Lock);
    ++s.RequestCount;
    const uint8_t* p = static_cast<const uint8_t*>(request);
    s.LastRequest.assign(p, p + (p ? requestLen : 0));
    s.LastExtension = id;
    s.LastReplyCapacity = replyLen ? *replyLen : -1;
  }
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  std::string name = ExtensionName(id);
  const uint8_t* req = static_cast<const uint8_t*>(request);
  if (req == nullptr) requestLen = 0;
  // A call on an open channel needs no look at the modules: the channel was opened while
  // its module was loaded (and a search may ask thousands of times).
  const bool channelCall = name != "KAVEL:STD4" && requestLen > 0 && req[0] != 0xDC;
  if (!channelCall) {
    TStateSession session(config);
    bool loaded = false;
    for (const std::string& m : session.State().Modules)
      loaded = loaded || (!name.empty() && ExtensionOfModule(ModuleBaseName(m)) == name);
    if (!loaded) return kFailure;
  }
  if (name == "KAVEL:STD4") return HandleStd4(config, req, requestLen, static_cast<uint8_t*>(reply), replyLen);
  return HandleRemoteProcedure(config, conn, id, req, requestLen, static_cast<uint8_t*>(reply), replyLen);
}

// --- rights ---------------------------------------------------------------------

NWSIM_API uint32_t nwsim_ConsoleOperatorTest(uint32_t conn) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  return config.ConsoleOperator ? kOk : kNoConsolePrivileges;
}

NWSIM_API uint32_t nwsim_RemoteExecTest(uint32_t conn) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  return config.RemoteExec ? kOk : kAccessDenied;
}

// --- modules and NCF files --------------------------------------------------------

// Loading and unloading by request: servers from 4.10 on, console operators only.
static uint32_t ModuleCommandRefused(const TConfig& config) {
  if (config.Version < 410) return kNotSupported;
  if (!config.ConsoleOperator) return kNoConsolePrivileges;
  return kOk;
}

NWSIM_API uint32_t nwsim_LoadModule(uint32_t conn, const char* path) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  if (uint32_t refused = ModuleCommandRefused(config)) return refused;
  TStateSession session(config);
  session.ConsoleLog(std::string("LOAD ") + (path ? path : ""));
  return LoadModuleFile(config, session, path ? path : "");
}

NWSIM_API uint32_t nwsim_UnloadModule(uint32_t conn, const char* name) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  if (uint32_t refused = ModuleCommandRefused(config)) return refused;
  TStateSession session(config);
  session.ConsoleLog(std::string("UNLOAD ") + (name ? name : ""));
  return UnloadModuleByName(config, session, name ? name : "");
}

NWSIM_API uint32_t nwsim_ExecuteNcf(uint32_t conn, const char* path) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  if (config.Version <= 312) return kNotSupported;
  if (!config.ConsoleOperator) return kNoConsolePrivileges;
  TStateSession session(config);
  return RunNcfFile(config, session, path ? path : "");
}

NWSIM_API uint32_t nwsim_ListModules(uint32_t conn, uint32_t start, uint8_t* buffer) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  if (config.Version < 410) return kNotSupported;
  TStateSession session(config);
  const auto& modules = session.State().Modules;
  memset(buffer, 0, 1556);
  uint32_t count = 0;
  const auto& numbers = session.State().ModuleNumbers;
  for (uint32_t i = start; i < modules.size() && count < 128; ++i, ++count) Put32(buffer + 20 + 4 * count, numbers[i]);
  if (config.HasFault("modules-always-more")) {
    // Every batch full and more to follow: numbers past the loaded modules name none.
    for (; count < 128; ++count) Put32(buffer + 20 + 4 * count, 100000 + start + count);
  } else if (config.HasFault("modules-same-batch")) {
    // The first batch again whatever the start, announced as full.
    for (uint32_t i = 0; i < 128; ++i) Put32(buffer + 20 + 4 * i, i < numbers.size() ? numbers[i] : 0);
    count = 128;
  }
  Put32(buffer, start);
  Put32(buffer + 16, count);
  return kOk;
}

NWSIM_API uint32_t nwsim_ModuleInfo(uint32_t conn, uint32_t number, char* fileName, char* text2, char* text3, void*) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  TStateSession session(config);
  const auto& numbers = session.State().ModuleNumbers;
  auto found = std::find(numbers.begin(), numbers.end(), number);
  if (number == 0 || found == numbers.end()) return kNoSuchObject;
  const std::string& file = session.State().Modules[static_cast<size_t>(found - numbers.begin())];
  CopyText(fileName, file, 256);
  CopyText(text2, "Simulated module " + ModuleBaseName(file), 256);
  CopyText(text3, "Simulated NetWare server " + config.ServerName, 256);
  return kOk;
}

// --- directories, entries, volumes ---------------------------------------------------

static uint32_t AllocDir(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t pathNs, uint8_t handleNs,
                         uint8_t* newHandle) {
  if (newHandle) *newHandle = 0;
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  std::string host;
  TNwPath canonical;
  bool directory = false;
  TNwPath nw;
  if (!PathOf(config, conn, dirHandle, path, nw, code)) return code;
  if (config.FindVolume(nw.Volume) && !HasNameSpace(config, nw.Volume, handleNs)) return kInvalidNameSpace;
  if (!FindEntry(config, conn, dirHandle, path, pathNs, host, canonical, directory, code))
    return code == kFailure ? kInvalidPath : code;
  if (!directory) return kInvalidPath;
  return AllocHandle(conn, canonical, handleNs, newHandle);
}

NWSIM_API uint32_t nwsim_AllocDirHandleNs(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t pathNs,
                                          uint8_t* newHandle, uint8_t handleNs) {
  return AllocDir(conn, dirHandle, path, pathNs, handleNs, newHandle);
}

NWSIM_API uint32_t nwsim_AllocDirHandle(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t* newHandle,
                                        uint8_t* rights) {
  if (rights) *rights = 0xFF;
  return AllocDir(conn, dirHandle, path, 0, 0, newHandle);
}

NWSIM_API uint32_t nwsim_FreeDirHandle(uint32_t conn, uint8_t dirHandle) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  auto it = s.DirHandles.find(dirHandle);
  if (it == s.DirHandles.end() || it->second.Conn != conn) return kBadDirHandle;
  s.DirHandles.erase(it);
  return kOk;
}

static bool Visible(uint32_t attributes, bool directory, uint32_t searchAttr) {
  if (directory && !(searchAttr & faDirectory)) return false;
  if ((attributes & faHidden) && !(searchAttr & faHidden)) return false;
  if ((attributes & faSystem) && !(searchAttr & faSystem)) return false;
  return true;
}

NWSIM_API uint32_t nwsim_ScanEntries(uint32_t conn, uint8_t dirHandle, uint8_t nameSpace, uint32_t searchAttr,
                                     uint8_t* sequence, const char* pattern, uint32_t, uint8_t* info) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  if (dirHandle == 0) return kBadDirHandle;
  std::string host;
  TNwPath dir;
  bool directory = false;
  if (!FindEntry(config, conn, dirHandle, "", nameSpace, host, dir, directory, code)) return code;
  int32_t last;
  memcpy(&last, sequence + 8, 4);
  TVolumes volumes(config);
  std::vector<TEntry> entries = volumes.List(host);
  if (config.HasFault("scan-error") && last >= 0) return kAccessDenied;  // after the first entry
  for (int32_t i = last < 0 ? 0 : last + 1; i < static_cast<int32_t>(entries.size()); ++i) {
    const TEntry& e = entries[i];
    std::string name = ToWire(config, nameSpace == 4 ? e.Name : DosNameIn(entries, static_cast<size_t>(i)));
    if (!WildMatch(pattern ? pattern : "*", name)) continue;
    TNwPath entry = dir;
    entry.Parts.push_back(e.Name);
    uint32_t attributes = AttributesOf(config, entry, e.Directory);
    if (!Visible(attributes, e.Directory, searchAttr)) continue;
    if (!config.HasFault("scan-repeats")) memcpy(sequence + 8, &i, 4);  // the lie: the same entry again
    FillEntryInfo(info, name, attributes);
    return kOk;
  }
  return kFailure;
}

NWSIM_API uint32_t nwsim_EntryInfo(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t srcNs, uint8_t dstNs,
                                   uint32_t searchAttr, uint32_t, uint8_t* info) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  std::string host;
  TNwPath canonical;
  bool directory = false;
  if (!FindEntry(config, conn, dirHandle, path, srcNs, host, canonical, directory, code)) return code;
  if (!HasNameSpace(config, canonical.Volume, dstNs)) return kInvalidNameSpace;
  TVolumes volumes(config);
  uint32_t attributes = AttributesOf(config, canonical, directory);
  if (canonical.Parts.empty() || !Visible(attributes, directory, searchAttr)) return kFailure;
  std::string name = dstNs == 4 ? canonical.Parts.back() : volumes.DosNameOf(canonical);
  FillEntryInfo(info, ToWire(config, name), attributes);
  return kOk;
}

// The in/out block of a path conversion, as the client's callers lay it out.
struct TConvertBlock {
  const char* Source;
  char* Destination;
  uint16_t Capacity;
};

NWSIM_API uint32_t nwsim_ConvertPath(uint32_t conn, uint8_t dirHandle, uint8_t dstNs, uint8_t srcNs, uint32_t,
                                     void* blockPtr) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  TConvertBlock* block = static_cast<TConvertBlock*>(blockPtr);
  if (!block || !block->Source || !block->Destination || block->Capacity == 0) return kInvalidPath;
  std::string host;
  TNwPath canonical;
  bool directory = false;
  if (!FindEntry(config, conn, dirHandle, block->Source, srcNs, host, canonical, directory, code)) return code;
  std::string out = canonical.Volume + ":";
  TVolumes volumes(config);
  TNwPath prefix;
  prefix.Volume = canonical.Volume;
  for (size_t i = 0; i < canonical.Parts.size(); ++i) {
    if (i) out += '\\';
    prefix.Parts.push_back(canonical.Parts[i]);
    out += dstNs == 4 ? canonical.Parts[i] : volumes.DosNameOf(prefix);
  }
  out = ToWire(config, out);
  if (out.size() + 1 > block->Capacity) return kFailure;
  CopyText(block->Destination, out, block->Capacity);
  return kOk;
}

NWSIM_API uint32_t nwsim_SetAttributes(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t nameSpace,
                                       uint32_t searchAttr, uint32_t changeMask, uint32_t attributes) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  std::string host;
  TNwPath canonical;
  bool directory = false;
  if (!FindEntry(config, conn, dirHandle, path, nameSpace, host, canonical, directory, code)) return code;
  if (canonical.Parts.empty()) return kInvalidPath;
  if (!(changeMask & 2)) return kOk;
  TStateSession session(config);
  uint32_t value = attributes & ~faDirectory;
  if (value)
    session.State().Attributes[canonical.Key()] = value;
  else
    session.State().Attributes.erase(canonical.Key());
  session.MarkChanged();
  return kOk;
}

NWSIM_API uint32_t nwsim_DeleteEntry(uint32_t conn, uint8_t dirHandle, const char* path, uint8_t nameSpace,
                                     uint32_t searchAttr) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  std::string host;
  TNwPath canonical;
  bool directory = false;
  if (!FindEntry(config, conn, dirHandle, path, nameSpace, host, canonical, directory, code)) return code;
  if (directory || canonical.Parts.empty()) return kFailure;
  TStateSession session(config);
  auto& attrs = session.State().Attributes;
  auto it = attrs.find(canonical.Key());
  uint32_t a = it == attrs.end() ? 0 : it->second;
  if (!Visible(a, false, searchAttr)) return kFailure;
  if (a & (faReadOnly | faDeleteInhibit)) return kNoDeletePrivilege;
  if (!DeleteFileA(host.c_str())) return kFailure;
  session.NoteDeleted(canonical.Key(), a);
  if (it != attrs.end()) {
    attrs.erase(it);
    session.MarkChanged();
  }
  return kOk;
}

NWSIM_API uint32_t nwsim_RenameEntry(uint32_t conn, uint8_t dirHandle, const char* oldPath, uint32_t searchAttr,
                                     uint8_t, const char* newPath) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  std::string oldHost, newHost;
  TNwPath oldCanonical, newNw, newCanonical;
  bool directory = false;
  if (!FindEntry(config, conn, dirHandle, oldPath, 0, oldHost, oldCanonical, directory, code)) return code;
  if (!PathOf(config, conn, dirHandle, newPath, newNw, code)) return code;
  TVolumes volumes(config);
  if (!volumes.Resolve(newNw, newHost, newCanonical, code)) return code;
  if (newCanonical.Volume != oldCanonical.Volume) return kFailure;
  TStateSession session(config);
  auto& attrs = session.State().Attributes;
  auto it = attrs.find(oldCanonical.Key());
  uint32_t a = it == attrs.end() ? 0 : it->second;
  if (a & (faReadOnly | faRenameInhibit)) return kNoRenamePrivilege;
  if (volumes.Exists(newHost) && newCanonical.Key() != oldCanonical.Key()) return kAllNamesExist;
  // The target's last component keeps the case it was given in.
  newHost = newHost.substr(0, newHost.find_last_of('\\') + 1) + newNw.Parts.back();
  if (!MoveFileA(oldHost.c_str(), newHost.c_str())) return kFailure;
  if (it != attrs.end()) {
    attrs.erase(it);
    attrs[newCanonical.Key()] = a;
    session.MarkChanged();
  }
  return kOk;
}

NWSIM_API uint32_t nwsim_VolumeNumber(uint32_t conn, const char* volume, uint8_t* number) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  int i = config.VolumeIndex(volume ? volume : "");
  if (i < 0) return kVolumeDoesNotExist;
  if (number) *number = static_cast<uint8_t>(i);
  return kOk;
}

NWSIM_API uint32_t nwsim_VolumeNameSpaces(uint32_t conn, uint8_t volume, uint32_t, uint8_t* list, uint8_t* count) {
  TConfig config;
  uint32_t code;
  if (!Connect(conn, config, code)) return code;
  if (volume >= config.Volumes.size()) return kVolumeDoesNotExist;
  TStateSession session(config);
  const auto& spaces = session.State().NameSpaces[config.Volumes[volume].Name];
  size_t n = std::min<size_t>(spaces.size(), 7);
  if (list) memcpy(list, spaces.data(), n);
  if (count) *count = static_cast<uint8_t>(n);
  return kOk;
}

// --- observation -------------------------------------------------------------------

NWSIM_API int nwsim_OpenConnectionCount(void) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  return static_cast<int>(s.Connections.size());
}

NWSIM_API int nwsim_ExtensionRequestCount(void) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  return s.RequestCount;
}

NWSIM_API int nwsim_ExtensionLookupCount(void) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  return s.LookupCount;
}

NWSIM_API int nwsim_LastExtensionRequest(uint8_t* buffer, int capacity, uint32_t* extensionId, int* replyCapacity) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  int n = static_cast<int>(s.LastRequest.size());
  if (buffer) memcpy(buffer, s.LastRequest.data(), std::min(n, capacity));
  if (extensionId) *extensionId = s.LastExtension;
  if (replyCapacity) *replyCapacity = s.LastReplyCapacity;
  return n;
}

NWSIM_API int nwsim_Deletions(char* buffer, int capacity) {
  TConfig config;
  if (!LoadConfig(config)) return 0;
  std::string text = TStateSession(config).Deletions();  // the session notices entries gone since
  if (buffer && capacity > 0) CopyText(buffer, text, static_cast<size_t>(capacity));
  return static_cast<int>(text.size());
}

NWSIM_API uint32_t nwsim_ConnectionOpenMode(uint32_t conn) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  auto it = s.OpenModes.find(conn);
  return it == s.OpenModes.end() ? 0 : it->second;
}

NWSIM_API int nwsim_ClientInitCalls(const char* library, uint32_t* lastFirst, uint32_t* lastSecond) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  const TProcessSession::TInitCalls& calls = s.ClientInits[library ? library : ""];
  if (lastFirst) *lastFirst = calls.First;
  if (lastSecond) *lastSecond = calls.Second;
  return calls.Count;
}

NWSIM_API void nwsim_NoteClientInit(const char* library, uint32_t first, uint32_t second) {
  TProcessSession& s = TProcessSession::Instance();
  std::lock_guard<std::mutex> guard(s.Lock);
  TProcessSession::TInitCalls& calls = s.ClientInits[library ? library : ""];
  ++calls.Count;
  calls.First = first;
  calls.Second = second;
}
