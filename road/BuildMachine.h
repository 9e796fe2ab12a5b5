// The build machine inside the machine the road runs on, laid out as the setup's
// configuration expects it: the product's files in C:\Stavrel\Sample, the setup program
// with its BUILD.INF in C:\Stavrel\Tools, and the installer library's folder (with the
// loader program) on the library search path. "bramset.exe -b" there builds the
// distributable setup into C:\Stavrel\Setup.
#pragma once

#include <string>

#include "RegistrySnapshot.h"

namespace road {

class TBuildMachine {
 public:
  // ProgramFolder holds bramset.exe and the installer library (the
  // loader program); SampleFolder the product's build folder. A C:\Stavrel that is
  // there already is set aside until the object goes.
  TBuildMachine(std::string ProgramFolder, std::string SampleFolder);
  // Takes the build machine away again; the folder set aside and the library search
  // path come back as they were.
  ~TBuildMachine();
  TBuildMachine(const TBuildMachine&) = delete;
  TBuildMachine& operator=(const TBuildMachine&) = delete;

  static constexpr char kRoot[] = "C:\\Stavrel";

  // Copies the files in place and names the library folder.
  void LayOut();
  // Builds the distributable setup; its file. Throws ERoad with what the build said
  // when it made none.
  std::string BuildSetup();
  // Lays the product out again with other contents in its data files (the programs,
  // libraries, type libraries and help stay) and builds the setup of this later version
  // in place of the first; its file.
  std::string BuildUpgrade();
  std::string SetupFile() const { return std::string(kRoot) + "\\Setup\\setup.exe"; }

 private:
  std::string FProgramFolder;
  std::string FSampleFolder;
  std::string FSetAside;
  testsupport::TSavedRegistryTree FSearchPath;
};

}  // namespace road
