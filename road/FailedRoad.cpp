#include "FailedRoad.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Files.h"
#include "InstallChecks.h"
#include "RegistrySnapshot.h"
#include "RegistryView.h"
#include "SetupTraces.h"
#include "UninstallRun.h"
#include "engine/ExitCodes.h"
#include "gui/WinHandles.h"

namespace road {

namespace {

constexpr char kDestinationName[] = "Kavel Stavrel";
// A folder the read-only drive holds (failure-drives.sh makes it).
constexpr char kExistingFolder[] = "Programs";
constexpr char kRecordParent[] = "\\SOFTWARE\\URQ";
constexpr char kRecordKey[] = "\\SOFTWARE\\URQ\\Install";
// Where the cancelled copies are held for the Cancel: half the product copied.
constexpr int kCancelAtPercent = 50;

// The build looked for an installation record and left the record's empty parent keys,
// which the next installation's end removes: they are the build's, not the machine's.
void ForgetTheBuildsRecordKeys() {
  if (KeyExists(HKEY_LOCAL_MACHINE, kRecordKey) && SubkeyNames(HKEY_LOCAL_MACHINE, kRecordKey).empty())
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kRecordParent);
}

// A file's path and its whole contents.
using TFileContents = std::map<std::string, std::string>;

// The watched traces plus the destinations on the drives the roads install to.
TMachineSnapshot Traces(const TFailedRoads& Roads) {
  TMachineSnapshot traces = SetupTraces();
  for (const std::string& drive : {Roads.SmallDrive, Roads.ReadOnlyDrive})
    if (!drive.empty()) traces.Watch({drive + kDestinationName, true});
  return traces;
}

// Reports what differs from Before. A file of Kept whose time alone changed passes: its
// contents are compared byte for byte apart (CheckContentsAsBefore).
void CheckMachineAsBefore(TRoadReport& Report, const TMachineSnapshot& Traces, const TSnapshotItems& Before,
                          const std::string& What, const TFileContents& Kept = {}) {
  std::vector<std::string> differences;
  for (const std::string& line : CompareSnapshots(Before, Traces.Take())) {
    const bool keptFile = line.rfind("changed ", 0) == 0 && Kept.count(line.substr(8)) != 0;
    if (!keptFile) differences.push_back(line);
  }
  for (const std::string& line : differences) Report.Check(false, What + ": " + line);
  Report.Check(differences.empty(), What + " leaves the machine as it was");
  for (const std::string& line : RemoveAdded(differences)) Report.Note("could not clean up: " + line);
}

// The contents of every file the installed product's uninstall log names.
TFileContents LoggedFileContents(const std::string& ProductName) {
  TFileContents contents;
  for (const std::string& file : ReadUninstallLog(ProductName).Files)
    if (testsupport::FileExists(file)) contents[file] = testsupport::ReadFile(file);
  return contents;
}

// Every file of Before is there with the same bytes.
void CheckContentsAsBefore(TRoadReport& Report, const TFileContents& Before, const std::string& What) {
  int differing = 0;
  for (const auto& [file, bytes] : Before) {
    const bool there = testsupport::FileExists(file);
    if (there && testsupport::ReadFile(file) == bytes) continue;
    ++differing;
    Report.Check(false, What + ": " + file + (there ? " holds other contents than before" : " is gone"));
  }
  Report.Check(!Before.empty() && differing == 0,
               What + " leaves every file of the earlier installation byte for byte as it was (" +
                   std::to_string(Before.size()) + " files)");
}

void FailOnce(TRoadReport& Report, const TFailedRoads& Roads, const TMachineSnapshot& Traces,
              const std::string& What, const std::string& Destination, std::optional<int> CancelAt) {
  Report.Step(What);
  const TSnapshotItems before = Traces.Take();
  TWalkOptions options = Roads.Walk;
  options.Destination = Destination;
  const TWalkResult result = TWizardWalker(Report, options).WalkToFailure(Roads.Setup, CancelAt);
  CheckEndedRun(Report, result, CancelAt ? setup::ecCancelled : setup::ecFailed);
  CheckMachineAsBefore(Report, Traces, before, What);
}

// What the product's files take on a drive that counts pages of 4 KiB (the road's
// drives are tmpfs), all of them and the last one written; read from the installed
// product, whose uninstall log names its files in the order they were written.
// Deletes its file when it goes, also when the road throws past it.
class TFillerFile {
 public:
  explicit TFillerFile(std::string Path) : FPath(std::move(Path)) {}
  ~TFillerFile() { DeleteFileA(FPath.c_str()); }
  TFillerFile(const TFillerFile&) = delete;
  TFillerFile& operator=(const TFillerFile&) = delete;

