#include "monitors/gpu/gpu_monitor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <map>
#include <thread>

#include "fakes/fake_nvml.h"
#include "fakes/fake_system.h"
#include "monitors/gpu/gpu_rows.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using fakes::FakeGpu;
using fakes::FakeNvml;
using fakes::WorkingFakeGpu;

TEST(GpuRowColour, FollowsTheTemperature) {
  const struct {
    int Celsius;
    Colour Expected;
  } cases[] = {{0, Rgb(0, 255, 255)}, {42, Rgb(252, 255, 255)}, {43, Rgb(255, 249, 249)},
               {84, Rgb(255, 3, 3)},  {85, Rgb(255, 0, 0)},     {-1, Rgb(255, 0, 0)}};
  for (const auto& c : cases)
    EXPECT_EQ(TemperatureColour(c.Celsius), c.Expected) << c.Celsius;
}

class GpuMonitorTest : public testing::Test {
 protected:
  GpuMonitorTest() {
    LoadTranslations(kEnglish);
    fakes::ResetFakeNvml();
    settings.Set(opt::FirstGpuGraph, 800);
    settings.Set(opt::SelectedGpu, -1);
  }

  // One pass in each of `count` seconds.
  void Seconds(int count) {
    for (int second = 0; second < count; ++second) {
      static_cast<void>(monitor.Pass(0));
      ++clock.Now;
    }
  }
  MeterRecord Meter(int meter) { return (*meters.Lock())[static_cast<size_t>(meter)]; }

  Settings settings;
  StopSignal stop{settings};
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  platform::nvml::Functions nvml = fakes::FakeNvmlFunctions();
  MeterTable meters;
  Guarded<GpuReadings> readings;
  std::vector<std::wstring> summaries;
  std::vector<std::wstring> events;
  std::map<int, std::vector<float>> samples;
  int devicesChanged = 0;
  std::vector<int> copies;
  GpuSources Sources() { return {.Nvml = nvml, .System = {}, .Clock = clock, .Env = environment}; }
  GpuTargets Targets() {
    return {.Options = settings,
            .Meters = meters,
            .Readings = readings,
            .AddSummaryLine = [this](const std::wstring& line) { summaries.push_back(line); },
            .RecordSystemEvent = [this](const std::wstring& text) { events.push_back(text); },
            .MeterChanged = [](int, bool) {},
            .RefreshLayout = [] {},
            .AddGraphSample = [this](int graph, float value) { samples[graph].push_back(value); },
            .DevicesChanged = [this] { ++devicesChanged; },
            .GraphsSampled = [] {},
            .CopyPanel = [this](int panel) { copies.push_back(panel); }};
  }
  GpuMonitor monitor{stop, Sources(), Targets()};
};

TEST_F(GpuMonitorTest, EachCardGetsItsCellRowAndSummary) {
  FakeNvml().Gpus = {WorkingFakeGpu(), WorkingFakeGpu()};
  Seconds(3);
  EXPECT_EQ(settings.Get(opt::GpuCount), 2);
  EXPECT_TRUE(Meter(42).Active);
  EXPECT_FALSE(Meter(43).Active);
  EXPECT_EQ(Meter(42).Text, L"G1  43C  41%");
  EXPECT_EQ(Meter(41).BackColour, Rgb(255, 249, 249));
  // Only the selected card's summary, and only when it changed.
  ASSERT_EQ(summaries.size(), 1u);
  EXPECT_EQ(summaries[0], L"G0\n37%  1500MHz\n12%  5000MHz  1024M\n43C\n41%\nP2 120W");
  FakeNvml().Gpus[0].Values["nvmlDeviceGetTemperature/0"] = 50;
  Seconds(1);
  EXPECT_EQ(summaries.size(), 2u);
}

TEST_F(GpuMonitorTest, GraphsGetSixSamplesEverySecondSample) {
  FakeNvml().Gpus = {WorkingFakeGpu(), WorkingFakeGpu()};
  Seconds(3);
  // Device 1's graphs start 10 after device 0's; a memory maximum below 100 gives 0 percent.
  const std::map<int, float> expected = {{810, 37}, {811, 12}, {812, 41},
                                         {813, 75}, {814, 0},  {815, 60}};
  for (const auto& [graph, value] : expected) {
    ASSERT_EQ(samples[graph].size(), 1u) << graph;
    EXPECT_EQ(samples[graph][0], value) << graph;
  }
  Seconds(1);
  EXPECT_EQ(samples[810].size(), 2u);
}

