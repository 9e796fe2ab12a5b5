#include "UninstallSharedCounts.h"

#include <windows.h>

#include "FileRegistration.h"
#include "UninstallRoutes.h"
#include "support/RegistryLinks.h"
#include "support/RegistryObject.h"

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

TSharedCounts::TSharedCounts() {
  TqnlkRegistry counts;
  counts.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!counts.OpenKeyReadOnly(kSharedDLLsKey)) return;
  for (const std::string& name : ValueNamesOf(counts.CurrentKey())) {
    FNames.emplace(fw::UpperCase(name), name);
    // A short name ("PROGRA~1") counts the file of its long name.
    if (name.find('~') != std::string::npos) FNames.emplace(fw::UpperCase(LongPath(name)), name);
  }
}

std::string TSharedCounts::CountName(const std::vector<std::string>& Names) const {
  for (const std::string& name : Names)
    if (auto counted = FNames.find(fw::UpperCase(name)); counted != FNames.end()) return counted->second;
  return std::string();
}

TShare TSharedCounts::Release(const std::string& Id, const std::vector<std::string>& Names) {
  if (auto done = FReleased.find(Id); done != FReleased.end()) return done->second;
  TShare share = TShare::NotShared;
  TqnlkRegistry counts;
  counts.SetRootKey(HKEY_LOCAL_MACHINE);
  long long count = 0;
  if (const std::string name = CountName(Names);
      !name.empty() && counts.OpenKey(kSharedDLLsKey, false) && ReadCount(counts, name, count)) {
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
  }
  FReleased[Id] = share;
  return share;
}

bool TSharedCounts::IsCounted(const std::vector<std::string>& Names) const {
  return !CountName(Names).empty();
}

}  // namespace setup
