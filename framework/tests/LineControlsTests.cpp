// Owner-drawn and virtual list boxes with dragging, edits and combo boxes with key and
// exit events, the spin edit and the image list, driven through window messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "Screenshot.h"
#include "gui/ComboBoxes.h"
#include "gui/Forms.h"
#include "gui/ImageLists.h"
#include "gui/InPlaceEditors.h"
#include "gui/OwnerDrawLists.h"

using namespace fw;

namespace {

void PumpFor(DWORD Milliseconds) {
  DWORD end = GetTickCount() + Milliseconds;
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(1);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

struct TKeyLog {
  std::vector<int> Downs;
  std::string Chars;
  int Exits = 0;
  bool SwallowX = false;
  void KeyDown(TObject*, uint16_t& Key) { Downs.push_back(Key); }
  void KeyPress(TObject*, char& Key) {
    Chars += Key;
    if (SwallowX && Key == 'x') Key = 0;
  }
  void Exit(TObject*) { ++Exits; }
  template <class T>
  void Attach(T* Control) {
    Control->OnKeyDown = TKeyEvent(this, &TKeyLog::KeyDown);
    Control->OnKeyPress = TKeyPressEvent(this, &TKeyLog::KeyPress);
    Control->OnExit = TNotifyEvent(this, &TKeyLog::Exit);
  }
};

void Type(HWND Window, WORD Key, char Character) {
  SendMessageA(Window, WM_KEYDOWN, Key, 1);
  if (Character != 0) SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(Character), 1);
  SendMessageA(Window, WM_KEYUP, Key, 0xC0000001);
}

std::string TextOf(HWND Window) {
  char text[256] = {};
  GetWindowTextA(Window, text, sizeof text);
  return text;
}

class LineControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(new TForm(nullptr));
    form->SetBounds(30, 30, 400, 300);
    other = new TEdit(form.get());
    other->SetBounds(250, 240, 100, 21);
    other->SetParent(form.get());
    form->Show();
  }
  TOwnedPtr<TForm> form;
  TEdit* other = nullptr;
};

// Records what a list hears of a drag.
class TDragProbe : public TOwnerDrawListBox {
 public:
  using TOwnerDrawListBox::TOwnerDrawListBox;
  std::vector<std::string> Log;
  int Drawn = 0;

 protected:
  void DoStartDrag() override { Log.push_back("start " + std::to_string(ItemAtPos(DragStartPoint(), true))); }
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override {
    const char* names[] = {"enter", "leave", "move"};
    Log.push_back(std::string(names[static_cast<int>(State)]) + " " + std::to_string(ItemAtPos(POINT{X, Y}, true)));
    Accept = Source == this;
  }
  void DoEndDrag(TObject* Target, int X, int Y) override {
    Log.push_back(Target == this ? "drop " + std::to_string(ItemAtPos(POINT{X, Y}, true)) : std::string("end"));
  }
  void DrawItem(TGdiCanvas& Canvas, int Index, const RECT& Rect, UINT State) override {
    ++Drawn;
    TOwnerDrawListBox::DrawItem(Canvas, Index, Rect, State);
  }
};

}  // namespace

TEST_F(LineControlsTest, AVirtualListOnlyTellsItsWindowTheCountAndDrawsWhatShows) {
  auto* list = new TDragProbe(form.get());
  list->SetStyle(lbVirtualOwnerDraw);
  list->SetItemHeight(20);
  list->SetBounds(10, 10, 200, 200);
  list->SetParent(form.get());
  list->Items().BeginUpdate();
  for (int i = 0; i < 5000; ++i) list->Items().Add("line " + std::to_string(i));
  list->Items().EndUpdate();
  HWND wnd = list->Handle();
  EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 5000);
  EXPECT_NE(GetWindowLongA(wnd, GWL_STYLE) & LBS_NODATA, 0);
  list->Drawn = 0;
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(list->Drawn, 0);
  EXPECT_LE(list->Drawn, 11);  // the lines that show, not 5000
  list->Items().Insert(3, "new");
  EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 5001);
  list->SetItemIndex(4999);
  EXPECT_GT(list->TopIndex(), 4980);
  EXPECT_EQ(list->ItemAtPos(POINT{5, 5}, true), list->TopIndex());
  list->SetTopIndex(0);
  EXPECT_EQ(list->ItemAtPos(POINT{5, 45}, true), 2);
  EXPECT_EQ(list->ItemAtPos(POINT{-1, 5}, true), -1);
  list->Items().Clear();
  EXPECT_EQ(SendMessageA(wnd, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->ItemAtPos(POINT{5, 5}, true), -1);
  EXPECT_EQ(list->ItemAtPos(POINT{5, 5}, false), 0);
}

