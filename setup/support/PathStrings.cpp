#include "PathStrings.h"

#include <algorithm>

#include "core/Strings.h"

namespace setup {

std::string AddTrailingBackslash(const std::string& S) {
  if (S.empty() || S.back() == '\\') return S;
  return S + '\\';
}

std::string RemoveTrailingBackslash(const std::string& S) {
  if (!S.empty() && S.back() == '\\') return S.substr(0, S.size() - 1);
  return S;
}

int CountDelimitedItems(const std::string& S, char Delimiter) {
  int count = static_cast<int>(std::count(S.begin(), S.end(), Delimiter));
  if (!S.empty() && S.back() != Delimiter) ++count;
  return count;
}

std::string GetDelimitedItem(const std::string& S, int N, char Delimiter) {
  if (N < 1) return std::string();
  size_t start = 0;
  for (int skipped = 1; skipped < N; ++skipped) {
    size_t next = S.find(Delimiter, start);
    if (next == std::string::npos) return std::string();
    start = next + 1;
  }
  size_t end = S.find(Delimiter, start);
  return S.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void SplitDelimited(const std::string& S, char Delimiter, fw::TStrings& List) {
  List.Clear();
  int count = CountDelimitedItems(S, Delimiter);
  for (int i = 1; i <= count; ++i) List.Add(GetDelimitedItem(S, i, Delimiter));
}

std::string ExtractAfterColon(const std::string& S) {
  size_t colon = S.find(':');
  return colon == std::string::npos ? std::string() : S.substr(colon + 1);
}

std::string StripInvalidFileNameChars(const std::string& S) {
  static const std::string kDropped = "\"*:;<>?\\|";
  std::string result;
  result.reserve(S.size());
  for (char c : S) {
    auto code = static_cast<unsigned char>(c);
    if (code < 32 || code > 126) {
      result += c;
    } else if (c == '/') {
      result += '-';
    } else if (kDropped.find(c) == std::string::npos) {
      result += c;
    }
  }
  return result;
}

std::string BreakLongWords(const std::string& Text, size_t Longest) {
  if (Longest == 0) return Text;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::string out;
  out.reserve(Text.size() + Text.size() / Longest + 1);
  for (size_t i = 0; i < Text.size();) {
    if (blank(Text[i])) {
      out += Text[i++];
      continue;
    }
    size_t end = i;
    while (end < Text.size() && !blank(Text[end])) ++end;
    size_t start = i;
    while (end - start > Longest) {
      const size_t slash = Text.find_last_of("\\/", start + Longest - 1);
      const size_t take = slash != std::string::npos && slash > start ? slash + 1 - start : Longest;
      out.append(Text, start, take);
      out += '\n';
      start += take;
    }
    out.append(Text, start, end - start);
    i = end;
  }
  return out;
}

}  // namespace setup
