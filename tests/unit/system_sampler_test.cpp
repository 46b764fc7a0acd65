#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "fakes/fake_performance_counters.h"
#include "fakes/fake_system.h"
#include "monitors/system/desktop_events.h"
#include "monitors/system/system_sampler.h"
#include "settings/defaults.h"
#include "text/translation.h"
#include "ui/panel_copies.h"

namespace tarvik {
namespace {

constexpr uint64_t kMiB = 1024 * 1024;

class SystemSamplerTest : public ::testing::Test {
 protected:
  SystemSamplerTest() {
    LoadTranslations(kEnglish);
    ApplyDefaults(settings, 2, 0);
    memory.Answer = platform::MemoryStatus{16384 * kMiB, 9999 * kMiB, 20480 * kMiB, 512 * kMiB};
    settings.Set(opt::PdhLibraryPresent, 0);
    KeepReportedDesktop(settings, DesktopModeOf(*display.Facts));
  }

  // The sampler, made on first use so that a test can set up its sources before.
  SystemSampler& Sampler() {
    if (!sampler) {
      sampler = std::make_unique<SystemSampler>(
          stop,
          SamplerSources{memory, activity, processors, power, counters, display, clock, environment,
                         [this] { return processor; },
                         [this](int milliseconds) {
                           waits.push_back(milliseconds);
                           return false;
                         },
                         [this](std::function<void()> work) {
                           tasks.push_back(std::move(work));
                           return true;
                         },
                         [this] { return ownProcess; }},
          SamplerTargets{
              .Options = settings,
              .Meters = meters,
              .PhysicalHistory = physical,
              .PageFileHistory = pageFile,
              .BatteryUptimeIdle = batteryRow,
              .ProcessorHistory = processorHistory,
              .ProcessorInfo = processorInfo,
              .ProcessorValues = processorValues,
              .Readings = readings,
              .Titles = titles,
              .MeterChanged = [this](int meter, bool force) { redrawn.emplace_back(meter, force); },
              .AddGraphSample = [this](int graph,
                                       float value) { samples.emplace_back(graph, value); },
              .RescaleGraph = [this](int graph,
                                     int64_t bytes) { rescaled.emplace_back(graph, bytes); },
              .ShowStatusMessage =
                  [this](const std::wstring& message) { statusMessages.push_back(message); },
              .RecordSystemEvent = [this](const std::wstring& text) { events.push_back(text); },
              .RefreshSystemText = [this] { ++systemTextRefreshes; },
              .CopyPanel = [this](int panel) { copies.push_back(panel); }});
    }
    return *sampler;
  }
  // One pass at the given time of the millisecond clock and of the wall clock.
  void PassAt(int64_t tickMs, int64_t now) {
    clock.Now = now;
    static_cast<void>(Sampler().Pass(tickMs));
  }
  std::wstring Cell(int meter) { return (*meters.Lock())[static_cast<size_t>(meter)].Text; }
  std::vector<std::pair<int, float>> SamplesOf(std::initializer_list<int> graphs) {
    std::vector<std::pair<int, float>> found;
    for (const auto& sample : samples) {
      if (std::find(graphs.begin(), graphs.end(), sample.first) != graphs.end())
        found.push_back(sample);
    }
    return found;
  }

