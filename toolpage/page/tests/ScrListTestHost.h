// A shown form holding a line editor as the page holds it (item height 19, automatic
// dragging, the line icons), and the user's mouse and keys as window messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ScrList.h"
#include "UiDriver.h"
#include "gui/Forms.h"

namespace linetest {

// A key pressed on a window as the keyboard would deliver it: key down, the character, key up.
inline void TypeKey(HWND Window, WORD VirtualKey, char Character) {
  SendMessageA(Window, WM_KEYDOWN, VirtualKey, 1);
  if (Character != 0) SendMessageA(Window, WM_CHAR, static_cast<unsigned char>(Character), 1);
  SendMessageA(Window, WM_KEYUP, VirtualKey, 0xC0000001);
}

// Characters typed on a window one by one, as the keyboard delivers them.
inline void TypeText(HWND Window, const std::string& Text) {
  for (char c : Text) TypeKey(Window, static_cast<WORD>(LOBYTE(VkKeyScanA(c))), c);
}

inline LPARAM Point(int X, int Y) {
  return MAKELPARAM(X, Y);
}

struct TScrListHost : ::testing::Test {
  void SetUp() override {
    form.reset(new fw::TForm(nullptr));
    form->SetBounds(40, 40, 420, 330);
    form->SetCaption("Script");
    images = new fw::TImageList(form.get());
    images->SetWidth(17);
    images->SetHeight(18);
    images->AddResource("SCRLISTICONS", fw::clFuchsia);
    list = new toolpage::TScrList(form.get());
    list->SetBounds(8, 8, 390, 250);
    list->SetItemHeight(19);
    list->SetDragMode(fw::dmAutomatic);
    list->SetImages(images);
    list->SetParent(form.get());
    other = new fw::TEdit(form.get());
    other->SetBounds(8, 266, 120, 21);
    other->SetParent(form.get());
    form->Show();
    testsupport::PumpMessages(20);
  }
  void TearDown() override { form.reset(); }

  // Lines of the given kinds with the given texts, built through the list's own insert.
  void AddLines(const std::vector<std::pair<uint8_t, std::string>>& Lines) {
    for (const auto& [kind, text] : Lines) {
      int last = list->ScriptItems().Count() - 1;
      list->InsertItem(last, kind, false, false);
      list->SetItemText(last + 1, text);
    }
    list->SetModified(false);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (int i = 0; i < list->ScriptItems().Count(); ++i) texts.push_back(list->ScriptItems().Items(i).Text);
    return texts;
  }
  HWND ListWindow() const { return list->Handle(); }
  int LineY(int Index) const { return (Index - list->TopIndex()) * 19 + 9; }

  fw::TOwnedPtr<fw::TForm> form;
  fw::TImageList* images = nullptr;
  toolpage::TScrList* list = nullptr;
  fw::TEdit* other = nullptr;
};

}  // namespace linetest
