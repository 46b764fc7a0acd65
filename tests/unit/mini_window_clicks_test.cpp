#include <gtest/gtest.h>

#include "app/mini_window_clicks.h"
#include "fakes/fake_gui.h"
#include "fakes/fake_system.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/mini_window.h"

namespace tarvik {
namespace {

using platform::EventKind;
using platform::Point;

constexpr CellMetrics kMetrics{8, 11};

// The middle of a cell given by row and column (counted from 1).
Point At(int row, int column) {
  return {kCellLeft + (column - 1) * kMetrics.CharWidth + 3, (row - 1) * kMetrics.RowPitch + 5};
}

TEST(MiniCells, TheBuiltInTableLaysOutEveryCell) {
  LoadTranslations(kEnglish);
  Meters meters;
  BuildBuiltInCells(meters, kMetrics, false);
  struct Row {
    int Meter;
    const wchar_t* Label;
    int X;
    int Y;
    int Width;
    Colour Back;
    bool Active;
  };
  const Row rows[] = {
      {28, L"Phys:", 2, 0, 15, Rgb(255, 255, 255), true},
      {29, L"Page:", 2 + 15 * 8, 0, 14, Rgb(255, 224, 192), true},
      {30, L"CPU:", 2, 11, 20, Rgb(192, 255, 192), true},
      {31, L"Batt:", 2 + 20 * 8, 11, 9, Rgb(255, 203, 255), true},
      {32, L"Uptime:", 2, 22, 20, Rgb(153, 204, 255), true},
      {33, L"Idle:", 2 + 20 * 8, 22, 9, Rgb(228, 228, 174), true},
      {34, L"R:", 2 + 14 * 8, 33, 8, Rgb(181, 160, 206), true},
      {35, L"W:", 2 + 22 * 8, 33, 7, Rgb(181, 160, 206), true},
      {36, L"Ping:", 2, 33, 14, Rgb(255, 178, 100), true},
      {37, L"[-]", 2 + 20 * 8, 0, 3, Rgb(255, 255, 0), false},
      {38, L"[+]", 2 + 23 * 8, 0, 3, Rgb(255, 128, 0), false},
      {39, L"[X]", 2 + 26 * 8, 0, 3, Rgb(255, 0, 0), false},
  };
  for (const Row& row : rows) {
    const MeterRecord& meter = meters[static_cast<size_t>(row.Meter)];
    EXPECT_EQ(meter.Label, row.Label) << row.Meter;
    EXPECT_EQ(meter.X, row.X) << row.Meter;
    EXPECT_EQ(meter.Y, row.Y) << row.Meter;
    EXPECT_EQ(meter.Width, row.Width) << row.Meter;
    EXPECT_EQ(meter.BackColour, row.Back) << row.Meter;
    EXPECT_EQ(meter.TextColour, 0u) << row.Meter;
    EXPECT_EQ(meter.Active, row.Active) << row.Meter;
  }
  EXPECT_EQ(meters[kCpuMeter].Text, L" Calculating   ");
}

TEST(MiniCells, CompactModeShowsValuesOnlyAndTheCaptionCells) {
  LoadTranslations(kGerman);
  Meters meters;
  BuildBuiltInCells(meters, kMetrics, true);
  EXPECT_EQ(meters[kPhysMeter].Label, L"");
  EXPECT_EQ(meters[kPageMeter].Label, L"");
  EXPECT_EQ(meters[kPageMeter].X, 2 + 10 * 8);
  EXPECT_EQ(meters[kPhysMeter].Width, 10);
  EXPECT_EQ(meters[kPageMeter].Width, 10);
  EXPECT_EQ(meters[31].Label, TrFixed(L"Batt") + L":");
  for (int caption = kMinimizeCellMeter; caption <= kCloseCellMeter; ++caption)
    EXPECT_TRUE(meters[static_cast<size_t>(caption)].Active) << caption;

  ApplyCompactCells(meters, kMetrics, false);
  EXPECT_EQ(meters[kPhysMeter].Label, L"Phys:");
  EXPECT_EQ(meters[kPageMeter].X, 2 + 15 * 8);
  EXPECT_FALSE(meters[kCloseCellMeter].Active);
  LoadTranslations(kEnglish);
}

TEST(MiniCells, PointsFindTheirCellUpToItsLastPixel) {
  Meters meters;
  BuildBuiltInCells(meters, kMetrics, false);
  const platform::Rect cpu = CellBox(meters[kCpuMeter], kMetrics);
  EXPECT_EQ(MeterAt(meters, {cpu.X, cpu.Y}, kMetrics), kCpuMeter);
  EXPECT_EQ(MeterAt(meters, {cpu.Right() - 1, cpu.Bottom() - 1}, kMetrics), kCpuMeter);
  EXPECT_EQ(MeterAt(meters, {cpu.Right(), cpu.Y}, kMetrics), 31);   // Batt begins there
  EXPECT_EQ(MeterAt(meters, {cpu.X, cpu.Bottom()}, kMetrics), 32);  // Uptime below
  EXPECT_EQ(MeterAt(meters, {0, 0}, kMetrics), std::nullopt);       // left of column 1
  EXPECT_EQ(MeterAt(meters, At(5, 1), kMetrics), std::nullopt);     // below the cells
}

class MiniWindowClicksTest : public ::testing::Test {
 protected:
  MiniWindowClicksTest() {
    gui.OpenWindow(gadget::MiniWindow, {});
    gui.OpenWindow(gadget::MainWindow, {});
    gui.ShowWindow(gadget::MainWindow, platform::ShowMode::Hide);
    gui.CreatePanel(gadget::MainPanel, {gadget::MainWindow}, {0, 0, 10, 10},
                    std::vector<std::wstring>(gadget::kPanelCount, L"tab"));
    settings.Set(opt::TrayIconEnabled, 1);
    tray.BuildImages();
    tray.ShowIfEnabled();
    Compact(false);
    clicks.SetMetrics(kMetrics);
    clicks.Install();
  }

