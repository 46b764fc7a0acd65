#include <gtest/gtest.h>

#include "platform/win32/dib_canvas.h"

namespace tarvik::win32 {
namespace {

TEST(DibCanvas, KeepsTheProgramsColourOrder) {
  DibCanvas canvas(20, 10, nullptr);
  ASSERT_TRUE(canvas.IsValid());
  canvas.FillBox({2, 2, 3, 3}, 0x3C14DC);
  EXPECT_EQ(canvas.PixelAt({2, 2}), 0x3C14DCu);
  EXPECT_EQ(canvas.PixelAt({4, 4}), 0x3C14DCu);
  EXPECT_EQ(canvas.PixelAt({5, 5}), 0xFFFFFFu);  // boxes exclude their far edges
  EXPECT_EQ(canvas.PixelAt({-1, 0}), 0u);
}

TEST(DibCanvas, BlendsAndClipsBoxes) {
  DibCanvas canvas(4, 4, nullptr);
  canvas.FillBox({0, 0, 4, 4}, 0x000000);
  canvas.FillBoxAlpha({-5, -5, 50, 50}, 0xFF00FF, 128);
  EXPECT_EQ(canvas.PixelAt({3, 3}), 0x800080u);
}

TEST(DibCanvas, LinesIncludeBothEnds) {
  DibCanvas canvas(10, 10, nullptr);
  canvas.Line({1, 1}, {8, 1}, 0x0000FF);
  EXPECT_EQ(canvas.PixelAt({1, 1}), 0x0000FFu);
  EXPECT_EQ(canvas.PixelAt({8, 1}), 0x0000FFu);
  EXPECT_EQ(canvas.PixelAt({9, 1}), 0xFFFFFFu);
}

TEST(DibCanvas, TextGoesThroughGdiAndIsMeasured) {
  DibCanvas canvas(80, 20, nullptr);
  const platform::Size size = canvas.TextSize(L"Ping");
  EXPECT_GT(size.Width, 0);
  EXPECT_GT(size.Height, 0);
  EXPECT_EQ(canvas.TextSize(L"").Width, 0);
  canvas.Text({0, 0}, L"WWWW", 0x000000, 0x00FF00);
  bool inked = false;
  for (int x = 0; x < size.Width; ++x)
    inked = inked || canvas.PixelAt({x, size.Height / 2}) == 0;
  EXPECT_TRUE(inked);
  EXPECT_EQ(canvas.PixelAt({0, 0}), 0x00FF00u);  // the back colour fills behind the text
}

}  // namespace
}  // namespace tarvik::win32
