#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <numeric>
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
constexpr int kReceiveGraph = 306;

// Every test runs at both cadences: at the written one (a sample once a second, the default) and
// with real-time network updates (a sample every pass). Time moves 100 ms a pass, as it does for
// the running program.
class NetworkMonitorTest : public ::testing::TestWithParam<bool> {
 protected:
  NetworkMonitorTest() {
    LoadTranslations(kEnglish);
    settings.Set(opt::RealTimeNetwork, GetParam() ? 1 : 0);
    network.AddAdapter(L"Wired", 12, 10'000, L"192.168.1.10");
    network.Rows[12].OutPackets = 100;
  }

  void Pass() {
    clock.Tick += NetworkMonitor::kPassMs;
    if (clock.Tick % 1'000 == 0)
      ++clock.Now;
    ++passes;
    static_cast<void>(monitor.Pass(clock.Tick));
  }
  // A second of passes; the graphs' samples of that second are kept apart.
  void Second() {
    sent.clear();
    received.clear();
    for (int pass = 0; pass < NetworkMonitor::kSamplePasses; ++pass)
      Pass();
  }
  void Seconds(int count) {
    for (int second = 0; second < count; ++second)
      Second();
  }
  static float Sum(const std::vector<float>& samples) {
    return std::accumulate(samples.begin(), samples.end(), 0.0f);
  }
  std::vector<std::wstring> TakeEvents() { return std::exchange(events, {}); }
  [[nodiscard]] bool Shows(const std::wstring& line) const {
    return std::find(information.begin(), information.end(), line) != information.end();
  }
  // Lookups start on a thread of their own; held ones end when the test says.
  bool StartLookupTask(std::function<void()> work) {
    ++lookupsStarted;
    if (holdLookups)
      heldLookups.push_back(std::move(work));
    else
      work();
    return true;
  }
  void EndHeldLookups() {
    for (std::function<void()>& work : std::exchange(heldLookups, {}))
      work();
  }

  Settings settings;
  StopSignal stop{settings};
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeNetwork network;
  fakes::FakeHttp http;
  bool holdLookups = false;
  std::vector<std::function<void()>> heldLookups;
  int lookupsStarted = 0;
  AddressLookup lookup{[this] { return http.Get("http://127.0.0.1/json/", {}, {}); },
                       [this](std::function<void()> work) { return StartLookupTask(work); }};
  MeterTable meters;
  Guarded<NetworkReadings> readings;
  TitleBoard titles;
  int passes = 0;
  std::vector<std::wstring> events;
  std::vector<std::wstring> traffic;
  std::vector<std::wstring> information;
  std::vector<float> sent;
  std::vector<float> received;
  std::vector<int> sampledAtPass;
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
                  sampledAtPass.push_back(passes);
                (graph == kSendGraph ? sent : received).push_back(value);
              },
          .RescaleGraph = [](int, int64_t) {},
          .CopyPanel = [](int) {}}};
};

INSTANTIATE_TEST_SUITE_P(Cadence, NetworkMonitorTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& cadence) {
                           return cadence.param ? "RealTime" : "Written";
                         });

// Once a second at the written cadence, starting at the first pass; every pass in real time.
TEST_P(NetworkMonitorTest, SamplesComeEveryTenthPassOrEveryPass) {
  for (int pass = 0; pass < 35; ++pass)
    Pass();
  std::vector<int> expected;
  for (int pass = 1; pass <= 35; pass += GetParam() ? 1 : 10)
    expected.push_back(pass);
  EXPECT_EQ(sampledAtPass, expected);
}

