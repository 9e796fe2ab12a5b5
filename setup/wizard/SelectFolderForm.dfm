object SelectFolderForm: TSelectFolderForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Select folder in start menu'
  ClientHeight = 362
  ClientWidth = 472
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  OnCreate = FormCreate
  OnResize = FormResize
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
    Height = 298
    BevelOuter = bvNone
    ParentColor = True
    object TopDescriptionLabel: TTranslateLabel
      Align = alTop
      Height = 48
      AutoSize = False
      Caption = 'Setup will add program icons to the Program Folder listed below. You may type a new folder name, or select from the E&xisting Folders list.'
      GLID = 41
      Transparent = True
      WordWrap = True
    end
    object Label1: TTranslateLabel
      Align = alTop
      AutoSize = False
      Height = 18
      Caption = ''
      GLID = 0
      Transparent = True
    end
    object ProgramFolders: TTranslateLabel
      Align = alTop
      Height = 16
      AutoSize = False
      Caption = '&Program Folder'
      GLID = 42
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
    object FolderEdit: TEdit
      Align = alTop
      Height = 21
      OnChange = FolderEditChange
    end
    object Label3: TTranslateLabel
      Align = alTop
      AutoSize = False
      Height = 8
      Caption = ''
      GLID = 0
      Transparent = True
    end
    object ExistingFolders: TTranslateLabel
      Align = alTop
      Height = 16
      AutoSize = False
      Caption = 'E&xisting Folders'
      GLID = 43
      Transparent = True
      WordWrap = True
    end
    object Label4: TTranslateLabel
      Align = alTop
      AutoSize = False
      Height = 8
      Caption = ''
      GLID = 0
      Transparent = True
    end
    object FolderListBox: TListBox
      Align = alClient
      Height = 176
      Sorted = True
      OnClick = FolderListBoxClick
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
