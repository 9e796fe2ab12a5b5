// Dragging lines into a new order with the mouse (real button and move messages), the "."
// line and the drop mark, and the scrolling that speeds up near an edge.
#include <gtest/gtest.h>

#include "ScrListRules.h"
#include "ScrListTestHost.h"

using namespace toolpage;
using namespace linetest;

namespace {

struct ScrListDragTest : TScrListHost {
  void SetUp() override {
    TScrListHost::SetUp();
    std::vector<std::pair<uint8_t, std::string>> lines;
    for (int i = 1; i <= 6; ++i) lines.emplace_back(skText, "line " + std::to_string(i));
    AddLines(lines);
  }
  void Press(int Index) { SendMessageA(ListWindow(), WM_LBUTTONDOWN, MK_LBUTTON, Point(30, LineY(Index))); }
  void MoveTo(int X, int Y) { SendMessageA(ListWindow(), WM_MOUSEMOVE, MK_LBUTTON, Point(X, Y)); }
  void Release(int X, int Y) { SendMessageA(ListWindow(), WM_LBUTTONUP, 0, Point(X, Y)); }
};

}  // namespace

TEST_F(ScrListDragTest, ALineDroppedOnAnotherLandsBeforeIt) {
  Press(1);
  EXPECT_EQ(list->DraggedIndex(), 1);
  EXPECT_FALSE(list->Dragging());  // not before the mouse moves
  MoveTo(30, LineY(1) + 8);
  ASSERT_TRUE(list->Dragging());
  EXPECT_TRUE(list->HasDropLine());
  EXPECT_EQ(list->Items().Count(), 7);  // the "." line
  EXPECT_EQ(list->Items().Get(6), ".");
  MoveTo(30, LineY(4));
  EXPECT_EQ(list->DropMark(), 4);
  Release(30, LineY(4));
  EXPECT_FALSE(list->Dragging());
  EXPECT_EQ(Texts(), (std::vector<std::string>{"line 1", "line 3", "line 4", "line 2", "line 5", "line 6"}));
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_TRUE(list->Modified());
  EXPECT_FALSE(list->HasDropLine());
  EXPECT_EQ(list->Items().Count(), 6);
  EXPECT_EQ(list->DropMark(), -1);
  EXPECT_EQ(SendMessageA(ListWindow(), LB_GETCOUNT, 0, 0), 6);
}

TEST_F(ScrListDragTest, ALineDroppedOnTheDotLineBecomesTheLast) {
  Press(0);
  MoveTo(30, LineY(3));
  MoveTo(30, LineY(6));  // the "." line
  EXPECT_EQ(list->DropMark(), 6);
  Release(30, LineY(6));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"line 2", "line 3", "line 4", "line 5", "line 6", "line 1"}));
  EXPECT_EQ(list->ItemIndex(), 5);
  EXPECT_EQ(list->Items().Count(), 6);
}

TEST_F(ScrListDragTest, ADropOutsideTheLinesChangesNothing) {
  Press(2);
  MoveTo(30, LineY(4));
  MoveTo(30, LineY(9));  // below the "." line, still in the list
  Release(30, LineY(9));
  EXPECT_EQ(Texts()[2], "line 3");
  EXPECT_FALSE(list->Modified());
  EXPECT_EQ(list->Items().Count(), 6);

  // Out of the list altogether.
  Press(2);
  MoveTo(30, LineY(4));
  MoveTo(30, 400);
  EXPECT_FALSE(list->AutoScrolling());
  Release(30, 400);
  EXPECT_EQ(Texts()[2], "line 3");
  EXPECT_FALSE(list->Modified());
  EXPECT_FALSE(list->HasDropLine());
  EXPECT_EQ(list->Items().Count(), 6);
}

TEST_F(ScrListDragTest, AClickIsNoDragAndALostCaptureEndsTheDrag) {
  Press(3);
  Release(30, LineY(3));
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_FALSE(list->Modified());
  EXPECT_EQ(list->Items().Count(), 6);

  Press(1);
  MoveTo(30, LineY(4));
  ASSERT_TRUE(list->Dragging());
  SetCapture(form->Handle());  // another window takes the mouse
  ReleaseCapture();
  EXPECT_FALSE(list->Dragging());
  EXPECT_EQ(list->Items().Count(), 6);
  EXPECT_EQ(Texts()[1], "line 2");
}

TEST_F(ScrListDragTest, TheListScrollsFasterAndFasterNearItsEdge) {
  std::vector<std::pair<uint8_t, std::string>> lines;
  for (int i = 7; i <= 100; ++i) lines.emplace_back(skText, "line " + std::to_string(i));
  AddLines(lines);
  list->SetTopIndex(0);
  Press(2);
  MoveTo(30, LineY(5));
  // The top edge at the top of the list: nothing to scroll.
  MoveTo(30, 3);
  EXPECT_FALSE(list->AutoScrolling());
  // The bottom edge: down, starting at 100 ms.
  int bottom = list->ClientHeight() - 3;
  MoveTo(30, bottom);
  ASSERT_TRUE(list->AutoScrolling());
  EXPECT_EQ(list->AutoScrollDirections(), asDown);
  EXPECT_EQ(list->AutoScrollInterval(), 100);
  testsupport::WaitUntil([&] { return list->TopIndex() >= 4; }, 3000);
  EXPECT_GE(list->TopIndex(), 4);
  EXPECT_LT(list->AutoScrollInterval(), 100);
  // Moving back into the middle stops it.
  MoveTo(30, 100);
  EXPECT_FALSE(list->AutoScrolling());
  int top = list->TopIndex();
  testsupport::PumpMessages(150);
  EXPECT_EQ(list->TopIndex(), top);
  // Up again from there, until the first line shows; then the timer stops by itself.
  MoveTo(30, 2);
  ASSERT_TRUE(list->AutoScrolling());
  testsupport::WaitUntil([&] { return !list->AutoScrolling(); }, 5000);
  EXPECT_EQ(list->TopIndex(), 0);
  EXPECT_FALSE(list->AutoScrolling());
  Release(30, 2);  // on the first line
  EXPECT_EQ(Texts()[0], "line 3");
}
