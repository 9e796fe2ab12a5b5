#include <gtest/gtest.h>

#include <cstdio>

#include "core/ClassDef.h"
#include "core/Collections.h"
#include "core/Streams.h"
#include "core/Strings.h"
#include "tests/ErrorText.h"

using namespace fw;

namespace {

std::vector<std::string> Lines(const TStrings& s) {
  return s.ToVector();
}

TEST(StringList, TextSplitsAtEveryLineBreakAndJoinsWithCrLf) {
  TStringList list;
  list.SetText("one\r\ntwo\nthree\rfour\r\n\r\nsix");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"one", "two", "three", "four", "", "six"}));
  EXPECT_EQ(list.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n");
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, SortedListsKeepOrderAndHonourTheDuplicatesRule) {
  TStringList list;
  list.SetSorted(true);
  list.Add("delta");
  list.Add("Alpha");
  list.Add("charlie");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Alpha", "charlie", "delta"}));
  EXPECT_EQ(list.Add("ALPHA"), 0);  // ignored: already there
  EXPECT_EQ(list.Count(), 3);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("alpha"), EStringListError);
  list.SetDuplicates(dupAccept);
  list.Add("alpha");
  EXPECT_EQ(list.Count(), 4);
  int index = -1;
  EXPECT_TRUE(list.Find("ALPHA", index));
  EXPECT_EQ(index, 0);  // the first of equal entries
  EXPECT_FALSE(list.Find("bravo", index));
  EXPECT_EQ(index, 2);  // where it would go
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("ALPHA"), -1);
}

TEST(StringList, EditingKeepsObjectsWithTheirLines) {
  TStringList list;
  TStringList a, b;
  list.AddObject("a", &a);
  list.AddObject("b", &b);
  list.Add("c");
  list.Move(0, 2);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(list.Objects(2), &a);
  list.Exchange(0, 2);
  EXPECT_EQ(list.Objects(0), &a);
  EXPECT_EQ(list.IndexOfObject(&b), 2);
  list.Delete(1);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b"}));
  EXPECT_THROW(list.Delete(2), EStringListError);
  EXPECT_THROW(list.Get(-1), EStringListError);
}

TEST(StringList, OwnedObjectsAreFreedWithTheirLines) {
  static int freed = 0;
  struct TCounted : TObject {
    ~TCounted() override { ++freed; }
  };
  {
    TStringList list;
    list.SetOwnsObjects(true);
    list.AddObject("a", new TCounted);
    list.AddObject("b", new TCounted);
    list.AddObject("c", new TCounted);
    list.Delete(0);
    EXPECT_EQ(freed, 1);
    list.Clear();
    EXPECT_EQ(freed, 3);
    list.AddObject("d", new TCounted);
  }
  EXPECT_EQ(freed, 4);
}

TEST(StringList, ChangeIsReportedOnceForAGroupOfEdits) {
  struct TCounter {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } counter;
  TStringList list;
  list.OnChange = TNotifyEvent(&counter, &TCounter::Changed);
  list.Add("a");
  EXPECT_EQ(counter.Changes, 1);
  TStringList other;
  other.SetText("x\ny\nz");
  list.Assign(&other);
  EXPECT_EQ(counter.Changes, 2);
  EXPECT_EQ(Lines(list), Lines(other));
  EXPECT_THROW(list.Assign(nullptr), EConvertError);
}

TEST(StringList, NameValueLines) {
  TStringList list;
  list.SetText("Path=C:\\X\nkey=a=b\nPlain");
  EXPECT_EQ(list.Values("path"), "C:\\X");
  EXPECT_EQ(list.Values("KEY"), "a=b");
  EXPECT_EQ(list.Values("Plain"), "");
  EXPECT_EQ(list.IndexOfName("missing"), -1);
}

TEST(Streams, MemoryStreamReadsWhatWasWrittenAndRefusesShortReads) {
  TMemoryStream m;
  m.WriteBuffer("abcdef", 6);
  EXPECT_EQ(m.Size(), 6);
  m.SetPosition(2);
  char buf[4] = {};
  m.ReadBuffer(buf, 3);
  EXPECT_EQ(std::string(buf, 3), "cde");
  EXPECT_THROW(m.ReadBuffer(buf, 2), EReadError);
  m.Seek(-1, soEnd);
  EXPECT_EQ(m.Read(buf, 4), 1u);
  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);
}

TEST(Streams, MemoryStreamPositionsTheMemoryCannotHoldAreRefused) {
  TMemoryStream m;
  m.WriteBuffer("ab", 2);
  const int64_t farthest = sizeof(size_t) < 8 ? static_cast<int64_t>(SIZE_MAX) : INT64_MAX;
  EXPECT_EQ(m.Seek(farthest, soBeginning), farthest);
  EXPECT_THROW(m.Seek(INT64_MAX, soCurrent), EStreamError);
  EXPECT_THROW(m.WriteBuffer("x", 1), EWriteError);
  if (sizeof(size_t) < 8) {
    EXPECT_THROW(m.Seek(int64_t{1} << 32, soBeginning), EStreamError);
  }
  m.SetPosition(0);
  char buf[2];
  m.ReadBuffer(buf, 2);
  EXPECT_EQ(std::string(buf, 2), "ab");
  EXPECT_EQ(m.Size(), 2);
}

