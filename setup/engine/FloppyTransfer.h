// Copying a self-extracting setup onto floppy disks: "setup.exe" (the loader with a
// "NOTSELFEXTRACT" record) and "setup.1" on the first disk, then "files.1" as a volume
// set across as many disks as it needs.
#pragma once

#include <string>

namespace setup {

class TQnlkCompress;

// What the transfer shows and asks; the setup program answers with its status window
// and message boxes, tests answer themselves.
class IFloppyTransferUser {
 public:
  virtual void ShowStatus(const std::string& Text) = 0;
  virtual void HideStatus() = 0;
  // "Please insert disk %d": false when the user cancels.
  virtual bool ConfirmNewDisk(int DiskNumber) = 0;
  virtual void ProcessMessages() = 0;

 protected:
  ~IFloppyTransferUser() = default;
};

// The prompts as message boxes, the status as given.
class TFloppyTransferDialogs : public IFloppyTransferUser {
 public:
  bool ConfirmNewDisk(int DiskNumber) override;
  void ProcessMessages() override;
};

// Transfers SetupFile (a finished self-extracting setup, opened only for reading) to
// Drive ("a:"). Archive is the shared archive object: its Abort flag cancels the copy of
// "setup.1" and of "files.1" ("Creating Install Aborted!"), its split writes "files.1".
// Raises at the first failure; what the disks already hold stays.
void TransferSetupToFloppies(const std::string& SetupFile, const std::string& Drive, TQnlkCompress& Archive,
                             IFloppyTransferUser& User);

}  // namespace setup
