#include "UninstallReportText.h"

#include <algorithm>

namespace setup {

namespace {

// A line cut to MaxLength around "...": its start, and its end with the reason in
// brackets whole when that takes at most half the line.
std::string Fitted(const std::string& Line, size_t MaxLength) {
  if (Line.size() <= MaxLength) return Line;
  std::string reason;
  if (const size_t open = Line.rfind(" ("); open != std::string::npos && Line.back() == ')' &&
                                            Line.size() - open <= MaxLength / 2)
    reason = Line.substr(open);
  const std::string body = Line.substr(0, Line.size() - reason.size());
  const size_t kept = MaxLength - reason.size() > 3 ? MaxLength - reason.size() - 3 : 0;
  const size_t head = (kept + 1) / 2;
  return body.substr(0, head) + "..." + body.substr(body.size() - (kept - head)) + reason;
}

}  // namespace

std::string UninstallReportText(const std::string& ProductName, bool Found, const std::vector<std::string>& NotRemoved,
                                const TReportLimits& Limits, const std::string& FullList) {
  if (!Found) return "Nothing is recorded for the removal of " + ProductName + ".";
  if (NotRemoved.empty()) return ProductName + " was removed.";
  std::string text = ProductName + " was removed, except for these items:\r\n";
  // When not all fit, the last line that would fit tells how many more there are.
  const size_t shown =
      NotRemoved.size() <= Limits.MaxLines ? NotRemoved.size() : (Limits.MaxLines > 0 ? Limits.MaxLines - 1 : 0);
  for (size_t i = 0; i < shown; ++i) text += "\r\n" + Fitted(NotRemoved[i], Limits.MaxLineLength);
  if (shown < NotRemoved.size()) {
    text += "\r\nand " + std::to_string(NotRemoved.size() - shown) + " more";
    if (!FullList.empty()) text += ", all listed in:\r\n" + FullList;
  }
  return text;
}

}  // namespace setup
