// The completing combo box, the pop-up list and the maker's combo box, driven through
// window messages.
#include <gtest/gtest.h>
#include <windows.h>

#include "ComboBox.h"
#include "KavelComboBox.h"
#include "PopUpListBox.h"
#include "ScrListTestHost.h"
#include "Screenshot.h"
#include "UiDriver.h"
#include "gui/Forms.h"

using namespace toolpage;

namespace {

struct ComboTest : ::testing::Test {
  void SetUp() override {
    form.reset(new fw::TForm(nullptr));
    form->SetBounds(60, 60, 360, 260);
    form->SetCaption("Combo boxes");
    form->Show();
  }
  template <class T>
  T* MakeBox() {
    auto* box = new T(form.get());
    box->SetBounds(10, 10, 200, 21);
    box->Items().Add("Alpha");
    box->Items().Add("ABC");
    box->Items().Add("abd");
    box->SetParent(form.get());
    return box;
  }
  // The user empties the box's edit, then types Text.
  static void Type(fw::TComboBox* Box, const std::string& Text) {
    testsupport::SetEditText(Box->EditHandle(), "");
    linetest::TypeText(Box->EditHandle(), Text);
  }
  static std::pair<int, int> Selection(fw::TComboBox* Box) {
    DWORD start = 0, end = 0;
    SendMessageA(Box->EditHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }
  fw::TOwnedPtr<fw::TForm> form;
};

struct TCompleteHandler {
  bool Refuse = false;
  std::string Replace;
  uint16_t Key = 0;
  int Calls = 0;
  void OnComplete(fw::TObject*, uint16_t AKey, std::string& With, bool& Do) {
    ++Calls;
    Key = AKey;
    if (!Replace.empty()) With = Replace;
    if (Refuse) Do = false;
  }
};

}  // namespace

TEST_F(ComboTest, TypingCompletesFromTheFirstMatchingItem) {
  auto* box = MakeBox<TComboBox98>();
  int changes = 0;
  box->OnChange = [&](fw::TObject*) { ++changes; };
  Type(box, "ab");
  EXPECT_EQ(box->Text(), "abC");
  EXPECT_EQ(testsupport::ControlText(box->EditHandle()), "abC");
  EXPECT_EQ(Selection(box), std::make_pair(2, 3));  // the added part, replaced by the next key
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(box->LastKey(), 'B');

  // Deleting never completes.
  linetest::TypeKey(box->EditHandle(), VK_BACK, 8);
  EXPECT_EQ(box->Text(), "ab");
  linetest::TypeKey(box->EditHandle(), VK_BACK, 8);
  EXPECT_EQ(box->Text(), "a");
  SendMessageA(box->EditHandle(), EM_SETSEL, 0, 0);
  linetest::TypeKey(box->EditHandle(), VK_DELETE, 0);
  EXPECT_EQ(box->Text(), "");
  // A text no item starts with stays as typed.
  Type(box, "abx");
  EXPECT_EQ(box->Text(), "abx");
}

TEST_F(ComboTest, CompletionRulesAndTheCompleteEvent) {
  auto* box = MakeBox<TComboBox98>();
  box->SetMinLengthComplete(3);
  Type(box, "ab");
  EXPECT_EQ(box->Text(), "ab");
  box->SetMinLengthComplete(0);

  TCompleteHandler handler;
  box->OnComplete = TOnComplete(&handler, &TCompleteHandler::OnComplete);
  handler.Refuse = true;
  Type(box, "al");
  EXPECT_EQ(box->Text(), "al");
  EXPECT_EQ(handler.Calls, 2);
  EXPECT_EQ(handler.Key, 'L');
  handler.Refuse = false;
  handler.Replace = "pine";
  Type(box, "al");
  EXPECT_EQ(box->Text(), "alpine");
  EXPECT_EQ(Selection(box), std::make_pair(2, 6));

  box->OnComplete = nullptr;
  box->SetComplete(false);
  Type(box, "ab");
  EXPECT_EQ(box->Text(), "ab");
  // A drop-down list has no typed text to complete.
  box->SetComplete(true);
  box->SetStyle(fw::csDropDownList);
  EXPECT_EQ(box->EditHandle(), nullptr);
  testsupport::ChooseComboItem(box->Handle(), "ABC");
  EXPECT_EQ(box->Text(), "ABC");
}

namespace {
// Records the drop-down widths the box sends its window.
class TWidthProbe : public TKavelComboBox {
 public:
  using TKavelComboBox::TKavelComboBox;
  std::vector<int> Sent;

