#include <gtest/gtest.h>

#include <string>

#include "monitors/ping/ping_row.h"
#include "text/translation.h"

namespace tarvik {
namespace {

PSys Host(std::wstring addr, std::wstring description) {
  PSys host;
  host.Addr = std::move(addr);
  host.Host = std::move(description);
  return host;
}

TEST(PingRow, TextColumns) {
  LoadTranslations(kEnglish);
  const std::wstring address40 = L"10.0.0.1" + std::wstring(32, L' ');
  const std::wstring nothing = L"    0    -    -      -      -      -";

  PSys bare = Host(L"10.0.0.1", L"   ");
  PSys longName = Host(L"10.0.0.1", std::wstring(41, L'x'));
  PSys replying = Host(L"192.168.100.200", L"router");
  replying.Time = 0, replying.PTTL = 64, replying.PTOS = 0, replying.Recv = 7;
  PSys lossy = Host(L"10.0.0.1", L"");
  lossy.Time = -1, lossy.Sent = 3, lossy.Recv = 1, lossy.Lost = 2;
  PSys paused = Host(L"10.0.0.1", L"");
  paused.Actv = 0, paused.Sent = 8, paused.Lost = 1;

  const struct {
    const char* Name;
    const PSys& Host;
    std::wstring Text;
  } cases[] = {
      {"blank description: address alone", bare, address40 + nothing},
      {"41-character description is cut", longName,
       L"10.0.0.1 (" + std::wstring(30, L'x') + nothing},
      {"a reply of 0 ms shows, TOS 0 does not", replying,
       L"192.168.100.200 (router)                    0   64    -      7      -      -"},
      {"failed echo and a lost share", lossy, address40 + L"    -    -    -      1      2  66.7%"},
      {"paused", paused, address40 + L"   -- Paused --      -      1  12.5%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PingRowText(c.Host), c.Text) << c.Name;
    EXPECT_EQ(PingRowText(c.Host).size(), PingHeaderText().size()) << c.Name;
  }
}

TEST(PingRow, Colours) {
  constexpr Colour kBack = Rgb(1, 2, 3);
  const struct {
    int32_t Actv, Last, HiLi;
    PingRowColours Expected;
  } cases[] = {
      {1, 0, 0, {Rgb(0, 0, 0), kBack}},
      {1, 1, 1, {Rgb(0, 0, 0), Rgb(153, 204, 255)}},
      {1, -1, 0, {Rgb(255, 0, 0), kBack}},
      {0, -1, 0, {Rgb(165, 42, 42), kBack}},
      {0, 1, 1, {Rgb(165, 42, 42), Rgb(153, 204, 255)}},
  };
  for (const auto& c : cases) {
    PSys host;
    host.Actv = c.Actv, host.Last = c.Last, host.HiLi = c.HiLi;
    EXPECT_EQ(PingRowColoursOf(host, kBack), c.Expected)
        << c.Actv << " " << c.Last << " " << c.HiLi;
  }
}

}  // namespace
}  // namespace tarvik
