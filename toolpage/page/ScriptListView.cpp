#include "ScriptListView.h"

// (windows.h first)
#include <commctrl.h>

#include <algorithm>

#include "core/ClassDef.h"

namespace toolpage {

using namespace fw;

namespace {
constexpr UINT kReflectedNotify = 0xBC00 + WM_NOTIFY;

bool CaptionLess(const std::string& A, const std::string& B) {
  return lstrcmpiA(A.c_str(), B.c_str()) < 0;
}
}  // namespace

const TClass& TScriptListView::StaticClass() {
  using T = TScriptListView;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Component("SmallImages", &T::SmallImages, &T::SetSmallImages)
                                .Event("OnChange", &T::OnChange)
                                .Event("OnEditing", &T::OnEditing)
                                .Event("OnEdited", &T::OnEdited)
                                .Event("OnKeyDown", &T::OnKeyDown);
  return cls;
}

TScriptListView::TScriptListView(TComponent* AOwner) : TWinControl(AOwner) {
  FWidth = 120;
  FHeight = 200;
  FColor = clWindow;
  FParentColor = false;
}

void TScriptListView::CreateParams(TCreateParams& Params) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  TWinControl::CreateParams(Params);
  Params.WinClassName = WC_LISTVIEWA;
  Params.SystemClass = true;
  Params.Style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SHAREIMAGELISTS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScriptListView::CreateWindowHandle(const TCreateParams& Params) {
  TWinControl::CreateWindowHandle(Params);
  if (FHandle == nullptr) return;
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = std::max(FWidth - 8, 40);
  column.pszText = const_cast<char*>("Scripts");
  SendMessageA(FHandle, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  if (FSmallImages != nullptr) SetSmallImages(FSmallImages);
  Fill();
}

void TScriptListView::SetSmallImages(TImageList* Value) {
  if (FSmallImages != Value) {
    if (FSmallImages != nullptr) FSmallImages->RemoveFreeNotification(this);
    FSmallImages = Value;
    if (Value != nullptr) Value->FreeNotification(this);
  }
  if (FHandle != nullptr)
    SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(Value != nullptr ? Value->Handle() : nullptr));
}

void TScriptListView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSmallImages) SetSmallImages(nullptr);
}

void TScriptListView::Sort() {
  std::string selected = FSelected >= 0 ? FItems[static_cast<size_t>(FSelected)].Caption : std::string();
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const TItem& A, const TItem& B) { return CaptionLess(A.Caption, B.Caption); });
  if (FSelected >= 0) FSelected = IndexOf(selected);
}

void TScriptListView::Fill() {
  if (FHandle == nullptr) return;
  FFilling = true;
  SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
  SendMessageA(FHandle, LVM_DELETEALLITEMS, 0, 0);
  for (size_t i = 0; i < FItems.size(); ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(FItems[i].Caption.c_str());
    item.iImage = FItems[i].Image;
    SendMessageA(FHandle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  if (FSelected >= 0) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(FHandle, LVM_SETITEMSTATE, static_cast<WPARAM>(FSelected), reinterpret_cast<LPARAM>(&state));
  }
  SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FHandle, nullptr, TRUE);
  FFilling = false;
}

void TScriptListView::SetItems(const std::vector<std::pair<std::string, int>>& Items) {
  FItems.clear();
  for (const auto& [caption, image] : Items) FItems.push_back({caption, image});
  FSelected = -1;
  Sort();
  Fill();
}

void TScriptListView::SetImageIndex(int Index, int Image) {
  FItems.at(static_cast<size_t>(Index)).Image = Image;
  if (FHandle == nullptr) return;
  LVITEMA item{};
  item.mask = LVIF_IMAGE;
  item.iItem = Index;
  item.iImage = Image;
  SendMessageA(FHandle, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TScriptListView::SetCaption(int Index, const std::string& Caption) {
  FItems.at(static_cast<size_t>(Index)).Caption = Caption;
  Sort();
  Fill();
}

void TScriptListView::Delete(int Index) {
  FItems.erase(FItems.begin() + Index);
  if (FSelected == Index)
    FSelected = -1;
  else if (FSelected > Index)
    --FSelected;
  Fill();
  if (OnChange) OnChange(this);
}

int TScriptListView::IndexOf(const std::string& Caption) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].Caption == Caption) return static_cast<int>(i);
  return -1;
}

void TScriptListView::Select(int Index) {
  if (Index < -1 || Index >= Count()) return;
  FSelected = Index;
  Fill();
  if (OnChange) OnChange(this);
}

void TScriptListView::EditCaption(int Index) {
  if (Index < 0 || Index >= Count()) return;
  HandleNeeded();
  SetFocus(FHandle);
  SendMessageA(FHandle, LVM_EDITLABELA, static_cast<WPARAM>(Index), 0);
}

void TScriptListView::ChangeSelection(int Index, bool Notify) {
  if (FSelected == Index) return;
  FSelected = Index;
  if (Notify && OnChange) OnChange(this);
}

void TScriptListView::WndProc(TMessage& Message) {
  if (Message.Msg == kReflectedNotify) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (header->code) {
      case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(Message.LParam);
        // Only state changes count, and none while the list is being refilled.
        if (FFilling || (change->uChanged & LVIF_STATE) == 0) break;
        int selected = static_cast<int>(SendMessageA(FHandle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        ChangeSelection(selected, true);
        break;
      }
      case LVN_BEGINLABELEDITA:
      case LVN_BEGINLABELEDITW:
        FEditing = true;
        if (OnEditing) OnEditing(this);
        Message.Result = FALSE;
        return;
      case LVN_ENDLABELEDITA:
      case LVN_ENDLABELEDITW: {
        FEditing = false;
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam);
        int index = info->item.iItem;
        if (index < 0 || index >= Count() || info->item.pszText == nullptr) break;  // cancelled
        std::string text = info->item.pszText;
        if (OnEdited) OnEdited(this, index, text);
        // The caption is set here (sorted again), never by the list itself.
        if (index < Count() && text != Caption(index)) SetCaption(index, text);
        Message.Result = FALSE;
        return;
      }
      case LVN_KEYDOWN: {
        auto* key = reinterpret_cast<NMLVKEYDOWN*>(Message.LParam);
        uint16_t code = key->wVKey;
        if (OnKeyDown) OnKeyDown(this, code);
        break;
      }
      default:
        break;
    }
    Message.Result = 0;
    return;
  }
  TWinControl::WndProc(Message);
}

}  // namespace toolpage
