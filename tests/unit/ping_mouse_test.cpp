#include <gtest/gtest.h>

#include "monitors/ping/ping_mouse.h"
#include "monitors/ping/ping_readouts.h"
#include "monitors/ping/ping_sorting.h"
#include "text/date_format.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr PingLayout kLayout{14, 7, 537, 300};

TEST(PingMouse, HeaderColumnBounds) {
  const std::pair<int, std::optional<int>> cases[] = {{0, 1},  {11, 1},  {12, 2}, {37, 2}, {38, 3},
                                                      {46, 4}, {51, 5},  {56, 6}, {62, 6}, {63, 7},
                                                      {76, 7}, {77, {}}, {-1, {}}};
  for (const auto& [charColumn, sort] : cases) {
    EXPECT_EQ(HeaderSortColumn(charColumn * 7, 7), sort) << charColumn;
    EXPECT_EQ(HeaderSortColumn(charColumn * 7 + 6, 7), sort) << charColumn;
  }
}

TEST(PingMouse, ListSpots) {
  using enum PingListRegion;
  const struct {
    int X, Y, FirstRow;
    PingListSpot Spot;
  } cases[] = {{10, 0, 0, {1, Text, 1}},
               {536, 13, 2, {3, Text, 76}},
               {537, 14, 2, {4, Timeline, 76}},
               {836, 28, 2, {5, Timeline, 119}},
               {837, 28, 2, {5, RightOfTimeline, 119}},
               {10, 42, 2, {0, BelowLastRow, 1}}};
  for (const auto& c : cases)
    EXPECT_EQ(PingListSpotAt(c.X, c.Y, c.FirstRow, kLayout, 5), c.Spot) << c.X << "," << c.Y;
}

TEST(PingMouse, SortClickCycle) {
  LoadTranslations(kEnglish);
  PingSortCycle cycle;
  const std::pair<int, std::wstring> clicks[] = {
      {3, L"#3 = Ascending"},  {3, L"#3 = Descending"}, {3, L"#3 = None"}, {3, L"#3 = Ascending"},
      {3, L"#3 = Descending"}, {2, L"#2 = Descending"},  // another column keeps the direction
      {2, L"#2 = None"},       {1, L"#1 = Ascending"}};
  for (const auto& [column, title] : clicks)
    EXPECT_EQ(SortingTitle(column, cycle.Click(column)), L"Sorting Column " + title);
}

TEST(PingMouse, SortKeysAreStable) {
  using enum PingSortOrder;
  // Made in the order A B C D a, listed the other way round; B and D tie on time.
  const std::tuple<const wchar_t*, wchar_t, int32_t, int64_t> made[] = {
      {L"11", L'a', -1, 10},
      {L"10.20", L'D', 7, 9},
      {L"10.1", L'C', 120, 300},
      {L"9.50", L'B', 7, 2},
      {L"9.5", L'A', 30, 10000000001}};
  PingList listed;
  for (const auto& [init, name, time, sort] : made) {
    listed.emplace_back();
    listed.back().Init = init, listed.back().Host = name;
    listed.back().Time = time, listed.back().Sort = sort;
  }
  const std::tuple<int, PingSortOrder, std::wstring> cases[] = {
      {1, Ascending, L"BDaCA"}, {1, Descending, L"ACaDB"}, {2, Ascending, L"ABCDa"},
      {3, Ascending, L"aDBAC"}, {3, Descending, L"CADBa"}, {8, Ascending, L"aDCBA"},
      {3, Creation, L"ABCDa"}};
  for (const auto& [column, order, expected] : cases) {
    PingList hosts = listed;
    SortPings(hosts, column, order);
    std::wstring names;
    for (const PSys& host : hosts)
      names += host.Host;
    EXPECT_EQ(names, expected) << column;
  }
}

PSys HistoryHost(size_t samples, std::wstring description = L"gw") {
  PSys host;
  host.Addr = L"10.0.0.1", host.Host = std::move(description);
  host.Best = 3, host.Wors = 40;
  const DateValue noon = DateFromParts({2026, 3, 4, 12, 0, 0});
  for (size_t i = 0; i < samples; ++i)
    host.PV.push_back({static_cast<int32_t>(noon + static_cast<DateValue>(i)), 25});
  return host;
}

TEST(PingMouse, TimelineReadoutPositions) {
  LoadTranslations(kEnglish);
  const std::wstring none = L"No data at mouse position";
  const PSys shortHistory = HistoryHost(200), longHistory = HistoryHost(1000);
  const std::tuple<const PSys&, int, std::wstring> cases[] = {
      {shortHistory, 99, none},
      {shortHistory, 100, L"Position: 1/200 = 2026-03-04  12:00:00 = 10.0.0.1 (gw) 25ms"},
      {shortHistory, 299, L"Position: 200/200 = 2026-03-04  12:03:19 = "},
      {shortHistory, 300, none},
      {longHistory, -1, none},
      {longHistory, 0, L"Position: 1/300 = 2026-03-04  12:11:40 = "},
      {longHistory, 299, L"Position: 300/300 = 2026-03-04  12:16:39 = "}};
  for (const auto& [host, column, start] : cases) {
    const std::wstring readout = TimelineReadout(host, kLayout.TimelineX + column, kLayout);
    EXPECT_TRUE(readout.starts_with(start)) << column;
    EXPECT_EQ(readout.size() == none.size(), start == none) << column;
  }
}

TEST(PingMouse, ReadoutValuesAndLastDown) {
  LoadTranslations(kEnglish);
  const std::tuple<int32_t, int32_t, std::wstring, std::wstring> cases[] = {
      {25, 3, L"gw", L"= 10.0.0.1 (gw) 25ms Range: 3-40"},
      {0, -1, L"gw", L"(gw) 0ms"},
      {-1, 3, L"", L"= 10.0.0.1 [Timed Out] Range: 3-40"},
      {-2, -1, L"", L"1 [Ping Resumed]"},
      {-4, -1, L"", L"= 10.0.0.1 [Inactive]"},
      {-3, -1, L"", L"= 10.0.0.1 --"}};
  for (const auto& [value, best, description, end] : cases) {
    PSys host = HistoryHost(1, description);
    host.PV[0].T = value, host.Best = best;
    EXPECT_TRUE(TimelineReadout(host, kLayout.TimelineX + 299, kLayout).ends_with(end)) << value;
  }
  PSys host = HistoryHost(0);
  EXPECT_EQ(LastDownReadout(host, 63), std::nullopt);  // never down
  host.Down = static_cast<int32_t>(DateFromParts({2026, 3, 4, 9, 8, 7}));
  EXPECT_EQ(LastDownReadout(host, 62), std::nullopt);
  EXPECT_EQ(LastDownReadout(host, 63), L"10.0.0.1 (gw) Last Down: 2026-03-04  09:08:07");
}

}  // namespace
}  // namespace tarvik
