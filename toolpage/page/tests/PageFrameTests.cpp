// The page's decisions that need no server: which sheet a server gets, where the help
// file is and the macro that opens its topic, and the tool bar's shades and gradient.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/ColorUtils.h"
#include "ExToolBar.h"
#include "Files.h"
#include "ToolPage.h"

using namespace toolpage;

TEST(PageFrame, SheetDecisionTable) {
  EXPECT_EQ(ChooseSheet(false, false), pkTooOld);
  EXPECT_EQ(ChooseSheet(false, true), pkTooOld);
  EXPECT_EQ(ChooseSheet(true, false), pkInstall);
  EXPECT_EQ(ChooseSheet(true, true), pkControl);
}

TEST(PageFrame, HelpIsLookedUpInTheToolsFolderThenTheProductFolder) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string product = std::string(temp) + "tuvek-help-" + std::to_string(GetCurrentProcessId());
  std::string tools = product + "\\Tools\\";
  CreateDirectoryA(product.c_str(), nullptr);
  CreateDirectoryA(tools.c_str(), nullptr);
  EXPECT_EQ(FindHelpFile(tools), tools + "VX4.HLP");  // neither: the tools folder's name
  testsupport::WriteFile(product + "\\VX4.HLP", "help");
  EXPECT_EQ(FindHelpFile(tools), product + "\\VX4.HLP");
  testsupport::WriteFile(tools + "VX4.HLP", "help");
  EXPECT_EQ(FindHelpFile(tools), tools + "VX4.HLP");
  EXPECT_EQ(FindHelpFile(""), "VX4.HLP");  // no tools key: the current folder
  testsupport::RemoveTree(product);
  EXPECT_EQ(HelpMacro("C:\\Stavrel\\Tools\\VX4.HLP", 103000), "JC(\"VX4.HLP>Aux\",103000)");
}

TEST(PageFrame, ToolBarShadesAndGradientSteps) {
  const fw::TColor face = 0xC0C0C0, highlight = 0xFFFFFF, shadow = 0x808080;
  TToolBarColors down = ToolBarColors(shDown, face, highlight, shadow);
  TToolBarColors left = ToolBarColors(shLeft, face, highlight, shadow);
  EXPECT_EQ(down.Light, fw::BlendColors(face, highlight, 35));
  EXPECT_EQ(down.Dark, fw::BlendColors(face, shadow, 30));
  EXPECT_EQ(left.Light, fw::BlendColors(face, highlight, 50));
  EXPECT_EQ(left.Dark, fw::BlendColors(face, shadow, 25));
  EXPECT_EQ(ToolBarColors(shUp, face, highlight, shadow).Light, down.Light);
  EXPECT_EQ(GradientSteps(shDown, 400, 24), 24);
  EXPECT_EQ(GradientSteps(shLeft, 400, 24), 255);
  EXPECT_EQ(GradientSteps(shRight, 100, 24), 100);
  EXPECT_EQ(GradientSteps(shNone, 400, 24), 0);
}

TEST(PageFrame, ToolBarPaintsItsGradientOnlyOnHighColourDisplays) {
  TExToolBar bar(nullptr);
  bar.SetShading(shDown);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmap(400, 24, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r{0, 0, 400, 24};
  bool saved = fw::HighColor;
  fw::HighColor = true;
  EXPECT_EQ(bar.CustomDraw(dc, r), 24);
  // Top row light, bottom row dark.
  EXPECT_EQ(GetPixel(dc, 5, 0), fw::ColorToRGB(bar.Light()));
  EXPECT_EQ(GetPixel(dc, 5, 23), fw::ColorToRGB(bar.Dark()));
  fw::HighColor = false;
  EXPECT_EQ(bar.CustomDraw(dc, r), 0);
  bar.SetShading(shNone);
  fw::HighColor = true;
  EXPECT_EQ(bar.CustomDraw(dc, r), 0);
  fw::HighColor = saved;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}
