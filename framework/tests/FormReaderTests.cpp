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
  std::string CompanyName = "My Company";
  std::string Version = "1.0";
};
const TClass& TTestInfo::StaticClass() {
  static const TClass cls = TClassDef<TTestInfo>()
                                .String("CompanyName", &TTestInfo::CompanyName, &TTestInfo::CompanyName)
                                .String("Version", &TTestInfo::Version, &TTestInfo::Version);
  return cls;
}

class TTestItem : public TCollectionItem {
  FW_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Ident;
  int Value = 0;
};
const TClass& TTestItem::StaticClass() {
  static const TClass cls = TClassDef<TTestItem>()
                                .Creatable<TCollection>()
                                .String("Ident", &TTestItem::Ident, &TTestItem::Ident)
                                .Integer("Value", &TTestItem::Value, &TTestItem::Value);
  return cls;
}

using TPingEvent = TMethodPtr<void(TObject* Sender, int& Count)>;

class TTestPart : public TComponent {
  FW_CLASS(TTestPart, TComponent)
 public:
  explicit TTestPart(TComponent* AOwner) : TComponent(AOwner), Items(TTestItem::StaticClass()) {
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
    BuddyAtLoaded = Buddy;
  }

  bool ConstructedWhileLoading = false;
  bool SizeSetWhileLoading = false;
  double Ratio = 0;
  bool Flag = false;
  std::string Caption;
  TPartKind Kind = TPartKind::pkSmall;
  TSet<TPartKind> Kinds;
  TTestPart* Buddy = nullptr;
  TTestPart* BuddyAtLoaded = nullptr;
  TTestInfo Information;
  TStringList Lines;
  std::vector<uint8_t> Data;
  TCollection Items;
  TPingEvent OnPing;
  TNotifyEvent OnClick;
  int Color = 0;
  TComponent* ParentSeen = nullptr;

  void SetParentComponent(TComponent* Value) override { ParentSeen = Value; }

 private:
  int FSize = 0;
};

const TClass& TTestPart::StaticClass() {
  using T = TTestPart;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Integer("Size", &T::Size, &T::SetSize)
                                .Float("Ratio", &T::Ratio, &T::Ratio)
                                .Boolean("Flag", &T::Flag, &T::Flag)
                                .String("Caption", &T::Caption, &T::Caption)
                                .Enum("Kind", kPartKinds, &T::Kind, &T::Kind)
                                .Set("Kinds", kPartKinds, &T::Kinds, &T::Kinds)
                                .Component("Buddy", &T::Buddy, &T::Buddy)
                                .Object("Information", [](const T* t) { return &t->Information; })
                                .Object("Lines", [](const T* t) { return &t->Lines; })
                                .Binary("Data", &T::Data, &T::Data)
                                .Object("Items", [](const T* t) { return &t->Items; })
                                .Event("OnPing", &T::OnPing)
                                .Event("OnClick", &T::OnClick)
                                .Integer("Color", &T::Color, &T::Color, PartColorIdent);
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
  static const TClass cls = TClassDef<TTestForm>()
                                .Creatable()
                                .Method("Ping", &TTestForm::Ping)
                                .Field("First", &TTestForm::First);
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
  EXPECT_DOUBLE_EQ(first->Ratio, 2.5);
  EXPECT_TRUE(first->Flag);
  EXPECT_EQ(first->Caption, "It's ABC\xF1");
  EXPECT_EQ(first->Kind, TPartKind::pkHuge);
  EXPECT_EQ(first->Kinds, (TSet<TPartKind>{TPartKind::pkSmall, TPartKind::pkHuge}));
  EXPECT_EQ(first->Information.CompanyName, "Kavel Software");
  EXPECT_EQ(first->Information.Version, "1.0");
  EXPECT_EQ(first->Lines.ToVector(), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(first->Data, (std::vector<uint8_t>{0x0A, 0xFF, 0x10}));
  ASSERT_EQ(first->Items.Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(first->Items.Items(0))->Ident, "A.EXE");
  EXPECT_EQ(static_cast<TTestItem*>(first->Items.Items(0))->Value, 1);
  EXPECT_EQ(static_cast<TTestItem*>(first->Items.Items(1))->Ident, "B.EXE");
  EXPECT_EQ(first->Color, 0xFF);
  ASSERT_TRUE(first->OnPing);
  int count = 1;
  first->OnPing(first, count);
  EXPECT_EQ(count, 11);

  auto* second = static_cast<TTestPart*>(form->FindComponent("Second"));
  auto* inner = static_cast<TTestPart*>(form->FindComponent("Inner"));
  EXPECT_EQ(first->Buddy, second);  // a forward reference
  EXPECT_EQ(inner->Buddy, first);   // Owner.Name form
  EXPECT_EQ(second->Color, 0xFF00);
  EXPECT_TRUE(second->Kinds.Empty());
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

TEST(ClassProperties, StringPropertiesIncludeInheritedOnesAndCanBeSetByName) {
  std::vector<std::string> names;
  for (const TPropInfo* p : TTestPart::StaticClass().Properties())
    if (p->Kind == TTypeKind::String) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Caption"}));
  TTestPart part(nullptr);
  const TPropInfo* caption = part.ClassType().FindProperty("caption");
  ASSERT_NE(caption, nullptr);
  caption->SetStr(&part, "Hello");
  EXPECT_EQ(part.Caption, "Hello");
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
