// The build of a distributable setup from a build folder: "setup.1" (the installer
// program and its companion files), the loader program as "setup.exe", the main archive
// "files.1", joined into one self-extracting "setup.exe" sealed with its digest.
//
// The parts are made in a staging folder inside the build folder and moved into it only
// when the whole build succeeded, so a failed build leaves no setup that looks finished
// (the files of an earlier build stay as they were).
#pragma once

#include <string>

#include "objects/InstallTypes.h"

namespace fw {
class TStrings;
}

namespace setup {

// Dir + "\" + Name, without a second backslash when Dir ends in one.
std::string BuildFileName(const std::string& Dir, const std::string& Name);

// The build folder named by "BUILD.INF" in ProgramDir; IEInstall when it is missing, has
// no line or a blank first line.
std::string ReadBuildInf(const std::string& ProgramDir);

// The container build's options for a distribution kind.
int BuildOptions(TDistributeType Type);

// The engine's side of a build.
class IBuildEngine {
 public:
  virtual bool BuildUsesLoadingProgram() const = 0;
  virtual TDistributeType BuildDistributeType() const = 0;
  // Makes "setup.1" in Dir (the engine's BuildSetupArchive).
  virtual void BuildSetupArchive(const std::string& Dir, const std::string& SourceExe) = 0;
  // Compresses every file of the configuration into FilesArchive with Options; the
  // engine's archive settings are restored afterwards, also on failure.
  virtual void BuildContainers(const std::string& FilesArchive, int Options) = 0;
  // The remote file list of a network distribution.
  virtual void BuildFileList() = 0;

 protected:
  ~IBuildEngine() = default;
};

// The whole build into Dir. StandAlone joins the parts into a self-extracting setup.
void BuildDistribution(IBuildEngine& Engine, const std::string& SourceExe, const std::string& Dir, bool StandAlone);

// The steps, for the engine's own overrides.
void CopySetupPrograms(IBuildEngine& Engine, const std::string& Dir, const std::string& SourceExe);
// "setup.1" in Dir: SourceExe first (a new archive), then every PresetupFiles line.
void BuildSetupArchiveOf(const std::string& Dir, const std::string& SourceExe, const fw::TStrings& PresetupFiles);

}  // namespace setup
