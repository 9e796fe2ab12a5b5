#include "RemoteFileList.h"

#include <windows.h>

#include "archive/FileSystem.h"
#include "gui/WinHandles.h"
#include "objects/InstallEngine.h"
#include "objects/InstallFile.h"
#include "objects/InstallLists.h"
#include "support/FileListFormat.h"
#include "support/NetLocationInterface.h"
#include "support/WinFolders.h"

namespace setup {

namespace {

// Deletes the file when it goes.
class TTemporaryFile {
 public:
  explicit TTemporaryFile(std::string Name) : FName(std::move(Name)) {}
  ~TTemporaryFile() { DeleteFileA(FName.c_str()); }
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  const std::string& Name() const { return FName; }

 private:
  std::string FName;
};

// Files this build packed: compressed now (1) or before (2).
bool PackedByThisBuild(const TCustomInstallFile& File) {
  return File.CompressInfo().Compressed == 1 || File.CompressInfo().Compressed == 2;
}

}  // namespace

void FetchRemoteFileListFrom(INetInstallLocation* Location) {
  if (Location == nullptr)
    throw IEInstall(
        "The setup is distributed over the network, but no net location is assigned to the NetLocation property");
  TTemporaryFile list(GetTempFile(false));
  Location->DownloadFile(kRemoteFileListName, list.Name(), nullptr);
  ApplyRemoteFileListFile(list.Name());
}

void ApplyRemoteFileListFile(const std::string& FileName) {
  fw::TFileHandle file(CreateFileA(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw IEInstall("Cannot read the remote list of files: %s", FileName);
  try {
    ReadFileList(
        [&](char* Buffer, size_t Count) -> size_t {
          DWORD read = 0;
          if (!ReadFile(file.Get(), Buffer, static_cast<DWORD>(Count), &read, nullptr)) return 0;
          return read;
        },
        [](const TFileListEntry& Entry) {
          ApplyRemoteFileEntryToFiles(Entry.Name, Entry.Version, Entry.Size, Entry.Date);
        });
  } catch (const EFileListTruncated&) {
    throw IEInstall("Cannot read the remote list of files: %s", FileName);
  }
}

void ApplyRemoteFileEntryToFiles(const std::string& Name, const std::string& Version, int32_t Size, double Date) {
  TCustomInstallFileList* files = AllInstallFiles();
  if (files == nullptr) return;
  for (TCustomInstallFile* file : files->Items()) {
    if (!fw::SameText(file->Name(), Name)) continue;
    file->ApplyRemoteFileInfo(Size, Date, Version.substr(0, kFileListMaxVersion));
    return;
  }
}

void WriteFileList(const std::string& MirrorFolder) {
  if (!ForceDirectories(MirrorFolder)) throw IEInstall("Cannot create the folder %s", MirrorFolder);
  std::string target = MirrorFolder + "\\" + kRemoteFileListName;
  std::string bytes;
  int32_t count = 0;
  if (TCustomInstallFileList* files = AllInstallFiles()) {
    for (TCustomInstallFile* file : files->Items()) {
      if (!PackedByThisBuild(*file)) continue;
      bytes += EncodeFileListRecord({file->UncompressedSize(), file->FileDate(), file->Name(), file->FileVersion()});
      ++count;
    }
  }
  bytes.insert(0, EncodeFileListCount(count));
  TReplacementFile list(target);
  if (!list.Create() || list.Stream().Write(bytes.data(), bytes.size()) != bytes.size() || !list.Commit())
    throw IEInstall("Cannot write the remote list of files: %s", target);
}

}  // namespace setup
