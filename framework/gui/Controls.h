// Controls: TControl (position, size, visibility, caption, font, alignment),
// TWinControl (a window of its own, child controls, message dispatch) and
// TGraphicControl (drawn on its parent's window).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Graphics.h"
#include "WinHandles.h"
#include "core/Classes.h"

namespace fw {

struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;
extern const TEnumInfo kAlignInfo;

class TWinControl;
class TPopupMenu;

class TControl : public TComponent {
  FW_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* Value);
  void SetParentComponent(TComponent* Value) override;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual int ClientWidth() const { return FWidth; }
  virtual int ClientHeight() const { return FHeight; }
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);

  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& Value) { SetText(Value); }
  virtual void SetText(const std::string& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

  virtual void Invalidate();
  void Repaint();
  void Loaded() override;

  // The menu shown when the user asks for the control's context menu.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  TNotifyEvent OnClick;
  // Runs the click action: OnClick when assigned.
  virtual void Click();
  // The mouse came over the control or left it (a graphic control hears it from its
  // parent window).
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // A dialog character (Alt and a key) typed on the control's form; true when taken.
  virtual bool DialogChar(char Key) { return false; }

 protected:
  virtual void TextChanged() {}
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void VisibleChanged() {}
  virtual void BoundsChanged() {}
  void RequestAlign();
  // Takes over the parent's font or colour when it is to follow the parent.
  void ParentFontChanged();
  void ParentColorChanged();
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  TAlign FAlign = alNone;
  std::string FText;
  TColor FColor = clBtnFace;
  TFont FFont;
  bool FParentFont = true;
  bool FParentColor = true;

 private:
  friend class TWinControl;
  void FontChange(TObject* Sender);
  bool FFontFromParent = false;
  TPopupMenu* FPopupMenu = nullptr;
};

class TWinControl : public TControl {
  FW_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, created on first need (with the parent's first).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);

  int ClientWidth() const override;
  int ClientHeight() const override;
  virtual RECT ClientRect() const;
  // Lays out the aligned child controls.
  void Realign();
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;
  void SetEnabled(bool Value) override;
  // Offers the key to the visible, enabled children in turn, the first taker wins.
  bool DialogChar(char Key) override;

  // Message handling: every message of the window comes here. An exception raised
  // while handling one reaches the application's exception handler.
  virtual void WndProc(TMessage& Message);
  void DefaultHandler(TMessage& Message);
  // Sends a message to the window and returns its result.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);

 protected:
  struct TCreateParams {
    std::string WinClassName;  // our own class, or a system class to subclass
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    bool SystemClass = false;
  };
  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  // After the window exists: children get theirs, the font is set.
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void PaintWindow(HDC DC);
  void PaintControls(HDC DC);
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  void VisibleChanged() override;
  void UpdateBoundsFromWindow();
  virtual void AlignControls(RECT& Rect);
  // The brush of the control's colour, made on first need.
  HBRUSH Brush();

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;
  bool FAligning = false;
  TBrushHandle FBrush;

 private:
  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  void UpdateBrush();
  // WM_CONTEXTMENU: shows the control's pop-up menu; false when it has none.
  bool ShowContextMenu(LPARAM Position);
  // The visible graphic child at the point (client coordinates), topmost first; nil.
  TControl* GraphicControlAt(POINT Point) const;
  // Tells graphic children the mouse came or went.
  void TrackMouseOver(TControl* Control);
  TControl* FMouseControl = nullptr;
};

class TGraphicControl : public TControl {
  FW_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  // Draws the control; the canvas origin is the control's top-left corner.
  virtual void Paint(TCanvas& Canvas) {}
};

// The window procedure every control window runs.
LRESULT CALLBACK ControlWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// The control whose window this is, or nil.
TWinControl* FindControl(HWND Wnd);

}  // namespace fw
