#include <gtest/gtest.h>

#include <memory>

#include "ObjectTestSupport.h"
#include "objects/InstallLists.h"
#include "paths/ContainerDestDir.h"

using namespace setup;
using namespace setup::testing;

namespace {

std::vector<TInstallContainer*> HelpersOf(const TInstallContainer& C) {
  return C.Helpers();
}

TEST(HelperOrder, CategoriesAscendNewcomersGoFirstInTheirCategoryAndBDELeads) {
  fw::TComponent owner(nullptr);
  auto* root = new TTestObject(&owner, rtFileContainer);
  auto* fileA = new TTestObject(&owner, rtInstallFile);
  auto* fileB = new TTestObject(&owner, rtInstallFile);
  auto* link = new TTestObject(&owner, rtShellLink);
  auto* group = new TTestObject(&owner, rtGroup);
  auto* registry = new TTestObject(&owner, rtRegistry);
  fileA->SetContainer(root);
  link->SetContainer(root);
  fileB->SetContainer(root);
  registry->SetContainer(root);
  group->SetContainer(root);
  EXPECT_EQ(HelpersOf(*root), (std::vector<TInstallContainer*>{group, fileB, fileA, link, registry}));
  auto* bde = new TInstallBDE(&owner);
  bde->SetContainer(root);
  EXPECT_EQ(root->GetHelper(0), bde);
  EXPECT_EQ(root->GetHelperCount(), 6);
  // Adding an object that is there already changes nothing.
  root->AddHelperComponent(fileA);
  EXPECT_EQ(root->GetHelperCount(), 6);
}

TEST(HelperOrder, IndexErrorsNameTheComponent) {
  fw::TComponent owner(nullptr);
  auto* root = new TTestObject(&owner, rtFileContainer);
  root->SetName("Root");
  (new TTestObject(&owner, rtFileContainer))->SetContainer(root);
  (new TTestObject(&owner, rtFileContainer))->SetContainer(root);
  (new TRelayObject(&owner, rtInstallFile))->SetContainer(root);
  try {
    root->GetHelper(3);
    ADD_FAILURE();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(
        e.what(),
        "Tried to reference a helper component in the following component: Root. The following index was used: 3");
  }
  EXPECT_THROW(root->GetHelper(-1), IEInstallContainer);
  EXPECT_EQ(root->CompCount(TTestObject::StaticClass()), 3);
  EXPECT_EQ(root->CompCount(TRelayObject::StaticClass()), 1);
  EXPECT_EQ(root->Comp(2, TTestObject::StaticClass()), root->GetHelper(2));
  try {
    root->Comp(3, TTestObject::StaticClass());
    ADD_FAILURE();
  } catch (const IEInstallContainer& e) {
    EXPECT_EQ(
        std::string(e.what()).rfind("Bad call to the Comp procedure which returns a TInstallObject for a "
                                    "TInstallContainer component. The parameters are probably reversed. Index: 3, "
                                    "ComponentType: ",
                                    0),
        0u)
        << e.what();
  }
  TInstallContainer base(nullptr);
  base.SetName("Base");
  try {
    base.RegisteredType();
    ADD_FAILURE();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(e.what(), "Class must declare a registered type");
  }
  try {
    root->AddHelperComponent(nullptr);
    ADD_FAILURE();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(e.what(), "Cannot add a blank base helper component to Root");
  }
}

TEST(CircularReferences, AreRefusedAndChangeNothing) {
  fw::TComponent owner(nullptr);
  auto* a = new TTestObject(&owner, rtFileContainer);
  auto* b = new TTestObject(&owner, rtFileContainer);
  auto* c = new TTestObject(&owner, rtFileContainer);
  b->SetContainer(a);
  c->SetContainer(b);
  auto expectCircular = [](auto&& operation) {
    try {
      operation();
      ADD_FAILURE();
    } catch (const IEInstallContainer& e) {
      EXPECT_STREQ(e.what(), "Circular reference");
    }
  };
  expectCircular([&] { a->SetContainer(c); });
  expectCircular([&] { a->SetContainer(a); });
  expectCircular([&] { c->AddHelperComponent(a); });
  expectCircular([&] { b->SetContainer(c); });
  EXPECT_EQ(a->Container(), nullptr);
  EXPECT_EQ(b->Container(), a);
  EXPECT_EQ(HelpersOf(*a), (std::vector<TInstallContainer*>{b}));
  EXPECT_EQ(HelpersOf(*b), (std::vector<TInstallContainer*>{c}));
  EXPECT_TRUE(c->Helpers().empty());
}

TEST(Containers, MovingAndLeavingAndNil) {
  fw::TComponent owner(nullptr);
  auto* first = new TTestObject(&owner, rtFileContainer);
  auto* second = new TTestObject(&owner, rtFileContainer);
  auto* file = new TTestObject(&owner);
  file->SetContainer(nullptr);  // nothing to leave, nothing to join
  EXPECT_EQ(file->Container(), nullptr);
  EXPECT_TRUE(file->ContainerAssigned());
  file->SetContainer(first);
  file->SetContainer(second);
  EXPECT_TRUE(first->Helpers().empty());
  EXPECT_EQ(HelpersOf(*second), (std::vector<TInstallContainer*>{file}));
  file->SetContainer(nullptr);
  EXPECT_TRUE(second->Helpers().empty());
  EXPECT_EQ(file->Container(), nullptr);
  first->RemoveHelperComponent(nullptr);
}

TEST(Containers, DestroyingEitherSideDropsTheReference) {
  fw::TComponent owner(nullptr);
  auto* container = new TTestObject(&owner, rtFileContainer);
  auto* kept = new TTestObject(&owner);
  auto* gone = new TTestObject(&owner);
  kept->SetContainer(container);
  gone->SetContainer(container);
  gone->Free();
  EXPECT_EQ(HelpersOf(*container), (std::vector<TInstallContainer*>{kept}));
  container->Free();
  EXPECT_EQ(kept->Container(), nullptr);
}

TEST(Containers, FreeHelpersOfClassFreesOnlyThatClass) {
  fw::TComponent owner(nullptr);
  auto* container = new TTestObject(&owner, rtFileContainer);
  auto* plain = new TTestObject(&owner);
  (new TRelayObject(&owner))->SetContainer(container);
  plain->SetContainer(container);
  (new TRelayObject(&owner, rtShellLink))->SetContainer(container);
  int before = owner.ComponentCount();
  container->FreeHelpersOfClass(TRelayObject::StaticClass());
  EXPECT_EQ(HelpersOf(*container), (std::vector<TInstallContainer*>{plain}));
  EXPECT_EQ(owner.ComponentCount(), before - 2);
}

TEST(Containers, SelectedInstallTypeReachesTheWholeTree) {
  fw::TComponent owner(nullptr);
  auto* root = new TTestObject(&owner, rtFileContainer);
  auto* middle = new TTestObject(&owner, rtFileContainer);
  auto* leaf = new TTestObject(&owner);
  middle->SetContainer(root);
  leaf->SetContainer(middle);
  root->SetSelectedInstallType(itCompact);
  EXPECT_EQ(leaf->SelectedInstallType(), itCompact);
  EXPECT_EQ(middle->SelectedInstallType(), itCompact);
  leaf->SetInstallTypes({});
  EXPECT_EQ(leaf->InstallTypes(), TInstallTypeSet{itFull});
}

// On a form, an object's container folder comes from the standard specifier.
TEST(Containers, OnAFormTheContainerFolderIsTheDefaultDestination) {
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  auto* root = new TTestObject(form.get(), rtFileContainer);
  auto* file = new TTestObject(form.get());
  auto* specifier = dynamic_cast<TpsContainerDestDir*>(form->FindComponent("psContainerDestDir"));
  ASSERT_NE(specifier, nullptr);
  (void)new TTestObject(form.get());
  EXPECT_EQ(form->FindComponent("psContainerDestDir1"), nullptr);  // one per form
  root->SetDestDir("C:\\Apps\\Product\\");
  file->SetDestDir("\\stale");
  file->SetContainer(root);
  EXPECT_EQ(file->DestDirType(), specifier);
  EXPECT_EQ(file->DestDir(), "");
  file->SetDestDir("\\Bin\\");
  EXPECT_EQ(file->GetFullDestDir(), "C:\\Apps\\Product\\Bin");
  file->SetContainer(nullptr);
  EXPECT_EQ(file->DestDirType(), nullptr);
  // The specifier refuses an object without a container.
  try {
    file->SetName("Loose");
    file->SetDestDirType(specifier);
    ADD_FAILURE();
  } catch (const IEPathSpecifier& e) {
    EXPECT_STREQ(e.what(), "Cannot use ddContainerDestDir for Loose unless you assign a Container");
  }
  // A specifier that goes is forgotten.
  file->SetContainer(root);
  specifier->Free();
  EXPECT_EQ(file->DestDirType(), nullptr);
}

TEST(Containers, DefaultsOfADesignTimeConstructorAreDroppedUnlessStored) {
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  form->SetDesigning(true);
  auto* engine = new TTestEngine(form.get());
  auto* unassigned = new TTestObject(form.get());
  auto* assigned = new TTestObject(form.get());
  EXPECT_EQ(unassigned->Container(), engine);
  EXPECT_TRUE(unassigned->ContainerDefaulted());
  EXPECT_NE(unassigned->DestDirType(), nullptr);
  EXPECT_EQ(HelpersOf(*engine), (std::vector<TInstallContainer*>{assigned, unassigned}));
  assigned->BeginLoading();
  assigned->SetContainer(engine);  // what a stored configuration does
  assigned->SetDestDirType(unassigned->DestDirType());
  assigned->Loaded();
  unassigned->BeginLoading();
  unassigned->Loaded();
  EXPECT_EQ(unassigned->Container(), nullptr);
  EXPECT_EQ(unassigned->DestDirType(), nullptr);
  EXPECT_FALSE(unassigned->ContainerDefaulted());
  EXPECT_EQ(assigned->Container(), engine);
  EXPECT_NE(assigned->DestDirType(), nullptr);
  EXPECT_EQ(HelpersOf(*engine), (std::vector<TInstallContainer*>{assigned}));
}

TEST(GlobalLists, ObjectsJoinAndLeaveAndBlankEntriesAreRefused) {
  TInstallContainerList* all = AllInstallObjects();
  ASSERT_NE(all, nullptr);
  int before = all->Count();
  {
    fw::TComponent owner(nullptr);
    auto* object = new TTestObject(&owner);
    EXPECT_EQ(all->Count(), before + 1);
    EXPECT_EQ(all->GetItem(before), object);
  }
  EXPECT_EQ(all->Count(), before);
  try {
    all->Add(nullptr);
    ADD_FAILURE();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(e.what(), "Cannot add a blank entry to the TInstallContainerList object");
  }
  try {
    AllInstallFiles()->Add(nullptr);
    ADD_FAILURE();
  } catch (const IEInstallContainer& e) {
    EXPECT_STREQ(e.what(), "Cannot add a blank entry to the TCustomInstallFileList object");
  }
  EXPECT_NE(SharedArchive(), nullptr);
  EXPECT_NE(FailedRegistrationFiles(), nullptr);
  EXPECT_EQ(UsedIDTable()->Used.size(), 2000u);
}

// A directory as the container sees it: it answers that it is a file container.
class TTestDirectory : public TTestObject {
 public:
  explicit TTestDirectory(fw::TComponent* AOwner) : TTestObject(AOwner, rtFileContainer) {}
  bool IsFileContainer() const override { return true; }
};

TEST(Containers, FileContainersAreCountedAndPickedAmongTheHelpers) {
  fw::TComponent owner(nullptr);
  auto* root = new TTestObject(&owner, rtFileContainer);
  auto* first = new TTestDirectory(&owner);
  new TTestObject(&owner, rtFileContainer);  // a container that is no directory
  auto* second = new TTestDirectory(&owner);
  for (fw::TComponent* c : {owner.Components(1), owner.Components(2), owner.Components(3)})
    static_cast<TInstallObject*>(c)->SetContainer(root);
  EXPECT_EQ(root->GetFileContainerCount(), 2);
  // Newcomers go first in their category.
  EXPECT_EQ(root->GetFileContainer(0), second);
  EXPECT_EQ(root->GetFileContainer(1), first);
  EXPECT_THROW(root->GetFileContainer(2), IEInstallContainer);
}

}  // namespace
