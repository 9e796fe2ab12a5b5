// Title labels: size and lines, gradient views, angles, following their control; the
// splash painted a thousand times without a GDI object left over, and saved for review.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "PngWriter.h"
#include "core/FormReader.h"
#include "Screenshot.h"
#include "SplashFixture.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "wizard/Gradient.h"
#include "wizard/LabelHooks.h"

namespace setup {
namespace {

using namespace fw;
using testing::TSplash;

struct TLabelOnHost {
  TOwnedPtr<TWinControl> Host{new TWinControl(nullptr)};
  ToxLabel* Label = new ToxLabel(Host.get());
  TLabelOnHost() {
    Host->SetBounds(0, 0, 400, 300);
    Label->SetParent(Host.get());
    Label->Font().SetName("Arial");
    Label->Font().SetHeight(-20);
  }
};

TEST(ToxLabel, AutoSizeTakesTheExtentOfItsLines) {
  TLabelOnHost t;
  t.Label->SetCaption("Kavel||Stavrel Setup");
  EXPECT_EQ(t.Label->Lines().Count(), 2);
  EXPECT_EQ(t.Label->Lines().Get(1), "Stavrel Setup");
  EXPECT_EQ(t.Label->Width(), t.Label->TextWidth());
  EXPECT_EQ(t.Label->Height(), t.Label->TextHeight());
  const int oneLine = t.Label->Height() / 2;
  EXPECT_GT(oneLine, 15);
  t.Label->Lines().Put(1, "4.0");
  EXPECT_EQ(t.Label->Caption(), "Kavel||4.0");
  t.Label->Lines().Insert(0, "Setup");
  EXPECT_EQ(t.Label->Caption(), "Setup||Kavel||4.0");
  EXPECT_EQ(t.Label->Height(), 3 * oneLine);
  t.Label->SetAutoSize(false);
  t.Label->SetBounds(0, 0, 50, 10);
  t.Label->Lines().Delete(0);
  EXPECT_EQ(t.Label->Width(), 50);
  EXPECT_EQ(t.Label->Height(), 10);
  t.Label->Lines().Clear();
  EXPECT_EQ(t.Label->Caption(), "");
  EXPECT_EQ(t.Label->Lines().Count(), 0);
}

TEST(ToxLabel, AFormDescriptionMayGiveTheCaptionAsLines) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  ReadComponentFromText(form.get(),
                        "object Form: TForm\n  object Title: ToxLabel\n    Lines.Strings = (\n      'Kavel'\n"
                        "      'Setup')\n  end\nend\n",
                        "labels");
  auto* label = dynamic_cast<ToxLabel*>(form->FindComponent("Title"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), "Kavel||Setup");
}

TEST(ToxLabel, CaptionLinesKeepTheStoredLimit) {
  TLabelOnHost t;
  t.Label->SetCaption("first");
  t.Label->Lines().Add(std::string(300, 'x'));
  EXPECT_EQ(t.Label->Caption().size(), TCaptionStrings::kMaxText);
  EXPECT_THROW(t.Label->Lines().Get(5), EStringListError);
}

TEST(ToxLabel, GradientViewsSwitchTheTextStyle) {
  TLabelOnHost t;
  t.Label->Gradient().SetEnabled(true);
  EXPECT_EQ(t.Label->TextStyle().Style(), oxlGradient);
  t.Label->Gradient().SetEnabled(false);
  t.Label->Gradient().SetDirection(oxlVertical);
  EXPECT_EQ(t.Label->TextStyle().Style(), oxlVertGradient);
  EXPECT_TRUE(t.Label->Gradient().Enabled());
  t.Label->Gradient().SetTextColor(clRed);
  EXPECT_EQ(t.Label->Font().Color(), clRed);
  EXPECT_EQ(t.Label->TextStyle().GradientRamp().StartColor(), clRed);
  t.Label->HotGradient().SetTextColor(clBlue);
  EXPECT_EQ(t.Label->HotTextColor(), clBlue);
  t.Label->HotGradient().Assign(&t.Label->Gradient());
  EXPECT_EQ(t.Label->HotTextStyle().Style(), oxlVertGradient);
  EXPECT_EQ(t.Label->HotTextColor(), clRed);
}

TEST(TGradient, TableAndIndexes) {
  TGradient gradient;
  gradient.SetStartColor(clBlack);
  gradient.SetEndColor(clWhite);
  EXPECT_EQ(gradient.GetColor(0), clWhite);
  EXPECT_EQ(gradient.GetColor(127), static_cast<TColor>(RGB(2, 2, 2)));
  try {
    gradient.GetColor(128);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidIndex& e) {
    EXPECT_STREQ(e.what(), "Index out of range");
  }
  EXPECT_THROW(gradient.GetColor(-1), EInvalidIndex);
  gradient.SetEndColor(clRed);
  EXPECT_FALSE(gradient.HasTable());
  EXPECT_EQ(gradient.GetColor(0), clRed);
}

TEST(ToxLabel, TurningNeedsATrueTypeFont) {
  TLabelOnHost t;
  std::string raster;
  for (const char* name : {"System", "MS Sans Serif", "Courier", "Fixedsys", "Small Fonts"}) {
    t.Label->Font().SetName(name);
    TMemoryDCOwner dc = MakeMemoryDC();
    TSelectObject font(dc.Get(), t.Label->Font().Handle());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.Get(), &tm);
    if ((tm.tmPitchAndFamily & TMPF_TRUETYPE) == 0) {
      raster = name;
      break;
    }
  }
  if (raster.empty()) GTEST_SKIP() << "no raster font here";
  t.Label->SetTextAngle(0);
  EXPECT_EQ(t.Label->Font().Name(), raster);
  t.Label->SetTextAngle(45);
  EXPECT_EQ(t.Label->Font().Name(), "Arial");
  EXPECT_THROW(t.Label->SetTextAngle(361), EPropertyError);
}

