object Main: TMain
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientHeight = 421
  ClientWidth = 577
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnShow = FormShow
  object Label1: TLabel
    Left = 3
    Top = 52
    Caption = '4.0.0.783'
    Font.Color = clWhite
    Transparent = True
  end
end
