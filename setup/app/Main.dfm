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
  object SampleFile1: TInstallFile
    Container = MainInstall
    FileName = 'VX4.exe'
    DestName = 'VX4.exe'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile2: TInstallFile
    Container = MainInstall
    FileName = 'VX4TSK.exe'
    DestName = 'VX4TSK.exe'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile3: TInstallFile
    Container = MainInstall
    FileName = 'VXRCON.EXE'
    DestName = 'VXRCON.EXE'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile4: TInstallFile
    Container = MainInstall
    FileName = 'Tuvek.kvx'
    DestName = 'Tuvek.kvx'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile5: TInstallFile
    Container = MainInstall
    FileName = 'Tuvek.ico'
    DestName = 'Tuvek.ico'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile6: TInstallFile
    Container = MainInstall
    FileName = 'nlm.ico'
    DestName = 'nlm.ico'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile7: TInstallFile
    Container = MainInstall
    FileName = 'VX4.hlp'
    DestName = 'VX4.hlp'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile8: TInstallFile
    Container = MainInstall
    FileName = 'vx4.cnt'
    DestName = 'vx4.cnt'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile9: TInstallFile
    Container = MainInstall
    FileName = 'Tuvek.nlm'
    DestName = 'Tuvek.nlm'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile10: TInstallFile
    Container = MainInstall
    FileName = 'Vx4lib.nlm'
    DestName = 'Vx4lib.nlm'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile11: TInstallFile
    Container = MainInstall
    FileName = 'Vx4cs.nlm'
    DestName = 'Vx4cs.nlm'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile12: TInstallFile
    Container = MainInstall
    FileName = 'Vx4rc.nlm'
    DestName = 'Vx4rc.nlm'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile13: TInstallFile
    Container = MainInstall
    FileName = 'clibaux.nlm'
    DestName = 'clibaux.nlm'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile14: TInstallFile
    Container = MainInstall
    FileName = 'readme.txt'
    DestName = 'readme.txt'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
  end
  object SampleFile15: TInstallFile
    Container = MainInstall
    FileName = 'license.txt'
    DestName = 'license.txt'
    IncludeFromDir = 'C:\Stavrel\Sample'
    ArchiveFileType = psContainerArchiveFile
    DestDirType = psContainerDestDir
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