TEST(ToxLabel, FollowsItsControlWhenItMoves) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  form->SetBounds(0, 0, 400, 300);
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(100, 50, 80, 20);
  auto* label = new ToxLabel(form.get());
  label->SetParent(form.get());
  label->SetCaption("&Name");
  label->SetBounds(20, 52, label->Width(), label->Height());
  label->SetFocusControl(edit);
  label->SetAutoMove(true);
  label->Loaded();  // as after reading a form: the hook starts
  form->HandleNeeded();
  edit->SetBounds(150, 90, 80, 20);
  EXPECT_EQ(label->Left(), 70);
  EXPECT_EQ(label->Top(), 92);
  form->Show();
  EXPECT_TRUE(label->DialogChar('n'));
  EXPECT_EQ(GetFocus(), edit->Handle());
  EXPECT_FALSE(label->DialogChar('x'));
  edit->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_FALSE(label->DialogChar('n'));
}

TEST(ToxLabel, TheHookNeedsAWindowItCanHook) {
  ToxBaseSubClass hook;
  hook.SetHandle(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ff0)));
  try {
    hook.SetActive(true);
    ADD_FAILURE() << "a handle that is no window was hooked";
  } catch (const ENotOwnerError& e) {
    EXPECT_EQ(e.Message(), "Not a valid Window");
  }
  EXPECT_FALSE(hook.Active());
}

TEST(ToxLabel, TheMouseAndAltKeysReachItThroughItsForm) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  form->SetBounds(0, 0, 400, 300);
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(150, 50, 80, 20);
  auto* label = new ToxLabel(form.get());
  label->SetParent(form.get());
  label->SetCaption("&Name");
  label->SetBounds(20, 52, label->Width(), label->Height());
  label->SetFocusControl(edit);
  std::vector<std::string> seen;
  struct TWatcher {
    std::vector<std::string>* Seen;
    void Entered(TObject*) { Seen->push_back("enter"); }
    void Left(TObject*) { Seen->push_back("leave"); }
  } watcher{&seen};
  label->OnMouseEnter = TNotifyEvent(&watcher, &TWatcher::Entered);
  label->OnMouseLeave = TNotifyEvent(&watcher, &TWatcher::Left);
  form->Show();
  SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(25, 55));
  SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
  EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));
  PostMessageA(form->Handle(), WM_SYSCHAR, 'n', 0);
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), edit->Handle()) << "Alt+N focuses the label's control";
}

TEST(ToxLabel, AClickWithoutAnAddressIsAnOrdinaryClick) {
  TLabelOnHost t;
  struct TCounter {
    int Clicks = 0;
    void Click(TObject*) { ++Clicks; }
  } counter;
  t.Label->OnClick = TNotifyEvent(&counter, &TCounter::Click);
  t.Label->SetOptions({oxlURL});
  t.Label->Click();
  EXPECT_EQ(counter.Clicks, 1);
}

