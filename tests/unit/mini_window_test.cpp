#include <gtest/gtest.h>

#include <tuple>

#include "fakes/fake_gui.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/mini_window.h"
#include "ui/window_placement.h"

namespace tarvik {
namespace {

using platform::Point;
using platform::Rect;

// The fake canvas draws every character 7 x 12 pixels: a column is 7 wide, a row 10 high.
constexpr int kColumn = fakes::PixelCanvas::kCharWidth;
constexpr int kPitch = fakes::PixelCanvas::kCharHeight - kRowOverlap;
constexpr int kWidth = kCellLeft + 29 * kColumn;

constexpr int Height(int rows) {
  return rows * kPitch + kRowOverlap;
}

class MiniWindowTest : public ::testing::Test {
 protected:
  MiniWindowTest() {
    LoadTranslations(kEnglish);
    platform::WindowSpec layout;
    layout.Bounds = {1000, 500, 234, 84};
    gui.OpenWindow(gadget::MiniWindow, layout);
    gui.CreateCanvas(gadget::MiniCanvas, {gadget::MiniWindow}, {0, 0, 234, 84});
  }

  Rect Bounds() const { return gui.WindowBounds(gadget::MiniWindow); }
  fakes::PixelCanvas& Canvas() { return *gui.Gadgets[gadget::MiniCanvas].Pixels; }
  size_t DrawnCount() { return Canvas().Texts().size(); }
  // The text drawn last at the start of a row and column (counted from 1).
  std::wstring TextAt(int row, int column = 1) {
    const Point at{kCellLeft + (column - 1) * kColumn, (row - 1) * kPitch};
    std::wstring found;
    for (const auto& drawn : Canvas().Texts())
      found = drawn.At == at ? drawn.Text : found;
    return found;
  }
  // Sets a meter's text (and what its owner decides), then reports the change.
  void Report(int meter, std::wstring text, bool force = false, int order = 0) {
    {
      MeterRecord& record = meters.Lock()->at(static_cast<size_t>(meter));
      record.Active = true;
      record.Text = std::move(text);
      record.DisplayOrder = order;
    }
    mini.MeterChanged(meter, force);
  }
  bool LayoutRequested() { return !updates.TakeAll().empty(); }

