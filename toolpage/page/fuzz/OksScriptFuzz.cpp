// Any bytes read as a console script without a fault; the items read, written and read
// again are the same items, and writing them again gives the same bytes. The same bytes
// as a user's work in the line editor: the script its rules let through is read back as
// it was made.
#include <cstdint>
#include <cstdlib>

#include "ScrListRules.h"
#include "ScriptFormat.h"

namespace {

std::vector<toolpage::TSCItem> ReadItems(const uint8_t* Data, size_t Size) {
  fw::TMemoryStream stream;
  if (Size > 0) stream.WriteBuffer(Data, Size);
  stream.SetPosition(0);
  toolpage::TSCList list;
  list.LoadFromStream(stream);
  return list.Snapshot();
}

fw::TMemoryStream Write(const std::vector<toolpage::TSCItem>& Items) {
  toolpage::TSCList list;
  for (const auto& item : Items) list.Add(item.Kind, item.Text);
  fw::TMemoryStream stream;
  list.SaveToStream(stream);
  return stream;
}

// Each run of bytes up to a zero byte is one new line: its first byte chooses the kind,
// the rest is what was typed into its editor (for a key, which name of the key list was
// picked). A value the rules refuse leaves the line's default text.
std::vector<toolpage::TSCItem> EditedItems(const uint8_t* Data, size_t Size) {
  using namespace toolpage;
  std::vector<TSCItem> items;
  for (size_t start = 0; start < Size;) {
    size_t end = start;
    while (end < Size && Data[end] != 0) ++end;
    if (end > start) {
      auto kind = static_cast<uint8_t>(skText + Data[start] % 4);
      std::string typed(reinterpret_cast<const char*>(Data + start + 1), end - start - 1);
      if (kind == skKey) typed = KeyNames()[typed.size() % KeyNameCount];
      std::string text = LineKindLook(kind).DefaultText;
      if (auto committed = CommittedText(kind, typed)) text = *committed;
      items.emplace_back(kind, text);
    }
    start = end + 1;
  }
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::vector<toolpage::TSCItem> first = ReadItems(Data, Size);
  fw::TMemoryStream written = Write(first);
  std::vector<toolpage::TSCItem> second = ReadItems(written.Data().data(), written.Data().size());
  if (second != first) std::abort();
  if (Write(second).Data() != written.Data()) std::abort();

  std::vector<toolpage::TSCItem> edited = EditedItems(Data, Size);
  fw::TMemoryStream saved = Write(edited);
  if (ReadItems(saved.Data().data(), saved.Data().size()) != edited) std::abort();
  return 0;
}
