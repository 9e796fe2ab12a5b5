object WelcomeForm: TWelcomeForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Welcome'
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
  object TextPanel: TPanel
    Left = 140
    Top = 16
    Width = 320
    Height = 290
    BevelOuter = bvNone
    ParentColor = True
    object Label1: TTranslateLabel
      Align = alTop
      Height = 32
      AutoSize = False
      Caption = 'This program will install the software on your computer.'
      GLID = 10
      Transparent = True
      WordWrap = True
    end
    object Label6: TTranslateLabel
      Align = alTop
      AutoSize = False
      Height = 8
      Caption = ''
      GLID = 0
      Transparent = True
    end
    object Label2: TTranslateLabel
      Align = alTop
      Height = 64
      AutoSize = False
      Caption = 'It is strongly recommended that you exit all Windows programs before running this setup. If you need to close any programs, click Cancel to quit the setup and then close the programs.'
      GLID = 11
      Transparent = True
      WordWrap = True
    end
    object Label7: TTranslateLabel
      Align = alTop
      AutoSize = False
      Height = 8
      Caption = ''
      GLID = 0
      Transparent = True
    end
    object Label3: TTranslateLabel
      Align = alTop
      Height = 32
      AutoSize = False
      Caption = 'Click Next to continue with the installation.'
      GLID = 12
      Transparent = True
      WordWrap = True
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
    Default = True
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
