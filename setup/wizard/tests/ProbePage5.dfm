object ProbePage5: TProbePage5
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Probe'
  ClientHeight = 362
  ClientWidth = 472
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  OnCreate = FormCreate
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
    Default = True
    OnClick = ProceedBtnClick
  end
  object CancelBtn: TTranslateBitBtn
    Left = 389
    Top = 326
    Width = 75
    Height = 25
    Caption = 'Cancel'
    GLID = 6
    Cancel = True
    OnClick = CancelBtnClick
  end
end
