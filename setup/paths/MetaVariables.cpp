#include "MetaVariables.h"

namespace setup {

namespace {

bool IsAsciiLetter(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}
char AsciiLower(char C) {
  return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

}  // namespace

std::string ExpandMetaText(const std::string& Text, const std::function<std::string(char Letter)>& Value) {
  std::string result;
  bool percent = false;
  for (char c : Text) {
    if (!percent) {
      if (c == '%')
        percent = true;
      else
        result += c;
      continue;
    }
    percent = false;
    if (c == '%')
      result += '%';
    else if (IsAsciiLetter(c))
      result += Value(AsciiLower(c));
    else
      (result += '%') += c;
  }
  return result;
}

std::string ExpandPathText(const std::string& Text, const std::string& Path) {
  std::string result;
  bool percent = false;
  for (char c : Text) {
    if (!percent && c == '%') {
      percent = true;
    } else if (percent) {
      percent = false;
      if (c == 'p' || c == 'P')
        result += Path;
      else
        result += c;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace setup
