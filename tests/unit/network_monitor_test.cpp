#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_network.h"
#include "fakes/fake_system.h"
#include "monitors/network/internet_state.h"
#include "monitors/network/network_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kSendGraph = 305;

class NetworkMonitorTest : public ::testing::Test {
 protected:
  NetworkMonitorTest() {
    LoadTranslations(kEnglish);
    network.AddAdapter(L"Wired", 12, 10'000, L"192.168.1.10");
    network.Rows[12].OutPackets = 100;
  }

  // One sample: the clock moves on a second, then a pass runs with real-time updates on.
  void Sample() {
    ++clock.Now;
    static_cast<void>(monitor.Pass(0));
  }
  std::vector<std::wstring> TakeEvents() { return std::exchange(events, {}); }

  Settings settings;
  StopSignal stop{settings};
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeNetwork network;
  fakes::FakeHttp http;
  AddressLookup lookup{[this] { return http.Get("http://127.0.0.1/json/", {}); }, fakes::RunAtOnce};
  MeterTable meters;
  Guarded<NetworkReadings> readings;
  TitleBoard titles;
  std::vector<std::wstring> events;
  std::vector<std::wstring> traffic;
  std::vector<std::wstring> information;
  std::vector<float> sentKb;
  int enumerations = 0;
  NetworkMonitor monitor{
      stop,
      NetworkSources{.Network = network, .Clock = clock, .Env = environment, .Lookup = lookup},
      NetworkTargets{
          .Options = settings,
          .Meters = meters,
          .Readings = readings,
          .Titles = titles,
          .AddNetworkEvent = [this](const std::wstring& text) { events.push_back(text); },
          .AddTrafficRow = [this](const std::wstring& row) { traffic.push_back(row); },
          .ClearTraffic = [this] { traffic.clear(); },
          .ShowInformation =
              [this](const std::vector<std::wstring>& lines) { information = lines; },
          .MeterChanged = [](int, bool) {},
          .RefreshLayout = [] {},
          .AdaptersChanged = [this] { ++enumerations; },
          .AddGraphSample =
              [this](int graph, float value) {
                if (graph == kSendGraph)
                  sentKb.push_back(value);
              },
          .RescaleGraph = [](int, int64_t) {},
          .CopyPanel = [](int) {}}};
};

TEST_F(NetworkMonitorTest, FallingCountersAreAReconnectionNotNegativeTraffic) {
  settings.Set(opt::RealTimeNetwork, 1);
  Sample();
  ASSERT_EQ(enumerations, 2);  // the first pass, and again for the Internet state it found
  network.Rows[12].OutOctets += 2048;
  Sample();
  EXPECT_EQ(sentKb.back(), 2.0f);
  TakeEvents();
  network.Rows[12].OutOctets = 4096;
  Sample();
  EXPECT_EQ(TakeEvents(), std::vector<std::wstring>{L"N1 Reconnected"});
  EXPECT_EQ(sentKb.back(), 4.0f);
  EXPECT_EQ(enumerations, 3);
  network.Rows[12].OutOctets += 1024;
  Sample();
  EXPECT_EQ(sentKb.back(), 1.0f);
  EXPECT_EQ(enumerations, 3);
  EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(NetworkMonitorTest, ErrorsStatusAndSpeedsAreToldOncePerSecond) {
  settings.Set(opt::RealTimeNetwork, 1);
  Sample();
  Sample();
  TakeEvents();
  network.Rows[12].InErrors = 1;
  static_cast<void>(monitor.Pass(0));  // the same second: not told yet
  network.Rows[12].InErrors = 3;
  static_cast<void>(monitor.Pass(0));
  EXPECT_TRUE(TakeEvents().empty());
  network.Rows[12].OperStatus = 2;
  network.Rows[12].ReceiveLinkSpeed = 1'500'000;
  Sample();
  EXPECT_EQ(TakeEvents(),
            (std::vector<std::wstring>{L"N1 Errors Recv: 3 (3)", L"N1 OperStatus: Down",
                                       L"N1 Receive Speed: 1.5Mb"}));
}

TEST_F(NetworkMonitorTest, TrafficRowsFollowTheModeAndTheFilter) {
  struct Case {
    const char* name;
    int mode;
    int filtered;
    std::vector<std::wstring> rows;
  };
  const Case cases[] = {
      {"bytes", 0, 0, {L"N1\n1024B\n11K\n0.0!\n10K"}},
      {"packets", 1, 0, {L"N1\n5\n105\n0\n0"}},
      {"filtered on it", 0, 12, {L"N1\n1024B\n11K\n0.0!\n10K"}},
      {"filtered on another", 0, 7, {}},
      {"unknown mode", 2, 0, {}},
  };
  settings.Set(opt::RealTimeNetwork, 1);
  for (const Case& c : cases) {
    network.Rows[12].OutOctets = 10'000;
    network.Rows[12].OutPackets = 100;
    Sample();
    settings.Set(opt::NetworkInPackets, c.mode);
    settings.Set(opt::FilteredInterface, c.filtered);
    traffic.clear();
    network.Rows[12].OutOctets += 1024;
    network.Rows[12].OutPackets += 5;
    Sample();
    EXPECT_EQ(traffic, c.rows) << c.name;
  }
}

TEST(InternetState, FlagsGiveTheStateTextAndEachChangeIsToldOnce) {
  LoadTranslations(kEnglish);
  struct Case {
    uint32_t flags;
    const wchar_t* text;
  };
  const Case cases[] = {{0x00, L"Internet:"},
                        {0x12, L"Internet:Network+RAS"},
                        {0x41, L"Internet:Modem/VPN"},
                        {0x40, L"Internet:Unknown"},
                        {0x2E, L"Internet:Network+Proxy Busy Offline"}};
  for (const Case& c : cases)
    EXPECT_EQ(InternetStateText(c.flags), c.text) << c.flags;

  InternetWatch watch;
  EXPECT_EQ(watch.Take(0u), std::nullopt);
  EXPECT_EQ(watch.Take(0x12u), L"Internet:Network+RAS");
  EXPECT_EQ(watch.Take(0x12u), std::nullopt);
  EXPECT_EQ(watch.Take(std::nullopt), L"Internet: Not Detected");
  EXPECT_EQ(watch.Take(std::nullopt), std::nullopt);
  EXPECT_EQ(watch.Take(0x12u), L"Internet:Network+RAS");
}

// The lookup's answer reaches the information list and the events; no network leaves a clean
// "not detected" line, never the old address.
TEST_F(NetworkMonitorTest, TheLookupShowsItsAnswerAndTellsANewAddressOnce) {
  struct Step {
    const char* name;
    std::optional<std::string> answer;
    std::vector<std::wstring> events;
    std::wstring top;
  };
  const std::string answer = R"({"Status":"success","QUERY":"203.0.113.9","As":"AS64500 Test"})";
  const Step steps[] = {
      {"first answer", answer, {L"External IP: 203.0.113.9"}, L""},
      {"same address", answer, {}, L""},
      {"no network", std::nullopt, {}, L"-- IP Lookup: Not Detected"},
      {"service refuses",
       R"({"status":"fail","query":"203.0.113.10"})",
       {},
       L"-- IP Lookup: Not Detected"},
      {"back", answer, {}, L""},
  };
  static_cast<void>(monitor.Pass(0));
  TakeEvents();
  for (const Step& step : steps) {
    http.Answer = step.answer;
    settings.Request(opt::NetworkRefreshRequest);
    static_cast<void>(monitor.Pass(0));
    std::vector<std::wstring> told = TakeEvents();
    std::erase_if(told, [](const std::wstring& e) { return e.starts_with(L"Internet"); });
    EXPECT_EQ(told, step.events) << step.name;
    ASSERT_FALSE(information.empty()) << step.name;
    EXPECT_EQ(information.front(), step.top) << step.name;
    const bool showsAddress = std::find(information.begin(), information.end(),
                                        L"External IP       203.0.113.9") != information.end();
    EXPECT_EQ(showsAddress, step.top.empty()) << step.name;
  }
  EXPECT_TRUE(std::find(information.begin(), information.end(), L"AS1: AS64500 Test") !=
              information.end());
}

}  // namespace
}  // namespace tarvik
