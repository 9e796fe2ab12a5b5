#include "ImageLists.h"

#include "GuiStartup.h"
#include "WinHandles.h"
#include "core/ClassDef.h"

namespace fw {

const TClass& TImageList::StaticClass() {
  using T = TImageList;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Integer("Width", &T::Width, &T::SetWidth)
                                .Integer("Height", &T::Height, &T::SetHeight)
                                .Integer("BkColor", &T::BkColor, &T::SetBkColor, IdentToColor);
  return cls;
}

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList() {
  if (FHandle != nullptr) ImageList_Destroy(FHandle);
}

void TImageList::SetWidth(int Value) {
  if (Value <= 0 || Value == FWidth) return;
  FWidth = Value;
  Recreate();
}

void TImageList::SetHeight(int Value) {
  if (Value <= 0 || Value == FHeight) return;
  FHeight = Value;
  Recreate();
}

void TImageList::Recreate() {
  // A new size starts an empty list.
  if (FHandle != nullptr) ImageList_Destroy(FHandle);
  FHandle = nullptr;
}

HIMAGELIST TImageList::Handle() {
  if (FHandle == nullptr) {
    FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4);
    if (FHandle == nullptr) throw EComponentError("Cannot create an image list");
    ImageList_SetBkColor(FHandle, FBkColor == clNone ? CLR_NONE : ColorToRGB(FBkColor));
  }
  return FHandle;
}

int TImageList::Count() const {
  return FHandle != nullptr ? ImageList_GetImageCount(FHandle) : 0;
}

void TImageList::SetBkColor(TColor Value) {
  FBkColor = Value;
  if (FHandle != nullptr) ImageList_SetBkColor(FHandle, Value == clNone ? CLR_NONE : ColorToRGB(Value));
}

int TImageList::AddMasked(HBITMAP Bitmap, TColor MaskColor) {
  int index = ImageList_AddMasked(Handle(), Bitmap, ColorToRGB(MaskColor));
  if (index < 0) throw EComponentError("Cannot add pictures to an image list");
  return index;
}

int TImageList::AddResource(const std::string& Name, TColor MaskColor) {
  TGdiHandle<HBITMAP> bitmap(
      static_cast<HBITMAP>(LoadImageA(ModuleInstance(), Name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) throw EComponentError(Format("The bitmap resource %s is missing", Name));
  return AddMasked(bitmap.Get(), MaskColor);
}

void TImageList::Clear() {
  if (FHandle != nullptr) ImageList_RemoveAll(FHandle);
}

void TImageList::Draw(HDC DC, int X, int Y, int Index) {
  if (Index < 0 || Index >= Count()) return;
  ImageList_Draw(FHandle, Index, DC, X, Y, ILD_NORMAL);
}

}  // namespace fw
