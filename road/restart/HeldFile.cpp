#include "HeldFile.h"

#include <memory>

#include "Files.h"

namespace restart {

namespace {

// Event names of their own for every holder of this process.
std::string NextHolderTag() {
  static int count = 0;
  return "StavrelRestartHolder" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++count);
}

}  // namespace

THeldFile::THeldFile(const std::string& HolderProgram, const std::string& Path) {
  std::string tag = NextHolderTag();
  FReady.Reset(CreateEventA(nullptr, TRUE, FALSE, (tag + "Ready").c_str()));
  FRelease.Reset(CreateEventA(nullptr, TRUE, FALSE, (tag + "Release").c_str()));
  if (!FReady || !FRelease) throw ERestartPlay("cannot make the holder's events");
  FHolder = std::make_unique<TStartedProgram>("\"" + HolderProgram + "\" \"" + Path + "\" " + tag + "Ready " + tag +
                                              "Release");
  DWORD code = 0;
  for (DWORD waited = 0; WaitForSingleObject(FReady.Get(), 50) != WAIT_OBJECT_0; waited += 50) {
    if (FHolder->WaitForEnd(0, code) || waited >= 20000) {
      FHolder.reset();
      throw ERestartPlay("the holder could not hold " + Path + " (exit code " + std::to_string(code) + ")");
    }
  }
}

THeldFile::~THeldFile() {
  Release();
}

void THeldFile::Release() {
  if (!FHolder) return;
  SetEvent(FRelease.Get());
  DWORD code = 0;
  if (!FHolder->WaitForEnd(10000, code)) FHolder->End();
  FHolder.reset();
}

std::string HolderBesideProgram() {
  return testsupport::BesideProgram("file_holder.exe");
}

}  // namespace restart
