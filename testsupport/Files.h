// Files for tests: the scratch folders, tree removal and whole-file helpers that tests
// share with the benchmark programs (benchsupport/ScratchFiles.h), under the test
// support's names.
#pragma once

#include "ScratchFiles.h"

namespace testsupport {

using benchsupport::FileExists;
using benchsupport::BesideProgram;
using benchsupport::FolderExists;
using benchsupport::NamesIn;
using benchsupport::ProgramFolder;
using benchsupport::ReadFile;
using benchsupport::RemoveTree;
using benchsupport::TScratchFolder;
using benchsupport::WriteFile;

}  // namespace testsupport
