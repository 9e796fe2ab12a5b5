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
  object MainTranslator: TTranslator
    lgChineseSimplified.Font.Charset = DEFAULT_CHARSET
    lgChineseSimplified.Font.Color = clWindowText
    lgChineseSimplified.Font.Height = -11
    lgChineseSimplified.Font.Name = 'MS Sans Serif'
    lgChineseSimplified.Font.Style = []
    lgChineseSimplified.FontOverride = False
    lgChineseTraditional.Font.Charset = DEFAULT_CHARSET
    lgChineseTraditional.Font.Color = clWindowText
    lgChineseTraditional.Font.Height = -11
    lgChineseTraditional.Font.Name = 'MS Sans Serif'
    lgChineseTraditional.Font.Style = []
    lgChineseTraditional.FontOverride = False
    lgCzech.Font.Charset = DEFAULT_CHARSET
    lgCzech.Font.Color = clWindowText
    lgCzech.Font.Height = -11
    lgCzech.Font.Name = 'MS Sans Serif'
    lgCzech.Font.Style = []
    lgCzech.FontOverride = False
    lgDanish.Font.Charset = DEFAULT_CHARSET
    lgDanish.Font.Color = clWindowText
    lgDanish.Font.Height = -11
    lgDanish.Font.Name = 'MS Sans Serif'
    lgDanish.Font.Style = []
    lgDanish.FontOverride = False
    lgDutch.Font.Charset = DEFAULT_CHARSET
    lgDutch.Font.Color = clWindowText
    lgDutch.Font.Height = -11
    lgDutch.Font.Name = 'MS Sans Serif'
    lgDutch.Font.Style = []
    lgDutch.FontOverride = False
    lgEnglish.Font.Charset = DEFAULT_CHARSET
    lgEnglish.Font.Color = clWindowText
    lgEnglish.Font.Height = -11
    lgEnglish.Font.Name = 'MS Sans Serif'
    lgEnglish.Font.Style = []
    lgEnglish.FontOverride = False
    lgEnglish.Strings.Strings = (
      '* English texts of the setup program: GLID;Text'
      '* Licence agreement dialog'
      '1;Software license agreement'
      '2;Please read the following License Agreement.'
      '3;By clicking on the Next button below, you agree to all terms stated in the License Agreement. You may cancel the installation by clicking on the Cancel button.'
      '* Buttons of the wizard dialogs'
      '4;< Previous'
      '5;Next >'
      '6;Cancel'
      '* Readme dialog'
      '7;Readme information'
      '8;Please read the information below before you install this software on your computer.'
      '* Welcome dialog'
      '9;Welcome'
      '10;This program will install the software on your computer.'
      '11;It is strongly recommended that you exit all Windows programs before running this setup. If you need to close any programs, click Cancel to quit the setup and then close the programs.'
      '12;Click Next to continue with the installation.'
      '* Copy files dialog'
      '13;Copying installation files'
      '14;Processing'
      '15;File progress'
      '16;Total progress'
      '* Select destination dialog'
      '26;&Browse'
      '* Good install dialog'
      '37;Setup complete'
      '38;The software has been properly installed. You may start the software by clicking on the icon.'
      '* Select folder dialog'
      '40;Select folder in start menu'
      '41;Setup will add program icons to the Program Folder listed below. You may type a new folder name, or select from the E&xisting Folders list.'
      '42;&Program Folder'
      '43;E&xisting Folders'
      '* Change disk dialog'
      '45;Please insert disk number %d'
      '* Reboot dialog'
      '51;Reboot windows'
      '52;Several components could not be installed on your system because they were in use. For the installation to proceed, you will need to reboot your computer. If you decide not to reboot now, the software will probably not work until you do reboot.'
      '53;Yes, I would like to reboot windows'
      '54;No, I would not like to reboot windows'
      '* Message of a failed reboot'
      '56;Could not reboot windows. Please manually reboot windows.'
      '* Bad install dialog'
      '60;This software has not been properly installed and will not work correctly if you try to use it.'
      '61;Setup incomplete'
      '* Finish buttons'
      '72;Finish'
      '* Status messages of the installation'
      '75;Reading file information...'
      '76;Logging onto remote server'
      '78;Installing Borland Database Engine aliases...'
      '79;Installing shell links...'
      '80;Installing INI files...'
      '81;Installing registry keys...'
      '82;Installing ODBC core services...'
      '83;Installing ODBC drivers...'
      '84;Installing ODBC sources...'
      '* Select destination dialog'
      '85;Which directory do you want to install this program into?'
      '86;To install to the directory displayed below, click Next.'
      '87;To install to a different directory, click Browse and select another directory.'
      '* Further dialogs of the installer library that this setup does not show'
      '39;&Finish'
      '49;Proceed'
      '55;&Close'
      '57;This will install the Borland Database Engine.'
      '71;Default'
      '* Novell client check dialog'
      '101;Program can''t find Novell Client32. In order to use Stavrel you have to install latest version of Client software (v2.5 or newer).'
      '103;Novell Client32 not found!'
      '* Cancel button of the licence, readme and Novell client check dialogs'
      '104;Cancel')
    lgFrench.Font.Charset = DEFAULT_CHARSET
    lgFrench.Font.Color = clWindowText
    lgFrench.Font.Height = -11
    lgFrench.Font.Name = 'MS Sans Serif'
    lgFrench.Font.Style = []
    lgFrench.FontOverride = False
    lgGerman.Font.Charset = DEFAULT_CHARSET
    lgGerman.Font.Color = clWindowText
    lgGerman.Font.Height = -11
    lgGerman.Font.Name = 'MS Sans Serif'
    lgGerman.Font.Style = []
    lgGerman.FontOverride = False
    lgGreek.Font.Charset = DEFAULT_CHARSET
    lgGreek.Font.Color = clWindowText
    lgGreek.Font.Height = -11
    lgGreek.Font.Name = 'MS Sans Serif'
    lgGreek.Font.Style = []
    lgGreek.FontOverride = False
    lgHebrew.Font.Charset = DEFAULT_CHARSET
    lgHebrew.Font.Color = clWindowText
    lgHebrew.Font.Height = -11
    lgHebrew.Font.Name = 'MS Sans Serif'
    lgHebrew.Font.Style = []
    lgHebrew.FontOverride = False
    lgItalian.Font.Charset = DEFAULT_CHARSET
    lgItalian.Font.Color = clWindowText
    lgItalian.Font.Height = -11
    lgItalian.Font.Name = 'MS Sans Serif'
    lgItalian.Font.Style = []
    lgItalian.FontOverride = False
    lgJapanese.Font.Charset = DEFAULT_CHARSET
    lgJapanese.Font.Color = clWindowText
    lgJapanese.Font.Height = -11
    lgJapanese.Font.Name = 'MS Sans Serif'
    lgJapanese.Font.Style = []
    lgJapanese.FontOverride = False
    lgKorean.Font.Charset = DEFAULT_CHARSET
    lgKorean.Font.Color = clWindowText
    lgKorean.Font.Height = -11
    lgKorean.Font.Name = 'MS Sans Serif'
    lgKorean.Font.Style = []
    lgKorean.FontOverride = False
    lgNorwegianBokmal.Font.Charset = DEFAULT_CHARSET
    lgNorwegianBokmal.Font.Color = clWindowText
    lgNorwegianBokmal.Font.Height = -11
    lgNorwegianBokmal.Font.Name = 'MS Sans Serif'
    lgNorwegianBokmal.Font.Style = []
    lgNorwegianBokmal.FontOverride = False
    lgNorwegianNynorsk.Font.Charset = DEFAULT_CHARSET
    lgNorwegianNynorsk.Font.Color = clWindowText
    lgNorwegianNynorsk.Font.Height = -11
    lgNorwegianNynorsk.Font.Name = 'MS Sans Serif'
    lgNorwegianNynorsk.Font.Style = []
    lgNorwegianNynorsk.FontOverride = False
    lgPolish.Font.Charset = DEFAULT_CHARSET
    lgPolish.Font.Color = clWindowText
    lgPolish.Font.Height = -11
    lgPolish.Font.Name = 'MS Sans Serif'
    lgPolish.Font.Style = []
    lgPolish.FontOverride = False
    lgPortugese.Font.Charset = DEFAULT_CHARSET
    lgPortugese.Font.Color = clWindowText
    lgPortugese.Font.Height = -11
    lgPortugese.Font.Name = 'MS Sans Serif'
    lgPortugese.Font.Style = []
    lgPortugese.FontOverride = False
    lgRussian.Font.Charset = DEFAULT_CHARSET
    lgRussian.Font.Color = clWindowText
    lgRussian.Font.Height = -11
    lgRussian.Font.Name = 'MS Sans Serif'
    lgRussian.Font.Style = []
    lgRussian.FontOverride = False
    lgSpanish.Font.Charset = DEFAULT_CHARSET
    lgSpanish.Font.Color = clWindowText
    lgSpanish.Font.Height = -11
    lgSpanish.Font.Name = 'MS Sans Serif'
    lgSpanish.Font.Style = []
    lgSpanish.FontOverride = False
    lgSwedish.Font.Charset = DEFAULT_CHARSET
    lgSwedish.Font.Color = clWindowText
    lgSwedish.Font.Height = -11
    lgSwedish.Font.Name = 'MS Sans Serif'
    lgSwedish.Font.Style = []
    lgSwedish.FontOverride = False
    lgVietnamese.Font.Charset = DEFAULT_CHARSET
    lgVietnamese.Font.Color = clWindowText
    lgVietnamese.Font.Height = -11
    lgVietnamese.Font.Name = 'MS Sans Serif'
    lgVietnamese.Font.Style = []
    lgVietnamese.FontOverride = False
    TranslateIntoLanguage = qlEnglish
  end
  object DialogManager: TDialogManager
    Container = MainInstall
    ManagerType = dmBeforeInstall
    RelativeLeftOffset = 0
    RelativeTopOffset = 0
  end
  object DialogManager1: TDialogManager
    Container = MainInstall
    ManagerType = dmAfterGoodInstall
    RelativeLeftOffset = 0
    RelativeTopOffset = 0
  end
  object DialogManager2: TDialogManager
    Container = MainInstall
    ManagerType = dmAfterBadInstall
    RelativeLeftOffset = 0
    RelativeTopOffset = 0
  end
  object DialogManager3: TDialogManager
    Container = MainInstall
    ManagerType = dmDuringCopyFiles
    RelativeLeftOffset = 0
    RelativeTopOffset = 0
  end
  object DialogManager4: TDialogManager
    Container = MainInstall
    ManagerType = dmChangeDisk
    RelativeLeftOffset = 0
    RelativeTopOffset = 0
  end
  object DialogManager5: TDialogManager
    Container = MainInstall
    ManagerType = dmReboot
    RelativeLeftOffset = 0
    RelativeTopOffset = 0
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
