#include <gtest/gtest.h>

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

TEST(PingCycle, WorkersFollowTheBudgetUpToTheHostsAnd32) {
  struct Case {
    int BudgetMs;
    size_t Hosts;
    int Workers;
  };
  for (const Case& c : {Case{3'500, 3, 3}, Case{3'500, 100, 8}, Case{499, 5, 1}, Case{500, 5, 2},
                        Case{1'000'000, 1'024, 32}, Case{1'000'000, 31, 31}, Case{3'500, 0, 0}})
    EXPECT_EQ(PingWorkerCount(c.BudgetMs, c.Hosts), c.Workers) << c.BudgetMs << " " << c.Hosts;
}

// One cycle's statistics: replies (a 0 ms one included), a first and a repeated loss, a pause.
TEST(PingCycle, TheStatisticsPassCountsEachKindOfHost) {
  PingList hosts = {Host(L"10.0.0.1", 0), Host(L"10.0.0.2", -1, 1), Host(L"10.0.0.3", -1, -1),
                    Host(L"10.0.0.4", 20, 0, 0)};
  hosts[2].Down = 77;
  const CycleTally tally = TallyCycle(hosts, 1000);
  EXPECT_EQ(tally.Up, 1);
  EXPECT_EQ(tally.Down, 2);
  EXPECT_EQ(tally.BudgetMs, 1000 + 50 + 500 + 500);
  EXPECT_EQ(hosts[0].Recv, 1);
  EXPECT_EQ(hosts[0].Best, 0) << "a 0 ms reply is a reply";
  EXPECT_EQ(hosts[1].Down, 1000) << "the first loss after a reply marks the outage";
  EXPECT_EQ(hosts[2].Down, 77) << "a loss in a row keeps it";
  EXPECT_EQ(hosts[3].Sent, 0);
  EXPECT_EQ(hosts[3].PV.back().T, kSamplePaused);
  EXPECT_EQ(hosts[1].PV.back().T, kSampleNoReply);
  EXPECT_EQ(BlinksAfterCycle(tally.Down, 2), 2);
  EXPECT_EQ(BlinksAfterCycle(tally.Down, 60), 3);
  EXPECT_EQ(BlinksAfterCycle(0, 60), 0);

  PSys full;
  for (int32_t second = 0; second < 1'001; ++second)
    AppendSample(full, {second, 5});
  EXPECT_EQ(full.PV.size(), kMaxSamples);
  EXPECT_EQ(full.PV.front().S, 1) << "the oldest sample makes way";
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
// waits while the coordinator has not taken the last address.
TEST(HostResolver, EachNameIsHandedOverInTurn) {
  Settings settings;
  TextSlots texts;
  fakes::FakeNameLookup names;
  names.Addresses[L"a.example"] = *ParseIPv4(L"10.1.1.1");
  texts.Set(slot::PendingHostNames, L" a.example nowhere.example 10.2.2.2 ");
  std::vector<std::pair<int32_t, std::wstring>> handed;
  ResolvePendingHostNames(settings, texts, names, [&](int) {
    handed.emplace_back(settings.Take(opt::PingAddressRequest),
                        texts.Exchange(slot::PendingPingDescription, L""));
    return false;
  });
  handed.emplace_back(settings.Take(opt::PingAddressRequest),
                      texts.Get(slot::PendingPingDescription));
  handed.pop_back();  // nothing was left after the last name
  const std::vector<std::pair<int32_t, std::wstring>> expected = {
      {static_cast<int32_t>(*ParseIPv4(L"10.1.1.1")), L"a.example"},
      {-1, L"nowhere.example"},
      {static_cast<int32_t>(*ParseIPv4(L"10.2.2.2")), L"10.2.2.2"}};
  EXPECT_EQ(handed, expected);
  EXPECT_EQ(WellKnownSiteNames().substr(0, 35), L"www.brimhold.com www.google.com www");
  EXPECT_TRUE(WellKnownSiteNames().ends_with(L"www.hp.com www.wikipedia.org"));
}

// The coordinator on a fake clock: no cycle before 10 s, then one with n + 1 workers whose
// results reach the list, and a pause that only adds paused samples.
class PingCoordinatorTest : public ::testing::Test {
 protected:
  PingCoordinatorTest() {
    LoadTranslations(kEnglish);
    settings.Set(opt::PingIntervalChoice, 1);  // 2 s
    loaded = {Host(L"10.0.0.1", 0), Host(L"10.0.0.2", 0), Host(L"10.0.0.3", 0)};
    icmp.Answer(*ParseIPv4(L"10.0.0.1"), {.Answered = true, .RoundTripMs = 12, .Ttl = 64});
  }

  PingCoordinator Make() {
    return PingCoordinator(
        stop,
        PingSources{.Icmp = icmp,
                    .Clock = clock,
                    .Env = environment,
                    .StartWorker =
                        [this](std::function<void()> work) {
                          ++workersStarted;
                          work();
                          return true;
                        },
                    .LoadList =
                        [this] {
                          ++loads;
                          return PingLoadResult{.Outcome = PingLoadOutcome::Loaded,
                                                .Hosts = loaded,
                                                .Reason = {},
                                                .Standing = PingFileStanding::Read};
                        }},
        PingTargets{.Options = settings,
                    .Texts = texts,
                    .List = list,
                    .DrawHeader = [](const PingList&, const std::wstring&) {},
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
                    .CopyHostLog = [](const PSys&) { return std::wstring(); }});
  }

  Settings settings;
  StopSignal stop{settings};
  TextSlots texts;
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeIcmpEcho icmp;
  std::shared_ptr<SharedPingList> list = std::make_shared<SharedPingList>();
  PingList loaded;
  int workersStarted = 0;
  int loads = 0;
  std::wstring countdown;
  std::wstring indicator;
  std::vector<size_t> saved;
};

TEST_F(PingCoordinatorTest, TheFirstCycleComesTenSecondsAfterStartWithThreeWorkers) {
  PingCoordinator coordinator = Make();
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(settings.Get(opt::PingTimeout), 2000) << "a 2 s interval times out after 2 s at start";
  EXPECT_EQ(list->Lock()->Hosts[0].PV.back().T, kSampleResumed);
  clock.Now += PingCoordinator::kFirstCycleDelaySeconds - 1;
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(workersStarted, 0);
  EXPECT_EQ(countdown, L"1");
  clock.Now += 1;
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(workersStarted, 3);
  EXPECT_EQ(icmp.Calls, 3);
  EXPECT_EQ(icmp.LastTimeoutMs, 2000);
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
    clock.Now += 5;
    for (int pass = 0; pass < 8; ++pass)  // the down indicator blinks before the next cycle
      static_cast<void>(coordinator.Pass(0));
  }
  const PSys paused = list->Lock()->Hosts[2];
  EXPECT_EQ(paused.Sent, 1) << "a paused host is not sent to";
  EXPECT_EQ(paused.PV[paused.PV.size() - 1].T, kSamplePaused);
  EXPECT_EQ(paused.PV[paused.PV.size() - 2].T, kSamplePaused);
}

TEST_F(PingCoordinatorTest, RequestsChangeTheListAndAnHourSavesIt) {
  PingCoordinator coordinator = Make();
  static_cast<void>(coordinator.Pass(0));
  settings.Set(opt::PingShowsAddresses, 1);
  texts.Set(slot::PendingPingDescription, L"gateway");
  settings.Request(opt::PingAddressRequest, static_cast<int32_t>(*ParseIPv4(L"10.0.0.4")));
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(list->Lock()->Hosts.back().Host, L"gateway");
  EXPECT_EQ(settings.Get(opt::PingHostCount), 4);
  EXPECT_EQ(settings.Get(opt::PingAddressRequest), 0);
  EXPECT_EQ(texts.Get(slot::PendingPingDescription), L"");

  settings.Request(opt::PingSelectRequest, 2);
  static_cast<void>(coordinator.Pass(0));
  settings.Request(opt::PingDeleteRequest, 1);
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(texts.Get(slot::PingStatusMessage), L"1 selected ping deleted");
  EXPECT_EQ(settings.Get(opt::PingHostCount), 3);

  EXPECT_TRUE(saved.empty());
  clock.Now += 3'600 - clock.Now % 3'600;
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(saved, std::vector<size_t>{3});
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
  settings.Request(opt::PingAddressRequest, static_cast<int32_t>(*ParseIPv4(L"10.0.0.9")));
  static_cast<void>(coordinator.Pass(0));
  EXPECT_EQ(list->Lock()->Standing, PingFileStanding::Read);
}

}  // namespace
}  // namespace tarvik
