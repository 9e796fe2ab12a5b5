// The setup program's splash built in code as its main form's resource describes it:
// a form filled with a backdrop, two title labels and a version label.
#pragma once

#include "gui/Forms.h"
#include "wizard/Backdrop.h"
#include "wizard/OxLabel.h"

namespace setup::testing {

struct TSplash {
  fw::TOwnedPtr<fw::TForm> Form;
  TBackdrop* Backdrop = nullptr;
  ToxLabel* Title = nullptr;
  ToxLabel* Product = nullptr;
  fw::TLabel* Version = nullptr;

  TSplash(int Width, int Height) : Form(new fw::TForm(nullptr)) {
    Form->SetBorderStyle(fw::bsNone);
    Form->SetBounds(0, 0, Width, Height);
    Backdrop = new TBackdrop(Form.get());
    Backdrop->SetParent(Form.get());
    Backdrop->SetDirection(bdHorzIn);
    Backdrop->SetStartColor(12420207);
    Backdrop->SetEndColor(4471861);
    Title = MakeTitle("Kavel Stavrel 4.0", -24, 29);
    Product = MakeTitle("Server Console Edition", -16, 19);
    Version = new fw::TLabel(Form.get());
    Version->SetParent(Backdrop);
    Version->SetCaption("4.0.0.783");
    Version->Font().SetColor(fw::clWhite);
    Version->SetTransparent(true);
    Version->SetBounds(3, 52, Version->Width(), Version->Height());
  }

  ToxLabel* MakeTitle(const char* Text, int FontHeight, int Height) {
    auto* label = new ToxLabel(Form.get());
    label->SetParent(Backdrop);
    label->SetAutoSize(false);
    label->SetHeight(Height);
    label->SetAlign(fw::alTop);
    label->Font().SetName("Arial");
    label->Font().SetHeight(FontHeight);
    label->Font().SetStyle({fw::fsBold});
    label->Font().SetColor(fw::clWhite);
    label->SetTransparent(true);
    label->SetLayoutHorizontal(fw::taCenter);
    label->SetCaption(Text);
    return label;
  }
};

}  // namespace setup::testing
