// The line editor's known screen names, kept from one run to the next under
// HKEY_CURRENT_USER "Software\Kavel\Brenvik\Tuvek.IList_Screens": "Count" and "Item0",
// "Item1", ... as strings.
#pragma once

#include "core/Strings.h"

namespace toolpage {

extern const char* const kScreenNamesKey;

// Replaces what is stored with Names; raises fw::EInOutError when the key cannot be written.
void SaveScreenNames(const fw::TStrings& Names);
// Adds the stored names to Names; nothing when none are stored. A damaged count or a
// missing item ends the reading there.
void LoadScreenNames(fw::TStrings& Names);

}  // namespace toolpage
