#include <gtest/gtest.h>

#include <memory>

#include "core/ClassDef.h"
#include "core/Collections.h"
#include "core/FormReader.h"
#include "core/Strings.h"
#include "tests/ErrorText.h"

using namespace fw;

namespace {

std::vector<std::string> gLoadedOrder;

enum class TPartKind { pkSmall, pkLarge, pkHuge };
const TEnumInfo kPartKinds{"TPartKind", {"pkSmall", "pkLarge", "pkHuge"}};
// More names than a set can hold: w0 ... w69.
const TEnumInfo kWideKinds{"TWideKind", [] {
                             std::vector<std::string> names;
                             for (int i = 0; i < 70; ++i) names.push_back(std::string(1, 'w').append(std::to_string(i)));
                             return names;
                           }()};

bool PartColorIdent(std::string_view ident, long long& value) {
  if (SameText(ident, "clRed")) {
    value = 0x0000FF;
    return true;
  }
  return false;
}

class TTestInfo : public TPersistent {
  FW_CLASS(TTestInfo, TPersistent)
 public:
  const std::string& CompanyName() const { return FCompanyName; }
  void SetCompanyName(const std::string& Value) { FCompanyName = Value; }
  const std::string& Version() const { return FVersion; }
  void SetVersion(const std::string& Value) { FVersion = Value; }

 private:
  std::string FCompanyName = "My Company";
  std::string FVersion = "1.0";
};
const TClass& TTestInfo::StaticClass() {
  static const TClass cls = TClassDef<TTestInfo>()
                                .String("CompanyName", &TTestInfo::CompanyName, &TTestInfo::SetCompanyName)
                                .String("Version", &TTestInfo::Version, &TTestInfo::SetVersion);
  return cls;
}

class TTestPart;
using TPingEvent = TMethodPtr<void(TObject* Sender, int& Count)>;

class TTestItem : public TCollectionItem {
  FW_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const std::string& Ident() const { return FIdent; }
  void SetIdent(const std::string& Value) { FIdent = Value; }
  int Value() const { return FValue; }
  void SetValue(int Value) { FValue = Value; }
  TTestPart* Target() const { return FTarget; }
  void SetTarget(TTestPart* Value) { FTarget = Value; }
  TPingEvent OnPing;

 private:
  std::string FIdent;
  int FValue = 0;
  TTestPart* FTarget = nullptr;
};
const TClass& TTestItem::StaticClass() {
  static const TClass cls = TClassDef<TTestItem>()
                                .Creatable<TCollection>()
                                .String("Ident", &TTestItem::Ident, &TTestItem::SetIdent)
                                .Integer("Value", &TTestItem::Value, &TTestItem::SetValue)
                                .Component("Target", &TTestItem::Target, &TTestItem::SetTarget)
                                .Event("OnPing", &TTestItem::OnPing);
  return cls;
}

class TTestPart : public TComponent {
  FW_CLASS(TTestPart, TComponent)
 public:
  explicit TTestPart(TComponent* AOwner) : TComponent(AOwner), FItems(TTestItem::StaticClass()) {
    ConstructedWhileLoading = IsLoading();
  }
  int Size() const { return FSize; }
  void SetSize(int Value) {
    FSize = Value;
    SizeSetWhileLoading = IsLoading();
  }
  void Loaded() override {
    TComponent::Loaded();
    gLoadedOrder.push_back(Name());
    BuddyAtLoaded = FBuddy;
  }

  bool ConstructedWhileLoading = false;
  bool SizeSetWhileLoading = false;
  TTestPart* BuddyAtLoaded = nullptr;
  TComponent* ParentSeen = nullptr;
  TPingEvent OnPing;
  TNotifyEvent OnClick;

