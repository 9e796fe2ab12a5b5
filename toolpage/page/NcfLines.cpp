#include "NcfLines.h"

#include "core/SysUtils.h"

namespace toolpage {

std::string NormalizeLine(const std::string& Line) {
  std::string trimmed = fw::UpperCase(fw::Trim(Line));
  std::string out;
  out.reserve(trimmed.size());
  for (char c : trimmed)
    if (c != ' ') out += c;
  return out;
}

std::vector<std::string> SplitTextLines(const std::string& Data) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < Data.size(); ++i) {
    char c = Data[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < Data.size() && Data[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
      open = false;
      continue;
    }
    line += c;
    open = true;
  }
  if (open) lines.push_back(line);
  return lines;
}

std::string UpdateNcfText(const std::string& Data, const std::string& Key, const std::string& NewLine) {
  const std::string key = NormalizeLine(Key.empty() ? NewLine : Key);
  std::string out;
  out.reserve(Data.size() + NewLine.size() + 4);
  bool matched = false;
  for (const std::string& line : SplitTextLines(Data)) {
    if (NormalizeLine(line).starts_with(key)) {
      out += NewLine;
      matched = true;
    } else {
      out += line;
    }
    out += "\r\n";
  }
  if (!matched) out += NewLine + "\r\n";
  return out;
}

}  // namespace toolpage
