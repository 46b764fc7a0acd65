#include <gtest/gtest.h>

#include <algorithm>

#include "monitors/ping/ping_copy_text.h"
#include "monitors/ping/ping_indicator.h"
#include "monitors/ping/ping_row.h"
#include "monitors/ping/ping_sorting.h"
#include "text/translation.h"

namespace tarvik {
namespace {

PSys Host(std::wstring init, std::wstring description, int32_t time, int64_t sort) {
  PSys host;
  host.Init = std::move(init);
  host.Host = std::move(description);
  host.Time = time;
  host.Sort = sort;
  return host;
}

std::wstring Order(const PingList& hosts) {
  std::wstring order;
  for (const PSys& host : hosts)
    order += host.Host;
  return order;
}

TEST(PingSorting, ClickCycle) {
  LoadTranslations(kEnglish);
  using enum PingSortOrder;
  PingSortCycle cycle;
  const struct {
    int Column;
    PingSortOrder Order;
    std::wstring Title;
  } clicks[] = {
      {3, Ascending, L"Sorting Column #3 = Ascending"},
      {3, Descending, L"Sorting Column #3 = Descending"},
      {3, Creation, L"Sorting Column #3 = None"},
      {3, Ascending, L"Sorting Column #3 = Ascending"},
      {3, Descending, L"Sorting Column #3 = Descending"},
      {2, Descending, L"Sorting Column #2 = Descending"},  // another column keeps the direction
      {2, Creation, L"Sorting Column #2 = None"},
      {1, Ascending, L"Sorting Column #1 = Ascending"},
  };
  for (const auto& click : clicks) {
    const PingSortOrder order = cycle.Click(click.Column);
    EXPECT_EQ(order, click.Order) << click.Column;
    EXPECT_EQ(SortingTitle(click.Column, order), click.Title);
  }
}

TEST(PingSorting, KeysAreStable) {
  using enum PingSortOrder;
  // Created in the order A B C D E; B and D tie on time.
  const PingList created = {Host(L"9.5", L"A", 30, 10000000001), Host(L"9.50", L"B", 7, 2),
                            Host(L"10.1", L"C", 120, 300), Host(L"10.20", L"D", 7, 9),
                            Host(L"11", L"a", -1, 10)};
  const struct {
    int Column;
    PingSortOrder Order;
    std::wstring Expected;
  } cases[] = {
      {1, Ascending, L"BDaCA"}, {1, Descending, L"ACaDB"}, {2, Ascending, L"ABCDa"},
      {3, Ascending, L"aDBAC"}, {3, Descending, L"CADBa"}, {8, Ascending, L"aDCBA"},
      {3, Creation, L"ABCDa"},
  };
  for (const auto& c : cases) {
    PingList hosts = created;
    std::reverse(hosts.begin(), hosts.end());
    SortPings(hosts, c.Column, c.Order);
    EXPECT_EQ(Order(hosts), c.Expected) << c.Column;
  }
}

TEST(PingIndicator, DigitCounts) {
  const struct {
    int Up, Down;
    std::optional<std::wstring> Text;
  } cases[] = {
      {1, 2, L" 1\u25B2 2\u25BC  "},     {12, 3, L" 12\u25B2 3\u25BC "},
      {12, 34, L" 12\u25B2 34\u25BC"},   {123, 45, L"123\u25B2 45\u25BC"},
      {1000, 24, L"1000\u25B224\u25BC"}, {1024, 100, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(UpDownIndicatorText(c.Up, c.Down), c.Text) << c.Up << " " << c.Down;
}

TEST(PingCopy, HeaderDashesAndRows) {
  LoadTranslations(kEnglish);
  PingList hosts(2);
  hosts[0].Addr = L"10.0.0.1";
  hosts[1].Addr = L"10.0.0.2";
  const std::wstring header = PingHeaderText();
  EXPECT_EQ(PingCopyText(hosts), header + L"\r\n" + std::wstring(76, L'-') + L"\r\n" +
                                     PingRowText(hosts[0]) + L"\r\n" + PingRowText(hosts[1]) +
                                     L"\r\n");
}

}  // namespace
}  // namespace tarvik
