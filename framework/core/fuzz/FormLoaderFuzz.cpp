// Feeds arbitrary bytes to the form loader over classes that publish every kind of
// property: loading ends with every component loaded and every reference pointing at a
// live component, or with an EReadError; never a crash, a sanitizer report or a leak.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "LoaderFuzzClasses.h"
#include "core/FormReader.h"
#include "core/Startup.h"

using namespace fw;
using namespace fuzz;

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool IsLive(const TFuzzForm& form, const TComponent* c) {
  if (c == nullptr || c == &form) return true;
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (form.Components(i) == c) return true;
  return false;
}

// Everything a loaded form holds must be live and usable: references, events, items.
void CheckLoaded(TFuzzForm& form) {
  Check(form.ComponentState().Empty());
  int count = 0;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    Check(form.Components(i)->ComponentState().Empty());
    auto* part = dynamic_cast<TFuzzPart*>(form.Components(i));
    if (part == nullptr) continue;  // a form described inside the form
    Check(IsLive(form, part->Buddy()) && IsLive(form, part->Anything()) && IsLive(form, part->Details()->Partner()));
    if (part->OnClick) part->OnClick(part);
    if (part->OnCount) part->OnCount(part, count);
    for (int e = 0; e < part->Entries()->Count(); ++e) {
      auto* entry = dynamic_cast<TFuzzEntry*>(part->Entries()->Items(e));
      Check(entry != nullptr && entry->Collection() == part->Entries());
      Check(IsLive(form, entry->Specifier()) && IsLive(form, entry->Details()->Partner()));
      if (entry->OnCount) entry->OnCount(entry, count);
      for (int l = 0; l < entry->Leaves()->Count(); ++l)
        Check(IsLive(form, static_cast<TFuzzLeaf*>(entry->Leaves()->Items(l))->Target()));
    }
  }
  Check(form.First == nullptr || IsLive(form, form.First));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The class registry exists between the core's start-up and shut-down: for the
  // whole run here.
  static fw::TStartedLibraries libraries({fw::CoreLibrary()});
  RegisterFuzzClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TOwnedPtr<TFuzzForm> form(new TFuzzForm(nullptr));
  try {
    ReadComponentFromText(form.get(), std::string_view(reinterpret_cast<const char*>(data), size), "TFUZZFORM");
  } catch (const EReadError&) {
    return 0;
  }
  CheckLoaded(*form);
  return 0;
}
