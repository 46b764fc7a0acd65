#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/monitor_threads.h"
#include "core/settings.h"
#include "core/settings_index.h"
#include "core/stop_signal.h"
#include "core/text_slots.h"
#include "fakes/fake_ping.h"
#include "fakes/fake_system.h"
#include "fakes/real_clock.h"
#include "monitors/ping/echo_engine.h"
#include "monitors/ping/ping_address.h"
#include "monitors/ping/ping_coordinator.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kHosts = 1024;

// 127.0.x.y for host n, counted from 127.0.0.1: the even ones answer after up to 19 ms, the odd
// ones are silent.
uint32_t HostAddress(int n) {
  return *ParseIPv4(L"127.0." + std::to_wstring((n + 1) / 256) + L"." +
                    std::to_wstring((n + 1) % 256));
}

std::vector<uint32_t> HalfSilentHosts(fakes::FakeIcmpEchoes& echoes, int count) {
  std::vector<uint32_t> addresses;
  for (int n = 0; n < count; ++n) {
    addresses.push_back(HostAddress(n));
    if (n % 2 == 0)
      echoes.Answer(addresses.back(), {.Answered = true, .RoundTripMs = n % 20, .Ttl = 64}, n % 20);
  }
  return addresses;
}

// Waits (really) until `count` cycles have finished or `limitMs` passed; each finished cycle with
// the milliseconds it took from `start`.
std::vector<std::pair<EchoCycle, int64_t>> Finish(EchoEngine& engine, const platform::Clock& clock,
                                                  size_t count, int64_t start, int limitMs) {
  std::vector<std::pair<EchoCycle, int64_t>> finished;
  while (finished.size() < count && clock.TickMs() - start < limitMs) {
    engine.Wait(50);
    while (std::optional<EchoCycle> cycle = engine.TakeFinished())
      finished.emplace_back(std::move(*cycle), clock.TickMs() - start);
  }
  return finished;
}

