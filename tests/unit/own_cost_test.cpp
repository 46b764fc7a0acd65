#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "core/pass_ledger.h"
#include "core/settings.h"
#include "core/stop_signal.h"
#include "fakes/fake_own_process.h"
#include "fakes/fake_system.h"
#include "monitors/cost/cost_monitor.h"
#include "monitors/cost/cost_texts.h"
#include "monitors/cost/recent_cpu.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr uint64_t kCpuUnitsPerSecond = 10'000'000;  // 100 ns units

struct CostLinesCase {
  const char* Name;
  int Language;
  OwnCost Cost;
  std::vector<std::wstring> Expected;
};

TEST(OwnCostTexts, ShowSharesUnitsCountsAndPassesFromFixedFigures) {
  const platform::OwnProcessFigures figures{.PrivateBytes = 25'165'824,
                                            .WorkingSetBytes = 1'048'575,
                                            .Threads = 14,
                                            .Handles = 312,
                                            .GdiObjects = 57};
  const std::vector<MonitorPassTotals> passes{{L"system sampler", 480, 12'345, 0},
                                              {L"ping coordinator", 60, 400, 0}};
  const std::vector<CostLinesCase> cases{
      {"one core busy of four, since start an eighth of one",
       kEnglish,
       {{10 * kCpuUnitsPerSecond, 10'000}, {kCpuUnitsPerSecond, 8'000}, 4, figures, passes},
       {L"Tarvik's own cost", L"CPU, last 10 s:   100.0% of one core, 25.00% of the machine",
        L"CPU, since start:  12.5% of one core,  3.13% of the machine",
        L"Private memory: 24.0 MB, Working set: 1.0 MB",
        L"Threads: 14, Handles: 312, GDI objects: 57", L"Passes in the last minute:",
        L"  System   480  (12.3 ms)", L"  Ping      60  (0.4 ms)"}},
      {"first reading: no time has passed, figures refused, no passes yet",
       kEnglish,
       {{0, 0}, {5 * kCpuUnitsPerSecond, 0}, 8, std::nullopt, {}},
       {L"Tarvik's own cost", L"CPU, last 10 s:     0.0% of one core,  0.00% of the machine",
        L"CPU, since start:   0.0% of one core,  0.00% of the machine",
        L"Private memory: -, Working set: -", L"Threads: -, Handles: -, GDI objects: -",
        L"Passes in the last minute:"}},
      {"German, a monitor without a tab keeps its own name",
       kGerman,
       {{kCpuUnitsPerSecond / 100, 10'000}, {0, 60'000}, 2, figures, {{L"helper", 3, 999, 0}}},
       {L"Tarviks eigener Verbrauch", L"CPU, letzte 10 s:   0.1% eines Kerns,  0.05% des Rechners",
        L"CPU, seit Start:    0.0% eines Kerns,  0.00% des Rechners",
        L"Privater Speicher: 24.0 MB, Arbeitssatz: 1.0 MB",
        L"Threads: 14, Handles: 312, GDI-Objekte: 57", L"Durchläufe in der letzten Minute:",
        L"  helper     3  (1.0 ms)"}},
  };
  for (const CostLinesCase& test : cases) {
    LoadTranslations(test.Language);
    EXPECT_EQ(OwnCostLines(test.Cost), test.Expected) << test.Name;
  }
  LoadTranslations(kEnglish);
}

struct RecentCase {
  const char* Name;
  std::vector<std::pair<int64_t, uint64_t>> Readings;  // tick ms, running processor total
  CpuSpan Expected;
};

TEST(OwnCostTexts, RecentUseReachesBackTenSecondsFromTheNewestReading) {
  const std::vector<RecentCase> cases{
      {"no reading yet", {}, {0, 0}},
      {"younger than 10 s: since the first reading",
       {{1'000, 5}, {2'000, 25}, {4'000, 65}},
       {60, 3'000}},
      {"readings every second for 15 s: exactly the last 10 s",
       {{0, 0},
        {1'000, 1},
        {2'000, 2},
        {3'000, 3},
        {4'000, 4},
        {5'000, 50},
        {6'000, 60},
        {7'000, 70},
        {8'000, 80},
        {9'000, 90},
        {10'000, 100},
        {11'000, 110},
        {12'000, 120},
        {13'000, 130},
        {14'000, 140},
        {15'000, 150}},
       {100, 10'000}},
      {"a gap: the newest reading at least 10 s old",
       {{0, 0}, {3'000, 30}, {20'000, 200}},
       {170, 17'000}},
      {"a total that went back counts as nothing", {{0, 500}, {1'000, 400}}, {0, 1'000}},
  };
  for (const RecentCase& test : cases) {
    RecentCpu recent;
    for (const auto& [tick, total] : test.Readings)
      recent.Add(tick, total);
    EXPECT_EQ(recent.Span().CpuTime, test.Expected.CpuTime) << test.Name;
    EXPECT_EQ(recent.Span().WallMs, test.Expected.WallMs) << test.Name;
  }
}

TEST(OwnCostTexts, PassesAreCountedOverTheLastMinuteAndTimeOverFive) {
  PassLedger ledger;
  ledger.Record(L"storage monitor", 0, 700);          // 400 s before: forgotten
  ledger.Record(L"network monitor", 100'500, 2'000);  // 300 s before: just forgotten
  ledger.Record(L"network monitor", 101'000, 3'000);  // 299 s before: in the five minutes
  ledger.Record(L"network monitor", 340'999, 10);     // 60 s before: out of the minute
  ledger.Record(L"network monitor", 341'000, 20);     // 59 s before: in the minute
  ledger.Record(L"network monitor", 400'999, 40);     // now
  ledger.Record(L"storage monitor", 400'000, -5);     // a clock that went back counts nothing
  const std::vector<MonitorPassTotals> totals = ledger.Totals(400'999);
  ASSERT_EQ(totals.size(), 2u);
  EXPECT_EQ(totals[0].Monitor, L"storage monitor");
  EXPECT_EQ(totals[0].PassesLastMinute, 1);
  EXPECT_EQ(totals[0].BusyUsLastFiveMinutes, 0);
  EXPECT_EQ(totals[1].Monitor, L"network monitor");
  EXPECT_EQ(totals[1].PassesLastMinute, 2);
  EXPECT_EQ(totals[1].BusyUsLastMinute, 60);
  EXPECT_EQ(totals[1].BusyUsLastFiveMinutes, 3'070);
}

// The cost monitor over a fake process on a machine of four processors, where 1 % of the
// machine is 400,000 units of processor time a second.
class CostMonitorTest : public ::testing::Test {
 protected:
  static constexpr uint64_t kOnePercentPerSecond = 400'000;

  CostMonitorTest() {
    environment.Processors = 4;
    LoadTranslations(kEnglish);
  }

  CostMonitor Monitor() {
    return CostMonitor(stop,
                       {.Process = process, .Passes = ledger, .Clock = clock, .Env = environment},
                       {.Options = settings,
                        .Lines = lines,
                        .InView = inView,
                        .Show = [this] { ++shown; },
                        .RecordSystemEvent =
                            [this](const std::wstring& text) {
                              events.push_back({clock.Tick / 1'000, text});
                            },
                        .CopyAboutTab = [this] { ++copies; }});
  }

  // One pass a second, each second using `perSecond` units, while the network monitor's passes
  // take twice the storage monitor's time.
  void RunSeconds(CostMonitor& monitor, int seconds, uint64_t perSecond) {
    for (int second = 0; second < seconds; ++second) {
      ledger.Record(L"storage monitor", clock.Tick, 1'000);
      ledger.Record(L"network monitor", clock.Tick, 2'000);
      total += perSecond;
      process.Set(platform::OwnProcessorTime{total, clock.Tick}, std::nullopt);
      static_cast<void>(monitor.Pass(clock.Tick));
      clock.Tick += 1'000;
    }
  }

  fakes::FakeOwnProcess process;
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  Settings settings;
  StopSignal stop{settings};
  PassLedger ledger;
  Guarded<std::vector<std::wstring>> lines;
  std::atomic<bool> inView{false};
  int shown = 0;
  int copies = 0;
  uint64_t total = 0;
  std::vector<std::pair<int64_t, std::wstring>> events;
};

struct WatchCase {
  const char* Name;
  std::vector<std::pair<int, uint64_t>> Stretches;  // seconds, units used each second
  std::vector<int64_t> EventSeconds;                // the tick seconds the event came at
};

TEST_F(CostMonitorTest, OneSystemEventAfterFiveMinutesAboveOnePercent) {
  const uint64_t above = kOnePercentPerSecond + 4'000;  // 1.01 %
  const std::vector<WatchCase> cases{
      {"above for 5 minutes, then 10 more: one event", {{302, above}, {600, above}}, {302}},
      {"exactly 1 % is not above", {{700, kOnePercentPerSecond}}, {}},
      {"a dip below breaks the 5 minutes",
       {{200, above}, {12, kOnePercentPerSecond / 2}, {200, above}, {110, above}},
       {522}},
  };
  for (const WatchCase& test : cases) {
    events.clear();
    clock.Tick = 1'000;
    CostMonitor monitor = Monitor();
    for (const auto& [seconds, perSecond] : test.Stretches)
      RunSeconds(monitor, seconds, perSecond);
    std::vector<int64_t> eventSeconds;
    for (const auto& [second, text] : events) {
      eventSeconds.push_back(second);
      EXPECT_EQ(text,
                L"Tarvik used over 1% of the machine's processors for 5 minutes; most time in: "
                L"Networks")
          << test.Name;
    }
    EXPECT_EQ(eventSeconds, test.EventSeconds) << test.Name;
  }
}

TEST_F(CostMonitorTest, ReadsTheFiguresOnlyWhileTheTabShowsOrIsCopied) {
  CostMonitor monitor = Monitor();
  RunSeconds(monitor, 3, 0);
  EXPECT_EQ(process.FigureReads(), 0);
  EXPECT_EQ(shown, 0);

  inView = true;
  RunSeconds(monitor, 11, kCpuUnitsPerSecond);
  EXPECT_EQ(process.FigureReads(), 11);
  EXPECT_EQ(shown, 11);
  EXPECT_EQ(lines.Lock()->at(1), L"CPU, last 10 s:   100.0% of one core, 25.00% of the machine");

  inView = false;
  settings.Set(opt::CopyRequest, CostMonitor::kAboutTabCopy);
  RunSeconds(monitor, 1, 0);
  EXPECT_EQ(process.FigureReads(), 12);
  EXPECT_EQ(copies, 1);
}

}  // namespace
}  // namespace tarvik
