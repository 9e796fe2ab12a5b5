// TComboBox98: a combo box that completes what the user types from its items; the
// completed part is selected, so the next typed character replaces it.
#pragma once

#include <cstdint>
#include <string>

#include "gui/ComboBoxes.h"

namespace toolpage {

// May change the completion (CompleteWith) or refuse it (DoComplete := false).
using TOnComplete =
    fw::TMethodPtr<void(fw::TObject* Sender, uint16_t Key, std::string& CompleteWith, bool& DoComplete)>;

class TComboBox98 : public fw::TComboBox {
  FW_CLASS(TComboBox98, fw::TComboBox)
 public:
  explicit TComboBox98(fw::TComponent* AOwner);

  bool Complete() const { return FComplete; }
  void SetComplete(bool Value) { FComplete = Value; }
  int MinLengthComplete() const { return FMinLengthComplete; }
  void SetMinLengthComplete(int Value) { FMinLengthComplete = static_cast<uint16_t>(Value); }
  // The virtual key code of the last key pressed in the box (0 before any).
  uint16_t LastKey() const { return FLastKey; }

  // The completion of the current text from the items.
  virtual void GetCompletion(std::string& Completion);
  // The rest of the first item whose upper-cased text starts with Prefix (upper case).
  static void FindCompletion(const fw::TStrings& Items, const std::string& Prefix, std::string& Completion);

  TOnComplete OnComplete;

 protected:
  void KeyDown(uint16_t& Key) override;
  void Change() override;

 private:
  bool FComplete = true;
  uint16_t FMinLengthComplete = 0;
  uint16_t FLastKey = 0;
  bool FCompleting = false;
};

}  // namespace toolpage
