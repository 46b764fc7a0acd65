// What the storage monitor costs with all 26 letters present: the time of a pass, of a pass
// that polls the drives, and of a pass that scans them, over fake drives (the drive calls cost
// nothing here, so the figures are the monitor's own work); and how many cells a pass draws
// when nothing changed; and what asking the drives on helper threads with a bounded wait adds to
// a poll's drive calls. Run by scripts/bench.sh; prints figures, judges nothing.
#include <cstdio>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

#include "bench/pass_timing.h"
#include "bench/silent_storage_targets.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_system.h"
#include "monitors/storage/answering_drives.h"
#include "monitors/storage/asking_threads.h"
#include "monitors/storage/storage_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kGiB = 1'073'741'824;
constexpr int kRounds = 40;

struct Counts {
  int Draws = 0;
};

struct PollCost {
  double WallUs;
  double ProcessorUs;  // of every thread of the process
};

// The drive calls of one poll of 25 drives (every letter but the system drive C:): a volume and
// a space each.
PollCost CostOfPollCalls(platform::Drives& drives) {
  const std::clock_t processorStart = std::clock();
  const double wall = bench::MicrosecondsPerCall(kRounds, [&drives] {
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
      if (letter == L'C')
        continue;
      const std::wstring name = std::wstring(1, letter) + L":";
      static_cast<void>(drives.Volume(name + L"\\"));
      static_cast<void>(drives.Space(name));
    }
  });
  const double processor =
      static_cast<double>(std::clock() - processorStart) * 1e6 / CLOCKS_PER_SEC / kRounds;
  return {wall, processor};
}

// What asking every drive but the system drive on a helper with a bounded wait adds to a poll:
// a new thread per call, or the asking threads that stay, against asking the drives directly.
void ReportHelperCost(fakes::FakeDrives& drives) {
  std::vector<std::thread> helpers;
  const auto startThread = [&helpers](std::function<void()> work) {
    helpers.emplace_back(std::move(work));
    return true;
  };
  AnsweringDrives onNewThreads(drives, startThread, std::chrono::milliseconds(1'000), L'C');
  Settings settings;
  StopSignal stop(settings);
  AskingThreads askers(startThread, stop);
  AnsweringDrives onAskingThreads(
      drives, [&askers](std::function<void()> work) { return askers.Run(std::move(work)); },
      std::chrono::milliseconds(1'000), L'C');
  const PollCost direct = CostOfPollCalls(drives);
  const PollCost newThreads = CostOfPollCalls(onNewThreads);
  const size_t startedBefore = helpers.size();
  const PollCost askingThreads = CostOfPollCalls(onAskingThreads);
  const size_t askersStarted = helpers.size() - startedBefore;
  stop.Raise();
  for (std::thread& helper : helpers)
    helper.join();
  std::printf(
      "storage monitor, the drive calls of a poll of 25 drives (fakes, every 5 s): asked "
      "directly %.1f us (processor %.1f us); with a bounded wait, each on a new thread %.1f us "
      "(processor %.1f us), on the asking threads %.1f us (processor %.1f us, %zu threads "
      "started in all)\n",
      direct.WallUs, direct.ProcessorUs, newThreads.WallUs, newThreads.ProcessorUs,
      askingThreads.WallUs, askingThreads.ProcessorUs, askersStarted);
}

double MicrosecondsPerPass(StorageMonitor& monitor, int passes) {
  return bench::MicrosecondsPerCall(passes, [&monitor] { static_cast<void>(monitor.Pass(0)); });
}

int Run() {
  LoadTranslations(kEnglish);
  Settings settings;
  StopSignal stop(settings);
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeDrives drives;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    fakes::FakeDrive drive;
    drive.Volume = platform::VolumeInformation{L"Disk", 0x10000000u + letter, L"NTFS", 255};
    drive.Space = platform::DriveSpace{(letter - L'A' + 1) * kGiB, 100 * kGiB};
    drives.Letters[letter] = drive;
  }
  bench::StorageBenchOutputs outputs;
  MeterTable& meters = outputs.Meters;
  Counts counts;
  StorageTargets targets = bench::SilentStorageTargets(settings, outputs);
  // A new layout draws every cell.
  targets.RefreshLayout = [&meters] {
    for (MeterRecord& record : *meters.Lock())
      record.PreviousText = record.Text;
  };
  targets.MeterChanged = [&meters, &counts](int meter, bool force) {
    auto table = meters.Lock();
    MeterRecord& record = (*table)[static_cast<size_t>(meter)];
    if (force || record.Text != record.PreviousText) {
      ++counts.Draws;
      record.PreviousText = record.Text;
    }
  };
  StorageMonitor monitor(stop, StorageSources{.Drives = drives, .Clock = clock, .Env = environment},
                         targets);
  const double firstScan = MicrosecondsPerPass(monitor, 1);
  counts.Draws = 0;
  const double quiet = MicrosecondsPerPass(monitor, kRounds * StorageMonitor::kPollPasses);
  const int quietDraws = counts.Draws;
  settings.Request(opt::StorageRefreshRequest);
  const double scan = MicrosecondsPerPass(monitor, 1);
  std::printf(
      "storage monitor, 26 drives (fakes): first scan %.0f us, a forced scan %.0f us, "
      "an average pass %.2f us (a poll every %d passes), cells drawn while nothing "
      "changed: %d in %d passes\n",
      firstScan, scan, quiet, StorageMonitor::kPollPasses, quietDraws,
      kRounds * StorageMonitor::kPollPasses);
  ReportHelperCost(drives);
  return 0;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
