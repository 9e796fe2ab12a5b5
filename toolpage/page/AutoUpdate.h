// Putting one command line into a server start-up file such as "AUTOEXEC.NCF" (reached
// through its UNC path) without duplicating it, with a ".BAK" copy of the old file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace toolpage {

// Reads the file's attributes into Attributes (false when they cannot be read) and clears
// read-only, hidden and system; true when they had to be changed (and were).
bool ClearProtectAttributes(const std::string& FileName, uint32_t& Attributes);
// Writes Attributes back when Changed.
void RestoreAttributes(const std::string& FileName, uint32_t Attributes, bool Changed);

// FileName with its extension replaced by Ext (".BAK").
std::string ChangeFileExt(const std::string& FileName, const std::string& Ext);
// Replaces FileName's copy with extension Ext by a fresh copy that carries FileName's
// attributes. True only when the fresh copy was made.
bool BackupFile(const std::string& FileName, const std::string& Ext);

// How UpdateLine tells the user that it failed: the file's name and the reason.
using TUpdateFailure = std::function<void(const std::string& FileName, const std::string& Reason)>;
// "Unable to update %s (%s)" in an error box.
void ShowUpdateFailure(const std::string& FileName, const std::string& Reason);
// Writes Data as the whole new file; raises on failure (replaceable for tests).
using TFileWriter = std::function<void(const std::string& FileName, const std::string& Data)>;
void WriteWholeFile(const std::string& FileName, const std::string& Data);

// Every line of FileName that carries the command Key (NewLine's own when Key is empty)
// becomes NewLine, else NewLine is appended. The old content stays in the ".BAK" copy; the
// new content goes to a temporary file that replaces FileName only when complete. Nothing
// changes when the copy cannot be made. False (and Failure told) when the file was not
// updated; an empty FileName does nothing.
bool UpdateLine(const std::string& FileName, const std::string& Key, const std::string& NewLine,
                const TUpdateFailure& Failure = ShowUpdateFailure, const TFileWriter& Writer = WriteWholeFile);

}  // namespace toolpage
