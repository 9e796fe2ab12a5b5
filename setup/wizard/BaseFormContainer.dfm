object BaseFormContainer: TBaseFormContainer
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  BorderIcons = []
  Caption = 'BaseFormContainer'
  ClientHeight = 362
  ClientWidth = 472
  Color = clWindow
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Arial'
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnShow = FormShow
  object Tabs: TTabControl
    Left = 0
    Top = 0
    Width = 472
    Height = 0
    Align = alTop
    Visible = False
    OnChange = TabsChange
    OnChanging = TabsChanging
  end
  object DisplayPanel: TPanel
    Left = 0
    Top = 0
    Width = 472
    Height = 362
    Align = alClient
    BevelOuter = bvNone
  end
end
