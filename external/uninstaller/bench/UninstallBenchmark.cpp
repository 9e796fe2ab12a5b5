// The uninstaller's removal against the plain work of deleting the same entries.
//
//   uninstall_benchmark [files [folder]]
//
// In each of three rounds, lays down the given number of files (default 2000, 1 to 64 KiB,
// in 20 folders below one product folder) and as many registry values (in 20 keys below
// one product key), logs them as an installation does (each folder and key level it
// made, each file with the content it wrote, each value with the type and bytes it
// wrote), then removes the product with the uninstaller's removal; and lays the same
// down again and deletes it with plain DeleteFile, RemoveDirectory, RegDeleteValue and
// RegDeleteKey calls (the floor). Prints the median of each time over the rounds (and
// the rounds' times) and their ratio. The benchmark's files, keys and log go at the end,
// also when it fails.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchMeasures.h"
#include "ScratchFiles.h"
#include "archive/FileSystem.h"
#include "objects/UninstallFileLog.h"
#include "objects/UninstallRemoval.h"

using namespace setup;

using benchsupport::Median;
using benchsupport::Now;
using benchsupport::RemoveTree;
using benchsupport::Rounds;

namespace {

constexpr char kProductName[] = "Stavrel Uninstall Benchmark";
constexpr char kProductKey[] = "Software\\Stavrel Uninstall Benchmark";
constexpr int kFolders = 20;
constexpr int kRounds = 3;

struct TBenchFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& What) { throw TBenchFailure(What); }

void RemoveKeyTree(HKEY Root, const std::string& Key) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(Root, Key.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    RegCloseKey(key);
    for (const std::string& child : names) RemoveKeyTree(Root, Key + "\\" + child);
  }
  RegDeleteKeyA(Root, Key.c_str());
}

// What one round lays down: the files' and values' names.
struct TLaidDown {
  std::vector<std::string> Folders, Files, Keys;
};

std::string FolderOf(const std::string& Root, int Index) { return Root + "\\Product\\part" + std::to_string(Index % kFolders); }
std::string KeyOf(int Index) { return std::string(kProductKey) + "\\part" + std::to_string(Index % kFolders); }
std::string ValueOf(int Index) { return "value" + std::to_string(Index); }

