#include <gtest/gtest.h>

#include "core/ClassDef.h"
#include "gui/Buttons.h"
#include "gui/Forms.h"
#include "gui/ListCtrls.h"

using namespace fw;

namespace {

std::vector<std::string> ListWindowLines(HWND list) {
  std::vector<std::string> lines;
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    lines.emplace_back(text);
  }
  return lines;
}

std::string WindowText(HWND wnd) {
  char text[256] = {};
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}

// The radio buttons of a group, in window order.
std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

struct TClickCounter {
  int Clicks = 0;
  void Clicked(TObject*) { ++Clicks; }
};

class ListControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(new TForm(nullptr));
    form->SetBounds(0, 0, 400, 300);
    form->HandleNeeded();
  }
  TOwnedPtr<TForm> form;
};

TEST_F(ListControlsTest, ListBoxWindowShowsTheItemsBeforeAndAfterItExists) {
  auto* list = new TListBox(form.get());
  list->Items().Add("one");
  list->Items().Add("two");
  list->SetParent(form.get());
  HWND wnd = list->Handle();
  EXPECT_EQ(ListWindowLines(wnd), (std::vector<std::string>{"one", "two"}));

  list->Items().Insert(1, "between");
  list->Items().Put(0, "first");
  EXPECT_EQ(ListWindowLines(wnd), (std::vector<std::string>{"first", "between", "two"}));
  list->Items().Delete(2);
  EXPECT_EQ(ListWindowLines(wnd), (std::vector<std::string>{"first", "between"}));
}

TEST_F(ListControlsTest, SortedListBoxPlacesAddedLinesButReplacesInPlace) {
  auto* list = new TListBox(form.get());
  list->Items().Add("pear");
  list->Items().Add("Apple");
  list->SetSorted(true);
  list->Items().Add("banana");
  list->Items().Add("apple");  // equal lines keep the order they came in
  EXPECT_EQ(list->Items().ToVector(), (std::vector<std::string>{"Apple", "apple", "banana", "pear"}));
  list->Items().Put(0, "zebra");
  EXPECT_EQ(list->Items().Get(0), "zebra");
  list->SetParent(form.get());
  EXPECT_EQ(ListWindowLines(list->Handle()), (std::vector<std::string>{"zebra", "apple", "banana", "pear"}));
}

TEST_F(ListControlsTest, ListBoxSelectionFollowsTheWindowAndStaysInRange) {
  TClickCounter counter;
  auto* list = new TListBox(form.get());
  list->SetParent(form.get());
  list->SetBounds(10, 10, 150, 120);
  list->OnClick = TNotifyEvent(&counter, &TClickCounter::Clicked);
  list->Items().SetVector({"a", "b", "c"});
  list->SetItemIndex(2);
  HWND wnd = list->Handle();
  EXPECT_EQ(SendMessageA(wnd, LB_GETCURSEL, 0, 0), 2);
  list->SetItemIndex(7);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(SendMessageA(wnd, LB_GETCURSEL, 0, 0), LB_ERR);

  // The user selects the second line.
  int itemHeight = static_cast<int>(SendMessageA(wnd, LB_GETITEMHEIGHT, 0, 0));
  LPARAM point = MAKELPARAM(5, itemHeight + itemHeight / 2);
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageA(wnd, WM_LBUTTONUP, 0, point);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(counter.Clicks, 1);

  // Removing the selected line leaves no selection past the end.
  list->Items().Delete(2);
  list->Items().Delete(1);
  EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListControlsTest, RadioGroupPaintsItsInsideInItsColour) {
  auto* group = new TRadioGroup(form.get());
  group->SetParent(form.get());
  group->SetBounds(10, 10, 200, 120);
  group->SetCaption("Restart");
  group->Items().SetVector({"Now", "Later"});
  form->Show();
  HWND wnd = group->Handle();
  InvalidateRect(wnd, nullptr, TRUE);
  UpdateWindow(wnd);
  // A point inside the frame, right of the buttons, below the caption.
  HDC dc = GetDC(wnd);
  COLORREF inside = GetPixel(dc, 200 - 5, 100);
  ReleaseDC(wnd, dc);
  EXPECT_EQ(inside, GetSysColor(COLOR_BTNFACE));
}