// The traffic of each second reaches both graphs once: a fall is a reconnection (told once, the
// adapters enumerated again), not negative traffic; an idle direction is not a fall.
TEST_P(NetworkMonitorTest, EachSecondsTrafficReachesBothGraphsAndAFallIsAReconnection) {
  Second();
  ASSERT_EQ(enumerations, 2);  // the first pass, and again for the Internet state it found
  TakeEvents();
  struct Step {
    const char* name;
    int64_t sentTo, receivedTo;
    float sentKb, receivedKb;
    std::vector<std::wstring> events;
    int enumerations;
  };
  const Step steps[] = {
      {"both ways", 12'048, 15'120, 2.0f, 5.0f, {}, 2},
      {"only received", 12'048, 16'144, 0.0f, 1.0f, {}, 2},
      {"only sent", 13'072, 16'144, 1.0f, 0.0f, {}, 2},
      {"idle", 13'072, 16'144, 0.0f, 0.0f, {}, 2},
      {"sent counter restarted", 4'096, 17'168, 4.0f, 1.0f, {L"N1 Reconnected"}, 3},
      {"received counter restarted", 5'120, 2'048, 1.0f, 2.0f, {L"N1 Reconnected"}, 4},
      {"after it", 6'144, 3'072, 1.0f, 1.0f, {}, 4},
  };
  for (const Step& step : steps) {
    network.Rows[12].OutOctets = step.sentTo;
    network.Rows[12].InOctets = step.receivedTo;
    Second();
    EXPECT_EQ(Sum(sent), step.sentKb) << step.name;
    EXPECT_EQ(Sum(received), step.receivedKb) << step.name;
    EXPECT_EQ(TakeEvents(), step.events) << step.name;
    EXPECT_EQ(enumerations, step.enumerations) << step.name;
  }
}

// Two error increments within one second are told once, with their sum.
TEST_P(NetworkMonitorTest, ErrorsStatusAndSpeedsAreToldOncePerSecond) {
  Seconds(2);
  Pass();
  TakeEvents();
  network.Rows[12].InErrors = 1;
  for (int pass = 0; pass < 3; ++pass)
    Pass();
  network.Rows[12].InErrors = 3;
  Pass();
  network.Rows[12].OperStatus = 2;
  network.Rows[12].ReceiveLinkSpeed = 1'500'000;
  while (passes < 31)
    Pass();
  std::vector<std::wstring> told = TakeEvents();
  std::erase_if(told, [](const std::wstring& e) { return e.starts_with(L"Internet"); });
  EXPECT_EQ(told, (std::vector<std::wstring>{L"N1 Errors Recv: 3 (3)", L"N1 OperStatus: Down",
                                             L"N1 Receive Speed: 1.5Mb"}));
}

TEST_P(NetworkMonitorTest, TrafficRowsFollowTheModeAndTheFilter) {
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
  for (const Case& c : cases) {
    network.Rows[12].OutOctets = 10'000;
    network.Rows[12].OutPackets = 100;
    Second();
    settings.Set(opt::NetworkInPackets, c.mode);
    settings.Set(opt::FilteredInterface, c.filtered);
    traffic.clear();
    network.Rows[12].OutOctets += 1024;
    network.Rows[12].OutPackets += 5;
    Second();
    EXPECT_EQ(traffic, c.rows) << c.name;
  }
}

// The adapter's cell in the mini window: its tag, the bytes sent in the last sample and in all,
// " /", then the same received.
TEST_P(NetworkMonitorTest, TheAdapterCellShowsBothDirections) {
  Second();
  network.Rows[12].OutOctets += 2'048;
  network.Rows[12].InOctets += 100;
  Pass();
  EXPECT_EQ((*meters.Lock())[kFirstAdapterItem].Text, L"N1 2048B 12K /  100B 10K");
}