// Lays the files and values down; with Log, writes the product's uninstall log as the
// installation does.
TLaidDown LayDown(int Count, const std::string& Root, bool Log) {
  TLaidDown laid;
  const std::string uninstallKey = "\\" + UninstallKeyOfProduct(kProductName);
  TUninstallFileLog log(uninstallKey);
  if (Log) log.NoteFolderToMake(Root + "\\Product");
  ForceDirectories(Root + "\\Product");
  for (int folder = 0; folder < kFolders; ++folder) {
    const std::string path = FolderOf(Root, folder);
    if (Log) log.NoteFolderToMake(path);
    ForceDirectories(path);
    laid.Folders.push_back(path);
    laid.Keys.push_back(KeyOf(folder));
  }
  laid.Folders.push_back(Root + "\\Product");
  laid.Keys.push_back(kProductKey);
  uint64_t state = 0x9E3779B97F4A7C15ull;
  std::vector<char> data(64 * 1024);
  for (int i = 0; i < Count; ++i) {
    const size_t size = 1024 + static_cast<size_t>(state % (63 * 1024));
    for (size_t b = 0; b < size; ++b) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      data[b] = static_cast<char>(state);
    }
    const std::string path = FolderOf(Root, i) + "\\f" + std::to_string(i) + ".dat";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE || !WriteFile(file, data.data(), static_cast<DWORD>(size), &written, nullptr))
      Fail("cannot write " + path);
    CloseHandle(file);
    laid.Files.push_back(path);
    if (Log) log.LogFile(path, LoggedWriteAt(path));
    const std::string text = "C:\\Product\\" + std::to_string(i) + '\0';
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KeyOf(i).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
      Fail("cannot make " + KeyOf(i));
    RegSetValueExA(key, ValueOf(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   static_cast<DWORD>(text.size()));
    RegCloseKey(key);
  }
  if (!Log) return laid;
  // Each key's record, as a registry object writes it: the levels it made and each value.
  for (int part = 0; part < kFolders; ++part) {
    const std::string record = uninstallKey.substr(1) + "\\RegistryKeys\\RegistryKey" + std::to_string(part + 1);
    HKEY key = nullptr, entries = nullptr, made = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, record.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegCreateKeyExA(key, "Entries", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &entries, nullptr);
    RegCreateKeyExA(key, "MadeValues", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &made, nullptr);
    const std::string path = "\\" + KeyOf(part);
    const DWORD root = 2, levels = 2;
    RegSetValueExA(key, "Key", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()), static_cast<DWORD>(path.size() + 1));
    RegSetValueExA(key, "Root", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&root), sizeof root);
    RegSetValueExA(key, "MadeLevels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&levels), sizeof levels);
    for (int i = part; i < Count; i += kFolders) {
      const std::string text = "C:\\Product\\" + std::to_string(i);
      RegSetValueExA(entries, ValueOf(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
      RegSetValueExA(made, ValueOf(i).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    }
    RegCloseKey(made);
    RegCloseKey(entries);
    RegCloseKey(key);
  }
  return laid;
}

// The floor: the same entries deleted with plain calls.
void DeletePlainly(const TLaidDown& Laid, int Count) {
  for (const std::string& file : Laid.Files) DeleteFileA(file.c_str());
  for (int i = 0; i < Count; ++i) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyOf(i).c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) continue;
    RegDeleteValueA(key, ValueOf(i).c_str());
    RegCloseKey(key);
  }
  for (const std::string& folder : Laid.Folders) RemoveDirectoryA(folder.c_str());
  for (const std::string& key : Laid.Keys) RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

// Removes the benchmark's folder, keys and uninstall log when made and when it goes.
class TBenchRemains {
 public:
  explicit TBenchRemains(std::string Root) : FRoot(std::move(Root)) { Remove(); }
  ~TBenchRemains() { Remove(); }
  TBenchRemains(const TBenchRemains&) = delete;
  TBenchRemains& operator=(const TBenchRemains&) = delete;

 private:
  void Remove() const {
    RemoveKeyTree(HKEY_LOCAL_MACHINE, UninstallKeyOfProduct(kProductName));
    RemoveKeyTree(HKEY_CURRENT_USER, kProductKey);
    RemoveTree(FRoot);
  }
  std::string FRoot;
};



void Run(int Count, const std::string& Root) {
  TBenchRemains remains(Root);
  CreateDirectoryA(Root.c_str(), nullptr);
  std::vector<double> removals, floors;
  for (int round = 0; round < kRounds; ++round) {
    LayDown(Count, Root, true);
    double start = Now();
    const TUninstallReport report = UninstallProduct(kProductName, MachineFolderRules());
    removals.push_back(Now() - start);
    if (!report.Found || !report.NotRemoved.empty())
      Fail("the removal left " + std::to_string(report.NotRemoved.size()) + " items, the first: " +
           (report.NotRemoved.empty() ? std::string("(the product was not found)") : report.NotRemoved.front()));
    if (GetFileAttributesA((Root + "\\Product").c_str()) != INVALID_FILE_ATTRIBUTES)
      Fail("the product's folder stayed");
    const TLaidDown laid = LayDown(Count, Root, false);
    start = Now();
    DeletePlainly(laid, Count);
    floors.push_back(Now() - start);
  }
  const double removal = Median(removals), floor = Median(floors);
  std::printf("%d files and %d registry values, medians of %d rounds\n", Count, Count, kRounds);
  std::printf("uninstall with the uninstaller's removal: %.3f s%s; plain DeleteFile and RegDeleteValue calls: %.3f s%s; "
              "ratio %.2f (aim: 3 at most)\n",
              removal, Rounds(removals).c_str(), floor, Rounds(floors).c_str(), removal / floor);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
  std::string root;
  if (argc > 2) {
    root = argv[2];
  } else {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "uninstall_benchmark";
  }
  try {
    Run(count, root);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
