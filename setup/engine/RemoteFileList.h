// The engine's remote file list "filelist.lst": fetched from the net install location
// before any archive, so that sizes, dates and versions of the files packed for the
// network are known; written by the build into the network mirror folder.
#pragma once

#include <cstdint>
#include <string>

namespace setup {

class INetInstallLocation;
struct TFileListEntry;

// Downloads the list from Location into a temporary file and applies every entry to the
// install files; the temporary file is deleted in every case. A nil Location raises
// IEInstall (a network distribution without its source); a cancelled download raises
// EAIUserAbort; a list cut short raises IEInstall "Cannot read the remote list of files: %s".
void FetchRemoteFileListFrom(INetInstallLocation* Location);
// Applies the entries of a list file already on disk.
void ApplyRemoteFileListFile(const std::string& FileName);
// The first install file of the global list whose name is Name (case-insensitive) takes
// Size, Date and Version (at most 20 characters); no match changes nothing.
void ApplyRemoteFileEntryToFiles(const std::string& Name, const std::string& Version, int32_t Size, double Date);
// Writes MirrorFolder\filelist.lst (creating the folder with its parents) with a record of
// every install file that this build packed, in the order of the global list. The old
// list is replaced only by a complete new one.
void WriteFileList(const std::string& MirrorFolder);

}  // namespace setup