  double Ratio() const { return FRatio; }
  void SetRatio(double Value) { FRatio = Value; }
  bool Flag() const { return FFlag; }
  void SetFlag(bool Value) { FFlag = Value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  TPartKind Kind() const { return FKind; }
  void SetKind(TPartKind Value) { FKind = Value; }
  TSet<TPartKind> Kinds() const { return FKinds; }
  void SetKinds(TSet<TPartKind> Value) { FKinds = Value; }
  TTestPart* Buddy() const { return FBuddy; }
  void SetBuddy(TTestPart* Value) { FBuddy = Value; }
  TTestInfo& Information() { return FInformation; }
  const TTestInfo& Information() const { return FInformation; }
  TStringList& Lines() { return FLines; }
  const TStringList& Lines() const { return FLines; }
  std::vector<uint8_t> Data() const { return FData; }
  void SetData(const std::vector<uint8_t>& Value) { FData = Value; }
  TCollection& Items() { return FItems; }
  const TCollection& Items() const { return FItems; }
  int Color() const { return FColor; }
  void SetColor(int Value) { FColor = Value; }

  void SetParentComponent(TComponent* Value) override { ParentSeen = Value; }

 private:
  int FSize = 0;
  double FRatio = 0;
  bool FFlag = false;
  std::string FCaption;
  TPartKind FKind = TPartKind::pkSmall;
  TSet<TPartKind> FKinds;
  TTestPart* FBuddy = nullptr;
  TTestInfo FInformation;
  TStringList FLines;
  std::vector<uint8_t> FData;
  TCollection FItems;
  int FColor = 0;
};

const TClass& TTestPart::StaticClass() {
  using T = TTestPart;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Integer("Size", &T::Size, &T::SetSize)
                                .Float("Ratio", &T::Ratio, &T::SetRatio)
                                .Boolean("Flag", &T::Flag, &T::SetFlag)
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Enum("Kind", kPartKinds, &T::Kind, &T::SetKind)
                                .Set("Kinds", kPartKinds, &T::Kinds, &T::SetKinds)
                                .Set("WideKinds", kWideKinds, &T::Kinds, &T::SetKinds)
                                .Component("Buddy", &T::Buddy, &T::SetBuddy)
                                .Object("Information", [](const T* t) { return &t->Information(); })
                                .Object("Lines", [](const T* t) { return &t->Lines(); })
                                .Binary("Data", &T::Data, &T::SetData)
                                .Object("Items", [](const T* t) { return &t->Items(); })
                                .Event("OnPing", &T::OnPing)
                                .Event("OnClick", &T::OnClick)
                                .Integer("Color", &T::Color, &T::SetColor, PartColorIdent);
  return cls;
}

class TTestForm : public TComponent {
  FW_CLASS(TTestForm, TComponent)
 public:
  using TComponent::TComponent;
  TTestPart* First = nullptr;
  void Ping(TObject* Sender, int& Count) { Count += 10; }
  void Loaded() override {
    TComponent::Loaded();
    gLoadedOrder.push_back(Name());
  }
};

const TClass& TTestForm::StaticClass() {
  static const TClass cls =
      TClassDef<TTestForm>().Creatable().Method("Ping", &TTestForm::Ping).Field("First", &TTestForm::First);
  return cls;
}

class FormReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses({&TTestPart::StaticClass(), &TTestForm::StaticClass()});
    gLoadedOrder.clear();
  }
  std::unique_ptr<TTestForm> Load(const std::string& text) {
    auto form = std::make_unique<TTestForm>(nullptr);
    ReadComponentFromText(form.get(), text, "TTESTFORM");
    return form;
  }
  std::string LoadError(const std::string& text) {
    return fw::testing::ErrorText<EReadError>([&] { Load(text); });
  }
};

const char* kFullForm = R"(object Form1: TTestForm
  Tag = 7
  object First: TTestPart
    Size = -12
    Ratio = 2.5
    Flag = True
    Caption = 'It''s '#65'B' +
      'C'#241
    Kind = pkHuge
    Kinds = [pkSmall, pkHuge]
    Buddy = Second
    Information.CompanyName = 'Kavel Software'
    Lines.Strings = (
      'one'
      ''
      'three')
    Data = {0aFF
      10}
    Items = <
      item
        Ident = 'A.EXE'
        Value = 1
      end
      item
        Ident = 'B.EXE'
      end>
    OnPing = Ping
    Color = clRed
    object Inner: TTestPart
      Buddy = Form1.First
    end
  end
  object Second: TTestPart
    Kinds = []
    Color = $FF00
  end
end
)";

