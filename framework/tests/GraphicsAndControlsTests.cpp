#include <gtest/gtest.h>

#include <cstring>

#include "core/FormText.h"
#include "gui/Forms.h"
#include "tests/ErrorText.h"

using namespace fw;

namespace {

// A minimal bitmap file: 2 x 3 pixels, 24 bits.
std::vector<uint8_t> SmallBitmap() {
  std::vector<uint8_t> bmp(54 + 3 * 8, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  uint32_t size = static_cast<uint32_t>(bmp.size()), offset = 54, header = 40;
  std::memcpy(&bmp[2], &size, 4);
  std::memcpy(&bmp[10], &offset, 4);
  std::memcpy(&bmp[14], &header, 4);
  int32_t w = 2, h = 3;
  std::memcpy(&bmp[18], &w, 4);
  std::memcpy(&bmp[22], &h, 4);
  bmp[26] = 1;
  bmp[28] = 24;
  return bmp;
}

TEST(Pictures, DataCarriesTheGraphicClassAndSurvivesARoundTrip) {
  TPicture picture;
  EXPECT_TRUE(picture.Empty());
  EXPECT_TRUE(picture.Data().empty());
  TBitmap bitmap;
  bitmap.LoadFromBytes(SmallBitmap());
  picture.SetGraphic(&bitmap);
  EXPECT_EQ(picture.Width(), 2);
  EXPECT_EQ(picture.Height(), 3);
  std::vector<uint8_t> data = picture.Data();
  ASSERT_GT(data.size(), 12u);
  EXPECT_EQ(std::string(data.begin(), data.begin() + 8), "\x07TBitmap");
  TPicture copy;
  copy.SetData(data);
  EXPECT_EQ(copy.Data(), data);
  EXPECT_NE(dynamic_cast<TBitmap*>(copy.Graphic())->Handle(), nullptr);
  TPicture assigned;
  assigned.Assign(&copy);
  EXPECT_EQ(assigned.Data(), data);
  EXPECT_NE(assigned.Graphic(), copy.Graphic());
}

TEST(Pictures, DamagedDataIsRefusedAndLeavesThePictureAsItWas) {
  TPicture picture;
  TBitmap bitmap;
  bitmap.LoadFromBytes(SmallBitmap());
  picture.SetGraphic(&bitmap);
  std::vector<uint8_t> good = picture.Data();
  std::vector<uint8_t> truncated(good.begin(), good.begin() + 14);
  EXPECT_THROW(picture.SetData(truncated), EInOutError);
  EXPECT_THROW(picture.SetData({5, 'T', 'J', 'u', 'n', 'k'}), EInOutError);
  EXPECT_THROW(picture.SetData({40}), EInOutError);
  EXPECT_EQ(picture.Data(), good);
  TIcon icon;
  EXPECT_THROW(icon.LoadFromBytes({1, 2, 3}), EInOutError);
}

TEST(Fonts, SizeAndHeightAreTwoViewsOfOneValueAndChangesAreReported) {
  struct TCounter {
    int Changes = 0;
    void Changed(TObject*) { ++Changes; }
  } counter;
  TFont font;
  font.OnChange = TNotifyEvent(&counter, &TCounter::Changed);
  EXPECT_EQ(font.Size(), 8);  // -11 pixels at 96 dpi
  font.SetSize(24);
  EXPECT_EQ(font.Height(), -32);
  font.SetHeight(-32);
  EXPECT_EQ(counter.Changes, 1);
  HFONT first = font.Handle();
  font.SetStyle({fsBold});
  EXPECT_EQ(counter.Changes, 2);
  EXPECT_NE(font.Handle(), nullptr);
  (void)first;
  long long value = 0;
  EXPECT_TRUE(IdentToColor("clWindowText", value));
  EXPECT_EQ(value, clWindowText);
  EXPECT_FALSE(IdentToColor("clNoSuchColour", value));
  EXPECT_TRUE(IdentToCharset("EASTEUROPE_CHARSET", value));
  EXPECT_EQ(value, 238);
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
}

TEST(Controls, FontFollowsTheParentUntilSetAndColourLikewise) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  auto* label = new TLabel(form.get());
  form->Font().SetName("Arial");
  label->SetParent(form.get());
  EXPECT_EQ(label->Font().Name(), "Arial");
  EXPECT_TRUE(label->ParentFont());
  form->Font().SetHeight(-20);
  EXPECT_EQ(label->Font().Height(), -20);
  label->Font().SetHeight(-9);
  EXPECT_FALSE(label->ParentFont());
  form->Font().SetHeight(-30);
  EXPECT_EQ(label->Font().Height(), -9);
  label->SetParentFont(true);
  EXPECT_EQ(label->Font().Height(), -30);

  form->SetColor(clWhite);
  EXPECT_EQ(label->Color(), clWhite);
  label->SetColor(clRed);
  form->SetColor(clBlack);
  EXPECT_EQ(label->Color(), clRed);
}

TEST(Controls, ReparentingAndFreeingKeepParentsAndChildListsRight) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  TOwnedPtr<TForm> other(new TForm(nullptr));
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  HWND first = button->Handle();
  EXPECT_EQ(GetParent(first), form->Handle());
  button->SetParent(other.get());
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(other->ControlCount(), 1);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(GetParent(button->Handle()), other->Handle());
  EXPECT_THROW(other->SetParent(other.get()), EComponentError);
  button->Free();  // owned by one form, parented by the other
  EXPECT_EQ(other->ControlCount(), 0);
}

