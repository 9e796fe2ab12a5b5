// TKavelComboBox: the completing combo box with an owner-draw option (items of a given
// height), a settable drop-down width, a close-up event, mouse enter and leave events and
// an optional pop-up list that opens over the box when the mouse enters it.
#pragma once

#include <cstdint>

#include "ComboBox.h"
#include "PopUpListBox.h"

namespace toolpage {

// Posted to the box to free its pop-up list once the list's click handler has returned.
constexpr UINT WM_FREEPOPUP = WM_USER + 201;

class TKavelComboBox : public TComboBox98 {
  FW_CLASS(TKavelComboBox, TComboBox98)
 public:
  explicit TKavelComboBox(fw::TComponent* AOwner);
  ~TKavelComboBox() override;

  int HistoryLen() const { return FHistoryLen; }
  void SetHistoryLen(int Value) { FHistoryLen = static_cast<uint8_t>(Value); }
  int DefaultIndex() const { return FDefaultIndex; }
  void SetDefaultIndex(int Value) { FDefaultIndex = Value; }
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);
  int ItemHeight() const override;
  void SetItemHeight(int Value) override;
  // Width of the drop-down list; -1: the system's.
  int DroppedWidth() const { return FDroppedWidth; }
  void SetDroppedWidth(int Value);
  bool AutoPopUp() const { return FAutoPopUp; }
  void SetAutoPopUp(bool Value) { FAutoPopUp = Value; }

  bool MouseOver() const { return FMouseOver; }
  bool Hovering() const { return FHover; }
  // The pop-up list while it exists.
  TPopUpListBox* PopUp() const { return FPopUp; }
  void ShowPopUp();
  void FreePopUp();

  fw::TNotifyEvent OnCloseUp;
  fw::TNotifyEvent OnMouseEnter;
  fw::TNotifyEvent OnMouseLeave;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(fw::TMessage& Message) override;
  void EditWndProc(fw::TMessage& Message) override;
  // With OwnerDraw: the height of an item, the kept ItemHeight to start with.
  virtual void MeasureItem(int Index, int& Height) {}
  virtual void DrawItem(HDC DC, int Index, const RECT& Rect, UINT State);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  void UpdateHoverState();

 private:
  void MouseMessage(HWND Window, UINT Msg);
  void PopUpClick(fw::TObject* Sender);
  void PopUpMouseLeave(fw::TObject* Sender);

  uint8_t FHistoryLen = 0;
  int FDefaultIndex = -1;
  bool FOwnerDraw = false;
  int FMeasureHeight = 0;  // the item height given to every item when measuring
  int FDroppedWidth = -1;
  bool FAutoPopUp = false;
  bool FMouseOver = false;
  bool FHover = false;
  TPopUpListBox* FPopUp = nullptr;  // owned by the box, not by a component
};

}  // namespace toolpage
