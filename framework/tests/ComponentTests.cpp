#include <gtest/gtest.h>

#include <memory>

#include "core/ClassDef.h"

using namespace fw;

namespace {

// Records every notification it receives.
class TWatcher : public TComponent {
  FW_CLASS(TWatcher, TComponent)
 public:
  using TComponent::TComponent;
  std::vector<std::pair<std::string, TOperation>> Seen;  // names of the components
  TComponent* Ref = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Seen.emplace_back(AComponent->Name(), Operation);
    if (Operation == opRemove && AComponent == Ref) Ref = nullptr;
  }
};

const TClass& TWatcher::StaticClass() {
  static const TClass cls = TClassDef<TWatcher>().Creatable();
  return cls;
}

TEST(ComponentNames, MustBeIdentifiersUniqueAmongTheOwnersComponents) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* a = new TComponent(owner.get());
  auto* b = new TComponent(owner.get());
  a->SetName("Button1");
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  try {
    b->SetName("1Button");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "'1Button' is not a valid component name");
  }
  try {
    b->SetName("Button1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "A component named Button1 already exists");
  }
  EXPECT_EQ(b->Name(), "");
  a->SetName("BUTTON1");  // renaming itself with other case is fine
  b->SetName("Button2");
  EXPECT_EQ(owner->FindComponent("button2"), b);
  EXPECT_EQ(owner->FindComponent("Nothing"), nullptr);
  // A component that joins an owner with a clashing name is refused.
  auto other = std::make_unique<TComponent>(nullptr);
  auto* c = new TComponent(other.get());
  c->SetName("Button2");
  EXPECT_THROW(owner->InsertComponent(c), EComponentError);
  EXPECT_EQ(c->Owner(), other.get());  // still owned, and freed, by its old owner
}

TEST(ComponentOwnership, OwnerFreesItsComponentsAndDeletingOneDetachesIt) {
  auto owner = std::make_unique<TWatcher>(nullptr);
  auto* a = new TWatcher(owner.get());
  auto* b = new TWatcher(owner.get());
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(b->ComponentIndex(), 1);
  a->Ref = b;
  delete b;  // a hears of it through the common owner
  EXPECT_EQ(a->Ref, nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_THROW(owner->Components(1), EListError);
}

TEST(ComponentNotifications, InsertAndRemoveReachOwnerAndSiblings) {
  auto owner = std::make_unique<TWatcher>(nullptr);
  auto* first = new TWatcher(owner.get());
  auto* second = new TWatcher(nullptr);
  second->SetName("Second");
  owner->InsertComponent(second);
  ASSERT_FALSE(first->Seen.empty());
  EXPECT_EQ(first->Seen.back(), std::make_pair(std::string("Second"), opInsert));
  EXPECT_EQ(owner->Seen.back(), std::make_pair(std::string("Second"), opInsert));
  delete second;
  EXPECT_EQ(first->Seen.back(), std::make_pair(std::string("Second"), opRemove));
}

TEST(ComponentNotifications, FreeNotificationCrossesOwners) {
  auto formA = std::make_unique<TComponent>(nullptr);
  auto formB = std::make_unique<TComponent>(nullptr);
  auto* watcher = new TWatcher(formA.get());
  auto* target = new TWatcher(formB.get());
  watcher->Ref = target;
  target->FreeNotification(watcher);
  delete target;
  EXPECT_EQ(watcher->Ref, nullptr);
  // After RemoveFreeNotification nothing is sent any more.
  auto* target2 = new TWatcher(formB.get());
  target2->FreeNotification(watcher);
  target2->RemoveFreeNotification(watcher);
  size_t before = watcher->Seen.size();
  delete target2;
  EXPECT_EQ(watcher->Seen.size(), before);
  // The watcher going first leaves no dangling entry in the target's list.
  auto* target3 = new TWatcher(formB.get());
  target3->FreeNotification(watcher);
  delete watcher;
  delete target3;
}

TEST(ComponentState, LoadingIsClearedByLoadedAndDesigningReachesOwnedComponents) {
  auto owner = std::make_unique<TComponent>(nullptr);
  owner->BeginLoading();
  EXPECT_TRUE(owner->ComponentState().Contains(csLoading));
  EXPECT_TRUE(owner->ComponentState().Contains(csReading));
  owner->EndReading();
  owner->Loaded();
  EXPECT_TRUE(owner->ComponentState().Empty());
  owner->SetDesigning(true);
  auto* child = new TComponent(owner.get());
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
}

TEST(ClassRegistry, FindsRegisteredClassesByNameAndCreatesThem) {
  RegisterClass(TWatcher::StaticClass());
  EXPECT_EQ(GetClass("twatcher"), &TWatcher::StaticClass());
  EXPECT_EQ(GetClass("TNothing"), nullptr);
  try {
    FindClass("TNothing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TNothing not found");
  }
  auto owner = std::make_unique<TComponent>(nullptr);
  TComponent* made = FindClass("TWatcher").CreateComponent(owner.get());
  EXPECT_EQ(made->Owner(), owner.get());
  EXPECT_EQ(made->ClassName(), "TWatcher");
  EXPECT_TRUE(made->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(owner->InheritsFrom(TWatcher::StaticClass()));
  EXPECT_THROW(TComponent::StaticClass().CreateComponent(nullptr), EClassNotFound);
}

}  // namespace
