// Helpers of the archive tests: a scratch folder per test, files in and out, and
// little-endian fields of raw archive bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "QnlkCompress.h"
#include "gui/WinHandles.h"

namespace archive_test {

using Bytes = std::vector<uint8_t>;

inline void WriteBytes(const std::string& path, const Bytes& data) {
  fw::TFileHandle h(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(h) << path;
  DWORD done = 0;
  if (!data.empty()) WriteFile(h.Get(), data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
  ASSERT_EQ(done, data.size());
}

inline void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, Bytes(text.begin(), text.end()));
}

inline Bytes ReadBytes(const std::string& path) {
  Bytes data;
  fw::TFileHandle h(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!h) return data;
  data.resize(GetFileSize(h.Get(), nullptr));
  DWORD done = 0;
  if (!data.empty()) ReadFile(h.Get(), data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
  data.resize(done);
  return data;
}

inline Bytes RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  Bytes data(n);
  for (auto& b : data) b = static_cast<uint8_t>(gen());
  return data;
}

inline Bytes TextBytes(size_t n) {
  static const char words[] = "the setup archive keeps every installed file in one compressed stream ";
  Bytes data(n);
  for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(words[(i * 7 + i / 13) % (sizeof words - 1)]);
  return data;
}

inline int32_t Int32At(const Bytes& data, size_t at) {
  return static_cast<int32_t>(uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 |
                              uint32_t(data[at + 3]) << 24);
}

inline void SetInt32At(Bytes& data, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

// Sets a file's date stamp (local time).
inline void SetFileDate(const std::string& path, int year, int month, int day, int hour = 12) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  FILETIME local, utc;
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  fw::TFileHandle h(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(h) << path;
  SetFileTime(h.Get(), nullptr, nullptr, &utc);
}

inline std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  fw::TFindHandle h(FindFirstFileA((folder + "\\*").c_str(), &fd));
  if (!h) return names;
  do {
    std::string n = fd.cFileName;
    if (n != "." && n != "..") names.push_back(n);
  } while (FindNextFileA(h.Get(), &fd));
  return names;
}

inline void RemoveTree(const std::string& folder) {
  for (const std::string& n : FilesIn(folder)) {
    std::string path = folder + "\\" + n;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
      RemoveTree(path);
    else
      DeleteFileA(path.c_str());
  }
  RemoveDirectoryA(folder.c_str());
}

// Gives each test an empty folder of its own.
class ScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    Dir = std::string(temp) + "qarch" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    RemoveTree(Dir);
    CreateDirectoryA(Dir.c_str(), nullptr);
  }
  void TearDown() override { RemoveTree(Dir); }
  std::string Path(const std::string& name) const { return Dir + "\\" + name; }

  std::string Dir;
};

// Records every event the component fires.
struct EventLog {
  std::vector<setup::TlzhFileStats> Status, Before, After, Replace, Listing;
  int Aborted = 0;
  void Attach(setup::TQnlkCompress& c) {
    c.OnStatus = [this](setup::TQnlkCompress*, const setup::TlzhFileStats& s) { Status.push_back(s); };
    c.OnBeforeAdding =
        c.OnBeforeExtracting = [this](setup::TQnlkCompress*, const setup::TlzhFileStats& s) { Before.push_back(s); };
    c.OnAfterAdding = [this](setup::TQnlkCompress*, const setup::TlzhFileStats& s) { After.push_back(s); };
    c.OnReplace = [this](setup::TQnlkCompress*, const setup::TlzhFileStats& s) { Replace.push_back(s); };
    c.OnListing = [this](setup::TQnlkCompress*, const setup::TlzhFileStats& s) { Listing.push_back(s); };
    c.OnAborted = [this](fw::TObject*) { ++Aborted; };
  }
};

inline void SetFiles(setup::TQnlkCompress& c, const std::vector<std::string>& lines) {
  fw::TStringList list;
  list.SetVector(lines);
  c.SetFilesToProcess(&list);
}

// Runs F and returns the message of the EQnlkCompress it raises ("" when none).
template <class F>
std::string ArchiveError(F&& f) {
  try {
    f();
  } catch (const setup::EQnlkCompress& e) {
    return e.Message();
  }
  return "";
}

}  // namespace archive_test
