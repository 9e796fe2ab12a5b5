#include <gtest/gtest.h>

#include "gui/Forms.h"
#include "paths/ContainerDestDir.h"

using namespace setup;

namespace {

TEST(PathSpecifierLists, SpecifiersJoinAndLeaveAndAreFoundByClass) {
  TPathSpecifierList* all = PathSpecifiers();
  TStandardPathSpecList* standard = StandardPathSpecifiers();
  ASSERT_NE(all, nullptr);
  int before = all->Count();
  int standardBefore = standard->Count();
  {
    fw::TComponent owner(nullptr);
    auto* custom = new TCustomPathSpecifier(&owner);
    auto* container = new TpsContainerDestDir(&owner);
    EXPECT_EQ(all->Count(), before + 2);
    EXPECT_EQ(standard->Count(), standardBefore + 1);
    EXPECT_EQ(all->FindByClass(TStandardPathSpecifier::StaticClass()), container);
    EXPECT_EQ(all->FindByClass(TCustomPathSpecifier::StaticClass()), all->GetItem(0));
    EXPECT_EQ(custom->GetDescription(), "Unspecified");
    EXPECT_EQ(custom->GetObjectCaption(nullptr), "Unspecified");
    EXPECT_EQ(custom->GetPath(nullptr), "");
  }
  EXPECT_EQ(all->Count(), before);
  EXPECT_EQ(standard->Count(), standardBefore);
  try {
    standard->FindByClass(TpsContainerDestDir::StaticClass());
    ADD_FAILURE();
  } catch (const IEPathSpecifier& e) {
    EXPECT_STREQ(e.what(), "Could not find the path specifier");
  }
  try {
    all->Add(nullptr);
    ADD_FAILURE();
  } catch (const IEPathSpecifierList& e) {
    EXPECT_STREQ(e.what(), "Tried to add a nil object to the path specifier list");
  }
  EXPECT_THROW(PathSpecifierClasses()->Add(nullptr), IEPathSpecifierClassList);
}

TEST(StandardSpecifiers, CreatedOncePerFormByName) {
  fw::TOwnedPtr<fw::TForm> form(new fw::TForm(nullptr));
  PathSpecifiers()->CreateStandardSpecifiers(form.get(), true);
  PathSpecifiers()->CreateStandardSpecifiers(form.get(), true);
  PathSpecifiers()->CreateStandardSpecifiers(nullptr, false);
  auto* made = dynamic_cast<TpsContainerDestDir*>(form->FindComponent("psContainerDestDir"));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(made->GetCaption(), "Path of the group (container)");
  // A clash of names leaves no half-made specifier behind.
  EXPECT_THROW(CreateStandardSpecifier(TpsContainerDestDir::StaticClass(), form.get(), false), fw::EComponentError);
  EXPECT_EQ(form->ComponentCount(), 1);
  try {
    made->ValidateObject(form.get());
    ADD_FAILURE();
  } catch (const IEPathSpecifier& e) {
    EXPECT_STREQ(e.what(), " must be a TInstallObject to use the psContainerDestDir path specifier");
  }
}

}  // namespace
