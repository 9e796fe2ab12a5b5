#include "SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fw {

namespace {

[[noreturn]] void BadFormat(std::string_view fmt) {
  throw EConvertError(std::string("Format '") + std::string(fmt) + "' invalid or incompatible with argument");
}

bool IsFormatFlag(char c) {
  return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}
bool IsSizePrefix(char c) {
  return std::string_view("hlLqjzt").find(c) != std::string_view::npos;
}

// A run of decimal digits at fmt[i] (none gives 0), refused beyond kMaxFormatField
// before it can overflow.
int ParseFormatField(std::string_view fmt, size_t& i) {
  int value = 0;
  while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
    value = value * 10 + (fmt[i] - '0');
    if (value > kMaxFormatField)
      throw EConvertError(std::string("Format '") + std::string(fmt) + "' asks for a width or precision above " +
                          std::to_string(kMaxFormatField));
    ++i;
  }
  return value;
}

// One specifier: "%" flags width "." precision, its conversion character aside.
struct TFormatSpec {
  std::string Flags;
  int Width = -1;
  int Precision = -1;

  // The specifier for the C library, with the length modifier and conversion given;
  // flags the C library leaves undefined for the conversion are dropped.
  std::string ForC(std::string_view length, char conv) const {
    std::string out = "%";
    for (char f : Flags)
      if (f != '#' || (conv != 'd' && conv != 'i' && conv != 'u')) out += f;
    if (Width >= 0) out += std::to_string(Width);
    if (Precision >= 0) {
      out += '.';
      out += std::to_string(Precision);
    }
    out += length;
    out += conv;
    return out;
  }
};

// snprintf into a string of the size it asks for; width and precision are bounded,
// so the size is too.
template <class T>
std::string CFormat(std::string_view fmt, const std::string& spec, T value) {
  int n = std::snprintf(nullptr, 0, spec.c_str(), value);
  if (n < 0) BadFormat(fmt);
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::snprintf(buf.data(), buf.size(), spec.c_str(), value);
  return std::string(buf.data(), static_cast<size_t>(n));
}

}  // namespace

std::string FormatArgs(std::string_view fmt, const TFormatArg* args, size_t count) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    char c = fmt[i];
    if (c != '%') {
      out += c;
      continue;
    }
    ++i;
    if (i < fmt.size() && fmt[i] == '%') {
      out += '%';
      continue;
    }
    TFormatSpec spec;
    while (i < fmt.size() && IsFormatFlag(fmt[i])) spec.Flags += fmt[i++];
    if (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') spec.Width = ParseFormatField(fmt, i);
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      spec.Precision = ParseFormatField(fmt, i);
    }
    while (i < fmt.size() && IsSizePrefix(fmt[i])) ++i;  // size prefixes are ignored
    if (i >= fmt.size() || next >= count) BadFormat(fmt);
    char conv = fmt[i];
    const TFormatArg& a = args[next++];
    switch (conv) {
      case 'd':
      case 'i':
        if (a.kind == TFormatArg::kSigned)
          out += CFormat(fmt, spec.ForC("ll", 'd'), a.i);
        else if (a.kind == TFormatArg::kUnsigned)
          out += CFormat(fmt, spec.ForC("ll", 'd'), static_cast<long long>(a.u));
        else
          BadFormat(fmt);
        break;
      case 'u':
      case 'x':
      case 'X':
        if (a.kind == TFormatArg::kSigned) {
          // A negative value shows as its 32-bit pattern, as the framework did.
          unsigned long long v =
              a.i < 0 && a.i >= INT32_MIN ? static_cast<uint32_t>(a.i) : static_cast<unsigned long long>(a.i);
          out += CFormat(fmt, spec.ForC("ll", conv), v);
        } else if (a.kind == TFormatArg::kUnsigned) {
          out += CFormat(fmt, spec.ForC("ll", conv), a.u);
        } else {
          BadFormat(fmt);
        }
        break;
      case 'f':
      case 'g':
      case 'e':
      case 'G':
      case 'E': {
        double v = 0;
        if (a.kind == TFormatArg::kFloat)
          v = a.f;
        else if (a.kind == TFormatArg::kSigned)
          v = static_cast<double>(a.i);
        else if (a.kind == TFormatArg::kUnsigned)
          v = static_cast<double>(a.u);
        else
          BadFormat(fmt);
        out += CFormat(fmt, spec.ForC("", conv), v);
        break;
      }
      case 'c':
        if (a.kind != TFormatArg::kSigned && a.kind != TFormatArg::kUnsigned) BadFormat(fmt);
        out += static_cast<char>(a.kind == TFormatArg::kSigned ? a.i : static_cast<long long>(a.u));
        break;
      case 's': {
        if (a.kind != TFormatArg::kString) BadFormat(fmt);
        // Width and precision apply to the whole text, however long.
        std::string_view text = a.s;
        if (spec.Precision >= 0 && text.size() > static_cast<size_t>(spec.Precision))
          text = text.substr(0, static_cast<size_t>(spec.Precision));
        size_t width = spec.Width > 0 ? static_cast<size_t>(spec.Width) : 0;
        std::string padding(width > text.size() ? width - text.size() : 0, ' ');
        if (spec.Flags.find('-') != std::string::npos)
          (out += text) += padding;
        else
          (out += padding) += text;
        break;
      }
      case 'p':
        if (a.kind != TFormatArg::kPointer) BadFormat(fmt);
        out += CFormat(fmt, "%p", a.p);
        break;
      default:
        BadFormat(fmt);
    }
  }
  return out;
}

void Abort() {
  throw EAbort();
}

namespace {
char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

int CompareText(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(AsciiUpper(a[i]));
    unsigned char y = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsBlank(s[n - 1])) --n;
  return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) {
  return TrimLeft(TrimRight(s));
}

bool IsValidIdent(std::string_view s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(s[0])) return false;
  for (char c : s.substr(1))
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

std::string IntToStr(long long value) {
  return std::to_string(value);
}

bool TryStrToInt(std::string_view s, int& value) {
  std::string text = Trim(s);
  if (text.empty()) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  long long v;
  if (text[0] == '$')
    v = std::strtoll(begin + 1, &end, 16);
  else
    v = std::strtoll(begin, &end, 10);
  if (errno != 0 || end == begin || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
  if (text[0] == '$' && end == begin + 1) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(std::string_view s) {
  int value = 0;
  if (!TryStrToInt(s, value)) throw EConvertError(Format("'%s' is not a valid integer value", s));
  return value;
}

}  // namespace fw