TEST_F(LineControlsTest, ADragStartsAfterAFewPixelsAndEndsWhereTheButtonGoesUp) {
  auto* list = new TDragProbe(form.get());
  list->SetStyle(lbOwnerDrawFixed);
  list->SetItemHeight(20);
  list->SetDragMode(dmAutomatic);
  list->SetBounds(10, 10, 200, 200);
  for (const char* line : {"a", "b", "c", "d"}) list->Items().Add(line);
  list->SetParent(form.get());
  HWND wnd = list->Handle();
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 25));
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(22, 27));  // within the threshold
  EXPECT_FALSE(list->Dragging());
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 45));
  EXPECT_TRUE(list->Dragging());
  EXPECT_EQ(GetCapture(), wnd);
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 65));
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 400));  // out of the list
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 5));    // back in
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
  EXPECT_FALSE(list->Dragging());
  EXPECT_NE(GetCapture(), wnd);
  EXPECT_EQ(list->Log,
            (std::vector<std::string>{"start 1", "enter 2", "move 3", "leave -1", "enter 0", "move 0", "drop 0"}));
  EXPECT_EQ(list->ItemIndex(), 1);  // the list did not follow the mouse while dragging

  // Let go outside: the drag ends without a drop; a cancel ends it the same way.
  list->Log.clear();
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 45));
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 45));
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
  list->CancelDrag();
  EXPECT_EQ(list->Log, (std::vector<std::string>{"start 0", "enter 2", "leave -1", "end", "start 0", "end"}));
  // A click without moving is a click.
  list->Log.clear();
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 65));
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 65));
  EXPECT_EQ(list->Log, (std::vector<std::string>{"start 3", "end"}));
  EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(LineControlsTest, EditsReportKeysAndTheirExitOnceTheFocusHasMoved) {
  auto* edit = new TInplaceEdit(form.get());
  edit->SetBorder(false);
  edit->SetBounds(10, 10, 150, 20);
  edit->SetParent(form.get());
  TKeyLog log;
  log.Attach(edit);
  HWND wnd = edit->Handle();
  EXPECT_EQ(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  SetFocus(wnd);
  log.SwallowX = true;
  Type(wnd, 'A', 'a');
  Type(wnd, 'X', 'x');
  Type(wnd, 'B', 'b');
  EXPECT_EQ(TextOf(wnd), "ab");  // the swallowed key never reached the edit
  EXPECT_EQ(edit->Text(), "ab");
  EXPECT_EQ(log.Downs, (std::vector<int>{'A', 'X', 'B'}));
  EXPECT_EQ(log.Chars, "axb");
  MSG enter{wnd, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_NE(SendMessageA(wnd, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE, 0);
  MSG tab{wnd, WM_KEYDOWN, VK_TAB, 1, 0, {}};
  EXPECT_EQ(SendMessageA(wnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTMESSAGE, 0);

  SetFocus(other->Handle());
  EXPECT_EQ(log.Exits, 0);  // told once the focus has settled
  PumpFor(20);
  EXPECT_EQ(log.Exits, 1);
  edit->SetBorder(true);
  EXPECT_NE(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(LineControlsTest, SpinEditsStepWithinTheirBoundsAndTheirArrowsAreNoExit) {
  auto* spin = new TSpinEdit(form.get());
  spin->SetBounds(10, 10, 64, 22);
  spin->SetParent(form.get());
  spin->SetValue(5);
  spin->SetMinValue(1);
  spin->SetMaxValue(7);
  TKeyLog log;
  log.Attach(spin);
  HWND wnd = spin->Handle();
  HWND arrows = spin->ButtonsHandle();
  ASSERT_NE(arrows, nullptr);
  EXPECT_EQ(GetParent(arrows), wnd);
  Type(wnd, VK_UP, 0);
  Type(wnd, VK_UP, 0);
  Type(wnd, VK_UP, 0);
  EXPECT_EQ(spin->Value(), 7);
  EXPECT_EQ(TextOf(wnd), "7");
  // A click on the lower arrow.
  RECT r;
  GetClientRect(arrows, &r);
  SetFocus(wnd);
  SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom - 3));
  SendMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom - 3));
  PumpFor(20);
  EXPECT_EQ(spin->Value(), 6);
  EXPECT_EQ(log.Exits, 0);
  SetWindowTextA(wnd, "none");
  SendMessageA(GetParent(wnd), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(wnd));
  EXPECT_EQ(spin->Value(), 1);  // no number counts as the lower bound
  spin->SetValue(100);          // a value is shown as given
  EXPECT_EQ(TextOf(wnd), "100");
  Type(wnd, VK_DOWN, 0);
  EXPECT_EQ(spin->Value(), 7);
}

TEST_F(LineControlsTest, ComboBoxesReportTypingChoosingAndTheKeysOfTheirEdit) {
  auto* box = new TComboBox(form.get());
  box->SetBounds(10, 10, 150, 21);
  for (const char* item : {"red", "green", "blue"}) box->Items().Add(item);
  box->SetParent(form.get());
  int changes = 0;
  box->OnChange = [&](TObject*) { ++changes; };
  TKeyLog log;
  log.Attach(box);
  HWND edit = box->EditHandle();
  ASSERT_NE(edit, nullptr);
  SetFocus(edit);
  Type(edit, 'G', 'g');
  Type(edit, 'O', 'o');
  EXPECT_EQ(box->Text(), "go");
  EXPECT_EQ(box->ItemIndex(), -1);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(log.Chars, "go");
  auto* spin = new TSpinEdit(form.get());
  spin->SetBounds(10, 50, 64, 22);
  spin->SetMaxValue(10);
  spin->SetParent(form.get());
  PumpFor(20);
  testsupport::SaveWindowPng(form->Handle(), "combo_and_spin_edit");
  MSG esc{edit, WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
  EXPECT_NE(SendMessageA(edit, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&esc)) & DLGC_WANTMESSAGE, 0);

  SendMessageA(box->Handle(), CB_SETCURSEL, 2, 0);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box->Handle()));
  EXPECT_EQ(box->ItemIndex(), 2);
  EXPECT_EQ(box->Text(), "blue");
  box->SetText("green");
  EXPECT_EQ(box->ItemIndex(), 1);
  EXPECT_EQ(TextOf(box->Handle()), "green");
  // Moving within the box is no exit; leaving it is.
  SetFocus(box->Handle());
  PumpFor(20);
  EXPECT_EQ(log.Exits, 0);
  SetFocus(other->Handle());
  PumpFor(20);
  EXPECT_EQ(log.Exits, 1);

  // The items may change while the window exists; a drop-down list shows a chosen item.
  box->Items().Add("black");
  EXPECT_EQ(SendMessageA(box->Handle(), CB_GETCOUNT, 0, 0), 4);
  box->SetStyle(csDropDownList);
  box->SetItemIndex(3);
  EXPECT_EQ(TextOf(box->Handle()), "black");
  box->SetText("purple");  // not an item: nothing chosen
  EXPECT_EQ(box->ItemIndex(), -1);
}

