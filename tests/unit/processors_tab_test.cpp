#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/settings.h"
#include "settings/colour_list.h"
#include "text/translation.h"
#include "ui/processor_captions.h"
#include "ui/processor_grid.h"

namespace tarvik {
namespace {

class ProcessorsTab : public ::testing::Test {
 protected:
  void SetUp() override { LoadTranslations(kEnglish); }

  // The tab's area of 878 x 420 at (4, 112) with a gap of 4, from a stored 1 x 1 grid.
  static ProcessorGrid Grid(int processors, int columns = 1, int rows = 1) {
    return LayOutProcessorGrid({columns, rows, processors, 878, 420, 4, {4, 112}});
  }
};

TEST_F(ProcessorsTab, TheGridGrowsUntilEveryProcessorHasACell) {
  struct Case {
    int Processors, Columns, Rows, CellWidth, CellHeight;
  };
  const Case cases[] = {
      {1, 1, 1, 878, 420},   {2, 2, 1, 437, 420},   {6, 3, 2, 290, 208},
      {8, 4, 2, 216, 208},   {16, 4, 4, 216, 102},  {64, 8, 8, 106, 49},
      {144, 12, 12, 69, 31}, {500, 12, 12, 69, 31},  // more than can be shown
  };
  for (const Case& c : cases) {
    const ProcessorGrid grid = Grid(c.Processors);
    EXPECT_EQ((std::vector{grid.Columns, grid.Rows, grid.CellWidth, grid.CellHeight}),
              (std::vector{c.Columns, c.Rows, c.CellWidth, c.CellHeight}))
        << c.Processors;
    EXPECT_EQ(grid.Cells.size(), static_cast<size_t>(std::min(c.Processors, 144)));
  }
  // A stored grid that holds them already stays; one with no rows still grows.
  EXPECT_EQ(Grid(4, 3, 3).CellWidth, 290);
  EXPECT_EQ(Grid(8, 0, 0).Columns * 10 + Grid(8, 0, 0).Rows, 42);
}

TEST_F(ProcessorsTab, CellsGoRowByRowInsideTheArea) {
  const ProcessorGrid six = Grid(6);
  EXPECT_EQ(six.Cells[2].Box, (platform::Rect{592, 112, 290, 208}));
  EXPECT_EQ(six.Cells[3].Box, (platform::Rect{4, 324, 290, 208}));
  for (int processors = 1; processors <= 144; ++processors) {
    const platform::Rect last = Grid(processors).Cells.back().Box;
    EXPECT_LE(last.Right(), 4 + 878) << processors;
    EXPECT_LE(last.Bottom(), 112 + 420) << processors;
  }
}

TEST_F(ProcessorsTab, GraphAttributesFollowTheGridShape) {
  using A = GraphAttribute;
  struct Case {
    int Processors, Cell;
    std::vector<A> Expected;  // the colour follows these
  };
  const Case cases[] = {
      {2, 0, {A{7, 4}, A{10, 1}}},  // the first column keeps its value labels
      {2, 1, {A{7, 4}, A{10, 1}, A{11, 1}}},
      {36, 0, {A{7, 2}, A{10, 1}}},             // 6 x 6
      {49, 0, {A{7, 2}, A{10, 1}, A{11, 1}}},   // 7 x 7: too low for labels anywhere
      {64, 0, {A{10, 1}, A{11, 1}}},            // 8 rows: automatic value divisions
      {144, 0, {A{6, 1}, A{10, 1}, A{11, 1}}},  // cells narrower than 100
  };
  for (const Case& c : cases) {
    std::vector<A> expected = c.Expected;
    expected.push_back({5, static_cast<int>(ProcessorColour(c.Cell))});
    EXPECT_EQ(Grid(c.Processors).Cells[static_cast<size_t>(c.Cell)].Attributes, expected)
        << c.Processors << " processors, cell " << c.Cell;
  }
}

TEST_F(ProcessorsTab, LabelsPadTheIndexToTheDigitsOfTheCount) {
  EXPECT_EQ(Grid(16).Cells[5].Label, L"CPU 05");
  EXPECT_EQ(ProcessorLabel(0, 1), L"CPU 0");
  EXPECT_EQ(ProcessorLabel(9, 10), L"CPU 09");
  EXPECT_EQ(ProcessorLabel(7, 144), L"CPU 007");
}

TEST_F(ProcessorsTab, ColoursCycleAndTheColourListCoversThem) {
  EXPECT_EQ(ProcessorColour(16), ProcessorColour(0));
  Settings settings;
  StoreProcessorColours(settings, 8);
  const ColourRange range = ProcessorColourRange(settings);
  EXPECT_EQ(settings.Get(403), static_cast<int32_t>(ProcessorColour(3)));
  const DefaultColours defaults(settings);
  settings.Set(407, 0x123456);
  EXPECT_EQ(BuildColourList(settings, defaults, range), L"$$$$$$$123456");
}

TEST_F(ProcessorsTab, NoticeAndTimeSpanCaption) {
  EXPECT_EQ(ProcessorLibraryNotice(true, true), L"");
  EXPECT_EQ(ProcessorLibraryNotice(false, true),
            L"Unable to load powrprof.dll for full CPU statistics");
  EXPECT_EQ(ProcessorLibraryNotice(true, false), L"Unable to load pdh.dll for full CPU statistics");
  EXPECT_EQ(ProcessorLibraryNotice(false, false),
            L"Unable to load powrprof.dll and pdh.dll for full CPU statistics");
  EXPECT_EQ(ProcessorTimeSpanCaption(216), L"% Utilization approx 535 seconds (8.9 minutes)");
  EXPECT_EQ(ProcessorTimeSpanCaption(69), L"% Utilization approx 168 seconds (2.8 minutes)");
  EXPECT_EQ(ProcessorGraphSeconds(1), 0);
}

}  // namespace
}  // namespace tarvik