TEST(Controls, AutoSizedLabelFitsItsCaption) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  label->SetCaption("W");
  int narrow = label->Width();
  label->SetCaption("WWWWWWWWWW");
  EXPECT_GT(label->Width(), narrow * 5);
  label->SetAutoSize(false);
  label->SetCaption("W");
  EXPECT_GT(label->Width(), narrow * 5);
}

TEST(FormText, NumbersStringsAndBinaryForms) {
  TFormObject o = ParseFormText(
      "object A: TX\n"
      "  I = -$10\n"
      "  F = 1.5e2\n"
      "  S = 'a' +\n    'b'#13#10'c'\n"
      "  E = ''\n"
      "  L = (\n    1\n    'two')\n"
      "  B = {}\n"
      "end\n",
      "T");
  ASSERT_EQ(o.Properties.size(), 6u);
  EXPECT_EQ(o.Properties[0].Value.Integer, -16);
  EXPECT_DOUBLE_EQ(o.Properties[1].Value.Float, 150.0);
  EXPECT_EQ(o.Properties[2].Value.Text, "ab\r\nc");
  EXPECT_EQ(o.Properties[3].Value.Text, "");
  EXPECT_EQ(o.Properties[4].Value.List.size(), 2u);
  EXPECT_EQ(o.Properties[4].Line, 7);
  EXPECT_TRUE(o.Properties[5].Value.Data.empty());
  auto error = [](const char* text) { return fw::testing::ErrorText<EReadError>([&] { ParseFormText(text, "T"); }); };
  EXPECT_EQ(error("object A: TX\n B = {ABC}\nend"), "Error reading T, line 2: odd number of hexadecimal digits in binary data");
  EXPECT_EQ(error("object A: TX\n B = {G0}\nend"), "Error reading T, line 2: invalid character 'G' in binary data");
  EXPECT_EQ(error("object A: TX\n S = 'a' +\nend"), "Error reading T, line 3: string expected after '+'");
  EXPECT_EQ(error("object A: TX\n N = 1.2.3\nend"), "Error reading T, line 2: invalid number: 1.2.3");
  EXPECT_EQ(error("object A: TX\nend\nobject"), "Error reading T, line 3: text after the final 'end'");
  EXPECT_EQ(error("thing A: TX\nend"), "Error reading T, line 1: 'object' expected but 'thing' found");
  EXPECT_EQ(error("object A: TX\n S = [a b]\nend"), "Error reading T, line 2: ']' expected");
}

TEST(FormatText, SpecifiersFitTheirArgumentsOrRaise) {
  EXPECT_EQ(Format("%s has %d items (%4.4X)", std::string("list"), 3, 0xBEEFu), "list has 3 items (BEEF)");
  EXPECT_EQ(Format("%-5s|%5s|%.2s", "ab", "cd", "efgh"), "ab   |   cd|ef");
  EXPECT_EQ(Format("100%% %x", -1), "100% ffffffff");
  EXPECT_EQ(Format("%.1f", 2.25), "2.2");
  EXPECT_THROW(Format("%d", "text"), EConvertError);
  EXPECT_THROW(Format("%s %s", "one"), EConvertError);
  EXPECT_THROW(Format("%s", 5), EConvertError);
}

}  // namespace

namespace {

TEST(Controls, AChildAskedForItsWindowFirstGetsExactlyOne) {
  TOwnedPtr<TForm> form(new TForm(nullptr));
  auto* button = new TButton(form.get());
  button->SetParent(form.get());
  HWND child = button->Handle();  // the form's window is made on the way
  int children = 0;
  for (HWND w = GetWindow(form->Handle(), GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 1);
  EXPECT_EQ(GetParent(child), form->Handle());
  EXPECT_EQ(button->Handle(), child);
}

}  // namespace
