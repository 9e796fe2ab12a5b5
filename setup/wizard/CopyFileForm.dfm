object CopyFileForm: TCopyFileForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Copying installation files'
  ClientHeight = 164
  ClientWidth = 360
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  OnShow = FormShow
  object UnZipImage: TImage
    Left = 8
    Top = 8
    Width = 32
    Height = 32
    Center = True
  end
  object TransferBitmap: TImage
    Left = 8
    Top = 44
    Width = 32
    Height = 32
    Center = True
    Visible = False
  end
  object lblCopyFileHeader: TTranslateLabel
    Left = 50
    Top = 8
    Width = 300
    Height = 16
    AutoSize = False
    Caption = 'Processing'
    GLID = 14
    Transparent = True
    WordWrap = True
  end
  object lblCopyingFile: TTranslateLabel
    Left = 50
    Top = 26
    Width = 300
    Height = 16
    AutoSize = False
    Caption = '---'
    GLID = 0
    Transparent = True
    WordWrap = False
  end
  object Label1: TTranslateLabel
    Left = 50
    Top = 48
    Width = 300
    Height = 16
    AutoSize = False
    Caption = 'File progress'
    GLID = 15
    Transparent = True
    WordWrap = True
  end
  object ProgressBar1: TProgressBar
    Left = 50
    Top = 64
    Width = 300
    Height = 16
  end
  object Label2: TTranslateLabel
    Left = 50
    Top = 86
    Width = 300
    Height = 16
    AutoSize = False
    Caption = 'Total progress'
    GLID = 16
    Transparent = True
    WordWrap = True
  end
  object ProgressBar2: TProgressBar
    Left = 50
    Top = 102
    Width = 300
    Height = 16
  end
  object CancelBtn: TTranslateBitBtn
    Left = 142
    Top = 130
    Width = 75
    Height = 25
    Caption = 'Cancel'
    GLID = 6
    OnClick = CancelBtnClick
    Cancel = True
  end
end