// Adapters are enumerated at the first pass, after 2 minutes, then every 10 minutes; F5 and the
// like come on top and leave that timetable as it is.
TEST_P(NetworkMonitorTest, AdaptersAreEnumeratedAfterTwoMinutesThenEveryTen) {
  struct Step {
    int untilPass;
    int enumerations;
  };
  const auto runTo = [this](int pass) {
    while (passes < pass)
      Pass();
  };
  for (const Step step : {Step{1, 2}, Step{1'199, 2}, Step{1'200, 3}, Step{3'000, 3}}) {
    runTo(step.untilPass);
    EXPECT_EQ(enumerations, step.enumerations) << step.untilPass;
  }
  settings.Request(opt::NetworkRefreshRequest);
  runTo(3'001);
  EXPECT_EQ(enumerations, 4);
  for (const Step step : {Step{7'199, 4}, Step{7'200, 5}, Step{13'199, 5}, Step{13'200, 6}}) {
    runTo(step.untilPass);
    EXPECT_EQ(enumerations, step.enumerations) << step.untilPass;
  }
}

// An adapter that moved nothing is neither shown nor counted: its row is read only when the
// adapters are enumerated, never by the samples in between. Once it carries traffic, the next
// enumeration of the timetable finds it and it is shown and sampled from then on.
TEST_P(NetworkMonitorTest, AnIdleAdaptersRowIsReadOnlyWhenTheAdaptersAreEnumerated) {
  network.AddAdapter(L"Idle", 20, 0, L"192.168.2.10");
  struct Step {
    int untilPass;
    bool idleCarriesTraffic;
    int enumerations;
    int idleReadsSinceLastStep;
    bool idleShown;
  };
  // Every enumeration reads each row once; samples read only the shown adapters' rows.
  for (const Step step :
       {Step{1, false, 2, 2, false}, Step{600, false, 2, 0, false}, Step{1'199, true, 2, 0, false},
        Step{1'200, true, 3, 1, true}, Step{1'300, true, 3, GetParam() ? 100 : 10, true}}) {
    {
      std::lock_guard<std::mutex> lock(network.Mutex);
      network.Rows[20].InOctets = step.idleCarriesTraffic ? 5'000 : 0;
      network.RowQueriesByIndex[20] = 0;
    }
    while (passes < step.untilPass)
      Pass();
    EXPECT_EQ(enumerations, step.enumerations) << step.untilPass;
    EXPECT_EQ(network.RowQueriesByIndex[20], step.idleReadsSinceLastStep) << step.untilPass;
    const bool shown = (*meters.Lock())[static_cast<size_t>(kFirstAdapterItem + 1)].Active;
    EXPECT_EQ(shown, step.idleShown) << step.untilPass;
  }
}

// Without the IP Helper library the Networks tab says so, and goes on saying so.
TEST_P(NetworkMonitorTest, WithoutIpHelperTheNoticeStays) {
  network.Present = false;
  Second();
  EXPECT_EQ(information, std::vector<std::wstring>{L"Unable to load iphlpapi.dll"});
  settings.Request(opt::NetworkRefreshRequest);
  Seconds(130);
  EXPECT_GE(enumerations, 4);
  EXPECT_EQ(information, std::vector<std::wstring>{L"Unable to load iphlpapi.dll"});
}

// The Internet state is asked for at the first sample, when the system tells of a change, when
// an adapter's status, media state, link speed or address changed, and otherwise every 10 s; a
// change that comes with an adapter's is told within the second.
TEST_P(NetworkMonitorTest, TheInternetStateIsAskedForWhenSomethingChanged) {
  Second();
  ASSERT_EQ(TakeEvents().back(), L"Internet:Network+RAS");
  ASSERT_EQ(network.FlagQueries, 1);
  while (passes < 100)
    Pass();
  EXPECT_EQ(network.FlagQueries, 1);
  Pass();  // 10 s after the first
  EXPECT_EQ(network.FlagQueries, 2);
  while (passes < 600)
    Pass();
  EXPECT_EQ(network.FlagQueries, 6);  // unchanged: every 10 s
  struct Case {
    const char* name;
    std::function<void(platform::InterfaceRow&)> change;
    bool asked;
  };
  const Case cases[] = {
      {"cable out", [](platform::InterfaceRow& row) { row.OperStatus = 2; }, true},
      {"media state", [](platform::InterfaceRow& row) { row.MediaConnected = true; }, true},
      {"send speed", [](platform::InterfaceRow& row) { row.TransmitLinkSpeed = 1'000; }, true},
      {"receive speed", [](platform::InterfaceRow& row) { row.ReceiveLinkSpeed = 1'000; }, true},
      {"address", [](platform::InterfaceRow& row) { row.PhysicalAddress.assign(6, 1); }, true},
      {"counters only", [](platform::InterfaceRow& row) { row.InOctets += 5'000; }, false},
      {"system notice", [this](platform::InterfaceRow&) { network.Notice = true; }, true},
  };
  const platform::InterfaceRow before = network.Rows[12];
  uint32_t flags = 0x12;
  for (const Case& c : cases) {
    Seconds(1);  // a second since the last question, far from the next safety one
    TakeEvents();
    flags ^= 0x20;
    network.Flags = flags;
    c.change(network.Rows[12]);
    Second();
    const std::vector<std::wstring> told = TakeEvents();
    const bool internetTold = std::any_of(told.begin(), told.end(), [](const std::wstring& e) {
      return e.starts_with(L"Internet:");
    });
    EXPECT_EQ(internetTold, c.asked) << c.name;
    Seconds(10);  // the safety question tells what went unseen
    network.Rows[12] = before;
  }
}

// The lookup's block: nothing before the first success, then the latest successful record under
// its time; a failed lookup leaves it as it was, an address seen anew is told once.
TEST_P(NetworkMonitorTest, AFailedLookupLeavesTheLastRecordShown) {
  const std::string first = R"({"Status":"success","QUERY":"203.0.113.9","As":"AS64500 Test"})";
  const std::string refused = R"({"status":"fail","query":"203.0.113.10"})";
  struct Step {
    const char* name;
    std::optional<std::string> answer;
    std::vector<std::wstring> events;
    std::wstring block;  // the time of its lookup and the address; empty: no block
  };
  const Step steps[] = {
      {"no network at first", std::nullopt, {}, L""},
      {"service refuses at first", refused, {}, L""},
      {"first answer", first, {L"External IP: 203.0.113.9"}, L"14:05:10 203.0.113.9"},
      {"same address", first, {}, L"14:05:11 203.0.113.9"},
      {"no network", std::nullopt, {}, L"14:05:11 203.0.113.9"},
      {"service refuses", refused, {}, L"14:05:11 203.0.113.9"},
      {"forged address",
       "{\"status\":\"success\",\"query\":\"203.0.113.10\\r\\n01 C:+\"}",
       {},
       L"14:05:11 203.0.113.9"},
      {"new address",
       R"({"status":"success","query":"203.0.113.10"})",
       {L"External IP: 203.0.113.10"},
       L"14:05:15 203.0.113.10"},
  };
  Second();
  TakeEvents();
  for (const Step& step : steps) {
    http.Answer = step.answer;
    settings.Request(opt::NetworkRefreshRequest);
    Pass();
    EXPECT_EQ(TakeEvents(), step.events) << step.name;
    std::wstring block;
    for (const std::wstring& line : information) {
      if (line.starts_with(L"-- IP Lookup: 2024-03-09 "))
        block += line.substr(25) + L" ";
      if (line.starts_with(L"External IP       "))
        block += line.substr(18);
    }
    EXPECT_EQ(block, step.block) << step.name;
    ++clock.Now;
  }
}

// A request made while a lookup runs is kept and served when it ends; the monitor's own requests
// start at most one lookup per 10 s and wait for it rather than being dropped; F5 is never held
// back by that spacing.
TEST_P(NetworkMonitorTest, NoLookupRequestIsLostAndOnlyTheMonitorsOwnAreSpaced) {
  holdLookups = true;
  http.Answer = R"({"status":"success","query":"203.0.113.9"})";
  Pass();
  ASSERT_EQ(lookupsStarted, 1);  // the first count of connections
  // The address changes while that lookup runs (a reconnection has it enumerated again).
  (*network.List)[0].IpAddress = L"192.168.1.11";
  network.Rows[12].OutOctets = 0;
  Second();
  EXPECT_EQ(lookupsStarted, 1);
  EndHeldLookups();  // it saw the old address
  http.Answer = R"({"status":"success","query":"203.0.113.77"})";
  Pass();
  EXPECT_TRUE(Shows(L"External IP       203.0.113.9"));
  EXPECT_EQ(lookupsStarted, 1);  // 10 s have not passed since the first started
  while (passes < 100)
    Pass();
  EXPECT_EQ(lookupsStarted, 1);
  Pass();  // 10 s after the first lookup started
  EXPECT_EQ(lookupsStarted, 2);
  EndHeldLookups();
  Pass();
  EXPECT_TRUE(Shows(L"External IP       203.0.113.77"));

  // F5 at once, however soon; and F5 during a lookup runs when it ends.
  settings.Request(opt::NetworkRefreshRequest);
  Pass();
  EXPECT_EQ(lookupsStarted, 3);
  settings.Request(opt::NetworkRefreshRequest);
  Pass();
  EXPECT_EQ(lookupsStarted, 3);
  EndHeldLookups();
  Pass();
  EXPECT_EQ(lookupsStarted, 4);
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

}  // namespace
}  // namespace tarvik
