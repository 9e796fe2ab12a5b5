object ProbeForm: TProbeForm
  Caption = 'Form of a DLL'
  BorderStyle = bsNone
  ClientWidth = 200
  ClientHeight = 100
  object Close: TButton
    Left = 8
    Top = 8
    Caption = 'Close'
  end
end
