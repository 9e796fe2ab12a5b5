object ReadmeForm: TReadmeForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Readme information'
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
    Top = 8
    Width = 322
    Height = 292
    BevelOuter = bvNone
    ParentColor = True
    object Label1: TTranslateLabel
      Align = alTop
      Height = 30
      AutoSize = False
      Caption = 'Please read the information below before you install this software on your computer.'
      GLID = 8
      Transparent = True
      WordWrap = True
    end
    object Label2: TTranslateLabel
      Align = alTop
      AutoSize = False
      Height = 2
      Caption = ''
      GLID = 0
      Transparent = True
    end
    object Information: TRichEdit
      Align = alClient
      Height = 260
      Color = clWindow
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -11
      Font.Name = 'Arial'
      ParentFont = False
      ReadOnly = True
      ScrollBars = ssVertical
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
    Caption = 'Abort'
    GLID = 104
    OnClick = CancelBtnClick
  end
end
