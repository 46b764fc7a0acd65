#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/settings_index.h"
#include "core/stop_signal.h"
#include "core/text_slots.h"
#include "fakes/fake_ping.h"
#include "fakes/fake_system.h"
#include "monitors/ping/host_resolver.h"
#include "monitors/ping/ping_address.h"
#include "monitors/ping/ping_coordinator.h"
#include "monitors/ping/ping_cycle.h"
#include "monitors/ping/ping_edits.h"
#include "monitors/ping/ping_log.h"
#include "monitors/ping/ping_requests.h"
#include "text/translation.h"

namespace tarvik {
namespace {

PSys Host(const wchar_t* address, int32_t time, int32_t last = 0, int32_t active = 1) {
  PSys host;
  host.Addr = address;
  host.Valu = static_cast<int32_t>(*ParseIPv4(address));
  host.Time = time;
  host.Last = last;
  host.Actv = active;
  return host;
}

TEST(PingAddress, DottedAddressesAndTypedNames) {
  struct Case {
    const wchar_t* Text;
    bool Valid;
  };
  for (const Case& c : {Case{L"10.0.0.138", true}, Case{L"255.255.255.255", true},
                        Case{L"256.0.0.1", false}, Case{L"1.2.3", false}, Case{L"1.2.3.4.5", false},
                        Case{L"1..3.4", false}, Case{L" 1.2.3.4", false}, Case{L"1.2.3.-4", false}})
    EXPECT_EQ(ParseIPv4(c.Text).has_value(), c.Valid) << c.Text;
  EXPECT_EQ(*ParseIPv4(L"10.0.0.138"), 0x8A00000Au) << "first octet in the lowest byte";
  EXPECT_EQ(DottedAddress(0x8A00000Au), L"10.0.0.138");
  EXPECT_EQ(AddressSortKey(L"10.0.0.138"), 10000000138);
  EXPECT_EQ(HostNamesOfTypedText(L" https://www.a.example/path/x  b.example "),
            L"www.a.example b.example")
      << "each word keeps its host, so a web address with a path does not hide the next name";
  EXPECT_EQ(HostNamesOfTypedText(L"http://c.example"), L"c.example");
}

// The replies of one cycle, as the engine hands them over.
EchoCycle Replies(const std::vector<std::pair<const wchar_t*, int>>& times) {
  EchoCycle cycle;
  for (const auto& [address, time] : times) {
    cycle.Replies.push_back(
        {*ParseIPv4(address), {.Answered = time >= 0, .RoundTripMs = time, .Ttl = 64, .Tos = 0}});
  }
  std::sort(cycle.Replies.begin(), cycle.Replies.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  return cycle;
}

// One cycle's statistics: replies (a 0 ms one included), a first and a repeated loss, a pause, a
// host the cycle did not send to (added after it started) and counters at their top.
TEST(PingCycle, TheStatisticsPassCountsEachKindOfHost) {
  PingList hosts = {Host(L"10.0.0.1", 9),        Host(L"10.0.0.2", 9, 1), Host(L"10.0.0.3", 9, -1),
                    Host(L"10.0.0.4", 20, 0, 0), Host(L"10.0.0.5", 9),    Host(L"10.0.0.6", 9)};
  hosts[2].Down = 77;
  hosts[5].Sent = hosts[5].Recv = std::numeric_limits<int32_t>::max();
  const CycleTally tally = TallyCycle(hosts,
                                      Replies({{L"10.0.0.1", 0},
                                               {L"10.0.0.2", -1},
                                               {L"10.0.0.3", -1},
                                               {L"10.0.0.4", 5},
                                               {L"10.0.0.6", 7}}),
                                      1000);
  EXPECT_EQ(tally.Up, 2);
  EXPECT_EQ(tally.Down, 2);
  EXPECT_EQ(hosts[0].Recv, 1);
  EXPECT_EQ(hosts[0].Best, 0) << "a 0 ms reply is a reply";
  EXPECT_EQ(hosts[0].PTTL, 64);
  EXPECT_EQ(hosts[1].Down, 1000) << "the first loss after a reply marks the outage";
  EXPECT_EQ(hosts[2].Down, 77) << "a loss in a row keeps it";
  EXPECT_EQ(hosts[3].Sent, 0);
  EXPECT_EQ(hosts[3].PV.back().T, kSamplePaused);
  EXPECT_EQ(hosts[1].PV.back().T, kSampleNoReply);
  EXPECT_TRUE(hosts[4].PV.empty()) << "a host the cycle did not send to waits for the next";
  EXPECT_EQ(hosts[4].Sent, 0);
  EXPECT_EQ(hosts[5].Sent, std::numeric_limits<int32_t>::max()) << "a counter stops at its top";
  EXPECT_EQ(hosts[5].Recv, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(BlinksAfterCycle(tally.Down, 2), 2);
  EXPECT_EQ(BlinksAfterCycle(tally.Down, 60), 3);
  EXPECT_EQ(BlinksAfterCycle(0, 60), 0);

  PSys full;
  for (int32_t second = 0; second < 1'001; ++second)
    AppendSample(full, {second, 5});
  EXPECT_EQ(full.PV.size(), kMaxSamples);
  EXPECT_EQ(full.PV.front().S, 1) << "the oldest sample makes way";
}

// The range the user reads in the log follows every cycle, whichever comes first: the best and
// the worst reply, with losses in between changing neither.
TEST(PingCycle, TheRangeSpansTheBestAndTheWorstReply) {
  LoadTranslations(kEnglish);
  struct Case {
    std::vector<int> Times;
    const wchar_t* Range;
  };
  for (const Case& c : {Case{{20, 50}, L"20-50"}, Case{{50, 20}, L"20-50"},
                        Case{{30, -1, 90, 10, 40}, L"10-90"}, Case{{7}, L"7-7"}}) {
    PingList hosts = {Host(L"10.0.0.1", 0)};
    int32_t second = 1000;
    for (const int time : c.Times)
      static_cast<void>(TallyCycle(hosts, Replies({{L"10.0.0.1", time}}), ++second));
    const std::wstring log = PingLogText(hosts[0], 1733700000, L"2.33");
    EXPECT_NE(log.find(std::wstring(L".  Range(ms): ") + c.Range + L"\r\n"), std::wstring::npos)
        << c.Range;
  }
}

TEST(PingCycle, TimeoutsOfTheIntervalChoices) {
  EXPECT_EQ(TimeoutAtStart(2), 2000);
  EXPECT_EQ(TimeoutAtStart(3), 2500);
  EXPECT_EQ(TimeoutAfterChoice(1), 1000);
  EXPECT_EQ(TimeoutAfterChoice(2), 2500);
  EXPECT_EQ(SlowThresholdOf(1), 100);
}

TEST(PingEdits, AddDeleteAndResetWithTheirMessages) {
  LoadTranslations(kEnglish);
  PingList hosts;
  const uint32_t address = *ParseIPv4(L"127.0.0.1");
  EXPECT_TRUE(AddHost(hosts, address, L" 127.0.0.1 ", false, L"1.5").Added);
  EXPECT_EQ(hosts[0].Host, L"") << "a description equal to the address is none";
  EXPECT_EQ(AddHost(hosts, address, L"x", false, L"1.6").Message, L"Duplicate IP found: 127.0.0.1");
  EXPECT_EQ(AddHost(hosts, address, L"loopback", true, L"1.7").Message,
            L"Updating description for: 127.0.0.1");
  EXPECT_EQ(hosts.size(), 1u);
  EXPECT_EQ(hosts[0].Host, L"loopback");
  hosts.resize(kMaxPingHosts);
  const AddedHost refused = AddHost(hosts, address + 1, L"", false, L"1.8");
  EXPECT_EQ(refused.Message, L"Maximum Pings Reached");
  EXPECT_TRUE(refused.DropPending);

  hosts = {Host(L"10.0.0.1", 5), Host(L"10.0.0.2", 5), Host(L"10.0.0.3", 5)};
  EXPECT_EQ(DeleteHosts(hosts, false), L"Select pings first OR Shift+click to Delete ALL");
  EXPECT_EQ(ResetHosts(hosts, false), L"Select pings first OR Shift+click to Reset ALL");
  hosts[1].HiLi = 1;
  hosts[1].PV = {{1, 30}, {2, -1}};
  hosts[1].Sent = 2;
  EXPECT_EQ(ResetHosts(hosts, false), L"1 selected ping reset");
  EXPECT_EQ(hosts[1].PV.size(), 2u) << "a reset of selected hosts keeps their samples, zeroed";
  EXPECT_EQ(hosts[1].PV[1].T, 0);
  EXPECT_EQ(hosts[1].Best, -1);
  hosts[0].HiLi = hosts[2].HiLi = 1;
  EXPECT_EQ(DeleteHosts(hosts, false), L"2 selected pings deleted");
  EXPECT_EQ(ResetHosts(hosts, true), L"1 pings reset");
  EXPECT_TRUE(hosts[0].PV.empty());
  EXPECT_EQ(DeleteHosts(hosts, true), L"1 pings deleted");
}

// The resolver takes the names one by one, each with its own name as the description, and
// queues each address whole; a name without an address, or one that is 0.0.0.0, is queued as -1.
TEST(HostResolver, EachNameIsHandedOverInTurn) {
  PingRequests requests;
  TextSlots texts;
  fakes::FakeNameLookup names;
  names.Addresses[L"a.example"] = *ParseIPv4(L"10.1.1.1");
  names.Addresses[L"zero.example"] = 0;
  texts.Set(slot::PendingHostNames, L" a.example nowhere.example 10.2.2.2 0.0.0.0 zero.example ");
  ResolvePendingHostNames(requests, texts, names, [](int) { return false; });
  std::vector<AddRequest> handed;
  while (std::optional<AddRequest> add = requests.TakeAdd())
    handed.push_back(*add);
  const std::vector<AddRequest> expected = {
      {static_cast<int32_t>(*ParseIPv4(L"10.1.1.1")), L"a.example", false},
      {-1, L"nowhere.example", false},
      {static_cast<int32_t>(*ParseIPv4(L"10.2.2.2")), L"10.2.2.2", false},
      {-1, L"0.0.0.0", false},
      {-1, L"zero.example", false}};
  EXPECT_EQ(handed, expected);
  EXPECT_EQ(texts.Get(slot::PendingHostNames), L"");
  EXPECT_EQ(WellKnownSiteNames().substr(0, 35), L"www.brimhold.com www.google.com www");
  EXPECT_TRUE(WellKnownSiteNames().ends_with(L"www.hp.com www.wikipedia.org"));
}

// The coordinator on a fake clock, with echoes that complete at the next pass: no cycle before
// 10 s, then one that sends to every active host at once and is tallied when its replies are in.
class PingCoordinatorTest : public ::testing::Test {
 protected:
  PingCoordinatorTest() {
    LoadTranslations(kEnglish);
    settings.Set(opt::PingIntervalChoice, 1);  // 2 s
    loaded = {Host(L"10.0.0.1", 0), Host(L"10.0.0.2", 0), Host(L"10.0.0.3", 0)};
    echoes.Answer(*ParseIPv4(L"10.0.0.1"), {.Answered = true, .RoundTripMs = 12, .Ttl = 64});
  }

  PingCoordinator Make() { return Make(echoes); }

  PingCoordinator Make(platform::IcmpEchoes& sent) {
    return PingCoordinator(
        stop,
        PingSources{.Echoes = sent,
                    .Clock = clock,
                    .Env = environment,
                    .Requests = requests,
                    .LoadList =
                        [this] {
                          ++loads;
                          return PingLoadResult{.Outcome = PingLoadOutcome::Loaded,
                                                .Hosts = loaded,
                                                .Reason = {},
                                                .Standing = PingFileStanding::Read};
                        }},
        PingTargets{
            .Options = settings,
            .Texts = texts,
            .List = list,
            .DrawHeader = [this](const PingList&,
                                 const std::wstring& message) { headers.push_back(message); },
            .DrawList = [](PingList&) { return std::optional<PingPaintResult>(); },
            .PanelInView = [] { return false; },
            .ShowCountdown = [this](const std::wstring& text) { countdown = text; },
            .ShowTitleMessage = [](const std::wstring&) {},
            .ShowIndicator = [this](const std::wstring& text, bool) { indicator = text; },
            .SaveList =
                [this](const PingListState& state) {
                  saved.push_back(state.Hosts.size());
                  return state.Standing;
                },
            .SaveEvents = [] {},
            .CopyPanel = [](const PingList&) {},
            .CopyHostLog =
                [this](const PSys& host) {
                  logsCopied.push_back(host.Addr);
                  return std::wstring(L"log copied");
                }});
  }

  // Passes at the same second: one to start what is due, one to take what came back.
  void Passes(PingCoordinator& coordinator, int count = 2) {
    for (int pass = 0; pass < count; ++pass)
      static_cast<void>(coordinator.Pass(0));
  }

  Settings settings;
  StopSignal stop{settings};
  TextSlots texts;
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeIcmpEchoes echoes;
  std::shared_ptr<PingRequests> requests = std::make_shared<PingRequests>();
  std::shared_ptr<SharedPingList> list = std::make_shared<SharedPingList>();
  PingList loaded;
  int loads = 0;
  std::wstring countdown;
  std::wstring indicator;
  std::vector<std::wstring> headers;
  std::vector<std::wstring> logsCopied;
  std::vector<size_t> saved;
};

TEST_F(PingCoordinatorTest, TheFirstCycleComesTenSecondsAfterStartAndSendsToEveryHostAtOnce) {
  PingCoordinator coordinator = Make();
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(settings.Get(opt::PingTimeout), 2000) << "a 2 s interval times out after 2 s at start";
  EXPECT_EQ(list->Lock()->Hosts[0].PV.back().T, kSampleResumed);
  clock.Now += PingCoordinator::kFirstCycleDelaySeconds - 1;
  Passes(coordinator);
  EXPECT_EQ(echoes.Sends(), 0);
  EXPECT_EQ(countdown, L"1");
  clock.Now += 1;
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(echoes.Sends(), 3);
  EXPECT_EQ(echoes.LastTimeoutMs(), 2000);
  static_cast<void>(coordinator.Pass(0));
  {
    auto state = list->Lock();
    EXPECT_EQ(state->Hosts[0].Time, 12);
    EXPECT_EQ(state->Hosts[0].PTTL, 64);
    EXPECT_EQ(state->Hosts[1].Time, -1);
    EXPECT_EQ(state->Hosts[1].Lost, 1);
    state->Hosts[2].Actv = 0;
  }
  EXPECT_EQ(indicator.find(L"1\u25B2 2\u25BC"), 1u);
  for (int cycle = 0; cycle < 2; ++cycle) {
    clock.Now += 2;
    Passes(coordinator);
  }
  const PSys paused = list->Lock()->Hosts[2];
  EXPECT_EQ(paused.Sent, 1) << "a paused host is not sent to";
  EXPECT_EQ(paused.PV[paused.PV.size() - 1].T, kSamplePaused);
  EXPECT_EQ(paused.PV[paused.PV.size() - 2].T, kSamplePaused);
  EXPECT_EQ(echoes.Sends(), 3 + 2 + 2);
  EXPECT_EQ(echoes.WrongThreadCalls(), 0);
}

// A cycle starts on its second whatever the one before still waits for: down hosts, their
// blinking and the names still being looked up hold nothing back.
TEST_F(PingCoordinatorTest, ACycleStartsOnItsSecondWhileTheOneBeforeIsStillOut) {
  fakes::FakeIcmpEchoes slow(true);  // real time: the silent hosts wait out their time-out
  slow.Answer(*ParseIPv4(L"10.0.0.1"), {.Answered = true, .RoundTripMs = 12});
  PingCoordinator coordinator = Make(slow);
  static_cast<void>(coordinator.Pass(0));
  settings.Set(opt::PingTimeout, 60'000);
  texts.Set(slot::PendingHostNames, L"still.looking.up");
  for (int second = 0; second < 3; ++second) {
    clock.Now += second == 0 ? PingCoordinator::kFirstCycleDelaySeconds : 2;
    Passes(coordinator);
  }
  EXPECT_EQ(slow.Sends(), 9) << "three cycles out at once";
  EXPECT_TRUE(list->Lock()->Hosts[0].PV.back().T == kSampleResumed) << "none back yet";
}

TEST_F(PingCoordinatorTest, RequestsChangeTheListAndAnHourSavesIt) {
  PingCoordinator coordinator = Make();
  static_cast<void>(coordinator.Pass(0));
  requests->QueueAdd({static_cast<int32_t>(*ParseIPv4(L"10.0.0.4")), L"gateway", true});
  requests->QueueAdd({static_cast<int32_t>(*ParseIPv4(L"10.0.0.1")), L"router", true});
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(list->Lock()->Hosts.back().Host, L"gateway");
  EXPECT_EQ(list->Lock()->Hosts.front().Host, L"router") << "from the address entry";
  EXPECT_EQ(settings.Get(opt::PingHostCount), 4);
  EXPECT_EQ(requests->AddsWaiting(), 0u);

  requests->Ask(RowAsk::Select, {.Row = 2});
  static_cast<void>(coordinator.Pass(0));
  settings.Request(opt::PingDeleteRequest, 1);
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(texts.Get(slot::PingStatusMessage), L"1 selected ping deleted");
  EXPECT_EQ(headers.back(), L"1 selected ping deleted");
  EXPECT_EQ(settings.Get(opt::PingHostCount), 3);

  EXPECT_TRUE(saved.empty());
  clock.Now += 3'600 - clock.Now % 3'600;
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(saved, std::vector<size_t>{3});
}

// Each click is served with the x it was made at: a right click in the timeline copies the log
// and a right click on the text pauses, whatever came before.
TEST_F(PingCoordinatorTest, EachRowRequestIsServedWithItsOwnPlace) {
  PingCoordinator coordinator = Make();
  static_cast<void>(coordinator.Pass(0));
  EXPECT_TRUE(requests->Ask(RowAsk::Action, {.Row = 1, .MouseX = 500}));
  EXPECT_FALSE(requests->Ask(RowAsk::Action, {.Row = 2})) << "one at a time";
  EXPECT_TRUE(requests->Ask(RowAsk::Select, {.Row = 3, .MouseX = 400}));
  static_cast<void>(coordinator.Pass(0));
  EXPECT_TRUE(requests->Ask(RowAsk::Action, {.Row = 2}));
  static_cast<void>(coordinator.Pass(0));
  const PingList hosts = list->Lock()->Hosts;
  EXPECT_EQ(logsCopied, std::vector<std::wstring>{L"10.0.0.1"});
  EXPECT_EQ(hosts[0].Actv, 1);
  EXPECT_EQ(hosts[1].Actv, 0);
  EXPECT_EQ(hosts[2].HiLi, 0) << "a left click in the timeline selects nothing";
  EXPECT_EQ(headers.at(headers.size() - 2), L"log copied");
}

// A message is drawn as it is set, on an empty list too, and goes after five seconds; an address
// of 0 is refused like a name without one, and pinging goes on.
TEST_F(PingCoordinatorTest, AMessageShowsWhenSetAndGoesFiveSecondsLater) {
  loaded.clear();
  PingCoordinator coordinator = Make();
  static_cast<void>(coordinator.Pass(0));
  for (const int32_t refused : {-1, 0}) {
    SCOPED_TRACE(refused);
    headers.clear();
    requests->QueueAdd({refused, L"0.0.0.00", true});
    static_cast<void>(coordinator.Pass(0));
    EXPECT_EQ(headers, std::vector<std::wstring>{L"Invalid Host Name or IP Address"});
    clock.Now += 5;  // the message stays five seconds
    static_cast<void>(coordinator.Pass(0));
    EXPECT_EQ(texts.Get(slot::PingStatusMessage), L"Invalid Host Name or IP Address");
    clock.Now += 1;
    static_cast<void>(coordinator.Pass(0));
    EXPECT_EQ(headers.back(), L"");
    EXPECT_EQ(texts.Get(slot::PingStatusMessage), L"");
  }
  EXPECT_TRUE(list->Lock()->Hosts.empty());
}

// The files may go with an empty list only when the user emptied a list they gave: a stop that
// comes before the list is read (a quit within the first second) leaves it unread.
TEST_F(PingCoordinatorTest, OnlyAListReadFromTheFilesCanBeEmptiedIntoThem) {
  {
    stop.Raise();
    PingCoordinator early = Make();
    static_cast<void>(early.Pass(0));
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(list->Lock()->Standing, PingFileStanding::Unread);
  }
  settings.Set(opt::StopFlag, 0);
  PingCoordinator coordinator = Make();
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(list->Lock()->Standing, PingFileStanding::Read);
  settings.Request(opt::PingDeleteRequest, -1);
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(list->Lock()->Standing, PingFileStanding::Emptied);
  requests->QueueAdd({static_cast<int32_t>(*ParseIPv4(L"10.0.0.9")), L"", false});
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(list->Lock()->Standing, PingFileStanding::Read);
}

}  // namespace
}  // namespace tarvik
