object TestResourceForm: TTestResourceForm
  Caption = 'From the resource'
  BorderStyle = bsNone
  ClientWidth = 300
  ClientHeight = 200
  Font.Name = 'Arial'
  OnShow = FormShow
  object Title: TLabel
    Align = alTop
    Caption = 'Kavel'#241
    Font.Height = -24
  end
  object OK: TButton
    Left = 10
    Top = 150
    Caption = 'OK'
    ModalResult = 1
    OnClick = OKClick
  end
end
