// The backdrop: a panel that paints itself with a two-colour gradient of 256 bands and
// holds the splash's labels. The last backdrop whose Tag was set to -1 is the current
// one (CurrentBackdrop).
#pragma once

#include "gui/Controls.h"
#include "gui/GdiCanvas.h"

namespace setup {

enum class TDirection : uint8_t { bdUp, bdDown, bdLeft, bdRight, bdHorzIn, bdHorzOut, bdVertIn, bdVertOut };
using enum TDirection;
extern const fw::TEnumInfo kDirectionInfo;

class TBackdrop : public fw::TWinControl {
  FW_CLASS(TBackdrop, fw::TWinControl)
 public:
  explicit TBackdrop(fw::TComponent* AOwner);
  ~TBackdrop() override;

  TDirection Direction() const { return FDirection; }
  void SetDirection(TDirection Value);
  fw::TColor StartColor() const { return FStartColor; }
  void SetStartColor(fw::TColor Value);
  fw::TColor EndColor() const { return FEndColor; }
  void SetEndColor(fw::TColor Value);
  // -1 makes this the current backdrop (the previous one gets 0); another value ends that.
  int Tag() const { return fw::TComponent::Tag(); }
  void SetTag(int Value);

  void Assign(const fw::TPersistent* Source) override;

  // Draws the gradient and the labels on it into DC, whose origin is the client's corner.
  void PaintTo(HDC DC);
  // Fills Width x Height of the canvas with bands from First to Second.
  static void DrawGradient(fw::TGdiCanvas& Canvas, int Width, int Height, fw::TColor First, fw::TColor Second,
                           bool Across, bool Symmetric);

 protected:
  void WndProc(fw::TMessage& Message) override;

 private:
  void Changed();
  TDirection FDirection = bdUp;
  fw::TColor FStartColor = fw::clBlue;
  fw::TColor FEndColor = fw::clBlack;
  fw::TMemoryBitmap FBuffer;  // the picture is drawn here, then copied in one go
};

// The current backdrop, or nil.
TBackdrop* CurrentBackdrop();

}  // namespace setup
