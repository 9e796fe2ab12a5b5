// Mouse and keyboard reach window-less controls through their parent: the mouse coming
// over a graphic control and leaving it, and Alt with a key offered to the form's
// controls before the dialog manager.
#include <gtest/gtest.h>

#include "gui/Forms.h"

using namespace fw;

namespace {

class TProbeGraphic : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  std::vector<std::string> Events;
  char Accelerator = 0;
  void MouseEnter() override { Events.push_back("enter " + Name()); }
  void MouseLeave() override { Events.push_back("leave " + Name()); }
  bool DialogChar(char Key) override {
    Events.push_back(std::string("char ") + Key + " " + Name());
    return Key == Accelerator;
  }
};

LPARAM At(int X, int Y) {
  return MAKELPARAM(X, Y);
}

struct TInputForm {
  TOwnedPtr<TForm> Form{new TForm(nullptr)};
  TProbeGraphic* First = Make("First", 10, 'f');
  TProbeGraphic* Second = Make("Second", 110, 's');
  TProbeGraphic* Make(const char* Name, int Left, char Accelerator) {
    auto* c = new TProbeGraphic(Form.get());
    c->SetName(Name);
    c->SetBounds(Left, 10, 80, 20);
    c->Accelerator = Accelerator;
    c->SetParent(Form.get());
    return c;
  }
};

}  // namespace

TEST(ControlInput, TheMouseEntersAndLeavesGraphicControlsOneAtATime) {
  TInputForm f;
  f.Form->Show();
  HWND wnd = f.Form->Handle();
  SendMessageA(wnd, WM_MOUSEMOVE, 0, At(20, 15));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, At(30, 15));  // still over the first: nothing new
  SendMessageA(wnd, WM_MOUSEMOVE, 0, At(120, 15));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, At(100, 100));
  SendMessageA(wnd, WM_MOUSEMOVE, 0, At(120, 15));
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);  // the mouse left the window
  EXPECT_EQ(f.First->Events, (std::vector<std::string>{"enter First", "leave First"}));
  EXPECT_EQ(f.Second->Events,
            (std::vector<std::string>{"enter Second", "leave Second", "enter Second", "leave Second"}));
}

TEST(ControlInput, AFreedControlUnderTheMouseIsNotCalledAgain) {
  TInputForm f;
  f.Form->Show();
  SendMessageA(f.Form->Handle(), WM_MOUSEMOVE, 0, At(20, 15));
  f.First->Free();
  SendMessageA(f.Form->Handle(), WM_MOUSEMOVE, 0, At(120, 15));  // must not reach the freed control
  EXPECT_EQ(f.Second->Events, (std::vector<std::string>{"enter Second"}));
}

TEST(ControlInput, AltWithAKeyGoesToTheControlsUntilOneTakesIt) {
  TInputForm f;
  f.Form->Show();
  PostMessageA(f.Form->Handle(), WM_SYSCHAR, 's', 0);
  Application->ProcessMessages();
  EXPECT_EQ(f.First->Events, (std::vector<std::string>{"char s First"}));
  EXPECT_EQ(f.Second->Events, (std::vector<std::string>{"char s Second"}));
  f.First->Events.clear();
  f.Second->Events.clear();
  PostMessageA(f.Form->Handle(), WM_SYSCHAR, 'f', 0);
  Application->ProcessMessages();
  EXPECT_EQ(f.First->Events, (std::vector<std::string>{"char f First"}));
  EXPECT_TRUE(f.Second->Events.empty()) << "the first control took the key";
}
