// The message of the exception an action raises, for tests that check texts.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// Runs Action and returns the message of the E it raised; nothing raised is a test
// failure (and an empty text).
template <class E, class F>
std::string MessageOf(F&& Action) {
  try {
    Action();
  } catch (const E& e) {
    return e.Message();
  }
  ADD_FAILURE() << "nothing was raised";
  return {};
}

}  // namespace testsupport
