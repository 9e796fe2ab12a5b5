#include "ScriptNames.h"

#include "core/SysUtils.h"

namespace toolpage {

bool IsValidScriptName(const std::string& Name) {
  const std::string ext = ".OKS";
  if (Name.size() <= ext.size()) return false;
  if (Name.find_first_of("\\/:") != std::string::npos) return false;
  return fw::SameText(Name.substr(Name.size() - ext.size()), ext);
}

std::string RenamedScriptName(const std::string& OldName, const std::string& Typed, bool LongNames) {
  if (Typed.empty()) return OldName;
  return LongNames ? Typed : fw::UpperCase(Typed);
}

}  // namespace toolpage