  fakes::FakeGui gui;
  Settings settings;
  MeterTable meters;
  Fonts fonts;
  WindowUpdateQueue updates;
  MiniWindow mini{gui, settings, meters, fonts, updates};
};

TEST_F(MiniWindowTest, TheWindowIsFittedToTheBuiltInRows) {
  mini.Build();
  EXPECT_EQ(Bounds(), (Rect{1000, 500, kWidth, Height(4)}));
  EXPECT_EQ(TextAt(2), L"CPU: Calculating   ");
  EXPECT_EQ(TextAt(4), L"Ping:");
  // The bottom row is coloured down to the canvas's edge, past its text.
  EXPECT_EQ(Canvas().At(kCellLeft + 10 * kColumn, Height(4) - 1), Rgb(255, 178, 100));
  EXPECT_EQ(Canvas().At(kCellLeft + 10 * kColumn, 3 * kPitch - 1), Rgb(153, 204, 255));
}

TEST_F(MiniWindowTest, OnlyAChangedOrForcedCellIsDrawnAgain) {
  mini.Build();
  const size_t afterFullRedraw = DrawnCount();
  mini.MeterChanged(kPhysMeter, false);  // nothing changed
  EXPECT_EQ(DrawnCount(), afterFullRedraw);
  Report(kPhysMeter, L" 812M 10%");
  EXPECT_EQ(TextAt(1), L"Phys: 812M 10%");
  mini.MeterChanged(kPhysMeter, false);  // drawn already
  EXPECT_EQ(DrawnCount(), afterFullRedraw + 1);
  mini.MeterChanged(kPhysMeter, true);
  EXPECT_EQ(DrawnCount(), afterFullRedraw + 2);
  // A text longer than its cell is cut at the cell's width.
  Report(kPhysMeter, L"0123456789ABCDEFGHIJ");
  EXPECT_EQ(TextAt(1), L"Phys:0123456789");
  EXPECT_FALSE(LayoutRequested());
}

TEST_F(MiniWindowTest, FurtherItemsAndDrivesAppearOnRowsOfTheirOwnWhenTheyHaveText) {
  mini.Build();
  const size_t beforeAnyText = DrawnCount();
  // A cell without a place yet is not drawn anywhere: the window thread is asked for a layout.
  Report(50, L"N1  1.2K/ 3.4K", true);
  EXPECT_EQ(DrawnCount(), beforeAnyText);
  EXPECT_TRUE(LayoutRequested());
  Report(41, L"GPU 0 41C");
  Report(kFirstDriveMeter + 3, L"D: 12.5G free", false, 3);
  Report(kFirstDriveMeter + 2, L"C: 80.1G free", false, 1);
  Report(kDriveSummaryMeter, L"== 92.6G free", false, 2);  // below the fixed drives
  Report(kFirstDriveMeter + 5, L"F: hidden");               // not in the drive list
  mini.RedrawAll();
  EXPECT_TRUE(LayoutRequested());
  EXPECT_EQ(TextAt(5), L"GPU 0 41C");
  EXPECT_EQ(TextAt(6), L"N1  1.2K/ 3.4K");
  EXPECT_EQ(TextAt(7), L"C: 80.1G free");
  EXPECT_EQ(TextAt(8), L"== 92.6G free");
  EXPECT_EQ(TextAt(9), L"D: 12.5G free");
  EXPECT_EQ(Bounds().Height, Height(9));
  EXPECT_EQ(meters.Lock()->at(kFirstDriveMeter + 5).Width, 0);

  // A placed cell is drawn where it stands; one that goes away gives its row back.
  Report(kFirstDriveMeter + 2, L"C: 79.9G free", false, 1);
  EXPECT_EQ(TextAt(7), L"C: 79.9G free");
  EXPECT_FALSE(LayoutRequested());
  meters.Lock()->at(41).Active = false;
  mini.RedrawAll();
  EXPECT_EQ(TextAt(5), L"N1  1.2K/ 3.4K");
  EXPECT_EQ(Bounds().Height, Height(8));
}

TEST_F(MiniWindowTest, AWindowPastTheWorkAreaComesBackAndStaysWhereTheUserPutsIt) {
  gui.MoveWindow(gadget::MiniWindow, {1000, 720});  // work area 1280 x 760
  mini.Build();
  EXPECT_EQ(Bounds().Y, 760 - Height(4) - 120);
  EXPECT_EQ(settings.Get(opt::MiniY), 760 - Height(4) - 120);
  // Put near the edges by the user, it stays while its size does not change...
  gui.MoveWindow(gadget::MiniWindow, {1275 - kWidth, 715});
  mini.RedrawAll();
  EXPECT_EQ(Bounds(), (Rect{1275 - kWidth, 715, kWidth, Height(4)}));
  // ...and comes back inside when the compact mode changes, with values only on row 1.
  meters.Lock()->at(kPhysMeter).Text = L" 812M 10%";
  mini.SetCompact(true);
  EXPECT_EQ(TextAt(1), L" 812M 10%");
  EXPECT_EQ(TextAt(1, 27), L"[X]");
  EXPECT_EQ(Bounds(), (Rect{1280 - kWidth - 7, 760 - Height(4) - 120, kWidth, Height(4)}));
}

TEST(MiniWindowPlacement, TheWindowIsKeptInsideTheWorkAreaOfItsMonitor) {
  const Rect work{0, 0, 1280, 760};
  const Rect second{1280, 0, 1920, 1040};  // a monitor right of the first
  const std::tuple<const char*, Rect, Rect, Point> cases[] = {
      {"7 from both edges stays", {1033, 703, 240, 50}, work, {1033, 703}},
      {"within 7 of the right", {1034, 100, 240, 50}, work, {1033, 100}},
      {"within 7 of the bottom is lifted", {100, 704, 240, 50}, work, {100, 590}},
      {"off the left and top", {-300, -20, 240, 50}, work, {0, 0}},
      {"larger than the work area", {50, 50, 1400, 900}, work, {0, 0}},
      {"off the second monitor's right", {3150, 300, 240, 50}, second, {2953, 300}},
  };
  for (const auto& [name, window, area, expected] : cases)
    EXPECT_EQ(KeepInWorkArea(window, area), expected) << name;
}

}  // namespace
}  // namespace tarvik