TEST_F(FormReaderTest, EveryKindOfValueReachesItsProperty) {
  auto form = Load(kFullForm);
  EXPECT_EQ(form->Name(), "Form1");
  EXPECT_EQ(form->Tag(), 7);
  ASSERT_EQ(form->ComponentCount(), 3);
  auto* first = form->First;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Name(), "First");
  EXPECT_EQ(first->Size(), -12);
  EXPECT_DOUBLE_EQ(first->Ratio(), 2.5);
  EXPECT_TRUE(first->Flag());
  EXPECT_EQ(first->Caption(), "It's ABC\xF1");
  EXPECT_EQ(first->Kind(), TPartKind::pkHuge);
  EXPECT_EQ(first->Kinds(), (TSet<TPartKind>{TPartKind::pkSmall, TPartKind::pkHuge}));
  EXPECT_EQ(first->Information().CompanyName(), "Kavel Software");
  EXPECT_EQ(first->Information().Version(), "1.0");
  EXPECT_EQ(first->Lines().ToVector(), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(first->Data(), (std::vector<uint8_t>{0x0A, 0xFF, 0x10}));
  ASSERT_EQ(first->Items().Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(first->Items().Items(0))->Ident(), "A.EXE");
  EXPECT_EQ(static_cast<TTestItem*>(first->Items().Items(0))->Value(), 1);
  EXPECT_EQ(static_cast<TTestItem*>(first->Items().Items(1))->Ident(), "B.EXE");
  EXPECT_EQ(first->Color(), 0xFF);
  ASSERT_TRUE(first->OnPing);
  int count = 1;
  first->OnPing(first, count);
  EXPECT_EQ(count, 11);

  auto* second = static_cast<TTestPart*>(form->FindComponent("Second"));
  auto* inner = static_cast<TTestPart*>(form->FindComponent("Inner"));
  EXPECT_EQ(first->Buddy(), second);  // a forward reference
  EXPECT_EQ(inner->Buddy(), first);   // Owner.Name form
  EXPECT_EQ(second->Color(), 0xFF00);
  EXPECT_TRUE(second->Kinds().Empty());
  // Everything belongs to the form; nesting gives the parent.
  EXPECT_EQ(inner->Owner(), form.get());
  EXPECT_EQ(inner->ParentSeen, first);
  EXPECT_EQ(first->ParentSeen, form.get());
}

TEST_F(FormReaderTest, LoadingStateSpansConstructionAndSettersAndEndsAtLoaded) {
  auto form = Load(kFullForm);
  auto* first = form->First;
  EXPECT_TRUE(first->ConstructedWhileLoading);
  EXPECT_TRUE(first->SizeSetWhileLoading);
  // References are resolved before any Loaded runs; root first, then creation order.
  EXPECT_EQ(first->BuddyAtLoaded, form->FindComponent("Second"));
  EXPECT_EQ(gLoadedOrder, (std::vector<std::string>{"Form1", "First", "Inner", "Second"}));
  for (int i = 0; i < form->ComponentCount(); ++i) EXPECT_TRUE(form->Components(i)->ComponentState().Empty());
  EXPECT_TRUE(form->ComponentState().Empty());
  first->SetSize(3);
  EXPECT_FALSE(first->SizeSetWhileLoading);
  // A component made in code afterwards is not loading.
  TTestPart later(form.get());
  EXPECT_FALSE(later.ConstructedWhileLoading);
}

TEST_F(FormReaderTest, ErrorsNameTheResourceTheLineAndTheProperty) {
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TNoSuchClass\n  end\nend"),
            "Error reading TTESTFORM, line 2: Class TNoSuchClass not found");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n\n    Sizes = 1\n  end\nend"),
            "Error reading TTESTFORM, line 4, property Sizes: TTestPart has no property Sizes");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Buddy = Nobody\n  end\nend"),
            "Error reading TTESTFORM, line 3, property Buddy: component Nobody not found");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Kind = pkTiny\n  end\nend"),
            "Error reading TTESTFORM, line 3, property Kind: pkTiny is not a value of TPartKind");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Information.Nothing = 'x'\n  end\nend"),
            "Error reading TTESTFORM, line 3, property Information.Nothing: TTestInfo has no property Nothing");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Size = 'ten'\n  end\nend"),
            "Error reading TTESTFORM, line 3, property Size: a integer property cannot take a string value");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    OnPing = Pong\n  end\nend"),
            "Error reading TTESTFORM, line 3, property OnPing: TTestForm has no handler Pong");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    OnClick = Ping\n  end\nend"),
            "Error reading TTESTFORM, line 3, property OnClick: the handler Ping does not fit the event");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Caption = 'open\n  end\nend"),
            "Error reading TTESTFORM, line 3: unterminated string");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n  end\n  object A: TTestPart\n  end\nend"),
            "Error reading TTESTFORM, line 4, property Name: A component named A already exists");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Caption = 'x'#256\n  end\nend"),
            "Error reading TTESTFORM, line 3: character code above 255 in a string");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Buddy = F\n  end\nend"),
            "Error reading TTESTFORM, line 3, property Buddy: F is a TTestForm, not a TTestPart");
  EXPECT_EQ(LoadError("object F: TTestPart\nend"),
            "Error reading TTESTFORM, line 1: the description is of class TTestPart, not TTestForm");
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n"),
            "Error reading TTESTFORM, line 3: 'end' of A expected");
}

