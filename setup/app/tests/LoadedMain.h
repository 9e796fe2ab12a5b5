// The setup's main form as its resource describes it, loaded without being shown (the
// engine's show hook, which would start the installation, never fires).
#pragma once

#include <string>

#include "MainForm.h"
#include "gui/Forms.h"

namespace setup::testing {

using TLoadedMain = std::unique_ptr<TMain, fw::TFreeDeleter>;

TLoadedMain LoadMain();

// The form's component of that name and class; fails the test when there is none.
template <class T>
T& Part(TMain& Form, const std::string& Name) {
  auto* found = dynamic_cast<T*>(Form.FindComponent(Name));
  if (found == nullptr) throw std::runtime_error(Name + " is missing or of another class");
  return *found;
}

}  // namespace setup::testing