TEST_F(ListControlsTest, RadioGroupHasOneButtonPerItemAndChecksItemIndex) {
  TClickCounter counter;
  auto* group = new TRadioGroup(form.get());
  group->SetParent(form.get());
  group->SetCaption("Choice");
  group->OnClick = TNotifyEvent(&counter, &TClickCounter::Clicked);
  group->Items().SetVector({"Yes", "No"});
  group->SetItemIndex(0);
  HWND wnd = group->Handle();
  std::vector<HWND> buttons = ChildWindows(wnd);
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(WindowText(wnd), "Choice");
  EXPECT_EQ(WindowText(buttons[0]), "Yes");
  EXPECT_EQ(WindowText(buttons[1]), "No");
  EXPECT_EQ(SendMessageA(buttons[0], BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_UNCHECKED);
  RECT first, second;
  GetWindowRect(buttons[0], &first);
  GetWindowRect(buttons[1], &second);
  EXPECT_GE(second.top, first.bottom);

  SendMessageA(buttons[1], BM_CLICK, 0, 0);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_EQ(counter.Clicks, 1);
  EXPECT_EQ(SendMessageA(buttons[0], BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_CHECKED);

  // A changed item shows at once; a removed one takes its button and the index along.
  group->Items().Put(0, "Ja");
  EXPECT_EQ(WindowText(buttons[0]), "Ja");
  group->Items().Delete(1);
  EXPECT_EQ(ChildWindows(wnd).size(), 1u);
  EXPECT_EQ(group->ItemIndex(), -1);
}

class TListForm : public TForm {
  FW_CLASS(TListForm, TForm)
 public:
  using TForm::TForm;
};
const TClass& TListForm::StaticClass() {
  static const TClass cls = TClassDef<TListForm>();
  return cls;
}

TEST(ListControlsFromText, FormDescriptionsFillItemsAndKeepAnIndexReadBeforeThem) {
  RegisterClasses({&TListBox::StaticClass(), &TRadioGroup::StaticClass(), &TBitBtn::StaticClass()});
  TOwnedPtr<TListForm> form(new TListForm(nullptr));
  form->InitFromText(R"(object ListForm: TListForm
  object Folders: TListBox
    Sorted = True
    Items.Strings = (
      'Startup'
      'Accessories')
  end
  object RG: TRadioGroup
    Caption = 'Reboot'
    ItemIndex = 1
    Items.Strings = (
      'Yes'
      'No')
  end
  object OkBtn: TBitBtn
    Caption = 'OK'
    ModalResult = 1
  end
end
)",
                     "TLISTFORM");
  form->HandleNeeded();
  auto* folders = dynamic_cast<TListBox*>(form->FindComponent("Folders"));
  auto* group = dynamic_cast<TRadioGroup*>(form->FindComponent("RG"));
  auto* ok = dynamic_cast<TBitBtn*>(form->FindComponent("OkBtn"));
  ASSERT_NE(folders, nullptr);
  ASSERT_NE(group, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(folders->Items().ToVector(), (std::vector<std::string>{"Accessories", "Startup"}));
  EXPECT_EQ(group->ItemIndex(), 1);
  std::vector<HWND> buttons = ChildWindows(group->Handle());
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(SendMessageA(buttons[1], BM_GETCHECK, 0, 0), BST_CHECKED);

  // A bitmap button is a push button: its window, caption and modal result.
  EXPECT_TRUE(ok->InheritsFrom(TButton::StaticClass()));
  EXPECT_EQ(WindowText(ok->Handle()), "OK");
  SendMessageA(ok->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->ModalResult(), mrOk);
}

}  // namespace
