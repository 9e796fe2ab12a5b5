// Exceptions and small text helpers that every layer of the class framework uses.
#pragma once

#include <cstdarg>
#include <exception>
#include <string>
#include <string_view>

namespace fw {

// One argument of Format.
struct TFormatArg {
  enum Kind { kSigned, kUnsigned, kFloat, kString, kPointer } kind;
  long long i = 0;
  unsigned long long u = 0;
  double f = 0;
  std::string_view s;
  const void* p = nullptr;

  TFormatArg(int v) : kind(kSigned), i(v) {}
  TFormatArg(long v) : kind(kSigned), i(v) {}
  TFormatArg(long long v) : kind(kSigned), i(v) {}
  TFormatArg(unsigned v) : kind(kUnsigned), u(v) {}
  TFormatArg(unsigned long v) : kind(kUnsigned), u(v) {}
  TFormatArg(unsigned long long v) : kind(kUnsigned), u(v) {}
  TFormatArg(double v) : kind(kFloat), f(v) {}
  TFormatArg(const char* v) : kind(kString), s(v ? v : "") {}
  TFormatArg(const std::string& v) : kind(kString), s(v) {}
  TFormatArg(std::string_view v) : kind(kString), s(v) {}
  TFormatArg(const void* v) : kind(kPointer), p(v) {}
};

// Formats like the framework's Format: %s, %d, %u, %x, %X, %f, %g, %e, %c, %p and %%,
// with flags, width and precision. A specifier that does not fit its argument, a
// missing argument, or a width or precision above kMaxFormatField raises EConvertError
// instead of reading garbage or running out of memory: translated formats come from
// language tables.
constexpr int kMaxFormatField = 1024;
std::string FormatArgs(std::string_view fmt, const TFormatArg* args, size_t count);
template <class... Args>
std::string Format(std::string_view fmt, const Args&... args) {
  const TFormatArg list[] = {TFormatArg(args)..., TFormatArg(0)};
  return FormatArgs(fmt, list, sizeof...(Args));
}

// Root of every exception the system raises: carries an English message.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// Declares an exception class with its base's constructors; the base may be qualified.
#define FW_EXCEPTION(Name, Base)          \
  class Name : public Base {              \
    using TInheritedBase = Base;          \
                                          \
   public:                                \
    using TInheritedBase::TInheritedBase; \
  }

// The silent exception: it unwinds the current operation and is not shown.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};
[[noreturn]] void Abort();

FW_EXCEPTION(EConvertError, Exception);
FW_EXCEPTION(EListError, Exception);
FW_EXCEPTION(EStringListError, Exception);
FW_EXCEPTION(EComponentError, Exception);
FW_EXCEPTION(EClassNotFound, Exception);
FW_EXCEPTION(EPropertyError, Exception);
FW_EXCEPTION(EReadError, Exception);
FW_EXCEPTION(EInOutError, Exception);

// Case-insensitive comparison of byte strings in the "C" locale, like the
// framework's CompareText.
int CompareText(std::string_view a, std::string_view b);
inline bool SameText(std::string_view a, std::string_view b) {
  return CompareText(a, b) == 0;
}
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
bool IsValidIdent(std::string_view s);
std::string IntToStr(long long value);
// Strict decimal conversion; raises EConvertError "'%s' is not a valid integer value".
int StrToInt(std::string_view s);
bool TryStrToInt(std::string_view s, int& value);

}  // namespace fw
