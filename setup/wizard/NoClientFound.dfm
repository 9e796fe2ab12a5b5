object NoClientFound: TNoClientFound
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Novell Client32 missing'
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
  object TranslateLabel2: TTranslateLabel
    Left = 140
    Top = 16
    Width = 320
    Height = 20
    AutoSize = False
    Caption = 'Novell Client32 not installed.'
    GLID = 103
    Transparent = True
    WordWrap = True
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object TranslateLabel1: TTranslateLabel
    Left = 140
    Top = 50
    Width = 320
    Height = 80
    AutoSize = False
    Caption = 'You must have Novell''s Client32 installed on your system to run Kavel Stavrel. Please install Novell''s Client32 and run installator again.'
    GLID = 101
    Transparent = True
    WordWrap = True
  end
  object AbortBtn: TTranslateBitBtn
    Left = 389
    Top = 326
    Width = 75
    Height = 25
    Caption = 'Abort'
    GLID = 104
    OnClick = ProceedBtnClick
  end
end
