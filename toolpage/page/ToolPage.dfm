object ToolPage: TToolPage
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientWidth = 511
  ClientHeight = 400
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object AAbout: TPageAction
    Caption = 'About'
    Hint = 'About the console scripting tool'
    OnExecute = tbAboutClick
  end
  object ALoad: TPageAction
    Caption = 'ALoad'
    OnExecute = ALoadExecute
  end
  object AUnload: TPageAction
    Caption = 'AUnload'
    OnExecute = AUnloadExecute
  end
  object Pages: TPageSheets
    Left = 0
    Top = 0
    Width = 511
    Height = 400
    Align = alClient
    ActivePage = InstallSheet
    object InstallSheet: TPageSheet
      object Label1: TLabel
        Left = 24
        Top = 24
        Width = 460
        Height = 34
        AutoSize = False
        WordWrap = True
        Caption = 'The NLM has not been installed on this server.'#13#10'Push button below to install it.'
        Font.Style = [fsBold]
        ParentFont = False
      end
      object CB_AddToAutoexec: TPageCheckBox
        Left = 24
        Top = 80
        Width = 300
        Height = 17
        Caption = 'Add module to server startup (autoexec.ncf)'
        Checked = True
      end
      object CB_Load: TPageCheckBox
        Left = 24
        Top = 104
        Width = 300
        Height = 17
        Caption = 'Load TUVEK.NLM'
        Checked = True
      end
      object InstallBtn: TButton
        Left = 24
        Top = 136
        Width = 75
        Height = 25
        Caption = 'Install'
        OnClick = InstallClick
      end
    end
    object CtrlSheet: TPageSheet
      object ToolBar1: TExToolBar
        Left = 0
        Top = 0
        Width = 511
        Height = 29
        Align = alTop
        Shading = shDown
        object tbLoad: TPageToolButton
          Left = 4
          Top = 3
          Width = 60
          Height = 23
          Action = ALoad
          Caption = 'Load'
          Hint = 'Load the NLM'
        end
        object tbUnload: TPageToolButton
          Left = 66
          Top = 3
          Width = 60
          Height = 23
          Action = AUnload
          Caption = 'Unload'
          Hint = 'Unload the NLM'
        end
        object tbAbout: TPageToolButton
          Left = 140
          Top = 3
          Width = 60
          Height = 23
          Action = AAbout
        end
      end
      object DownPanel: TPagePanel
        Left = 0
        Top = 370
        Width = 511
        Height = 30
        Align = alBottom
        Caption = 'The NLM is not currently loaded...'
        Font.Color = clBlue
        Font.Style = [fsBold]
        ParentFont = False
      end
    end
    object ToOldSheet: TPageSheet
      object Label3: TLabel
        Left = 24
        Top = 24
        Width = 460
        Height = 34
        AutoSize = False
        WordWrap = True
        Caption = 'This tool can be run only on NetWare 3.2 or later servers.'
        Font.Style = [fsBold]
        ParentFont = False
      end
    end
  end
end
