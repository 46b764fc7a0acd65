#include "monitors/storage/storage_monitor.h"

#include "core/error_signal.h"
#include "core/palette.h"
#include "monitors/storage/drive_events.h"
#include "monitors/storage/drive_rows.h"
#include "monitors/storage/low_space.h"
#include "text/format_size.h"

namespace tarvik {
namespace {

constexpr int kStoragePriority = 20;
constexpr int kStorageTabCopy = 3;
constexpr int kDriveTitleMode = 0;
// Fade levels: a drive that changed is drawn in the palette entry of its level, and every flash
// pass lowers the level by 8 until it is below 8.
constexpr int kFlashStep = 8;
constexpr int kLastSteadyLevel = 7;
constexpr int kShrankLevel = 12;
constexpr int kGrewLevel = 10;
constexpr int kMediaLevel = 15;
// A medium put in is marked like a drive that arrived, as long.
constexpr int kNewMediumLevel = 11;
constexpr int kMediumHighlightPolls = 3;
// The tray's activity images: idle, reading, writing, both.
constexpr int kIdleImage = 110;
constexpr int kReadImage = 111;
constexpr int kWriteImage = 112;
constexpr int kReadWriteImage = 113;
constexpr int kFirstDiskUnavailable = -1;

int ActivityImage(const platform::DiskActivity& before, const platform::DiskActivity& now) {
  const bool read = now.ReadTime != before.ReadTime;
  const bool written = now.WriteTime != before.WriteTime;
  if (read && written)
    return kReadWriteImage;
  if (read)
    return kReadImage;
  return written ? kWriteImage : kIdleImage;
}

}  // namespace

StorageMonitor::StorageMonitor(StopSignal& stop, StorageSources sources, StorageTargets targets)
    : MonitorThread(kName, kStoragePriority, stop, sources.Clock, sources.Env),
      sources_(std::move(sources)),
      targets_(std::move(targets)),
      ports_{.Drives = sources_.Drives,
             .Options = targets_.Options,
             .AddDriveEvent = targets_.AddDriveEvent,
             .LogRecord = [this](const std::wstring& record) {
               if (LogOn(opt::LogStorageEvents))
                 targets_.LogRecord(record);
             }} {}

int StorageMonitor::Pass(int64_t tickMs) {
  Settings& options = targets_.Options;
  tickMs_ = tickMs;
  if (flash_)
    FlashPass();
  if (titleCountdown_ < 1)
    UpdateTitle();
  const bool notice = options.Take(opt::DriveChangeRequest) != 0;
  bool refresh = options.Take(opt::StorageRefreshRequest) != 0 || !scanned_;
  if (options.Take(opt::StorageResetRequest) != 0) {
    ResetDifferencesAndMarks();
    refresh = true;
  }
  if ((DriveSetCountdown() < 1 || notice || refresh) && !options.IsOn(opt::StopFlag)) {
    // A notice under a letter that stays (a card taken out of its reader) is the poll's to see.
    if (!CheckDriveSet(refresh) && notice)
      pollCountdown_ = 0;
  } else if (retryCountdown_ > 0 && --retryCountdown_ == 0 && !options.IsOn(opt::StopFlag)) {
    AskUnansweredAgain();
  }
  if (scanned_ && options.Get(opt::StorageUnit) != shownUnit_) {
    RebuildRows();
    Publish();
  }
  if (pollCountdown_ < 1)
    PollDrives();
  ShowActivity();
  if (options.Get(opt::CopyRequest) == kStorageTabCopy)
    targets_.CopyPanel(kStorageTabCopy);
  CountDownDriveSet();
  --pollCountdown_;
  --titleCountdown_;
  return kPassMs;
}

// Each drive that changed fades one step, joins the letters the title tells of, and, unless the
// user follows another drive, gets a dated line with its space and the change.
void StorageMonitor::FlashPass() {
  const int followed = targets_.Options.Get(opt::FollowedDrive);
  const int unit = targets_.Options.Get(opt::StorageUnit);
  for (int index = 1; index < kDriveRecords; ++index) {
    DriveRecord& drive = table_.Drives[static_cast<size_t>(index)];
    if (drive.FadeLevel <= kLastSteadyLevel)
      continue;
    drive.FadeLevel -= kFlashStep;
    drive.BackColour = kPalette[static_cast<size_t>(drive.FadeLevel)];
    if (changedLetters_.find(LetterOf(index)) == std::wstring::npos)
      changedLetters_ += LetterOf(index);
    if (drive.State == DriveState::Present && drive.DisplayOrder > 0)
      ShowRow(index);
    if (followed == 0 || followed == index)
      targets_.AddDriveChange(DriveChangeLine(drive, unit));
    if (LogOn(opt::LogDriveSpace))
      targets_.LogRecord(DriveSpaceRecord(drive));
  }
  flash_ = false;
  Publish();
}

// The summary of title-bar mode 0: the drive that changed last, one changed drive at a time; a
// drive gone meanwhile has nothing to tell.
void StorageMonitor::UpdateTitle() {
  titleCountdown_ = kTitlePasses;
  if (changedLetters_.empty())
    return;
  const int index = changedLetters_.front() - LetterOf(0);
  changedLetters_.erase(0, 1);
  const DriveRecord& drive = table_.Drives[static_cast<size_t>(index)];
  if (drive.BytesDiff == 0 || drive.State != DriveState::Present)
    return;
  const std::wstring title =
      drive.Letter + drive.AliasLetters + drive.Mark + L" " + std::to_wstring(drive.FreePercent) +
      L"% " + FormatSize(drive.BytesAvailable, 0) + L" " + FormatSize(drive.BytesDiff, 0);
  targets_.Titles.Publish(kDriveTitleMode, title);
}

// The letters are read again; the drives are scanned when they differ from the letters seen
// last, on a refresh (F5, F6, the first pass: every drive is read) and when a change the poll
// found asks for it. Only another set of letters beeps. True when it scanned.
bool StorageMonitor::CheckDriveSet(bool refresh) {
  SetDriveSetCountdown(kDriveSetPasses);
  const std::wstring letters = PresentDrivesText(sources_.Drives, targets_.Options);
  const bool changed = letters != presentLetters_;
  if (!changed && !refresh && !rescanDue_ && scanned_)
    return false;
  const bool first = !scanned_;
  rescanDue_ = false;
  Scan(letters, refresh ? ScanScope::Every : ScanScope::Changed);
  if (changed && !first)
    ErrorSignal(targets_.Options, sources_.Env);
  pollCountdown_ = kPollPasses;
  return true;
}

// Drives that did not answer are asked again every 4 s under the letters read last: the letters
// keep their own pace, and so do the polls of the drives that answer.
void StorageMonitor::AskUnansweredAgain() {
  Scan(presentLetters_, ScanScope::Changed);
}

void StorageMonitor::Scan(const std::wstring& letters, ScanScope scope) {
  presentLetters_ = letters;
  targets_.Options.Set(opt::DriveLetterCount, static_cast<int32_t>(letters.size()));
  ScanDrives(table_, letters, ports_, scope);
  scanned_ = true;
  ForgetTrendsOfAbsentDrives();
  retryCountdown_ = table_.WaitingDrives > 0 ? kMediaChangePasses : 0;
  RebuildRows();
  Publish();
  targets_.RefreshLayout();
  targets_.DrivesChanged();
}

void StorageMonitor::PollDrives() {
  pollCountdown_ = kPollPasses;
  for (int index = kDriveRecords - 1; index >= 0; --index) {
    if (table_.Drives[static_cast<size_t>(index)].State != DriveState::Present)
      continue;
    if (!PollDrive(index))
      break;
  }
  Publish();
}

// A drive that does not answer in time keeps what it showed and says so; nothing about it
// changes until it answers again.
bool StorageMonitor::PollDrive(int index) {
  DriveRecord& drive = table_.Drives[static_cast<size_t>(index)];
  if (index == kSummaryRow) {
    if (summaryDirty_) {
      RebuildSummaryRow(table_, targets_.Options);
      ShowRow(kSummaryRow);
      summaryDirty_ = false;
    }
    return true;
  }
  const VolumeReading reading = ReadVolumeOf(drive, ports_);
  if (!ShowAnswering(drive, index, reading.Answered))
    return true;
  if (drive.AliasOf != 0) {
    if (reading.Serial == drive.VolumeSerial)
      return true;
    drive.AskAgain = true;
    RescanIn(0);
    return false;
  }
  if (HoldsMedia(drive.Kind) && reading.Serial != drive.VolumeSerial)
    ChangeMedium(drive, reading, index);
  else if (drive.Kind != DriveKind::Optical && reading.Serial != kNoMediaSerial)
    PollSpace(drive, reading, index);
  else
    CountDownHighlight(drive, index);
  return true;
}

// A disc or card taken out, put in or swapped under a letter that stays: the row shows the new
// medium at once, "No Media / Blank" or the new one marked like a drive that arrived, until its
// highlight fades; a re-scan follows in 4 s.
void StorageMonitor::ChangeMedium(DriveRecord& drive, const VolumeReading& reading, int index) {
  TakeMedium(drive, reading, ports_);
  ++drive.Events.MediaChanged;
  drive.BytesDiff = 0;
  drive.BytesDiffSum = 0;
  drive.HighlightCountdown = kMediumHighlightPolls;
  trends_[static_cast<size_t>(index)].Clear();
  TakeLowSpaceBaseline(drive);
  Highlight(drive, reading.Serial == kNoMediaSerial ? kMediaLevel : kNewMediumLevel, index);
  drive.AskAgain = true;
  RescanIn(kMediaChangePasses);
}

void StorageMonitor::PollSpace(DriveRecord& drive, const VolumeReading& reading, int index) {
  StoreVolume(drive, reading, ports_, true);
  const std::optional<platform::DriveSpace> space =
      reading.Space ? reading.Space : ReadDriveSpace(sources_.Drives, drive.DriveName);
  if (!space) {
    ShowAnswering(drive, index, !sources_.Drives.Unanswered(drive.DriveName));
    return;
  }
  if (space->Total != drive.BytesTotal) {
    trends_[static_cast<size_t>(index)].Clear();
    if (drive.Kind == DriveKind::Removable)
      ChangeMedium(drive, reading, index);
    else if (space->Total > 0)
      TotalChanged(drive, *space);
    return;
  }
  trends_[static_cast<size_t>(index)].Add(tickMs_, space->Available);
  if (space->Available == drive.BytesAvailable) {
    CountDownHighlight(drive, index);
  } else {
    summaryDirty_ = summaryDirty_ || drive.Kind == DriveKind::Fixed;
    drive.BytesDiff = space->Available - drive.BytesAvailable;
    drive.BytesDiffSum += drive.BytesDiff;
    drive.BytesAvailable = space->Available;
    drive.FreePercent = FreePercentOf(drive.BytesAvailable, drive.BytesTotal);
    Highlight(drive, drive.BytesDiff < 0 ? kShrankLevel : kGrewLevel, index);
  }
  FollowLowSpace(drive, index);
}

// A fixed or remote volume that grew or shrank (a resized partition, a quota): told in the drive
// events, and a re-scan takes the new sizes over.
void StorageMonitor::TotalChanged(DriveRecord& drive, const platform::DriveSpace& space) {
  for (const std::wstring& line : TotalChangeLines(drive, space.Total))
    targets_.AddDriveEvent(line);
  if (LogOn(opt::LogStorageEvents))
    targets_.LogRecord(TotalChangeRecord(drive, space.Total));
  summaryDirty_ = true;
  drive.AskAgain = true;
  RescanIn(0);
}

// Falling short of space is told once; while short, the row's copy tells when the drive will be
// full at the pace of the last half hour.
void StorageMonitor::FollowLowSpace(DriveRecord& drive, int index) {
  const int hours = drive.LowSpaceTold || drive.FreePercent < kShortOfSpaceBelowPercent
                        ? trends_[static_cast<size_t>(index)].HoursUntilFull().value_or(0)
                        : 0;
  const bool fell = FellShortOfSpace(drive);
  const int shown = drive.LowSpaceTold ? hours : 0;
  if (shown != drive.FullInHours) {
    drive.FullInHours = shown;
    summaryDirty_ = true;
    ShowRow(index);
  }
  if (!fell)
    return;
  for (const std::wstring& line : LowSpaceLines(drive))
    targets_.AddDriveEvent(line);
  if (LogOn(opt::LogStorageEvents))
    targets_.LogRecord(LowSpaceRecord(drive));
}

// A highlight without a countdown ends at the next quiet poll, one with a countdown after as
// many polls.
void StorageMonitor::CountDownHighlight(DriveRecord& drive, int index) {
  if (drive.FadeLevel == 0)
    return;
  if (drive.HighlightCountdown > 0 && --drive.HighlightCountdown > 0)
    return;
  drive.HighlightCountdown = 0;
  drive.BackColour = kDriveNormalBack;
  drive.FadeLevel = 0;
  ShowRow(index);
}

void StorageMonitor::Highlight(DriveRecord& drive, int fadeLevel, int index) {
  drive.FadeLevel = fadeLevel;
  drive.BackColour = kPalette[static_cast<size_t>(fadeLevel)];
  flash_ = true;
  ShowRow(index);
}

bool StorageMonitor::ShowAnswering(DriveRecord& drive, int index, bool answered) {
  if (drive.NotAnswering == !answered)
    return answered;
  drive.NotAnswering = !answered;
  if (drive.DisplayOrder > 0)
    ShowRow(index);
  return answered;
}

void StorageMonitor::RescanIn(int passes) {
  rescanDue_ = true;
  SetDriveSetCountdown(passes);
}

void StorageMonitor::ForgetTrendsOfAbsentDrives() {
  for (int index = 1; index < kDriveRecords; ++index) {
    if (table_.Drives[static_cast<size_t>(index)].State != DriveState::Present)
      trends_[static_cast<size_t>(index)].Clear();
  }
}

// The first disk is opened while the tray shows the activity and closed when it stops showing
// it; the image changes only when the activity does. A disk that cannot be opened turns the
// option to -1 (on, but not working: the Settings tab shows it undecided), so it is tried once,
// and again only when the user turns the option on anew.
void StorageMonitor::ShowActivity() {
  Settings& options = targets_.Options;
  const bool wanted = options.IsOn(opt::TrayIconEnabled) && options.IsOn(opt::DriveLedTray) &&
                      !options.IsOn(opt::StopFlag);
  if (wanted != diskOpen_) {
    if (wanted) {
      diskOpen_ = sources_.Drives.OpenFirstDisk();
      if (!diskOpen_)
        options.Set(opt::DriveLedTray, kFirstDiskUnavailable);
    } else {
      sources_.Drives.CloseFirstDisk();
      diskOpen_ = false;
    }
  }
  if (!diskOpen_)
    return;
  const std::optional<platform::DiskActivity> activity = sources_.Drives.FirstDiskActivity();
  if (!activity)
    return;
  const int image = ActivityImage(lastActivity_, *activity);
  lastActivity_ = *activity;
  if (image != trayImage_) {
    trayImage_ = image;
    targets_.SetTrayImage(image);
  }
}

// F6: the differences start again at the next scan, and no drive stays marked.
void StorageMonitor::ResetDifferencesAndMarks() {
  table_.ResetDifferences = true;
  for (DriveRecord& drive : table_.Drives) {
    drive.FadeLevel = 0;
    drive.HighlightCountdown = 0;
    drive.BackColour = kDriveNormalBack;
  }
  changedLetters_.clear();
}

void StorageMonitor::RebuildRows() {
  shownUnit_ = targets_.Options.Get(opt::StorageUnit);
  for (int index = 1; index < kDriveRecords; ++index) {
    if (table_.Drives[static_cast<size_t>(index)].State == DriveState::Present)
      RebuildDriveRow(table_, index, targets_.Options);
  }
  RebuildSummaryRow(table_, targets_.Options);
}

void StorageMonitor::ShowRow(int index) {
  if (index == kSummaryRow)
    RebuildSummaryRow(table_, targets_.Options);
  else
    RebuildDriveRow(table_, index, targets_.Options);
  const DriveRecord& drive = table_.Drives[static_cast<size_t>(index)];
  {
    auto meters = targets_.Meters.Lock();
    MeterRecord& meter = (*meters)[static_cast<size_t>(index)];
    meter.Text = drive.RowText;
    meter.TextColour = drive.TextColour;
    meter.BackColour = drive.BackColour;
  }
  targets_.MeterChanged(index, true);
}

// The drive cells take the rows, colours and places of the table; the window thread gets a copy.
void StorageMonitor::Publish() {
  bool placesChanged = false;
  {
    auto meters = targets_.Meters.Lock();
    for (int index = 0; index < kDriveRecords; ++index) {
      const DriveRecord& drive = table_.Drives[static_cast<size_t>(index)];
      MeterRecord& meter = (*meters)[static_cast<size_t>(index)];
      const bool shown = drive.State == DriveState::Present && drive.DisplayOrder > 0;
      placesChanged = placesChanged || meter.Active != shown ||
                      (shown && meter.DisplayOrder != drive.DisplayOrder);
      meter.Active = shown;
      meter.DisplayOrder = shown ? drive.DisplayOrder : 0;
      meter.Text = drive.RowText;
      meter.TextColour = drive.TextColour;
      meter.BackColour = drive.BackColour;
    }
  }
  *targets_.Readings.Lock() = table_;
  if (placesChanged) {
    targets_.RefreshLayout();
    return;
  }
  // Only a cell whose text changed is drawn again.
  for (int index = 0; index < kDriveRecords; ++index) {
    if (table_.Drives[static_cast<size_t>(index)].DisplayOrder > 0)
      targets_.MeterChanged(index, false);
  }
}

int StorageMonitor::DriveSetCountdown() const {
  return targets_.Options.Get(opt::DriveSetCountdown);
}

void StorageMonitor::SetDriveSetCountdown(int passes) {
  targets_.Options.Set(opt::DriveSetCountdown, passes);
}

// One step down, unless the window thread cleared the count meanwhile: that clearing must stand.
void StorageMonitor::CountDownDriveSet() {
  const int passes = DriveSetCountdown();
  static_cast<void>(targets_.Options.TakeIfEquals(opt::DriveSetCountdown, passes, passes - 1));
}

bool StorageMonitor::LogOn(int option) const {
  return targets_.Options.IsOn(option);
}

}  // namespace tarvik
