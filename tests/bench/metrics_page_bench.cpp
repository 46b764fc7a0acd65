// What one metrics page costs with the most of everything: 1024 pinged hosts, 26 drives, 31
// adapters, 8 cards and 64 processors, each with labels of a realistic length. Prints the time to
// build a page, as the page object keeps its counters from page to page, and the page's size.
// Run by scripts/bench.sh; prints figures, judges nothing.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/pass_timing.h"
#include "metrics/metrics_page.h"

namespace tarvik {
namespace {

constexpr int kPages = 200;

MetricsReadings FullReadings() {
  MetricsReadings readings;
  for (int processor = 0; processor < 64; ++processor)
    readings.Processors.push_back({processor % 100, 2400 + processor});
  readings.AverageLoadPercent = 37;
  readings.HighestMhz = 3600;
  readings.Memory = MemoryMetrics{68'719'476'736, 34'359'738'368, 77'309'411'328, 40'000'000'000};
  readings.OnMains = true;
  readings.SystemUptimeSeconds = 864'000;
  for (int letter = 0; letter < 26; ++letter) {
    readings.Drives.push_back({std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":",
                               L"Volume " + std::to_wstring(letter), L"1A2B-3C4D", L"fixed", true,
                               2'000'000'000'000, 1'234'567'890'123, {1, 0, 0, 0}});
  }
  for (int adapter = 0; adapter < 31; ++adapter) {
    readings.Adapters.push_back({L"Intel(R) Ethernet Controller I225-V #" + std::to_wstring(adapter),
                                 L"00:1A:2B:3C:4D:" + std::to_wstring(10 + adapter),
                                 123'456'789'012, 98'765'432'109, 123'456'789, 98'765'432, 3, 1,
                                 2'500'000'000, 2'500'000'000, true});
  }
  readings.InternetConnected = true;
  for (int host = 0; host < 1024; ++host) {
    readings.PingHosts.push_back({L"10.0." + std::to_wstring(host / 256) + L"." +
                                      std::to_wstring(host % 256),
                                  L"rack " + std::to_wstring(host / 40) + L" node \"" +
                                      std::to_wstring(host) + L"\"",
                                  host % 90, 86'400 + host, host % 7, host % 50 == 0});
  }
  for (int card = 0; card < 8; ++card) {
    GpuMetrics gpu;
    gpu.Index = card;
    gpu.Name = L"NVIDIA GeForce RTX 4090";
    gpu.TemperatureCelsius = 60 + card;
    gpu.LoadPercent = 90;
    gpu.MemoryUsedBytes = 20'000'000'000;
    gpu.MemoryTotalBytes = 25'769'803'776;
    gpu.ClockMhz = 2520;
    gpu.PowerMilliwatts = 410'250;
    gpu.FanPercent = 66;
    gpu.PerformanceState = 2;
    readings.Gpus.push_back(gpu);
  }
  readings.Process = ProcessMetrics{1234.5, 60'000'000, 1'765'000'000, 864'000};
  readings.Version = L"2.33 x64 426.9423";
  return readings;
}

int Run() {
  MetricsReadings readings = FullReadings();
  MetricsPage page;
  size_t bytes = 0;
  std::vector<double> times;
  for (int round = 0; round < kPages; ++round) {
    // The counts move on between pages, as they do between scrapes.
    for (PingHostMetrics& host : readings.PingHosts)
      ++host.Sent;
    times.push_back(bench::MicrosecondsPerCall(1, [&] { bytes = page.Build(readings).size(); }));
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "metrics page, 1024 hosts, 26 drives, 31 adapters, 8 cards, 64 processors: %zu bytes "
      "(%.0f KB), built in %.2f ms (median of %d pages; fastest %.2f ms, slowest %.2f ms)\n",
      bytes, static_cast<double>(bytes) / 1024.0, times[times.size() / 2] / 1000.0, kPages,
      times.front() / 1000.0, times.back() / 1000.0);
  return 0;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
