#include "ScriptNames.h"

#include "core/SysUtils.h"

namespace toolpage {

bool IsValidScriptName(const std::string& Name) {
  const std::string ext = ".OKS";
  if (Name.size() <= ext.size()) return false;
  if (Name.find_first_of("\\/:") != std::string::npos) return false;
  return fw::SameText(Name.substr(Name.size() - ext.size()), ext);
}

std::string NewScriptName(int N) {
  return N == 0 ? "NEW.OKS" : "NEW(" + std::to_string(N) + ").OKS";
}

std::string FirstFreeNewScriptName(const std::function<bool(const std::string&)>& Exists) {
  for (int n = 0; n <= kMaxNewScriptNumber; ++n) {
    std::string name = NewScriptName(n);
    if (!Exists(name)) return name;
  }
  throw fw::Exception(fw::Format("No new script can be created: the names %s to %s are all taken in SYS:SYSTEM.\r"
                                 "Rename or remove some of these scripts and try again.",
                                 NewScriptName(0), NewScriptName(kMaxNewScriptNumber)));
}

std::string RenamedScriptName(const std::string& OldName, const std::string& Typed, bool LongNames) {
  if (Typed.empty()) return OldName;
  return LongNames ? Typed : fw::UpperCase(Typed);
}

}  // namespace toolpage