// A collection assigned twice: the items of the first assignment are freed by the
// second, and with them their pending references and events (the shape of a registry
// object's entries, whose items refer to a path specifier).
TEST_F(FormReaderTest, ACollectionAssignedTwiceDropsTheReferencesOfItsFreedItems) {
  const char* emptied = R"(object Form1: TTestForm
  object First: TTestPart
    Items = <
      item
        Target = Second
        OnPing = Ping
      end>
    Items = <>
  end
  object Second: TTestPart
  end
end)";
  auto form = Load(emptied);
  EXPECT_EQ(form->First->Items().Count(), 0);

  const char* replaced = R"(object Form1: TTestForm
  object First: TTestPart
    Items = <
      item
        Target = Second
      end
      item
        Target = First
        OnPing = Ping
      end>
    Items = <
      item
        Ident = 'new'
        Target = First
        OnPing = Ping
      end>
  end
  object Second: TTestPart
  end
end)";
  form = Load(replaced);
  ASSERT_EQ(form->First->Items().Count(), 1);
  auto* item = static_cast<TTestItem*>(form->First->Items().Items(0));
  EXPECT_EQ(item->Ident(), "new");
  EXPECT_EQ(item->Target(), form->First);
  ASSERT_TRUE(item->OnPing);
  int count = 0;
  item->OnPing(item, count);
  EXPECT_EQ(count, 10);
  // A reference that is no longer needed is not looked up either.
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    Items = <\n      item\n        Target = Nobody\n"
                      "      end>\n    Items = <>\n  end\nend"),
            "no error");
}

TEST(FormTextNumbers, HexadecimalNumbersHaveTheRangeOfDecimalOnes) {
  auto value = [](const std::string& text) {
    return ParseFormText("object A: TX\n  V = " + text + "\nend", "T").Properties.at(0).Value.Integer;
  };
  auto error = [](const std::string& text) {
    return fw::testing::ErrorText<EReadError>([&] { ParseFormText("object A: TX\n  V = " + text + "\nend", "T"); });
  };
  EXPECT_EQ(value("$FF00"), 0xFF00);
  EXPECT_EQ(value("-$10"), -16);
  EXPECT_EQ(value("$7FFFFFFFFFFFFFFF"), INT64_MAX);
  EXPECT_EQ(value("-$8000000000000000"), INT64_MIN);
  EXPECT_EQ(value("$00000000000000000000001"), 1);
  EXPECT_EQ(error("$8000000000000000"), "Error reading T, line 2: number out of range: $8000000000000000");
  EXPECT_EQ(error("$FFFFFFFFFFFFFFFF"), "Error reading T, line 2: number out of range: $FFFFFFFFFFFFFFFF");
  EXPECT_EQ(error("$10000000000000000"), "Error reading T, line 2: number out of range: $10000000000000000");
  EXPECT_EQ(error("-$8000000000000001"), "Error reading T, line 2: number out of range: -$8000000000000001");
  EXPECT_EQ(error("9223372036854775808"), "Error reading T, line 2: number out of range: 9223372036854775808");
  EXPECT_EQ(value("-9223372036854775808"), INT64_MIN);
}

TEST_F(FormReaderTest, ASetElementBeyondSixtyFourIsRefused) {
  auto form = Load("object F: TTestForm\n  object A: TTestPart\n    WideKinds = [w0, w63]\n  end\nend");
  EXPECT_EQ(static_cast<TTestPart*>(form->FindComponent("A"))->Kinds().Mask(), 0x8000000000000001ull);
  EXPECT_EQ(LoadError("object F: TTestForm\n  object A: TTestPart\n    WideKinds = [w64]\n  end\nend"),
            "Error reading TTESTFORM, line 3, property WideKinds: w64 lies beyond the 64 values a set can hold");
}

TEST(ClassProperties, StringPropertiesIncludeInheritedOnesAndCanBeSetByName) {
  std::vector<std::string> names;
  for (const TPropInfo* p : TTestPart::StaticClass().Properties())
    if (p->Kind == TTypeKind::String) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Caption"}));
  TTestPart part(nullptr);
  const TPropInfo* caption = part.ClassType().FindProperty("caption");
  ASSERT_NE(caption, nullptr);
  caption->SetStr(&part, "Hello");
  EXPECT_EQ(part.Caption(), "Hello");
  EXPECT_EQ(caption->GetStr(&part), "Hello");
  EXPECT_EQ(part.ClassType().FindProperty("Nothing"), nullptr);
}

}  // namespace

namespace {

TEST(FormTextLimits, DeepNestingIsRefusedWithAClearError) {
  std::string lists = "object A: TX\n  L = " + std::string(100000, '(') + "\nend";
  EXPECT_THROW(ParseFormText(lists, "T"), EReadError);
  std::string objects;
  for (int i = 0; i < 100; ++i) objects += "object A: TX\n";
  try {
    ParseFormText(objects, "T");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading T, line 65: nesting too deep");
  }
}

}  // namespace
