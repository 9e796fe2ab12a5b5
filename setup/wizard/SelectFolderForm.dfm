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
  object TopDescriptionLabel: TTranslateLabel
    Left = 140
    Top = 8
    Width = 320
    Height = 48
    AutoSize = False
    Caption = 'Setup will add program icons to the Program Folder listed below. You may type a new folder name, or select from the E&xisting Folders list.'
    GLID = 41
    Transparent = True
    WordWrap = True
  end
  object ProgramFolders: TTranslateLabel
    Left = 140
    Top = 62
    Width = 320
    Height = 16
    AutoSize = False
    Caption = '&Program Folder'
    GLID = 42
    Transparent = True
    WordWrap = True
  end
  object FolderEdit: TEdit
    Left = 140
    Top = 80
    Width = 322
    Height = 21
    OnChange = FolderEditChange
  end
  object ExistingFolders: TTranslateLabel
    Left = 140
    Top = 110
    Width = 320
    Height = 16
    AutoSize = False
    Caption = 'E&xisting Folders'
    GLID = 43
    Transparent = True
    WordWrap = True
  end
  object FolderListBox: TListBox
    Left = 140
    Top = 128
    Width = 322
    Height = 176
    Sorted = True
    OnClick = FolderListBoxClick
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
