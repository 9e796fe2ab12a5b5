// Standard controls: labels, push buttons and single-line edits.
#pragma once

#include "Controls.h"

namespace fw {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

class TLabel : public TGraphicControl {
  FW_CLASS(TLabel, TGraphicControl)
 public:
  explicit TLabel(TComponent* AOwner);

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  void Paint(TCanvas& Canvas) override;
  void Loaded() override;

 protected:
  void TextChanged() override { AdjustBounds(); }
  void FontChanged() override;
  // With AutoSize, fits the control to its text.
  void AdjustBounds();
  UINT DrawFormat() const;

 private:
  bool FAutoSize = true;
  TAlignment FAlignment = taLeftJustify;
  bool FTransparent = false;
  bool FWordWrap = false;
};

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };

class TButton : public TWinControl {
  FW_CLASS(TButton, TWinControl)
 public:
  explicit TButton(TComponent* AOwner);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  // OnClick, then the button's modal result goes to its form.
  void Click() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  int FModalResult = mrNone;
  bool FDefault = false;
  bool FCancel = false;
};

// A single-line edit box.
class TEdit : public TWinControl {
  FW_CLASS(TEdit, TWinControl)
 public:
  explicit TEdit(TComponent* AOwner);
  // What the box holds now (typed text included).
  const std::string& Text() const { return FText; }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  // The user changed the text: takes it over, then OnChange.
  virtual void Change();
};

}  // namespace fw
