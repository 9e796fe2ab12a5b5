#include "BuildMachine.h"

#include <windows.h>

#include <filesystem>

#include "Files.h"
#include "ProgramRun.h"
#include "RoadReport.h"

namespace road {

namespace fs = std::filesystem;

namespace {

constexpr char kSearchPathKey[] = "\\Software\\TOBA\\Quenlark\\Library";
constexpr char kSearchPathValue[] = "Search Path";
constexpr DWORD kBuildTimeoutMs = 60000;

// The data files of the product: nothing in the install reads them, so other contents
// change nothing but what is compared.
bool IsDataFile(const fs::path& File) {
  static const char* const kExtensions[] = {".kct", ".kch", ".kcs", ".kdk", ".kcc", ".spa", ".cts",
                                            ".ini", ".tsk", ".oks", ".dat", ".css", ".wri", ".bmp"};
  const std::string extension = File.extension().string();
  for (const char* known : kExtensions)
    if (_stricmp(extension.c_str(), known) == 0) return true;
  return false;
}

void CopyInto(const std::string& File, const std::string& Folder) {
  std::error_code error;
  fs::copy_file(File, fs::path(Folder) / fs::path(File).filename(), fs::copy_options::overwrite_existing, error);
  if (error) throw ERoad("cannot copy " + File + " into " + Folder + ": " + error.message());
}

}  // namespace

TBuildMachine::TBuildMachine(std::string ProgramFolder, std::string SampleFolder)
    : FProgramFolder(std::move(ProgramFolder)),
      FSampleFolder(std::move(SampleFolder)),
      FSearchPath(HKEY_CURRENT_USER, kSearchPathKey) {
  if (testsupport::FolderExists(kRoot)) {
    FSetAside = std::string(kRoot) + ".set-aside-" + std::to_string(GetCurrentProcessId());
    if (!MoveFileA(kRoot, FSetAside.c_str())) throw ERoad(std::string("cannot set aside ") + kRoot);
  }
}

TBuildMachine::~TBuildMachine() {
  testsupport::RemoveTree(kRoot);
  if (!FSetAside.empty()) MoveFileA(FSetAside.c_str(), kRoot);
}

void TBuildMachine::LayOut() {
  const std::string root = kRoot;
  std::error_code error;
  fs::create_directories(root + "\\Sample", error);
  fs::create_directories(root + "\\Tools", error);
  fs::copy(FSampleFolder, root + "\\Sample", fs::copy_options::recursive | fs::copy_options::overwrite_existing, error);
  if (error) throw ERoad("cannot copy the product's files from " + FSampleFolder + ": " + error.message());
  CopyInto(FProgramFolder + "\\bramset.exe", root + "\\Tools");
  testsupport::WriteFile(root + "\\Tools\\BUILD.INF", root + "\\Setup\r\n");
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSearchPathKey + 1, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    throw ERoad("cannot name the installer library's folder in the registry");
  RegSetValueExA(key, kSearchPathValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(FProgramFolder.c_str()),
                 static_cast<DWORD>(FProgramFolder.size() + 1));
  RegCloseKey(key);
}

std::string TBuildMachine::BuildUpgrade() {
  LayOut();
  int changed = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(std::string(kRoot) + "\\Sample")) {
    if (!entry.is_regular_file() || !IsDataFile(entry.path())) continue;
    const std::string file = entry.path().string();
    testsupport::WriteFile(file, testsupport::ReadFile(file) + "\r\n; the upgrade's contents\r\n");
    ++changed;
  }
  if (changed == 0) throw ERoad("the product has no data files to change for an upgrade");
  return BuildSetup();
}

std::string TBuildMachine::BuildSetup() {
  const std::string program = std::string(kRoot) + "\\Tools\\bramset.exe";
  TProgramResult result = RunAnsweringBoxes(Quoted(program) + " -b", {"OK"}, kBuildTimeoutMs);
  if (!testsupport::FileExists(SetupFile())) {
    std::string said;
    for (const TMessageBox& box : result.Boxes) said += (said.empty() ? "" : "; ") + box.Text;
    throw ERoad("the build made no setup.exe" + (said.empty() ? std::string() : ": " + said));
  }
  return SetupFile();
}

}  // namespace road
