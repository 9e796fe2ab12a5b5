// Any bytes read as a console script without a fault; the items read, written and read
// again are the same items, and writing them again gives the same bytes.
#include <cstdint>
#include <cstdlib>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::vector<toolpage::TSCItem> first = ReadItems(Data, Size);
  fw::TMemoryStream written = Write(first);
  std::vector<toolpage::TSCItem> second = ReadItems(written.Data().data(), written.Data().size());
  if (second != first) std::abort();
  if (Write(second).Data() != written.Data()) std::abort();
  return 0;
}
