// The file digest over 256 MiB against OpenSSL's SHA-1 in the same run (native program).
//
//   build/native/sha0_benchmark
//
// SHA-1 does the same 80 rounds as SHA-0 plus one rotation per schedule word. OpenSSL is
// measured twice, each in a child process of this program: with its SHA extension path
// masked through OPENSSL_ia32cap (its best path whose instructions could compute SHA-0's
// schedule: the extensions' schedule instruction rotates), which is the reference, and
// unmasked. Figures are the best of three passes, in MiB/s.
#include <openssl/evp.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/Sha0.h"

namespace {

constexpr size_t kSize = size_t(256) << 20;

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::vector<uint8_t> Data() {
  std::vector<uint8_t> data(kSize);
  uint32_t x = 12345;
  for (auto& b : data) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  return data;
}

template <class F>
double BestMiBPerSecond(F&& Run) {
  double best = 1e30;
  for (int pass = 0; pass < 3; ++pass) {
    const double start = Seconds();
    Run();
    best = std::min(best, Seconds() - start);
  }
  return double(kSize >> 20) / best;
}

double OpenSslFigure(const std::vector<uint8_t>& Data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  return BestMiBPerSecond([&] {
    if (!EVP_Digest(Data.data(), Data.size(), digest, &length, EVP_sha1(), nullptr)) std::exit(2);
  });
}

// Runs this program as "--openssl" with the given OPENSSL_ia32cap and reads its figure.
double OpenSslInChild(const char* Self, const char* Caps) {
  std::string command = std::string(Caps ? "OPENSSL_ia32cap='" + std::string(Caps) + "' " : "env -u OPENSSL_ia32cap ") +
                        "'" + Self + "' --openssl";
  FILE* pipe = popen(command.c_str(), "r");
  double figure = 0;
  if (pipe == nullptr || std::fscanf(pipe, "%lf", &figure) != 1) {
    std::fprintf(stderr, "benchmark failed: no figure from %s\n", command.c_str());
    std::exit(1);
  }
  pclose(pipe);
  return figure;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace setup;
  const std::vector<uint8_t> data = Data();
  if (argc > 1 && std::strcmp(argv[1], "--openssl") == 0) {
    std::printf("%.0f\n", OpenSslFigure(data));
    return 0;
  }
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 1;
  self[n] = 0;

  // Bit 29 of the second word is the SHA extensions (CPUID leaf 7, EBX).
  const double masked = OpenSslInChild(self, ":~0x20000000");
  const double unmasked = OpenSslInChild(self, nullptr);

  std::printf("SHA-0 over %zu MiB (MiB/s, best of 3)\n", kSize >> 20);
  std::printf("  OpenSSL SHA-1, SHA extensions masked (reference): %8.0f\n", masked);
  std::printf("  OpenSSL SHA-1, unmasked:                          %8.0f\n", unmasked);
  const TSha0Digest reference = [&] {
    TSha0 sha(Sha0BlockFunction(TSha0Path::Portable));
    sha.Update(data.data(), data.size());
    return sha.Final();
  }();
  bool failed = false;
  for (TSha0Path path : {TSha0Path::Portable, TSha0Path::ShaExtensions}) {
    if (!Sha0PathUsable(path)) {
      std::printf("  SHA-0 %-16s not usable on this processor\n", Sha0PathName(path));
      continue;
    }
    TSha0Digest digest{};
    const double figure = BestMiBPerSecond([&] {
      TSha0 sha(Sha0BlockFunction(path));
      sha.Update(data.data(), data.size());
      digest = sha.Final();
    });
    if (digest != reference) failed = true;
    std::printf("  SHA-0 %-16s %8.0f  (%.0f%% of the reference, %.0f%% of unmasked)%s\n", Sha0PathName(path), figure,
                100 * figure / masked, 100 * figure / unmasked, path == BestSha0Path() ? "  <- chosen" : "");
  }
  if (failed) {
    std::fprintf(stderr, "benchmark failed: the paths disagree\n");
    return 1;
  }
  return 0;
}
