#include "NlmMgr.h"

#include <windows.h>

#include <memory>

#include "ClientApi.h"
#include "MessageWait.h"
#include "NcpExtensions.h"
#include "NwConnection.h"
#include "NwErrors.h"
#include "ServerInfo.h"
#include "ServerNames.h"
#include "Std4Requests.h"
#include "WaitCursor.h"
#include "core/SysUtils.h"

namespace toolpage {

const char* const kRemoteLoadErrorText =
    "Error executing remote NCF command.\rPlease enter %s command on server console.\rThe command will load all "
    "necessary NLMs";
const char* const kNoRemoteLoadText =
    "This system doesn't support remote loading.\rPlease enter %s command on server console.\rThe command will load "
    "all necessary NLMs";
const char* const kNoRemoteUnloadText =
    "This system does not support remote unloading.\rPlease enter %s command on server console.\rThis command will "
    "unload all necessary NLMs";

namespace {

const int32_t kDirectModuleVersion = 410;  // direct load and unload from this version on
const int32_t kDirectNcfVersion = 313;     // the client executes NCF files from this version on
const size_t kMaxNcfPath = 128;

// The calendar day of a file's last write in local time (yyyymmdd); false when the file
// cannot be read.
bool FileDay(const std::string& Path, uint32_t& Day) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &data)) return false;
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st)) return false;
  Day = st.wYear * 10000u + st.wMonth * 100u + st.wDay;
  return true;
}