TEST(ImageListTest, PicturesAreCutFromAStripAndDrawnOnTheirBackground) {
  TImageList images(nullptr);
  images.SetWidth(4);
  images.SetHeight(4);
  // A strip of two pictures, in a bitmap no device context holds.
  HDC screen = GetDC(nullptr);
  TBitmapHandle strip(CreateCompatibleBitmap(screen, 8, 4));
  ReleaseDC(nullptr, screen);
  {
    TMemoryDCHandle dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.Get(), strip.Get());
    {
      TGdiCanvas canvas(dc.Get());
      canvas.FillRect(RECT{0, 0, 4, 4}, clRed);
      canvas.FillRect(RECT{4, 0, 8, 4}, clFuchsia);  // transparent
      canvas.FillRect(RECT{5, 1, 7, 3}, clLime);
    }
    SelectObject(dc.Get(), old);
  }
  EXPECT_EQ(images.AddMasked(strip.Get(), clFuchsia), 0);
  EXPECT_EQ(images.Count(), 2);
  TMemoryBitmap target(4, 4);
  TGdiCanvas canvas(target.DC());
  canvas.FillRect(RECT{0, 0, 4, 4}, clWhite);
  images.Draw(target.DC(), 0, 0, 1);
  GdiFlush();
  EXPECT_EQ(target.Pixel(0, 0), RGB(255, 255, 255));  // transparent without a background
  EXPECT_EQ(target.Pixel(1, 1), RGB(0, 255, 0));
  images.SetBkColor(clBlue);
  images.Draw(target.DC(), 0, 0, 1);
  GdiFlush();
  EXPECT_EQ(target.Pixel(0, 0), RGB(0, 0, 255));
  images.SetBkColor(clNone);
  images.Draw(target.DC(), 0, 0, 7);  // no such picture: nothing
  images.SetWidth(8);                 // a new size starts empty
  EXPECT_EQ(images.Count(), 0);
}
