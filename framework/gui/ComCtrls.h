// Controls of the common-controls and rich-edit libraries: progress bars, tab controls
// and rich text boxes.
#pragma once

#include "StdCtrls.h"
#include "core/Strings.h"

namespace fw {

class TProgressBar : public TWinControl {
  FW_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* AOwner);
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Kept within Min..Max.
  int Position() const { return FPosition; }
  void SetPosition(int Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  void UpdateWindow();
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
};

// A row of tabs; TabIndex is the selected one. Its owner changes the tab in code and
// does what a change means itself (the wizard host keeps it hidden and uses the index
// as its current page).
// Asked before the user moves to another tab; AllowChange false keeps the tab.
using TTabChangingEvent = TMethodPtr<void(TObject* Sender, bool& AllowChange)>;

class TTabControl : public TWinControl {
  FW_CLASS(TTabControl, TWinControl)
 public:
  explicit TTabControl(TComponent* AOwner);
  ~TTabControl() override;
  TStrings& Tabs() { return FTabs; }
  const TStrings& Tabs() const { return FTabs; }
  void SetTabs(const TStrings* Value) { FTabs.Assign(Value); }
  int TabIndex() const { return FTabIndex; }
  // -1 or an index outside the tabs selects none.
  void SetTabIndex(int Value);

  // A tab the user picks: OnChanging first (it may refuse), then OnChange with the
  // new TabIndex. Setting TabIndex in code fires neither.
  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

 private:
  void TabsChanged(TObject* Sender);
  void FillWindow();
  TStringList FTabs;
  int FTabIndex = -1;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;

// A rich text box holding plain text in one font. The text is streamed in after the
// font is set (the control's own default format differs between systems).
class TRichEdit : public TWinControl {
  FW_CLASS(TRichEdit, TWinControl)
 public:
  explicit TRichEdit(TComponent* AOwner);
  ~TRichEdit() override;
  // The lines shown; changing them shows them at once.
  TStrings& Lines() { return FLines; }
  const TStrings& Lines() const { return FLines; }
  void SetLines(const TStrings* Value) { FLines.Assign(Value); }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value) { FScrollBars = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { FWordWrap = Value; }
  // The text as the window holds it (lines joined by CR LF).
  std::string WindowText();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void FontChanged() override;

 private:
  void LinesChanged(TObject* Sender);
  void ApplyFont();
  void StreamIn();
  TModuleHandle FLibrary;  // the rich edit library, held while the window may exist
  TStringList FLines;
  bool FReadOnly = false;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
};

}  // namespace fw
