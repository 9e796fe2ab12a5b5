#include "FormReader.h"

#include <algorithm>
#include <vector>

#include "Collections.h"

namespace fw {

namespace {

// A reference that can be resolved only after the whole description is read.
struct TFixup {
  TObject* Instance;
  const TPropInfo* Prop;
  std::string PropertyPath;
  std::string Value;
  int Line;
  // The collection items the instance lies in (outermost first): when one of them is
  // freed, the reference goes with it.
  std::vector<const TCollectionItem*> Items;
};

class TFormReader {
 public:
  TFormReader(TComponent* root, const std::string& source) : FRoot(root), FSource(source) {}

  void Read(const TFormObject& desc) {
    if (!desc.ClassName.empty() && !SameText(desc.ClassName, FRoot->ClassName()))
      Fail(desc.Line, "", Format("the description is of class %s, not %s", desc.ClassName, FRoot->ClassName()));
    FRoot->BeginLoading();
    FLoaded.push_back(FRoot);
    if (!desc.Name.empty()) Guard(desc.Line, "Name", [&] { FRoot->SetName(desc.Name); });
    ReadProperties(FRoot, desc.Properties);
    for (const TFormObject& child : desc.Children) ReadChild(child, FRoot);
    ResolveFixups();
    for (TComponent* c : FLoaded) c->EndReading();
    for (TComponent* c : FLoaded) c->Loaded();
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& property, const std::string& what) const {
    if (property.empty()) throw EReadError(Format("Error reading %s, line %d: %s", FSource, line, what));
    throw EReadError(Format("Error reading %s, line %d, property %s: %s", FSource, line, property, what));
  }

  // Runs a step, reporting any failure with the resource, line and property.
  template <class F>
  void Guard(int line, const std::string& property, F&& step) {
    try {
      step();
    } catch (const EReadError&) {
      throw;
    } catch (const std::exception& e) {
      Fail(line, property, e.what());
    }
  }

  void ReadChild(const TFormObject& desc, TComponent* parent) {
    const TClass* cls = GetClass(desc.ClassName);
    if (cls == nullptr) Fail(desc.Line, "", Format("Class %s not found", desc.ClassName));
    TComponent* made = nullptr;
    Guard(desc.Line, "", [&] { made = CreateComponentForLoading(*cls, FRoot); });
    FLoaded.push_back(made);
    Guard(desc.Line, "Name", [&] { made->SetName(desc.Name); });
    if (!desc.Name.empty()) {
      if (const TFieldInfo* field = FRoot->ClassType().FindField(desc.Name)) {
        if (!made->InheritsFrom(field->FieldClass()))
          Fail(desc.Line, "",
               Format("%s is a %s, but the form's field of that name is a %s", desc.Name, made->ClassName(),
                      field->FieldClass().ClassName()));
        field->Set(FRoot, made);
      }
    }
    Guard(desc.Line, "", [&] { made->SetParentComponent(parent); });
    ReadProperties(made, desc.Properties);
    for (const TFormObject& child : desc.Children) ReadChild(child, made);
  }

  void ReadProperties(TObject* instance, const std::vector<TFormProperty>& props) {
    for (const TFormProperty& p : props) ReadProperty(instance, p);
  }

  void ReadProperty(TObject* instance, const TFormProperty& p) {
    // Walk the dotted path down through sub-objects.
    TObject* target = instance;
    size_t start = 0;
    for (;;) {
      size_t dot = p.Name.find('.', start);
      std::string part = p.Name.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      const TPropInfo* info = target->ClassType().FindProperty(part);
      if (info == nullptr) Fail(p.Line, p.Name, Format("%s has no property %s", target->ClassName(), part));
      if (dot == std::string::npos) {
        AssignValue(target, *info, p);
        return;
      }
      if (info->Kind != TTypeKind::Object)
        Fail(p.Line, p.Name, Format("%s is a %s property, not an object", part, TypeKindName(info->Kind)));
      target = info->GetObj(target);
      if (target == nullptr) Fail(p.Line, p.Name, Format("%s is not assigned", part));
      start = dot + 1;
    }
  }

