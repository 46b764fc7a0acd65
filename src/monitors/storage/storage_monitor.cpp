#include "monitors/storage/storage_monitor.h"

#include "core/error_signal.h"
#include "core/palette.h"
#include "monitors/storage/drive_events.h"
#include "monitors/storage/drive_rows.h"
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
// The tray's activity images: idle, reading, writing, both.
constexpr int kIdleImage = 110;
constexpr int kReadImage = 111;
constexpr int kWriteImage = 112;
constexpr int kReadWriteImage = 113;

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

int StorageMonitor::Pass(int64_t /*tickMs*/) {
  Settings& options = targets_.Options;
  if (flash_)
    FlashPass();
  if (titleCountdown_ < 1)
    UpdateTitle();
  bool forced = !scanned_;
  forced = options.Take(opt::DriveChangeRequest) != 0 || forced;
  forced = options.Take(opt::StorageRefreshRequest) != 0 || forced;
  if (options.Take(opt::StorageResetRequest) != 0) {
    ResetDifferencesAndMarks();
    forced = true;
  }
  if ((DriveSetCountdown() < 1 || forced) && !options.IsOn(opt::StopFlag))
    CheckDriveSet(forced);
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

// The summary of title-bar mode 0: the drive that changed last, one changed drive at a time.
void StorageMonitor::UpdateTitle() {
  titleCountdown_ = kTitlePasses;
  if (changedLetters_.empty())
    return;
  const int index = changedLetters_.front() - LetterOf(0);
  changedLetters_.erase(0, 1);
  const DriveRecord& drive = table_.Drives[static_cast<size_t>(index)];
  if (drive.BytesDiff == 0)
    return;
  const std::wstring title =
      drive.Letter + drive.AliasLetters + drive.Mark + L" " + std::to_wstring(drive.FreePercent) +
      L"% " + FormatSize(drive.BytesAvailable, 0) + L" " + FormatSize(drive.BytesDiff, 0);
  targets_.Titles.Publish(kDriveTitleMode, title);
}

// A forced check (a device notice, F5, F6, the first pass, a change the poll found) scans even
// when the letters look the same.
void StorageMonitor::CheckDriveSet(bool forced) {
  SetDriveSetCountdown(kDriveSetPasses);
  const std::wstring letters = PresentDrivesText(sources_.Drives, targets_.Options);
  if (forced)
    presentLetters_.clear();
  if (letters == presentLetters_ && scanned_)
    return;
  const bool first = !scanned_;
  presentLetters_ = letters;
  targets_.Options.Set(opt::DriveLetterCount, static_cast<int32_t>(letters.size()));
  ScanDrives(table_, letters, ports_);
  scanned_ = true;
  RebuildRows();
  Publish();
  targets_.RefreshLayout();
  targets_.DrivesChanged();
  if (!first)
    ErrorSignal(targets_.Options, sources_.Env);
  pollCountdown_ = kPollPasses;
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
  if (drive.AliasOf != 0) {
    const std::wstring serial = drive.VolumeSerial;
    if (ReadVolume(drive, ports_, false) != serial) {
      presentLetters_.clear();
      SetDriveSetCountdown(0);
      return false;
    }
    return true;
  }
  if (drive.Kind == DriveKind::Optical) {
    PollOptical(drive, index);
    return true;
  }
  PollSpace(drive, index);
  return true;
}

void StorageMonitor::PollOptical(DriveRecord& drive, int index) {
  const std::wstring serial = drive.VolumeSerial;
  if (ReadVolume(drive, ports_, false) != serial) {
    presentLetters_.clear();
    SetDriveSetCountdown(kMediaChangePasses);
    Highlight(drive, kMediaLevel, index);
    ++drive.Events.MediaChanged;
  }
  if (drive.HighlightCountdown > 0 && --drive.HighlightCountdown == 0) {
    drive.BackColour = kDriveNormalBack;
    drive.FadeLevel = 0;
    ShowRow(index);
  }
}

void StorageMonitor::PollSpace(DriveRecord& drive, int index) {
  if (ReadVolume(drive, ports_, true) == kNoMediaSerial)
    return;
  const std::optional<platform::DriveSpace> space = sources_.Drives.Space(drive.DriveName);
  if (!space)
    return;
  if (space->Total == drive.BytesTotal && space->Available == drive.BytesAvailable) {
    if (drive.FadeLevel > 0 && drive.HighlightCountdown < 1) {
      drive.BackColour = kDriveNormalBack;
      drive.FadeLevel = 0;
      ShowRow(index);
    } else {
      --drive.HighlightCountdown;
    }
    return;
  }
  if (space->Total == drive.BytesTotal) {
    summaryDirty_ = summaryDirty_ || drive.Kind == DriveKind::Fixed;
    drive.BytesDiff = space->Available - drive.BytesAvailable;
    drive.BytesDiffSum += drive.BytesDiff;
    drive.BytesAvailable = space->Available;
    drive.FreePercent = FreePercentOf(drive.BytesAvailable, drive.BytesTotal);
    Highlight(drive, drive.BytesDiff < 0 ? kShrankLevel : kGrewLevel, index);
    return;
  }
  if (drive.Kind == DriveKind::Removable) {
    drive.BytesDiff = 0;
    drive.BytesDiffSum = 0;
    Highlight(drive, kMediaLevel, index);
    ++drive.Events.MediaChanged;
    presentLetters_.clear();
    SetDriveSetCountdown(kMediaChangePasses);
    return;
  }
  if (space->Total > 0)
    TotalChanged(drive, *space);
}

// A fixed or remote volume that grew or shrank (a resized partition, a quota): told in the drive
// events, and a re-scan takes the new sizes over.
void StorageMonitor::TotalChanged(DriveRecord& drive, const platform::DriveSpace& space) {
  for (const std::wstring& line : TotalChangeLines(drive, space.Total))
    targets_.AddDriveEvent(line);
  if (LogOn(opt::LogStorageEvents))
    targets_.LogRecord(TotalChangeRecord(drive, space.Total));
  summaryDirty_ = true;
  presentLetters_.clear();
  SetDriveSetCountdown(0);
}

void StorageMonitor::Highlight(DriveRecord& drive, int fadeLevel, int index) {
  drive.FadeLevel = fadeLevel;
  drive.BackColour = kPalette[static_cast<size_t>(fadeLevel)];
  flash_ = true;
  ShowRow(index);
}

// The first disk is opened while the tray shows the activity and closed when it stops showing
// it; the image changes only when the activity does.
void StorageMonitor::ShowActivity() {
  const Settings& options = targets_.Options;
  const bool wanted = options.IsOn(opt::TrayIconEnabled) && options.IsOn(opt::DriveLedTray) &&
                      !options.IsOn(opt::StopFlag);
  if (wanted != diskOpen_) {
    if (wanted) {
      diskOpen_ = sources_.Drives.OpenFirstDisk();
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
