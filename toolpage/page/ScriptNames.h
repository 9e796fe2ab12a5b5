// Names of console scripts as the user types them when renaming one in the page's list.
#pragma once

#include <string>

namespace toolpage {

// A plain file name with the ".OKS" extension (any case) and something before it: no
// path separators, no drive.
bool IsValidScriptName(const std::string& Name);

// The name a rename to Typed gives: the old name when Typed is empty, upper-cased unless
// the volume keeps long names.
std::string RenamedScriptName(const std::string& OldName, const std::string& Typed, bool LongNames);

}  // namespace toolpage
