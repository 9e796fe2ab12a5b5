object GoodInstallForm: TGoodInstallForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Setup complete'
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
  object Label1: TTranslateLabel
    Left = 140
    Top = 16
    Width = 320
    Height = 48
    AutoSize = False
    Caption = 'The software has been properly installed. You may start the software by clicking on the icon.'
    GLID = 38
    Transparent = True
    WordWrap = True
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
  object FinishBtn: TTranslateBitBtn
    Left = 300
    Top = 326
    Width = 75
    Height = 25
    Caption = 'Finish'
    GLID = 72
    OnClick = ProceedBtnClick
    Visible = False
  end
end
