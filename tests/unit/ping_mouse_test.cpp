#include <gtest/gtest.h>

#include "monitors/ping/ping_mouse.h"
#include "monitors/ping/ping_readouts.h"
#include "text/date_format.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr PingLayout kLayout{14, 7, 537, 300};

TEST(PingMouse, HeaderColumnBounds) {
  const struct {
    int CharColumn;
    std::optional<int> Sort;
  } cases[] = {{0, 1},  {11, 1}, {12, 2}, {37, 2}, {38, 3}, {45, 3},  {46, 4},
               {51, 5}, {56, 6}, {62, 6}, {63, 7}, {76, 7}, {77, {}}, {200, {}}};
  for (const auto& c : cases) {
    EXPECT_EQ(HeaderSortColumn(c.CharColumn * 7, 7), c.Sort) << c.CharColumn;
    EXPECT_EQ(HeaderSortColumn(c.CharColumn * 7 + 6, 7), c.Sort) << c.CharColumn;
  }
  EXPECT_EQ(HeaderSortColumn(-1, 7), std::nullopt);
  EXPECT_EQ(HeaderSortColumn(10, 0), std::nullopt);
}

TEST(PingMouse, ListSpots) {
  using enum PingListRegion;
  const struct {
    int X, Y, FirstRow;
    PingListSpot Spot;
  } cases[] = {
      {10, 0, 0, {1, Text, 1}},          {10, 0, 2, {3, Text, 1}},
      {536, 13, 2, {3, Text, 76}},       {537, 14, 2, {4, Timeline, 76}},
      {836, 28, 2, {5, Timeline, 119}},  {837, 28, 2, {5, RightOfTimeline, 119}},
      {10, 42, 2, {0, BelowLastRow, 1}}, {10, -1, 0, {0, BelowLastRow, 1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PingListSpotAt(c.X, c.Y, c.FirstRow, kLayout, 5), c.Spot) << c.X << "," << c.Y;
}

PSys HistoryHost(size_t samples) {
  PSys host;
  host.Addr = L"10.0.0.1";
  host.Host = L"gw";
  host.Best = 3;
  host.Wors = 40;
  const DateValue noon = DateFromParts({2026, 3, 4, 12, 0, 0});
  for (size_t i = 0; i < samples; ++i)
    host.PV.push_back({static_cast<int32_t>(noon + static_cast<DateValue>(i)), 25});
  return host;
}

TEST(PingReadout, TimelinePositions) {
  LoadTranslations(kEnglish);
  const std::wstring none = L"No data at mouse position";
  const PSys shortHistory = HistoryHost(200), longHistory = HistoryHost(1000);
  const struct {
    const PSys& Host;
    int Column;
    std::wstring Start;  // the read-out up to its value
  } cases[] = {
      {shortHistory, -1, none},
      {shortHistory, 0, none},
      {shortHistory, 99, none},
      {shortHistory, 100, L"Position: 1/200 = 2026-03-04  12:00:00 = "},
      {shortHistory, 299, L"Position: 200/200 = 2026-03-04  12:03:19 = "},
      {shortHistory, 300, none},
      {longHistory, -1, none},
      {longHistory, 0, L"Position: 1/300 = 2026-03-04  12:11:40 = "},
      {longHistory, 299, L"Position: 300/300 = 2026-03-04  12:16:39 = "},
  };
  for (const auto& c : cases) {
    const std::wstring readout = TimelineReadout(c.Host, kLayout.TimelineX + c.Column, kLayout);
    EXPECT_EQ(readout.substr(0, c.Start.size()), c.Start) << c.Column;
    EXPECT_EQ(readout.size() == none.size(), c.Start == none) << c.Column;
  }
}

TEST(PingReadout, Values) {
  LoadTranslations(kEnglish);
  const struct {
    int32_t Value, Best;
    std::wstring Host, End;
  } cases[] = {
      {25, 3, L"gw", L"= 10.0.0.1 (gw) 25ms Range: 3-40"},
      {0, -1, L"gw", L"= 10.0.0.1 (gw) 0ms"},
      {-1, 3, L"", L"= 10.0.0.1 [Timed Out] Range: 3-40"},
      {-2, -1, L"", L"= 10.0.0.1 [Ping Resumed]"},
      {-4, -1, L"", L"= 10.0.0.1 [Inactive]"},
      {-3, -1, L"", L"= 10.0.0.1 --"},
  };
  for (const auto& c : cases) {
    PSys host = HistoryHost(1);
    host.PV[0].T = c.Value, host.Best = c.Best, host.Host = c.Host;
    const std::wstring readout = TimelineReadout(host, kLayout.TimelineX + 299, kLayout);
    ASSERT_GE(readout.size(), c.End.size());
    EXPECT_EQ(readout.substr(readout.size() - c.End.size()), c.End) << c.Value;
  }
}

TEST(PingReadout, LastDown) {
  LoadTranslations(kEnglish);
  PSys host = HistoryHost(0);
  EXPECT_EQ(LastDownReadout(host, 63), std::nullopt);  // never down
  host.Down = static_cast<int32_t>(DateFromParts({2026, 3, 4, 9, 8, 7}));
  EXPECT_EQ(LastDownReadout(host, 62), std::nullopt);
  EXPECT_EQ(LastDownReadout(host, 63), L"10.0.0.1 (gw) Last Down: 2026-03-04  09:08:07");
}

}  // namespace
}  // namespace tarvik
