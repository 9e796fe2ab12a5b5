// Bringing the product's server modules onto a server and loading or unloading them with
// the modules they need or that need them: directly through the client library from 4.10
// on, otherwise through generated NCF files (the LD and UL files) in SYS:SYSTEM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "NlmRegistry.h"
#include "NwTypes.h"
#include "core/Events.h"
#include "core/Strings.h"

namespace toolpage {

class TNlmMgr;
using TNlmConfirmEvent = fw::TMethodPtr<void(TNlmMgr* Sender, const std::string& Names, bool& Proceed)>;
using TNlmList = std::vector<const TNlmDesc*>;

extern const char* const kRemoteLoadErrorText;  // servers from 4.10 on
extern const char* const kNoRemoteLoadText;     // older servers
extern const char* const kNoRemoteUnloadText;

class TNlmMgr : public TNlmRegistry {
 public:
  TNlmMgr();

  // Loaded when the module's extension answers (its version: major + minor / 100), or,
  // for a module without extension, when it is in the server's module list.
  bool GetLoadedVersion(TConnRef ConnRef, const std::string& Name, bool Uncached, double& Version);
  bool IsLoaded(TConnRef ConnRef, const std::string& Name, bool Uncached);

  // Copies a newer build onto the server (unloading the old one and what needs it
  // first), then loads it directly or notes it in ToLoad for the LD file.
  void LoadNlm(TConnRef ConnRef, const std::string& Name, TNlmList& ToLoad, bool Load);
  // Unloads it directly (from 4.10 on) or notes it in ToUnload for the UL file.
  void UnloadNlm(TConnRef ConnRef, const std::string& Name, TNlmList& ToUnload);

  void LoadWithDependencies(TConnRef ConnRef, const std::string& Name, bool KeepScript, bool Load);
  void UnloadWithDependents(TConnRef ConnRef, const std::string& Name);

  // One line per build: Command, a space, the file name (WithDir: with ServerDir).
  // Raises EInOutError when the file cannot be written.
  void WriteNcfFile(const std::string& Path, const std::string& Command, bool WithDir, const TNlmList& List) const;
  // 0 when the server ran the file; -1 when it could not be asked.
  int32_t ExecuteRemoteNcf(TConnRef ConnRef, const std::string& NcfPath);

  std::string LoadScriptName() const { return NcfScriptName("LD", FHostProgram); }
  std::string UnloadScriptName() const { return NcfScriptName("UL", FHostProgram); }

  bool Collect() const { return FCollect; }
  fw::TStringList& Script() { return FScript; }
  const std::string& ServerDir() const { return FServerDir; }
  bool Ask() const { return FAsk; }
  void SetAsk(bool Value) { FAsk = Value; }
  TNlmConfirmEvent OnConfirm;

  // The host program: its folder holds the module files, its name names the LD and UL
  // files. The running executable unless set.
  const std::string& HostProgram() const { return FHostProgram; }
  void SetHostProgram(const std::string& Path) { FHostProgram = Path; }
  // Shows the information texts; a message box unless set.
  fw::TMethodPtr<void(const std::string& Text)> OnInformation;
  // The pause after each direct load or unload, in ms (window messages are handled).
  uint32_t ModulePause = 500;

 private:
  std::string ServerUNC(TConnRef ConnRef) const;
  void CopyIfNewer(TConnRef ConnRef, const TNlmDesc& Desc, const std::string& ServerUNCDir);
  bool IsLoadedAndKept(TConnRef ConnRef, const TNlmDesc& Desc);
  bool MayExecuteRemotely(TConnRef ConnRef) const;
  void Inform(const std::string& Text);

  bool FCollect = false;
  fw::TStringList FScript;
  std::string FServerDir = "SYS:SYSTEM";
  bool FAsk = true;
  std::string FHostProgram;
};

// The library's manager (created at library start, freed at library end).
TNlmMgr& NlmMgr();
void InitNlmMgr();
void FinalizeNlmMgr();

}  // namespace toolpage