TEST_F(GpuMonitorTest, AnUnreadableFanIsHiddenUntilErrorsAreShown) {
  FakeNvml().Gpus = {WorkingFakeGpu()};
  FakeNvml().Gpus[0].Fails = {{"nvmlDeviceGetFanSpeed_v2/0", 3}, {"nvmlDeviceGetFanSpeed", 3}};
  Seconds(1);
  EXPECT_EQ(Meter(41).Text, L"G0  43C");
  settings.Set(opt::GpuShowErrors, 1);
  Seconds(1);
  EXPECT_EQ(Meter(41).Text, L"G0  43C #3");
  // The older call stands in for the newer one.
  FakeNvml().Gpus[0].Fails.erase("nvmlDeviceGetFanSpeed");
  FakeNvml().Gpus[0].Values["nvmlDeviceGetFanSpeed"] = 30;
  Seconds(1);
  EXPECT_EQ(Meter(41).Text, L"G0  43C  30%");
}

// A card that falls off the bus shows so within one sample in its cell, its summary line and the
// detail list, with one event; it is asked nothing more and the other cards go on.
TEST_F(GpuMonitorTest, ACardThatFallsOffTheBusShowsLostWithinOneSample) {
  FakeNvml().Gpus = {WorkingFakeGpu(), WorkingFakeGpu(), WorkingFakeGpu()};
  FakeNvml().Gpus[2].Fails["nvmlDeviceGetTemperature/0"] = 3;
  Seconds(2);
  EXPECT_EQ(Meter(43).BackColour, Rgb(255, 255, 255));  // no temperature read yet
  const int changes = devicesChanged;
  FakeNvml().Gpus[1].LostAfterReadings = 0;
  Seconds(1);
  EXPECT_EQ(Meter(42).Text, L"G1  #15");
  EXPECT_EQ(Meter(42).BackColour, Rgb(192, 192, 192));
  EXPECT_EQ(summaries.back(), L"G1\n#15\nGPU lost");
  EXPECT_EQ(events, std::vector<std::wstring>{L"G1 Fake Card: GPU lost (15)"});
  EXPECT_EQ(devicesChanged, changes + 1);
  EXPECT_EQ(readings.Lock()->Cards.Devices[1].CardStatus, 15);
  const int callsWhenLost = FakeNvml().Gpus[1].Calls;
  const size_t summaryCount = summaries.size();
  Seconds(3);
  EXPECT_EQ(FakeNvml().Gpus[1].Calls, callsWhenLost);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_EQ(summaries.size(), summaryCount);
  EXPECT_EQ(Meter(41).Text, L"G0  43C  41%");
  EXPECT_EQ(samples[800].back(), 37);
  EXPECT_EQ(samples[810].back(), 0);
  EXPECT_EQ(samples[813].back(), 0);
  const GpuHistoryEntry last = readings.Lock()->History[1].back();
  EXPECT_EQ(last.Temperature, 0);
  EXPECT_EQ(last.RowColour, Rgb(192, 192, 192));
  // Read again, the lost card's handle fails with the same status: no second event.
  settings.Request(opt::GpuRefreshRequest);
  Seconds(1);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_EQ(readings.Lock()->Cards.Devices[1].HandleStatus, 15);
}

// The chosen card's loss comes as its summary once; a card without a handle from the start says
// why in its cell and one event.
TEST_F(GpuMonitorTest, TheChosenCardsLossAndAFailedHandleEachShowOnce) {
  FakeNvml().Gpus = {WorkingFakeGpu(), WorkingFakeGpu()};
  FakeNvml().Gpus[1].FailsAll = platform::nvml::kErrorNoPermission;
  Seconds(2);
  EXPECT_EQ(Meter(42).Text, L"G1  #4");
  EXPECT_EQ(events, std::vector<std::wstring>{L"G1: No permission (4)"});
  FakeNvml().Gpus[0].FailsAll = platform::nvml::kErrorGpuIsLost;
  Seconds(3);
  EXPECT_EQ(std::count(summaries.begin(), summaries.end(), L"G0\n#15\nGPU lost"), 1);
  EXPECT_EQ(events.back(), L"G0 Fake Card: GPU lost (15)");
  EXPECT_EQ(events.size(), 2u);
}

