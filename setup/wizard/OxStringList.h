// The lines of a title label's caption: measured and drawn on a canvas horizontally, in
// a column layout, turned by an angle or along a circle, every piece with a 3D effect.
// TCaptionStrings shows a control's one-line caption as lines ("||" is the stored break).
#pragma once

#include <string>
#include <vector>

#include "TextDrawing.h"
#include "core/Strings.h"
#include "gui/Controls.h"
#include "gui/StdCtrls.h"

namespace setup {

class ToxStringList : public fw::TStringList {
  FW_CLASS(ToxStringList, fw::TStringList)
 public:
  ToxStringList() = default;

  fw::TAlignment Alignment = fw::taLeftJustify;
  bool Vertical = false;
  int Angle = 0;  // degrees, 0 .. 360
  bool FullCircle = true;
  T3DEffect Effect = ox3Normal;
  int Radius = 0;  // 0: no circle; negative: the text reads along the lower half
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);

  // The size of the text as Draw would draw it with the canvas's current font.
  SIZE CalcExtent(fw::TGdiCanvas& Canvas);
  // Removes the accelerator marks into the lines as drawn (once per change).
  void Prepare();
  int MaxLineWidth(fw::TGdiCanvas& Canvas);
  int MaxLineLength();
  int MaxLineHeight(fw::TGdiCanvas& Canvas);
  // The bounding box of the drawn text starts at (X, Y).
  void Draw(fw::TGdiCanvas& Canvas, int X, int Y);
  void DrawRotated(fw::TGdiCanvas& Canvas, int X, int Y);
  void DrawPlain(fw::TGdiCanvas& Canvas, int X, int Y);
  // Characters along rings around (X + |Radius|, Y + |Radius|); Bounds receives the
  // rectangle that holds every character cell, drawn or not (DoDraw).
  void DrawOnCircle(fw::TGdiCanvas& Canvas, int X, RECT& Bounds, bool DoDraw, int Y);

  const std::vector<std::string>& WorkLines() const { return FWork; }
  int AccelColumn() const { return FAccelColumn; }
  int AccelLine() const { return FAccelLine; }

 protected:
  void Changed() override;

 private:
  std::vector<std::string> FWork;
  int FAccelColumn = -1, FAccelLine = -1;
  bool FShowAccelChar = true;
  bool FDirty = true;
};

// The caption of Control as lines. Like the caption it stands for, it holds at most 255
// characters: longer texts are cut when a line is put.
class TCaptionStrings : public fw::TStrings {
  FW_CLASS(TCaptionStrings, fw::TStrings)
 public:
  static constexpr size_t kMaxText = 255;
  explicit TCaptionStrings(fw::TControl* Control) : FControl(Control) {}

  int Count() const override;
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void Insert(int Index, const std::string& S) override;
  void Delete(int Index) override;
  void Clear() override;

 private:
  std::vector<std::string> Read() const;
  void Write(const std::vector<std::string>& Lines);
  fw::TControl* FControl;
};

}  // namespace setup
