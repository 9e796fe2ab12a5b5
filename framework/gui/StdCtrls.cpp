#include "StdCtrls.h"

#include "Forms.h"
#include "core/ClassDef.h"

namespace fw {

namespace {
const TEnumInfo kAlignmentInfo{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
}

// --- TLabel ----------------------------------------------------------------

const TClass& TLabel::StaticClass() {
  using T = TLabel;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Boolean("AutoSize", &T::AutoSize, &T::SetAutoSize)
                                .Enum("Alignment", kAlignmentInfo, &T::Alignment, &T::SetAlignment)
                                .Boolean("Transparent", &T::Transparent, &T::SetTransparent)
                                .Boolean("WordWrap", &T::WordWrap, &T::SetWordWrap);
  return cls;
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FWidth = 65;
  FHeight = 17;
}

void TLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TLabel::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

void TLabel::SetWordWrap(bool Value) {
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustBounds();
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

UINT TLabel::DrawFormat() const {
  UINT format = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
  if (FAlignment == taCenter) format |= DT_CENTER;
  if (FAlignment == taRightJustify) format |= DT_RIGHT;
  return format;
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || IsLoading()) return;
  HDC screen = GetDC(nullptr);
  RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
  {
    TCanvas canvas(screen);
    canvas.Font().Assign(&FFont);
    std::string text = FText.empty() ? std::string(" ") : FText;
    canvas.DrawText(text, r, DrawFormat() | DT_CALCRECT);
  }
  ReleaseDC(nullptr, screen);
  SetBounds(FLeft, FTop, r.right, r.bottom);
}

void TLabel::Paint(TCanvas& Canvas) {
  RECT r{0, 0, FWidth, FHeight};
  if (!FTransparent) {
    Canvas.SetBrushColor(FColor);
    Canvas.FillRect(r);
  }
  Canvas.Font().Assign(&FFont);
  if (!FEnabled) Canvas.Font().SetColor(clGrayText);
  Canvas.DrawText(FText, r, DrawFormat());
}

// --- TButton ---------------------------------------------------------------

const TClass& TButton::StaticClass() {
  using T = TButton;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Integer("ModalResult", &T::ModalResult, &T::SetModalResult)
                                .Boolean("Default", &T::Default, &T::SetDefault)
                                .Boolean("Cancel", &T::Cancel, &T::SetCancel);
  return cls;
}

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 75;
  FHeight = 25;
}

void TButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "BUTTON";
  Params.SystemClass = true;
  Params.Style |= WS_TABSTOP | (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::Click() {
  TCustomForm* form = GetParentForm(this);
  if (form != nullptr && FModalResult != mrNone) form->SetModalResult(FModalResult);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& Message) {
  if (Message.Msg == 0xBC00 + WM_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::WndProc(Message);
}

// --- TEdit -----------------------------------------------------------------

const TClass& TEdit::StaticClass() {
  using T = TEdit;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .String("Text", &T::Text, &T::SetText)
                                .Event("OnChange", &T::OnChange);
  return cls;
}

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 121;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
}

void TEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WinClassName = "EDIT";
  Params.SystemClass = true;
  Params.Style |= WS_TABSTOP | ES_AUTOHSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::WndProc(TMessage& Message) {
  if (Message.Msg == 0xBC00 + WM_COMMAND && HIWORD(Message.WParam) == EN_CHANGE) {
    Change();
    return;
  }
  TWinControl::WndProc(Message);
}

void TEdit::Change() {
  if (FHandle != nullptr) {
    int length = GetWindowTextLengthA(FHandle);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(FHandle, text.data(), length + 1)));
    FText = text;
  }
  if (OnChange) OnChange(this);
}

}  // namespace fw
