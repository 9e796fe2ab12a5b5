// The archive's hook for a caller that must keep its user interface alive during long
// operations: called between blocks, at most every 20 ms. Without a handler nothing
// happens, so the archive runs where there is no message loop.
#pragma once

#include <chrono>
#include <functional>

namespace setup {

class TIdlePump {
 public:
  using THandler = std::function<void()>;
  static constexpr std::chrono::milliseconds kInterval{20};

  void SetHandler(THandler Handler) { FHandler = std::move(Handler); }
  const THandler& Handler() const { return FHandler; }

  // Calls the handler when the interval has passed since its last call (the first
  // call always passes).
  void Poll() {
    if (!FHandler) return;
    auto now = std::chrono::steady_clock::now();
    if (FCalled && now - FLast < kInterval) return;
    FCalled = true;
    FLast = now;
    FHandler();
  }

 private:
  THandler FHandler;
  std::chrono::steady_clock::time_point FLast{};
  bool FCalled = false;
};

}  // namespace setup
