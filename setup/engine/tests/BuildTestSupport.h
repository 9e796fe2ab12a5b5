// What the build tests share: random file contents, the message of a raised error, an
// archive's files extracted, a stand-in engine for whole builds and the loader program
// where a build looks for it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Files.h"
#include "RegistrySnapshot.h"
#include "UiDriver.h"
#include "archive/QnlkCompress.h"
#include "core/Strings.h"
#include "engine/BuildDistribution.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "objects/QuenlarkInfo.h"
#include "support/Registry.h"

namespace setup::buildtests {

namespace fs = std::filesystem;
using testsupport::ReadFile;
using testsupport::TScratchFolder;
using testsupport::WriteFile;

inline std::string RandomBytes(size_t Count, unsigned Seed) {
  std::mt19937 random(Seed);
  std::string bytes(Count, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

template <class E = Exception, class F>
inline std::string MessageOf(F&& Action) {
  try {
    Action();
  } catch (const E& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

// An archive of Files (name -> content) written into Archive.
inline void MakeArchive(const std::string& Archive, const std::vector<std::pair<std::string, std::string>>& Files,
                        const std::string& Scratch) {
  TQnlkCompress compress(nullptr);
  compress.SetCompressedFile(Archive);
  bool first = true;
  for (const auto& [name, content] : Files) {
    WriteFile(Scratch + "\\" + name, content);
    compress.FilesToProcess()->Clear();
    compress.FilesToProcess()->Add(Scratch + "\\" + name);
    compress.Compress(first ? lzcOverwrite : lzcOnlyAdd, -1);
    first = false;
  }
}

// Every file of the archive (at Offset inside its file) extracted into Folder; their names.
inline std::vector<std::string> ExtractAll(const std::string& Archive, int32_t Offset, const std::string& Folder) {
  TQnlkCompress archive(nullptr);
  archive.SetCompressedFile(Archive);
  archive.SetOffset(Offset);
  std::vector<std::string> names;
  for (int i = 0; i < archive.GetFileCount(); ++i) {
    TlzhFileStats stats;
    archive.GetFileStats(i, stats);
    names.push_back(fs::path(stats.FileName).filename().string());
    archive.FilesToProcess()->Add(stats.FileName);
  }
  archive.SetExtractDirectory(Folder);
  archive.Extract();
  return names;
}

// The engine's side of a build as a test gives it: the setup archive of a program and a
// companion file, a main archive of two files, and a failure on demand.
class TStandInEngine : public IBuildEngine {
 public:
  explicit TStandInEngine(const TScratchFolder& Folder) : FFolder(Folder) {
    WriteFile(FFolder / "src\\readme.txt", "read me");
    WriteFile(FFolder / "src\\data.bin", RandomBytes(10000, 11));
    WriteFile(FFolder / "src\\companion.dll", "companion");
    FPresetup.Add(FFolder / "src\\companion.dll");
  }
  bool UseLoadingProgram = true;
  bool FailContainers = false;
  std::vector<int> Options;

  bool BuildUsesLoadingProgram() const override { return UseLoadingProgram; }
  TDistributeType BuildDistributeType() const override { return dtTraditional; }
  void BuildSetupArchive(const std::string& Dir, const std::string& SourceExe) override {
    BuildSetupArchiveOf(Dir, SourceExe, FPresetup);
  }
  void BuildContainers(const std::string& FilesArchive, int Options_) override {
    Options.push_back(Options_);
    for (const char* name : {"readme.txt", "data.bin"}) {
      TCustomInstallFile file(nullptr);
      file.SetFileName(name);
      file.SetIncludeFromDir(FFolder / "src");
      file.SetAddToArchive(std::string(name) == "readme.txt" ? lzcOverwrite : lzcOnlyAdd);
      file.RestoreArchive(nullptr, FilesArchive);
      file.Compress();
    }
    if (FailContainers) throw IEInstall("the containers failed");
  }
  void BuildFileList() override { ADD_FAILURE() << "no file list for a traditional setup"; }

 private:
  const TScratchFolder& FFolder;
  fw::TStringList FPresetup;
};

// The loader program where the build looks for it, through the library search path.
struct TLoaderLibrary {
  testsupport::TSavedRegistryTree SavedSearch{HKEY_CURRENT_USER, QuenlarkInfo::kSearchPathKey + 1};
  std::string Loader;
  explicit TLoaderLibrary(const TScratchFolder& Folder, std::string LoaderContent = RandomBytes(8192, 12))
      : Loader(std::move(LoaderContent)) {
    WriteFile(Folder / "lib\\Quenlark.txt", "");
    WriteFile(Folder / "lib\\QuenlarkLoadProgram.exe", Loader);
    WriteRegString(hkCurrentUser, QuenlarkInfo::kSearchPathKey, QuenlarkInfo::kSearchPathValue, Folder / "lib");
  }
};

inline std::string BinaryFolder() {
  char name[MAX_PATH];
  GetModuleFileNameA(nullptr, name, sizeof name);
  return fs::path(name).parent_path().string();
}

struct TRun {
  DWORD ExitCode = 0;
  std::vector<std::string> Report;  // the installer's command line, its file, the files beside it
};

// Starts SetupExe with Arguments, plays the user on a message box that it shows (its text
// into Message), and waits for it to end.
inline TRun RunSetup(const std::string& SetupExe, const std::string& Arguments, const std::string& ProbeOut,
                     std::string* Message = nullptr) {
  DeleteFileA(ProbeOut.c_str());
  SetEnvironmentVariableA("STAVREL_PROBE_OUT", ProbeOut.c_str());
  std::string command = "\"" + SetupExe + "\" " + Arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(SetupExe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    throw std::runtime_error("cannot start " + SetupExe);
  fw::TKernelHandle processHandle(process.hProcess), thread(process.hThread);
  if (Message != nullptr) {
    HWND box = testsupport::WaitForWindow({.Caption = "Setup", .ProcessId = process.dwProcessId}, 20000);
    for (const auto& control : testsupport::ListControls(box))
      if (_stricmp(control.ClassName.c_str(), "Static") == 0 && !control.Text.empty()) *Message = control.Text;
    testsupport::Click(testsupport::RequireControl(box, {.Caption = "OK"}));
  }
  if (WaitForSingleObject(processHandle.Get(), 30000) != WAIT_OBJECT_0) {
    TerminateProcess(processHandle.Get(), 99);
    throw std::runtime_error(SetupExe + " did not end");
  }
  TRun run;
  GetExitCodeProcess(processHandle.Get(), &run.ExitCode);
  if (testsupport::FileExists(ProbeOut)) {
    std::istringstream lines(ReadFile(ProbeOut));
    for (std::string line; std::getline(lines, line);) run.Report.push_back(line);
  }
  return run;
}

}  // namespace setup::buildtests
