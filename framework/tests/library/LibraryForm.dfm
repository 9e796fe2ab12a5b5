object LibraryForm: TLibraryForm
  Caption = 'Form of a static library'
  ClientWidth = 240
  ClientHeight = 120
  object Greeting: TLabel
    Left = 8
    Top = 8
    Caption = 'Read from the program that links the library'
  end
end