  Settings settings;
  StopSignal stop{settings};
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeMemory memory;
  fakes::FakeUserActivity activity;
  fakes::FakeProcessors processors;
  fakes::FakePowerSource power;
  fakes::FakePerformanceCounters counters;
  fakes::FakeDisplay display;
  ProcessorDescription processor{
      L"3000", L"GenuineIntel", L"Intel Core i5", L"BFEBFBFF000906EA", L"1024", L"9216", L"6"};
  MeterTable meters;
  WindowUpdateQueue updates;
  ListModel physical{133, updates};
  ListModel pageFile{134, updates};
  ListModel batteryRow{209, updates};
  ListModel processorHistory{135, updates};
  ListModel processorInfo{210, updates};
  ListModel processorValues{211, updates};
  std::vector<int> waits;
  std::vector<std::pair<int, bool>> redrawn;
  // The rebuild of the counter names, kept until a test lets it run.
  std::vector<std::function<void()>> tasks;
  std::vector<std::pair<int, float>> samples;
  std::vector<std::pair<int, int64_t>> rescaled;
  Guarded<SystemReadings> readings;
  TitleBoard titles;
  std::vector<std::wstring> statusMessages;
  std::vector<std::wstring> events;
  int systemTextRefreshes = 0;
  std::vector<int> copies;
  std::optional<OwnProcessReading> ownProcess;
  std::unique_ptr<SystemSampler> sampler;
};

TEST_F(SystemSamplerTest, MemoryFillsItsCellsItsHistoryAndItsTitleOncePerSecond) {
  PassAt(1'000, 100);
  EXPECT_EQ(Cell(kPhysMeter), L"9999M 61%");
  EXPECT_EQ(Cell(kPageMeter), L" 512M  2%");
  EXPECT_EQ(titles.Summary(1), L"9999M 61% Phys");
  EXPECT_EQ(titles.Summary(2), L" 512M  2% Page");
  const std::vector<std::wstring> rows = physical.Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_NE(rows[0].find(L"Hi\n9999M 61%\n"), std::wstring::npos) << rows[0];
  EXPECT_NE(rows[1].find(L"Lo\n9999M 61%\n"), std::wstring::npos) << rows[1];

  // Within the same second nothing is read again; the next second adds a history row only
  // when the available memory changed.
  memory.Answer->AvailablePhysical = 8000 * kMiB;
  PassAt(1'125, 100);
  EXPECT_EQ(Cell(kPhysMeter), L"9999M 61%");
  PassAt(1'250, 101);
  EXPECT_EQ(Cell(kPhysMeter), L"8000M 48%");
  EXPECT_EQ(physical.Rows().size(), 4u);
  EXPECT_NE(physical.Rows()[1].find(L"Lo\n8000M 48%\n"), std::wstring::npos);
  EXPECT_NE(physical.Rows()[0].find(L"Hi\n9999M 61%\n"), std::wstring::npos);
  PassAt(1'375, 102);
  EXPECT_EQ(physical.Rows().size(), 4u);
  EXPECT_EQ(titles.Summary(1), L"8000M 48% Phys");

  // With "Real-Time Memory Monitor" every pass reads.
  settings.Set(opt::RealTimeMemory, 1);
  memory.Answer->AvailablePhysical = 7000 * kMiB;
  PassAt(1'500, 102);
  EXPECT_EQ(Cell(kPhysMeter), L"7000M 42%");
}

TEST_F(SystemSamplerTest, TheMemoryGraphsTakeASampleEveryTwoAndAHalfSeconds) {
  for (int64_t tick = 1'000; tick < 6'000; tick += SystemSampler::kPassMs)
    PassAt(tick, 100 + tick / 1000);
  // At 1.0 s and 3.5 s (6.0 s is not reached): physical and page file each time.
  std::vector<std::pair<int, float>> memorySamples;
  for (const auto& sample : samples) {
    if (sample.first == 301 || sample.first == 302)
      memorySamples.push_back(sample);
  }
  const std::vector<std::pair<int, float>> expected = {
      {301, 61.0f}, {302, 2.0f}, {301, 61.0f}, {302, 2.0f}};
  EXPECT_EQ(memorySamples, expected);
}

TEST_F(SystemSamplerTest, WithoutCountersLoadsComeFromTheTimesAndCountsFromTheProcessList) {
  processors.PowerAnswer =
      std::vector<platform::ProcessorPower>{{3000, 2400, 3000, 2, 1}, {3000, 2400, 3000, 2, 1}};
  processors.Throttle = 3;
  processors.Answer = std::vector<platform::ProcessorTime>{{1000, 1500, 500}, {2000, 2500, 0}};
  processors.CountsAnswer = platform::ProcessCounts{120, 1500, 40000};
  PassAt(1'000, 100);  // one set of times: no load yet
  EXPECT_EQ(Cell(kCpuMeter), L" 2x2400MHz C1P3");
  EXPECT_EQ(processorInfo.Rows(),
            std::vector<std::wstring>{L"3000MHz\nGenuineIntel\nIntel Core i5, ID:BFEBFBFF000906EA"
                                      L"\n1024K + 9216K\n6 ( 2 )"});
  EXPECT_EQ(processorValues.Rows(),
            std::vector<std::wstring>{L"2400MHz\n\n120\n1500\n40000\n3\n1  1"});
  // Processor 0: 1000 of 1000 units busy less 250 idle; processor 1: all idle. The separate
  // idle source, where there is one, counts instead of the times' own idle time.
  processors.Answer = std::vector<platform::ProcessorTime>{{9999, 2250, 750}, {3000, 3500, 0}};
  processors.IdleAnswer = std::vector<uint64_t>{1250, 3000};
  processors.CountsAnswer = platform::ProcessCounts{123, 1490, 40000};
  samples.clear();
  PassAt(3'500, 102);
  EXPECT_EQ(Cell(kCpuMeter), L"37% 2.4GHz C1P3");
  const std::vector<std::pair<int, float>> expected = {{400, 75.0f}, {401, 0.0f},  {301, 61.0f},
                                                       {302, 2.0f},  {303, 80.0f}, {307, 37.0f}};
  EXPECT_EQ(samples, expected);
  EXPECT_EQ(processorValues.Rows(),
            std::vector<std::wstring>{L"2400MHz\n37%\n123  ( +3 )\n1490  ( -10 )\n40000\n3\n1  1"});
  ASSERT_EQ(processorHistory.Rows().size(), 2u);
  EXPECT_NE(processorHistory.Rows()[0].find(L"\n37%\n2400MHz"), std::wstring::npos)
      << processorHistory.Rows()[0];
  EXPECT_EQ(titles.Summary(3), L"37% 2.4GHz C1P3");
  // A change is shown for one pass of the processors.
  PassAt(6'000, 104);
  EXPECT_EQ(processorValues.Rows()[0], L"2400MHz\n37%\n123\n1490\n40000\n3\n1  1");
  EXPECT_TRUE(statusMessages.empty());
}

TEST_F(SystemSamplerTest, WithoutPowerInformationTheSpeedIsMeasured) {
  processor.MaxSpeed.clear();
  PassAt(1'000, 100);  // start-up measures the highest speed, the pass the current one
  EXPECT_EQ(waits, (std::vector<int>{100, 100}));
  EXPECT_EQ(Cell(kCpuMeter), L" 2x2400MHz");
  EXPECT_EQ(RowColumn(processorInfo.Rows().at(0), 0), L"2400MHz");
  EXPECT_EQ(SamplesOf({303}), (std::vector<std::pair<int, float>>{{303, 100.0f}}));
  EXPECT_EQ(Sampler().SpeedSeen().Highest, 2400);
  EXPECT_EQ(readings.Snapshot().Processors.at(1).CurrentMhz, 2400);  // the mean, for each
}

TEST_F(SystemSamplerTest, ALowBatteryThatIsNotChargingBlinksEveryPass) {
  const auto cell = [&] { return (*meters.Lock())[kBatteryMeter]; };
  PassAt(1'000, 100);  // no battery
  EXPECT_EQ(Cell(kBatteryMeter), L"None");
  EXPECT_EQ(titles.Summary(4), L"No Battery");

  const Colour normalBack = cell().BackColour;
  EXPECT_EQ(normalBack, Rgb(255, 203, 255));

  power.Answer = platform::PowerStatus{0, 0, 20};
  redrawn.clear();
  PassAt(3'500, 102);
  EXPECT_EQ(Cell(kBatteryMeter), L" 20% ");
  EXPECT_EQ(cell().BackColour, 0u);  // shown inverted on every other pass
  EXPECT_EQ(cell().TextColour, normalBack);
  PassAt(6'000, 104);
  EXPECT_EQ(cell().BackColour, normalBack);
  PassAt(8'500, 106);
  EXPECT_EQ(cell().BackColour, 0u);
  EXPECT_GE(std::count(redrawn.begin(), redrawn.end(), std::pair<int, bool>{kBatteryMeter, true}),
            3);

  power.Answer = platform::PowerStatus{0, 0, 21};  // above the blinking level
  PassAt(11'000, 108);
  PassAt(13'500, 110);
  EXPECT_EQ(cell().BackColour, normalBack);
  EXPECT_EQ(Cell(kBatteryMeter), L" 21% ");

  // The charger comes in while the cell is inverted: the text stays, the colours go back and
  // the cell is drawn again.
  power.Answer = platform::PowerStatus{0, 0, 15};
  PassAt(16'000, 112);
  EXPECT_EQ(cell().BackColour, 0u);
  power.Answer = platform::PowerStatus{1, 8, 15};
  redrawn.clear();
  PassAt(18'500, 114);
  EXPECT_EQ(Cell(kBatteryMeter), L" 15% ");
  EXPECT_EQ(cell().BackColour, normalBack);
  EXPECT_EQ(std::count(redrawn.begin(), redrawn.end(), std::pair<int, bool>{kBatteryMeter, true}),
            1);
}

TEST_F(SystemSamplerTest, UptimeAndIdleFollowTheClocksAndTheLastInput) {
  activity.Tick = 7;
  PassAt(307'000, 100);  // 5 min 7 s after the system started; input just seen
  EXPECT_EQ(Cell(kUptimeMeter), L"   5m 07s    ");
  EXPECT_EQ(titles.Summary(5), L"5m 07s Uptime");
  PassAt(308'000, 101);
  PassAt(367'000, 102);
  EXPECT_EQ(Cell(kIdleMeter), L" 1m 0s ");
  EXPECT_EQ(titles.Summary(6), L"1m 0s Idle");
  activity.Tick = 8;  // the user came back
  PassAt(368'000, 103);
  EXPECT_EQ(Cell(kIdleMeter), L"=1m 0s ");
  const std::vector<std::wstring> row = batteryRow.Rows();
  ASSERT_EQ(row.size(), 1u);
  EXPECT_NE(row[0].find(L"6m 8s"), std::wstring::npos) << row[0];
  EXPECT_NE(row[0].find(L"1m+0s"), std::wstring::npos) << row[0];
}

TEST_F(SystemSamplerTest, CountersGiveTheLoadsAndCountsFromTheSecondProcessorPassOn) {
  settings.Set(opt::PdhLibraryPresent, 1);
  processors.PowerAnswer =
      std::vector<platform::ProcessorPower>{{3000, 2400, 3000, 2, 0}, {3000, 2400, 3000, 2, 0}};
  // Neither the times nor the process list count while the counters work.
  processors.Answer = std::vector<platform::ProcessorTime>{{0, 100, 100}, {0, 100, 100}};
  processors.CountsAnswer = platform::ProcessCounts{1, 1, 1};
  counters.Values = {{L"\\Processor(0)\\% Processor Time", 75.9},
                     {L"\\Processor(1)\\% Processor Time", 0.4},
                     {L"\\System\\Processes", 120.7},
                     {L"\\System\\Threads", 1500},
                     {L"\\Process(_Total)\\Handle Count", 40000}};
  PassAt(1'000, 100);
  EXPECT_EQ(Cell(kCpuMeter), L" 2x2400MHz");
  processors.Answer = std::vector<platform::ProcessorTime>{{0, 300, 300}, {0, 300, 300}};
  samples.clear();
  PassAt(3'500, 102);
  EXPECT_EQ(SamplesOf({400, 401, 307}),
            (std::vector<std::pair<int, float>>{{400, 75.9f}, {401, 0.4f}, {307, 38.0f}}));
  EXPECT_EQ(Cell(kCpuMeter), L"38% 2.4GHz");
  EXPECT_EQ(processorValues.Rows().at(0), L"2400MHz\n38%\n120\n1500\n40000\n0\n0  0");

  // A failed collection says when, and keeps what was read before.
  counters.FailingCollects = {L"\\System\\Threads"};
  counters.Values[L"\\Processor(0)\\% Processor Time"] = 10;
  samples.clear();
  PassAt(6'000, 104);
  EXPECT_EQ(statusMessages,
            std::vector<std::wstring>{L"PdhCollectQueryData Failed 1970-01-01 00:01:44"});
  EXPECT_TRUE(SamplesOf({400, 401}).empty());
  EXPECT_EQ(SamplesOf({307}), (std::vector<std::pair<int, float>>{{307, 38.0f}}));
  EXPECT_EQ(Cell(kCpuMeter), L"38% 2.4GHz");
}

TEST_F(SystemSamplerTest, WhileCounterNamesAreRebuiltTheTimesGiveTheLoads) {
  settings.Set(opt::PdhLibraryPresent, 1);
  counters.EmptyLookups[238] = 24;  // back on the 23rd look, 5.75 s after the start
  counters.Values = {{L"\\Processor(0)\\% Processor Time", 12.0},
                     {L"\\Processor(1)\\% Processor Time", 2.0}};
  processors.Answer = std::vector<platform::ProcessorTime>{{1000, 1500, 500}, {2000, 2500, 0}};
  PassAt(1'000, 100);
  EXPECT_EQ(redrawn.front(), (std::pair<int, bool>{kCpuMeter, true}));
  processors.Answer = std::vector<platform::ProcessorTime>{{1250, 2250, 750}, {3000, 3500, 0}};
  for (int64_t tick = 1'125; tick <= 3'500; tick += SystemSampler::kPassMs)
    PassAt(tick, 100 + tick / 1000);
  EXPECT_EQ(Cell(kCpuMeter), L" Repairing     ");  // kept while the rebuild runs
  ASSERT_EQ(tasks.size(), 1u);
  tasks.front()();  // the user allowed it and the rebuild ended; the names are not back yet
  processors.Answer = std::vector<platform::ProcessorTime>{{1500, 3000, 1000}, {4000, 4500, 0}};
  for (int64_t tick = 3'625; tick <= 6'000; tick += SystemSampler::kPassMs)
    PassAt(tick, 100 + tick / 1000);
  EXPECT_EQ(Cell(kCpuMeter), L"37% 2.4GHz");  // from the times, while the names are awaited
  for (int64_t tick = 6'125; tick <= 8'500; tick += SystemSampler::kPassMs)
    PassAt(tick, 100 + tick / 1000);
  EXPECT_EQ(SamplesOf({400, 401}),
            (std::vector<std::pair<int, float>>{
                {400, 75.0f}, {401, 0.0f}, {400, 75.0f}, {401, 0.0f}, {400, 12.0f}, {401, 2.0f}}));
  EXPECT_EQ(counters.RebuildsStarted, 1);
  EXPECT_EQ(counters.RebuildFolder, L"C:\\Windows\\syswow64");
  EXPECT_TRUE(statusMessages.empty());
  EXPECT_EQ(Cell(kCpuMeter), L" 7% 2.4GHz");
}

TEST_F(SystemSamplerTest, CountersThatFailAtStartLeaveTheLoadsToTheTimes) {
  settings.Set(opt::PdhLibraryPresent, 1);
  counters.RefusedPaths = {L"\\Processor(1)\\% Processor Time"};
  processors.Answer = std::vector<platform::ProcessorTime>{{1000, 1500, 500}, {2000, 2500, 0}};
  processors.CountsAnswer = platform::ProcessCounts{120, 1500, 40000};
  PassAt(1'000, 100);
  processors.Answer = std::vector<platform::ProcessorTime>{{1250, 2250, 750}, {3000, 3500, 0}};
  PassAt(3'500, 102);
  EXPECT_EQ(statusMessages,
            std::vector<std::wstring>{L"PdhAddCounter Failed: \\Processor(1)\\% Processor Time"});
  EXPECT_EQ(SamplesOf({400, 401}), (std::vector<std::pair<int, float>>{{400, 75.0f}, {401, 0.0f}}));
  EXPECT_EQ(RowColumn(processorValues.Rows().at(0), 2), L"120");
}

TEST_F(SystemSamplerTest, DriveRatesFillTheCellsTheRateGraphsAndTheTitle) {
  settings.Set(opt::PdhLibraryPresent, 1);
  counters.Values = {{L"\\PhysicalDisk(_Total)\\Disk Read Bytes/sec", 5000.4},
                     {L"\\PhysicalDisk(_Total)\\Disk Write Bytes/sec", 2'097'152.6}};
  PassAt(1'000, 100);
  EXPECT_EQ(Cell(kReadMeter), L"   5K");
  EXPECT_EQ(Cell(kWriteMeter), L"2048K");
  EXPECT_EQ(rescaled, (std::vector<std::pair<int, int64_t>>{{308, 2'097'153}, {304, 5000}}));
  EXPECT_EQ(SamplesOf({304, 308}),
            (std::vector<std::pair<int, float>>{{308, 2048.0f}, {304, 4.0f}}));
  EXPECT_EQ(titles.Summary(7), L"Drive: 4K/2048K");
  EXPECT_EQ(readings.Snapshot().ReadKbPerSecond, 4);
  EXPECT_EQ(readings.Snapshot().WriteKbPerSecond, 2048);
}

TEST_F(SystemSamplerTest, WithoutADriveQueryTheRateCellsStayBlank) {
  settings.Set(opt::PdhLibraryPresent, 1);
  counters.FailingCollects = {L"\\PhysicalDisk(_Total)\\Disk Read Bytes/sec"};
  PassAt(1'000, 100);
  PassAt(2'000, 101);
  EXPECT_EQ(Cell(kReadMeter), L"");
  EXPECT_EQ(Cell(kWriteMeter), L"");
  EXPECT_TRUE(rescaled.empty());
  EXPECT_TRUE(SamplesOf({304, 308}).empty());
}

TEST_F(SystemSamplerTest, TheUptimeCounterCountsUntilItReportsUnderTwoSeconds) {
  settings.Set(opt::PdhLibraryPresent, 1);
  counters.Values = {{L"\\2\\674", 307.4}};
  PassAt(1'000, 100);
  EXPECT_EQ(Cell(kUptimeMeter), L"   5m 07s    ");
  counters.Values[L"\\2\\674"] = 1.0;
  PassAt(2'000, 101);
  EXPECT_EQ(Cell(kUptimeMeter), L" Calculating   ");
  counters.Values[L"\\2\\674"] = 400.0;
  PassAt(3'000, 102);  // the millisecond clock from now on
  EXPECT_EQ(Cell(kUptimeMeter), L"     03s     ");
}

TEST_F(SystemSamplerTest, MemoryTotalsBatteryAndALongIdleBecomeSystemEvents) {
  settings.Set(opt::LongIdleSeconds, 60);
  activity.Tick = 7;
  PassAt(1'000, 100);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"Phys Memory: 16.0G", L"Page Memory: 20.0G",
                                               L"Batt:None"}));
  EXPECT_EQ(systemTextRefreshes, 1);

  events.clear();
  memory.Answer->TotalPhysical = 15360 * kMiB;
  power.Answer = platform::PowerStatus{0, 0, 20};
  PassAt(61'000, 160);
  activity.Tick = 8;  // the user came back after a minute
  PassAt(62'000, 161);
  EXPECT_EQ(events,
            (std::vector<std::wstring>{L"Phys Memory: -1024M = 15.0G",
                                       L"Batt:20% Unplugged, not charging", L"Long Idle: 1m 0s "}));
  EXPECT_EQ(systemTextRefreshes, 2);
}

TEST_F(SystemSamplerTest, TheDesktopWatchReportsEachChangeEvery120Passes) {
  PassAt(1'000, 100);
  events.clear();
  const int refreshes = systemTextRefreshes;
  display.Facts = platform::DisplayFacts{L"Wine Adapter", 2560, 1440, 125, 16, 144};
  int64_t tick = 1'000;
  for (int pass = 2; pass < SystemSampler::kDesktopWatchPasses; ++pass) {
    tick += SystemSampler::kPassMs;
    PassAt(tick, 100 + tick / 1000);
  }
  EXPECT_TRUE(events.empty());
  tick += SystemSampler::kPassMs;
  PassAt(tick, 100 + tick / 1000);
  EXPECT_EQ(events, (std::vector<std::wstring>{
                        L"Desktop Width: 1280 -> 2560", L"Desktop Height: 800 -> 1440",
                        L"Desktop Scale: 100% -> 125%", L"Desktop Colors: 32-bit -> 16-bit",
                        L"Desktop Frequency: 60Hz -> 144Hz"}));
  EXPECT_EQ(systemTextRefreshes, refreshes + 1);
}

TEST_F(SystemSamplerTest, TheReadingsHoldWhatTheGraphsShowBesideTheirSamples) {
  processors.PowerAnswer =
      std::vector<platform::ProcessorPower>{{3000, 2400, 3000, 0, 0}, {3000, 1800, 3000, 0, 0}};
  processors.Answer = std::vector<platform::ProcessorTime>{{1000, 1500, 500}, {2000, 2500, 0}};
  PassAt(1'000, 100);
  processors.Answer = std::vector<platform::ProcessorTime>{{1250, 2250, 750}, {3000, 3500, 0}};
  PassAt(3'500, 102);
  const SystemReadings read = readings.Snapshot();
  EXPECT_EQ(read.PhysicalPercent, 61);
  EXPECT_EQ(read.PageFilePercent, 2);
  EXPECT_EQ(read.MeanMhz, 2100);
  EXPECT_EQ(read.SpeedPercent, 70);
  EXPECT_EQ(read.AverageLoad, 37);
  ASSERT_EQ(read.Processors.size(), 2u);
  EXPECT_EQ(read.Processors[0].Label, L"CPU 0");
  EXPECT_EQ(read.Processors[0].CurrentMhz, 2400);
  EXPECT_EQ(read.Processors[0].LoadPercent, 75);
  EXPECT_EQ(read.Processors[1].CurrentMhz, 1800);
  EXPECT_EQ(read.Processors[1].LoadPercent, 0);
}

// Behind the cells, the readings keep the figures the metrics page serves: memory in bytes, the
// highest clock, the battery and the mains as known, the uptime, and the program's own figures
// while they are asked for.
TEST_F(SystemSamplerTest, TheReadingsKeepTheFiguresBehindTheCells) {
  processors.PowerAnswer =
      std::vector<platform::ProcessorPower>{{3000, 2400, 3000, 0, 0}, {3000, 1800, 3000, 0, 0}};
  power.Answer = platform::PowerStatus{0, 0, 64};
  ownProcess = OwnProcessReading{1.25, 40 * 1048576, 1'765'000'000, 12};
  PassAt(307'000, 100);
  SystemReadings read = readings.Snapshot();
  ASSERT_TRUE(read.Memory.has_value());
  EXPECT_EQ(read.Memory->PhysicalTotal, static_cast<int64_t>(16384 * kMiB));
  EXPECT_EQ(read.Memory->PhysicalAvailable, static_cast<int64_t>(9999 * kMiB));
  EXPECT_EQ(read.Memory->PageFileTotal, static_cast<int64_t>(20480 * kMiB));
  EXPECT_EQ(read.Memory->PageFileAvailable, static_cast<int64_t>(512 * kMiB));
  EXPECT_EQ(read.HighestMhz, 3000);
  EXPECT_EQ(read.BatteryPercent, 64);
  EXPECT_EQ(read.OnMains, false);
  EXPECT_EQ(read.UptimeSeconds, 307);
  ASSERT_TRUE(read.OwnProcess.has_value());
  EXPECT_EQ(read.OwnProcess->WorkingSetBytes, 40 * 1048576);

  // Unknown to the system: no battery, no line status; nobody asks for the program's figures.
  power.Answer = platform::PowerStatus{255, 128, 255};
  ownProcess.reset();
  PassAt(309'500, 102);
  read = readings.Snapshot();
  EXPECT_EQ(read.BatteryPercent, std::nullopt);
  EXPECT_EQ(read.OnMains, std::nullopt);
  EXPECT_FALSE(read.OwnProcess.has_value());
}

TEST_F(SystemSamplerTest, WithNoLoadToReadTheCellShowsLoadZeroFromTheSecondPassOn) {
  processors.PowerAnswer =
      std::vector<platform::ProcessorPower>{{3000, 2400, 3000, 0, 0}, {3000, 2400, 3000, 0, 0}};
  PassAt(1'000, 100);
  EXPECT_EQ(Cell(kCpuMeter), L" 2x2400MHz");
  PassAt(3'500, 102);
  EXPECT_EQ(Cell(kCpuMeter), L" 0% 2.4GHz");
}

TEST_F(SystemSamplerTest, TheMemoryListsHoldTheLimitAndOneRowsWithHiAndLo) {
  for (const auto& [limit, rows] : {std::pair{3, 4u}, std::pair{1, 3u}}) {
    SCOPED_TRACE(limit);
    settings.Set(opt::HistoryRowLimit, limit);
    for (int second = 0; second < 6; ++second) {
      memory.Answer->AvailablePhysical = (9000 - 100 * second) * kMiB;
      PassAt(1'000 + 1'000 * second, 100 + second);
    }
    ASSERT_EQ(physical.Rows().size(), rows);
    EXPECT_NE(physical.Rows()[0].find(L"Hi\n"), std::wstring::npos);
    EXPECT_NE(physical.Rows()[1].find(L"Lo\n8500M"), std::wstring::npos);
    sampler.reset();
    physical.Change([](std::vector<std::wstring>& kept) { kept.clear(); });
  }
}

TEST_F(SystemSamplerTest, TheSystemPanelsRequestsAreTakenOnce) {
  PassAt(1'000, 100);
  memory.Answer->AvailablePhysical = 8000 * kMiB;
  PassAt(2'000, 101);  // Hi 9999M, Lo 8000M
  const int refreshes = systemTextRefreshes;
  settings.Request(opt::ResetSystemPanelRequest);
  settings.Request(opt::RereadSystemTextRequest);
  memory.Answer->AvailablePhysical = 9000 * kMiB;
  processor.Name = L"Late CPU";  // a description that came after start-up
  PassAt(3'000, 102);
  EXPECT_EQ(RowColumn(processorInfo.Rows().at(0), 2), L"Late CPU, ID:BFEBFBFF000906EA");
  EXPECT_NE(physical.Rows()[0].find(L"Hi\n9000M"), std::wstring::npos) << physical.Rows()[0];
  EXPECT_NE(physical.Rows()[1].find(L"Lo\n9000M"), std::wstring::npos) << physical.Rows()[1];
  EXPECT_EQ(systemTextRefreshes, refreshes + 1);
  EXPECT_EQ(settings.Get(opt::ResetSystemPanelRequest), 0);
  EXPECT_EQ(settings.Get(opt::RereadSystemTextRequest), 0);
  memory.Answer->AvailablePhysical = 9500 * kMiB;
  PassAt(4'000, 103);
  EXPECT_NE(physical.Rows()[1].find(L"Lo\n9000M"), std::wstring::npos) << physical.Rows()[1];
  EXPECT_EQ(systemTextRefreshes, refreshes + 1);
}

TEST_F(SystemSamplerTest, OnlyTheSystemAndProcessorsCopiesAreServedHere) {
  settings.Set(opt::CopyRequest, 1);
  PassAt(1'000, 100);
  settings.Set(opt::CopyRequest, 3);  // the Storage tab's copy is not this thread's
  PassAt(1'125, 100);
  EXPECT_EQ(copies, std::vector<int>{1});
}

}  // namespace
}  // namespace tarvik
