object HostForm: THostForm
  Left = 0
  Top = 0
  ClientHeight = 120
  ClientWidth = 200
  object MainInstall: THostInstall
    Information.ProductName = 'Engine Host Product'
  end
  object Deferring: TDeferringObject
    Container = MainInstall
    DeleteLater = 'later.tmp'
    FinishedMarker = 'finished.txt'
  end
end
