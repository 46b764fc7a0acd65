#include <gtest/gtest.h>

#include "fakes/fake_drives.h"
#include "fakes/fake_system.h"
#include "monitors/storage/storage_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kGiB = 1'073'741'824;
constexpr int64_t kMiB = 1'048'576;
constexpr int kC = 3;  // the table's index of C:

fakes::FakeDrive FixedDrive(const wchar_t* label, uint32_t serial, int64_t available) {
  fakes::FakeDrive drive;
  drive.Volume = platform::VolumeInformation{label, serial, L"NTFS", 255};
  drive.Space = platform::DriveSpace{available, 100 * kGiB};
  return drive;
}

class StorageMonitorTest : public ::testing::Test {
 protected:
  StorageMonitorTest() {
    LoadTranslations(kEnglish);
    for (const int option : {opt::LogStorageEvents, opt::LogDriveSpace, opt::TrayIconEnabled})
      settings.Set(option, 1);
    drives.Letters[L'C'] = FixedDrive(L"System", 0x1234ABCD, 50 * kGiB);
  }

  // Runs passes as the thread would; the first one scans.
  void Passes(int count) {
    for (int pass = 0; pass < count; ++pass)
      static_cast<void>(monitor.Pass(0));
  }
  DriveRecord Drive(int index) { return readings.Lock()->Drives[static_cast<size_t>(index)]; }

  Settings settings;
  StopSignal stop{settings};
  fakes::FakeClock clock;
  fakes::FakeEnvironment environment;
  fakes::FakeDrives drives;
  MeterTable meters;
  Guarded<DriveTable> readings;
  TitleBoard titles;
  std::vector<std::wstring> events;
  std::vector<std::wstring> changes;
  std::vector<std::wstring> records;
  std::vector<int> trayImages;
  int layouts = 0;
  StorageMonitor monitor{
      stop, StorageSources{.Drives = drives, .Clock = clock, .Env = environment},
      StorageTargets{
          .Options = settings,
          .Meters = meters,
          .Readings = readings,
          .Titles = titles,
          .AddDriveEvent = [this](const std::wstring& line) { events.push_back(line); },
          .AddDriveChange = [this](const std::wstring& line) { changes.push_back(line); },
          .LogRecord = [this](const std::wstring& record) { records.push_back(record); },
          .SetTrayImage = [this](int image) { trayImages.push_back(image); },
          .RefreshLayout = [this] { ++layouts; },
          .MeterChanged = [](int, bool) {},
          .DrivesChanged = [] {},
          .CopyPanel = [](int) {}}};
};

// 1 MiB written to C: shows at the next poll: the difference, the shrink's highlight, one line
// of the drive-change list, one space record, and the title summary of mode 0.
TEST_F(StorageMonitorTest, SpaceThatShrinksIsShownListedLoggedAndTitled) {
  Passes(1);
  EXPECT_EQ(meters.Lock()->at(kC).Text.substr(0, 2), L"C:");
  EXPECT_TRUE(meters.Lock()->at(kC).Active);
  records.clear();
  drives.Letters[L'C'].Space->Available -= kMiB;
  Passes(StorageMonitor::kPollPasses - 1);
  EXPECT_TRUE(changes.empty());  // not polled yet
  Passes(1);
  EXPECT_EQ(Drive(kC).BytesDiff, -kMiB);
  EXPECT_EQ(Drive(kC).FadeLevel, 12);
  Passes(1);  // the flash pass
  EXPECT_EQ(Drive(kC).FadeLevel, 4);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].substr(0, 3), L"C:\n");
  EXPECT_EQ(records,
            std::vector<std::wstring>{L"C: 49 " + std::to_wstring(50 * kGiB - kMiB) + L" " +
                                      std::to_wstring(50 * kGiB + kMiB) + L" -1048576"});
  Passes(StorageMonitor::kTitlePasses);
  EXPECT_EQ(titles.Summary(0).substr(0, 6), L"C: 49%");
}

