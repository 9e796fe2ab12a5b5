// The line editor's rules that need no window: looks, insert and drop positions, the
// values an editor may commit, auto-scroll and completion.
#include <gtest/gtest.h>

#include "ScrListRules.h"

using namespace toolpage;

TEST(ScrListRules, EachKindHasItsIndentIconAndDefaultText) {
  EXPECT_EQ(LineKindLook(skText).Indent, 21);
  EXPECT_EQ(LineKindLook(skText).Icon, -1);
  EXPECT_EQ(std::string(LineKindLook(skText).DefaultText), "");
  EXPECT_EQ(LineKindLook(skScreen).Indent, 2);
  EXPECT_TRUE(LineKindLook(skScreen).Bold);
  EXPECT_EQ(std::string(LineKindLook(skScreen).DefaultText), "Insert screen name here");
  EXPECT_EQ(LineKindLook(skDelay).Icon, 1);
  EXPECT_EQ(std::string(LineKindLook(skDelay).DefaultText), "1");
  EXPECT_EQ(LineKindLook(skKey).Indent, 40);
  EXPECT_TRUE(LineKindLook(skKey).Blue);
  EXPECT_EQ(std::string(LineKindLook(skKey).DefaultText), "Enter");
  // A kind read from a damaged list is drawn as text, never out of the table.
  EXPECT_EQ(LineKindLook(200).Indent, 21);
}

TEST(ScrListRules, DelaysAreDrawnWithTheirUnit) {
  EXPECT_EQ(LineDisplayText(TSCItem(skDelay, "5")), "5 Sec.");
  EXPECT_EQ(LineDisplayText(TSCItem(skText, "5")), "5");
  // A percent sign in a text is shown as typed.
  EXPECT_EQ(LineDisplayText(TSCItem(skDelay, "%d")), "%d Sec.");
}

TEST(ScrListRules, InsertPositions) {
  EXPECT_EQ(InsertPosition(0, -1, true), 0);  // an empty list takes any index
  EXPECT_EQ(InsertPosition(0, 7, false), 0);
  EXPECT_EQ(InsertPosition(3, 1, true), 1);   // before the line
  EXPECT_EQ(InsertPosition(3, 1, false), 2);  // right below a middle line
  EXPECT_EQ(InsertPosition(3, 2, false), 3);  // after the last: appended
  EXPECT_EQ(InsertPosition(3, 3, true), -1);  // no such line
  EXPECT_EQ(InsertPosition(3, -1, false), -1);
}

TEST(ScrListRules, DropPositions) {
  // Line 2 of 6 (index 1) dropped on line 5 (index 4) lands before it: new line 4.
  EXPECT_EQ(DropPosition(6, 1, 4), 3);
  EXPECT_EQ(DropPosition(6, 4, 1), 1);    // upwards: before the line dropped on
  EXPECT_EQ(DropPosition(6, 1, 6), 5);    // on the "." line: last
  EXPECT_EQ(DropPosition(6, 2, 2), 2);    // on itself
  EXPECT_EQ(DropPosition(6, 1, -1), -1);  // outside any line
  EXPECT_EQ(DropPosition(6, -1, 3), -1);  // nothing was dragged
  EXPECT_EQ(DropPosition(6, 1, 7), -1);
}

TEST(ScrListRules, OnlyValidDelaysAreCommitted) {
  EXPECT_EQ(CommittedText(skDelay, "5"), "5");
  EXPECT_EQ(CommittedText(skDelay, " 86400 "), "86400");
  EXPECT_EQ(CommittedText(skDelay, "007"), "7");
  EXPECT_FALSE(CommittedText(skDelay, "0"));
  EXPECT_FALSE(CommittedText(skDelay, "86401"));
  EXPECT_FALSE(CommittedText(skDelay, "-3"));
  EXPECT_FALSE(CommittedText(skDelay, "1.5"));
  EXPECT_FALSE(CommittedText(skDelay, ""));
  EXPECT_FALSE(CommittedText(skDelay, "99999999999999999999"));
  EXPECT_EQ(CommittedText(skText, ""), "");  // other kinds take any text they can hold
  EXPECT_EQ(CommittedText(skScreen, "MONITOR"), "MONITOR");
}

