#include <gtest/gtest.h>

#include "fakes/pixel_canvas.h"
#include "monitors/ping/ping_header_painter.h"
#include "monitors/ping/ping_list_painter.h"
#include "text/date_format.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using fakes::PixelCanvas;

constexpr Colour kBack = Rgb(250, 250, 240);
constexpr Colour kRed = Rgb(255, 0, 0);
constexpr int kRowHeight = PixelCanvas::kCharHeight + 2;

PingList Hosts(int count) {
  PingList hosts(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    hosts[static_cast<size_t>(i)].Addr = L"10.0.0." + std::to_wstring(i + 1);
    hosts[static_cast<size_t>(i)].PV.assign(5, PValues{0, 20});
  }
  return hosts;
}

// Row numbers (1-based) of the texts the canvas recorded, in drawing order.
std::vector<int> DrawnRows(const PixelCanvas& canvas, size_t from = 0) {
  std::vector<int> rows;
  for (size_t i = from; i < canvas.Texts().size(); ++i) {
    const std::wstring& text = canvas.Texts()[i].Text;
    rows.push_back(std::stoi(text.substr(7, text.find(L' ') - 7)));
  }
  return rows;
}

class PingListPainterTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadTranslations(kEnglish);
    layout = MeasurePingLayout(canvas, platform::kNoFont);
  }
  PingPaintResult Paint(PingList& hosts, int firstRow) {
    return painter.Paint(canvas, hosts, layout, firstRow,
                         {.ListBack = kBack, .Timeline = {50, true}});
  }

  PixelCanvas canvas{PixelCanvas::kCharWidth * 76 + 5 + 300, kRowHeight * 3};  // 3 rows show
  PingLayout layout;
  PingListPainter painter;
};

TEST_F(PingListPainterTest, LayoutFollowsTheFontAndCanvas) {
  EXPECT_EQ(layout, (PingLayout{kRowHeight, 7, 7 * 76 + 5, 300}));
  PixelCanvas wide(5000, 10), narrow(7 * 76, 10);
  EXPECT_EQ(MeasurePingLayout(wide, platform::kNoFont).TimelineWidth, 1000);
  EXPECT_EQ(MeasurePingLayout(narrow, platform::kNoFont).TimelineWidth, 0);
}

TEST_F(PingListPainterTest, DrawsOnlyTheVisibleRowsFromTheScrollPosition) {
  PingList hosts = Hosts(10);
  hosts[4].Actv = 0;
  hosts[6].Time = -1;
  hosts[6].Last = -1;
  hosts[1].HiLi = 1;
  const PingPaintResult result = Paint(hosts, 4);
  EXPECT_EQ(DrawnRows(canvas), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(canvas.Texts()[0].At, (platform::Point{2, 1}));
  EXPECT_EQ(canvas.Texts()[2].At, (platform::Point{2, 2 * kRowHeight + 1}));
  EXPECT_EQ(canvas.Texts()[2].TextColour, kRed);
  // Counts and colours cover the whole list, not only the rows in sight.
  EXPECT_EQ(result.UpCount, 8);
  EXPECT_EQ(result.DownCount, 1);
  EXPECT_EQ(hosts[1].CBak, static_cast<int32_t>(Rgb(153, 204, 255)));
  EXPECT_EQ(hosts[9].CBak, static_cast<int32_t>(kBack));
  EXPECT_EQ(hosts[6].CFor, static_cast<int32_t>(kRed));
}

TEST_F(PingListPainterTest, RedrawsOnlyWhatChanged) {
  PingList hosts = Hosts(10);
  Paint(hosts, 0);
  const size_t first = canvas.Texts().size();
  EXPECT_EQ(Paint(hosts, 0).RowsDrawn, 0);

  hosts[1].PV.push_back({0, 40});  // a new sample
  EXPECT_EQ(Paint(hosts, 0).RowsDrawn, 1);
  hosts[2].HiLi = 1;  // selected
  Paint(hosts, 0);
  hosts[0].Recv = 3;  // the text
  Paint(hosts, 0);
  hosts[5].Recv = 3;  // out of sight
  Paint(hosts, 0);
  EXPECT_EQ(DrawnRows(canvas, first), (std::vector<int>{2, 3, 1}));

  const size_t scrolled = canvas.Texts().size();
  Paint(hosts, 1);
  EXPECT_EQ(DrawnRows(canvas, scrolled), (std::vector<int>{2, 3, 4}));

  hosts.resize(3);  // the third visible row is cleared
  EXPECT_EQ(Paint(hosts, 1).RowsDrawn, 1);
  EXPECT_EQ(canvas.At(layout.TimelineX + 10, 2 * kRowHeight + 3), kBack);
}

TEST(PingHeader, MessageTitlesAndTimeSpan) {
  LoadTranslations(kEnglish);
  PixelCanvas canvas(7 * 76 + 5 + 300, 14);
  const PingLayout layout{14, 7, 7 * 76 + 5, 300};
  const DateValue noon = DateFromParts({2026, 3, 4, 12, 0, 0});
  PingList hosts(1);
  for (int i = 0; i < 400; ++i)
    hosts[0].PV.push_back({static_cast<int32_t>(noon + i), 5});

  DrawPingHeader(canvas, {}, layout, hosts, L"Saved", kRed);
  ASSERT_EQ(canvas.Texts().size(), 2u);
  EXPECT_EQ(canvas.Texts()[0].Text, L"Saved" + std::wstring(71, L' '));
  EXPECT_EQ(canvas.Texts()[0].TextColour, kRed);
  // 400 samples in 300 columns: the first shown is the 101st.
  const std::wstring span = L"03-04 12:01:40 - 03-04 12:06:39";
  EXPECT_EQ(canvas.Texts()[1].Text, span);
  EXPECT_EQ(canvas.Texts()[1].At.X, (300 - 7 * static_cast<int>(span.size())) / 2 + 537 + 2);

  hosts[0].PV.resize(3);
  hosts[0].PV[0].S = 0;
  EXPECT_EQ(PingTimeSpanText(hosts[0], 300), L" - 03-04 12:00:02");
  EXPECT_EQ(PingTimeSpanText(hosts[0], 0), L"03-04 12:00:02 - 03-04 12:00:02");

  DrawPingHeader(canvas, {}, layout, hosts, L"", kRed);
  EXPECT_EQ(canvas.Texts()[2].Text, PingHeaderText());
  EXPECT_EQ(canvas.Texts()[2].TextColour, Rgb(0, 0, 255));
  const size_t drawn = canvas.Texts().size();
  DrawPingHeader(canvas, {}, layout, {}, L"", kRed);
  EXPECT_EQ(canvas.Texts().size(), drawn);  // an empty list shows nothing
}

}  // namespace
}  // namespace tarvik
