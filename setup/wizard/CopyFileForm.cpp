#include "CopyFileForm.h"

#include "DialogManager.h"
#include "core/ClassDef.h"
#include "gui/Screen.h"
#include "objects/StatusParameters.h"

namespace setup {

const fw::TClass& TCopyFileForm::StaticClass() {
  using T = TCopyFileForm;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Field("UnZipImage", &T::UnZipImage)
                                    .Field("TransferBitmap", &T::TransferBitmap)
                                    .Field("lblCopyFileHeader", &T::lblCopyFileHeader)
                                    .Field("lblCopyingFile", &T::lblCopyingFile)
                                    .Field("Label1", &T::Label1)
                                    .Field("Label2", &T::Label2)
                                    .Field("ProgressBar1", &T::ProgressBar1)
                                    .Field("ProgressBar2", &T::ProgressBar2)
                                    .Field("CancelBtn", &T::CancelBtn)
                                    .Method("FormShow", &T::FormShow)
                                    .Method("CancelBtnClick", &T::CancelBtnClick);
  return cls;
}

TCopyFileForm::TCopyFileForm(fw::TComponent* AOwner) : TBaseDuringCopyForm(AOwner) {
  SetDM(FindDialogManager(dmDuringCopyFiles));
}

void TCopyFileForm::FormShow(fw::TObject*) {
  SetBounds(fw::ScreenWidth() - Width() - 20, fw::ScreenHeight() - Height() - 60, Width(), Height());
}

void TCopyFileForm::UpdateStatus(TFileStatusParameter* FileStatus, TDownloadStatusParameter* DownloadStatus) {
  TShown shown = FShown;
  if (FileStatus != nullptr) {
    shown = TShown{false, FileStatus->TotalPercent, FileStatus->Percent, FileStatus->FileName};
  } else if (DownloadStatus != nullptr) {
    shown.Transfer = true;
    shown.Percent = DownloadStatus->Percent;
    shown.FileName = DownloadStatus->FileName;
  }
  if (FAnythingShown && shown == FShown) return;
  // Only the bars moved: they are drawn, not the whole window (a status comes with every
  // block of every file, and a bar moves with nearly every one of a large file).
  const bool barsOnly = FAnythingShown && shown.Transfer == FShown.Transfer && shown.FileName == FShown.FileName;
  FAnythingShown = true;
  FShown = shown;
  if (!shown.Transfer) ProgressBar2->SetPosition(shown.TotalPercent);
  ProgressBar1->SetPosition(shown.Percent);
  if (barsOnly) {
    for (fw::TProgressBar* bar : {ProgressBar1, ProgressBar2})
      if (bar->HandleAllocated()) UpdateWindow(bar->Handle());
    return;
  }
  TransferBitmap->SetVisible(shown.Transfer);
  lblCopyingFile->SetCaption(shown.FileName);
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TCopyFileForm::CancelBtnClick(fw::TObject*) {
  Cancel();
}

}  // namespace setup
