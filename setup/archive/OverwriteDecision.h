// Whether a new file replaces an existing one: the overwrite modes, the decision
// codes and the comparison of version texts. The facts about the files (versions,
// date stamps) come from the caller, so the table itself needs no file system.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/TypInfo.h"

namespace setup {

enum TOverwriteType { owAlways, owNever, owVersion, owDate, owVersionDate, owAsk };
const fw::TEnumInfo& OverwriteTypeInfo();

// Decision codes.
enum : uint8_t {
  odFailed = 0,   // the comparison failed; the caller reports an error
  odSame = 1,     // the same by the chosen measure: keep the existing file
  odReplace = 2,  // replace the existing file
  odKeep = 3,     // keep the existing file (it is newer, or owNever)
  odAsk = 4,      // ask the user
};

// 0 when equal, 1 when A is newer, 2 when B is newer. Items between "." compare as
// integers when both convert, else as text by character codes; a missing item is older.
int CompareVersions(std::string_view A, std::string_view B);

// What the decision needs to know about the new file and the existing one.
struct TOverwriteFacts {
  std::function<bool()> TargetExists;           // named (not blank) and present
  std::function<std::string()> SourceVersion;   // FileVersion text, "" without a resource
  std::function<std::string()> TargetVersion;
  // Sets Result to CompareVersions-like 0 (same date), 1 (source later), 2 (source
  // earlier); false when a date cannot be read.
  std::function<bool(int& Result)> CompareDates;
};

// The decision code for the mode given as the ordinal of TOverwriteType.
uint8_t DecideOverwrite(int Mode, const TOverwriteFacts& Facts);

// The archive passes its Overwrite value as the mode unchanged.
inline int OverwriteModeToVersionMode(TOverwriteType Value) { return static_cast<int>(Value); }

}  // namespace setup
