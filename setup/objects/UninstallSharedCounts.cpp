#include "UninstallSharedCounts.h"

#include <windows.h>

#include "FileRegistration.h"
#include "support/RegistryObject.h"
#include "gui/WinHandles.h"

namespace setup {

namespace {

// A count, stored as a DWORD or as decimal text.
bool ReadCount(TqnlkRegistry& Counts, const std::string& Name, long long& Count) {
  try {
    if (!Counts.ValueExists(Name)) return false;
    try {
      Count = Counts.ReadInteger(Name);
      return true;
    } catch (const ERegistryException&) {
      int number = 0;
      if (!fw::TryStrToInt(Counts.ReadString(Name), number)) return false;
      Count = number;
      return true;
    }
  } catch (const ERegistryException&) {
    return false;
  }
}

}  // namespace

std::vector<std::string> SharedCountNames(std::vector<std::string> Names) {
  if (Names.empty()) return Names;
  char shortPath[MAX_PATH + 1];
  const DWORD length = GetShortPathNameA(Names.back().c_str(), shortPath, sizeof shortPath);
  if (length > 0 && length < sizeof shortPath) Names.emplace_back(shortPath, length);
  return Names;
}

TShare TSharedCounts::Release(const std::string& Id, const std::vector<std::string>& Names) {
  if (auto done = FReleased.find(Id); done != FReleased.end()) return done->second;
  TShare share = TShare::NotShared;
  TqnlkRegistry counts;
  counts.SetRootKey(HKEY_LOCAL_MACHINE);
  if (counts.OpenKey(kSharedDLLsKey, false)) {
    for (const std::string& name : Names) {
      long long count = 0;
      if (!ReadCount(counts, name, count)) continue;
      try {
        if (count > 1) {
          counts.WriteInteger(name, static_cast<int>(count - 1));
          share = TShare::StillUsed;
        } else {
          RegDeleteValueA(counts.CurrentKey(), name.c_str());
          share = TShare::Released;
        }
      } catch (const ERegistryException&) {
        share = TShare::StillUsed;  // unchanged: still counted
      }
      break;
    }
  }
  FReleased[Id] = share;
  return share;
}

bool TSharedCounts::IsCounted(const std::vector<std::string>& Names) {
  TqnlkRegistry counts;
  counts.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!counts.OpenKeyReadOnly(kSharedDLLsKey)) return false;
  long long count = 0;
  for (const std::string& name : Names)
    if (ReadCount(counts, name, count)) return true;
  return false;
}

}  // namespace setup
