// The self-extract record in the setup file: appending the archives and the record,
// the record of a setup whose archives stay separate files, and reading the record back.
#pragma once

#include <string>

#include "engine/SelfExtractRecord.h"

namespace setup {

// Appends Setup1, then Files1 when it exists, to SetupExe, then the "SELFEXTRACTING"
// record with their offsets. Raises IEInstall when a part cannot be copied whole or the
// file would pass 2 GiB (the record's offsets are 32-bit).
void AppendSelfExtractParts(const std::string& SetupExe, const std::string& Setup1, const std::string& Files1);
// Appends the "NOTSELFEXTRACT" record.
void WriteNotSelfExtractInfo(const std::string& SetupExe);
// The record of a finished setup file (96 bytes before its end), checked against the
// file: IEInstall when it cannot be read or is not sound.
TSelfExtractInfo ReadSelfExtractInfo(const std::string& FileName);
// Raises IEInstall unless Info is a self-extracting record that holds "files.1".
void RequireSelfExtractArchive(const TSelfExtractInfo& Info, const std::string& FileName);

}  // namespace setup
