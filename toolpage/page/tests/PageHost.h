// A page hosted in a console window against a simulated 4.11 server with TUVEK loaded, and
// the user's ways of reaching its script list, line editor and menus.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
// (windows.h first)
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TuvekHarness.h"
#include "UiDriver.h"

namespace tuvektest {

struct TPageHost : ::testing::Test {
  TSavedPageRegistry Saved;
  std::unique_ptr<TToolsFolder> Tools;
  std::unique_ptr<nwtest::TSimServer> Server;
  consolehost::TConsoleHost Host;
  HWND List = nullptr;

  void SetUp() override {
    ASSERT_EQ(consolehost::RunRegsvr32(LibraryPath(), false), 0);
    Tools = std::make_unique<TToolsFolder>();
  }
  void TearDown() override {
    Host.Close();
    Server.reset();
    Tools.reset();
  }
  // A 4.11 server with TUVEK loaded (unless ModuleLoaded was cleared) and the scripts
  // given (name, content).
  void Start(const std::vector<std::pair<std::string, std::string>>& Scripts,
             const std::vector<std::string>& Extra = {}) {
    std::vector<std::string> config = {"module VX4LIB.NLM"};
    if (ModuleLoaded) config.push_back("module TUVEK.NLM");
    config.insert(config.end(), Extra.begin(), Extra.end());
    Server = MakeServer(411, true, config);
    for (const auto& [name, content] : Scripts) Server->WriteFile("SYS", "SYSTEM\\" + name, content);
    Host.Open(PageClassId());
    Host.ConnRef = 1;
    ASSERT_EQ(Host.Page()->RefreshPage(VARIANT_FALSE), S_OK);
    List = testsupport::FindControl(Host.Window(), {"", "SysListView32"});
    ASSERT_NE(List, nullptr);
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    int count = static_cast<int>(SendMessageA(List, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[260] = {};
      LVITEMA item{};
      item.iSubItem = 0;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(List, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      captions.push_back(text);
    }
    return captions;
  }
  int Image(int Index) const {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = Index;
    SendMessageA(List, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
  }
  // Selects a script as a click would.
  void Select(const std::string& Caption) {
    auto captions = Captions();
    auto it = std::find(captions.begin(), captions.end(), Caption);
    ASSERT_NE(it, captions.end()) << Caption;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List, LVM_SETITEMSTATE, static_cast<WPARAM>(it - captions.begin()), reinterpret_cast<LPARAM>(&state));
    testsupport::PumpMessages(50);
  }
  bool Enabled(const std::string& Caption) {
    HWND button = PageButton(Host, Caption);
    return button != nullptr && IsWindowEnabled(button);
  }
  std::vector<std::string> Console() const { return ConsoleLines(*Server); }
  // Open brings up a pop-up menu on this thread; a user reads it and chooses Choice, or
  // closes it with Escape when Choice is empty. Returns the captions ("-" for a line,
  // "(off)" appended to greyed items). The user's hand is off the mouse: the pointer rests
  // in the screen's far corner, where no menu opens (a pointer left over the menu by an
  // earlier test would highlight the item under it while the arrow keys move).
  std::vector<std::string> UseMenu(const std::function<void()>& Open, const std::string& Choice,
                                   RECT* Where = nullptr) {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    testsupport::PumpMessages(20);
    std::vector<std::string> seen;
    testsupport::TUserThread user([&] {
      HWND menu = testsupport::WaitForPopupMenu();
      for (const testsupport::TMenuItemInfo& item : testsupport::MenuItems(menu))
        seen.push_back(item.Caption + (item.Enabled || item.Caption == "-" ? "" : " (off)"));
      if (Where != nullptr) GetWindowRect(menu, Where);
      if (Choice.empty())
        testsupport::DismissMenu(menu);
      else
        testsupport::ChooseMenuItem(menu, Choice);
    });
    Open();
    EXPECT_EQ(user.Failure(), "");
    testsupport::PumpMessages(50);
    return seen;
  }
  void RightClick(HWND Window) {
    SendMessageA(Window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window), MAKELPARAM(10, 10));
  }
  // A line of the kind Choice ("Text", "Delay"...) from the line tool bar's menu, its editor
  // then closed by the host.
  void AddLine(const std::string& Choice) {
    UseMenu([&] { testsupport::Click(PageButton(Host, "Screen")); }, Choice);
    EXPECT_EQ(Host.Page()->StopEditing(), S_OK);
    testsupport::PumpMessages(50);
  }
  // Renames a script in place as the user types over its caption; boxes it raises are the
  // caller's to answer.
  void Rename(const std::string& From, const std::string& To) {
    Select(From);
    SendMessageA(List, LVM_EDITLABELA, static_cast<WPARAM>(IndexOf(From)), 0);
    HWND edit = reinterpret_cast<HWND>(SendMessageA(List, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextA(edit, To.c_str());
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    testsupport::PumpMessages(100);
  }
  int IndexOf(const std::string& Caption) const {
    auto captions = Captions();
    auto it = std::find(captions.begin(), captions.end(), Caption);
    return it == captions.end() ? -1 : static_cast<int>(it - captions.begin());
  }
  std::string Script(const std::string& Name) const { return Server->ReadFile("SYS", "SYSTEM\\" + Name); }
  bool ModuleLoaded = true;
  HWND LineEditor() const { return testsupport::FindControl(Host.Window(), {"", "ListBox"}); }
};

}  // namespace tuvektest
