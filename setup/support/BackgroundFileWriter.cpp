#include "BackgroundFileWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace setup {

TBackgroundFileWriter::TBackgroundFileWriter(fw::TFileHandle File, size_t BufferSize, size_t BufferCount)
    : FFile(std::move(File)), FBufferSize(BufferSize), FLengths(std::max<size_t>(BufferCount, 2), 0) {
  if (BufferSize == 0) throw std::invalid_argument("a background writer needs buffers");
  // Left uninitialised: a page costs only when data reaches it.
  for (size_t i = 0; i < FLengths.size(); ++i) FBuffers.emplace_back(new char[BufferSize]);
}

TBackgroundFileWriter::~TBackgroundFileWriter() {
  Stop(true);
}

bool TBackgroundFileWriter::Append(const char* Data, size_t Bytes) {
  while (Bytes > 0 && !FFailed && !FFinished) {
    size_t piece = std::min(Bytes, FBufferSize - FUsed);
    std::memcpy(FBuffers[FFilling].get() + FUsed, Data, piece);
    FUsed += piece;
    Data += piece;
    Bytes -= piece;
    if (FUsed == FBufferSize) HandOver();
  }
  return !FFailed && !FFinished;
}

bool TBackgroundFileWriter::Finish() {
  if (FFinished) return false;
  FFinished = true;
  if (!FThread.joinable()) {
    // Everything fits the first buffer: no thread needed.
    if (FUsed > 0 && !WriteBuffer(FFilling, FUsed)) FFailed = true;
  } else {
    if (FUsed > 0) HandOver();
    Stop(false);
  }
  bool closed = CloseHandle(FFile.Release()) != 0;
  return !FFailed && closed;
}

void TBackgroundFileWriter::HandOver() {
  std::unique_lock<std::mutex> hold(FLock);
  FLengths[FFilling] = FUsed;
  ++FQueued;
  FFilling = (FFilling + 1) % FBuffers.size();
  FUsed = 0;
  if (!FThread.joinable()) FThread = std::thread([this] { WriteQueued(); });
  FChanged.notify_all();
  // The next buffer is free once it is written: when every buffer is queued, it is the
  // oldest of them.
  FChanged.wait(hold, [this] { return FQueued < FBuffers.size() || FFailed; });
}

void TBackgroundFileWriter::Stop(bool Discard) {
  if (!FThread.joinable()) return;
  {
    std::lock_guard<std::mutex> hold(FLock);
    FStopping = true;
    FDiscard = FDiscard || Discard;
  }
  FChanged.notify_all();
  FThread.join();
}

bool TBackgroundFileWriter::WriteBuffer(size_t Index, size_t Length) {
  DWORD written = 0;
  return WriteFile(FFile.Get(), FBuffers[Index].get(), static_cast<DWORD>(Length), &written, nullptr) &&
         written == Length;
}

void TBackgroundFileWriter::WriteQueued() {
  std::unique_lock<std::mutex> hold(FLock);
  for (;;) {
    FChanged.wait(hold, [this] { return FQueued > 0 || FStopping; });
    if (FQueued == 0) return;
    size_t oldest = (FFilling + FBuffers.size() - FQueued) % FBuffers.size();
    size_t length = FLengths[oldest];
    bool write = !FFailed && !FDiscard;
    hold.unlock();
    bool ok = !write || WriteBuffer(oldest, length);
    hold.lock();
    if (!ok) FFailed = true;
    --FQueued;
    FChanged.notify_all();
  }
}

}  // namespace setup
