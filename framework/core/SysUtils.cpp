#include "SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdint>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fw {

std::string FormatArgs(std::string_view fmt, const TFormatArg* args, size_t count) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    char c = fmt[i];
    if (c != '%') {
      out += c;
      continue;
    }
    size_t start = i++;
    if (i < fmt.size() && fmt[i] == '%') {
      out += '%';
      continue;
    }
    while (i < fmt.size() && std::strchr("-+ #0", fmt[i]) != nullptr) ++i;
    while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') ++i;
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') ++i;
    }
    while (i < fmt.size() && std::strchr("hlLqjzt", fmt[i]) != nullptr) ++i;  // size prefixes are ignored
    if (i >= fmt.size()) throw EConvertError(std::string("Format '") + std::string(fmt) + "' invalid or incompatible with argument");
    char conv = fmt[i];
    std::string spec(fmt.substr(start, i - start));
    spec.erase(std::remove_if(spec.begin() + 1, spec.end(), [](char x) { return std::strchr("hlLqjzt", x) != nullptr; }),
               spec.end());
    if (next >= count) throw EConvertError(std::string("Format '") + std::string(fmt) + "' invalid or incompatible with argument");
    const TFormatArg& a = args[next++];
    char buf[512];
    auto bad = [&] { return EConvertError(std::string("Format '") + std::string(fmt) + "' invalid or incompatible with argument"); };
    switch (conv) {
      case 'd': case 'i':
        if (a.kind == TFormatArg::kSigned) std::snprintf(buf, sizeof buf, (spec + "lld").c_str(), a.i);
        else if (a.kind == TFormatArg::kUnsigned) std::snprintf(buf, sizeof buf, (spec + "lld").c_str(), static_cast<long long>(a.u));
        else throw bad();
        out += buf;
        break;
      case 'u': case 'x': case 'X':
        if (a.kind == TFormatArg::kSigned) {
          // A negative value shows as its 32-bit pattern, as the framework did.
          unsigned long long v = a.i < 0 && a.i >= INT32_MIN ? static_cast<uint32_t>(a.i) : static_cast<unsigned long long>(a.i);
          std::snprintf(buf, sizeof buf, (spec + "ll" + conv).c_str(), v);
        } else if (a.kind == TFormatArg::kUnsigned) {
          std::snprintf(buf, sizeof buf, (spec + "ll" + conv).c_str(), a.u);
        } else {
          throw bad();
        }
        out += buf;
        break;
      case 'f': case 'g': case 'e': case 'G': case 'E': {
        double v = a.kind == TFormatArg::kFloat ? a.f : a.kind == TFormatArg::kSigned ? static_cast<double>(a.i)
                 : a.kind == TFormatArg::kUnsigned ? static_cast<double>(a.u) : throw bad();
        std::snprintf(buf, sizeof buf, (spec + conv).c_str(), v);
        out += buf;
        break;
      }
      case 'c':
        if (a.kind != TFormatArg::kSigned && a.kind != TFormatArg::kUnsigned) throw bad();
        out += static_cast<char>(a.kind == TFormatArg::kSigned ? a.i : static_cast<long long>(a.u));
        break;
      case 's': {
        if (a.kind != TFormatArg::kString) throw bad();
        // Width and precision apply to the whole text, however long.
        std::string text(a.s);
        size_t dot = spec.find('.');
        if (dot != std::string::npos) {
          size_t prec = static_cast<size_t>(std::atoi(spec.c_str() + dot + 1));
          if (text.size() > prec) text.resize(prec);
        }
        bool left = spec.find('-') != std::string::npos;
        size_t w = 0;
        for (size_t k = 1; k < spec.size() && spec[k] != '.'; ++k)
          if (spec[k] >= '0' && spec[k] <= '9') { w = static_cast<size_t>(std::atoi(spec.c_str() + k)); break; }
        if (text.size() < w) text = left ? text + std::string(w - text.size(), ' ') : std::string(w - text.size(), ' ') + text;
        out += text;
        break;
      }
      case 'p':
        if (a.kind != TFormatArg::kPointer) throw bad();
        std::snprintf(buf, sizeof buf, "%p", a.p);
        out += buf;
        break;
      default:
        throw bad();
    }
  }
  return out;
}

void Abort() { throw EAbort(); }

namespace {
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
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

std::string Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

bool IsValidIdent(std::string_view s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (!alpha(s[0])) return false;
  for (char c : s.substr(1))
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

std::string IntToStr(long long value) { return std::to_string(value); }

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
