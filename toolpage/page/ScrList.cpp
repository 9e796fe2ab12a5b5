#include "ScrList.h"

#include <algorithm>
#include <cstdlib>

#include "KavelComboBox.h"
#include "PageWaitCursor.h"
#include "ScrListRules.h"
#include "core/ClassDef.h"
#include "gui/InPlaceEditors.h"

namespace toolpage {

namespace {

constexpr UINT_PTR kAutoScrollTimer = 1;
// Posted to the list to free the editors it replaced, once their own messages are done.
constexpr UINT WM_FREEEDITORS = WM_USER + 202;
const COLORREF kSeparatorColor = RGB(190, 230, 250);
constexpr int kScreenEditorChars = 46;  // the screen editor is as wide as 46 "A"
constexpr int kKeyEditorChars = 12;
constexpr int kDelayEditorWidth = 64;
constexpr int kEditorRightGap = 24;

TScrollRange ScrollRange(HWND Wnd, int Bar) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(Wnd, Bar, &info)) return {};
  return {info.nMin, ScrollLimit(info.nMax, info.nPage, info.nMin), info.nPos};
}

}  // namespace

const fw::TClass& TScrList::StaticClass() {
  using T = TScrList;
  static const fw::TClass cls =
      fw::TClassDef<T>()
          .Creatable()
          .Component("Images", &T::Images, &T::SetImages)
          .Object(
              "Screens", [](const T* t) { return &t->Screens(); }, [](T* t, fw::TStringList* v) { t->SetScreens(v); })
          .Event("OnEditing", &T::OnEditing)
          .Event("OnEdited", &T::OnEdited);
  return cls;
}

TScrList::TScrList(fw::TComponent* AOwner) : fw::TOwnerDrawListBox(AOwner) {
  SetStyle(fw::lbVirtualOwnerDraw);
  FScreens.SetSorted(true);
  FScreens.SetDuplicates(fw::dupIgnore);
}

TScrList::~TScrList() {
  try {
    SetEditing(false);
  } catch (...) {
  }
  StopAutoScroll();
  FreeRetiredEditors();
  SetImages(nullptr);
}

void TScrList::SetImages(fw::TImageList* Value) {
  if (FImages == Value) return;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  Invalidate();
}