  [[noreturn]] void WrongValue(const TFormProperty& p, const TPropInfo& info) const {
    Fail(p.Line, p.Name, Format("a %s property cannot take a %s value", TypeKindName(info.Kind), p.Value.KindName()));
  }

  void AssignValue(TObject* target, const TPropInfo& info, const TFormProperty& p) {
    const TFormValue& v = p.Value;
    if (info.Kind != TTypeKind::Object && info.ReadOnly()) Fail(p.Line, p.Name, "the property is read-only");
    switch (info.Kind) {
      case TTypeKind::Integer: {
        long long value = 0;
        if (v.Kind == TFormValue::vaInteger) {
          value = v.Integer;
        } else if (v.Kind == TFormValue::vaIdent && info.IdentToInt != nullptr) {
          if (!info.IdentToInt(v.Text, value)) Fail(p.Line, p.Name, Format("unknown identifier %s", v.Text));
        } else {
          WrongValue(p, info);
        }
        if (value < INT32_MIN || value > UINT32_MAX) Fail(p.Line, p.Name, Format("%lld is out of range", value));
        Guard(p.Line, p.Name, [&] { info.SetOrd(target, value); });
        return;
      }
      case TTypeKind::Float: {
        double value;
        if (v.Kind == TFormValue::vaFloat)
          value = v.Float;
        else if (v.Kind == TFormValue::vaInteger)
          value = static_cast<double>(v.Integer);
        else
          WrongValue(p, info);
        Guard(p.Line, p.Name, [&] { info.SetFloat(target, value); });
        return;
      }
      case TTypeKind::Boolean: {
        if (v.Kind != TFormValue::vaIdent || (!SameText(v.Text, "True") && !SameText(v.Text, "False")))
          Fail(p.Line, p.Name, "True or False expected");
        Guard(p.Line, p.Name, [&] { info.SetOrd(target, SameText(v.Text, "True") ? 1 : 0); });
        return;
      }
      case TTypeKind::String:
        if (v.Kind != TFormValue::vaString) WrongValue(p, info);
        Guard(p.Line, p.Name, [&] { info.SetStr(target, v.Text); });
        return;
      case TTypeKind::Enumeration: {
        if (v.Kind != TFormValue::vaIdent) WrongValue(p, info);
        int ordinal = info.EnumType->IndexOf(v.Text);
        if (ordinal < 0) Fail(p.Line, p.Name, Format("%s is not a value of %s", v.Text, info.EnumType->TypeName));
        Guard(p.Line, p.Name, [&] { info.SetOrd(target, ordinal); });
        return;
      }
      case TTypeKind::Set: {
        if (v.Kind != TFormValue::vaSet) WrongValue(p, info);
        unsigned long long mask = 0;
        for (const std::string& name : v.Names) {
          int ordinal = info.EnumType->IndexOf(name);
          if (ordinal < 0) Fail(p.Line, p.Name, Format("%s is not a value of %s", name, info.EnumType->TypeName));
          if (ordinal >= 64) Fail(p.Line, p.Name, Format("%s lies beyond the 64 values a set can hold", name));
          mask |= 1ull << ordinal;
        }
        Guard(p.Line, p.Name, [&] { info.SetOrd(target, static_cast<long long>(mask)); });
        return;
      }
      case TTypeKind::Component:
      case TTypeKind::Method:
        if (v.Kind != TFormValue::vaIdent) WrongValue(p, info);
        FFixups.push_back(TFixup{target, &info, p.Name, v.Text, p.Line, FItemChain});
        return;
      case TTypeKind::StringList: {
        if (v.Kind != TFormValue::vaList) WrongValue(p, info);
        std::vector<std::string> lines;
        for (const TFormValue& item : v.List) {
          if (item.Kind != TFormValue::vaString) Fail(item.Line, p.Name, "a string list holds strings only");
          lines.push_back(item.Text);
        }
        Guard(p.Line, p.Name, [&] { info.SetList(target, lines); });
        return;
      }
      case TTypeKind::Binary:
        if (v.Kind != TFormValue::vaBinary) WrongValue(p, info);
        Guard(p.Line, p.Name, [&] { info.SetBin(target, v.Data); });
        return;
      case TTypeKind::Object: {
        if (v.Kind != TFormValue::vaCollection) WrongValue(p, info);
        auto* collection = dynamic_cast<TCollection*>(info.GetObj(target));
        if (collection == nullptr) Fail(p.Line, p.Name, "the property is not a collection");
        // A second assignment replaces the items of the first: their pending
        // references and events must not outlive them.
        DropFixupsOf(*collection);
        Guard(p.Line, p.Name, [&] { collection->Clear(); });
        for (const TFormItem& item : v.Items) {
          TCollectionItem* made = nullptr;
          Guard(item.Line, p.Name, [&] { made = collection->Add(); });
          FItemChain.push_back(made);
          ReadProperties(made, item.Properties);
          FItemChain.pop_back();
        }
        return;
      }
    }
  }

