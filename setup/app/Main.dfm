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
  object MainInstall: TInstall
    DestDir = '\Kavel\Stavrel 4'
    DestDirType = psProgramFiles
    Information.CompanyName = 'Kavel Software'
    Information.ProductName = 'Kavel Stavrel'
    Information.Version = '4.00'
    HideMainForm = False
    Reboot = False
    UseLoadingProgram = True
  end
  object BackDrop: TBackdrop
    Left = 0
    Top = 0
    Width = 577
    Height = 421
    Align = alClient
    Direction = bdHorzIn
    StartColor = 12420207
    EndColor = 4471861
    Tag = -1
    object oxLabel1: ToxLabel
      Left = 0
      Top = 0
      Width = 577
      Height = 29
      Align = alTop
      AutoSize = False
      Caption = 'Kavel Stavrel 4.0'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWhite
      Font.Height = -24
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      LayoutHorizontal = taCenter
      ParentFont = False
      Transparent = True
    end
    object ProductLabel: ToxLabel
      Left = 0
      Top = 29
      Width = 577
      Height = 19
      Align = alTop
      AutoSize = False
      Caption = ''
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWhite
      Font.Height = -16
      Font.Name = 'Arial'
      Font.Style = [fsBold]
      LayoutHorizontal = taCenter
      ParentFont = False
      Transparent = True
    end
    object Label1: TLabel
      Left = 3
      Top = 52
      Caption = '4.0.0.783'
      Font.Color = clWhite
      Transparent = True
    end
  end
end
