// Names for components made at design or build time.
#pragma once

#include <string>

namespace fw {
class TComponent;
}

namespace setup {

// How many names SetUniqueComponentName tries before it gives up.
constexpr int kMaxUniqueNameTries = 1000;

// The name tried for a component on the given try (0 = first). For an installed file
// Base is a file name: "IF", its name, "_", its extension, with only letters, digits and
// "_" kept (setup.exe: IFsetup_exe, IFsetup_exe1, ...); for other components Base,
// Base1, Base2, ...
std::string UniqueNameCandidate(const std::string& Base, bool InstallFile, int Try);

// Gives Component the first candidate name that its owner accepts. Raises EAPIRoutines
// when none of kMaxUniqueNameTries candidates is accepted.
void SetUniqueComponentName(fw::TComponent* Component, const std::string& Base);

}  // namespace setup
