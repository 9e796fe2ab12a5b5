#include "FormText.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "SysUtils.h"

namespace fw {

const char* TFormValue::KindName() const {
  switch (Kind) {
    case vaInteger:
      return "integer";
    case vaFloat:
      return "float";
    case vaString:
      return "string";
    case vaIdent:
      return "identifier";
    case vaSet:
      return "set";
    case vaList:
      return "list";
    case vaBinary:
      return "binary data";
    case vaCollection:
      return "collection";
  }
  return "value";
}

namespace {

class TFormParser {
 public:
  TFormParser(std::string_view text, const std::string& source) : FText(text), FSource(source) {}

  TFormObject ParseRoot() {
    SkipBlanks();
    TFormObject root = ParseObject();
    SkipBlanks();
    if (!AtEnd()) Fail("text after the final 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EReadError(Format("Error reading %s, line %d: %s", FSource, FLine, what));
  }

  bool AtEnd() const { return FPos >= FText.size(); }
  char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }

  void SkipBlanks() {
    while (!AtEnd()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPos;
      } else {
        break;
      }
    }
  }

  static bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

  std::string Ident(const char* what) {
    SkipBlanks();
    if (!IsIdentStart(Peek())) Fail(Format("%s expected", what));
    size_t start = FPos;
    while (!AtEnd() && IsIdentChar(FText[FPos])) ++FPos;
    return std::string(FText.substr(start, FPos - start));
  }

  // An identifier possibly followed by ".Part" segments.
  std::string DottedIdent(const char* what) {
    std::string name = Ident(what);
    while (Peek() == '.') {
      ++FPos;
      name += '.';
      name += Ident(what);
    }
    return name;
  }

  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Fail(Format("'%c' expected", c));
    ++FPos;
  }

  // Nesting deeper than any form has is refused rather than followed until the
  // stack runs out.
  static constexpr int kMaxDepth = 64;
  struct TDepth {
    TFormParser& Parser;
    explicit TDepth(TFormParser& parser) : Parser(parser) {
      if (++Parser.FDepth > kMaxDepth) Parser.Fail("nesting too deep");
    }
    ~TDepth() { --Parser.FDepth; }
  };

