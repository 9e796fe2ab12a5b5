// Writing an archive: a new one, or new files behind those of an existing one.
#include <utility>
#include <vector>

#include "ArchiveText.h"
#include "FileSystem.h"
#include "QnlkCompress.h"

namespace setup {

namespace {
constexpr size_t kReadBlock = 65536;
}

void TQnlkCompress::Compress(TlzhCommand Command, int UniqueID) {
  FAbort = false;
  FMode = mdCompressing;
  FHeldVolume.reset();
  const TWrittenArchive written = std::exchange(FWritten, TWrittenArchive());
  FHeaders.MultiVolume = 0;
  FOffset = 0;
  struct TCleanup {
    TQnlkCompress& c;
    ~TCleanup() {
      c.ForgetHeaders();
      c.FFilesToProcess->Clear();
      c.FMode = mdNone;
      c.FCurrentHeader = nullptr;
    }
  } cleanup{*this};

  Guarded(
      [&] {
        ForceDirectories(ExtractFilePath(FCompressedFile));
        TWinFile archive;
        bool append = Command == lzcOnlyAdd && FileExists(FCompressedFile);
        int64_t writeAt = kHeaderTableStart;
        if (append) {
          if (!archive.Open(FCompressedFile, TFileOpen::ReadWrite))
            throw EQnlkCompress(fw::Format("Cannot create the file %s", FCompressedFile));
          int64_t size = -1;
          uint64_t writeTime = 0;
          const bool asWritten = fw::SameText(written.Path, FCompressedFile) &&
                                 FileSizeAndWriteTime(FCompressedFile, size, writeTime) && size == written.Size &&
                                 writeTime == written.WriteTime;
          if (!asWritten) FHeaders.LoadFromStream(archive, 0);
          if (FHeaders.MultiVolume == 1)
            throw EQnlkCompress(fw::Format("Cannot add files to %s: it is a volume set", FCompressedFile));
          writeAt = FHeaders.AppendPosition();
          FHeaders.AddFiles(FFilesToProcess->ToVector(), true);
        } else {
          // The sources are checked before an old archive of the same name is emptied.
          FHeaders.AddFiles(FFilesToProcess->ToVector(), false);
          if (!archive.Open(FCompressedFile, TFileOpen::Create))
            throw EQnlkCompress(fw::Format("Cannot create the file %s", FCompressedFile));
          // Until every file is in, the archive reads as an empty one.
          TFileHeaders empty;
          empty.SaveToStream(archive);
        }
        // New files go where the old header chain ends. The count that makes them
        // visible is written only when all of them are complete; a failure cuts the
        // file back, so the archive keeps exactly what it held.
        bool complete = false;
        struct TRollback {
          TWinFile& file;
          int64_t at;
          const bool& complete;
          ~TRollback() {
            if (!complete && file.Seek(at, fw::soBeginning) == at) file.Truncate();
          }
        } rollback{archive, writeAt, complete};
        if (archive.Seek(writeAt, fw::soBeginning) != writeAt || !archive.Truncate())
          throw EQnlkCompress(fw::Format("Cannot create the file %s", FCompressedFile));

        FHeaders.InitFileStats(FStats);
        FStats.TotalCompressed = 0;
        for (int i = 0; i < FHeaders.GetCount(); ++i)
          if (!FHeaders[i].ReadFromArchive()) CompressOne(FHeaders[i], i, UniqueID, archive);
        FHeaders.SaveToStream(archive);
        FHeaders.MarkAllReadFromArchive();
        complete = true;
        archive.Close();
        TWrittenArchive done{FCompressedFile};
        if (FileSizeAndWriteTime(FCompressedFile, done.Size, done.WriteTime)) FWritten = done;
      },
      true);
}

void TQnlkCompress::CompressOne(TFileHeader& Header, int Index, int UniqueID, TWinFile& Archive) {
  FCurrentHeader = &Header;
  TWinFile source;
  if (!source.Open(Header.Name(), TFileOpen::Read))
    throw EQnlkCompress(fw::Format("Cannot open the file %s", Header.Name()));
  struct TStreams {
    TQnlkCompress& c;
    ~TStreams() { c.FSourceFile = c.FDestFile = nullptr; }
  } streams{*this};
  FSourceFile = &source;
  FDestFile = &Archive;

  int64_t headerAt = Archive.Position();
  Header.WriteToStream(Archive);
  int64_t dataStart = Archive.Position();
  FCompressStart = dataStart;

  Header.GetFileStats(FStats);
  FStats.CompressedSize = 0;
  Fire(OnBeforeAdding);
  int64_t taken = 0;
  {
    TCompressionStream zip(FCompressionLevel, Archive);
    zip.OnProgress = [this] { AddStatus(); };
    zip.OnWriteShort = [this] { DoFullDisk(); };
    std::vector<uint8_t> block(kReadBlock);
    for (size_t n; (n = source.Read(block.data(), block.size())) > 0; taken += static_cast<int64_t>(n))
      zip.Write(block.data(), n);
    zip.Finish();
  }
  int64_t end = Archive.Position();
  if (end > INT32_MAX || taken > INT32_MAX)
    throw EQnlkCompress(fw::Format("The file %s is too large to be stored in the archive", Header.Name()));
  // The size that was compressed, should the file have changed since it was listed.
  Header.SetUncompressedSize(static_cast<int32_t>(taken));
  FStats.FileSize = taken;
  FStats.Ratio = FStats.FileSize > 0 ? Percent(end - dataStart, FStats.FileSize) : 0;
  FStats.Finished = true;
  AddStatus();
  FStats.Finished = false;
  FStats.TotalCompressed += end - dataStart;

  Header.SetEndPosition(static_cast<int32_t>(end - 1));
  Header.SetNextHeader(static_cast<int32_t>(end));
  Header.SetDataStart(static_cast<int32_t>(dataStart));
  Header.SetCompressedSize(static_cast<int32_t>(end - dataStart));
  Header.SetUniqueID(UniqueID);
  FIDs.Set(UniqueID, Index);
  Archive.Seek(headerAt, fw::soBeginning);
  Header.WriteToStream(Archive);
  Archive.Seek(end, fw::soBeginning);
  Fire(OnAfterAdding);
}

}  // namespace setup
