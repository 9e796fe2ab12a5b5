// For tests: the message of the exception of class E that Action raises.
#pragma once

#include <string>
#include <utility>

namespace fw::testing {

// "no error" when Action returns normally; other exception classes pass through.
template <class E, class F>
std::string ErrorText(F&& Action) {
  try {
    std::forward<F>(Action)();
  } catch (const E& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace fw::testing
