#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/fake_drives.h"
#include "fakes/fake_system.h"
#include "monitors/storage/answering_drives.h"
#include "monitors/storage/drive_rows.h"
#include "monitors/storage/storage_monitor.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kGiB = 1'073'741'824;
constexpr int64_t kMiB = 1'048'576;
constexpr int kC = 3;  // the table's index of C:

fakes::FakeDrive FixedDrive(const wchar_t* label, uint32_t serial, int64_t available,
                            int64_t total = 100 * kGiB, int type = 3) {
  fakes::FakeDrive drive;
  drive.Type = type;
  drive.Volume = platform::VolumeInformation{label, serial, L"NTFS", 255};
  drive.Space = platform::DriveSpace{available, total};
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

  // Runs passes as the thread would, 100 ms apart; the first one scans.
  void Passes(int count) {
    for (int pass = 0; pass < count; ++pass)
      static_cast<void>(monitor.Pass(tick += StorageMonitor::kPassMs));
  }
  DriveRecord Drive(int index) { return readings.Lock()->Drives[static_cast<size_t>(index)]; }
  std::wstring Row(int index) { return meters.Lock()->at(static_cast<size_t>(index)).Text; }
  bool Told(const std::wstring& line) const {
    return std::find(events.begin(), events.end(), line) != events.end();
  }
  // The calls that were kept waiting come back.
  void AnswerHeld() {
    holding = false;
    for (const std::function<void()>& work : held)
      work();
    held.clear();
  }

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
  int64_t tick = 0;
  // Every drive but the system drive C: is asked as the program asks it, on a helper with a
  // bounded wait; while `holding`, the helpers do not come back until AnswerHeld().
  bool holding = false;
  std::vector<std::function<void()>> held;
  AnsweringDrives answering{drives,
                            [this](std::function<void()> work) {
                              if (holding)
                                held.push_back(std::move(work));
                              else
                                work();
                              return true;
                            },
                            std::chrono::milliseconds(1), L'C'};
  StorageMonitor monitor{
      stop, StorageSources{.Drives = answering, .Clock = clock, .Env = environment},
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
  std::vector<std::wstring> drivesFoundAndLost;
  for (const std::wstring& record : records) {
    if (record[1] == L'+' || record[1] == L'-')
      drivesFoundAndLost.push_back(record.substr(0, 13));
  }
  EXPECT_EQ(drivesFoundAndLost,
            (std::vector<std::wstring>{L"C+ 1234-ABCD ", L"E+ 0000-BEEF ", L"E- 0000-BEEF "}));
  EXPECT_NE(std::find(events.begin(), events.end(), L"E: lost. VolSerial: 0000-BEEF"),
            events.end());
}

// A stick pulled while it is still marked new leaves nothing behind when another drive changes:
// no space record nor drive-change line of its own, and no record with a negative used size.
TEST_F(StorageMonitorTest, AStickPulledWhileNewLeavesNoRecordBehind) {
  Passes(1);
  fakes::FakeDrive stick = FixedDrive(L"STICK", 0x0000BEEF, 3 * kGiB);
  stick.Type = 2;
  drives.Letters[L'E'] = stick;
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  ASSERT_EQ(Drive(5).FadeLevel, 11);
  drives.Letters.erase(L'E');
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  drives.Letters[L'C'].Space->Available -= kMiB;
  Passes(StorageMonitor::kPollPasses + 1);
  ASSERT_FALSE(changes.empty());
  for (const std::wstring& line : changes)
    EXPECT_EQ(line.substr(0, 3), L"C:\n");
  for (const std::wstring& record : records) {
    EXPECT_NE(record.substr(0, 3), L"E: ") << record;
    EXPECT_EQ(record.find(L" -3221225472"), std::wstring::npos) << record;
  }
}

// A drive that says it has more free space than it holds, or less than none (a share's server may
// say anything), is kept within its total: no record shows a negative used size.
TEST_F(StorageMonitorTest, ASpaceOutsideItsTotalIsKeptWithinIt) {
  drives.Letters[L'C'].Space->Available = 120 * kGiB;
  Passes(1);
  EXPECT_EQ(records.front(), L"C+ 1234-ABCD 107374182400 107374182400 System");
  EXPECT_EQ(Drive(kC).FreePercent, 100);
  drives.Letters[L'C'].Space->Available = -kGiB;
  Passes(StorageMonitor::kPollPasses + 1);
  EXPECT_EQ(Drive(kC).BytesAvailable, 0);
  EXPECT_EQ(Drive(kC).BytesDiff, -100 * kGiB);
  ASSERT_FALSE(changes.empty());
  EXPECT_TRUE(changes.back().ends_with(L"\n100%  100.0G")) << changes.back();  // all used
}

// A stick pulled after a change and before the title told it: the title does not show it gone.
TEST_F(StorageMonitorTest, TheTitleTellsNoDriveThatIsGone) {
  drives.Letters[L'E'] = FixedDrive(L"STICK", 0x0000BEEF, kGiB, 2 * kGiB, 2);
  Passes(1);
  drives.Letters[L'E'].Space->Available -= kMiB;
  Passes(StorageMonitor::kPollPasses + 1);  // the poll, then the flash pass
  drives.Letters.erase(L'E');
  settings.Request(opt::DriveChangeRequest);
  Passes(StorageMonitor::kTitlePasses);
  EXPECT_EQ(titles.Summary(0), L"");
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

// A first disk that cannot be opened is tried once, and again only when the user asks anew.
TEST_F(StorageMonitorTest, AFirstDiskThatDoesNotOpenIsTriedOnce) {
  drives.DiskCanOpen = false;
  settings.Set(opt::DriveLedTray, 1);
  Passes(20);
  EXPECT_EQ(drives.DiskOpenTries, 1);
  EXPECT_EQ(settings.Get(opt::DriveLedTray), -1);
  settings.Set(opt::DriveLedTray, 1);  // the Settings tab's check box
  Passes(20);
  EXPECT_EQ(drives.DiskOpenTries, 2);
  EXPECT_TRUE(trayImages.empty());
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

// A card taken out of its reader, or a disc ejected, keeps its letter: the notice shows "No
// Media / Blank" without space at once, and the polls keep it so; another medium put in is marked
// new until its highlight fades, shows its own label and space, and starts its total change
// again. No drive is reported found, lost or renamed for it. Windows says "not ready" for the
// volume of an empty reader; Wine names a volume of the letter's own, without space.
struct EmptyReader {
  int Type;
  bool NamesAVolume;
};
class MediumChangeTest : public StorageMonitorTest,
                         public ::testing::WithParamInterface<EmptyReader> {};

TEST_P(MediumChangeTest, UnderALetterThatStays) {
  constexpr int kE = 5;
  const int type = GetParam().Type;
  drives.Letters[L'E'] = FixedDrive(L"CARD", 0x11112222, kGiB, 8 * kGiB, type);
  Passes(1);
  drives.Letters[L'E'].Space->Available -= kMiB;  // a disc's space never changes; a card's does
  Passes(StorageMonitor::kPollPasses);
  events.clear();
  drives.Letters[L'E'].Volume.reset();
  if (GetParam().NamesAVolume)
    drives.Letters[L'E'].Volume = platform::VolumeInformation{L"", 0x45000000, L"NTFS", 255};
  drives.Letters[L'E'].Space.reset();
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  EXPECT_EQ(Row(kE).substr(0, 18), L"E:No Media / Blank");
  Passes(4 * StorageMonitor::kPollPasses);  // the re-scan and the polls after it
  EXPECT_EQ(Row(kE), L"E:No Media / Blank    0.0!");
  EXPECT_EQ(Drive(kE).FadeLevel, 0);

  // The new medium tells its label a moment after its serial.
  drives.Letters[L'E'] = FixedDrive(L"", 0x33334444, 2 * kGiB, 4 * kGiB, type);
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  EXPECT_NE(Row(kE).find(L" -NEW!-"), std::wstring::npos) << Row(kE);
  drives.Letters[L'E'].Volume->Label = L"HOLIDAY";
  Passes(5 * StorageMonitor::kPollPasses);
  EXPECT_EQ(Row(kE), L"E: 50% 2048.0M    --  2048.0M");
  EXPECT_EQ(Drive(kE).VolumeName, L"HOLIDAY");
  EXPECT_EQ(Drive(kE).BytesDiffSum, 0);
  EXPECT_TRUE(events.empty()) << events.front();
}

INSTANTIATE_TEST_SUITE_P(CardAndDisc, MediumChangeTest,
                         ::testing::Values(EmptyReader{2, false}, EmptyReader{5, false},
                                           EmptyReader{2, true}, EmptyReader{5, true}));

// An audio disc keeps the name of its tracks through the polls.
TEST_F(StorageMonitorTest, APolledDiscKeepsItsName) {
  fakes::FakeDrive disc;
  disc.Type = 5;
  disc.Volume = platform::VolumeInformation{L"Audio CD", 0x0BADF00D, L"CDFS", 110, true};
  disc.Audio = platform::AudioDisc{12, 3723};
  disc.Space = platform::DriveSpace{0, 656 * kMiB};
  drives.Letters[L'F'] = disc;
  Passes(1 + 3 * StorageMonitor::kPollPasses);
  EXPECT_EQ(Row(6), L"F:Audio: 12 Tracks   62:03");
}

// A drive that does not answer in time (a disc spinning up, a dying disk) is not taken for one
// without media: a present one keeps its row, marked as waiting, and nothing is told until it
// answers again; a new one is found only once it answers, with its own serial.
TEST_F(StorageMonitorTest, ADriveThatDoesNotAnswerYetIsNeitherChangedNorFound) {
  constexpr int kE = 5, kF = 6;
  drives.Letters[L'E'] = FixedDrive(L"USBDISK", 0x11112222, kGiB, 8 * kGiB);
  Passes(1);
  const std::wstring shown = Row(kE);
  events.clear();
  records.clear();
  holding = true;
  Passes(3 * StorageMonitor::kPollPasses);
  EXPECT_EQ(Row(kE), shown.substr(0, 14) + L" -WAIT-" + shown.substr(21));
  EXPECT_EQ(held.size(), 1u);  // asked once while stuck
  AnswerHeld();
  Passes(StorageMonitor::kPollPasses);
  EXPECT_EQ(Row(kE), shown);

  drives.Letters[L'F'] = FixedDrive(L"BACKUP", 0x5555AAAA, kGiB, 2 * kGiB, 2);
  holding = true;
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  EXPECT_NE(Drive(kF).State, DriveState::Present);
  AnswerHeld();
  Passes(StorageMonitor::kMediaChangePasses + 1);
  EXPECT_EQ(Drive(kF).State, DriveState::Present);
  EXPECT_EQ(records, std::vector<std::wstring>{L"F+ 5555-AAAA 1073741824 2147483648 BACKUP"});
  EXPECT_TRUE(Told(L"F: found. VolSerial: 5555-AAAA"));
  EXPECT_FALSE(Told(L"F: found. VolSerial: 0000-0000"));
}

// Only another set of letters beeps: not F5, F6, a notice under a letter that stays or a unit.
TEST_F(StorageMonitorTest, OnlyAnotherSetOfLettersBeeps) {
  settings.Set(opt::SoundEnabled, 1);
  Passes(1);
  for (const int request :
       {opt::StorageRefreshRequest, opt::StorageResetRequest, opt::DriveChangeRequest}) {
    settings.Request(request);
    Passes(2);
  }
  settings.Set(opt::StorageUnit, 3);
  Passes(2 * StorageMonitor::kDriveSetPasses);
  EXPECT_TRUE(environment.Beeps.empty());
  drives.Letters[L'E'] = FixedDrive(L"STICK", 0x0000BEEF, kGiB, 2 * kGiB, 2);
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  EXPECT_EQ(environment.Beeps, (std::vector<std::pair<int, int>>{{1000, 55}}));
}

// Choosing a unit shows the rows in it at once and keeps the drives' total changes.
TEST_F(StorageMonitorTest, ChoosingAUnitShowsTheRowsInItAndKeepsTheTotalChanges) {
  Passes(1);
  drives.Letters[L'C'].Space->Available += 2 * kMiB;
  Passes(StorageMonitor::kPollPasses + 1);
  settings.Set(opt::StorageUnit, 3);  // MB, as the Settings tab stores it
  Passes(1);
  EXPECT_EQ(Drive(kC).BytesDiffSum, 2 * kMiB);
  EXPECT_EQ(Drive(kC).ListText, L"C:\n 50%51202.0M\n+   2.0M\n+   2.0M\n51198.0M");
}

// A fixed volume that grows is told with its old and new totals and taken over by a re-scan; a
// removable one whose total changes holds another medium: its total change starts again.
TEST_F(StorageMonitorTest, ATotalThatChangesIsToldOrIsAnotherMedium) {
  drives.Letters[L'E'] = FixedDrive(L"CARD", 0x11112222, kGiB, 8 * kGiB, 2);
  Passes(1);
  drives.Letters[L'E'].Space->Available -= kMiB;
  Passes(StorageMonitor::kPollPasses);
  ASSERT_EQ(Drive(5).BytesDiffSum, -kMiB);
  records.clear();
  drives.Letters[L'C'].Space->Total = 120 * kGiB;
  drives.Letters[L'E'].Space->Total = 16 * kGiB;
  Passes(StorageMonitor::kPollPasses + 1);
  EXPECT_TRUE(Told(L"C: total space changed."));
  EXPECT_TRUE(Told(L"  New: 128849018880 (120.0G)"));
  EXPECT_EQ(Drive(kC).BytesTotal, 120 * kGiB);
  EXPECT_NE(
      std::find(records.begin(), records.end(), L"C! 1234-ABCD 53687091200 128849018880 System"),
      records.end());
  EXPECT_EQ(Drive(5).BytesTotal, 16 * kGiB);
  EXPECT_EQ(Drive(5).BytesDiffSum, 0);
  EXPECT_FALSE(Told(L"E: total space changed."));
}

// A second letter of one volume follows it: when its serial changes (another volume mounted
// there) it is scanned at once and gets a row of its own.
TEST_F(StorageMonitorTest, AnAliasWhoseSerialChangesIsScannedAtOnce) {
  drives.Letters[L'F'] = drives.Letters[L'C'];
  Passes(1);
  ASSERT_EQ(Drive(6).AliasOf, kC);
  EXPECT_FALSE(meters.Lock()->at(6).Active);
  drives.Letters[L'F'].Volume->Serial = 0x0F0F0F0F;
  Passes(StorageMonitor::kPollPasses + 1);
  EXPECT_EQ(Drive(6).AliasOf, 0);
  EXPECT_TRUE(meters.Lock()->at(6).Active);
}

// The poll finds a new label: the "Volume name changed" block and its "*" record.
TEST_F(StorageMonitorTest, ThePollFindsALabelChange) {
  Passes(1);
  records.clear();
  drives.Letters[L'C'].Volume->Label = L"Backup";
  Passes(StorageMonitor::kPollPasses);
  EXPECT_TRUE(Told(L"C: Volume name changed."));
  EXPECT_EQ(records,
            std::vector<std::wstring>{L"C* 1234-ABCD Volume Name: \"System\" -> \"Backup\""});
}

// The drive-change list takes the lines of the followed drive only, of every drive when none is.
TEST_F(StorageMonitorTest, TheDriveChangeListFollowsTheChosenDrive) {
  drives.Letters[L'D'] = FixedDrive(L"Data", 0x0000D0D0, 10 * kGiB);
  Passes(1);
  const struct {
    int Followed;
    std::vector<std::wstring> Drives;
  } cases[] = {{4, {L"D:"}}, {0, {L"C:", L"D:"}}, {kC, {L"C:"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Followed);
    settings.Set(opt::FollowedDrive, c.Followed);
    changes.clear();
    drives.Letters[L'C'].Space->Available -= kMiB;
    drives.Letters[L'D'].Space->Available -= kMiB;
    Passes(StorageMonitor::kPollPasses + 1);  // the poll, then the flash pass
    std::vector<std::wstring> listed;
    for (const std::wstring& line : changes)
      listed.push_back(line.substr(0, 2));
    EXPECT_EQ(listed, c.Drives);
  }
}

// A drive that falls below 5 % free is told once with a "<" record, and again only after it rose
// above 7 %. While short, its copy and the summary's tell when it will be full at the pace of the
// last half hour, once that pace is known over 10 minutes; a drive that does not shrink tells none.
TEST_F(StorageMonitorTest, FallingShortOfSpaceIsToldOncePerFall) {
  drives.Letters[L'D'] = FixedDrive(L"Data", 0x0000D0D0, 50 * kGiB);
  drives.Letters[L'C'].Space->Available = 5 * kGiB + 2 * kMiB;
  Passes(1);
  records.clear();
  const auto poll = [this](int64_t change) {
    drives.Letters[L'C'].Space->Available += change;
    Passes(StorageMonitor::kPollPasses);
  };
  const auto lowRecords = [this] {
    return std::count_if(records.begin(), records.end(),
                         [](const std::wstring& record) { return record.starts_with(L"C< "); });
  };
  for (int step = 0; step < 3; ++step)
    poll(-kMiB);
  EXPECT_TRUE(Told(L"C: low on space (4%)."));
  EXPECT_EQ(lowRecords(), 1);
  EXPECT_EQ(records.back(), L"C< 1234-ABCD 5367660544 107374182400 System");
  for (int step = 0; step < 105; ++step)  // 1 MiB every 5 s, not yet over 10 minutes
    poll(-kMiB);
  EXPECT_EQ(Drive(kC).FullInHours, 0);
  for (int step = 0; step < 20; ++step)
    poll(-kMiB);
  EXPECT_EQ(Drive(kC).FullInHours, 7);
  const std::vector<DriveListRow> rows = DriveListRows(*readings.Lock());
  EXPECT_TRUE(rows[0].Text.ends_with(L"\nfull in about 7 h")) << rows[0].Text;
  EXPECT_TRUE(rows[2].Text.ends_with(L"\nC: full in about 7 h")) << rows[2].Text;  // summary
  poll(kGiB + kGiB / 2);  // 6 %: no recovery
  poll(-kGiB);
  poll(2 * kGiB);  // 7 %: no recovery yet
  poll(-3 * kGiB);
  EXPECT_EQ(lowRecords(), 1);
  poll(4 * kGiB);  // 8 %
  EXPECT_EQ(Drive(kC).FullInHours, 0);
  EXPECT_EQ(lowRecords(), 1);
  poll(-4 * kGiB);
  EXPECT_EQ(lowRecords(), 2);
  EXPECT_EQ(Drive(kC).FullInHours, 0);  // the pace now is growth
}

}  // namespace
}  // namespace tarvik

namespace tarvik {
namespace {

constexpr int kD = 4;

// How many times the fake was asked for a letter's volume.
int VolumeReads(const fakes::FakeDrives& drives, wchar_t letter) {
  return drives.VolumeReads[static_cast<size_t>(letter - L'A')].load();
}

// A scan reads the volume of the drives that can have changed only; the others keep their last
// reading, and a new label on one of them still shows at its next poll.
struct ScanCase {
  const char* Name;
  void (*Change)(fakes::FakeDrives& drives, Settings& options);
  int PassesToScan;  // from the change to the end of the scan it causes
  wchar_t Changed;   // the drive that changed
  int ReadsOfChanged;
  int ReadsOfD;  // the polls' in that time, or one on F5
};
class ScanReadsTest : public StorageMonitorTest, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(ScanReadsTest, OnlyTheDrivesThatCanHaveChanged) {
  const ScanCase& c = GetParam();
  drives.Letters[L'D'] = FixedDrive(L"Data", 0x0000D0D0, 10 * kGiB);
  drives.Letters[L'E'] = FixedDrive(L"CARD", 0x11112222, kGiB, 8 * kGiB, 2);
  Passes(1);
  const int changedBefore = VolumeReads(drives, c.Changed);
  const int dBefore = VolumeReads(drives, L'D');
  c.Change(drives, settings);
  Passes(c.PassesToScan);
  EXPECT_EQ(VolumeReads(drives, c.Changed) - changedBefore, c.ReadsOfChanged);
  EXPECT_EQ(VolumeReads(drives, L'D') - dBefore, c.ReadsOfD);
  EXPECT_EQ(Drive(kD).VolumeSerial, L"0000-D0D0");
  EXPECT_EQ(Drive(kD).DisplayOrder, 2);
  drives.Letters[L'D'].Volume->Label = L"Archive";
  Passes(StorageMonitor::kPollPasses);
  EXPECT_TRUE(Told(L"D: Volume name changed."));
}

INSTANTIATE_TEST_SUITE_P(
    StorageMonitorTest, ScanReadsTest,
    ::testing::Values(ScanCase{"AStickPutIn",
                               [](fakes::FakeDrives& drives, Settings& options) {
                                 drives.Letters[L'G'] =
                                     FixedDrive(L"STICK", 0x0000BEEF, kGiB, 2 * kGiB, 2);
                                 options.Request(opt::DriveChangeRequest);
                               },
                               1, L'G', 1, 0},
                      ScanCase{"AnotherCardInTheReader",
                               [](fakes::FakeDrives& drives, Settings&) {
                                 drives.Letters[L'E'].Volume->Serial = 0x33334444;
                               },
                               StorageMonitor::kPollPasses + StorageMonitor::kMediaChangePasses,
                               L'E', 2, 1},
                      ScanCase{"AVolumeThatGrew",
                               [](fakes::FakeDrives& drives, Settings&) {
                                 drives.Letters[L'C'].Space->Total = 120 * kGiB;
                               },
                               StorageMonitor::kPollPasses + 1, L'C', 2, 1},
                      ScanCase{"F5ReadsEveryDrive",
                               [](fakes::FakeDrives&, Settings& options) {
                                 options.Request(opt::StorageRefreshRequest);
                               },
                               1, L'E', 1, 1}),
    [](const ::testing::TestParamInfo<ScanCase>& row) { return std::string(row.param.Name); });

// While drives do not answer, they are asked again every 4 s under the letters read last: the
// letters are read at their own pace of 20 s, the drives that answer at their polls only, and
// their changes still show; the drive found once it answers.
TEST_F(StorageMonitorTest, DrivesThatDoNotAnswerAreAskedAgainWithoutTheLettersOrTheOthers) {
  constexpr int kF = 6;
  drives.Letters[L'D'] = FixedDrive(L"Data", 0x0000D0D0, 10 * kGiB);
  Passes(1);
  holding = true;  // every drive but C: stops answering
  drives.Letters[L'F'] = FixedDrive(L"BACKUP", 0x5555AAAA, kGiB, 2 * kGiB, 2);
  settings.Request(opt::DriveChangeRequest);
  Passes(1);
  ASSERT_NE(Drive(kF).State, DriveState::Present);
  const int lettersBefore = drives.LetterReads.load();
  const int cBefore = VolumeReads(drives, L'C');
  drives.Letters[L'C'].Space->Available -= kMiB;
  Passes(600);  // a minute
  EXPECT_EQ(drives.LetterReads.load() - lettersBefore, 3);
  EXPECT_EQ(VolumeReads(drives, L'C') - cBefore, 12);
  EXPECT_EQ(Drive(kC).BytesDiffSum, -kMiB);
  AnswerHeld();
  Passes(StorageMonitor::kMediaChangePasses);
  EXPECT_EQ(Drive(kF).State, DriveState::Present);
  EXPECT_TRUE(Told(L"F: found. VolSerial: 5555-AAAA"));
}

}  // namespace
}  // namespace tarvik
