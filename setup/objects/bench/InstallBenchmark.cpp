// The installed-file objects' overhead against the plain work of installing.
//
//   install_benchmark [files [folder]]
//
// Makes the given number of source files (default 2000, 1 to 64 KiB, half random bytes,
// half text), compresses them into one archive through a directory object, then in
// each of three rounds
//  - installs them with the objects (decision, events, reports, uninstall log) into a
//    fresh folder, as a first installation,
//  - installs them once more over the same folder and the log the first run wrote, as a
//    repair does, and
//  - inflates the same archive data with zlib alone and writes each file with plain
//    file calls into another fresh folder (the first installation's floor), then over it
//    as the repair does it safely (each file written beside its target under a new name,
//    the target renamed aside, the new file renamed in, the old files deleted at the
//    end: the repair's floor), and once more over it writing each target where it is
//    (the plain floor that a repair had before, for the cost of the safety).
// Prints the median of each time over the rounds (and the rounds' times), their ratios,
// and the peak working set. The benchmark's uninstall log and folders go at the end,
// also when it fails.
#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchMeasures.h"
#include "ScratchFiles.h"
#include "archive/ArchiveStartup.h"
#include "archive/ArchiveText.h"
#include "archive/QnlkCompress.h"
#include "core/ClassDef.h"
#include "gui/Forms.h"
#include "gui/GuiStartup.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "objects/InstallGroups.h"
#include "objects/InstallRunJournal.h"
#include "objects/ObjectsStartup.h"
#include "support/InstallInformation.h"
#include "support/Registry.h"
#include "support/SupportStartup.h"

using namespace setup;

using benchsupport::Median;
using benchsupport::Now;
using benchsupport::PeakMiB;
using benchsupport::RemoveTree;
using benchsupport::Rounds;

namespace {

constexpr char kProductName[] = "Stavrel Install Benchmark";

// A failure of the benchmark itself; main reports it after the clean-up.
struct TBenchFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const char* What) { throw TBenchFailure(What); }

void MakeFile(const std::string& Path, size_t Size, uint64_t& State) {
  std::vector<char> data(Size);
  bool random = (State & 1) != 0;
  for (size_t i = 0; i < Size; ++i) {
    State ^= State << 13;
    State ^= State >> 7;
    State ^= State << 17;
    data[i] = random ? static_cast<char>(State) : "setup archive file install "[State % 27];
  }
  HANDLE file = CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE || !WriteFile(file, data.data(), static_cast<DWORD>(Size), &written, nullptr))
    Fail("cannot write a source file");
  CloseHandle(file);
}

// The engine as the objects need it: a product name for the uninstall log.
class TBenchEngine : public TInstallObject, public TInstallEngine {
  FW_CLASS(TBenchEngine, TInstallObject)
 public:
  explicit TBenchEngine(fw::TComponent* AOwner) : TInstallObject(AOwner, rtFileContainer) { SetGlobalInstall(this); }
  TInstallInformation Info;
  std::string ArchivePath;
  bool Installing = false;
  std::string EngineArchivePath() const override { return ArchivePath; }
  TInstallContainer& EngineContainer() override { return *this; }
  bool EngineInstalling() const override { return Installing; }
  TDistributeType EngineDistributeType() const override { return dtTraditional; }
  const TInstallInformation& EngineInformation() const override { return Info; }
};
const fw::TClass& TBenchEngine::StaticClass() {
  static const fw::TClass cls = fw::TClassDef<TBenchEngine>();
  return cls;
}

// How the floors write each file: into a fresh folder, over the target where it is, or
// safely beside it with renames.
enum class TFloorWrite { Fresh, InPlace, Safe };

