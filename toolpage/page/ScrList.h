// TScrList: the line editor of one console script. Each line of the script is drawn with
// the icon and indent of its kind; the current line is edited in place with an editor
// that suits its kind (an edit for text, a completing combo box of known screen names, a
// spin edit for seconds, a list of key names); lines are inserted, deleted and dragged
// into a new order, and the list scrolls by itself while a line is dragged near an edge.
// The list box's strings only count the lines: everything drawn and saved comes from the
// script items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "NwTypes.h"
#include "ScriptFormat.h"
#include "gui/ImageLists.h"
#include "gui/OwnerDrawLists.h"

namespace toolpage {

class TScrList : public fw::TOwnerDrawListBox {
  FW_CLASS(TScrList, fw::TOwnerDrawListBox)
 public:
  explicit TScrList(fw::TComponent* AOwner);
  ~TScrList() override;

  // The icons of the line kinds (screen 0, delay 1, key 2).
  fw::TImageList* Images() const { return FImages; }
  void SetImages(fw::TImageList* Value);
  // The screen names the screen editor offers: sorted, without duplicates, growing with
  // every script loaded.
  fw::TStringList& Screens() { return FScreens; }
  const fw::TStringList& Screens() const { return FScreens; }
  void SetScreens(const fw::TStrings* Value) { FScreens.Assign(Value); }
  // The lines differ from what was last written.
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  const std::string& ScriptName() const { return FScriptName; }
  TConnRef ConnRef() const { return FConnRef; }
  const TSCList& ScriptItems() const { return FItems; }

  // Saves the script open so far, then reads ScriptName from the server.
  void LoadScript(TConnRef ConnRef, const std::string& ScriptName);
  // Writes the lines when they were modified; the flag is cleared once the write worked.
  void SaveScript();
  // Saves, then empties the list.
  void CloseScript();
  // Empties the list without writing anything (after a save that failed and was reported).
  void DiscardScript();
  // A new line of Kind with its default text before or after line Index (any index in an
  // empty list); the new line becomes current and, with Edit, its editor opens.
  void InsertItem(int Index, uint8_t Kind, bool Before, bool Edit);
  void DeleteItem(int Index);
  void SetItemText(int Index, const std::string& Text);

  // Opens the editor of the current line, or closes the open one, taking a valid value.
  void SetEditing(bool Value);
  bool Editing() const { return FEditing; }
  // The editor last opened (hidden once closed), nil when none was made.
  fw::TWinControl* Editor() const { return FEditor; }
  int EditedIndex() const { return FEditedIndex; }

  // The left of a line's text in the list; the top of a line in the list's parent.
  int GetTextLeft(int Index) const;
  int GetItemTop(int Index) const;

  // Dragging and scrolling as they stand.
  int DraggedIndex() const { return FDraggedIndex; }
  int DropMark() const { return FDropMark; }
  bool HasDropLine() const { return FDropLine; }
  bool AutoScrolling() const { return FTimerOn; }
  int AutoScrollInterval() const { return FInterval; }
  uint8_t AutoScrollDirections() const { return FDirections; }

  // Fired with the editor as Sender: it was shown; editing ended while the list is visible.
  fw::TNotifyEvent OnEditing;
  fw::TNotifyEvent OnEdited;

 protected:
  void DrawItem(fw::TGdiCanvas& Canvas, int Index, const RECT& Rect, UINT State) override;
  void DblClick() override;
  void WndProc(fw::TMessage& Message) override;
  void Notification(fw::TComponent* AComponent, fw::TOperation Operation) override;
  void DoStartDrag() override;
  void DragOver(fw::TObject* Source, int X, int Y, fw::TDragState State, bool& Accept) override;
  void DoEndDrag(fw::TObject* Target, int X, int Y) override;

 private:
  void OpenEditor();
  // Closes the editor; with Commit its value, when valid, becomes the line's text.
  void CloseEditor(bool Commit);
  fw::TWinControl* MakeEditor(const TSCItem& Item);
  std::string EditorText() const;
  void EditorKeyPress(fw::TObject* Sender, char& Key);
  void EditorExit(fw::TObject* Sender);
  void FreeRetiredEditors();

  void InvertDropMark(int Index, HDC DC = nullptr);
  void CheckAutoScroll(int X, int Y);
  void StartAutoScroll();
  void StopAutoScroll();
  void AutoScrollTimer();
  void InvalidateLine(int Index);

  int FDraggedIndex = -1;
  int FEditedIndex = -1;
  bool FEditing = false;
  bool FDropLine = false;
  fw::TWinControl* FEditor = nullptr;      // owned by the list
  std::vector<fw::TWinControl*> FRetired;  // editors replaced while their messages may run
  TConnRef FConnRef = 0;
  uint8_t FDirections = 0;
  int FCounter = 0;
  bool FTimerOn = false;
  int FInterval = 0;
  int FDropMark = -1;
  TSCList FItems;
  bool FModified = false;
  std::string FScriptName;
  fw::TImageList* FImages = nullptr;
  fw::TStringList FScreens;
  fw::TFont FBoldFont;  // screen lines, selected while one is drawn
};

}  // namespace toolpage
