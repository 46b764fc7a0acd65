#include <gtest/gtest.h>

#include "fakes/fake_gui.h"
#include "ui/gadget_ids.h"
#include "ui/system_panel.h"

namespace tarvik {
namespace {

// The logo box is 160 base units wide: at a higher text size it grows with the gadgets, and the
// information block starts where it ends.
// The logo box follows the main window's layout, which is the desktop's scale unless the window
// had to be laid out smaller to fit its work area (the last case).
TEST(SystemPanelTest, TheLogoBoxIsScaledWithTheWindowsLayout) {
  struct Case {
    int LayoutDpi;
    int DesktopPercent;
    int LogoRight;  // the last pixel column of the logo's frame
  };
  const Case cases[] = {
      {96, 100, 159}, {120, 125, 199}, {144, 150, 239}, {192, 200, 319}, {129, 150, 214}};
  for (const Case& c : cases) {
    fakes::FakeGui gui;
    gui.MonitorDpi = c.LayoutDpi;
    gui.CreateCanvas(gadget::LogoCanvas, {gadget::MainWindow}, {0, 0, 600, 94});
    const Fonts fonts = LoadFonts(gui);
    SystemFacts facts;
    facts.ScalePercent = c.DesktopPercent;
    DrawSystemPanel(gui, fonts, facts);
    const auto& pixels = *gui.Gadgets[gadget::LogoCanvas].Pixels;
    const Colour frame = pixels.At(0, 70);
    EXPECT_EQ(pixels.At(c.LogoRight, 70), frame) << c.LayoutDpi;
    EXPECT_NE(pixels.At(c.LogoRight - 1, 70), frame) << c.LayoutDpi;
    EXPECT_EQ(pixels.At(c.LogoRight + 1, 70), frame) << c.LayoutDpi;  // the block's frame
    EXPECT_NE(pixels.At(c.LogoRight + 2, 70), frame) << c.LayoutDpi;
  }
}

}  // namespace
}  // namespace tarvik
