// Writes a file on a thread of its own while the caller produces the next data: the caller
// fills one buffer while the thread writes the full ones, in order.
//
//   TBackgroundFileWriter writer(std::move(file), 1 << 20);
//   while (...) if (!writer.Append(data, size)) ...;   // false once a write has failed
//   if (!writer.Finish()) ...                           // everything written, file closed
//
// The thread starts when the first buffer is full: data that fits one buffer is written
// by Finish itself. Going without Finish (an error, a cancel) drops what is not written
// yet, ends the thread and closes the file.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "gui/WinHandles.h"

namespace setup {

class TBackgroundFileWriter {
 public:
  // Takes the open file; BufferCount (at least 2) buffers of BufferSize bytes each.
  TBackgroundFileWriter(fw::TFileHandle File, size_t BufferSize, size_t BufferCount = 2);
  ~TBackgroundFileWriter();
  TBackgroundFileWriter(const TBackgroundFileWriter&) = delete;
  TBackgroundFileWriter& operator=(const TBackgroundFileWriter&) = delete;

  // Copies Bytes of Data after what came before. A full buffer goes to the thread; when
  // every buffer is full, this waits until the oldest is written. False once a write has
  // failed (the data is then dropped).
  bool Append(const char* Data, size_t Bytes);
  // Writes what is left, ends the thread and closes the file: false when a write or the
  // close failed. Takes no more data afterwards.
  bool Finish();

 private:
  void HandOver();
  void Stop(bool Discard);
  void WriteQueued();
  bool WriteBuffer(size_t Index, size_t Length);

  fw::TFileHandle FFile;
  const size_t FBufferSize;
  std::vector<std::unique_ptr<char[]>> FBuffers;
  std::vector<size_t> FLengths;
  size_t FFilling = 0;  // the buffer the caller fills
  size_t FUsed = 0;     // bytes in it
  bool FFinished = false;
  std::atomic<bool> FFailed{false};
  std::mutex FLock;
  std::condition_variable FChanged;
  // Guarded by FLock: the buffers handed over and not written yet (those before FFilling).
  size_t FQueued = 0;
  bool FStopping = false;
  bool FDiscard = false;
  std::thread FThread;
};

}  // namespace setup
