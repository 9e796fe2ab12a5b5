#include "OverwriteDecision.h"

#include "ArchiveText.h"
#include "core/SysUtils.h"
#include "support/PathStrings.h"

namespace setup {

const fw::TEnumInfo& OverwriteTypeInfo() {
  static const fw::TEnumInfo info{"TOverwriteType",
                                  {"owAlways", "owNever", "owVersion", "owDate", "owVersionDate", "owAsk"}};
  return info;
}

int CompareVersions(std::string_view A, std::string_view B) {
  for (int n = 1;; ++n) {
    std::string a = GetDelimitedItem(std::string(A), n, '.'), b = GetDelimitedItem(std::string(B), n, '.');
    if (a.empty() || b.empty()) {
      if (a.empty() && b.empty()) return 0;
      return a.empty() ? 2 : 1;
    }
    int ia = 0, ib = 0;
    if (fw::TryStrToInt(a, ia) && fw::TryStrToInt(b, ib)) {
      if (ia != ib) return ia < ib ? 2 : 1;
    } else {
      int c = a.compare(b);  // std::string compares bytes as unsigned characters
      if (c != 0) return c < 0 ? 2 : 1;
    }
  }
}

namespace {
uint8_t ByVersion(const TOverwriteFacts& Facts) {
  switch (CompareVersions(Facts.SourceVersion(), Facts.TargetVersion())) {
    case 0: return odSame;
    case 1: return odReplace;
    default: return odKeep;
  }
}

uint8_t ByDate(const TOverwriteFacts& Facts) {
  int result = 0;
  if (!Facts.CompareDates(result)) return odFailed;
  return result == 0 ? odSame : result == 1 ? odReplace : odKeep;
}
}  // namespace

uint8_t DecideOverwrite(int Mode, const TOverwriteFacts& Facts) {
  switch (Mode) {
    case owAlways: return odReplace;
    case owNever: return Facts.TargetExists() ? odKeep : odReplace;
    case owVersion: return ByVersion(Facts);
    case owDate: return ByDate(Facts);
    case owVersionDate: {
      uint8_t byVersion = ByVersion(Facts);
      return byVersion == odSame ? ByDate(Facts) : byVersion;
    }
    case owAsk: return odAsk;
    default: return odFailed;
  }
}

}  // namespace setup
