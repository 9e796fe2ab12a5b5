// Feeds arbitrary text to the "%" expanders and to the path and list helpers and checks
// what must hold whatever the text: expansion only replaces what follows a "%", a list
// split into its items joins back into the same text, a stripped file name holds none
// of the refused characters.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Strings.h"
#include "paths/MetaVariables.h"
#include "support/PathStrings.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::string LetterValue(char letter) {
  if (letter == 'q') throw fw::Exception("no value for %q");
  return std::string("<") + letter + ">";
}

void CheckExpanders(const std::string& text) {
  const bool hasPercent = text.find('%') != std::string::npos;
  try {
    std::string meta = setup::ExpandMetaText(text, LetterValue);
    if (!hasPercent) Check(meta == text);
  } catch (const fw::Exception&) {
    Check(hasPercent);
  }
  std::string bare = setup::ExpandPathText(text, "");
  Check(bare.size() <= text.size());
  if (!hasPercent) Check(setup::ExpandPathText(text, "C:\\Kavel") == text);
}

void CheckPaths(const std::string& text) {
  std::string added = setup::AddTrailingBackslash(text);
  Check(text.empty() ? added.empty() : added.back() == '\\');
  Check(setup::RemoveTrailingBackslash(added) == setup::RemoveTrailingBackslash(text));
  std::string stripped = setup::StripInvalidFileNameChars(text);
  Check(stripped.find_first_of("\"*:;<>?\\|/") == std::string::npos);
  std::string after = setup::ExtractAfterColon(text);
  Check(after.size() <= text.size());
}

void CheckList(const std::string& text) {
  int count = setup::CountDelimitedItems(text, ';');
  std::string joined;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) joined += ';';
    joined += setup::GetDelimitedItem(text, i, ';');
  }
  if (!text.empty() && text.back() == ';') joined += ';';
  Check(joined == text);
  Check(setup::GetDelimitedItem(text, 0, ';').empty() && setup::GetDelimitedItem(text, count + 1, ';').empty());
  fw::TStringList items;
  setup::SplitDelimited(text, ';', items);
  Check(items.Count() == count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CheckExpanders(text);
  CheckPaths(text);
  CheckList(text);
  return 0;
}
