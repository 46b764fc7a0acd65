#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fakes/pixel_canvas.h"
#include "platform/pixel_math.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"
#include "ui/graph_drawing.h"
#include "ui/graph_readout.h"

namespace tarvik {
namespace {

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kGrey = Rgb(128, 128, 128);
constexpr Colour kLight = Rgb(224, 224, 224);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr DateValue kNoon = 1'709'985'600;  // 2024-03-09 12:00:00

GraphRecord Graph(int width, std::vector<float> values, int timeDivisions = 1,
                  int valueDivisions = 1) {
  GraphRecord record = NewGraphRecord(301, width, 0);
  record.TimeDivisions = timeDivisions;
  record.ValueDivisions = valueDivisions;
  for (size_t k = 0; k < values.size(); ++k)
    AddGraphSamples(record, values[k], 1, kNoon + static_cast<DateValue>(k) * 60);
  return record;
}

std::vector<std::wstring> TextsAtX(const fakes::PixelCanvas& canvas, int x) {
  std::vector<std::wstring> texts;
  for (const auto& text : canvas.Texts())
    if (text.At.X == x)
      texts.push_back(text.Text);
  return texts;
}

// The grid lines met along row 5 (or down column 5): position and B for the outer colour, C for
// the inner one.
std::string GridTrace(const fakes::PixelCanvas& canvas, int length, bool down) {
  std::string trace;
  for (int k = 0; k < length; ++k) {
    const Colour colour = down ? canvas.At(5, k) : canvas.At(k, 5);
    if (colour != kWhite)
      trace += std::to_string(k) + (colour == kGrey ? "B " : colour == kLight ? "C " : "? ");
  }
  return trace;
}

TEST(GraphDrawingTest, GridLinesHaveOuterAndInnerColours) {
  struct Case {
    int TimeDivisions, ValueDivisions;
    std::string Columns, Rows;
  };
  // "00:00" is 35 x 12 on the test canvas: automatic 100 / (37 x 1.25) and 60 / (2 x 14).
  const Case cases[] = {{0, 0, "0B 49C 99B ", "0B 29C 59B "},
                        {4, 3, "0B 24C 49C 74C 99B ", "0B 19C 39C 59B "}};
  for (const Case& entry : cases) {
    fakes::PixelCanvas canvas(100, 60, 0x123456);
    DrawGraph(canvas, Graph(100, {}, entry.TimeDivisions, entry.ValueDivisions), L"%", {});
    EXPECT_EQ(GridTrace(canvas, 100, false), entry.Columns);
    EXPECT_EQ(GridTrace(canvas, 60, true), entry.Rows);
  }
}

TEST(GraphDrawingTest, ValueLabelsFollowUnitAndMaximum) {
  struct Case {
    int Maximum, Decimals;
    std::wstring Unit;
    std::vector<std::wstring> Labels;
  };
  const Case cases[] = {
      {4096, 0, L"KB", {L"4MB", L"2MB"}},
      {4001, 1, L"KB", {L"3.9MB", L"2.0MB"}},
      {4000, 0, L"KB", {L"4000KB", L"2000KB"}},
      {100, 0, L"%", {L"50%"}},  // no label at the top of a percent graph
      {100, 0, L"MHz", {L"100MHz", L"50MHz"}},
      {5, 2, L"", {L"5.00", L"2.50"}},
  };
  for (const Case& entry : cases) {
    fakes::PixelCanvas canvas(100, 60);
    GraphRecord record = Graph(100, {}, 1, 2);
    record.Maximum = entry.Maximum;
    record.Decimals = entry.Decimals;
    DrawGraph(canvas, record, entry.Unit, {});
    EXPECT_EQ(TextsAtX(canvas, 2), entry.Labels) << entry.Maximum << " " << entry.Unit;
    record.HideValueLabels = true;
    fakes::PixelCanvas hidden(100, 60);
    DrawGraph(hidden, record, entry.Unit, {});
    EXPECT_TRUE(TextsAtX(hidden, 2).empty());
  }
}

TEST(GraphDrawingTest, TimeLabelShowsTheSampleInItsColumn) {
  struct Case {
    int Samples;
    bool Hidden;
    std::wstring Label;
  };
  // With two divisions the inner line is at x = 49, which holds sample count + 49 - 100.
  const Case cases[] = {
      {100, false, L"12:49"}, {60, false, L"12:09"}, {50, false, L""}, {100, true, L""}};
  for (const Case& entry : cases) {
    GraphRecord record =
        Graph(100, std::vector<float>(static_cast<size_t>(entry.Samples), 1.0f), 2, 1);
    record.HideTimeLabels = entry.Hidden;
    fakes::PixelCanvas canvas(100, 60);
    DrawGraph(canvas, record, L"%", {});
    const std::vector<std::wstring> texts = TextsAtX(canvas, 49 - 35 / 2);
    EXPECT_EQ(texts.empty() ? L"" : texts[0], entry.Label) << entry.Samples;
    if (!entry.Label.empty()) {
      EXPECT_EQ(canvas.At(49 - 18, 59 - 2), kGrey);  // inside the label box
    }
  }
}

TEST(GraphDrawingTest, TitlesAreCentredAndTheLowerOnesBoxed) {
  fakes::PixelCanvas canvas(100, 60);
  DrawGraph(canvas, Graph(100, {}), L"%", {L"Physical", L"50%", L"x"});
  ASSERT_EQ(canvas.Texts().size(), 3u);
  EXPECT_EQ(canvas.Texts()[0].At, (platform::Point{(100 - 56) / 2, 1}));
  EXPECT_EQ(canvas.Texts()[1].At, (platform::Point{(100 - 25) / 2 + 2, 15}));
  EXPECT_EQ(canvas.Texts()[1].TextColour, kWhite);
  EXPECT_EQ(canvas.Texts()[2].At, (platform::Point{(100 - 11) / 2 + 2, 29}));
  EXPECT_EQ(canvas.At((100 - 25) / 2, 15), kGrey);  // box edge, 2 pixels left of the text
  EXPECT_EQ(canvas.At((100 - 25) / 2 - 1, 15), kWhite);
}

TEST(GraphDrawingTest, BarsReachTheirHeightWithAnOpaqueTop) {
  struct Case {
    float Value;
    int Top;  // 0: nothing drawn
  };
  // Height 11: full scale is 10 rows, and the top grid row is never covered.
  const Case cases[] = {{100, 1}, {250, 1}, {50, 6}, {5, 10}, {4, 0}, {-20, 0}};
  for (const Case& entry : cases) {
    fakes::PixelCanvas canvas(20, 11);
    DrawGraph(canvas, Graph(20, {entry.Value, 0}), L"%", {});  // column 18; 19 is the edge
    EXPECT_EQ(canvas.At(18, 0), kGrey) << entry.Value;
    if (entry.Top == 0) {
      EXPECT_EQ(canvas.At(18, 9), kWhite) << entry.Value;
      continue;
    }
    EXPECT_EQ(canvas.At(18, entry.Top), kRed) << entry.Value;
    EXPECT_EQ(canvas.At(18, entry.Top - 1), entry.Top == 1 ? kGrey : kWhite) << entry.Value;
    for (int y = entry.Top + 1; y < 10; ++y)
      EXPECT_EQ(canvas.At(18, y), platform::BlendChannels(kWhite, kRed, kGraphFillAlpha));
    if (entry.Top < 10) {
      EXPECT_EQ(canvas.At(18, 10), platform::BlendChannels(kGrey, kRed, kGraphFillAlpha));
    }
  }
}

TEST(GraphDrawingTest, TopEdgeJoinsTheNewerColumnWhenItsHeightChanges) {
  fakes::PixelCanvas level(20, 11), rising(20, 11);
  DrawGraph(level, Graph(20, {50, 50, 0}), L"%", {});
  DrawGraph(rising, Graph(20, {50, 100, 0}), L"%", {});
  EXPECT_EQ(level.CountInColumn(17, kRed), 1);
  EXPECT_GT(rising.CountInColumn(17, kRed), 1);  // from y 6 up towards y 1 in column 18
  EXPECT_EQ(rising.At(17, 6), kRed);
}

TEST(GraphDrawingTest, OddShapesAndValuesDrawWithoutFault) {
  const float odd[] = {std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(), -1e30f, 1e30f, 0};
  struct Case {
    int Width, Height, Maximum, Divisions;
  };
  const Case cases[] = {{1, 1, 100, 0},   {1, 40, 100, 0}, {40, 1, 100, 0},  {2, 2, 100, 0},
                        {3, 3, 100, 999}, {40, 40, 0, 0},  {40, 40, -5, -3}, {40, 40, 100, -1}};
  for (const Case& entry : cases) {
    GraphRecord record = Graph(entry.Width, {}, entry.Divisions, entry.Divisions);
    for (float value : odd)
      AddGraphSamples(record, value, 1, kNoon);
    record.Maximum = entry.Maximum;
    record.Decimals = 99;
    fakes::PixelCanvas canvas(entry.Width, entry.Height);
    DrawGraph(canvas, record, L"KB", {L"t", L"u", L"v"});
    EXPECT_EQ(canvas.At(0, 0), entry.Width < 2 || entry.Height < 2 ? kWhite : kGrey);
    if (entry.Maximum <= 0) {
      EXPECT_EQ(canvas.CountInColumn(entry.Width - 2, kRed), 0);
    }
  }
}

TEST(GraphReadoutTest, NamesTheSampleUnderTheMouse) {
  LoadTranslations(kEnglish);
  const std::vector<GraphSample> samples = {
      {kNoon, 1.0f}, {kNoon + 61, 12.5f}, {kNoon + 3723, -0.4f}};
  struct Case {
    int MouseX, GraphId;
    std::wstring Text;
  };
  const Case cases[] = {
      {99, gadget::PhysicalGraph, L"Position: 1/2 = 2024-03-09  13:02:03  0%"},
      {98, gadget::DriveReadGraph, L"Position: 2/2 = 2024-03-09  12:01:01  13KB"},
      {98, gadget::NetworkReceiveGraph, L"Position: 2/2 = 2024-03-09  12:01:01  13KB"},
      {98, kGpuTemperatureGraph, L"Position: 2/2 = 2024-03-09  12:01:01  13C"},
      {97, gadget::PhysicalGraph, L""},   // the oldest column is past the count
      {100, gadget::PhysicalGraph, L""},  // right of the last column
      {150, gadget::PhysicalGraph, L""},
      {-5, gadget::PhysicalGraph, L""},
  };
  for (const Case& entry : cases)
    EXPECT_EQ(GraphReadout(100, entry.MouseX, samples, entry.GraphId), entry.Text) << entry.MouseX;
  EXPECT_EQ(GraphReadout(100, 99, {}, gadget::PhysicalGraph), L"");
}

}  // namespace
}  // namespace tarvik
