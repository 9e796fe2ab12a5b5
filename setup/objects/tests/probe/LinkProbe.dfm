object Probe: TForm
  object Windows: TpsWindow
  end
  object ToolKey: TInstallRegistry
    Key = 'Software\Stavrel Link Probe'
    RootKey = hkCurrentUser
    Entries = <
      item
        Ident = 'Path'
        PathSpecifier = Windows
        Text = '%p'
      end>
  end
  object Launcher: TProgramLauncher
    FileName = 'notepad.exe'
  end
end
