// What the storage monitor costs with all 26 letters present: the time of a pass, of a pass
// that polls the drives, and of a pass that scans them, over fake drives (the drive calls cost
// nothing here, so the figures are the monitor's own work); and how many cells a pass draws
// when nothing changed. Run by scripts/bench.sh; prints figures, judges nothing.
#include <cstdio>

#include "bench/pass_timing.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_system.h"
#include "monitors/storage/storage_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kGiB = 1'073'741'824;
constexpr int kRounds = 40;

struct Counts {
  int Draws = 0;
};

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
  MeterTable meters;
  Guarded<DriveTable> readings;
  TitleBoard titles;
  Counts counts;
  StorageMonitor monitor(stop, StorageSources{.Drives = drives, .Clock = clock, .Env = environment},
                         StorageTargets{.Options = settings,
                                        .Meters = meters,
                                        .Readings = readings,
                                        .Titles = titles,
                                        .AddDriveEvent = [](const std::wstring&) {},
                                        .AddDriveChange = [](const std::wstring&) {},
                                        .LogRecord = [](const std::wstring&) {},
                                        .SetTrayImage = [](int) {},
                                        // A new layout draws every cell.
                                        .RefreshLayout =
                                            [&] {
                                              for (MeterRecord& record : *meters.Lock())
                                                record.PreviousText = record.Text;
                                            },
                                        .MeterChanged =
                                            [&](int meter, bool force) {
                                              auto table = meters.Lock();
                                              MeterRecord& record =
                                                  (*table)[static_cast<size_t>(meter)];
                                              if (force || record.Text != record.PreviousText) {
                                                ++counts.Draws;
                                                record.PreviousText = record.Text;
                                              }
                                            },
                                        .DrivesChanged = [] {},
                                        .CopyPanel = [](int) {}});
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
  return 0;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