// Every line the editor takes reads back as it was: what the format cannot hold is refused.
TEST(ScrListRules, ValuesTheScriptFormatCannotHoldAreRefused) {
  EXPECT_FALSE(CommittedText(skScreen, "LOG;abc"));  // a name ends at ";"
  EXPECT_FALSE(CommittedText(skKey, "F1;x"));
  EXPECT_EQ(CommittedText(skText, "a;b\\c"), "a;b\\c");  // in a text ";" and "\" are kept
  for (uint8_t kind : {skText, skScreen, skKey}) {
    EXPECT_FALSE(CommittedText(kind, "a\rb")) << int(kind);                // a CR ends the line
    EXPECT_FALSE(CommittedText(kind, "a\x1A")) << int(kind);               // Ctrl-Z ends the file
    EXPECT_FALSE(CommittedText(kind, std::string("\0a", 2))) << int(kind);  // the mark of an encoded file
  }
  // A key name must not read back as a delay, a screen or a text.
  EXPECT_FALSE(CommittedText(skKey, "5"));
  EXPECT_FALSE(CommittedText(skKey, "@MONITOR"));
  EXPECT_FALSE(CommittedText(skKey, "\\x"));
  for (const char* name : KeyNames()) EXPECT_EQ(CommittedText(skKey, name), name);
}

TEST(ScrListRules, AutoScrollDirectionsNearTheEdges) {
  TScrollRange vertical{0, 40, 10};
  TScrollRange none{};
  EXPECT_EQ(AutoScrollDirections(50, 5, 9, 200, 190, none, vertical), asUp);
  EXPECT_EQ(AutoScrollDirections(50, 185, 9, 200, 190, none, vertical), asDown);
  EXPECT_EQ(AutoScrollDirections(50, 95, 9, 200, 190, none, vertical), 0);
  // At the top nothing scrolls up, at the last position nothing scrolls down.
  EXPECT_EQ(AutoScrollDirections(50, 5, 9, 200, 190, none, TScrollRange{0, 40, 0}), 0);
  EXPECT_EQ(AutoScrollDirections(50, 185, 9, 200, 190, none, TScrollRange{0, 40, 40}), 0);
  TScrollRange horizontal{0, 30, 15};
  EXPECT_EQ(AutoScrollDirections(2, 5, 9, 200, 190, horizontal, vertical), asLeft | asUp);
  EXPECT_EQ(AutoScrollDirections(195, 185, 9, 200, 190, horizontal, vertical), asRight | asDown);
  // The last position a bar reaches is its range's end less a page.
  EXPECT_EQ(ScrollLimit(99, 10, 0), 90);
  EXPECT_EQ(ScrollLimit(5, 10, 0), 0);
  EXPECT_EQ(ScrollLimit(99, 0, 0), 99);
}

TEST(ScrListRules, AutoScrollAccelerates) {
  int counter = 0;
  int interval = kAutoScrollFirstInterval;
  std::vector<int> intervals;
  for (int tick = 0; tick < 14; ++tick) {
    interval = NextAutoScrollInterval(counter, interval);
    intervals.push_back(interval);
  }
  EXPECT_EQ(intervals, (std::vector<int>{92, 84, 76, 68, 60, 52, 44, 36, 28, 20, 12, 4, 4, 4}));
}

TEST(ScrListRules, CompletionTakesTheFirstItemInListOrder) {
  fw::TStringList items;
  items.Add("Alpha");
  items.Add("ABC");
  items.Add("abd");
  EXPECT_EQ(FindCompletion(items, "AB"), "C");  // the rest in the item's own case
  EXPECT_EQ(FindCompletion(items, "A"), "lpha");
  EXPECT_EQ(FindCompletion(items, "ABD"), "");  // the whole item typed: nothing to add
  EXPECT_EQ(FindCompletion(items, "X"), "");
  EXPECT_EQ(FindCompletion(items, ""), "");  // an empty text never completes
  EXPECT_EQ(FindCompletion(items, "ALPHABET"), "");
}

TEST(ScrListRules, CompletionIsWantedOnlyWhileTyping) {
  EXPECT_TRUE(CompletionWanted(true, true, 'B', 2, 0));
  EXPECT_FALSE(CompletionWanted(true, true, 8, 2, 0));   // Backspace
  EXPECT_FALSE(CompletionWanted(true, true, 46, 2, 0));  // Delete
  EXPECT_FALSE(CompletionWanted(false, true, 'B', 2, 0));
  EXPECT_FALSE(CompletionWanted(true, false, 'B', 2, 0));  // a drop-down list has no edit
  EXPECT_FALSE(CompletionWanted(true, true, 'B', 2, 3));
  EXPECT_TRUE(CompletionWanted(true, true, 'B', 3, 3));
}
