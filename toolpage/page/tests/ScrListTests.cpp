// The line editor as a user meets it: inserting and deleting lines, editing them in place
// with Enter, Esc and leaving, what the lines draw, loading and saving the script on the
// simulated server, and the screen names kept in the registry.
#include <gtest/gtest.h>

#include "KavelComboBox.h"
#include "NcpExtensions.h"
#include "PageWaitCursor.h"
#include "RegistrySnapshot.h"
#include "ScrListRules.h"
#include "ScrListTestHost.h"
#include "ScreenNameStore.h"
#include "Screenshot.h"
#include "SimServer.h"
#include "gui/ComboBoxes.h"
#include "gui/InPlaceEditors.h"

using namespace toolpage;
using namespace linetest;

namespace {

const char* const kServer = "NWEDIT";
const std::string kUncRoot = std::string(NWSIM_UNC_ROOT) + "\\" + kServer;

struct TEditEvents {
  std::vector<fw::TObject*> Editing, Edited;
  void OnEditing(fw::TObject* Sender) { Editing.push_back(Sender); }
  void OnEdited(fw::TObject* Sender) { Edited.push_back(Sender); }
};

using ScrListTest = TScrListHost;

}  // namespace

TEST_F(ScrListTest, InsertingIntoAnEmptyListGivesOneSelectedLineWithItsEditorOpen) {
  for (bool before : {true, false}) {
    list->SetModified(false);
    list->CloseScript();
    TEditEvents events;
    list->OnEditing = fw::TNotifyEvent(&events, &TEditEvents::OnEditing);
    list->InsertItem(5, skScreen, before, true);
    ASSERT_EQ(list->ScriptItems().Count(), 1);
    EXPECT_EQ(list->ScriptItems().Items(0).Text, "Insert screen name here");
    EXPECT_TRUE(list->Modified());
    EXPECT_TRUE(list->Editing());
    EXPECT_EQ(list->EditedIndex(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);  // the editor stands for the line while open
    auto* editor = dynamic_cast<TKavelComboBox*>(list->Editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(IsWindowVisible(editor->Handle()));
    EXPECT_EQ(editor->Text(), "Insert screen name here");
    ASSERT_EQ(events.Editing.size(), 1u);
    EXPECT_EQ(events.Editing[0], editor);  // the editor, not the list
    EXPECT_FALSE(list->Dragging());        // the press that selected the line starts no drag
    list->SetEditing(false);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(GetFocus(), list->Handle());
  }
}

TEST_F(ScrListTest, InsertAndDeletePositions) {
  AddLines({{skText, "a"}, {skText, "b"}, {skText, "c"}});
  list->InsertItem(2, skKey, false, false);    // after the last: appended
  list->InsertItem(0, skDelay, false, false);  // below a middle line
  list->InsertItem(0, skText, true, false);    // before the first
  EXPECT_EQ(Texts(), (std::vector<std::string>{"", "a", "1", "b", "c", "Enter"}));
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->Items().Count(), 6);
  EXPECT_EQ(SendMessageA(ListWindow(), LB_GETCOUNT, 0, 0), 6);

  list->SetModified(false);
  list->InsertItem(6, skText, true, false);  // no such line
  list->DeleteItem(6);
  list->DeleteItem(-1);
  EXPECT_FALSE(list->Modified());
  EXPECT_EQ(list->ScriptItems().Count(), 6);

  list->DeleteItem(2);
  EXPECT_TRUE(list->Modified());
  EXPECT_EQ(Texts(), (std::vector<std::string>{"", "a", "b", "c", "Enter"}));
  EXPECT_EQ(SendMessageA(ListWindow(), LB_GETCOUNT, 0, 0), 5);
}

TEST_F(ScrListTest, DeletingALineClosesTheOpenEditorFirst) {
  AddLines({{skText, "one"}, {skText, "two"}});
  list->SetItemIndex(1);
  list->SetEditing(true);
  ASSERT_TRUE(list->Editing());
  HWND editor = list->Editor()->Handle();
  list->DeleteItem(1);
  EXPECT_FALSE(list->Editing());
  EXPECT_FALSE(IsWindowVisible(editor));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one"}));
  EXPECT_LT(list->ItemIndex(), 1);
}

TEST_F(ScrListTest, EnterTakesTheEditedTextAndEscKeepsTheLine) {
  AddLines({{skText, "echo"}, {skText, "load"}});
  TEditEvents events;
  list->OnEdited = fw::TNotifyEvent(&events, &TEditEvents::OnEdited);

  // Enter on an unchanged line still marks the script modified.
  list->SetItemIndex(0);
  list->SetEditing(true);
  HWND edit = list->Editor()->Handle();
  EXPECT_EQ(testsupport::ControlText(edit), "echo");
  TypeKey(edit, VK_RETURN, '\r');
  EXPECT_FALSE(list->Editing());
  EXPECT_TRUE(list->Modified());
  EXPECT_EQ(Texts()[0], "echo");
  ASSERT_EQ(events.Edited.size(), 1u);
  EXPECT_EQ(events.Edited[0], list->Editor());
  EXPECT_EQ(list->ItemIndex(), 0);

  // Typed text and Enter: the line takes it; the list box's own string stays as it was.
  list->SetModified(false);
  list->SetItemIndex(1);
  list->SetEditing(true);
  edit = list->Editor()->Handle();
  testsupport::SetEditText(edit, "load monitor");
  TypeKey(edit, VK_RETURN, '\r');
  EXPECT_EQ(Texts()[1], "load monitor");
  EXPECT_EQ(list->Items().Get(1), "");  // the string it was added with
  EXPECT_TRUE(list->Modified());

  // Esc: the line and the flag stay, and leaving afterwards takes nothing either.
  list->SetModified(false);
  list->SetItemIndex(1);
  list->SetEditing(true);
  edit = list->Editor()->Handle();
  testsupport::SetEditText(edit, "lost");
  TypeKey(edit, VK_ESCAPE, 27);
  testsupport::PumpMessages(10);
  EXPECT_FALSE(list->Editing());
  EXPECT_EQ(Texts()[1], "load monitor");
  EXPECT_FALSE(list->Modified());
  EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(ScrListTest, TheDialogManagerLeavesEnterAndEscToTheEditor) {
  AddLines({{skText, "x"}});
  list->SetItemIndex(0);
  list->SetEditing(true);
  HWND edit = list->Editor()->Handle();
  for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
    MSG msg{edit, WM_KEYDOWN, key, 1, 0, {}};
    EXPECT_NE(SendMessageA(edit, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTMESSAGE, 0);
  }
  MSG enter{ListWindow(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_NE(SendMessageA(ListWindow(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE,
            0);
}

TEST_F(ScrListTest, LeavingAnEditorTakesOnlyAValidDelay) {
  AddLines({{skDelay, "5"}});
  list->SetItemIndex(0);
  list->SetEditing(true);
  auto* spin = dynamic_cast<fw::TSpinEdit*>(list->Editor());
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->Value(), 5);
  EXPECT_EQ(spin->MinValue(), 1);
  EXPECT_EQ(spin->MaxValue(), 86400);
  testsupport::SetEditText(spin->Handle(), "0");
  SetFocus(other->Handle());  // the user clicks elsewhere
  testsupport::PumpMessages(20);
  EXPECT_FALSE(list->Editing());
  EXPECT_EQ(Texts()[0], "5");
  EXPECT_FALSE(list->Modified());

  list->SetItemIndex(0);
  list->SetEditing(true);
  spin = dynamic_cast<fw::TSpinEdit*>(list->Editor());
  testsupport::SetEditText(spin->Handle(), "90000");
  TypeKey(spin->Handle(), VK_RETURN, '\r');
  EXPECT_EQ(Texts()[0], "5");

  list->SetItemIndex(0);
  list->SetEditing(true);
  spin = dynamic_cast<fw::TSpinEdit*>(list->Editor());
  TypeKey(spin->Handle(), VK_UP, 0);  // the arrow key steps the value
  EXPECT_EQ(testsupport::ControlText(spin->Handle()), "6");
  SetFocus(other->Handle());
  testsupport::PumpMessages(20);
  EXPECT_EQ(Texts()[0], "6");
  EXPECT_TRUE(list->Modified());
}

TEST_F(ScrListTest, AStoredDelayOutsideTheBoundsShowsUnchangedUntilStepped) {
  AddLines({{skDelay, "100000"}, {skDelay, "soon"}});
  list->SetItemIndex(0);
  list->SetEditing(true);
  auto* spin = dynamic_cast<fw::TSpinEdit*>(list->Editor());
  EXPECT_EQ(testsupport::ControlText(spin->Handle()), "100000");
  TypeKey(spin->Handle(), VK_DOWN, 0);
  EXPECT_EQ(spin->Value(), 86400);
  TypeKey(spin->Handle(), VK_ESCAPE, 27);
  // A delay that is no number opens the editor at its initial value.
  list->SetItemIndex(1);
  list->SetEditing(true);
  spin = dynamic_cast<fw::TSpinEdit*>(list->Editor());
  EXPECT_EQ(testsupport::ControlText(spin->Handle()), "0");
}

TEST_F(ScrListTest, KeyLinesOfferTheKeyNamesAndKeepAnUnknownOne) {
  AddLines({{skKey, "Shft-F3"}, {skKey, "Up"}});
  list->SetItemIndex(0);
  list->SetEditing(true);
  auto* box = dynamic_cast<fw::TComboBox*>(list->Editor());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Style(), fw::csDropDownList);
  EXPECT_EQ(box->Items().Count(), 52);
  EXPECT_EQ(box->Items().Get(0), "Enter");
  EXPECT_EQ(box->Items().Get(51), "PgDn");
  EXPECT_EQ(box->Text(), "Shft-F3");
  testsupport::ChooseComboItem(box->Handle(), "Alt-F10");
  TypeKey(box->Handle(), VK_RETURN, '\r');
  EXPECT_EQ(Texts()[0], "Alt-F10");

  list->SetItemIndex(1);
  list->SetEditing(true);
  box = dynamic_cast<fw::TComboBox*>(list->Editor());
  ASSERT_EQ(box->Items().Count(), 53);
  EXPECT_EQ(box->Items().Get(52), "Up");
  EXPECT_EQ(box->ItemIndex(), 52);
  EXPECT_EQ(SendMessageA(box->Handle(), CB_GETCURSEL, 0, 0), 52);
}

TEST_F(ScrListTest, TheScreenEditorCompletesFromTheKnownScreens) {
  list->Screens().Add("System Console");
  list->Screens().Add("MONITOR");
  list->Screens().Add("MONITOR");  // known once
  EXPECT_EQ(list->Screens().Count(), 2);
  AddLines({{skScreen, "Insert screen name here"}});
  list->SetItemIndex(0);
  list->SetEditing(true);
  auto* box = dynamic_cast<TKavelComboBox*>(list->Editor());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Items().Count(), 2);
  HWND edit = box->EditHandle();
  ASSERT_NE(edit, nullptr);
  testsupport::SetEditText(edit, "");
  TypeText(edit, "mo");
  EXPECT_EQ(testsupport::ControlText(edit), "moNITOR");
  TypeKey(edit, VK_RETURN, '\r');
  EXPECT_EQ(Texts()[0], "moNITOR");
  // A name the script format would cut at ";" is not taken.
  list->SetItemIndex(0);
  list->SetEditing(true);
  edit = dynamic_cast<TKavelComboBox*>(list->Editor())->EditHandle();
  testsupport::SetEditText(edit, "LOG;abc");
  TypeKey(edit, VK_RETURN, '\r');
  EXPECT_EQ(Texts()[0], "moNITOR");
}

TEST_F(ScrListTest, ScrollingAndResizingCloseTheEditorWithItsValue) {
  std::vector<std::pair<uint8_t, std::string>> lines;
  for (int i = 0; i < 40; ++i) lines.emplace_back(skText, "line " + std::to_string(i));
  AddLines(lines);
  list->SetItemIndex(2);
  list->SetEditing(true);
  testsupport::SetEditText(list->Editor()->Handle(), "changed");
  SendMessageA(ListWindow(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_FALSE(list->Editing());
  EXPECT_EQ(Texts()[2], "changed");
  EXPECT_EQ(list->ItemIndex(), 2);

  list->SetItemIndex(3);
  list->SetEditing(true);
  list->SetBounds(8, 8, 380, 240);
  EXPECT_FALSE(list->Editing());
}

TEST_F(ScrListTest, EditorsLieOverTheirLine) {
  AddLines({{skText, "t"}, {skScreen, "s"}, {skDelay, "1"}, {skKey, "Esc"}});
  EXPECT_EQ(list->GetTextLeft(0), 21 + 17 + 2);
  EXPECT_EQ(list->GetTextLeft(1), 2 + 17 + 2);
  EXPECT_EQ(list->GetTextLeft(3), 40 + 17 + 2);
  EXPECT_EQ(list->GetItemTop(2), 2 * 19 + 8 + 3);
  list->SetItemIndex(0);
  list->SetEditing(true);
  fw::TWinControl* edit = list->Editor();
  EXPECT_EQ(edit->Left(), 8 + list->GetTextLeft(0));
  EXPECT_EQ(edit->Top(), list->GetItemTop(0));
  EXPECT_EQ(edit->Width(), 390 - list->GetTextLeft(0) - 24);
  EXPECT_EQ(edit->Parent(), form.get());
  list->SetEditing(false);
  list->SetItemIndex(2);
  list->SetEditing(true);
  EXPECT_EQ(list->Editor()->Width(), 64);
  EXPECT_EQ(list->Editor()->Left(), 8 + list->GetTextLeft(2) - 2);
  EXPECT_EQ(list->Editor()->Top(), list->GetItemTop(2) - 4);
  // The editor before is replaced.
  list->SetEditing(false);
  list->SetItemIndex(1);
  list->SetEditing(true);
  EXPECT_NE(dynamic_cast<TKavelComboBox*>(list->Editor()), nullptr);
  testsupport::PumpMessages(10);
  EXPECT_EQ(form->ControlCount(), 3);  // the list, the other edit and the screen editor: the others are gone
}

TEST_F(ScrListTest, HidingTheListBeforeClosingFiresNoEditedEvent) {
  AddLines({{skText, "x"}});
  TEditEvents events;
  list->OnEdited = fw::TNotifyEvent(&events, &TEditEvents::OnEdited);
  list->SetItemIndex(0);
  list->SetEditing(true);
  list->Hide();
  list->SetEditing(false);
  EXPECT_TRUE(events.Edited.empty());
  EXPECT_FALSE(list->Editing());
  // A hidden list opens no editor.
  list->SetItemIndex(0);
  list->SetEditing(true);
  EXPECT_FALSE(list->Editing());
}

// --- drawing ---------------------------------------------------------------

namespace {

// Draws one line of the list into a bitmap, as the list does on its window.
class TDrawProbe : public TScrList {
 public:
  using TScrList::TScrList;
  void DrawLine(fw::TMemoryBitmap& Bitmap, int Index, UINT State) {
    fw::TGdiCanvas canvas(Bitmap.DC());
    canvas.SetFont(Font());
    canvas.SetBrushColor(fw::clWhite);
    canvas.SetTextColor(fw::clBlack);
    SetBkMode(Bitmap.DC(), TRANSPARENT);
    DrawItem(canvas, Index, RECT{0, 0, Bitmap.Width(), Bitmap.Height()}, State);
  }
};

// The text drawn alone where a line's text goes.
void DrawExpected(fw::TMemoryBitmap& Bitmap, fw::TFont& Font, int Left, const std::string& Text, fw::TColor Color) {
  fw::TGdiCanvas canvas(Bitmap.DC());
  canvas.SetFont(Font);
  canvas.SetTextColor(Color);
  canvas.FillRect(RECT{0, 0, Bitmap.Width(), Bitmap.Height()}, fw::clWhite);
  SetBkMode(Bitmap.DC(), TRANSPARENT);
  TextOutA(Bitmap.DC(), Left, 3, Text.c_str(), static_cast<int>(Text.size()));
}

bool SameTextArea(const fw::TMemoryBitmap& A, const fw::TMemoryBitmap& B, int Left) {
  for (int y = 0; y < A.Height() - 1; ++y)
    for (int x = Left; x < A.Width(); ++x)
      if (A.Pixel(x, y) != B.Pixel(x, y)) return false;
  return true;
}

}  // namespace

TEST_F(ScrListTest, LinesDrawTheTextOfTheirItemsNotOfTheListStrings) {
  auto* probe = new TDrawProbe(form.get());
  probe->SetBounds(8, 8, 300, 100);
  probe->SetItemHeight(19);
  probe->SetImages(images);
  probe->SetParent(form.get());
  probe->InsertItem(0, skDelay, false, false);
  probe->SetItemText(0, "5");
  probe->InsertItem(0, skKey, false, false);
  probe->SetItemText(1, "Esc");
  ASSERT_EQ(probe->Items().Get(0), "1");  // the string the line was added with

  fw::TMemoryBitmap drawn(300, 19), expected(300, 19);
  probe->DrawLine(drawn, 0, 0);
  DrawExpected(expected, probe->Font(), 21 + 17 + 2, "5 Sec.", fw::clBlack);
  EXPECT_TRUE(SameTextArea(drawn, expected, 21 + 17 + 2));
  DrawExpected(expected, probe->Font(), 21 + 17 + 2, "1 Sec.", fw::clBlack);
  EXPECT_FALSE(SameTextArea(drawn, expected, 21 + 17 + 2));
  // The separator at the bottom of every line.
  EXPECT_EQ(drawn.Pixel(5, 18), RGB(190, 230, 250));
  // Key names are blue, unless the line is selected.
  probe->DrawLine(drawn, 1, 0);
  DrawExpected(expected, probe->Font(), 40 + 17 + 2, "Esc", fw::clBlue);
  EXPECT_TRUE(SameTextArea(drawn, expected, 40 + 17 + 2));
  probe->DrawLine(drawn, 1, ODS_SELECTED);
  EXPECT_FALSE(SameTextArea(drawn, expected, 40 + 17 + 2));
  // The "." line of a drag draws nothing but its background.
  probe->DrawLine(drawn, 2, 0);
  EXPECT_EQ(drawn.Pixel(5, 18), RGB(255, 255, 255));
}

// --- the script on the server ----------------------------------------------

namespace {
struct ScrListServerTest : TScrListHost {
  void SetUp() override {
    NCPCache().Clear();
    TScrListHost::SetUp();
  }
  void TearDown() override {
    TScrListHost::TearDown();
    NCPCache().Clear();
  }
};
}  // namespace

TEST_F(ScrListServerTest, LoadEditSaveAndAFailedSaveKeepsTheChanges) {
  nwtest::TSimServer server({}, kServer, kUncRoot);
  server.WriteFile("SYS", "SYSTEM\\A.OKS", "\\@MONITOR\r\nload\\Enter\r\n\\5\r\n");
  server.WriteFile("SYS", "SYSTEM\\B.OKS", "\\@System Console\r");
  list->Screens().Add("OLD SCREEN");
  list->LoadScript(1, "A.OKS");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"MONITOR", "load", "Enter", "5"}));
  EXPECT_EQ(list->Items().Count(), 4);
  EXPECT_FALSE(list->Modified());
  EXPECT_EQ(list->ScriptName(), "A.OKS");
  EXPECT_EQ(WaitCursorLevel(), 0);

  list->SetItemIndex(1);
  list->SetEditing(true);
  testsupport::SetEditText(list->Editor()->Handle(), "load C:\\DIR");
  TypeKey(list->Editor()->Handle(), VK_RETURN, '\r');
  ASSERT_TRUE(list->Modified());

  // The file cannot be written (a folder took its name): the exception reaches the caller
  // and the lines stay marked.
  std::string path = server.HostPath("SYS", "SYSTEM\\A.OKS");
  ASSERT_TRUE(DeleteFileA(path.c_str()));
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
  EXPECT_ANY_THROW(list->SaveScript());
  EXPECT_TRUE(list->Modified());
  // Loading another script saves first: it fails the same way and keeps this one open.
  EXPECT_ANY_THROW(list->LoadScript(1, "B.OKS"));
  EXPECT_EQ(list->ScriptName(), "A.OKS");
  EXPECT_EQ(Texts()[1], "load C:\\DIR");
  RemoveDirectoryA(path.c_str());

  list->LoadScript(1, "B.OKS");  // saves A first
  EXPECT_FALSE(list->Modified());
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\A.OKS"), "\\@MONITOR\r\nload C:\\\\DIR\r\n\\Enter\r\n\\5\r\n");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"System Console"}));
  // Every screen name of every script loaded is known, once, in order.
  std::vector<std::string> screens;
  for (int i = 0; i < list->Screens().Count(); ++i) screens.push_back(list->Screens().Get(i));
  EXPECT_EQ(screens, (std::vector<std::string>{"MONITOR", "OLD SCREEN", "System Console"}));

  // A script that cannot be read leaves an empty list, not the lines of the one before.
  EXPECT_THROW(list->LoadScript(1, "MISSING.OKS"), fw::EFOpenError);
  EXPECT_EQ(list->Items().Count(), 0);
  EXPECT_EQ(list->ScriptItems().Count(), 0);

  list->LoadScript(1, "B.OKS");
  list->InsertItem(0, skDelay, false, false);
  list->CloseScript();
  EXPECT_EQ(server.ReadFile("SYS", "SYSTEM\\B.OKS"), "\\@System Console\r\n\\1\r\n");
  EXPECT_EQ(list->Items().Count(), 0);
  EXPECT_EQ(list->DropMark(), -1);
}

TEST_F(ScrListTest, TheKnownScreensAreKeptInTheRegistry) {
  testsupport::TSavedRegistryTree saved(HKEY_CURRENT_USER, "Software\\Kavel");
  fw::TStringList names;
  names.Add("MONITOR");
  names.Add("System Console");
  SaveScreenNames(names);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kavel\\Brenvik\\Tuvek.IList_Screens", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  char value[64] = {};
  DWORD size = sizeof value, type = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Count", nullptr, &type, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "2");
  size = sizeof value;
  EXPECT_EQ(RegQueryValueExA(key, "Item1", nullptr, &type, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "System Console");
  RegCloseKey(key);

  // A shorter list leaves no stale items; reading adds to a sorted list without duplicates.
  names.Delete(1);
  SaveScreenNames(names);
  list->Screens().Add("MONITOR");
  LoadScreenNames(list->Screens());
  EXPECT_EQ(list->Screens().Count(), 1);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kScreenNamesKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_NE(RegQueryValueExA(key, "Item1", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(key);
  // A count beyond the items stored reads what is there.
  RegOpenKeyExA(HKEY_CURRENT_USER, kScreenNamesKey, 0, KEY_SET_VALUE, &key);
  RegSetValueExA(key, "Count", 0, REG_SZ, reinterpret_cast<const BYTE*>("7"), 2);
  RegCloseKey(key);
  fw::TStringList read;
  LoadScreenNames(read);
  EXPECT_EQ(read.Count(), 1);
}

TEST_F(ScrListTest, AnEditedScriptAsTheUserSeesIt) {
  AddLines({{skScreen, "System Console"},
            {skText, "load monitor"},
            {skKey, "Enter"},
            {skDelay, "5"},
            {skScreen, "MONITOR"},
            {skKey, "F10"},
            {skText, "unload monitor"}});
  list->SetItemIndex(2);
  list->SetEditing(true);
  testsupport::PumpMessages(50);
  EXPECT_FALSE(testsupport::SaveWindowPng(form->Handle(), "edited_script").empty());
}
