// Method pointers: an event is a callable bound to an object, assigned by code or,
// while a form loads, to one of the form's published handlers by name.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace fw {

class TObject;

template <class Signature>
class TMethodPtr;

template <class R, class... Args>
class TMethodPtr<R(Args...)> {
 public:
  TMethodPtr() = default;
  TMethodPtr(std::nullptr_t) {}
  template <class C, class M>
  TMethodPtr(C* object, M method)
      : FCall([object, method](Args... args) -> R { return (object->*method)(std::forward<Args>(args)...); }),
        FData(object) {}
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, Args...>>>
  TMethodPtr(F function) : FCall(std::move(function)) {}

  explicit operator bool() const { return static_cast<bool>(FCall); }
  R operator()(Args... args) const { return FCall(std::forward<Args>(args)...); }
  // The object the method belongs to (nil for a free function).
  const void* Data() const { return FData; }

 private:
  std::function<R(Args...)> FCall;
  const void* FData = nullptr;
};

using TNotifyEvent = TMethodPtr<void(TObject* Sender)>;

}  // namespace fw