// Newer when the server has no copy, or when the local file is of a later day.
bool IsNewerFile(const std::string& LocalPath, const std::string& ServerPath) {
  if (GetFileAttributesA(ServerPath.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  uint32_t localDay = 0, serverDay = 0;
  return FileDay(LocalPath, localDay) && FileDay(ServerPath, serverDay) && localDay > serverDay;
}

std::string RunningProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string DirectoryOf(const std::string& Path) {
  size_t sep = Path.find_last_of("\\/");
  return sep == std::string::npos ? "" : Path.substr(0, sep + 1);
}

// Collect mode for the scope's lifetime, off again on every path.
class TCollectScope {
 public:
  TCollectScope(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { FFlag = Value; }
  ~TCollectScope() { FFlag = FSaved; }
  TCollectScope(const TCollectScope&) = delete;
  TCollectScope& operator=(const TCollectScope&) = delete;

 private:
  bool& FFlag;
  bool FSaved;
};

std::unique_ptr<TNlmMgr> gNlmMgr;

}  // namespace

TNlmMgr::TNlmMgr() : FHostProgram(RunningProgram()) {}

bool TNlmMgr::GetLoadedVersion(TConnRef ConnRef, const std::string& Name, bool Uncached, double& Version) {
  Version = 0;
  SetServerVersion(GetServerVersion(ConnRef));
  if (ServerVersion() <= 2) return false;
  const TNlmDesc* desc = FindNlm(Name);
  if (!desc) return false;
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return false;
  if (desc->ExtensionName.empty()) return IsNlmLoaded(ConnRef, Name);
  uint8_t major = 0, minor = 0, revision = 0;
  int32_t id = Uncached ? GetNCPExtensionUncached(conn.Handle(), desc->ExtensionName, &major, &minor, &revision)
                        : GetNCPExtension(conn.Handle(), desc->ExtensionName, &major, &minor, &revision, nullptr);
  if (!IsValidExtensionID(id)) return false;
  Version = major + minor / 100.0;
  return true;
}

bool TNlmMgr::IsLoaded(TConnRef ConnRef, const std::string& Name, bool Uncached) {
  double version = 0;
  return GetLoadedVersion(ConnRef, Name, Uncached, version);
}

std::string TNlmMgr::ServerUNC(TConnRef ConnRef) const {
  return ServerPathToUNC(ConnRef, FServerDir);
}

void TNlmMgr::CopyIfNewer(TConnRef ConnRef, const TNlmDesc& Desc, const std::string& ServerUNCDir) {
  const std::string local = DirectoryOf(FHostProgram) + Desc.FileName;
  const std::string remote = ServerUNCDir + "\\" + Desc.FileName;
  if (!IsNewerFile(local, remote)) return;
  if (IsLoaded(ConnRef, Desc.Name, true)) {
    // Unloaded now, also while an LD file is being collected: the file is never replaced
    // under a loaded module.
    {
      TCollectScope direct(FCollect, false);
      UnloadWithDependents(ConnRef, Desc.Name);
    }
    if (IsLoaded(ConnRef, Desc.Name, true))
      throw fw::Exception(fw::Format("%s is still loaded on the server and was not replaced", Desc.FileName));
  }
  TWaitCursorScope waitCursor;
  if (!CopyFileA(local.c_str(), remote.c_str(), FALSE))
    throw fw::Exception(fw::Format("Unable to copy %s\rto %s", local, remote));
}

bool TNlmMgr::IsLoadedAndKept(TConnRef ConnRef, const TNlmDesc& Desc) {
  if (FCollect) {
    for (const std::string& line : FScript.ToVector())
      if (line.find("Unload ") != std::string::npos && line.find(Desc.Name) != std::string::npos) return false;
  }
  return IsLoaded(ConnRef, Desc.Name, true);
}

void TNlmMgr::LoadNlm(TConnRef ConnRef, const std::string& Name, TNlmList& ToLoad, bool Load) {
  const TNlmDesc* desc = FindNlm(Name);
  if (!desc) return;
  CopyIfNewer(ConnRef, *desc, ServerUNC(ConnRef));
  if (IsLoadedAndKept(ConnRef, *desc) || !Load) return;
  if (ServerVersion() >= kDirectModuleVersion && (!FAsk || !OnConfirm)) {
    TNWConnection conn(ConnRef);
    if (!conn.IsOpen()) return;
    const std::string path = FServerDir + "\\" + desc->FileName;
    NWCCODE code = nwc::LoadModule(conn.Handle(), path.c_str());
    conn.Close();
    WaitAnswering(ModulePause);
    CheckNWError("Error loading module\r" + path, code);
  } else {
    ToLoad.push_back(desc);
  }
}

void TNlmMgr::UnloadNlm(TConnRef ConnRef, const std::string& Name, TNlmList& ToUnload) {
  const TNlmDesc* desc = FindNlm(Name);
  if (!desc || !IsLoaded(ConnRef, Name, true)) return;
  if (ServerVersion() < kDirectModuleVersion) {
    ToUnload.push_back(desc);
    return;
  }
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return;
  NWCCODE code = nwc::ConsoleOperatorTest(conn.Handle());
  if (code == 0) code = nwc::UnloadModule(conn.Handle(), desc->Name.c_str());
  conn.Close();
  WaitAnswering(ModulePause);
  CheckNWError("Error unloading module\r" + desc->Name, code);
}

bool TNlmMgr::MayExecuteRemotely(TConnRef ConnRef) const {
  return HasRemoteExecRight(ConnRef) && IsConsoleOperator(ConnRef);
}

void TNlmMgr::Inform(const std::string& Text) {
  if (OnInformation) {
    OnInformation(Text);
  } else {
    MessageBoxA(GetActiveWindow(), Text.c_str(), "Information", MB_OK | MB_ICONINFORMATION);
  }
}

void TNlmMgr::LoadWithDependencies(TConnRef ConnRef, const std::string& Name, bool KeepScript, bool Load) {
  if (ConnRef == 0) return;
  SetServerVersion(GetServerVersion(ConnRef));
  if (ServerVersion() <= 2) return;
  TCollectScope collect(FCollect, true);
  TNlmList toLoad;
  const std::string uncDir = ServerUNC(ConnRef);
  const std::string scriptName = LoadScriptName();
  FScript.Clear();
  FScript.Add("; Test of disk access");
  FScript.SaveToFile(uncDir + "\\" + scriptName);

  TNlmClosure deps;
  CollectDependencies(Name, deps, 0);
  for (const TNlmDepth& dep : deps) LoadNlm(ConnRef, dep.Name, toLoad, Load);
  LoadNlm(ConnRef, Name, toLoad, Load);
  if (!Load || toLoad.empty()) return;

  FScript.Clear();
  std::string names;
  for (const TNlmDesc* desc : toLoad) {
    FScript.Add("Load " + desc->FileName);
    names += (names.empty() ? "" : ", ") + desc->FileName;
  }
  if (KeepScript) return;
  FScript.SaveToFile(uncDir + "\\" + scriptName);
  FScript.Clear();
  const char* failure = ServerVersion() >= kDirectModuleVersion ? kRemoteLoadErrorText : kNoRemoteLoadText;
  if (!MayExecuteRemotely(ConnRef)) {
    Inform(fw::Format(failure, scriptName));
    return;
  }
  bool proceed = true;
  if (FAsk && OnConfirm) OnConfirm(this, names, proceed);
  if (proceed && ExecuteRemoteNcf(ConnRef, scriptName) != 0) Inform(fw::Format(failure, scriptName));
}

void TNlmMgr::UnloadWithDependents(TConnRef ConnRef, const std::string& Name) {
  SetServerVersion(GetServerVersion(ConnRef));
  TNlmClosure deps;
  CollectDependents(Name, deps, 0);
  TNlmList toUnload;
  for (const TNlmDepth& dep : deps) UnloadNlm(ConnRef, dep.Name, toUnload);
  UnloadNlm(ConnRef, Name, toUnload);
  if (toUnload.empty()) return;
  if (FCollect) {
    for (const TNlmDesc* desc : toUnload) FScript.Add("Unload " + desc->Name);
    return;
  }
  const std::string scriptName = UnloadScriptName();
  WriteNcfFile(ServerUNC(ConnRef) + "\\" + scriptName, "Unload ", false, toUnload);
  if (!MayExecuteRemotely(ConnRef) || ExecuteRemoteNcf(ConnRef, scriptName) != 0)
    Inform(fw::Format(kNoRemoteUnloadText, scriptName));
}

void TNlmMgr::WriteNcfFile(const std::string& Path, const std::string& Command, bool WithDir,
                           const TNlmList& List) const {
  fw::TStringList lines;
  lines.SetVector(NcfLines(Command, List, FServerDir, WithDir));
  lines.SaveToFile(Path);
}

int32_t TNlmMgr::ExecuteRemoteNcf(TConnRef ConnRef, const std::string& NcfPath) {
  const std::string path = NcfPath.substr(0, kMaxNcfPath);
  TNWConnection conn(ConnRef);
  if (!conn.IsOpen()) return -1;
  if (GetServerVersion(ConnRef) >= kDirectNcfVersion)
    return static_cast<int32_t>(nwc::ExecuteNcf(conn.Handle(), path.c_str()));
  int32_t id = GetNCPExtension(conn.Handle(), kStd4Extension, nullptr, nullptr, nullptr, nullptr);
  if (!IsValidExtensionID(id)) return -1;
  std::vector<uint8_t> request = BuildOldServerNcfRequest(path);
  uint8_t reply[4] = {};
  uint16_t replyLen = sizeof reply;
  NWCCODE code = nwc::ExtensionRequest(conn.Handle(), static_cast<uint32_t>(id), request.data(),
                                       static_cast<uint32_t>(request.size()), reply, &replyLen);
  if (code != 0) return -1;
  return DecodeStd4StatusReply(std4ExecuteNcf, reply, sizeof reply, replyLen);
}

TNlmMgr& NlmMgr() {
  if (!gNlmMgr) gNlmMgr = std::make_unique<TNlmMgr>();
  return *gNlmMgr;
}

void InitNlmMgr() {
  NlmMgr();
}

void FinalizeNlmMgr() {
  gNlmMgr.reset();
}

}  // namespace toolpage
