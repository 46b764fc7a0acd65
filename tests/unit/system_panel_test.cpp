#include <gtest/gtest.h>

#include "fakes/fake_gui.h"
#include "ui/gadget_ids.h"
#include "ui/system_panel.h"

namespace tarvik {
namespace {

// The logo box is 160 base units wide: at a higher text size it grows with the gadgets, and the
// information block starts where it ends.
TEST(SystemPanelTest, TheLogoBoxIsScaledWithTheDesktop) {
  struct Case {
    int ScalePercent;
    int LogoRight;  // the last pixel column of the logo's frame
  };
  const Case cases[] = {{100, 159}, {125, 199}, {150, 239}, {200, 319}};
  for (const Case& c : cases) {
    fakes::FakeGui gui;
    gui.CreateCanvas(gadget::LogoCanvas, {gadget::MainWindow}, {0, 0, 900, 140});
    const Fonts fonts = LoadFonts(gui);
    SystemFacts facts;
    facts.ScalePercent = c.ScalePercent;
    DrawSystemPanel(gui, fonts, facts);
    const auto& pixels = *gui.Gadgets[gadget::LogoCanvas].Pixels;
    const Colour frame = pixels.At(0, 70);
    EXPECT_EQ(pixels.At(c.LogoRight, 70), frame) << c.ScalePercent;
    EXPECT_NE(pixels.At(c.LogoRight - 1, 70), frame) << c.ScalePercent;
    EXPECT_EQ(pixels.At(c.LogoRight + 1, 70), frame) << c.ScalePercent;  // the block's frame
    EXPECT_NE(pixels.At(c.LogoRight + 2, 70), frame) << c.ScalePercent;
  }
}

}  // namespace
}  // namespace tarvik