 protected:
  void WndProc(fw::TMessage& Message) override {
    if (Message.Msg == CB_SETDROPPEDWIDTH) Sent.push_back(static_cast<int>(Message.WParam));
    TKavelComboBox::WndProc(Message);
  }
};
}  // namespace

TEST_F(ComboTest, DroppedWidthAndCloseUp) {
  auto* box = MakeBox<TWidthProbe>();
  HWND wnd = box->Handle();
  EXPECT_EQ(box->DroppedWidth(), -1);
  EXPECT_TRUE(box->Sent.empty());  // -1 at creation sends nothing
  box->SetDroppedWidth(320);
  EXPECT_EQ(SendMessageA(wnd, CB_GETDROPPEDWIDTH, 0, 0), 320);
  box->SetDroppedWidth(320);
  box->SetDroppedWidth(-1);  // back to the system's: 0
  EXPECT_EQ(box->Sent, (std::vector<int>{320, 0}));

  auto* wide = new TWidthProbe(form.get());
  wide->SetBounds(10, 40, 100, 21);
  wide->SetDroppedWidth(250);
  EXPECT_TRUE(wide->Sent.empty());
  wide->SetParent(form.get());
  EXPECT_EQ(wide->Sent, (std::vector<int>{250}));
  EXPECT_EQ(SendMessageA(wide->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 250);

  int closeUps = 0;
  box->OnCloseUp = [&](fw::TObject* Sender) {
    EXPECT_EQ(Sender, box);
    ++closeUps;
  };
  SendMessageA(wnd, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageA(wnd, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(closeUps, 1);

  // Stored with the form, no behaviour.
  box->SetHistoryLen(12);
  box->SetDefaultIndex(2);
  EXPECT_EQ(box->HistoryLen(), 12);
  EXPECT_EQ(box->DefaultIndex(), 2);
}

TEST_F(ComboTest, OwnerDrawnItemsGetTheKeptHeight) {
  auto* box = new TKavelComboBox(form.get());
  box->SetOwnerDraw(true);
  box->SetItemHeight(23);
  box->SetBounds(10, 10, 200, 21);
  box->Items().Add("one");
  box->Items().Add("two");
  box->SetParent(form.get());
  HWND wnd = box->Handle();
  EXPECT_NE(GetWindowLongA(wnd, GWL_STYLE) & CBS_OWNERDRAWVARIABLE, 0);
  EXPECT_EQ(GetWindowLongA(wnd, GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_EQ(SendMessageA(wnd, CB_GETITEMHEIGHT, 1, 0), 23);
  EXPECT_EQ(box->ItemHeight(), 23);
}

TEST_F(ComboTest, ThePopUpListTracksTheMouse) {
  auto* popUp = new TPopUpListBox(form.get());
  popUp->SetBounds(10, 10, 150, 100);
  for (const char* item : {"one", "two", "three"}) popUp->Items().Add(item);
  popUp->SetParent(form.get());
  HWND wnd = popUp->Handle();
  EXPECT_EQ(popUp->TrackStyle(), tptsUnderline);
  EXPECT_EQ(popUp->HotItem(), -1);  // nothing hot before the mouse moves
  int entered = 0, left = 0;
  popUp->OnMouseEnter = [&](fw::TObject*) { ++entered; };
  popUp->OnMouseLeave = [&](fw::TObject*) { ++left; };
  int height = popUp->ItemHeight();
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, height + 2));
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(popUp->HotItem(), 1);
  EXPECT_EQ(popUp->ItemIndex(), -1);  // only the underline moves
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 2 * height + 2));
  EXPECT_EQ(popUp->HotItem(), 2);
  EXPECT_EQ(entered, 1);
  testsupport::SaveWindowPng(form->Handle(), "popup_list");

  popUp->SetTrackStyle(tptsFull);
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 2));
  EXPECT_EQ(popUp->HotItem(), 0);
  EXPECT_EQ(popUp->ItemIndex(), 0);                        // the selection follows
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 90));  // below the items
  EXPECT_EQ(popUp->HotItem(), -1);

  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(left, 1);
  EXPECT_FALSE(popUp->Visible());  // it hides itself
  EXPECT_FALSE(IsWindowVisible(wnd));
}

TEST_F(ComboTest, TheAutomaticPopUpOpensOnEnteringAndIsFreedAfterAClick) {
  auto* box = MakeBox<TKavelComboBox>();
  box->SetAutoPopUp(true);
  int entered = 0;
  box->OnMouseEnter = [&](fw::TObject*) { ++entered; };
  SendMessageA(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(entered, 1);
  ASSERT_NE(box->PopUp(), nullptr);
  TPopUpListBox* popUp = box->PopUp();
  EXPECT_TRUE(IsWindowVisible(popUp->Handle()));
  EXPECT_EQ(popUp->Items().Count(), 3);
  EXPECT_EQ(popUp->Left(), box->Left());
  EXPECT_EQ(popUp->Top(), box->Top());
  EXPECT_EQ(popUp->Width(), box->Width());
  EXPECT_EQ(popUp->Height(), 3 * popUp->ItemHeight() + 5);
  EXPECT_TRUE(box->Hovering());
  EXPECT_TRUE(popUp->HandPointCursor());

  // The user clicks the second item with the cursor on it.
  POINT onItem{20, popUp->ItemHeight() + 3};
  ClientToScreen(popUp->Handle(), &onItem);
  SetCursorPos(onItem.x, onItem.y);
  testsupport::PumpMessages(50);
  POINT at{};
  GetCursorPos(&at);
  ASSERT_EQ(at.x, onItem.x);
  ASSERT_EQ(at.y, onItem.y);
  popUp->SetItemIndex(1);
  popUp->OnClick(popUp);
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(box->Text(), "ABC");
  EXPECT_NE(box->PopUp(), nullptr);  // not freed inside its own click
  testsupport::WaitUntil([&] { return box->PopUp() == nullptr; }, 2000);
  EXPECT_EQ(box->PopUp(), nullptr);
}
