// What a file held when it was written: its size and the SHA-0 digest of its contents.
// Two files with the same identity hold the same bytes. Portable code.
#pragma once

#include <cstdint>

#include "Sha0.h"

namespace setup {

struct TFileIdentity {
  uint64_t Size = 0;
  TSha0Digest Digest{};
  bool operator==(const TFileIdentity&) const = default;
};

}  // namespace setup
