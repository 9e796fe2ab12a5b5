#include "LoaderFuzzClasses.h"

#include "core/ClassDef.h"

namespace fuzz {

using namespace fw;

namespace {

const TEnumInfo kShades{"TShade", {"shLight", "shMedium", "shDark"}};

bool ColorIdent(std::string_view ident, long long& value) {
  if (SameText(ident, "clRed")) {
    value = 0x0000FF;
    return true;
  }
  if (SameText(ident, "clNone")) {
    value = 0x1FFFFFFF;
    return true;
  }
  return false;
}

}  // namespace

const TClass& TFuzzDetails::StaticClass() {
  using T = TFuzzDetails;
  static const TClass cls = TClassDef<T>()
                                .String("Title", &T::Title, &T::SetTitle)
                                .Integer("Level", &T::Level, &T::SetLevel)
                                .Component("Partner", &T::Partner, &T::SetPartner);
  return cls;
}

const TClass& TFuzzLeaf::StaticClass() {
  using T = TFuzzLeaf;
  static const TClass cls = TClassDef<T>()
                                .Creatable<TCollection>()
                                .Component("Target", &T::Target, &T::SetTarget)
                                .String("Note", &T::Note, &T::SetNote);
  return cls;
}

TFuzzEntry::TFuzzEntry(TCollection* Collection) : TCollectionItem(Collection), FLeaves(TFuzzLeaf::StaticClass()) {}

const TClass& TFuzzEntry::StaticClass() {
  using T = TFuzzEntry;
  static const TClass cls = TClassDef<T>()
                                .Creatable<TCollection>()
                                .String("Ident", &T::Ident, &T::SetIdent)
                                .Integer("Value", &T::Value, &T::SetValue)
                                .Component("Specifier", &T::Specifier, &T::SetSpecifier)
                                .Enum("Shade", kShades, &T::Shade, &T::SetShade)
                                .Object("Details", &T::Details)
                                .Object("Leaves", &T::Leaves)
                                .Event("OnCount", &T::OnCount);
  return cls;
}

TFuzzPart::TFuzzPart(TComponent* AOwner) : TComponent(AOwner), FEntries(TFuzzEntry::StaticClass()) {}

const TClass& TFuzzPart::StaticClass() {
  using T = TFuzzPart;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Integer("Size", &T::Size, &T::SetSize)
                                .Integer("Color", &T::Color, &T::SetColor, ColorIdent)
                                .Integer("ReadOnlySize", &T::Size)
                                .Float("Ratio", &T::Ratio, &T::SetRatio)
                                .Boolean("Flag", &T::Flag, &T::SetFlag)
                                .String("Caption", &T::Caption, &T::SetCaption)
                                .Enum("Shade", kShades, &T::Shade, &T::SetShade)
                                .Set("Shades", kShades, &T::Shades, &T::SetShades)
                                .Component("Buddy", &T::Buddy, &T::SetBuddy)
                                .Component("Anything", &T::Anything, &T::SetAnything)
                                .Object("Details", &T::Details)
                                .Object("Lines", &T::Lines)
                                .StringList("Notes", &T::Notes, &T::SetNotes)
                                .Binary("Data", &T::Data, &T::SetData)
                                .Object("Entries", &T::Entries)
                                .Event("OnClick", &T::OnClick)
                                .Event("OnCount", &T::OnCount);
  return cls;
}

const TClass& TFuzzForm::StaticClass() {
  using T = TFuzzForm;
  static const TClass cls = TClassDef<T>()
                                .Creatable()
                                .Method("Clicked", &T::Clicked)
                                .Method("Counted", &T::Counted)
                                .Field("First", &T::First);
  return cls;
}

void RegisterFuzzClasses() {
  RegisterClasses({&TFuzzPart::StaticClass(), &TFuzzForm::StaticClass()});
}

}  // namespace fuzz
