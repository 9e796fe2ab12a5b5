// The console-script format: what each line reads as, what each item writes as.
#include <gtest/gtest.h>

#include "ScriptFormat.h"

using toolpage::TSCItem;
using toolpage::TSCList;

namespace {

std::vector<TSCItem> Read(const std::string& Data) {
  fw::TMemoryStream stream;
  stream.WriteBuffer(Data.data(), Data.size());
  stream.SetPosition(0);
  TSCList list;
  list.LoadFromStream(stream);
  return list.Snapshot();
}

std::string Write(const std::vector<TSCItem>& Items) {
  TSCList list;
  for (const auto& item : Items) list.Add(item.Kind, item.Text);
  fw::TMemoryStream stream;
  list.SaveToStream(stream);
  return std::string(stream.Data().begin(), stream.Data().end());
}

TSCItem Text(const std::string& S) {
  return TSCItem(toolpage::skText, S);
}
TSCItem Screen(const std::string& S) {
  return TSCItem(toolpage::skScreen, S);
}
TSCItem Delay(const std::string& S) {
  return TSCItem(toolpage::skDelay, S);
}
TSCItem Key(const std::string& S) {
  return TSCItem(toolpage::skKey, S);
}

}  // namespace

TEST(ScriptFormat, EveryKindWritesItsLineAndReadsBack) {
  std::vector<TSCItem> items = {Screen("MONITOR"), Delay("5"),     Text("load x"),
                                Key("Enter"),      Key("Shft-F3"), Text("C:\\DIR"),
                                Text("\\X"),       Text(""),       Screen("System Console")};
  std::string data = Write(items);
  EXPECT_EQ(data,
            "\\@MONITOR\r\n\\5\r\nload x\r\n\\Enter\r\n\\Shft-F3\r\nC:\\\\DIR\r\n\\\\X\r\n\r\n"
            "\\@System Console\r\n");
  EXPECT_EQ(Read(data), items);
}

TEST(ScriptFormat, TextAndEscapeOnOneLineAreTwoItems) {
  EXPECT_EQ(Read("abc\\Enter\r\n"), (std::vector<TSCItem>{Text("abc"), Key("Enter")}));
  EXPECT_EQ(Read("abc\\@MON\r\nx"), (std::vector<TSCItem>{Text("abc"), Screen("MON"), Text("x")}));
  EXPECT_EQ(Read("a\\\\b\\5\r\n"), (std::vector<TSCItem>{Text("a\\b"), Delay("5")}));
}

TEST(ScriptFormat, NameEndsAtSemicolonAndTheRestIsText) {
  EXPECT_EQ(Read("\\Enter;rest\r\n\\Esc;\r\n\\@MON;\r\nx\r\n"),
            (std::vector<TSCItem>{Key("Enter"), Text("rest"), Key("Esc"), Screen("MON"), Text("x")}));
}

TEST(ScriptFormat, DelayTakesItsDigitsAndItsTerminator) {
  EXPECT_EQ(Read("\\12\r\n\\3x\r\n"), (std::vector<TSCItem>{Delay("12"), Delay("3")}));
  std::string digits(300, '7');
  std::vector<TSCItem> items = Read("\\" + digits + "\r\n");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0], Delay(std::string(255, '7')));
  EXPECT_EQ(items[1], Text(std::string(45, '7')));
}

TEST(ScriptFormat, EndMarksAndLineEnds) {
  // As a new script is created: one screen line ended by a lone CR.
  EXPECT_EQ(Read("\\@System Console\r"), std::vector<TSCItem>{Screen("System Console")});
  // Ctrl-Z ends the data; a byte 255 and empty lines are data.
  EXPECT_EQ(Read("a\r\n\x1a\\5\r\n"), std::vector<TSCItem>{Text("a")});
  EXPECT_EQ(Read("a\xff\r\n\r\n\r\nb"), (std::vector<TSCItem>{Text("a\xff"), Text(""), Text(""), Text("b")}));
  // After a CR only an LF belongs to the line end.
  EXPECT_EQ(Read("a\rb\r\r\nc\n"), (std::vector<TSCItem>{Text("a"), Text("b"), Text(""), Text("c\n")}));
  EXPECT_EQ(Read(""), std::vector<TSCItem>{});
}

TEST(ScriptFormat, LoneBackslashAtLineEndIsText) {
  EXPECT_EQ(Read("\\\r\nab\\\r\nc\\"), (std::vector<TSCItem>{Text("\\"), Text("ab\\"), Text("c\\")}));
  EXPECT_EQ(Read(Write({Text("\\"), Text("ab\\")})), (std::vector<TSCItem>{Text("\\"), Text("ab\\")}));
}

TEST(ScriptFormat, KeyTableHasFiftyTwoNamesInOrder) {
  const auto& names = toolpage::KeyNames();
  EXPECT_STREQ(names[0], "Enter");
  EXPECT_STREQ(names[4], "F1");
  EXPECT_STREQ(names[14], "Ctrl-F1");
  EXPECT_STREQ(names[33], "Shft-F10");
  EXPECT_STREQ(names[43], "Alt-F10");
  EXPECT_STREQ(names[51], "PgDn");
  for (const char* name : names) EXPECT_EQ(Read(std::string("\\") + name + "\r\n"), std::vector<TSCItem>{Key(name)});
}

TEST(ScriptFormat, ListEditing) {
  TSCList list;
  list.Add(toolpage::skText, "a");
  list.Add(toolpage::skText, "b");
  list.Insert(0, toolpage::skKey, "Esc");
  list.Move(0, 2);
  EXPECT_EQ(list.Snapshot(), (std::vector<TSCItem>{Text("a"), Text("b"), Key("Esc")}));
  list.Delete(1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.Items(2), fw::EListError);
  EXPECT_THROW(list.Insert(3, 1, ""), fw::EListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}
