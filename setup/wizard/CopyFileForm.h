// The progress window of a copy run: the file being processed, its progress and the
// run's total, and a Cancel button. It sits in the bottom-right corner of the screen.
#pragma once

#include "BaseInstallForm.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "support/TranslatorControls.h"

namespace setup {

class TCopyFileForm : public TBaseDuringCopyForm {
  FW_CLASS(TCopyFileForm, TBaseDuringCopyForm)
 public:
  explicit TCopyFileForm(fw::TComponent* AOwner);

  fw::TImage* UnZipImage = nullptr;
  fw::TImage* TransferBitmap = nullptr;
  TTranslateLabel* lblCopyFileHeader = nullptr;
  TTranslateLabel* lblCopyingFile = nullptr;
  TTranslateLabel* Label1 = nullptr;
  TTranslateLabel* Label2 = nullptr;
  fw::TProgressBar* ProgressBar1 = nullptr;
  fw::TProgressBar* ProgressBar2 = nullptr;
  TTranslateBitBtn* CancelBtn = nullptr;

  // A file's progress fills both bars; a download's only the file bar (with the
  // transfer picture shown).
  void UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) override;
  void FormShow(fw::TObject* Sender);
  void CancelBtnClick(fw::TObject* Sender);

 private:
  // What the window shows; a status that changes none of it draws nothing (a status
  // comes with every block of every file).
  struct TShown {
    bool Transfer = false;
    int32_t TotalPercent = -1, Percent = -1;
    std::string FileName;
    bool operator==(const TShown& Other) const {
      return Transfer == Other.Transfer && TotalPercent == Other.TotalPercent && Percent == Other.Percent &&
             FileName == Other.FileName;
    }
  };
  bool FAnythingShown = false;
  TShown FShown;
};

}  // namespace setup
