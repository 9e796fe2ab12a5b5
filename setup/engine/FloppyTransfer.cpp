#include "FloppyTransfer.h"

#include <windows.h>

#include "archive/QnlkCompress.h"
#include "engine/SelfExtractFile.h"
#include "objects/InstallEngine.h"

namespace setup {
namespace {

constexpr int64_t kBlock = 8192;

// Copies Count bytes from Source's position into Target in blocks; false when a block
// could not be read or written whole.
bool CopyBlocks(TWinFile& Source, TWinFile& Target, int64_t Count, TQnlkCompress* Archive, IFloppyTransferUser& User) {
  uint8_t block[kBlock];
  while (Count > 0) {
    if (Archive != nullptr && Archive->Abort()) throw EUserAbortInstall();
    const size_t want = static_cast<size_t>(std::min(Count, kBlock));
    if (Source.Read(block, want) != want || Target.Write(block, want) != want) return false;
    Count -= static_cast<int64_t>(want);
    if (Archive != nullptr) User.ProcessMessages();
  }
  return true;
}

std::string DriveFile(const std::string& Drive, const char* Name) {
  return (Drive.empty() || Drive.back() != '\\' ? Drive + "\\" : Drive) + Name;
}

}  // namespace

bool TFloppyTransferDialogs::ConfirmNewDisk(int DiskNumber) {
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_ARROW));
  const std::string text = fw::Format(TranslateEnglishText("Please insert disk %d"), DiskNumber);
  const int answer = MessageBoxA(GetActiveWindow(), text.c_str(), "", MB_OKCANCEL | MB_ICONQUESTION);
  SetCursor(previous);
  return answer == IDOK;
}

void TFloppyTransferDialogs::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void TransferSetupToFloppies(const std::string& SetupFile, const std::string& Drive, TQnlkCompress& Archive,
                             IFloppyTransferUser& User) {
  const TSelfExtractInfo info = ReadSelfExtractInfo(SetupFile);
  RequireSelfExtractArchive(info, SetupFile);
  User.ShowStatus(TranslateEnglishText("Transferring this installation to floppies. Please wait..."));
  {
    struct THide {
      IFloppyTransferUser& User;
      ~THide() { User.HideStatus(); }
    } hide{User};
    TWinFile source;
    if (!source.Open(SetupFile, TFileOpen::Read))
      throw IEInstall(
          "Could not read the extraction info from the archive file %s when trying to find the correct offset into "
          "the self extracting file",
          SetupFile);

    const std::string setupExe = DriveFile(Drive, "setup.exe");
    {
      TWinFile target;
      if (!target.Open(setupExe, TFileOpen::Create) || !CopyBlocks(source, target, info.Setup1First, nullptr, User))
        throw IEInstall("Cannot create setup.exe on the A drive. Probably not enough room");
    }
    WriteNotSelfExtractInfo(setupExe);

    // The offsets are inclusive: setup.1 runs from its first to its last byte.
    TWinFile target;
    if (!target.Open(DriveFile(Drive, "setup.1"), TFileOpen::Create) ||
        source.Seek(info.Setup1First, fw::soBeginning) != info.Setup1First ||
        !CopyBlocks(source, target, info.Setup1Size(), &Archive, User))
      throw IEInstall("Cannot create setup.1 on the A drive. Probably not enough room");
  }

  struct TDetach {
    TQnlkCompress& Archive;
    ~TDetach() {
      Archive.OnNewDisk = nullptr;
      Archive.OnStatus = nullptr;
      Archive.SetOffset(0);
    }
  } detach{Archive};
  Archive.OnNewDisk = [&User](TQnlkCompress*, int DiskNumber, std::string&) {
    if (!User.ConfirmNewDisk(DiskNumber)) throw IEInstall("Aborted by user");
  };
  Archive.OnStatus = [&User](TQnlkCompress*, const TlzhFileStats&) { User.ProcessMessages(); };
  Archive.SetOffset(info.Files1First);
  Archive.SetCompressedFile(SetupFile);
  Archive.SplitToDisks(DriveFile(Drive, ""), "files.1");
  // The split ends quietly when the abort flag stops it: the disks then hold part of the
  // archive, which is no finished transfer.
  if (Archive.Abort()) throw EUserAbortInstall();
}

}  // namespace setup
