// What the network monitor costs with a full table of 31 adapters: an enumeration, a sampling
// pass (once a second) and an ordinary pass, over fake IP Helper tables (the system calls cost
// nothing here, so the figures are the monitor's own work); and how many adapter items, list rows
// and graph samples a second of unchanged counters sends to the window. Run by scripts/bench.sh;
// prints figures, judges nothing.
#include <array>
#include <cstdio>

#include "bench/pass_timing.h"
#include "fakes/fake_network.h"
#include "fakes/fake_system.h"
#include "monitors/network/network_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kRounds = 200;

struct Counts {
  int Draws = 0;
  int Rows = 0;
  int Samples = 0;
};

// Passes of the monitor, each in a new second or all in the same one; the monotonic clock moves
// a pass's time each.
double MicrosecondsPerPass(NetworkMonitor& monitor, fakes::FakeClock& clock, int passes,
                           bool newSecond) {
  return bench::MicrosecondsPerCall(passes, [&] {
    clock.Now += newSecond ? 1 : 0;
    clock.Tick += NetworkMonitor::kPassMs;
    static_cast<void>(monitor.Pass(clock.Tick));
  });
}

int Run() {
  LoadTranslations(kEnglish);
  Settings settings;
  StopSignal stop(settings);
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeNetwork network;
  for (int i = 0; i < 31; ++i)
    network.AddAdapter(L"Adapter " + std::to_wstring(i), static_cast<uint32_t>(3 + 4 * i),
                       1'000'000 + i, L"10.0.0." + std::to_wstring(i + 1));
  fakes::FakeHttp http;
  AddressLookup lookup([&http] { return http.Get("http://127.0.0.1/json/", {}, {}); },
                       fakes::RunAtOnce);
  MeterTable meters;
  Guarded<NetworkReadings> readings;
  TitleBoard titles;
  Counts counts;
  NetworkMonitor monitor(
      stop,
      NetworkSources{.Network = network, .Clock = clock, .Env = environment, .Lookup = lookup},
      NetworkTargets{.Options = settings,
                     .Meters = meters,
                     .Readings = readings,
                     .Titles = titles,
                     .AddNetworkEvent = [](const std::wstring&) {},
                     .AddTrafficRow = [&](const std::wstring&) { ++counts.Rows; },
                     .ClearTraffic = [] {},
                     .ShowInformation = [](const std::vector<std::wstring>&) {},
                     .MeterChanged =
                         [&](int meter, bool force) {
                           auto table = meters.Lock();
                           MeterRecord& record = (*table)[static_cast<size_t>(meter)];
                           if (force || record.Text != record.PreviousText) {
                             ++counts.Draws;
                             record.PreviousText = record.Text;
                           }
                         },
                     .RefreshLayout = [] {},
                     .AdaptersChanged = [] {},
                     .AddGraphSample = [&](int, float) { ++counts.Samples; },
                     .RescaleGraph = [](int, int64_t) {},
                     .CopyPanel = [](int) {}});
  const double first = MicrosecondsPerPass(monitor, clock, 1, true);
  MicrosecondsPerPass(monitor, clock, NetworkMonitor::kSamplePasses * 2, true);
  settings.Request(opt::NetworkRefreshRequest);
  const double enumeration = MicrosecondsPerPass(monitor, clock, 1, true);
  settings.Set(opt::RealTimeNetwork, 1);
  MicrosecondsPerPass(monitor, clock, 2, true);
  counts = {};
  const double sample = MicrosecondsPerPass(monitor, clock, kRounds, true);
  const Counts quiet = counts;
  settings.Set(opt::RealTimeNetwork, 0);
  const double ordinary = MicrosecondsPerPass(monitor, clock, kRounds, false);
  // A minute of passes at each cadence, the seconds moving as they do: how often the costly
  // Internet state is asked for while nothing changes.
  std::array<int, 2> internetQueries{};
  for (const int realTime : {0, 1}) {
    settings.Set(opt::RealTimeNetwork, realTime);
    const int before = network.FlagQueries;
    for (int pass = 0; pass < 600; ++pass)
      MicrosecondsPerPass(monitor, clock, 1, pass % NetworkMonitor::kSamplePasses == 0);
    internetQueries[static_cast<size_t>(realTime)] = network.FlagQueries - before;
  }
  std::printf(
      "network monitor, 31 adapters (fakes): first pass %.0f us, an enumeration %.0f us, "
      "a sampling pass %.1f us, an average pass %.2f us (a sample every %d passes); per "
      "sample of unchanged counters: %.1f items drawn, %.1f traffic rows, %.1f graph samples\n",
      first, enumeration, sample, ordinary, NetworkMonitor::kSamplePasses,
      static_cast<double>(quiet.Draws) / kRounds, static_cast<double>(quiet.Rows) / kRounds,
      static_cast<double>(quiet.Samples) / kRounds);
  std::printf(
      "network monitor: the Internet state asked %d times in a minute of unchanged adapters, "
      "%d times with real-time network updates\n",
      internetQueries[0], internetQueries[1]);
  return 0;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
