#include "Sha0.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#define SETUP_SHA0_X86 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace setup {
namespace {

constexpr uint32_t kInitialState[5] = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};

inline uint32_t Rol(uint32_t Value, int Bits) {
  return (Value << Bits) | (Value >> (32 - Bits));
}

inline uint32_t LoadBigEndian(const uint8_t* P) {
  return (uint32_t(P[0]) << 24) | (uint32_t(P[1]) << 16) | (uint32_t(P[2]) << 8) | uint32_t(P[3]);
}

void PortableBlocks(uint32_t State[5], const uint8_t* Data, size_t Blocks) {
  for (; Blocks > 0; --Blocks, Data += 64) {
    uint32_t W[80];
    for (int t = 0; t < 16; ++t) W[t] = LoadBigEndian(Data + 4 * t);
    // The first edition's schedule: no rotation here (the second edition added it).
    for (int t = 16; t < 80; ++t) W[t] = W[t - 3] ^ W[t - 8] ^ W[t - 14] ^ W[t - 16];
    uint32_t a = State[0], b = State[1], c = State[2], d = State[3], e = State[4];
    auto Round = [&](uint32_t F, uint32_t K, uint32_t Wt) {
      const uint32_t Temp = Rol(a, 5) + F + e + K + Wt;
      e = d;
      d = c;
      c = Rol(b, 30);
      b = a;
      a = Temp;
    };
    for (int t = 0; t < 20; ++t) Round((b & c) | (~b & d), 0x5A827999u, W[t]);
    for (int t = 20; t < 40; ++t) Round(b ^ c ^ d, 0x6ED9EBA1u, W[t]);
    for (int t = 40; t < 60; ++t) Round((b & c) | (b & d) | (c & d), 0x8F1BBCDCu, W[t]);
    for (int t = 60; t < 80; ++t) Round(b ^ c ^ d, 0xCA62C1D6u, W[t]);
    State[0] += a;
    State[1] += b;
    State[2] += c;
    State[3] += d;
    State[4] += e;
  }
}

#ifdef SETUP_SHA0_X86

bool CpuHasShaExtensions() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  const bool ssse3 = (ecx & (1u << 9)) != 0, sse41 = (ecx & (1u << 19)) != 0;
  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
  return ssse3 && sse41 && (ebx & (1u << 29)) != 0;
}

// The SHA extension instructions. Their round instruction (SHA1RNDS4) is the same for
// SHA-0; their schedule instruction SHA1MSG2 rotates, so the schedule's last step is
// done with plain vector operations. A register holds four schedule words, the earliest
// in the highest lane, as the round instructions expect.
__attribute__((target("sha,sse4.1,ssse3"))) inline __m128i NextScheduleWords(__m128i W16, __m128i W12, __m128i W8,
                                                                             __m128i W4) {
  // W[t-16] ^ W[t-14], then W[t-8], then W[t-3] for the first three lanes.
  __m128i x = _mm_sha1msg1_epu32(W16, W12);
  x = _mm_xor_si128(x, W8);
  x = _mm_xor_si128(x, _mm_slli_si128(W4, 4));
  // The fourth word's W[t-3] is the first word of this group.
  return _mm_xor_si128(x, _mm_srli_si128(x, 12));
}

__attribute__((target("sha,sse4.1,ssse3"))) void ShaExtensionBlocks(uint32_t State[5], const uint8_t* Data,
                                                                    size_t Blocks) {
  const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
  __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(State)), 0x1B);
  __m128i e0 = _mm_set_epi32(static_cast<int>(State[4]), 0, 0, 0);

  for (; Blocks > 0; --Blocks, Data += 64) {
    const __m128i abcdSaved = abcd, eSaved = e0;
    __m128i w0 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data)), byteSwap);
    __m128i w1 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + 16)), byteSwap);
    __m128i w2 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + 32)), byteSwap);
    __m128i w3 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + 48)), byteSwap);

    // Rounds 0-3; "previous" keeps the state before the last four rounds, from which
    // SHA1NEXTE derives the next E.
    __m128i previous = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, _mm_add_epi32(e0, w0), 0);

#define SHA0_ROUNDS(W, F)                                \
  {                                                      \
    const __m128i wE = _mm_sha1nexte_epu32(previous, W); \
    previous = abcd;                                     \
    abcd = _mm_sha1rnds4_epu32(abcd, wE, F);             \
  }
    SHA0_ROUNDS(w1, 0)
    SHA0_ROUNDS(w2, 0)
    SHA0_ROUNDS(w3, 0)
    // Rounds 16-79: four new schedule words before every four rounds; the registers
    // rotate through w0..w3.
