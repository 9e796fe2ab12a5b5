// Combo boxes: an edit or a selection field over a drop-down list of items.
#pragma once

#include <cstdint>

#include "InputEvents.h"
#include "core/Strings.h"

namespace fw {

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
using enum TComboBoxStyle;
extern const TEnumInfo kComboBoxStyleInfo;

class TComboBox : public TWinControl, public TInputEvents {
  FW_CLASS(TComboBox, TWinControl)
 public:
  explicit TComboBox(TComponent* AOwner);
  ~TComboBox() override;

  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  void SetItems(const TStrings* Value) { FItems.Assign(Value); }
  // The chosen item, -1 for none; an index outside the items chooses none.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  // The text of the edit (what the user typed), or of the chosen item without an edit.
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value) override;
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  // The height of the items (0: the font's).
  virtual int ItemHeight() const { return FItemHeight; }
  virtual void SetItemHeight(int Value);
  bool DroppedDown() const;
  // The window of the edit inside the box (nil with csDropDownList).
  HWND EditHandle() const { return FEditHandle; }

  TNotifyEvent OnChange;
  // Enter and Esc reach the box instead of the dialog manager.
  bool WantsKey(uint16_t Key) const override { return Key == VK_RETURN || Key == VK_ESCAPE; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  // The user changed the text or the choice: OnChange.
  virtual void Change();
  // Messages of the inner edit; Default passes one on to the edit.
  virtual void EditWndProc(TMessage& Message);

 private:
  static LRESULT CALLBACK InnerEditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void ItemsChanged(TObject* Sender);
  void FillWindow();
  void ReadText();
  void HookEdit();

  TStringList FItems;
  int FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
  int FItemHeight = 0;
  HWND FEditHandle = nullptr;
  WNDPROC FEditDefProc = nullptr;
};

}  // namespace fw
