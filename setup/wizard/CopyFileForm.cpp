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
  if (FileStatus != nullptr) {
    TransferBitmap->SetVisible(false);
    ProgressBar2->SetPosition(FileStatus->TotalPercent);
    ProgressBar1->SetPosition(FileStatus->Percent);
    lblCopyingFile->SetCaption(FileStatus->FileName);
  } else if (DownloadStatus != nullptr) {
    TransferBitmap->SetVisible(true);
    ProgressBar1->SetPosition(DownloadStatus->Percent);
    lblCopyingFile->SetCaption(DownloadStatus->FileName);
  }
  // What changed is drawn at once; what did not is not drawn again (the status comes with
  // every block of every file).
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TCopyFileForm::CancelBtnClick(fw::TObject*) {
  Cancel();
}

}  // namespace setup
