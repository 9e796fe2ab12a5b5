object RebootForm: TRebootForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Reboot windows'
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
  object Label1: TTranslateLabel
    Left = 140
    Top = 16
    Width = 320
    Height = 96
    AutoSize = False
    Caption = 'Several components could not be installed on your system because they were in use. For the installation to proceed, you will need to reboot your computer. If you decide not to reboot now, the software will probably not work until you do reboot.'
    GLID = 52
    Transparent = True
    WordWrap = True
  end
  object RG: TRadioGroup
    Left = 140
    Top = 130
    Width = 322
    Height = 72
    Items.Strings = (
      'Yes, I would like to reboot windows'
      'No, I would not like to reboot windows')
    OnClick = RGClick
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
  end
  object FinishBtn: TTranslateBitBtn
    Left = 300
    Top = 326
    Width = 75
    Height = 25
    Caption = 'Finish'
    GLID = 72
    OnClick = ProceedBtnClick
    Visible = False
  end
end
