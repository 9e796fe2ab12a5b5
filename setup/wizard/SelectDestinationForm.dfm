object SelectDestinationForm: TSelectDestinationForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Choose Destination Location'
  ClientHeight = 362
  ClientWidth = 472
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  OnCreate = FormCreate
  object ThemeBitmap: TImage
    Left = 0
    Top = 0
    Width = 130
    Height = 306
    Center = True
  end
  object Bevel1: TBevel
    Left = 8
    Top = 314
    Width = 456
    Height = 2
    Shape = bsTopLine
  end
  object lblText1: TTranslateLabel
    Left = 140
    Top = 16
    Width = 320
    Height = 32
    AutoSize = False
    Caption = 'Which directory do you want to install this program into?'
    GLID = 85
    Transparent = True
    WordWrap = True
  end
  object lblText2: TTranslateLabel
    Left = 140
    Top = 56
    Width = 320
    Height = 32
    AutoSize = False
    Caption = 'To install to the directory displayed below, click Next.'
    GLID = 86
    Transparent = True
    WordWrap = True
  end
  object lblText3: TTranslateLabel
    Left = 140
    Top = 96
    Width = 320
    Height = 32
    AutoSize = False
    Caption = 'To install to a different directory, click Browse and select another directory.'
    GLID = 87
    Transparent = True
    WordWrap = True
  end
  object gbDirectory: TGroupBox
    Left = 140
    Top = 224
    Width = 322
    Height = 60
    Caption = 'Destination Directory'
    object edDestDir: TEdit
      Left = 10
      Top = 24
      Width = 214
      Height = 21
      OnChange = edDestDirChange
    end
    object BrowseBtn: TTranslateBitBtn
      Left = 232
      Top = 22
      Width = 80
      Height = 25
      Caption = '&Browse'
      GLID = 26
      OnClick = BrowseBtnClick
    end
  end
  object BackBtn: TTranslateBitBtn
    Left = 222
    Top = 326
    Width = 75
    Height = 25
    Caption = '< Previous'
    GLID = 4
    OnClick = BackBtnClick
  end
  object ProceedBtn: TTranslateBitBtn
    Left = 300
    Top = 326
    Width = 75
    Height = 25
    Caption = 'Next >'
    GLID = 5
    OnClick = ProceedBtnClick
  end
  object CancelBtn: TTranslateBitBtn
    Left = 389
    Top = 326
    Width = 75
    Height = 25
    Caption = 'Cancel'
    GLID = 6
    OnClick = CancelBtnClick
    Cancel = True
  end
end
