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
    ImageIndex = 8
    OnExecute = tbAboutClick
  end
  object ALoad: TPageAction
    Caption = 'ALoad'
    ImageIndex = 0
    OnExecute = ALoadExecute
  end
  object AUnload: TPageAction
    Caption = 'AUnload'
    ImageIndex = 1
    OnExecute = AUnloadExecute
  end
  object ANew: TPageAction
    Caption = 'New'
    Hint = 'Create new keyboard script'
    ImageIndex = 2
    OnExecute = ANewExecute
  end
  object ARemove: TPageAction
    Caption = 'Remove'
    Hint = 'Remove keyboard script'
    Enabled = False
    ImageIndex = 4
    OnExecute = ARemoveExecute
  end
  object aPlay: TPageAction
    Caption = 'Play'
    Hint = 'Play script'
    Enabled = False
    ImageIndex = 5
    OnExecute = aPlayExecute
  end
  object ASave: TPageAction
    Caption = 'Save'
    Hint = 'Save'
    ImageIndex = 3
    OnExecute = ASaveExecute
  end
  object ADel: TPageAction
    Caption = 'Delete'
    Hint = 'Delete line'
    ImageIndex = 9
    OnExecute = AdelExecute
  end
  object AAddTxt: TPageAction
    Caption = '&Text'
    Hint = 'Add plain text'
    OnExecute = AAddTextExecute
  end
  object AAddKey: TPageAction
    Caption = '&Function Key'
    Hint = 'Add function key'
    OnExecute = AAddKeyExecute
  end
  object AAddDelay: TPageAction
    Caption = '&Delay'
    Hint = 'Add delay in seconds'
    OnExecute = ADelayExecute
  end
  object AAddScreen: TPageAction
    Caption = '&Screen'
    Hint = 'Add screen name'
    OnExecute = ACreateScrExecute
  end
  object Images: TImageList
    Width = 16
    Height = 16
  end
  object LineImages: TImageList
    Width = 17
    Height = 18
  end
  object SListPopUp: TPopupMenu
    object SNewItem: TPageMenuItem
      Action = ANew
    end
    object SRemoveItem: TPageMenuItem
      Action = ARemove
    end
    object SPlayItem: TPageMenuItem
      Action = aPlay
    end
  end
  object IListPopup: TPopupMenu
    object IAddTxt: TPageMenuItem
      Action = AAddTxt
      Tag = -1
    end
    object IAddKey: TPageMenuItem
      Action = AAddKey
      Tag = -1
    end
    object IAddDelay: TPageMenuItem
      Action = AAddDelay
      Tag = -1
    end
    object IAddScreen: TPageMenuItem
      Action = AAddScreen
      Tag = -1
    end
    object ILine: TPageMenuItem
      Caption = '-'
    end
    object IDelItem: TPageMenuItem
      Action = ADel
    end
  end
  object IListInsPopUp: TPopupMenu
    object InsAddTxt: TPageMenuItem
      Action = AAddTxt
      Tag = -1
    end
    object InsAddKey: TPageMenuItem
      Action = AAddKey
      Tag = -1
    end
    object InsAddDelay: TPageMenuItem
      Action = AAddDelay
      Tag = -1
    end
    object InsAddScreen: TPageMenuItem
      Action = AAddScreen
      Tag = -1
    end
  end
  object Panel1: TPagePanel
    Left = 0
    Top = 0
    Width = 511
    Height = 41
    Align = alTop
    Visible = False
    object HeaderBack: TShape
      Left = 0
      Top = 0
      Width = 511
      Height = 41
      Align = alClient
      Color = clHighlight
    end
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
        Images = Images
        Shading = shDown
        object tbLoad: TPageToolButton
          Left = 4
          Top = 3
          Width = 23
          Height = 22
          Action = ALoad
          Caption = 'Load'
          Hint = 'Load the NLM'
        end
        object tbUnload: TPageToolButton
          Left = 27
          Top = 3
          Width = 23
          Height = 22
          Action = AUnload
          Caption = 'Unload'
          Hint = 'Unload the NLM'
        end
        object tbAdd: TPageToolButton
          Left = 58
          Top = 3
          Width = 23
          Height = 22
          Action = ANew
        end
        object tbSave: TPageToolButton
          Left = 81
          Top = 3
          Width = 23
          Height = 22
          Action = ASave
        end
        object tbRemove: TPageToolButton
          Left = 104
          Top = 3
          Width = 23
          Height = 22
          Action = ARemove
        end
        object tbPlay: TPageToolButton
          Left = 127
          Top = 3
          Width = 23
          Height = 22
          Action = aPlay
        end
        object tbLock: TPageToolButton
          Left = 158
          Top = 3
          Width = 23
          Height = 22
          Caption = 'Lock'
          Hint = 'Encode script'
          ImageIndex = 6
          Enabled = False
          OnClick = tbLockClick
        end
        object tbUnlock: TPageToolButton
          Left = 181
          Top = 3
          Width = 23
          Height = 22
          Caption = 'Unlock'
          Hint = 'Decode script'
          ImageIndex = 7
          Enabled = False
          OnClick = tbUnlockClick
        end
        object tbAbout: TPageToolButton
          Left = 212
          Top = 3
          Width = 23
          Height = 22
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
      object ScrList: TScriptListView
        Left = 0
        Top = 29
        Width = 120
        Height = 341
        Align = alLeft
        PopupMenu = SListPopUp
        SmallImages = Images
        OnChange = ScrListChange
        OnEditing = ScrListEditing
        OnEdited = ScrListEdited
        OnKeyDown = ScrListKeyDown
      end
      object RxSplitter1: TSplitter
        Left = 120
        Top = 29
        Width = 4
        Height = 341
        Align = alLeft
        MinSize = 40
      end
      object MacroPanel: TPagePanel
        Left = 124
        Top = 29
        Width = 387
        Height = 341
        Align = alClient
        Visible = False
        object ToolBar2: TExToolBar
          Left = 0
          Top = 0
          Width = 387
          Height = 29
          Align = alTop
          Images = Images
          Shading = shDown
          object tbNewLine: TPageToolButton
            Left = 4
            Top = 3
            Width = 23
            Height = 22
            Caption = 'Screen'
            Hint = 'Add Console Screen Name'
            ImageIndex = 10
            DropdownMenu = IListInsPopUp
            OnClick = tbNewLineClick
          end
          object tbDelLine: TPageToolButton
            Left = 27
            Top = 3
            Width = 23
            Height = 22
            Action = ADel
          end
        end
        object IList: TScrList
          Left = 0
          Top = 29
          Width = 387
          Height = 312
          Align = alClient
          ItemHeight = 19
          DragMode = dmAutomatic
          PopupMenu = IListPopup
          Images = LineImages
          OnEditing = IListEditing
          OnEdited = IListEdited
          OnEndDrag = IListEndDrag
          OnKeyDown = IListKeyDown
          OnKeyPress = IListKeyPress
        end
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