// A stick put in after the first scan is found at once on the device notice, and lost again.
TEST_F(StorageMonitorTest, ADriveThatComesAndGoesIsFoundAndLost) {
  Passes(1);
  const int layoutsBefore = layouts;
  fakes::FakeDrive stick = FixedDrive(L"STICK", 0x0000BEEF, kGiB);
  stick.Type = 2;
  drives.Letters[L'E'] = stick;
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  EXPECT_EQ(Drive(5).State, DriveState::Present);
  EXPECT_EQ(Drive(5).HighlightCountdown, 3);
  EXPECT_GT(layouts, layoutsBefore);
  // Pulled out between two polls: the poll still reads the letter, without its volume.
  drives.Letters[L'E'].Volume.reset();
  Passes(StorageMonitor::kPollPasses);
  drives.Letters.erase(L'E');
  settings.Set(opt::DriveSetCountdown, 0);  // as the removal notice does
  Passes(1);
  EXPECT_EQ(Drive(5).State, DriveState::Lost);
  EXPECT_FALSE(meters.Lock()->at(5).Active);
  ASSERT_EQ(records.size(), 3u);  // C: found at the start, then E: found and lost
  EXPECT_EQ(records[1].substr(0, 13), L"E+ 0000-BEEF ");
  EXPECT_EQ(records[2].substr(0, 13), L"E- 0000-BEEF ");
  EXPECT_NE(std::find(events.begin(), events.end(), L"E: lost. VolSerial: 0000-BEEF"),
            events.end());
}

// Each drive event counts for its letter, and a lost drive keeps its counts: found, relabelled,
// media changed (a card of another size in the same reader), lost.
TEST_F(StorageMonitorTest, EachDriveEventIsCountedForItsLetter) {
  Passes(1);
  fakes::FakeDrive card = FixedDrive(L"CARD", 0x0000BEEF, kGiB);
  card.Type = 2;
  drives.Letters[L'E'] = card;
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  drives.Letters[L'E'].Volume->Label = L"PHOTOS";
  Passes(StorageMonitor::kPollPasses);
  drives.Letters[L'E'].Space = platform::DriveSpace{kGiB, 2 * kGiB};
  Passes(StorageMonitor::kPollPasses);
  drives.Letters.erase(L'E');
  settings.Set(opt::DriveSetCountdown, 0);
  Passes(1);
  const DriveEventTally e = Drive(5).Events;
  EXPECT_EQ(Drive(5).State, DriveState::Lost);
  EXPECT_EQ((std::vector<int64_t>{e.Found, e.Lost, e.Relabelled, e.MediaChanged}),
            (std::vector<int64_t>{1, 1, 1, 1}));
  const DriveEventTally c = Drive(kC).Events;
  EXPECT_EQ((std::vector<int64_t>{c.Found, c.Lost, c.Relabelled, c.MediaChanged}),
            (std::vector<int64_t>{1, 0, 0, 0}));
}

// The tray shows the first disk's activity only while the tray icon and its option are on.
TEST_F(StorageMonitorTest, TheTrayShowsTheFirstDisksActivity) {
  Passes(1);
  EXPECT_FALSE(drives.DiskOpen);
  settings.Set(opt::DriveLedTray, 1);
  const struct {
    int64_t Read;
    int64_t Write;
    int Image;
  } steps[] = {{0, 0, 110}, {5, 0, 111}, {5, 7, 112}, {6, 8, 113}, {6, 8, 110}};
  std::vector<int> expected;
  for (const auto& step : steps) {
    drives.Activity = platform::DiskActivity{step.Read, step.Write};
    Passes(1);
    if (expected.empty() || expected.back() != step.Image)
      expected.push_back(step.Image);
  }
  EXPECT_TRUE(drives.DiskOpen);
  EXPECT_EQ(trayImages, expected);
  settings.Set(opt::TrayIconEnabled, 0);
  Passes(1);
  EXPECT_FALSE(drives.DiskOpen);
}

// F6 starts the differences again and takes every mark off.
TEST_F(StorageMonitorTest, ResetClearsTheDifferencesAndMarks) {
  Passes(1);
  drives.Letters[L'C'].Space->Available += 2 * kMiB;
  Passes(StorageMonitor::kPollPasses);
  EXPECT_EQ(Drive(kC).BytesDiffSum, 2 * kMiB);
  settings.Request(opt::StorageResetRequest);
  Passes(1);
  EXPECT_EQ(Drive(kC).BytesDiffSum, 0);
  EXPECT_EQ(Drive(kC).FadeLevel, 0);
  EXPECT_EQ(settings.Get(opt::StorageResetRequest), 0);
}

}  // namespace
}  // namespace tarvik