TEST(Streams, FileStreamRoundTripAndClearErrors) {
  char path[L_tmpnam + 16];
  std::snprintf(path, sizeof path, "fwtest-%d.bin", static_cast<int>(std::rand()));
  {
    TFileStream out(path, fmCreate);
    TMemoryStream source;
    std::string text(200000, 'x');
    source.WriteBuffer(text.data(), text.size());
    EXPECT_EQ(out.CopyFrom(source, 0), 200000);
    out.SetSize(150000);
    EXPECT_EQ(out.Size(), 150000);
  }
  {
    TFileStream in(path, fmOpenRead);
    EXPECT_EQ(in.Size(), 150000);
    EXPECT_EQ(in.Seek(10, soBeginning), 10);
  }
  std::remove(path);
  try {
    TFileStream missing(path, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("Cannot open file ") + path);
  }
  TStringList list;
  EXPECT_THROW(list.LoadFromFile(path), EInOutError);
}

class TPair : public TCollectionItem {
  FW_CLASS(TPair, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Key;
  void Assign(const TPersistent* Source) override {
    if (auto* p = dynamic_cast<const TPair*>(Source)) {
      Key = p->Key;
      return;
    }
    TCollectionItem::Assign(Source);
  }
};
const TClass& TPair::StaticClass() {
  static const TClass cls = TClassDef<TPair>().Creatable<TCollection>();
  return cls;
}

TEST(Collections, ItemsBelongToOneCollectionAndAssignCopiesThem) {
  TCollection first(TPair::StaticClass());
  static_cast<TPair*>(first.Add())->Key = "a";
  auto* b = static_cast<TPair*>(first.Add());
  b->Key = "b";
  EXPECT_EQ(b->Index(), 1);
  TCollection second(TPair::StaticClass());
  second.Assign(&first);
  ASSERT_EQ(second.Count(), 2);
  EXPECT_EQ(static_cast<TPair*>(second.Items(1))->Key, "b");
  EXPECT_NE(second.Items(1), b);
  b->SetCollection(&second);  // moves
  EXPECT_EQ(first.Count(), 1);
  EXPECT_EQ(second.Count(), 3);
  delete b;
  EXPECT_EQ(second.Count(), 2);
  second.Delete(0);
  EXPECT_EQ(static_cast<TPair*>(second.Items(0))->Key, "b");
  EXPECT_THROW(second.Items(5), EListError);
}

TEST(StringList, AMoveThatCannotBeDoneLosesNoLine) {
  TStringList list;
  list.SetText("a\nb\nc");
  list.Move(0, 2);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"b", "c", "a"}));
  list.Move(2, 0);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_THROW(list.Move(0, 3), EStringListError);
  EXPECT_THROW(list.Move(1, -1), EStringListError);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c"}));
  list.SetSorted(true);
  EXPECT_THROW(list.Move(0, 1), EStringListError);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StringList, AMovedLineKeepsTheObjectItOwns) {
  TStringList list;
  list.SetOwnsObjects(true);
  auto* owned = new TStringList;
  owned->Add("inside");
  list.Add("x");
  list.AddObject("y", owned);
  list.Move(1, 0);
  ASSERT_EQ(list.Objects(0), owned);
  EXPECT_EQ(static_cast<TStringList*>(list.Objects(0))->Get(0), "inside");
  EXPECT_EQ(list.Objects(1), nullptr);
}

TEST(FormatText, WidthAndPrecisionAreBoundedAndParsedWithoutOverflow) {
  EXPECT_EQ(Format("%1024s", "x").size(), 1024u);
  EXPECT_EQ(Format("%.1024f", 1.0).size(), 1026u);
  EXPECT_EQ(Format("%-600d|", 5).size(), 601u);  // beyond the old fixed buffer
  EXPECT_EQ(Format("%1024.1024f", 1e300).size(), 301u + 1u + 1024u);
  for (const char* fmt : {"%9000000000000000s", "%2000000000s", "%1025s", "%.999999999f", "%.1025d",
                          "%99999999999999999999d", "%.9000000000000000000000s"}) {
    SCOPED_TRACE(fmt);
    EXPECT_EQ(fw::testing::ErrorText<EConvertError>([&] { Format(fmt, "text"); }),
              std::string("Format '") + fmt + "' asks for a width or precision above 1024");
  }
}

TEST(FormatText, ANulByteIsNeitherAFlagNorASizePrefix) {
  using namespace std::string_literals;
  EXPECT_THROW(Format("%\0d"s, 5), EConvertError);
  EXPECT_THROW(Format("%5\0d"s, 5), EConvertError);
  EXPECT_EQ(Format("a\0%d"s, 5),
            "a\0"
            "5"s);
}

}  // namespace
