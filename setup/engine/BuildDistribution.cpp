#include "BuildDistribution.h"

#include <windows.h>

#include "archive/ArchiveStream.h"
#include "archive/ArchiveText.h"
#include "archive/FileSystem.h"
#include "core/Strings.h"
#include "engine/BuildInfText.h"
#include "engine/BuildStaging.h"
#include "engine/FileDigest.h"
#include "engine/SelfExtractFile.h"
#include "gui/WinHandles.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "objects/QuenlarkInfo.h"
#include "support/PathStrings.h"

namespace setup {

std::string BuildFileName(const std::string& Dir, const std::string& Name) {
  return AddTrailingBackslash(Dir) + Name;
}

std::string ReadBuildInf(const std::string& ProgramDir) {
  const std::string path = BuildFileName(ProgramDir, "BUILD.INF");
  TWinFile file;
  if (!FileExists(path) || !file.Open(path, TFileOpen::Read))
    throw IEInstall(
        "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
  // The first line is all that is read; a folder name is far shorter than this.
  std::string content(static_cast<size_t>(std::min<int64_t>(file.Size(), 64 * 1024)), '\0');
  content.resize(file.Read(content.data(), content.size()));
  std::string folder;
  if (!BuildDirectoryFromBuildInf(content, folder))
    throw IEInstall("Must be 1 line in BUILD.INF. This line should specify the build directory");
  return folder;
}

int BuildOptions(TDistributeType Type) {
  switch (Type) {
    case dtTraditional:
      return 46;
    case dtWeb:
      return 54;
    case dtTraditionalNet:
      return 38;
  }
  return 38;
}

void BuildSetupArchiveOf(const std::string& Dir, const std::string& SourceExe, const fw::TStrings& PresetupFiles) {
  if (fw::Trim(SourceExe).empty()) throw IEInstall("Cannot create setup file. Executable is blank");
  if (!FileExists(SourceExe)) throw IEInstall("TInstall: Cannot find the executable file %s", SourceExe);
  const std::string archive = BuildFileName(Dir, "setup.1");
  auto add = [&](const std::string& Path, TlzhCommand Command, bool Companion) {
    TCustomInstallFile file(nullptr);
    file.SetFileName(ExtractFileName(Path));
    file.SetIncludeFromDir(RemoveTrailingBackslash(ExtractFilePath(Path)));
    if (Companion) file.SetNet(false);
    file.SetAddToArchive(Command);
    file.RestoreArchive(nullptr, archive);
    file.Compress();
  };
  add(SourceExe, lzcOverwrite, false);
  for (int i = 0; i < PresetupFiles.Count(); ++i) add(PresetupFiles.Strings(i), lzcOnlyAdd, true);
}

void CopySetupPrograms(IBuildEngine& Engine, const std::string& Dir, const std::string& SourceExe) {
  if (!Engine.BuildUsesLoadingProgram()) {
    ForceDirectories(Dir);
    const std::string target = BuildFileName(Dir, ExtractFileName(SourceExe));
    if (!CopyFileA(SourceExe.c_str(), target.c_str(), FALSE))
      throw IEInstall("Cannot copy the installation application from %s to %s", SourceExe, target);
    return;
  }
  try {
    Engine.BuildSetupArchive(Dir, SourceExe);
  } catch (const EqcDiskFull&) {
    throw IEInstall(
        "The disk that you have specified has been determined to be either too full or is corrupt while trying to "
        "copy the SETUP.1 archive file. You should probably clear all files off of the drive. Minimally, you should "
        "leave enough space on the drive for the SETUP.1 archive file.");
  }
  std::string library;
  try {
    library = QuenlarkInfo::GetLibraryDirectory(true);
  } catch (const Exception&) {
    throw IEInstall(
        "The HKEY_LOCAL_MACHINE | %s key in the registry is either missing or points to an invalid URQ directory",
        QuenlarkInfo::kRootFolderKey);
  }
  const std::string loader = BuildFileName(library, "QuenlarkLoadProgram.exe");
  if (!FileExists(loader)) throw IEInstall("The loader program %s was not found", loader);
  const std::string target = BuildFileName(Dir, "setup.exe");
  if (!CopyFileA(loader.c_str(), target.c_str(), FALSE))
    throw IEInstall("Cannot copy the loading program from %s to %s", loader, target);
}

void BuildDistribution(IBuildEngine& Engine, const std::string& SourceExe, const std::string& Dir, bool StandAlone) {
  if (StandAlone && !Engine.BuildUsesLoadingProgram())
    throw IEInstall(
        "Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall is set to False");
  TBuildStaging staging(Dir);
  const std::string& work = staging.Folder();
  const std::string setupExe = BuildFileName(work, "setup.exe"), setup1 = BuildFileName(work, "setup.1"),
                    files1 = BuildFileName(work, "files.1");
  CopySetupPrograms(Engine, work, SourceExe);
  Engine.BuildContainers(files1, BuildOptions(Engine.BuildDistributeType()));
  if (Engine.BuildDistributeType() != dtTraditional) Engine.BuildFileList();
  if (StandAlone)
    AppendSelfExtractParts(setupExe, setup1, files1);
  else
    WriteNotSelfExtractInfo(setupExe);
  if (Engine.BuildUsesLoadingProgram()) AppendFileCheckSum(setupExe, CalcFileCheckSum(setupExe, false));
  staging.Commit("setup.exe");
}

}  // namespace setup
