// Where forms' windows come from and whom they belong to: a form read from a static
// library's resource, a form owned by another form, a form inside a DLL shown in a
// window of its host and unloaded cleanly.
#include <gtest/gtest.h>

#include "LibraryForm.h"
#include "gui/Forms.h"

using namespace fw;

TEST(FormWindows, AStaticLibrarysFormResourceReachesTheProgram) {
  TOwnedPtr<TLibraryForm> form(CreateFormFromResource<TLibraryForm>(nullptr));
  EXPECT_EQ(form->Caption(), "Form of a static library");
  ASSERT_NE(form->FindComponent("Greeting"), nullptr);
}

TEST(FormWindows, AFormOwnedByAFormHasItsWindowOwnedByThatForm) {
  TOwnedPtr<TForm> main(new TForm(nullptr));
  TForm* page = new TForm(main.get());
  page->Show();
  EXPECT_EQ(GetWindow(page->Handle(), GW_OWNER), main->Handle());
  EXPECT_EQ(GetWindowLongA(page->Handle(), GWL_STYLE) & WS_CHILD, 0);
}

TEST(FormWindows, BorderIconsLeaveOutTheCaptionBoxes) {
  auto style = [](TFormBorderStyle Border, TBorderIcons Icons) {
    TOwnedPtr<TForm> form(new TForm(nullptr));
    form->InitFromText(Border == bsDialog ? "object F: TForm\n  BorderStyle = bsDialog\n  BorderIcons = []\nend\n"
                                          : "object F: TForm\nend\n",
                       "F");
    form->SetBorderIcons(Icons);
    form->Show();
    return static_cast<DWORD>(GetWindowLongA(form->Handle(), GWL_STYLE));
  };
  // Read from a form description, and changed on a form with a window.
  EXPECT_EQ(style(bsDialog, {}) & WS_SYSMENU, 0u);
  EXPECT_NE(style(bsSizeable, {biSystemMenu, biMinimize, biMaximize}) & WS_MAXIMIZEBOX, 0u);
  DWORD noMaximize = style(bsSizeable, {biSystemMenu, biMinimize});
  EXPECT_NE(noMaximize & WS_SYSMENU, 0u);
  EXPECT_NE(noMaximize & WS_MINIMIZEBOX, 0u);
  EXPECT_EQ(noMaximize & WS_MAXIMIZEBOX, 0u);
  EXPECT_EQ(style(bsSizeable, {biMinimize, biMaximize}) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
}

namespace {

template <class F>
F* Export(HMODULE Module, const char* Name) {
  return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

struct TProbeDll {
  HMODULE Module = LoadLibraryA("form_probe.dll");
  HWND (*ShowForm)(HWND) = Export<HWND(HWND)>(Module, "ProbeShowForm");
  void (*FreeForm)() = Export<void()>(Module, "ProbeFreeForm");
  HRESULT (*CanUnloadNow)() = Export<HRESULT()>(Module, "ProbeCanUnloadNow");
};

}  // namespace

TEST(FormWindows, AFormInsideADllLivesInItsHostsWindowAndTheDllUnloadsCleanly) {
  TOwnedPtr<TForm> host(new TForm(nullptr));
  host->Show();
  // Twice: after a clean shut-down the DLL starts again on the next load.
  for (int round = 0; round < 2; ++round) {
    TProbeDll dll;
    ASSERT_NE(dll.Module, nullptr);
    ASSERT_TRUE(dll.ShowForm && dll.FreeForm && dll.CanUnloadNow);
    HWND form = dll.ShowForm(host->Handle());
    ASSERT_NE(form, nullptr) << "the DLL could not create its form";
    EXPECT_EQ(GetParent(form), host->Handle());
    EXPECT_NE(GetWindowLongA(form, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrA(form, GWLP_HINSTANCE)), dll.Module);
    EXPECT_NE(FindWindowExA(form, nullptr, "BUTTON", "Close"), nullptr)
        << "the form was not read from the DLL's resource";
    EXPECT_EQ(dll.CanUnloadNow(), S_FALSE) << "the DLL's form is still shown";

    dll.FreeForm();
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(dll.CanUnloadNow(), S_OK);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    EXPECT_FALSE(GetClassInfoExA(dll.Module, "TProbeForm", &wc)) << "a window class still points into the DLL";
    EXPECT_TRUE(FreeLibrary(dll.Module));
    EXPECT_EQ(GetModuleHandleA("form_probe.dll"), nullptr);
  }
}