 private:
  std::string FPath;
};

struct TProductRoom {
  uint64_t All = 0;
  uint64_t Last = 0;
};

uint64_t Pages(uint64_t Bytes) {
  constexpr uint64_t kPage = 4096;
  return (Bytes + kPage - 1) / kPage * kPage;
}

TProductRoom RoomOfInstalledProduct(const std::string& ProductName, const std::string& Destination) {
  TProductRoom room;
  const std::string folder = Destination + "\\";
  for (const std::string& file : ReadUninstallLog(ProductName).Files) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (_strnicmp(file.c_str(), folder.c_str(), folder.size()) != 0 ||
        !GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data))
      continue;
    room.Last = Pages((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    room.All += room.Last;
  }
  return room;
}

uint64_t FreeBytes(const std::string& Root) {
  ULARGE_INTEGER available{}, total{}, free{};
  return GetDiskFreeSpaceExA(Root.c_str(), &available, &total, &free) ? available.QuadPart : 0;
}

// Fills the drive of Root with the file Filler until Left bytes (whole pages) are free;
// false when the drive cannot be brought there.
bool FillDriveUntil(const std::string& Root, const std::string& Filler, uint64_t Left) {
  fw::TFileHandle file(
      CreateFileA(Filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::vector<char> block(1 << 20);
  for (uint64_t free = FreeBytes(Root); free > Left; free = FreeBytes(Root)) {
    const DWORD piece = static_cast<DWORD>(std::min<uint64_t>(block.size(), free - Left));
    DWORD written = 0;
    if (!WriteFile(file.Get(), block.data(), piece, &written, nullptr) || written != piece) return false;
  }
  return FreeBytes(Root) == Left;
}

// A destination on a drive with room for all of the product but its last file: the
// installation, nearly complete, fails there; its message names the file on that drive
// that found no room, and everything it did is taken back.
void FillDrive(TRoadReport& Report, const TFailedRoads& Roads, const TMachineSnapshot& Traces,
               const TProductRoom& Room) {
  const std::string what = "a destination on a drive that has no room for the product's last file";
  Report.Step(what);
  const std::string filler = Roads.SmallDrive + "road-filler.bin";
  std::optional<TFillerFile> fillerGoes(std::in_place, filler);
  // All but half the last file's pages (one page at least) stay free.
  const uint64_t left = Room.All > 0 ? Room.All - std::max<uint64_t>(4096, Room.Last / 2 / 4096 * 4096) : 0;
  if (!Report.Check(Room.All > 0 && FillDriveUntil(Roads.SmallDrive, filler, left),
                    "the drive " + Roads.SmallDrive + " keeps room for all but the product's last file",
                    std::to_string(FreeBytes(Roads.SmallDrive)) + " bytes free, " + std::to_string(left) + " wanted"))
    return;
  const TSnapshotItems before = Traces.Take();
  TWalkOptions options = Roads.Walk;
  options.Destination = Roads.SmallDrive + kDestinationName;
  const TWalkResult result = TWizardWalker(Report, options).WalkToFailure(Roads.Setup, std::nullopt);
  fillerGoes.reset();
  CheckEndedRun(Report, result, setup::ecFailed);
  const std::string drive = Roads.SmallDrive.substr(0, 2);
  Report.Check(result.Error.find("There is no room left on " + drive + " for " + options.Destination + "\\") !=
                   std::string::npos,
               "the message names the file on the full drive " + drive, result.Error);
  CheckMachineAsBefore(Report, Traces, before, what);
}

// A destination that cannot be written is refused on its page, with the reason: an
// existing folder (the drive's kExistingFolder) that takes no file, and a folder that
// cannot be made there; the user then cancels there.
void RefuseDestinations(TRoadReport& Report, const TFailedRoads& Roads, const TMachineSnapshot& Traces) {
  Report.Step("destinations that cannot be written");
  const TSnapshotItems before = Traces.Take();
  const std::string existing = Roads.ReadOnlyDrive + kExistingFolder, missing = Roads.ReadOnlyDrive + kDestinationName;
  const TWalkResult result = TWizardWalker(Report, Roads.Walk).WalkToRefusedDestinations(Roads.Setup, {existing, missing});
  const auto refusal = [&](size_t Index) { return Index < result.Refusals.size() ? result.Refusals[Index] : ""; };
  Report.Check(refusal(0).find("Setup cannot write into the folder " + existing) != std::string::npos,
               "the page says the existing folder " + existing + " takes no file", refusal(0));
  Report.Check(refusal(1).find("The folder " + missing + " cannot be created") != std::string::npos,
               "the page says the folder " + missing + " cannot be made", refusal(1));
  CheckEndedRun(Report, result, setup::ecCancelled);
  CheckMachineAsBefore(Report, Traces, before, "the refused destinations");
}

// Setup over the installed product, cancelled while it copies: the earlier installation
// stays as it was, file by file.
void CancelOverInstalled(TRoadReport& Report, const TFailedRoads& Roads, const TMachineSnapshot& Traces,
                         const std::string& What, const std::string& Setup) {
  const TSnapshotItems before = Traces.Take();
  const TFileContents contents = LoggedFileContents(Roads.ProductName);
  CheckEndedRun(Report, TWizardWalker(Report, Roads.Walk).WalkToFailure(Setup, kCancelAtPercent),
                setup::ecCancelled);
  CheckMachineAsBefore(Report, Traces, before, What, contents);
  CheckContentsAsBefore(Report, contents, What);
}

}  // namespace

void CheckEndedRun(TRoadReport& Report, const TWalkResult& Result, int ExpectedExitCode) {
  Report.CheckEqual("setup.exe's exit code", std::to_string(ExpectedExitCode), std::to_string(Result.ExitCode));
  Report.Check(Result.LoaderFolders.empty(), "the loader's folder is gone",
               Result.LoaderFolders.empty() ? "" : Result.LoaderFolders.front() + " stayed");
}

void InstallAndFail(TRoadReport& Report, const TFailedRoads& Roads) {
  ForgetTheBuildsRecordKeys();
  const TMachineSnapshot traces = Traces(Roads);
  FailOnce(Report, Roads, traces, "the copy cancelled", std::string(), kCancelAtPercent);
  if (Roads.ReadOnlyDrive.empty())
    Report.Skip("destinations that cannot be written", "no read-only drive could be mounted here");
  else
    RefuseDestinations(Report, Roads, traces);

  Report.Step("a repair over the installed product, cancelled while it copies");
  const TWalkResult installed = TWizardWalker(Report, Roads.Walk).Walk(Roads.Setup);
  CancelOverInstalled(Report, Roads, traces, "the cancelled repair", Roads.Setup);

  Report.Step("an upgrade to other contents of the product's files, cancelled while it copies");
  const std::string upgrade = Roads.BuildUpgrade();
  Report.Note("built the upgrade: " + upgrade);
  ForgetTheBuildsRecordKeys();
  CancelOverInstalled(Report, Roads, traces, "the cancelled upgrade", upgrade);

  const TMachineFolders folders = MachineFolders();
  TInstallCheck(Report, {Roads.ProductName, installed.Destination,
                         folders.Programs + "\\" + installed.StartMenuFolder, folders.Desktop})
      .CheckAll();
  const TProductRoom room = RoomOfInstalledProduct(Roads.ProductName, installed.Destination);
  const TUninstallRun uninstall = RunUninstaller(Roads.ProductName);
  Report.Note("the uninstaller said: " + uninstall.Outcome);
  Report.Check(uninstall.ExitCode == 0, "the earlier installation is removed after the cancelled repair and upgrade",
               "exit code " + std::to_string(uninstall.ExitCode));

  if (Roads.SmallDrive.empty())
    Report.Skip("a destination on a drive that fills up", "no small drive could be mounted here");
  else
    FillDrive(Report, Roads, traces, room);
}

}  // namespace road
