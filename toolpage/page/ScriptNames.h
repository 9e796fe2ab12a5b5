// Names of console scripts: those a new script takes, and those the user types when renaming
// one in the page's list.
#pragma once

#include <functional>
#include <string>

namespace toolpage {

// The highest number a new script's name takes: NEW(999).OKS still fits a DOS name.
constexpr int kMaxNewScriptNumber = 999;

// The name of new script N: NEW.OKS for 0, else NEW(N).OKS.
std::string NewScriptName(int N);

// The first of NEW.OKS, NEW(1).OKS ... NEW(999).OKS that Exists denies, asked in that
// order. Raises fw::Exception telling the user to rename or remove some when every one is
// taken.
std::string FirstFreeNewScriptName(const std::function<bool(const std::string&)>& Exists);

// A plain file name with the ".OKS" extension (any case) and something before it: no
// path separators, no drive.
bool IsValidScriptName(const std::string& Name);

// The name a rename to Typed gives: the old name when Typed is empty, upper-cased unless
// the volume keeps long names.
std::string RenamedScriptName(const std::string& OldName, const std::string& Typed, bool LongNames);

}  // namespace toolpage
