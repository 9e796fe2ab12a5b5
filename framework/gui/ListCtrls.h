// List controls: list boxes and radio groups. Their items are string lists that the
// controls keep themselves and mirror into their windows.
#pragma once

#include <vector>

#include "StdCtrls.h"
#include "core/Strings.h"

namespace fw {

class TCustomListBox;

// The items of a list box. In a sorted list box added lines go to their place;
// replacing or inserting a line keeps it where it is put.
class TListBoxStrings : public TStringList {
  FW_CLASS(TListBoxStrings, TStringList)
 public:
  explicit TListBoxStrings(TCustomListBox* ListBox) : FListBox(ListBox) {}
  int AddObject(const std::string& S, TObject* AObject) override;

 protected:
  void Changed() override;

 private:
  TCustomListBox* FListBox;
};

class TCustomListBox : public TWinControl {
  FW_CLASS(TCustomListBox, TWinControl)
 public:
  explicit TCustomListBox(TComponent* AOwner);

  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  void SetItems(const TStrings* Value) { FItems.Assign(Value); }
  // The selected line, -1 for none; an index outside the items selects nothing.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  // The items changed: the window shows them again, the selection stays in range.
  virtual void ItemsChanged();

 private:
  friend class TListBoxStrings;
  void FillWindow();

  TListBoxStrings FItems{this};
  int FItemIndex = -1;
  bool FSorted = false;
};

class TListBox : public TCustomListBox {
  FW_CLASS(TListBox, TCustomListBox)
 public:
  using TCustomListBox::TCustomListBox;
};

class TGroupButton;

// A group box with one radio button per item; ItemIndex is the checked one.
class TRadioGroup : public TWinControl {
  FW_CLASS(TRadioGroup, TWinControl)
 public:
  explicit TRadioGroup(TComponent* AOwner);
  ~TRadioGroup() override;

  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  void SetItems(const TStrings* Value) { FItems.Assign(Value); }
  // The checked item, -1 for none; an index outside the items checks none.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AlignControls(RECT& Rect) override;
  void BoundsChanged() override;
  void WndProc(TMessage& Message) override;

 private:
  friend class TGroupButton;
  void ItemsChanged(TObject* Sender);
  void ButtonClicked(TGroupButton* Button);
  void ArrangeButtons();

  TStringList FItems;
  std::vector<TGroupButton*> FButtons;  // ours; parented here, owned by no component
  int FItemIndex = -1;
};

}  // namespace fw
