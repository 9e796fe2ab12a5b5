// console-host.exe: the least console, driven by commands given as arguments or, with
// "--script FILE", one command per line of a file. Commands:
//   register DLL | unregister DLL   regsvr32 on the page library
//   tools-key FOLDER                the tools key naming the page's class and folder
//   open                            creates the page of the tools key's class and hosts it
//   host-ref N                      the reference the console gives when the page asks
//   connect N                       hands the page connection reference N
//   refresh                         asks the page to refresh
//   click CAPTION                   presses the page's button with that caption
//   choose ITEM                     the next command opens a pop-up menu: ITEM is chosen
//   select NAME                     selects the script of that name in the page's list
//   rename NAME                     types NAME over the selected script's name (or into
//                                   the name editor New opened) and presses Enter
//   line N                          makes line N of the line editor the current one
//   type TEXT                       types TEXT into the open line editor (opened on the
//                                   current line when none is) and presses Enter
//   wait MS                         handles window messages for MS milliseconds
//   png NAME                        screenshot of the console window (NAME.png)
//   run                             handles messages until the console window is closed
//   close                           releases the page
// Each command is echoed with its result; the first failure ends the program with code 1.
#include <windows.h>
// (windows.h first)
#include <commctrl.h>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ConsoleHost.h"
#include "Screenshot.h"
#include "UiDriver.h"

namespace {

using consolehost::TConsoleHost;

void Pump(DWORD Milliseconds) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (Milliseconds > 0) Sleep(10);
  } while (GetTickCount() - start < Milliseconds);
}

