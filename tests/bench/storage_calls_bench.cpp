// How often the storage monitor asks the system, per minute, over a simulated hour of passes on
// fake drives: the letters, and each drive's volume and space. Four hours are played: a quiet
// one, one where every drive but the system drive stops answering, one with a stick put in and
// pulled out again every ten minutes, and one with another card in the reader every minute. Run
// by scripts/bench.sh; prints figures, judges nothing.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/silent_storage_targets.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_system.h"
#include "monitors/storage/answering_drives.h"
#include "monitors/storage/storage_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kGiB = 1'073'741'824;
constexpr int kMinutes = 60;
constexpr int kPassesPerMinute = 60'000 / StorageMonitor::kPassMs;
constexpr int kStickPeriodMinutes = 10;
constexpr const wchar_t* kLetters = L"CDEFG";

fakes::FakeDrive Drive(int type, uint32_t serial, int64_t total) {
  fakes::FakeDrive drive;
  drive.Type = type;
  drive.Volume = platform::VolumeInformation{L"Disk", serial, L"NTFS", 255};
  drive.Space = platform::DriveSpace{total / 2, total};
  return drive;
}

// The system drive C:, a second disk D:, a card E: in its reader and a disc F:.
void FillMachine(fakes::FakeDrives& drives) {
  drives.Letters[L'C'] = Drive(3, 0xC0C0C0C0, 100 * kGiB);
  drives.Letters[L'D'] = Drive(3, 0xD0D0D0D0, 500 * kGiB);
  drives.Letters[L'E'] = Drive(2, 0xE0E0E0E0, 32 * kGiB);
  drives.Letters[L'F'] = Drive(5, 0xF0F0F0F0, kGiB);
}

// One minute of the hour: the stick G: comes at the start of every tenth minute and goes five
// minutes later, each time with the system's notice.
using Minute = std::function<void(int minute, fakes::FakeDrives& drives, Settings& options)>;

void PlayHour(const char* name, bool othersHang, const Minute& minute) {
  Settings options;
  StopSignal stop(options);
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeDrives drives;
  FillMachine(drives);
  // A helper that never comes back: every drive asked on one hangs.
  std::vector<std::function<void()>> held;
  AnsweringDrives answering(
      drives,
      [&held, othersHang](std::function<void()> work) {
        if (othersHang)
          held.push_back(std::move(work));
        else
          work();
        return true;
      },
      std::chrono::milliseconds(0), L'C');
  bench::StorageBenchOutputs outputs;
  StorageMonitor monitor(stop,
                         StorageSources{.Drives = answering, .Clock = clock, .Env = environment},
                         bench::SilentStorageTargets(options, outputs));
  int64_t tick = 0;
  for (int at = 0; at < kMinutes; ++at) {
    minute(at, drives, options);
    for (int pass = 0; pass < kPassesPerMinute; ++pass)
      static_cast<void>(monitor.Pass(tick += StorageMonitor::kPassMs));
  }
  std::printf("  %-34s letters %5.2f;", name, drives.LetterReads.load() / double(kMinutes));
  for (const wchar_t* letter = kLetters; *letter != L'\0'; ++letter) {
    const auto index = static_cast<size_t>(*letter - L'A');
    std::printf("  %lc: volume %5.2f space %5.2f", static_cast<wint_t>(*letter),
                drives.VolumeReads[index].load() / double(kMinutes),
                drives.SpaceReads[index].load() / double(kMinutes));
  }
  std::printf("\n");
}

void StickInAndOut(int minute, fakes::FakeDrives& drives, Settings& options) {
  if (minute % kStickPeriodMinutes == 0)
    drives.Letters[L'G'] = Drive(2, 0x57C157C1, 64 * kGiB);
  else if (minute % kStickPeriodMinutes == kStickPeriodMinutes / 2)
    drives.Letters.erase(L'G');
  else
    return;
  options.Request(opt::DriveChangeRequest);
}

// No notice comes for a card swapped in its reader (none under Wine): the poll finds it.
void CardEveryMinute(int minute, fakes::FakeDrives& drives, Settings&) {
  drives.Letters[L'E'].Volume->Serial = 0xE0000000u + static_cast<uint32_t>(minute);
}

int Run() {
  LoadTranslations(kEnglish);
  std::printf(
      "storage monitor, calls per minute over a simulated hour (fakes; C: system disk, D: disk, "
      "E: card, F: disc; G: a stick in for 5 of every 10 minutes):\n");
  PlayHour("quiet", false, [](int, fakes::FakeDrives&, Settings&) {});
  PlayHour("every drive but C: not answering", true, [](int, fakes::FakeDrives&, Settings&) {});
  PlayHour("a stick in and out every 10 min", false, StickInAndOut);
  PlayHour("another card in E: every minute", false, CardEveryMinute);
  return 0;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
