object ProbeCopyForm: TProbeCopyForm
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Probe progress'
  ClientHeight = 80
  ClientWidth = 240
end
