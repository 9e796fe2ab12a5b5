// The page's list of the server's console scripts: a report-view list with one column,
// sorted by name, whose captions the user renames in place; an item's image marks an
// encoded script.
#pragma once

#include <string>
#include <vector>

#include "gui/Controls.h"
#include "gui/ImageLists.h"

namespace toolpage {

constexpr int kNoImage = -1;
constexpr int kLockImage = 6;

class TScriptListView;
using TScriptEditedEvent = fw::TMethodPtr<void(TScriptListView* Sender, int Index, std::string& Text)>;
using TScriptKeyEvent = fw::TMethodPtr<void(TScriptListView* Sender, uint16_t& Key)>;

class TScriptListView : public fw::TWinControl {
  FW_CLASS(TScriptListView, fw::TWinControl)
 public:
  explicit TScriptListView(fw::TComponent* AOwner);

  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& Caption(int Index) const { return FItems.at(static_cast<size_t>(Index)).Caption; }
  int ImageIndex(int Index) const { return FItems.at(static_cast<size_t>(Index)).Image; }
  void SetImageIndex(int Index, int Image);
  // Replaces every item (kept sorted by caption, case ignored).
  void SetItems(const std::vector<std::pair<std::string, int>>& Items);
  // Renames an item; it moves to its sorted place and stays selected when it was.
  void SetCaption(int Index, const std::string& Caption);
  void Delete(int Index);
  int IndexOf(const std::string& Caption) const;  // exact caption; -1 when none
  int Selected() const { return FSelected; }
  void Select(int Index);
  // Starts editing an item's caption in place.
  void EditCaption(int Index);
  bool IsEditing() const { return FEditing; }
  // The pictures the items' image indexes name (shared: the list does not free them).
  fw::TImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(fw::TImageList* Value);

  // The selection changed.
  fw::TNotifyEvent OnChange;
  fw::TNotifyEvent OnEditing;
  // Editing ended with Text (changed by the handler to what the item is to show).
  TScriptEditedEvent OnEdited;
  TScriptKeyEvent OnKeyDown;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void WndProc(fw::TMessage& Message) override;
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;

 private:
  struct TItem {
    std::string Caption;
    int Image = kNoImage;
  };
  void Sort();
  void Fill();
  void ChangeSelection(int Index, bool Notify);
  std::vector<TItem> FItems;
  int FSelected = -1;
  bool FEditing = false;
  bool FFilling = false;
  fw::TImageList* FSmallImages = nullptr;
};

}  // namespace toolpage
