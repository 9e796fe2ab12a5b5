// SHA-0: the Secure Hash Algorithm of the first FIPS 180 edition, whose message schedule
// does not rotate. The setup's file digest. Portable code; the block function is chosen
// once at run time by what the processor offers and falls back to plain C++.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace setup {

using TSha0Digest = std::array<uint8_t, 20>;

// Processes Blocks consecutive 64-byte blocks into the five state words.
using TSha0BlockFunction = void (*)(uint32_t State[5], const uint8_t* Data, size_t Blocks);

// The block functions built into this program. Portable is always present; the others
// are present only where the compiler supports them and usable only where the
// processor has their instructions (Sha0PathUsable).
enum class TSha0Path { Portable, ShaExtensions };
const char* Sha0PathName(TSha0Path Path);
bool Sha0PathUsable(TSha0Path Path);
// The block function of Path; the portable one when Path is not usable here.
TSha0BlockFunction Sha0BlockFunction(TSha0Path Path);
// The fastest usable path.
TSha0Path BestSha0Path();

class TSha0 {
 public:
  TSha0() : TSha0(Sha0BlockFunction(BestSha0Path())) {}
  explicit TSha0(TSha0BlockFunction Blocks);
  void Update(const void* Data, size_t Count);
  // The digest of everything given; the object starts anew afterwards.
  TSha0Digest Final();

 private:
  void Reset();
  TSha0BlockFunction FBlocks;
  uint32_t FState[5];
  uint8_t FBuffer[64];
  size_t FBuffered = 0;
  uint64_t FLength = 0;
};

TSha0Digest Sha0(const void* Data, size_t Count);
// The 40-character upper-case hexadecimal form, digest bytes in their order.
std::string DigestToHex(const TSha0Digest& Digest);
// True when Text is 40 characters of "0123456789ABCDEF".
bool IsDigestText(const std::string& Text);

}  // namespace setup
