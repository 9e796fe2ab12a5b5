// A file held open by another program, as a running program or a reader holds a file
// of the product: shared with nobody, so that a setup can neither delete nor replace it.
// The holder is file_holder.exe, a separate process; it lets go when the object goes (or
// Release is called), and is ended when it does not.
#pragma once

#include <memory>
#include <string>

#include "StartedProgram.h"
#include "gui/WinHandles.h"

namespace restart {

class THeldFile {
 public:
  // Starts HolderProgram on Path and waits until it holds the file; throws ERestartPlay
  // when the holder cannot open it (it ends then) or does not answer.
  THeldFile(const std::string& HolderProgram, const std::string& Path);
  ~THeldFile();
  THeldFile(const THeldFile&) = delete;
  THeldFile& operator=(const THeldFile&) = delete;

  // Lets the file go and waits for the holder to end, as a program ends before a
  // restart; later calls do nothing.
  void Release();
  bool Holding() const { return FHolder != nullptr; }

 private:
  fw::TKernelHandle FReady, FRelease;
  std::unique_ptr<TStartedProgram> FHolder;
};

// The holder program built beside the running test program.
std::string HolderBesideProgram();

}  // namespace restart