  void Compact(bool on) { BuildBuiltInCells(*meters.Lock(), kMetrics, on); }
  LoopControl Click(Point at) {
    return dispatcher.Dispatch({EventKind::Gadget, gadget::MiniWindow, gadget::MiniCanvas,
                                static_cast<int>(platform::GadgetAction::Click), at});
  }
  int Shown() const { return gui.SelectedPanelTab(gadget::MainPanel); }

  fakes::FakeGui gui;
  fakes::FakeEnvironment environment;
  Settings settings;
  TextSlots texts;
  MeterTable meters;
  TrayIcon tray{gui, settings};
  EventDispatcher dispatcher{gui, settings, texts, environment, tray};
  MiniWindowClicks clicks{gui, settings, meters, dispatcher};
};

TEST_F(MiniWindowClicksTest, AMetersCellOpensItsPanelAndEveryOpeningIsCounted) {
  const std::pair<Point, int> cases[] = {
      {At(1, 1), gadget::SystemPanel},     {At(1, 20), gadget::SystemPanel},
      {At(2, 1), gadget::ProcessorsPanel}, {At(2, 25), gadget::SystemPanel},
      {At(3, 5), gadget::SystemPanel},     {At(3, 29), gadget::SystemPanel},
      {At(4, 14), gadget::PingPanel},      {At(4, 15), gadget::StoragePanel},
      {At(4, 29), gadget::StoragePanel},
  };
  int count = 0;
  for (const auto& [at, panel] : cases) {
    gui.SelectPanelTab(gadget::MainPanel, gadget::AboutPanel);
    gui.ShowWindow(gadget::MainWindow, platform::ShowMode::Hide);
    EXPECT_EQ(Click(at), LoopControl::Continue);
    EXPECT_EQ(Shown(), panel) << at.X << "," << at.Y;
    EXPECT_TRUE(gui.IsWindowVisible(gadget::MainWindow));
    EXPECT_EQ(settings.Get(opt::PanelSelectClicks), ++count);
  }
  EXPECT_EQ(gui.Windows[gadget::MainWindow].Raised, count);
}

TEST(MiniWindowPanels, EveryMeterBelongsToAPanel) {
  EXPECT_EQ(PanelOfMeter(0), gadget::StoragePanel);
  for (int drive = 1; drive <= 26; ++drive)
    EXPECT_EQ(PanelOfMeter(drive), gadget::StoragePanel) << drive;
  for (int card = kFirstGpuMeter; card < kFirstAdapterMeter; ++card)
    EXPECT_EQ(PanelOfMeter(card), gadget::GraphicsPanel) << card;
  for (int adapter = kFirstAdapterMeter; adapter < kMeterCount; ++adapter)
    EXPECT_EQ(PanelOfMeter(adapter), gadget::NetworksPanel) << adapter;
  EXPECT_EQ(PanelOfMeter(kCloseCellMeter), std::nullopt);
}

TEST_F(MiniWindowClicksTest, TheStatusLineOpensSystemThenSettings) {
  const Point statusLine = At(6, 3);
  Click(statusLine);
  EXPECT_EQ(Shown(), gadget::SystemPanel);
  Click(statusLine);
  EXPECT_EQ(Shown(), gadget::SettingsPanel);
  Click(statusLine);
  EXPECT_EQ(Shown(), gadget::SystemPanel);
  EXPECT_EQ(settings.Get(opt::PanelSelectClicks), 3);
}

TEST_F(MiniWindowClicksTest, InCompactModeTheCaptionCellsActAsTheTitleBarButtons) {
  // Without compact mode the same places belong to the Page cell.
  Click(At(1, 28));
  EXPECT_EQ(Shown(), gadget::SystemPanel);
  EXPECT_FALSE(gui.IsWindowMinimized(gadget::MiniWindow));

  Compact(true);
  const int counted = settings.Get(opt::PanelSelectClicks);
  EXPECT_EQ(Click(At(1, 21)), LoopControl::Continue);
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MiniWindow));  // minimised, not hidden: tray option off
  EXPECT_TRUE(gui.IsWindowMinimized(gadget::MiniWindow));

  gui.ShowWindow(gadget::MainWindow, platform::ShowMode::Hide);
  EXPECT_EQ(Click(At(1, 25)), LoopControl::Continue);
  EXPECT_FALSE(gui.IsWindowMinimized(gadget::MiniWindow));
  EXPECT_TRUE(gui.IsWindowVisible(gadget::MainWindow));

  EXPECT_EQ(Click(At(1, 29)), LoopControl::Exit);
  settings.Set(opt::CloseToTray, 1);
  EXPECT_EQ(Click(At(1, 27)), LoopControl::Continue);
  EXPECT_FALSE(gui.IsWindowVisible(gadget::MiniWindow));
  EXPECT_EQ(settings.Get(opt::PanelSelectClicks), counted);
}

}  // namespace
}  // namespace tarvik