// Inflates every file of the archive with zlib and writes it with plain calls.
void InstallWithZlibAlone(const std::string& Archive, const std::string& Folder, TFloorWrite How) {
  TQnlkCompress reader(nullptr);
  reader.SetCompressedFile(Archive);
  reader.ReadHeaders();
  HANDLE archive = CreateFileA(Archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (archive == INVALID_HANDLE_VALUE) Fail("cannot open the archive");
  std::vector<unsigned char> in, out(4096);
  std::vector<std::string> asides;
  for (int i = 0; i < reader.Headers().GetCount(); ++i) {
    const TFileHeader& header = reader.Headers()[i];
    in.resize(static_cast<size_t>(header.CompressedSize()));
    LARGE_INTEGER at;
    at.QuadPart = header.DataStart();
    DWORD read = 0;
    SetFilePointerEx(archive, at, nullptr, FILE_BEGIN);
    if (!ReadFile(archive, in.data(), static_cast<DWORD>(in.size()), &read, nullptr) || read != in.size())
      Fail("cannot read the archive");
    const std::string target = Folder + "\\" + ExtractFileName(header.Name());
    const std::string written = How == TFloorWrite::Safe ? Folder + "\\qx" + std::to_string(i) + ".tmp" : target;
    HANDLE file = CreateFileA(written.c_str(), GENERIC_WRITE, 0, nullptr,
                              How == TFloorWrite::Safe ? CREATE_NEW : CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot create a target");
    z_stream z{};
    inflateInit(&z);
    z.next_in = in.data();
    z.avail_in = static_cast<uInt>(in.size());
    int status = Z_OK;
    while (status != Z_STREAM_END) {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      status = inflate(&z, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END) Fail("inflate failed");
      DWORD done = 0;
      WriteFile(file, out.data(), static_cast<DWORD>(out.size() - z.avail_out), &done, nullptr);
    }
    inflateEnd(&z);
    FILETIME time;
    SYSTEMTIME now;
    GetSystemTime(&now);
    SystemTimeToFileTime(&now, &time);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    if (How == TFloorWrite::Safe) {
      asides.push_back(Folder + "\\qx" + std::to_string(i) + ".old");
      if (!MoveFileA(target.c_str(), asides.back().c_str()) || !MoveFileA(written.c_str(), target.c_str()))
        Fail("cannot rename a file");
    }
  }
  CloseHandle(archive);
  for (const std::string& aside : asides) DeleteFileA(aside.c_str());
}

constexpr int kRounds = 3;

// Removes the benchmark's folder and uninstall log when made and when it goes, so no run
// starts from or leaves another run's remains.
class TBenchRemains {
 public:
  explicit TBenchRemains(std::string Root) : FRoot(std::move(Root)) { Remove(); }
  ~TBenchRemains() { Remove(); }
  TBenchRemains(const TBenchRemains&) = delete;
  TBenchRemains& operator=(const TBenchRemains&) = delete;

 private:
  void Remove() {
    RemoveInstallation();
    RemoveTree(FRoot);
  }

 public:
  static void RemoveInstallation() { DeleteRegKeyTree(hkLocalMachine, std::string(kUninstallRootKey) + kProductName); }

 private:
  std::string FRoot;
};



// One installation run of the objects as the engine runs it: the run's log read first.
double TimedRun(TBenchEngine& Engine) {
  double start = Now();
  Engine.Installing = true;
  Engine.BeginRun();
  Engine.Process();
  Engine.RunJournal()->Complete();  // the good end: the replaced files' old files go
  Engine.Installing = false;
  return Now() - start;
}

void Run(int Count, const std::string& Root) {
  TBenchRemains remains(Root);
  CreateDirectoryA(Root.c_str(), nullptr);
  std::string source = Root + "\\src", objects = Root + "\\objects", plain = Root + "\\plain";
  CreateDirectoryA(source.c_str(), nullptr);
  CreateDirectoryA(objects.c_str(), nullptr);
  CreateDirectoryA(plain.c_str(), nullptr);
  std::string archive = Root + "\\files.1";

  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));  // brings the standard specifiers
  fw::TComponent& owner = *form;
  auto* engine = new TBenchEngine(&owner);
  engine->Info.SetProductName(kProductName);
  engine->ArchivePath = archive;  // the main archive: the shared archive object serves it
  auto* dir = new TInstallDirectory(&owner);
  dir->SetContainer(engine);
  dir->SetArchiveFile(archive);
  dir->SetDestDirType(nullptr);
  dir->SetDestDir(objects);
  uint64_t state = 0x9E3779B97F4A7C15ull;
  int64_t bytes = 0;
  for (int i = 0; i < Count; ++i) {
    size_t size = 1024 + static_cast<size_t>(state % (63 * 1024));
    std::string path = source + "\\f" + std::to_string(i) + ".dat";
    MakeFile(path, size, state);
    bytes += static_cast<int64_t>(size);
    auto* file = new TInstallFile(&owner, dir, path);
    file->SetAddToArchive(lzcOnlyAdd);
  }
  double start = Now();
  dir->Compress(coForceNetFilesLocal);
  double built = Now() - start;
  double peakBefore = PeakMiB();

  std::vector<double> firstRuns, repairs, floors, floorsSafe, floorsOver;
  for (int round = 0; round < kRounds; ++round) {
    if (round > 0) {
      TBenchRemains::RemoveInstallation();
      RemoveTree(objects);
      RemoveTree(plain);
      CreateDirectoryA(objects.c_str(), nullptr);
      CreateDirectoryA(plain.c_str(), nullptr);
    }
    firstRuns.push_back(TimedRun(*engine));
    repairs.push_back(TimedRun(*engine));
    start = Now();
    InstallWithZlibAlone(archive, plain, TFloorWrite::Fresh);
    floors.push_back(Now() - start);
    start = Now();
    InstallWithZlibAlone(archive, plain, TFloorWrite::Safe);
    floorsSafe.push_back(Now() - start);
    start = Now();
    InstallWithZlibAlone(archive, plain, TFloorWrite::InPlace);
    floorsOver.push_back(Now() - start);
  }
  double peakObjects = PeakMiB();

  // The archive's own extraction of the same files, one file per call as the objects do.
  std::string alone = Root + "\\archive";
  CreateDirectoryA(alone.c_str(), nullptr);
  start = Now();
  {
    TQnlkCompress reader(nullptr);
    reader.SetCompressedFile(archive);
    reader.SetExtractDirectory(alone);
    for (int i = 0; i < Count; ++i) {
      reader.FilesToProcess()->Add(source + "\\f" + std::to_string(i) + ".dat");
      reader.Extract();
    }
  }
  double archiveAlone = Now() - start;

  std::printf("%d files, %.1f MiB; archive built in %.2f s\n", Count, static_cast<double>(bytes) / (1 << 20), built);
  const double firstRun = Median(firstRuns), repair = Median(repairs), floor = Median(floors),
               floorSafe = Median(floorsSafe), floorOver = Median(floorsOver);
  std::printf("medians of %d rounds\n", kRounds);
  std::printf("first installation with the objects: %.3f s%s; zlib and plain file calls: %.3f s%s; ratio %.2f\n",
              firstRun, Rounds(firstRuns).c_str(), floor, Rounds(floors).c_str(), firstRun / floor);
  std::printf(
      "repair over it with the objects: %.3f s%s; zlib and plain calls writing beside and renaming: %.3f s%s; "
      "ratio %.2f\n",
      repair, Rounds(repairs).c_str(), floorSafe, Rounds(floorsSafe).c_str(), repair / floorSafe);
  std::printf("the repair against zlib and plain calls writing each target in place: %.3f s%s; ratio %.2f\n",
              floorOver, Rounds(floorsOver).c_str(), repair / floorOver);
  std::printf("the archive's extraction alone, file by file: %.3f s; first installation's ratio to it: %.2f\n",
              archiveAlone, firstRun / archiveAlone);
  std::printf("peak working set: %.1f MiB before installing, %.1f MiB after\n", peakBefore, peakObjects);
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 2000;
  std::string root;
  if (argc > 2) {
    root = argv[2];
  } else {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "install_benchmark";
  }
  fw::TStartedLibraries libraries({fw::CoreLibrary(), fw::GuiLibrary(GetModuleHandleA(nullptr)), SupportLibrary(),
                                   ArchiveLibrary(), ObjectsLibrary()});
  try {
    Run(count, root);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
  }
  return 0;
}
