#include "ComboBox.h"

#include "ScrListRules.h"
#include "core/ClassDef.h"

namespace toolpage {

const fw::TClass& TComboBox98::StaticClass() {
  using T = TComboBox98;
  static const fw::TClass cls = fw::TClassDef<T>()
                                    .Creatable()
                                    .Boolean("Complete", &T::Complete, &T::SetComplete)
                                    .Integer("MinLengthComplete", &T::MinLengthComplete, &T::SetMinLengthComplete)
                                    .Event("OnComplete", &T::OnComplete);
  return cls;
}

TComboBox98::TComboBox98(fw::TComponent* AOwner) : fw::TComboBox(AOwner) {}

void TComboBox98::FindCompletion(const fw::TStrings& Items, const std::string& Prefix, std::string& Completion) {
  Completion = toolpage::FindCompletion(Items, Prefix);
}

void TComboBox98::GetCompletion(std::string& Completion) {
  FindCompletion(Items(), fw::UpperCase(Text()), Completion);
}

void TComboBox98::KeyDown(uint16_t& Key) {
  fw::TComboBox::KeyDown(Key);
  FLastKey = Key;
}

void TComboBox98::Change() {
  if (FCompleting) return;  // the text the completion itself sets
  fw::TComboBox::Change();
  bool editable = Style() == fw::csDropDown || Style() == fw::csSimple;
  if (!CompletionWanted(FComplete, editable, FLastKey, Text().size(), FMinLengthComplete)) return;
  size_t typed = Text().size();
  std::string completion;
  GetCompletion(completion);
  if (completion.empty()) return;
  bool doComplete = true;
  if (OnComplete) OnComplete(this, FLastKey, completion, doComplete);
  if (!doComplete) return;
  FCompleting = true;
  try {
    SetText(Text() + completion);
  } catch (...) {
    FCompleting = false;
    throw;
  }
  FCompleting = false;
  if (HandleAllocated()) SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(typed, Text().size()));
}

}  // namespace toolpage
