// The hourglass for the time of a long step; the cursor shown before comes back when
// the object goes, also on failure.
#pragma once

#include <windows.h>

namespace setup {

class TWaitCursor {
 public:
  TWaitCursor() : FSaved(SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
  ~TWaitCursor() { SetCursor(FSaved); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  HCURSOR FSaved;
};

}  // namespace setup
