// The page's nested wait cursor as the server routines use it. The page installs its
// begin and end calls at start-up; until then (and in tests) the scope does nothing.
#pragma once

namespace toolpage {

struct TWaitCursorHooks {
  void (*Begin)() = nullptr;
  void (*End)() = nullptr;
};

void SetWaitCursorHooks(const TWaitCursorHooks& Hooks);

// The wait cursor on for the scope's lifetime, off again on every path.
class TWaitCursorScope {
 public:
  TWaitCursorScope();
  ~TWaitCursorScope();
  TWaitCursorScope(const TWaitCursorScope&) = delete;
  TWaitCursorScope& operator=(const TWaitCursorScope&) = delete;

 private:
  void (*FEnd)();
};

}  // namespace toolpage