TEST(ToxLabel, LayoutPlacesTheTextBlock) {
  TLabelOnHost t;
  t.Label->SetCaption("I");
  t.Label->SetAutoSize(false);
  t.Label->SetBounds(0, 0, 200, 100);
  t.Label->Font().SetColor(clWhite);
  t.Label->SetColor(clBlack);
  t.Label->SetLayoutHorizontal(taCenter);
  t.Label->SetLayout(tlCenter);
  TMemoryBitmap bitmap(200, 100);
  {
    TGdiCanvas canvas(bitmap.DC());
    t.Label->PaintOn(canvas);
  }
  EXPECT_EQ(bitmap.Pixel(0, 0), RGB(0, 0, 0)) << "the background is filled";
  bool inkNearCentre = false;
  for (int y = 40; y < 60; ++y)
    for (int x = 90; x < 110; ++x) inkNearCentre |= bitmap.Pixel(x, y) == RGB(255, 255, 255);
  EXPECT_TRUE(inkNearCentre);
  EXPECT_EQ(bitmap.Pixel(10, 50), RGB(0, 0, 0));
}

TEST(ToxLabel, GradientLettersShowTheRamp) {
  TLabelOnHost t;
  t.Label->Font().SetHeight(-60);
  t.Label->Font().SetStyle({fsBold});
  t.Label->SetCaption("MMMM");
  t.Label->SetColor(clBlack);
  t.Label->Gradient().SetTextColor(clRed);
  t.Label->Gradient().SetColor(clBlue);
  t.Label->Gradient().SetEnabled(true);
  TMemoryBitmap bitmap(t.Label->Width(), t.Label->Height());
  {
    TGdiCanvas canvas(bitmap.DC());
    t.Label->PaintOn(canvas);
  }
  // Letters are bluish at the left (the end colour) and reddish at the right.
  int leftBlue = 0, rightRed = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width() / 4; ++x) leftBlue += GetBValue(bitmap.Pixel(x, y)) > 200;
    for (int x = bitmap.Width() * 3 / 4; x < bitmap.Width(); ++x) rightRed += GetRValue(bitmap.Pixel(x, y)) > 200;
  }
  EXPECT_GT(leftBlue, 20);
  EXPECT_GT(rightRed, 20);
}

TEST(ToxLabel, TransparentGradientLettersLeaveTheGroundAlone) {
  TLabelOnHost t;
  t.Label->Font().SetHeight(-60);
  t.Label->SetCaption("MMMM");
  t.Label->SetColor(clBlack);
  t.Label->SetTransparent(true);
  t.Label->Gradient().SetTextColor(clRed);
  t.Label->Gradient().SetColor(clBlue);
  t.Label->Gradient().SetEnabled(true);
  const COLORREF ground = RGB(0, 200, 0);
  TMemoryBitmap bitmap(t.Label->Width(), t.Label->Height());
  {
    TGdiCanvas canvas(bitmap.DC());
    canvas.FillRect(RECT{0, 0, bitmap.Width(), bitmap.Height()}, static_cast<TColor>(ground));
    t.Label->PaintOn(canvas);
  }
  int groundLeft = 0, black = 0, letters = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      COLORREF c = bitmap.Pixel(x, y);
      groundLeft += c == ground;
      black += c == RGB(0, 0, 0);
      letters += c != ground && c != RGB(0, 0, 0);
    }
  EXPECT_EQ(black, 0) << "the label's colour is transparent";
  EXPECT_GT(groundLeft, bitmap.Width() * bitmap.Height() / 3);
  EXPECT_GT(letters, 100);
}

// The file of a 24-bit picture of 2 x 2 pixels: the bottom-left one (its transparent colour) red,
// the others blue.
std::vector<uint8_t> TransparentCornerPicture() {
  const uint8_t red[3] = {0, 0, 255}, blue[3] = {255, 0, 0};
  std::vector<uint8_t> rows;
  for (int row = 0; row < 2; ++row) {  // bottom row first
    for (int x = 0; x < 2; ++x) {
      const uint8_t* pixel = row == 0 && x == 0 ? red : blue;
      rows.insert(rows.end(), pixel, pixel + 3);
    }
    rows.insert(rows.end(), 2, 0);  // rows are whole double words
  }
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = 2;
  info.biHeight = 2;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + rows.size());
  std::vector<uint8_t> bytes(reinterpret_cast<uint8_t*>(&file), reinterpret_cast<uint8_t*>(&file) + sizeof file);
  bytes.insert(bytes.end(), reinterpret_cast<uint8_t*>(&info), reinterpret_cast<uint8_t*>(&info) + sizeof info);
  bytes.insert(bytes.end(), rows.begin(), rows.end());
  return bytes;
}

