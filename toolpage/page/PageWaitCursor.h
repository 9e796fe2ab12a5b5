// The page's nested hourglass: only the outermost Begin/End pair changes the cursor.
#pragma once

#include <cstdint>

#include "core/Startup.h"

namespace toolpage {

void BeginWaitCursor();
// Ignored when no Begin is open.
void EndWaitCursor();
int32_t WaitCursorLevel();

// The page units' start-up: connects the server routines' wait cursor to the one above.
fw::TLibrary PageLibrary();

}  // namespace toolpage