// Every echo of a cycle is out at once, so a cycle lasts about one time-out however many hosts
// are silent (one after the other, 512 silent hosts would take 512 time-outs); two cycles out
// together finish in order, each with every host's own reply, all taken on the sending thread.
TEST(EchoEngine, ACycleLastsOneTimeOutHoweverManyHostsAreSilent) {
  const fakes::RealClock clock;
  fakes::FakeIcmpEchoes echoes(true);
  const std::vector<uint32_t> addresses = HalfSilentHosts(echoes, kHosts);
  EchoEngine engine(echoes, clock);
  const int64_t start = clock.TickMs();
  ASSERT_TRUE(engine.Start(addresses, 300, 41));
  clock.SleepMs(100);
  ASSERT_TRUE(engine.Start(addresses, 300, 42));
  const auto finished = Finish(engine, clock, 2, start, 20'000);
  ASSERT_EQ(finished.size(), 2u);
  EXPECT_EQ(finished[0].first.Second, 41) << "each cycle keeps the second it began in";
  EXPECT_EQ(finished[1].first.Second, 42);
  EXPECT_LT(finished[0].second, 10 * 300) << "one time-out, not one per silent host";
  for (const auto& [cycle, took] : finished) {
    ASSERT_EQ(cycle.Replies.size(), static_cast<size_t>(kHosts));
    for (int n = 0; n < kHosts; ++n) {
      const platform::EchoReply* reply = cycle.ReplyFor(HostAddress(n));
      ASSERT_NE(reply, nullptr);
      EXPECT_EQ(reply->Answered, n % 2 == 0) << n;
      EXPECT_EQ(reply->RoundTripMs, n % 2 == 0 ? n % 20 : 0) << n;
    }
  }
  EXPECT_EQ(echoes.WrongThreadCalls(), 0);
  EXPECT_EQ(echoes.InFlight(), 0u);
}

// An echo the system refuses, and one whose completion does not come a second after its
// time-out, count as lost; a completion that comes after its cycle was given up is dropped, and
// no more than four cycles are out at once.
TEST(EchoEngine, RefusedAndOverdueEchoesCountAsLost) {
  const fakes::RealClock clock;
  fakes::FakeIcmpEchoes echoes(true);
  const uint32_t late = HostAddress(0);
  const uint32_t quick = HostAddress(1);
  const uint32_t refused = HostAddress(2);
  echoes.Answer(late, {.Answered = true, .RoundTripMs = 5}, 1'400);
  echoes.Answer(quick, {.Answered = true, .RoundTripMs = 3}, 0);
  EchoEngine engine(echoes, clock);
  echoes.RefuseBeyond(2);
  const int64_t start = clock.TickMs();
  ASSERT_TRUE(engine.Start({late, quick, refused}, 100, 0));
  auto finished = Finish(engine, clock, 1, start, 5'000);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_GE(finished[0].second, 100 + EchoEngine::kLateCompletionMs);
  const EchoCycle& first = finished[0].first;
  EXPECT_FALSE(first.ReplyFor(late)->Answered) << "overdue";
  EXPECT_TRUE(first.ReplyFor(quick)->Answered);
  EXPECT_FALSE(first.ReplyFor(refused)->Answered) << "refused";

  echoes.RefuseBeyond(100);
  ASSERT_TRUE(engine.Start({quick}, 100, 0));
  clock.SleepMs(400);  // the late reply of the first cycle comes meanwhile
  finished = Finish(engine, clock, 1, clock.TickMs(), 5'000);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(finished[0].first.Replies.size(), 1u);
  EXPECT_TRUE(finished[0].first.ReplyFor(quick)->Answered);

  for (size_t cycle = 0; cycle < EchoEngine::kMostCyclesInFlight; ++cycle)
    EXPECT_TRUE(engine.Start({refused}, 100, 0));
  EXPECT_FALSE(engine.Start({refused}, 100, 0));
  EXPECT_EQ(echoes.WrongThreadCalls(), 0);
}

// An engine over 300 hosts, half of them silent, where each send takes a millisecond.
struct SlowSendingEngine {
  SlowSendingEngine() : addresses(HalfSilentHosts(echoes, 300)) { echoes.SlowSends(1); }
  const fakes::RealClock clock;
  fakes::FakeIcmpEchoes echoes{true};
  const std::vector<uint32_t> addresses;
  EchoEngine engine{echoes, clock};
};

// Where each send takes a while, a long cycle goes out a slice at a time, so that the coordinator
// can serve the window between the slices; every echo still goes out and comes back.
TEST(EchoEngine, ALongListGoesOutInSlices) {
  SlowSendingEngine slow;
  auto& [clock, echoes, addresses, engine] = slow;
  const int64_t start = clock.TickMs();
  ASSERT_TRUE(engine.Start(addresses, 100, 0));
  EXPECT_GE(echoes.Sends(), 1);
  EXPECT_LT(echoes.Sends(), 300) << "the first slice only";
  const auto finished = Finish(engine, clock, 1, start, 20'000);
  ASSERT_EQ(finished.size(), 1u);
  EXPECT_EQ(echoes.Sends(), 300);
  for (int n = 0; n < 300; ++n)
    EXPECT_EQ(finished[0].first.ReplyFor(HostAddress(n))->Answered, n % 2 == 0) << n;
}

// Landing gives up the cycles, sends none of the echoes a slice still held back, and waits for
// the ones out until they are back or its wait is over, whichever comes first.
TEST(EchoEngine, LandingWaitsForTheEchoesOutAndSendsNoMore) {
  SlowSendingEngine slow;
  auto& [clock, echoes, addresses, engine] = slow;
  ASSERT_TRUE(engine.Start(addresses, 400, 0));
  const int sent = echoes.Sends();
  ASSERT_LT(sent, 300);
  int64_t start = clock.TickMs();
  engine.Land(100);
  EXPECT_GE(clock.TickMs() - start, 100) << "the silent ones are still out";
  EXPECT_LT(clock.TickMs() - start, 400);
  EXPECT_GT(echoes.InFlight(), 0u);
  EXPECT_EQ(engine.CyclesInFlight(), 0u);
  start = clock.TickMs();
  engine.Land(5'000);
  EXPECT_EQ(echoes.InFlight(), 0u);
  EXPECT_LT(clock.TickMs() - start, 1'000) << "back within their time-out, not the whole wait";
  EXPECT_EQ(echoes.Sends(), sent) << "nothing sent after landing";
  EXPECT_FALSE(engine.TakeFinished().has_value());
}

// The coordinator on its own thread, on real time, with half of its hosts silent: a cycle every
// second, each host with a sample of its kind in each; a host added while echoes are out is in
// the list within a second; a stop while echoes are out lets them come back, then ends the thread.
TEST(PingCoordinatorThread, CyclesKeepTheirSecondWhileTheWindowIsServed) {
  LoadTranslations(kEnglish);
  Settings settings;
  settings.Set(opt::PingIntervalChoice, 0);  // 1 s
  StopSignal stop(settings);
  TextSlots texts;
  const fakes::RealClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeIcmpEchoes echoes(true);
  constexpr int kListed = 40;
  HalfSilentHosts(echoes, kListed);
  PingList loaded;
  for (int n = 0; n < kListed; ++n) {
    PSys host;
    host.Valu = static_cast<int32_t>(HostAddress(n));
    host.Addr = DottedAddress(HostAddress(n));
    loaded.push_back(host);
  }
  auto requests = std::make_shared<PingRequests>();
  auto list = std::make_shared<SharedPingList>();
  MonitorThreads threads(stop, environment);
  threads.StartMonitor(std::make_unique<PingCoordinator>(
      stop,
      PingSources{
          .Echoes = echoes,
          .Clock = clock,
          .Env = environment,
          .Requests = requests,
          .LoadList =
              [&loaded] {
                return PingLoadResult{PingLoadOutcome::Loaded, loaded, {}, PingFileStanding::Read};
              }},
      PingTargets{.Options = settings,
                  .Texts = texts,
                  .List = list,
                  .DrawHeader = [](const PingList&, const std::wstring&) {},
                  .DrawList = [](PingList&) { return std::optional<PingPaintResult>(); },
                  .PanelInView = [] { return true; },
                  .ShowCountdown = [](const std::wstring&) {},
                  .ShowTitleMessage = [](const std::wstring&) {},
                  .ShowIndicator = [](const std::wstring&, bool) {},
                  .SaveList = [](const PingListState& state) { return state.Standing; },
                  .SaveEvents = [] {},
                  .CopyPanel = [](const PingList&) {},
                  .CopyHostLog = [](const PSys&) { return std::wstring(); }}));
  const auto waitFor = [&clock](int limitMs, const std::function<bool()>& done) {
    const int64_t start = clock.TickMs();
    while (!done() && clock.TickMs() - start < limitMs)
      clock.SleepMs(5);
    return clock.TickMs() - start;
  };
  waitFor(5'000, [&] { return settings.Get(opt::PingHostCount) == kListed; });
  ASSERT_EQ(settings.Get(opt::PingHostCount), kListed);
  settings.Set(opt::NextPingTime, static_cast<int32_t>(clock.NowLocal()));  // "ping now"

  clock.SleepMs(1'300);
  ASSERT_TRUE(requests->QueueAdd({static_cast<int32_t>(HostAddress(500)), L"added", false}));
  EXPECT_LT(waitFor(2'000, [&] { return settings.Get(opt::PingHostCount) == kListed + 1; }), 1'000);
  waitFor(5'000, [&] { return list->Lock()->Hosts[1].PV.size() >= 4; });  // 3 cycles in
  const int64_t stopping = clock.TickMs();
  EXPECT_EQ(threads.StopAll([&clock](int milliseconds) { clock.SleepMs(milliseconds); }), 0);
  EXPECT_LT(clock.TickMs() - stopping, 1'900) << "within the shut-down's wait";
  EXPECT_EQ(echoes.InFlight(), 0u) << "no echo left out to be cancelled as the thread ends";

  const PingList hosts = list->Lock()->Hosts;
  ASSERT_EQ(hosts.size(), static_cast<size_t>(kListed + 1));
  const size_t cycles = hosts[1].PV.size() - 1;  // after the "resumed" sample
  EXPECT_GE(cycles, 3u);
  for (int n = 0; n < kListed; ++n) {
    const PSys& host = hosts[static_cast<size_t>(n)];
    EXPECT_EQ(host.PV.size(), cycles + 1) << host.Addr << ": a sample in every cycle";
    for (size_t sample = 1; sample < host.PV.size(); ++sample) {
      EXPECT_EQ(host.PV[sample].T >= 0, n % 2 == 0) << host.Addr;
      // "Ping now" may run the first cycle in the second the list was loaded and marked resumed.
      if (sample > 1)
        EXPECT_GT(host.PV[sample].S, host.PV[sample - 1].S) << host.Addr << ": one per second";
      else
        EXPECT_GE(host.PV[sample].S, host.PV[sample - 1].S) << host.Addr;
    }
  }
  EXPECT_EQ(echoes.WrongThreadCalls(), 0);
}

}  // namespace
}  // namespace tarvik