void TScrList::Notification(fw::TComponent* AComponent, fw::TOperation Operation) {
  fw::TOwnerDrawListBox::Notification(AComponent, Operation);
  if (Operation != fw::opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (AComponent == FEditor) {
    FEditor = nullptr;
    FEditing = false;
  }
  FRetired.erase(std::remove(FRetired.begin(), FRetired.end(), AComponent), FRetired.end());
}

// --- the script ------------------------------------------------------------

void TScrList::LoadScript(TConnRef ConnRef, const std::string& ScriptName) {
  SetEditing(false);
  SaveScript();
  FScriptName = ScriptName;
  FConnRef = ConnRef;
  BeginWaitCursor();
  try {
    try {
      FItems.LoadFromServer(ConnRef, ScriptName);
    } catch (...) {
      Items().Clear();  // the lines of the script read before are gone
      throw;
    }
    Items().Updating([this] {
      Items().Clear();
      for (int i = 0; i < FItems.Count(); ++i) {
        const TSCItem& item = FItems.Items(i);
        Items().Add(item.Text);
        if (item.Kind == skScreen) FScreens.Add(item.Text);
      }
    });
  } catch (...) {
    EndWaitCursor();
    throw;
  }
  EndWaitCursor();
}

void TScrList::SaveScript() {
  if (!FModified) return;
  FItems.SaveToServer(FConnRef, FScriptName);
  FModified = false;  // only now: a failed write keeps the changes marked
}

void TScrList::CloseScript() {
  SetEditing(false);
  SaveScript();
  DiscardScript();
}

void TScrList::DiscardScript() {
  SetEditing(false);
  Items().Clear();
  FItems.Clear();
  FModified = false;
  FDropMark = -1;
}

void TScrList::InsertItem(int Index, uint8_t Kind, bool Before, bool Edit) {
  int position = Items().Count() == 0 ? 0 : InsertPosition(FItems.Count(), Index, Before);
  if (position < 0) return;
  SetEditing(false);
  const std::string text = LineKindLook(Kind).DefaultText;
  FItems.Insert(position, Kind, text);
  Items().Insert(position, text);
  FModified = true;
  SetItemIndex(position);
  if (Items().Count() == 1 && HandleAllocated()) {
    // A press on the first line selects it and gives the list the focus.
    Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    CancelDrag();
  }
  if (Edit) SetEditing(true);
}

void TScrList::DeleteItem(int Index) {
  if (Index < 0 || Index >= FItems.Count()) return;
  SetEditing(false);
  FModified = true;
  FItems.Delete(Index);
  Items().Delete(Index);
}

void TScrList::SetItemText(int Index, const std::string& Text) {
  if (Index < 0 || Index >= FItems.Count()) return;
  FItems.Items(Index).Text = Text;
  InvalidateLine(Index);
}

void TScrList::InvalidateLine(int Index) {
  if (!HandleAllocated() || Index < 0) return;
  RECT r = ItemRect(Index);
  InvalidateRect(Handle(), &r, TRUE);
}

// --- drawing ---------------------------------------------------------------

int TScrList::GetTextLeft(int Index) const {
  uint8_t kind = Index >= 0 && Index < FItems.Count() ? FItems.Items(Index).Kind : static_cast<uint8_t>(skText);
  return LineKindLook(kind).Indent + (FImages != nullptr ? FImages->Width() : 0) + 2;
}

int TScrList::GetItemTop(int Index) const {
  return (Index - TopIndex()) * ItemHeight() + Top() + 3;
}

void TScrList::DrawItem(fw::TGdiCanvas& Canvas, int Index, const RECT& Rect, UINT State) {
  HDC dc = Canvas.Handle();
  Canvas.FillRect(Rect);
  if (Index < 0 || Index >= FItems.Count()) return;  // the "." line of a drag
  const TSCItem& item = FItems.Items(Index);
  const TLineKindLook& look = LineKindLook(item.Kind);
  bool selected = (State & ODS_SELECTED) != 0;
  if (FImages != nullptr) {
    FImages->SetBkColor(selected ? fw::clHighlight : fw::clNone);
    if (look.Icon >= 0) FImages->Draw(dc, Rect.left + look.Indent, Rect.top, look.Icon);
  }
  if (look.Bold) {
    fw::TColor color = Canvas.TextColor();
    FBoldFont.Assign(&Font());
    FBoldFont.SetStyle(fw::TFontStyles{fw::fsBold});
    Canvas.SetFont(FBoldFont);
    Canvas.SetTextColor(color);
  }
  if (look.Blue && !selected) Canvas.SetTextColor(fw::clBlue);
  const std::string text = LineDisplayText(item);
  int left = Rect.left + look.Indent + (FImages != nullptr ? FImages->Width() : 0) + 2;
  TextOutA(dc, left, Rect.top + 3, text.c_str(), static_cast<int>(text.size()));
  Canvas.SetPen(kSeparatorColor);
  Canvas.MoveTo(Rect.left, Rect.bottom - 1);
  Canvas.LineTo(Rect.right, Rect.bottom - 1);
  if (FImages != nullptr) FImages->SetBkColor(fw::clNone);
  if (Index == FDropMark) InvertDropMark(Index, dc);
}

void TScrList::InvertDropMark(int Index, HDC DC) {
  if (Index < 0 || !HandleAllocated()) return;
  RECT r = ItemRect(Index);
  r.bottom = r.top + 3;
  if (DC != nullptr) {
    InvertRect(DC, &r);
    return;
  }
  HDC own = GetDC(Handle());
  InvertRect(own, &r);
  ReleaseDC(Handle(), own);
}

// --- in-place editing ------------------------------------------------------

void TScrList::SetEditing(bool Value) {
  if (Value == FEditing) return;
  try {
    if (Value)
      OpenEditor();
    else
      CloseEditor(true);
  } catch (...) {
    // A failing editor leaves the list as it is.
  }
}

void TScrList::OpenEditor() {
  if (ItemIndex() < 0 || ItemIndex() >= FItems.Count()) return;
  if (FEditor != nullptr) {
    // Its own messages may still be running: it goes once they are done.
    FEditor->Hide();
    FRetired.push_back(FEditor);
    FEditor = nullptr;
    if (HandleAllocated()) PostMessageA(Handle(), WM_FREEEDITORS, 0, 0);
  }
  if (!Visible() || Parent() == nullptr) return;
  FEditing = true;
  try {
    FEditor = MakeEditor(FItems.Items(ItemIndex()));
  } catch (...) {
    FEditing = false;
    throw;
  }
  FEditedIndex = ItemIndex();
  SetItemIndex(-1);
  SetWindowPos(FEditor->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  FEditor->Show();
  SetFocus(FEditor->Handle());
  if (OnEditing) OnEditing(FEditor);
}

fw::TWinControl* TScrList::MakeEditor(const TSCItem& Item) {
  int index = ItemIndex();
  int textLeft = GetTextLeft(index);
  // The editor lies over the line in the list's parent.
  int left = Left() + textLeft - 2;
  int top = GetItemTop(index) - 4;
  int height = ItemHeight() - 3;
  int charWidth = 8;
  if (HandleAllocated()) {
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    SIZE size{};
    if (GetTextExtentPoint32A(dc, "A", 1, &size)) charWidth = size.cx;
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
  }
  fw::TWinControl* editor = nullptr;
  switch (Item.Kind) {
    case skScreen: {
      auto* box = new TKavelComboBox(this);
      editor = box;
      box->Hide();
      int width = std::min(kScreenEditorChars * charWidth, Width() - (textLeft - 2) - kEditorRightGap);
      box->SetBounds(left, top, width, height);
      box->Items().Assign(&FScreens);
      box->SetText(Item.Text);
      box->OnExit = fw::TNotifyEvent(this, &TScrList::EditorExit);
      box->OnKeyPress = fw::TKeyPressEvent(this, &TScrList::EditorKeyPress);
      break;
    }
    case skDelay: {
      auto* spin = new fw::TSpinEdit(this);
      editor = spin;
      spin->Hide();
      spin->SetBounds(left, top, kDelayEditorWidth, height);
      int seconds = 0;
      if (fw::TryStrToInt(Item.Text, seconds)) spin->SetValue(seconds);
      spin->SetMinValue(kMinDelay);
      spin->SetMaxValue(kMaxDelay);
      spin->OnExit = fw::TNotifyEvent(this, &TScrList::EditorExit);
      spin->OnKeyPress = fw::TKeyPressEvent(this, &TScrList::EditorKeyPress);
      break;
    }
    case skKey: {
      auto* box = new fw::TComboBox(this);
      editor = box;
      box->Hide();
      box->SetStyle(fw::csDropDownList);
      box->SetDropDownCount(15);
      box->SetBounds(left, top, kKeyEditorChars * charWidth, height);
      for (const char* name : KeyNames()) box->Items().Add(name);
      int found = box->Items().IndexOf(Item.Text);
      if (found < 0) found = box->Items().Add(Item.Text);
      box->SetItemIndex(found);
      box->OnExit = fw::TNotifyEvent(this, &TScrList::EditorExit);
      box->OnKeyPress = fw::TKeyPressEvent(this, &TScrList::EditorKeyPress);
      break;
    }
    default: {
      auto* edit = new fw::TInplaceEdit(this);
      editor = edit;
      edit->Hide();
      edit->SetBorder(false);
      edit->SetBounds(Left() + textLeft, GetItemTop(index), Width() - textLeft - kEditorRightGap, ItemHeight() - 4);
      edit->SetText(Item.Text);
      edit->OnExit = fw::TNotifyEvent(this, &TScrList::EditorExit);
      edit->OnKeyPress = fw::TKeyPressEvent(this, &TScrList::EditorKeyPress);
      break;
    }
  }
  try {
    editor->SetParent(Parent());
    editor->HandleNeeded();
  } catch (...) {
    delete editor;
    throw;
  }
  return editor;
}

std::string TScrList::EditorText() const {
  if (auto* box = dynamic_cast<fw::TComboBox*>(FEditor)) return box->Text();
  if (auto* edit = dynamic_cast<fw::TEdit*>(FEditor)) return edit->Text();
  return {};
}

void TScrList::CloseEditor(bool Commit) {
  if (!FEditing) return;
  if (Commit && FEditor != nullptr) {
    if (auto text = CommittedText(FItems.Items(std::clamp(FEditedIndex, 0, std::max(FItems.Count() - 1, 0))).Kind,
                                  EditorText());
        text && FEditedIndex >= 0 && FEditedIndex < FItems.Count()) {
      SetItemText(FEditedIndex, *text);
      FModified = true;
    }
  }
  if (Visible() && OnEdited && FEditor != nullptr) OnEdited(FEditor);
  FEditing = false;
  if (FEditor != nullptr) FEditor->Hide();
  if (Visible() && HandleAllocated()) {
    SetFocus(Handle());
    SetItemIndex(FEditedIndex);
  }
}

void TScrList::EditorKeyPress(fw::TObject* Sender, char& Key) {
  if (Key == 27) {
    if (auto* editor = dynamic_cast<fw::TInputEvents*>(Sender)) editor->OnExit = nullptr;
    try {
      CloseEditor(false);
    } catch (...) {
    }
    Key = 0;
  } else if (Key == 13) {
    EditorExit(Sender);
    Key = 0;
  }
}

void TScrList::EditorExit(fw::TObject* Sender) {
  if (!FEditing || Sender != FEditor) return;  // an editor closed before
  try {
    CloseEditor(true);
  } catch (...) {
  }
}

void TScrList::FreeRetiredEditors() {
  std::vector<fw::TWinControl*> retired;
  retired.swap(FRetired);
  for (fw::TWinControl* editor : retired) delete editor;
}

void TScrList::DblClick() {
  fw::TOwnerDrawListBox::DblClick();
  SetEditing(true);
}

// --- dragging and scrolling ------------------------------------------------

void TScrList::DoStartDrag() {
  FDropMark = -1;
  FDropLine = false;
  FDraggedIndex = ItemAtPos(DragStartPoint(), true);
}

void TScrList::DragOver(fw::TObject* Source, int X, int Y, fw::TDragState State, bool& Accept) {
  int line = ItemAtPos(POINT{X, Y}, true);
  Accept = Source == this && line >= 0;
  if (State == fw::dsDragEnter && !FDropLine) {
    Items().Add(".");
    FDropLine = true;
    line = ItemAtPos(POINT{X, Y}, true);
    Accept = Source == this && line >= 0;
  }
  InvertDropMark(FDropMark);
  FDropMark = -1;
  if (State == fw::dsDragLeave) {
    StopAutoScroll();
    return;
  }
  CheckAutoScroll(X, Y);
  InvertDropMark(line);
  FDropMark = line;
}

void TScrList::DoEndDrag(fw::TObject* Target, int X, int Y) {
  StopAutoScroll();
  int selected = -1;
  try {
    if (FDropLine && Target == this) {
      int line = ItemAtPos(POINT{X, Y}, true);
      int position = DropPosition(FItems.Count(), FDraggedIndex, line);
      if (position >= 0) {
        FItems.Move(FDraggedIndex, position);
        FModified = true;
        selected = position;
      }
    }
  } catch (...) {
  }
  InvertDropMark(FDropMark);
  FDropMark = -1;
  if (FDropLine) {
    FDropLine = false;
    if (Items().Count() > FItems.Count()) Items().Delete(Items().Count() - 1);
  }
  if (selected >= 0) SetItemIndex(selected);
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}

void TScrList::CheckAutoScroll(int X, int Y) {
  int margin = ItemHeight() / 2;
  if (ItemHeight() <= 0) margin = std::abs(Font().Size());
  RECT client = ClientRect();
  FDirections = toolpage::AutoScrollDirections(X, Y, margin, client.right, client.bottom,
                                               ScrollRange(Handle(), SB_HORZ), ScrollRange(Handle(), SB_VERT));
  if (FDirections != 0)
    StartAutoScroll();
  else
    StopAutoScroll();
}

void TScrList::StartAutoScroll() {
  FCounter = 0;
  FInterval = kAutoScrollFirstInterval;
  FTimerOn = SetTimer(Handle(), kAutoScrollTimer, static_cast<UINT>(FInterval), nullptr) != 0;
}

void TScrList::StopAutoScroll() {
  if (FTimerOn && HandleAllocated()) KillTimer(Handle(), kAutoScrollTimer);
  FTimerOn = false;
}

void TScrList::AutoScrollTimer() {
  InvertDropMark(FDropMark);
  int interval = NextAutoScrollInterval(FCounter, FInterval);
  if (interval != FInterval) {
    FInterval = interval;
    SetTimer(Handle(), kAutoScrollTimer, static_cast<UINT>(FInterval), nullptr);
  }
  TScrollRange vertical = ScrollRange(Handle(), SB_VERT);
  if ((FDirections & asUp) != 0) {
    Perform(WM_VSCROLL, SB_LINEUP, 0);
    if (vertical.Pos <= vertical.Min) FDirections &= ~asUp;
  }
  if ((FDirections & asDown) != 0) {
    Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    if (vertical.Pos >= vertical.Max) FDirections &= ~asDown;
  }
  TScrollRange horizontal = ScrollRange(Handle(), SB_HORZ);
  if ((FDirections & asLeft) != 0) {
    Perform(WM_HSCROLL, SB_LINELEFT, 0);
    if (horizontal.Pos <= horizontal.Min) FDirections &= ~asLeft;
  }
  if ((FDirections & asRight) != 0) {
    Perform(WM_HSCROLL, SB_LINERIGHT, 0);
    if (horizontal.Pos >= horizontal.Max) FDirections &= ~asRight;
  }
  if (FDirections == 0) StopAutoScroll();  // nothing left to scroll: no idle ticks
  InvertDropMark(FDropMark);
}

void TScrList::WndProc(fw::TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_SIZE:
      fw::TOwnerDrawListBox::WndProc(Message);
      SetEditing(false);
      return;
    case WM_TIMER:
      if (Message.WParam == kAutoScrollTimer) {
        if (FTimerOn) AutoScrollTimer();
        return;
      }
      break;
    case WM_FREEEDITORS:
      FreeRetiredEditors();
      return;
    default:
      break;
  }
  fw::TOwnerDrawListBox::WndProc(Message);
}

}  // namespace toolpage
