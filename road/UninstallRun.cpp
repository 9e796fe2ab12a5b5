#include "UninstallRun.h"

#include <algorithm>

#include "InstallChecks.h"
#include "ProgramRun.h"
#include "RegistryView.h"
#include "RestartState.h"
#include "RoadReport.h"

namespace road {

namespace {

constexpr char kSessionManagerKey[] = "\\System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingValue[] = "PendingFileRenameOperations";

// The files the pending list deletes (a rename to nothing).
std::vector<std::string> PendingDeletions() {
  std::vector<std::string> files;
  for (const restart::TPendingRename& rename : restart::PendingRenames())
    if (rename.Target.empty() && !rename.Source.empty()) files.push_back(rename.Source);
  return files;
}

}  // namespace

TUninstallRun RunUninstaller(const std::string& ProductName, DWORD TimeoutMs) {
  TUninstallRun run;
  run.Command = ReadString(HKEY_LOCAL_MACHINE, UninstallKeyOf(ProductName), "UninstallString").value_or("");
  if (run.Command.empty()) throw ERoad(ProductName + " has no uninstall command in Add/Remove Programs");
  TProgramResult result = RunAnsweringBoxes(run.Command, {"Yes", "OK"}, TimeoutMs);
  if (!result.Boxes.empty()) run.Question = result.Boxes.front().Text;
  for (size_t i = 1; i + 1 < result.Boxes.size(); ++i) run.Questions.push_back(result.Boxes[i].Text);
  if (result.Boxes.size() > 1) run.Outcome = result.Boxes.back().Text;
  run.ExitCode = result.ExitCode;
  return run;
}

TRestartDeletions::TRestartDeletions()
    : FBefore(PendingDeletions()), FSaved(HKEY_LOCAL_MACHINE, kSessionManagerKey, {kPendingValue}) {}

TRestartDeletions::~TRestartDeletions() {
  for (const std::string& file : Added()) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(file.c_str())) RemoveDirectoryA(file.c_str());
  }
}

std::vector<std::string> TRestartDeletions::Added() const {
  std::vector<std::string> added;
  for (const std::string& file : PendingDeletions())
    if (std::find(FBefore.begin(), FBefore.end(), file) == FBefore.end()) added.push_back(file);
  return added;
}

}  // namespace road
