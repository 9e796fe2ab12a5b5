// Milliseconds per paint of the full-screen splash (1920 x 1080: the backdrop's 256
// bands and its three labels, drawn into the backdrop's memory bitmap and copied), and
// for reference a single FillRect of the same area, measured in the same run.
//
//   wine wizard_benchmark.exe [paints]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "../tests/SplashFixture.h"
#include "gui/GuiStartup.h"
#include "wizard/WizardStartup.h"

using namespace fw;

namespace {

template <class F>
double MillisecondsPer(int Rounds, F&& Paint) {
  Paint();  // warm: fonts and bitmaps made once
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < Rounds; ++i) Paint();
  GdiFlush();
  std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / Rounds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 100;
  TStartedLibraries libraries({CoreLibrary(), GuiLibrary(GetModuleHandleA(nullptr)), setup::WizardLibrary()});
  const int width = 1920, height = 1080;
  setup::testing::TSplash splash(width, height);
  TMemoryBitmap buffer(width, height), screen(width, height);

  double splashMs = MillisecondsPer(rounds, [&] {
    splash.Backdrop->PaintTo(buffer.DC());
    buffer.CopyTo(screen.DC(), 0, 0);
  });
  double fillMs = MillisecondsPer(rounds, [&] {
    TGdiCanvas canvas(screen.DC());
    canvas.FillRect(RECT{0, 0, width, height}, clBlue);
  });
  std::printf("splash %dx%d, 256 bands and 3 labels: %.2f ms per paint\n", width, height, splashMs);
  std::printf("reference, one FillRect of the same area: %.2f ms\n", fillMs);
  return 0;
}
