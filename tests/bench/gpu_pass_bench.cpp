// What the GPU monitor costs over a fake library with eight cards: the time of a pass that
// samples every card, and the library calls a sample of one card makes (the fake answers at
// once, so the time is the monitor's own work). Run by scripts/bench.sh; prints figures, judges
// nothing.
#include <chrono>
#include <cstdio>

#include "fakes/fake_nvml.h"
#include "fakes/fake_system.h"
#include "monitors/gpu/gpu_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kCards = 8;
constexpr int kSamples = 2'000;

int Run() {
  LoadTranslations(kEnglish);
  fakes::ResetFakeNvml();
  for (int card = 0; card < kCards; ++card) {
    fakes::FakeGpu gpu;
    gpu.Values = {{"nvmlDeviceGetClock/0", 1500u + card},
                  {"nvmlDeviceGetMaxClockInfo/0", 2000},
                  {"nvmlDeviceGetMaxClockInfo/2", 7000},
                  {"nvmlDeviceGetTemperature/0", 40u + card}};
    fakes::FakeNvml().Gpus.push_back(gpu);
  }
  const platform::nvml::Functions nvml = fakes::FakeNvmlFunctions();
  Settings settings;
  settings.Set(opt::FirstGpuGraph, 800);
  StopSignal stop(settings);
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  MeterTable meters;
  Guarded<GpuReadings> readings;
  GpuMonitor monitor(stop,
                     GpuSources{.Nvml = nvml, .System = {}, .Clock = clock, .Env = environment},
                     GpuTargets{.Options = settings,
                                .Meters = meters,
                                .Readings = readings,
                                .AddSummaryLine = [](const std::wstring&) {},
                                .RecordSystemEvent = [](const std::wstring&) {},
                                .MeterChanged = [](int, bool) {},
                                .RefreshLayout = [] {},
                                .AddGraphSample = [](int, float) {},
                                .DevicesChanged = [] {},
                                .GraphsSampled = [] {},
                                .CopyPanel = [](int) {}});
  static_cast<void>(monitor.Pass(0));  // reads the cards
  const int enumerationCalls = fakes::FakeNvml().Calls;
  ++clock.Now;
  const auto started = std::chrono::steady_clock::now();
  for (int sample = 0; sample < kSamples; ++sample) {
    static_cast<void>(monitor.Pass(0));
    ++clock.Now;
  }
  const std::chrono::duration<double, std::micro> spent =
      std::chrono::steady_clock::now() - started;
  const double callsPerCard =
      static_cast<double>(fakes::FakeNvml().Calls - enumerationCalls) / kSamples / kCards;
  std::printf(
      "GPU monitor over %d fake cards: %.1f us per sampling pass, %.1f library calls per "
      "card and sample, %d calls to read the cards at start\n",
      kCards, spent.count() / kSamples, callsPerCard, enumerationCalls);
  return 0;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
