// Feeds arbitrary text to the language table parser, then uses every entry as the
// translator does: each text as a format with a few typical argument lists, each memo as
// the lines that replace a control's. Bad tables and bad formats are refused with the
// project's exceptions; nothing crashes, leaks or grows without bound.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/SysUtils.h"
#include "support/LanguageTable.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void UseAsFormat(const std::string& text) {
  const auto tryFormat = [&](auto... args) {
    try {
      std::string out = fw::Format(text, args...);
      Check(out.size() <= text.size() * (2 * fw::kMaxFormatField + 400));
    } catch (const fw::EConvertError&) {
    }
  };
  tryFormat();
  tryFormat("C:\\Program Files\\Kavel");
  tryFormat(3);
  tryFormat("VX4.EXE", 120000000);
  tryFormat(2.5, "disk");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fw::TStringList lines;
  lines.SetText(std::string(reinterpret_cast<const char*>(data), size));
  setup::TLanguageEntries entries;
  try {
    entries = setup::ParseLanguageTable(lines, nullptr);
  } catch (const fw::Exception&) {
    return 0;
  }
  for (const auto& entry : entries.Strings) {
    Check(entry->Text().size() <= setup::TLanguageString::kMaxText);
    UseAsFormat(entry->Text());
  }
  for (const auto& memo : entries.Memos) {
    fw::TStringList shown;
    shown.Assign(&memo->Lines());
    Check(shown.Equals(memo->Lines()));
    fw::TStringList reread;
    reread.SetText(shown.Text());
    Check(reread.Equals(memo->Lines()));
  }
  return 0;
}
