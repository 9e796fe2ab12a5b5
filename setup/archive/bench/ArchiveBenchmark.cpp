// Throughput and memory of the archive against plain zlib on the same data.
//
//   archive_benchmark [MiB [folder]]
//
// Writes a file of the given size (half random bytes, half text), puts it into an
// archive and extracts it again, then deflates and inflates it with zlib alone at the
// same level, file to file in 64 KiB blocks. Prints the throughput of each and the
// program's peak working set before and after the archive's work.
#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ArchiveStream.h"
#include "BenchMeasures.h"
#include "QnlkCompress.h"

using namespace setup;

using benchsupport::Fail;
using benchsupport::Now;
using benchsupport::PeakMiB;

namespace {

constexpr size_t kBlock = 65536;

void MakeData(const std::string& path, int64_t size) {
  TWinFile out;
  if (!out.Open(path, TFileOpen::Create)) Fail("cannot create the data file");
  std::vector<uint8_t> block(1 << 20);
  uint64_t state = 0x9E3779B97F4A7C15ull;
  static const char* const words[] = {"archive ", "setup ",  "install ", "volume ",   "header ", "file ",
                                      "version ", "folder ", "window ",  "registry ", "the ",    "of ",
                                      "and ",     "to ",     "a ",       "disk\r\n",  "copy ",   "newer "};
  size_t word = 0;
  for (int64_t done = 0; done < size; done += static_cast<int64_t>(block.size())) {
    bool random = done < size / 2;
    for (size_t i = 0; i < block.size();) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      if (random) {
        for (int k = 0; k < 8 && i < block.size(); ++k) block[i++] = static_cast<uint8_t>(state >> (8 * k));
      } else {
        word = (word + 1 + state % 7) % (sizeof words / sizeof *words);
        for (const char* c = words[word]; *c && i < block.size(); ++c) block[i++] = static_cast<uint8_t>(*c);
      }
    }
    size_t n = static_cast<size_t>(std::min<int64_t>(size - done, static_cast<int64_t>(block.size())));
    if (out.Write(block.data(), n) != n) Fail("cannot write the data file");
  }
}

// zlib alone, file to file.
void PlainDeflate(const std::string& from, const std::string& to, int level) {
  TWinFile in, out;
  if (!in.Open(from, TFileOpen::Read) || !out.Open(to, TFileOpen::Create)) Fail("plain deflate files");
  std::vector<uint8_t> input(kBlock), output(kBlock);
  z_stream z{};
  deflateInit(&z, level);
  int flush = Z_NO_FLUSH;
  do {
    size_t n = in.Read(input.data(), input.size());
    z.next_in = input.data();
    z.avail_in = static_cast<uInt>(n);
    flush = n == 0 ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = output.data();
      z.avail_out = static_cast<uInt>(output.size());
      deflate(&z, flush);
      out.Write(output.data(), output.size() - z.avail_out);
    } while (z.avail_out == 0);
  } while (flush != Z_FINISH);
  deflateEnd(&z);
}

void PlainInflate(const std::string& from, const std::string& to) {
  TWinFile in, out;
  if (!in.Open(from, TFileOpen::Read) || !out.Open(to, TFileOpen::Create)) Fail("plain inflate files");
  std::vector<uint8_t> input(kBlock), output(kBlock);
  z_stream z{};
  inflateInit(&z);
  int result = Z_OK;
  while (result != Z_STREAM_END) {
    size_t n = in.Read(input.data(), input.size());
    if (n == 0) Fail("plain inflate: stream cut short");
    z.next_in = input.data();
    z.avail_in = static_cast<uInt>(n);
    do {
      z.next_out = output.data();
      z.avail_out = static_cast<uInt>(output.size());
      result = inflate(&z, Z_NO_FLUSH);
      if (result < 0) Fail("plain inflate: damaged stream");
      out.Write(output.data(), output.size() - z.avail_out);
    } while (z.avail_out == 0 && result != Z_STREAM_END);
  }
  inflateEnd(&z);
}

bool SameFiles(const std::string& a, const std::string& b) {
  TWinFile x, y;
  if (!x.Open(a, TFileOpen::Read) || !y.Open(b, TFileOpen::Read) || x.Size() != y.Size()) return false;
  std::vector<uint8_t> p(1 << 20), q(1 << 20);
  for (;;) {
    size_t n = x.Read(p.data(), p.size());
    if (y.Read(q.data(), q.size()) != n) return false;
    if (n == 0) return true;
    if (std::memcmp(p.data(), q.data(), n) != 0) return false;
  }
}

int64_t FileSize(const std::string& path) {
  TWinFile f;
  return f.Open(path, TFileOpen::Read) ? f.Size() : -1;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t mib = argc > 1 ? std::atoll(argv[1]) : 256;
  std::string folder;
  if (argc > 2) {
    folder = argv[2];
  } else {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "archive_benchmark";
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string data = folder + "\\mixed.dat", archive = folder + "\\files.1", out = folder + "\\out",
                    plain = folder + "\\plain.z", plainOut = folder + "\\plain.dat";
  const double size = static_cast<double>(mib);
  const double idle = PeakMiB();
  MakeData(data, mib << 20);

  TQnlkCompress compressor(nullptr);
  compressor.SetCompressionLevel(colMax);
  compressor.SetCompressedFile(archive);
  compressor.FilesToProcess()->Add(data);
  double t0 = Now();
  compressor.Compress(lzcOverwrite, 1);
  double archiveDeflate = Now() - t0;
  DeleteFileA((out + "\\mixed.dat").c_str());
  compressor.SetExtractDirectory(out);
  compressor.FilesToProcess()->Add(data);
  t0 = Now();
  compressor.Extract();
  double archiveInflate = Now() - t0;
  const double busy = PeakMiB();
  if (!SameFiles(data, out + "\\mixed.dat")) Fail("the extracted file differs");

  t0 = Now();
  PlainDeflate(data, plain, 9);
  double zlibDeflate = Now() - t0;
  t0 = Now();
  PlainInflate(plain, plainOut);
  double zlibInflate = Now() - t0;
  if (!SameFiles(data, plainOut)) Fail("the plain zlib round trip differs");

  std::printf("data: %lld MiB, half random, half text; level 9 (colMax)\n", static_cast<long long>(mib));
  std::printf("archive %lld bytes, plain zlib %lld bytes\n", static_cast<long long>(FileSize(archive)),
              static_cast<long long>(FileSize(plain)));
  std::printf("compress: archive %7.1f MiB/s (%.2f s), zlib %7.1f MiB/s (%.2f s): %5.1f%%\n", size / archiveDeflate,
              archiveDeflate, size / zlibDeflate, zlibDeflate, 100.0 * zlibDeflate / archiveDeflate);
  std::printf("extract:  archive %7.1f MiB/s (%.2f s), zlib %7.1f MiB/s (%.2f s): %5.1f%%\n", size / archiveInflate,
              archiveInflate, size / zlibInflate, zlibInflate, 100.0 * zlibInflate / archiveInflate);
  std::printf("peak working set: %.1f MiB before the archive's work, %.1f MiB after\n", idle, busy);

  for (const std::string& f : {data, archive, out + "\\mixed.dat", plain, plainOut}) DeleteFileA(f.c_str());
  RemoveDirectoryA(out.c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