// A deliberately threaded test: while a card's call does not return, the window thread can
// still take the meter table and the readings, and the pass ends once the call returns.
TEST_F(GpuMonitorTest, ACallThatBlocksHoldsNoSharedLock) {
  FakeNvml().Gpus = {WorkingFakeGpu()};
  Seconds(1);
  std::promise<void> entered;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  bool first = true;
  FakeNvml().OnCardCall = [&] {
    if (!std::exchange(first, false)) {
      return;
    }
    entered.set_value();
    released.wait();
  };
  std::thread pass([this] { static_cast<void>(monitor.GuardedPass(0)); });
  ASSERT_EQ(entered.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_EQ(Meter(41).Text, L"G0  43C  41%");
  EXPECT_EQ(readings.Lock()->Cards.Devices.size(), 1u);
  release.set_value();
  pass.join();
  FakeNvml().OnCardCall = nullptr;
}

// Each value shows, or "#" and the status of the call that could not read it.
TEST(GpuSummaryText, EachValueOrTheStatusOfItsCall) {
  const auto sampled = [] {
    GpuDevice card;
    card.Sample.Utilization.Value = {37, 12};
    card.Sample.Clocks[kGraphicsClock].Value = 1500;
    card.Sample.Clocks[kMemoryClock].Value = 5000;
    card.Sample.Memory.Value.Used = 1ull << 30;
    card.Sample.Temperature.Value = 43;
    card.Sample.Fan.Value = 41;
    card.Sample.PerformanceState.Value = 2;
    card.Sample.PowerMilliwatts.Value = 120'500;
    return card;
  };
  LoadTranslations(kEnglish);
  GpuDevice fanless = sampled();
  fanless.Sample.Fan.Status = 3;
  GpuDevice powerless = sampled();
  powerless.Sample.PowerMilliwatts.Status = 999;
  powerless.Sample.Utilization.Status = 3;
  GpuDevice denied = sampled();
  denied.CardStatus = platform::nvml::kErrorNoPermission;
  const std::pair<GpuDevice, const wchar_t*> cases[] = {
      {sampled(), L"G0\n37%  1500MHz\n12%  5000MHz  1024M\n43C\n41%\nP2 120W"},
      {fanless, L"G0\n37%  1500MHz\n12%  5000MHz  1024M\n43C\n#3\nP2 120W"},
      {powerless, L"G0\n#3  1500MHz\n#3  5000MHz  1024M\n43C\n41%\nP2 #999"},
      {denied, L"G0\n#4\nNo permission"}};
  for (const auto& [card, expected] : cases)
    EXPECT_EQ(GpuSummary(0, card), expected);
}

// The count is every card; eight have cells and graphs.
TEST_F(GpuMonitorTest, NineCardsCountNineAndShowEight) {
  FakeNvml().Gpus.assign(9, WorkingFakeGpu());
  Seconds(2);
  EXPECT_EQ(settings.Get(opt::GpuCount), 9);
  EXPECT_EQ(Meter(48).Text, L"G7  43C  41%");
  EXPECT_EQ(readings.Lock()->Cards.UnshownNames.size(), 1u);
  EXPECT_EQ(samples.count(870), 1u);
  EXPECT_EQ(samples.count(880), 0u);
}

TEST_F(GpuMonitorTest, WithoutCardsNothingIsShownOrSampled) {
  Seconds(3);
  EXPECT_EQ(settings.Get(opt::GpuCount), 0);
  EXPECT_FALSE(Meter(41).Active);
  EXPECT_TRUE(samples.empty());
  EXPECT_TRUE(summaries.empty());
  EXPECT_TRUE(readings.Lock()->Enumerated);
}

TEST_F(GpuMonitorTest, ServesOnlyTheGraphicsTabCopy) {
  settings.Set(opt::CopyRequest, 3);
  Seconds(1);
  settings.Set(opt::CopyRequest, 2);
  Seconds(1);
  EXPECT_EQ(copies, std::vector<int>{2});
}

TEST_F(GpuMonitorTest, TheLibraryIsShutDownWhenTheThreadEnds) {
  struct Ending : GpuMonitor {
    using GpuMonitor::GpuMonitor;
    using GpuMonitor::Run;
  };
  Ending ending(stop, Sources(), Targets());
  settings.Set(opt::StopFlag, 1);
  ending.Run();
  EXPECT_EQ(FakeNvml().Shutdowns, 1);
}

}  // namespace
}  // namespace tarvik
