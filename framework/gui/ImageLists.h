// Image lists: pictures of one size in one strip, drawn by index with a settable
// background colour (clNone: transparent where the mask says so).
#pragma once

#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <string>

#include "Graphics.h"
#include "core/Classes.h"

namespace fw {

class TImageList : public TComponent {
  FW_CLASS(TImageList, TComponent)
 public:
  explicit TImageList(TComponent* AOwner);
  ~TImageList() override;

  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int Count() const;
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  HIMAGELIST Handle();

  // Adds the pictures of a bitmap strip (each Width wide); pixels of MaskColor are
  // transparent. Bitmap must not be selected into a device context. Returns the index of
  // the first.
  int AddMasked(HBITMAP Bitmap, TColor MaskColor);
  // The bitmap resource Name of the module, cut into pictures of Width.
  int AddResource(const std::string& Name, TColor MaskColor);
  void Clear();
  void Draw(HDC DC, int X, int Y, int Index);

 private:
  void Recreate();
  HIMAGELIST FHandle = nullptr;
  int FWidth = 16;
  int FHeight = 16;
  TColor FBkColor = clNone;
};

}  // namespace fw