  TFormObject ParseObject() {
    TDepth depth(*this);
    TFormObject obj;
    obj.Line = FLine;
    std::string keyword = Ident("'object'");
    if (!SameText(keyword, "object")) Fail(Format("'object' expected but '%s' found", keyword));
    std::string first = Ident("component name or class name");
    SkipBlanks();
    if (Peek() == ':') {
      ++FPos;
      obj.Name = first;
      obj.ClassName = Ident("class name");
    } else {
      obj.ClassName = first;
    }
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail(Format("'end' of %s expected", obj.Name.empty() ? obj.ClassName : obj.Name));
      size_t save = FPos;
      int saveLine = FLine;
      std::string word = DottedIdent("property name, 'object' or 'end'");
      if (SameText(word, "end")) return obj;
      if (SameText(word, "object")) {
        FPos = save;
        FLine = saveLine;
        obj.Children.push_back(ParseObject());
        continue;
      }
      obj.Properties.push_back(ParsePropertyAfterName(word));
    }
  }

  TFormProperty ParsePropertyAfterName(const std::string& name) {
    TFormProperty prop;
    prop.Name = name;
    prop.Line = FLine;
    Expect('=');
    prop.Value = ParseValue();
    return prop;
  }

  TFormValue ParseValue() {
    TDepth depth(*this);
    SkipBlanks();
    TFormValue v;
    v.Line = FLine;
    char c = Peek();
    if (c == '\'' || c == '#') {
      v.Kind = TFormValue::vaString;
      v.Text = ParseString();
    } else if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) {
      ParseNumber(v);
    } else if (IsIdentStart(c)) {
      v.Kind = TFormValue::vaIdent;
      v.Text = DottedIdent("identifier");
    } else if (c == '[') {
      ++FPos;
      v.Kind = TFormValue::vaSet;
      SkipBlanks();
      if (Peek() != ']') {
        for (;;) {
          v.Names.push_back(Ident("set element"));
          SkipBlanks();
          if (Peek() == ',') {
            ++FPos;
            continue;
          }
          break;
        }
      }
      Expect(']');
    } else if (c == '(') {
      ++FPos;
      v.Kind = TFormValue::vaList;
      for (;;) {
        SkipBlanks();
        if (AtEnd()) Fail("')' expected");
        if (Peek() == ')') {
          ++FPos;
          break;
        }
        v.List.push_back(ParseValue());
      }
    } else if (c == '{') {
      ++FPos;
      v.Kind = TFormValue::vaBinary;
      ParseBinary(v.Data);
    } else if (c == '<') {
      ++FPos;
      v.Kind = TFormValue::vaCollection;
      ParseItems(v.Items);
    } else if (AtEnd()) {
      Fail("value expected");
    } else {
      Fail(Format("unexpected character '%c' in a value", c));
    }
    return v;
  }

  // 'text' pieces and #code characters, side by side or joined by '+'.
  std::string ParseString() {
    std::string out;
    for (;;) {
      char c = Peek();
      if (c == '\'') {
        ++FPos;
        for (;;) {
          if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("unterminated string");
          char d = FText[FPos++];
          if (d == '\'') {
            if (Peek() == '\'') {
              out += '\'';
              ++FPos;
              continue;
            }
            break;
          }
          out += d;
        }
      } else if (c == '#') {
        ++FPos;
        size_t start = FPos;
        int code = 0;
        while (!AtEnd() && FText[FPos] >= '0' && FText[FPos] <= '9') {
          code = code * 10 + (FText[FPos] - '0');
          if (code > 255) Fail("character code above 255 in a string");
          ++FPos;
        }
        if (FPos == start) Fail("character code expected after '#'");
        out += static_cast<char>(static_cast<unsigned char>(code));
      } else {
        // A '+' continues the string, possibly on the next line.
        size_t save = FPos;
        int saveLine = FLine;
        SkipBlanks();
        if (Peek() == '+') {
          ++FPos;
          SkipBlanks();
          if (Peek() != '\'' && Peek() != '#') Fail("string expected after '+'");
          continue;
        }
        FPos = save;
        FLine = saveLine;
        return out;
      }
    }
  }

  void ParseNumber(TFormValue& v) {
    size_t start = FPos;
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') {
      negative = Peek() == '-';
      ++FPos;
    }
    if (Peek() == '$') {
      ++FPos;
      size_t digits = FPos;
      while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(FText[FPos]))) ++FPos;
      if (FPos == digits) Fail("hexadecimal digits expected");
      v.Kind = TFormValue::vaInteger;
      v.Integer = HexValue(FText.substr(digits, FPos - digits), negative, FText.substr(start, FPos - start));
      return;
    }
    bool isFloat = false;
    while (!AtEnd()) {
      char c = FText[FPos];
      if (c >= '0' && c <= '9') {
        ++FPos;
      } else if (c == '.' || c == 'e' || c == 'E' ||
                 ((c == '-' || c == '+') && (FText[FPos - 1] == 'e' || FText[FPos - 1] == 'E'))) {
        isFloat = true;
        ++FPos;
      } else {
        break;
      }
    }
    std::string text(FText.substr(start, FPos - start));
    char* end = nullptr;
    if (isFloat) {
      v.Kind = TFormValue::vaFloat;
      v.Float = std::strtod(text.c_str(), &end);
    } else {
      v.Kind = TFormValue::vaInteger;
      errno = 0;
      v.Integer = std::strtoll(text.c_str(), &end, 10);
      if (errno != 0) Fail(Format("number out of range: %s", text));
    }
    if (end == nullptr || *end != '\0' || text == "-" || text == "+") Fail(Format("invalid number: %s", text));
  }

  // The value of hexadecimal digits, negated when asked; beyond the 64-bit signed range,
  // like a decimal number, it is out of range.
  long long HexValue(std::string_view digits, bool negative, std::string_view text) const {
    const uint64_t limit = negative ? uint64_t{1} << 63 : uint64_t{INT64_MAX};
    uint64_t magnitude = 0;
    for (char c : digits) {
      unsigned nibble = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
      if (magnitude > (limit - nibble) / 16) Fail(Format("number out of range: %s", text));
      magnitude = magnitude * 16 + nibble;
    }
    if (!negative) return static_cast<long long>(magnitude);
    return magnitude == uint64_t{1} << 63 ? INT64_MIN : -static_cast<long long>(magnitude);
  }

  void ParseBinary(std::vector<uint8_t>& data) {
    int high = -1;
    for (;;) {
      if (AtEnd()) Fail("'}' expected");
      char c = FText[FPos++];
      if (c == '}') break;
      if (c == '\n') {
        ++FLine;
        continue;
      }
      if (c == ' ' || c == '\t' || c == '\r') continue;
      int nibble = (c >= '0' && c <= '9')   ? c - '0'
                   : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                   : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                            : -1;
      if (nibble < 0) Fail(Format("invalid character '%c' in binary data", c));
      if (high < 0) {
        high = nibble;
      } else {
        data.push_back(static_cast<uint8_t>(high * 16 + nibble));
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hexadecimal digits in binary data");
  }

  void ParseItems(std::vector<TFormItem>& items) {
    for (;;) {
      SkipBlanks();
      if (Peek() == '>') {
        ++FPos;
        return;
      }
      TFormItem item;
      item.Line = FLine;
      std::string word = Ident("'item' or '>'");
      if (!SameText(word, "item")) Fail(Format("'item' expected but '%s' found", word));
      for (;;) {
        std::string name = DottedIdent("property name or 'end'");
        if (SameText(name, "end")) break;
        item.Properties.push_back(ParsePropertyAfterName(name));
      }
      items.push_back(std::move(item));
    }
  }

  std::string_view FText;
  const std::string& FSource;
  size_t FPos = 0;
  int FLine = 1;
  int FDepth = 0;
};

}  // namespace

TFormObject ParseFormText(std::string_view Text, const std::string& Source) {
  return TFormParser(Text, Source).ParseRoot();
}

}  // namespace fw