  void DropFixupsOf(const TCollection& collection) {
    if (collection.Count() == 0) return;
    std::vector<const TCollectionItem*> freed;
    for (int i = 0; i < collection.Count(); ++i) freed.push_back(collection.Items(i));
    auto inFreedItem = [&](const TFixup& f) {
      return std::any_of(f.Items.begin(), f.Items.end(), [&](const TCollectionItem* item) {
        return std::find(freed.begin(), freed.end(), item) != freed.end();
      });
    };
    FFixups.erase(std::remove_if(FFixups.begin(), FFixups.end(), inFreedItem), FFixups.end());
  }

  TComponent* FindNamed(const std::string& name) const {
    size_t dot = name.find('.');
    if (dot != std::string::npos) {
      // Owner.Component: only this form's own name may stand before the point.
      if (!SameText(name.substr(0, dot), FRoot->Name())) return nullptr;
      return FRoot->FindComponent(name.substr(dot + 1));
    }
    if (!FRoot->Name().empty() && SameText(name, FRoot->Name())) return FRoot;
    return FRoot->FindComponent(name);
  }

  void ResolveFixups() {
    for (const TFixup& f : FFixups) {
      if (f.Prop->Kind == TTypeKind::Component) {
        TComponent* found = nullptr;
        if (!SameText(f.Value, "nil")) {
          found = FindNamed(f.Value);
          if (found == nullptr) Fail(f.Line, f.PropertyPath, Format("component %s not found", f.Value));
          if (!found->InheritsFrom(f.Prop->PropClass()))
            Fail(f.Line, f.PropertyPath,
                 Format("%s is a %s, not a %s", f.Value, found->ClassName(), f.Prop->PropClass().ClassName()));
        }
        Guard(f.Line, f.PropertyPath, [&] { f.Prop->SetObj(f.Instance, found); });
      } else {
        const TMethodInfo* method = FRoot->ClassType().FindMethod(f.Value);
        if (method == nullptr)
          Fail(f.Line, f.PropertyPath, Format("%s has no handler %s", FRoot->ClassName(), f.Value));
        if (method->Signature != f.Prop->MethodType)
          Fail(f.Line, f.PropertyPath, Format("the handler %s does not fit the event", f.Value));
        Guard(f.Line, f.PropertyPath, [&] { f.Prop->SetMethod(f.Instance, method->Bind(FRoot)); });
      }
    }
  }

  TComponent* FRoot;
  const std::string& FSource;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
  std::vector<const TCollectionItem*> FItemChain;  // the items whose properties are being read
};

}  // namespace

void ReadComponent(TComponent* Root, const TFormObject& Description, const std::string& Source) {
  TFormReader(Root, Source).Read(Description);
}

void ReadComponentFromText(TComponent* Root, std::string_view Text, const std::string& Source) {
  ReadComponent(Root, ParseFormText(Text, Source), Source);
}

}  // namespace fw
