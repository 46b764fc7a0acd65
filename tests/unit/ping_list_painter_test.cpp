#include <gtest/gtest.h>

#include "fakes/pixel_canvas.h"
#include "monitors/ping/ping_header_painter.h"
#include "monitors/ping/ping_list_painter.h"
#include "text/date_format.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using fakes::PixelCanvas;

constexpr Colour kBack = Rgb(250, 250, 240), kRed = Rgb(255, 0, 0);
constexpr int kRowHeight = PixelCanvas::kCharHeight + 2;
constexpr int kTimelineX = 7 * 76 + 5;

class PingListPainterTest : public testing::Test {
 protected:
  PingListPainterTest() {
    LoadTranslations(kEnglish);
    layout = MeasurePingLayout(canvas, platform::kNoFont);
    hosts.resize(10);
    for (size_t i = 0; i < hosts.size(); ++i) {
      hosts[i].Addr = L"10.0.0." + std::to_wstring(i + 1);
      hosts[i].PV.assign(5, PValues{0, 20});
    }
  }
  // The numbers of the rows drawn by this paint.
  std::vector<int> Paint(int firstRow) {
    result =
        painter.Paint(canvas, hosts, layout, firstRow, {.ListBack = kBack, .Timeline = {50, true}});
    std::vector<int> rows;
    for (; seen < canvas.Texts().size(); ++seen)
      rows.push_back(std::stoi(canvas.Texts()[seen].Text.substr(7)));
    return rows;
  }

  PixelCanvas canvas{kTimelineX + 300, kRowHeight * 3};  // three rows in sight
  PingLayout layout;
  PingListPainter painter;
  PingList hosts;
  PingPaintResult result;
  size_t seen = 0;
};

TEST_F(PingListPainterTest, VisibleRowsFromTheScrollPositionCountsOverAll) {
  EXPECT_EQ(layout, (PingLayout{kRowHeight, 7, kTimelineX, 300}));
  PixelCanvas wide(5000, 10), narrow(7 * 76, 10);
  EXPECT_EQ(MeasurePingLayout(wide, platform::kNoFont).TimelineWidth, 1000);
  EXPECT_EQ(MeasurePingLayout(narrow, platform::kNoFont).TimelineWidth, 0);
  hosts[4].Actv = 0, hosts[4].Last = -1;
  hosts[6].Time = hosts[6].Last = -1;
  hosts[1].HiLi = 1;
  EXPECT_EQ(Paint(4), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(canvas.Texts()[2].At, (platform::Point{2, 2 * kRowHeight + 1}));
  EXPECT_EQ(canvas.Texts()[0].TextColour, Rgb(165, 42, 42));  // paused outweighs down
  EXPECT_EQ(canvas.Texts()[2].TextColour, kRed);
  EXPECT_EQ(canvas.CountInColumn(kTimelineX + 299, Rgb(0, 204, 0)), 3 * 5);
  EXPECT_EQ(canvas.CountInColumn(kTimelineX + 300, Rgb(0, 204, 0)), 0);
  EXPECT_EQ(result.UpCount, 8);
  EXPECT_EQ(result.DownCount, 1);
  EXPECT_EQ(hosts[1].CBak, static_cast<int32_t>(Rgb(153, 204, 255)));
  EXPECT_EQ(hosts[9].CBak, static_cast<int32_t>(kBack));
}

TEST_F(PingListPainterTest, RedrawsOnlyRowsThatChanged) {
  EXPECT_EQ(Paint(0).size(), 3u);
  EXPECT_EQ(Paint(0), std::vector<int>{});
  hosts[1].PV.pop_front();  // a full history takes a new sample
  hosts[1].PV.push_back({0, 40});
  EXPECT_EQ(Paint(0), std::vector<int>{2});
  hosts[2].HiLi = 1;
  EXPECT_EQ(Paint(0), std::vector<int>{3});
  hosts[0].Recv = 3, hosts[5].Recv = 3;
  EXPECT_EQ(Paint(0), std::vector<int>{1});
  EXPECT_EQ(Paint(1), (std::vector<int>{2, 3, 4}));  // scrolled
  layout.TimelineWidth = 200;
  EXPECT_EQ(Paint(1), (std::vector<int>{2, 3, 4}));
  hosts.resize(3);
  EXPECT_EQ(Paint(1), std::vector<int>{});
  EXPECT_EQ(result.RowsDrawn, 1);
  EXPECT_EQ(canvas.At(kTimelineX + 10, 2 * kRowHeight + 3), kBack);
}

TEST(PingHeader, MessageTitlesAndTimeSpan) {
  LoadTranslations(kEnglish);
  PixelCanvas canvas(kTimelineX + 300, 14);
  const PingLayout layout{14, 7, kTimelineX, 300};
  const DateValue noon = DateFromParts({2026, 3, 4, 12, 0, 0});
  PingList hosts(1);
  for (int i = 0; i < 400; ++i)
    hosts[0].PV.push_back({static_cast<int32_t>(noon + i), 5});

  DrawPingHeader(canvas, {}, layout, hosts, L"Saved", kRed);
  EXPECT_EQ(canvas.Texts()[0].Text, L"Saved" + std::wstring(71, L' '));
  EXPECT_EQ(canvas.Texts()[0].TextColour, kRed);
  const std::wstring span = L"03-04 12:01:40 - 03-04 12:06:39";  // the 101st of 400 first
  EXPECT_EQ(canvas.Texts()[1].Text, span);
  EXPECT_EQ(canvas.Texts()[1].At.X, (300 - 7 * static_cast<int>(span.size())) / 2 + kTimelineX + 2);

  hosts[0].PV.resize(3);
  EXPECT_EQ(PingTimeSpanText(hosts[0], 0), L"03-04 12:00:02 - 03-04 12:00:02");  // no timeline
  DrawPingHeader(canvas, {}, layout, hosts, L"", kRed);
  EXPECT_EQ(canvas.Texts()[2].Text, PingHeaderText());
  EXPECT_EQ(canvas.Texts()[2].TextColour, Rgb(0, 0, 255));
  DrawPingHeader(canvas, {}, layout, {}, L"", kRed);
  EXPECT_EQ(canvas.Texts().size(), 4u);  // an empty list shows nothing
}

}  // namespace
}  // namespace tarvik
