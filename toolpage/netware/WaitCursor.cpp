#include "WaitCursor.h"

namespace toolpage {

namespace {
TWaitCursorHooks gHooks;
}

void SetWaitCursorHooks(const TWaitCursorHooks& Hooks) {
  gHooks = Hooks;
}

TWaitCursorScope::TWaitCursorScope() : FEnd(gHooks.End) {
  if (gHooks.Begin) gHooks.Begin();
}

TWaitCursorScope::~TWaitCursorScope() {
  if (FEnd) FEnd();
}

}  // namespace toolpage