struct TFind {
  std::string Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK FindButton(HWND Window, LPARAM Param) {
  auto* find = reinterpret_cast<TFind*>(Param);
  char text[256] = {}, cls[64] = {};
  GetWindowTextA(Window, text, sizeof text);
  GetClassNameA(Window, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") == 0 && find->Caption == text && IsWindowVisible(Window)) {
    find->Found = Window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindScriptList(HWND Window, LPARAM Param) {
  char cls[64] = {};
  GetClassNameA(Window, cls, sizeof cls);
  if (lstrcmpiA(cls, "SysListView32") != 0) return TRUE;
  *reinterpret_cast<HWND*>(Param) = Window;
  return FALSE;
}

HWND ScriptList(TConsoleHost& Host) {
  HWND list = nullptr;
  if (Host.Window() != nullptr) EnumChildWindows(Host.Window(), FindScriptList, reinterpret_cast<LPARAM>(&list));
  return list;
}

// Enter as the keyboard gives it: key down, the character, key up.
void PressEnter(HWND Window) {
  SendMessageA(Window, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(Window, WM_CHAR, '\r', 1);
  SendMessageA(Window, WM_KEYUP, VK_RETURN, 0xC0000001);
  Pump(50);
}

bool RenameScript(TConsoleHost& Host, const std::string& Name, std::string& Result) {
  HWND list = ScriptList(Host);
  if (list == nullptr) {
    Result = "no script list";
    return false;
  }
  auto edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
  if (edit == nullptr) {
    int selected = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    SetFocus(list);
    if (selected >= 0) SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(selected), 0);
    edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
  }
  if (edit == nullptr) {
    Result = "no script to rename";
    return false;
  }
  SetWindowTextA(edit, Name.c_str());
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  Pump(100);
  return true;
}

bool ChooseLine(TConsoleHost& Host, int Index, std::string& Result) {
  HWND lines = testsupport::FindControl(Host.Window(), {"", "ListBox"});
  if (lines == nullptr || !IsWindowVisible(lines) || Index >= SendMessageA(lines, LB_GETCOUNT, 0, 0)) {
    Result = "no line " + std::to_string(Index);
    return false;
  }
  SetFocus(lines);
  testsupport::ChooseListItem(lines, Index);
  Pump(50);
  return true;
}

bool TypeIntoEditor(TConsoleHost& Host, const std::string& Text, std::string& Result) {
  HWND lines = testsupport::FindControl(Host.Window(), {"", "ListBox"});
  if (lines != nullptr && GetFocus() == lines) PressEnter(lines);  // opens the current line's editor
  HWND editor = GetFocus();
  if (editor == nullptr || editor == lines) {
    Result = "no line editor open";
    return false;
  }
  char cls[64] = {};
  GetClassNameA(editor, cls, sizeof cls);
  if (lstrcmpiA(cls, "ComboBox") == 0)  // the key names: a list to choose from
    SendMessageA(editor, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Text.c_str()));
  else
    SetWindowTextA(editor, Text.c_str());
  PressEnter(editor);
  return true;
}

bool Run(TConsoleHost& Host, const std::string& Command, const std::string& Argument, std::string& Result) {
  if (Command == "register" || Command == "unregister") {
    int code = consolehost::RunRegsvr32(Argument, Command == "unregister");
    Result = "regsvr32 exit code " + std::to_string(code);
    return code == 0;
  }
  if (Command == "tools-key") {
    consolehost::WriteToolsKey(Argument);
    return true;
  }
  if (Command == "open") {
    std::string text = consolehost::ToolClassFromKey();
    std::wstring wide(text.begin(), text.end());
    CLSID id;
    if (text.empty() || FAILED(CLSIDFromString(wide.c_str(), &id))) {
      Result = "no tool class in the tools key";
      return false;
    }
    Host.Open(id);
    Pump(100);
    return true;
  }
  if (Command == "host-ref") {
    Host.ConnRef = static_cast<uint32_t>(std::stoul(Argument));
    return true;
  }
  if (Command == "connect") {
    Host.ConnRef = static_cast<uint32_t>(std::stoul(Argument));
    return Host.Page() != nullptr && SUCCEEDED(Host.Page()->SetConnection(static_cast<LONG>(Host.ConnRef)));
  }
  if (Command == "refresh") {
    HRESULT hr = Host.Page() != nullptr ? Host.Page()->RefreshPage(VARIANT_FALSE) : E_POINTER;
    Pump(50);
    return SUCCEEDED(hr);
  }
  if (Command == "click") {
    TFind find{Argument};
    if (Host.Window() != nullptr) EnumChildWindows(Host.Window(), FindButton, reinterpret_cast<LPARAM>(&find));
    if (find.Found == nullptr) {
      Result = "no visible button " + Argument;
      return false;
    }
    SendMessageA(find.Found, BM_CLICK, 0, 0);
    Pump(50);
    return true;
  }
  if (Command == "select") {
    HWND list = nullptr;
    EnumChildWindows(Host.Window(), FindScriptList, reinterpret_cast<LPARAM>(&list));
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;
    find.psz = Argument.c_str();
    int index = list != nullptr ? static_cast<int>(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1),
                                                                reinterpret_cast<LPARAM>(&find)))
                                : -1;
    if (index < 0) {
      Result = "no script " + Argument;
      return false;
    }
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    Pump(50);
    return true;
  }
  if (Command == "rename") return RenameScript(Host, Argument, Result);
  if (Command == "line") return ChooseLine(Host, std::stoi(Argument), Result);
  if (Command == "type") return TypeIntoEditor(Host, Argument, Result);
  if (Command == "wait") {
    Pump(static_cast<DWORD>(std::stoul(Argument)));
    return true;
  }
  if (Command == "png") {
    Result = testsupport::SaveWindowPng(Host.Window(), Argument);
    return true;
  }
  if (Command == "run") {
    while (Host.Window() != nullptr && IsWindow(Host.Window())) Pump(50);
    return true;
  }
  if (Command == "close") {
    Host.Close();
    return true;
  }
  Result = "unknown command";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> lines;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--script" && i + 1 < argc) {
      std::ifstream in(argv[++i]);
      for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] != '#') lines.push_back(line);
      }
    } else {
      lines.push_back(arg);
    }
  }
  OleInitialize(nullptr);
  int status = 0;
  {
    TConsoleHost host;
    // A user on a thread of its own that answers the menu the next command opens.
    std::unique_ptr<testsupport::TUserThread> chooser;
    for (const std::string& line : lines) {
      size_t space = line.find(' ');
      std::string command = line.substr(0, space), argument = space == std::string::npos ? "" : line.substr(space + 1);
      std::string result;
      bool ok = false;
      try {
        if (command == "choose") {
          // The hand leaves the mouse: a pointer over the menu would move its highlight
          // while the arrow keys do.
          SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
          Pump(20);
          chooser = std::make_unique<testsupport::TUserThread>(
              [argument] { testsupport::ChooseMenuItem(testsupport::WaitForPopupMenu(), argument); });
          ok = true;
        } else {
          ok = Run(host, command, argument, result);
          if (chooser != nullptr) {
            std::string failure = chooser->Failure();
            chooser.reset();
            if (!failure.empty()) {
              ok = false;
              result = "menu: " + failure;
            }
          }
        }
      } catch (const std::exception& e) {
        result = e.what();
      }
      std::cout << (ok ? "ok    " : "FAIL  ") << line << (result.empty() ? "" : "  -> " + result) << std::endl;
      if (!ok) {
        status = 1;
        break;
      }
    }
    host.Close();
  }
  CoFreeUnusedLibraries();
  OleUninitialize();
  return status;
}
