// The uninstaller's closing message: whether the product went and what stayed, one line
// each. Portable code.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace setup {

// How much of the report a box can show.
struct TReportLimits {
  // Lines of what stayed; the rest is told as "and N more".
  size_t MaxLines = static_cast<size_t>(-1);
  // Characters of one line; a longer one keeps its start and end around "...".
  size_t MaxLineLength = static_cast<size_t>(-1);
};

// FullList: a file that holds the whole report, named after "and N more" when not all
// lines fit.
std::string UninstallReportText(const std::string& ProductName, bool Found, const std::vector<std::string>& NotRemoved,
                                const TReportLimits& Limits = TReportLimits(), const std::string& FullList = {});

}  // namespace setup
