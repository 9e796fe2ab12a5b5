object ProbeChangeDiskForm: TProbeChangeDiskForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Probe disk'
  ClientHeight = 80
  ClientWidth = 240
  object OkBtn: TButton
    Left = 40
    Top = 40
    Width = 75
    Height = 25
    Caption = 'OK'
    ModalResult = 1
  end
  object AbortBtn: TButton
    Left = 124
    Top = 40
    Width = 75
    Height = 25
    Caption = 'Abort'
    ModalResult = 3
  end
end
