#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitors/ping/ping_log.h"
#include "text/translation.h"

namespace tarvik {
namespace {

const DateValue kNow = DateFromParts({2024, 3, 9, 14, 5, 7});
const DateValue kDown = DateFromParts({2024, 3, 8, 23, 59, 1});

PSys LossyHost() {
  PSys host;
  host.Addr = L"10.0.0.138";
  host.Host = L"router";
  host.Time = -1;
  host.Best = 3;
  host.Wors = 120;
  host.PTOS = 0;
  host.PTTL = 64;
  host.Sent = 7;
  host.Recv = 6;
  host.Lost = 1;
  host.Down = static_cast<int32_t>(kDown);
  const auto s = static_cast<int32_t>(kNow);
  host.PV = {{s, 12}, {s + 1, -1}, {s + 2, -2}, {s + 3, -4}, {s + 4, 0}, {s + 5, 2500}};
  return host;
}

TEST(PingLog, HostWithLossesAndEveryKindOfSample) {
  LoadTranslations(kGerman);
  EXPECT_EQ(PingLogText(LossyHost(), kNow, L"2.33 x64 426.9423"),
            L"Ping Log by Tarvik v2.33 x64 426.9423 on 2024-03-09 14:05:07\r\n"
            L"----------------------------------[ https://www.brimhold.example ]-- \r\n"
            L". IP Address: 10.0.0.138\r\n"
            L".   Hostname: router\r\n"
            L".   Time(ms): -1 (Timed Out)\r\n"
            L".  Range(ms): 3-120\r\n"
            L".        TOS: 0\r\n"
            L".        TTL: 64\r\n"
            L".       Sent: 7\r\n"
            L".   Received: 6\r\n"
            L".       Lost: 1\r\n"
            L".     % Lost: 14.2857%\r\n"
            L".  Last Down: 2024-03-08  23:59:01\r\n"
            L"----------------------------------------[ Begin Data ]--\r\n"
            L"000  2024-03-09  14:05:07    12 ms\r\n"
            L"001  2024-03-09  14:05:08  Timed out\r\n"
            L"002  2024-03-09  14:05:09  Ping Resumed\r\n"
            L"003  2024-03-09  14:05:10  Pausiert\r\n"
            L"004  2024-03-09  14:05:11     0 ms\r\n"
            L"005  2024-03-09  14:05:12  2500 ms\r\n"
            L"------------------------------------------[ End Data ]--\r\n");
}

// The lines that come and go with the host's figures.
TEST(PingLog, OptionalLinesAndThePercentageFollowTheFigures) {
  struct Case {
    const char* name;
    void (*change)(PSys&);
    std::vector<std::wstring> present, absent;
  };
  const std::vector<Case> cases = {
      {"no losses", [](PSys& h) { h.Lost = 0; }, {L".     % Lost: 0.0000%\r\n"}, {}},
      {"nothing sent", [](PSys& h) { h.Sent = 0; }, {L".     % Lost: 0.0000%\r\n"}, {}},
      {"all lost", [](PSys& h) { h.Lost = 7; }, {L".     % Lost: 100.0000%\r\n"}, {}},
      {"best 0", [](PSys& h) { h.Best = 0; }, {}, {L"Range"}},
      {"worst none", [](PSys& h) { h.Wors = -1; }, {}, {L"Range"}},
      {"range 1-1", [](PSys& h) { h.Best = h.Wors = 1; }, {L".  Range(ms): 1-1\r\n"}, {}},
      {"never down", [](PSys& h) { h.Down = 0; }, {}, {L"Last Down"}},
      {"down at 1", [](PSys& h) { h.Down = 1; }, {L".  Last Down: 1970-01-01  00:00:01\r\n"}, {}},
      {"answered", [](PSys& h) { h.Time = 0; }, {L".   Time(ms): 0\r\n"}, {L"(Timed Out)"}},
      {"1000 samples", [](PSys& h) { h.PV.resize(1000); }, {L"\r\n999  1970-01-01"}, {L"1000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PSys host = LossyHost();
    c.change(host);
    const std::wstring text = PingLogText(host, kNow, L"2.33 x64 426.9423");
    for (const std::wstring& part : c.present)
      EXPECT_NE(text.find(part), std::wstring::npos) << std::string(part.begin(), part.end());
    for (const std::wstring& part : c.absent)
      EXPECT_EQ(text.find(part), std::wstring::npos) << std::string(part.begin(), part.end());
  }
}

TEST(PingLog, SavedMessageNamesTheHostInFortyCharacters) {
  LoadTranslations(kEnglish);
  const std::vector<std::vector<std::wstring>> cases = {
      {L"10.0.0.1", L"", L"10.0.0.1 Data saved To clipboard."},
      {L"10.0.0.1", L"  ", L"10.0.0.1 Data saved To clipboard."},
      {L"10.0.0.1", L"nas", L"10.0.0.1 (nas) Data saved To clipboard."},
      {L"192.168.100.200", L"a description of twenty-five",
       L"192.168.100.200 (a description of twenty Data saved To clipboard."},
  };
  for (const auto& c : cases) {
    PSys host;
    host.Addr = c[0];
    host.Host = c[1];
    EXPECT_EQ(PingLogSavedMessage(host), c[2]);
  }
}

}  // namespace
}  // namespace tarvik