TEST(ToxLabel, StretchedAndTiledLetterPicturesKeepTheirTransparentColour) {
  for (ToxLabelAttributesStyle style : {oxlPictureStretch, oxlPicturePattern}) {
    TLabelOnHost t;
    t.Label->Font().SetHeight(-60);
    t.Label->Font().SetStyle({fsBold});
    t.Label->Font().SetColor(clWhite);
    t.Label->SetCaption("MMMM");
    t.Label->SetColor(clBlack);
    TBitmap picture;
    picture.LoadFromBytes(TransparentCornerPicture());
    t.Label->TextStyle().Picture()->SetGraphic(&picture);
    t.Label->TextStyle().SetStyle(style);
    TMemoryBitmap bitmap(t.Label->Width(), t.Label->Height());
    {
      TGdiCanvas canvas(bitmap.DC());
      t.Label->PaintOn(canvas);
    }
    int red = 0, blue = 0, white = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x) {
        COLORREF c = bitmap.Pixel(x, y);
        red += c == RGB(255, 0, 0);
        blue += c == RGB(0, 0, 255);
        white += c == RGB(255, 255, 255);
      }
    EXPECT_EQ(red, 0) << "style " << static_cast<int>(style) << ": the transparent colour shows the text colour";
    EXPECT_GT(blue, 100) << static_cast<int>(style);
    EXPECT_GT(white, 100) << static_cast<int>(style);
  }
}

// The paint that the splash's window makes, into a memory bitmap.
void PaintSplash(TSplash& Splash, TMemoryBitmap& Target) {
  Splash.Backdrop->PaintTo(Target.DC());
}

TEST(Splash, AThousandPaintsLeaveNoGdiObjectBehind) {
  TSplash splash(640, 480);
  splash.Product->SetTextAngle(10);  // turned fonts made and freed on every paint
  splash.Title->Gradient().SetColor(clYellow);
  splash.Title->Gradient().SetEnabled(true);  // bitmaps and masks on every paint
  TMemoryBitmap target(640, 480);
  PaintSplash(splash, target);
  const long before = GdiObjectsAlive();
  for (int i = 0; i < 1000; ++i) PaintSplash(splash, target);
  EXPECT_EQ(GdiObjectsAlive(), before);

  TBrushOwner brush = MakeSolidBrush(clRed);
  HBRUSH raw = brush.Get();
  EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GdiObjectsAlive(), before + 1);
  brush.Reset();
  EXPECT_EQ(GetObjectType(raw), 0u) << "the brush is gone";
  EXPECT_EQ(GdiObjectsAlive(), before);
}

// Writes the bitmap where the test run keeps its screenshots.
void SavePng(const TMemoryBitmap& Bitmap, const std::string& Name) {
  const int w = Bitmap.Width(), h = Bitmap.Height();
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      COLORREF c = Bitmap.Pixel(x, y);
      rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  std::filesystem::path folder = testsupport::ScreenshotFolder();
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(
      testsupport::WritePngFile((folder / Name).string(), static_cast<uint32_t>(w), static_cast<uint32_t>(h), rgb));
}

TEST(Splash, ShowsTheBandsAndTheTitlesAndIsSavedForReview) {
  TSplash splash(800, 600);
  TMemoryBitmap target(800, 600);
  PaintSplash(splash, target);
  // Start colour at the top and bottom edges, end colour in the middle.
  EXPECT_EQ(target.Pixel(5, 599), ColorToRGB(12420207));
  EXPECT_EQ(target.Pixel(799, 300), ColorToRGB(4471861));
  auto whiteIn = [&](int Top, int Bottom) {
    int n = 0;
    for (int y = Top; y < Bottom; ++y)
      for (int x = 0; x < 800; ++x) n += target.Pixel(x, y) == RGB(255, 255, 255);
    return n;
  };
  EXPECT_GT(whiteIn(0, 29), 100) << "the title";
  EXPECT_GT(whiteIn(29, 48), 50) << "the product line";
  EXPECT_GT(whiteIn(52, 70), 10) << "the version";
  EXPECT_EQ(target.Pixel(5, 10), target.Pixel(795, 10)) << "the titles are centred on the bands";
  SavePng(target, "splash.png");
}

}  // namespace
}  // namespace setup