#define SHA0_SCHEDULED_ROUNDS(A, B, C, D, F) \
  A = NextScheduleWords(A, B, C, D);         \
  SHA0_ROUNDS(A, F)
    SHA0_SCHEDULED_ROUNDS(w0, w1, w2, w3, 0)
    SHA0_SCHEDULED_ROUNDS(w1, w2, w3, w0, 1)
    SHA0_SCHEDULED_ROUNDS(w2, w3, w0, w1, 1)
    SHA0_SCHEDULED_ROUNDS(w3, w0, w1, w2, 1)
    SHA0_SCHEDULED_ROUNDS(w0, w1, w2, w3, 1)
    SHA0_SCHEDULED_ROUNDS(w1, w2, w3, w0, 1)
    SHA0_SCHEDULED_ROUNDS(w2, w3, w0, w1, 2)
    SHA0_SCHEDULED_ROUNDS(w3, w0, w1, w2, 2)
    SHA0_SCHEDULED_ROUNDS(w0, w1, w2, w3, 2)
    SHA0_SCHEDULED_ROUNDS(w1, w2, w3, w0, 2)
    SHA0_SCHEDULED_ROUNDS(w2, w3, w0, w1, 2)
    SHA0_SCHEDULED_ROUNDS(w3, w0, w1, w2, 3)
    SHA0_SCHEDULED_ROUNDS(w0, w1, w2, w3, 3)
    SHA0_SCHEDULED_ROUNDS(w1, w2, w3, w0, 3)
    SHA0_SCHEDULED_ROUNDS(w2, w3, w0, w1, 3)
    SHA0_SCHEDULED_ROUNDS(w3, w0, w1, w2, 3)
#undef SHA0_SCHEDULED_ROUNDS
#undef SHA0_ROUNDS
    e0 = _mm_sha1nexte_epu32(previous, eSaved);
    abcd = _mm_add_epi32(abcd, abcdSaved);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(State), _mm_shuffle_epi32(abcd, 0x1B));
  State[4] = static_cast<uint32_t>(_mm_extract_epi32(e0, 3));
}

#endif

}  // namespace

const char* Sha0PathName(TSha0Path Path) {
  switch (Path) {
    case TSha0Path::Portable:
      return "portable";
    case TSha0Path::ShaExtensions:
      return "SHA extensions";
  }
  return "?";
}

bool Sha0PathUsable(TSha0Path Path) {
  switch (Path) {
    case TSha0Path::Portable:
      return true;
    case TSha0Path::ShaExtensions:
#ifdef SETUP_SHA0_X86
    {
      static const bool usable = CpuHasShaExtensions();
      return usable;
    }
#else
      return false;
#endif
  }
  return false;
}

TSha0BlockFunction Sha0BlockFunction(TSha0Path Path) {
#ifdef SETUP_SHA0_X86
  if (Path == TSha0Path::ShaExtensions && Sha0PathUsable(Path)) return ShaExtensionBlocks;
#endif
  return PortableBlocks;
}

TSha0Path BestSha0Path() {
  return Sha0PathUsable(TSha0Path::ShaExtensions) ? TSha0Path::ShaExtensions : TSha0Path::Portable;
}

TSha0::TSha0(TSha0BlockFunction Blocks) : FBlocks(Blocks) {
  Reset();
}

void TSha0::Reset() {
  std::memcpy(FState, kInitialState, sizeof FState);
  FBuffered = 0;
  FLength = 0;
}

void TSha0::Update(const void* Data, size_t Count) {
  auto p = static_cast<const uint8_t*>(Data);
  FLength += Count;
  if (FBuffered > 0) {
    const size_t take = Count < 64 - FBuffered ? Count : 64 - FBuffered;
    std::memcpy(FBuffer + FBuffered, p, take);
    FBuffered += take;
    p += take;
    Count -= take;
    if (FBuffered < 64) return;
    FBlocks(FState, FBuffer, 1);
    FBuffered = 0;
  }
  if (Count >= 64) {
    FBlocks(FState, p, Count / 64);
    p += Count / 64 * 64;
    Count %= 64;
  }
  std::memcpy(FBuffer, p, Count);
  FBuffered = Count;
}

TSha0Digest TSha0::Final() {
  const uint64_t bits = FLength * 8;
  FBuffer[FBuffered++] = 0x80;
  if (FBuffered > 56) {
    std::memset(FBuffer + FBuffered, 0, 64 - FBuffered);
    FBlocks(FState, FBuffer, 1);
    FBuffered = 0;
  }
  std::memset(FBuffer + FBuffered, 0, 56 - FBuffered);
  for (int i = 0; i < 8; ++i) FBuffer[56 + i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  FBlocks(FState, FBuffer, 1);
  TSha0Digest digest;
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(FState[i] >> (24 - 8 * j));
  Reset();
  return digest;
}

TSha0Digest Sha0(const void* Data, size_t Count) {
  TSha0 sha;
  sha.Update(Data, Count);
  return sha.Final();
}

std::string DigestToHex(const TSha0Digest& Digest) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(40);
  for (uint8_t b : Digest) {
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

bool IsDigestText(const std::string& Text) {
  if (Text.size() != 40) return false;
  for (char c : Text)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  return true;
}

}  // namespace setup
