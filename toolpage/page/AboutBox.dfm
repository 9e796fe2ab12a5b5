object AboutBox: TAboutBox
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'About'
  ClientWidth = 331
  ClientHeight = 187
  Position = poScreenCenter
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 315
    Height = 137
    BevelInner = bvRaised
    BevelOuter = bvLowered
    object ProgramIcon: TImage
      Left = 8
      Top = 8
      Width = 32
      Height = 32
      Center = True
    end
    object ProductName: TLabel
      Left = 56
      Top = 16
      Caption = 'Stavrel console scripting tool'
      Font.Style = [fsBold]
      ParentFont = False
    end
    object Version: TLabel
      Left = 56
      Top = 48
      Caption = 'Version 2.0'
    end
    object Copyright: TLabel
      Left = 8
      Top = 80
      Caption = 'Copyright Kavel. All rights reserved.'
    end
  end
  object OKButton: TButton
    Left = 128
    Top = 154
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    Cancel = True
    ModalResult = 1
  end
end
