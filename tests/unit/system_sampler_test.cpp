#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fakes/fake_system.h"
#include "monitors/system/system_sampler.h"
#include "settings/defaults.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr uint64_t kMiB = 1024 * 1024;

class SystemSamplerTest : public ::testing::Test {
 protected:
  SystemSamplerTest() {
    LoadTranslations(kEnglish);
    ApplyDefaults(settings, 4, 0);
    memory.Answer = platform::MemoryStatus{16384 * kMiB, 9999 * kMiB, 20480 * kMiB, 512 * kMiB};
  }

  // One pass at the given time of the millisecond clock and of the wall clock.
  void PassAt(int64_t tickMs, int64_t now) {
    clock.Now = now;
    static_cast<void>(sampler.Pass(tickMs));
  }
  std::wstring Cell(int meter) { return (*meters.Lock())[static_cast<size_t>(meter)].Text; }

  Settings settings;
  StopSignal stop{settings};
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeMemory memory;
  fakes::FakeUserActivity activity;
  fakes::FakeProcessors processors;
  fakes::FakePowerSource power;
  MeterTable meters;
  WindowUpdateQueue updates;
  ListModel physical{133, updates};
  ListModel pageFile{134, updates};
  ListModel batteryRow{209, updates};
  ListModel processorHistory{135, updates};
  std::vector<std::pair<int, bool>> redrawn;
  std::vector<std::pair<int, float>> samples;
  std::vector<std::wstring> titles;
  SystemSampler sampler{stop,
                        {memory, activity, processors, power, clock, environment},
                        {settings, meters, physical, pageFile, batteryRow, processorHistory,
                         [this](int meter, bool force) { redrawn.emplace_back(meter, force); },
                         [this](int graph, float value) { samples.emplace_back(graph, value); },
                         [this](const std::wstring& title) { titles.push_back(title); }}};
};

TEST_F(SystemSamplerTest, MemoryFillsItsCellsItsHistoryAndItsTitleOncePerSecond) {
  settings.Set(opt::TitleBarMode, 1);
  PassAt(1'000, 100);
  EXPECT_EQ(Cell(kPhysMeter), L"9999M 61%");
  EXPECT_EQ(Cell(kPageMeter), L" 512M  2%");
  EXPECT_EQ(titles, std::vector<std::wstring>{L"9999M 61% Phys"});
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
  EXPECT_EQ(titles.back(), L"8000M 48% Phys");

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

TEST_F(SystemSamplerTest, ProcessorLoadsAndSpeedReachTheCellTheGraphsAndTheHistory) {
  settings.Set(opt::TitleBarMode, 3);
  processors.PowerAnswer =
      std::vector<platform::ProcessorPower>{{3000, 2400, 3000, 2, 1}, {3000, 2400, 3000, 2, 1}};
  processors.Answer = std::vector<platform::ProcessorTime>{{1000, 1500, 500}, {2000, 2500, 0}};
  PassAt(1'000, 100);  // one set of times: no load yet
  EXPECT_EQ(Cell(kCpuMeter), L" 2x2400MHz C1P0");
  // Processor 0: 1000 of 1000 units busy less 250 idle; processor 1: all idle.
  processors.Answer = std::vector<platform::ProcessorTime>{{1250, 2250, 750}, {3000, 3500, 0}};
  samples.clear();
  PassAt(3'500, 102);
  EXPECT_EQ(Cell(kCpuMeter), L"37% 2.4GHz C1P0");
  const std::vector<std::pair<int, float>> expected = {
      {400, 75.0f}, {401, 0.0f}, {303, 80.0f}, {307, 37.0f}};
  std::vector<std::pair<int, float>> processorSamples(samples.begin(), samples.begin() + 4);
  EXPECT_EQ(processorSamples, expected);
  ASSERT_EQ(processorHistory.Rows().size(), 2u);
  EXPECT_NE(processorHistory.Rows()[0].find(L"\n37%\n2400MHz"), std::wstring::npos)
      << processorHistory.Rows()[0];
  EXPECT_EQ(titles.back(), L"37% 2.4GHz C1P0");
}

TEST_F(SystemSamplerTest, ALowBatteryThatIsNotChargingBlinksEveryPass) {
  settings.Set(opt::TitleBarMode, 4);
  const auto cell = [&] { return (*meters.Lock())[kBatteryMeter]; };
  PassAt(1'000, 100);  // no battery
  EXPECT_EQ(Cell(kBatteryMeter), L"None");
  EXPECT_EQ(titles.back(), L"No Battery");

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
}

TEST_F(SystemSamplerTest, UptimeAndIdleFollowTheClocksAndTheLastInput) {
  settings.Set(opt::TitleBarMode, 6);
  activity.Tick = 7;
  PassAt(307'000, 100);  // 5 min 7 s after the system started; input just seen
  EXPECT_EQ(Cell(kUptimeMeter), L"   5m 07s    ");
  PassAt(308'000, 101);
  PassAt(367'000, 102);
  EXPECT_EQ(Cell(kIdleMeter), L" 1m 0s ");
  EXPECT_EQ(titles.back(), L"1m 0s Idle");
  activity.Tick = 8;  // the user came back
  PassAt(368'000, 103);
  EXPECT_EQ(Cell(kIdleMeter), L"=1m 0s ");
  const std::vector<std::wstring> row = batteryRow.Rows();
  ASSERT_EQ(row.size(), 1u);
  EXPECT_NE(row[0].find(L"6m 8s"), std::wstring::npos) << row[0];
  EXPECT_NE(row[0].find(L"1m+0s"), std::wstring::npos) << row[0];
}

}  // namespace
}  // namespace tarvik
