#include "monitors/storage/drive_scan.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <utility>

#include "core/palette.h"
#include "monitors/storage/drive_events.h"
#include "monitors/storage/low_space.h"
#include "monitors/storage/volume_serial.h"
#include "monitors/system/text_shapes.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using system_text::Trimmed;

constexpr int kFirstDrive = 1;
constexpr int kLastDrive = 26;
// A: and B: are floppy letters: a later volume is never taken for one of them.
constexpr int kFirstAliasTarget = 3;
constexpr int kNewDriveFadeLevel = 11;
constexpr int kNewDriveHighlightPolls = 3;
constexpr int kFirstBuildWithoutFloppyLetters = 1504;
constexpr uint32_t kRemoteNameLength = 127;
constexpr size_t kLabelWidth = 33;
constexpr size_t kFileSystemWidth = 16;
constexpr size_t kNetworkPathWidth = 260;
constexpr const wchar_t* kHardDiskLetters = L"CDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const wchar_t* kAudioCdLabel = L"Audio CD";
constexpr const wchar_t* kSummaryName = L"==";
// The drive list shows fixed drives first and remote drives last.
constexpr std::array<DriveKind, 6> kRowOrder = {DriveKind::Fixed,   DriveKind::Removable,
                                                DriveKind::NoRoot,  DriveKind::RamDisk,
                                                DriveKind::Optical, DriveKind::Remote};

const std::pair<uint32_t, const wchar_t*> kNetworkErrorNames[] = {
    {1200, L"ERROR_BAD_DEVICE"},         {2250, L"ERROR_NOT_CONNECTED"},
    {234, L"ERROR_MORE_DATA"},           {1201, L"ERROR_CONNECTION_UNAVAIL"},
    {1222, L"ERROR_NO_NETWORK"},         {1208, L"ERROR_EXTENDED_ERROR"},
    {1203, L"ERROR_NO_NET_OR_BAD_PATH"}, {487, L"ERROR_INVALID_ADDRESS"}};

bool ShuttingDown(const Settings& options) {
  return options.IsOn(opt::StopFlag);
}

void Emit(const std::function<void(const std::wstring&)>& to, const std::wstring& text) {
  if (to)
    to(text);
}

// A drive that turned unreadable counts as lost, as it is from then on.
void Report(DriveScanPorts& ports, DriveRecord& drive, DriveReport report) {
  ++(report == DriveReport::Found ? drive.Events.Found : drive.Events.Lost);
  for (const std::wstring& line : DriveReportLines(drive, report))
    Emit(ports.AddDriveEvent, line);
  if (report != DriveReport::Error)
    Emit(ports.LogRecord, DriveReportRecord(drive, report));
}

void SetColours(DriveRecord& drive, Colour text, Colour back) {
  drive.TextColour = text;
  drive.BackColour = back;
}

// An unlabelled volume keeps a label of blanks, so that naming it later counts as a change.
void CheckLabel(DriveRecord& drive, DriveScanPorts& ports) {
  if (Trimmed(drive.VolumeName).empty())
    drive.VolumeName.assign(kLabelWidth, L' ');
  if (drive.PreviousVolumeName.empty()) {
    drive.PreviousVolumeName = drive.VolumeName;
    return;
  }
  if (Trimmed(drive.PreviousVolumeName) == Trimmed(drive.VolumeName))
    return;
  for (const std::wstring& line :
       LabelChangeLines(drive, drive.PreviousVolumeName, drive.VolumeName))
    Emit(ports.AddDriveEvent, line);
  Emit(ports.LogRecord, LabelChangeRecord(drive, drive.PreviousVolumeName, drive.VolumeName));
  drive.PreviousVolumeName = drive.VolumeName;
  ++drive.Events.Relabelled;
}

// The letters the system listed, upper case, each once; anything but a letter is dropped.
std::wstring DriveLetters(const std::wstring& listed, bool withFloppyLetters) {
  std::wstring letters;
  for (wchar_t letter : listed) {
    if (letter >= L'a' && letter <= L'z')
      letter = static_cast<wchar_t>(letter - L'a' + L'A');
    const bool floppy = letter == L'A' || letter == L'B';
    if (letter < L'A' || letter > L'Z' || (floppy && !withFloppyLetters) ||
        letters.find(letter) != std::wstring::npos)
      continue;
    letters += letter;
  }
  return letters;
}

DriveKind KindOf(int driveType) {
  if (driveType < static_cast<int>(DriveKind::Undetermined) ||
      driveType > static_cast<int>(DriveKind::RamDisk))
    return DriveKind::Undetermined;
  return static_cast<DriveKind>(driveType);
}

void PrepareForScan(DriveRecord& drive, int index, bool resetDifferences) {
  drive.DisplayOrder = 0;
  drive.Letter.assign(1, LetterOf(index));
  drive.DriveName = drive.Letter + L":";
  // Every scan finds the aliases anew; kept ones would repeat their letters.
  drive.AliasOf = 0;
  drive.AliasLetters.clear();
  drive.AliasCount = 0;
  if (resetDifferences) {
    drive.BytesDiff = 0;
    drive.BytesDiffSum = 0;
  }
}

// A drive that is gone keeps no space and no highlight: nothing can fade, be listed or be logged
// for it until it is found again.
void ForgetVolume(DriveRecord& drive) {
  drive.VolumeSerial.clear();
  drive.PreviousVolumeSerial.clear();
  drive.VolumeName.clear();
  drive.PreviousVolumeName.clear();
  drive.NetworkPath.clear();
  drive.BytesAvailable = 0;
  drive.BytesTotal = 0;
  drive.FreePercent = 0;
  drive.FadeLevel = 0;
  drive.HighlightCountdown = 0;
  drive.NotAnswering = false;
  drive.AskAgain = false;
}

void DropMissingDrive(DriveRecord& drive, DriveScanPorts& ports) {
  if (drive.State == DriveState::Present) {
    Report(ports, drive, DriveReport::Lost);
    drive.State = DriveState::Lost;
  }
  ForgetVolume(drive);
}

// A listed letter whose drive type turned undetermined counts as gone; it stays lost until it
// answers again, when it is reported found.
void DropUnreadableDrive(DriveRecord& drive, DriveScanPorts& ports) {
  if (drive.State == DriveState::Present) {
    Report(ports, drive, DriveReport::Error);
    drive.State = DriveState::Lost;
  }
  drive.Kind = DriveKind::Undetermined;
  SetColours(drive, kDriveNormalText, kDriveNormalBack);
  ForgetVolume(drive);
}

// A drive that stays keeps a highlight that is still fading.
void HighlightIfNew(DriveTable& table, DriveRecord& drive) {
  if (table.ScanCount >= 2 && drive.State != DriveState::Present) {
    SetColours(drive, kDriveNormalText, kPalette[kNewDriveFadeLevel]);
    drive.FadeLevel = kNewDriveFadeLevel;
    drive.HighlightCountdown = kNewDriveHighlightPolls;
    table.NewDriveHighlighted = true;
  } else {
    SetColours(
        drive, kDriveNormalText,
        drive.FadeLevel > 0 ? kPalette[static_cast<size_t>(drive.FadeLevel)] : kDriveNormalBack);
  }
}

std::wstring AudioLabel(int tracks) {
  return TrFixed(L"Audio") + L": " + std::to_wstring(tracks) + L" " +
         (tracks == 1 ? TrFixed(L"Track") : TrFixed(L"Tracks"));
}

void NameMediaDrive(DriveRecord& drive, DriveScanPorts& ports) {
  drive.AudioTracks = 0;
  drive.AudioSeconds = 0;
  if (drive.VolumeSerial == kNoMediaSerial) {
    drive.VolumeName = TrFixed(L"No Media / Blank");
    return;
  }
  if (drive.VolumeName != kAudioCdLabel)
    return;
  const std::optional<platform::AudioDisc> disc = ports.Drives.Audio(drive.DriveName);
  if (!disc || disc->Tracks < 1)
    return;
  drive.AudioTracks = disc->Tracks;
  drive.AudioSeconds = std::max(disc->Seconds, 0);
  drive.VolumeName = AudioLabel(disc->Tracks);
}

void NameRemoteDrive(DriveRecord& drive, DriveScanPorts& ports) {
  if (!ports.Options.IsOn(opt::NetProviderLibraryPresent)) {
    drive.NetworkPath = Tr(L"Network Path");
    return;
  }
  drive.NetworkPath = NetworkPathText(ports.Drives.Connection(drive.DriveName, kRemoteNameLength));
}

void Classify(DriveRecord& drive, DriveScanPorts& ports) {
  drive.Mark = L":";
  switch (drive.Kind) {
    case DriveKind::Removable:
    case DriveKind::Optical:
      NameMediaDrive(drive, ports);
      break;
    case DriveKind::RamDisk:
      drive.Mark = L"r";
      break;
    case DriveKind::Remote:
      drive.Mark = L"$";
      NameRemoteDrive(drive, ports);
      break;
    default:
      break;
  }
  drive.ShortName = drive.Letter + drive.Mark;
}

// A drive without media has no space; one whose space cannot be read keeps what it showed, and
// one that did not answer says so.
void ReadSpace(DriveRecord& drive, const VolumeReading& reading, DriveScanPorts& ports) {
  if (drive.VolumeSerial == kNoMediaSerial) {
    drive.BytesAvailable = 0;
    drive.BytesTotal = 0;
  } else if (const std::optional<platform::DriveSpace> space =
                 reading.Space ? reading.Space : ReadDriveSpace(ports.Drives, drive.DriveName)) {
    drive.BytesAvailable = space->Available;
    drive.BytesTotal = space->Total;
  } else {
    drive.NotAnswering = ports.Drives.Unanswered(drive.DriveName);
  }
  drive.FreePercent = FreePercentOf(drive.BytesAvailable, drive.BytesTotal);
}

bool KnownAsItIs(const DriveRecord& drive, DriveKind kind) {
  return drive.State == DriveState::Present && drive.Kind == kind && !drive.NotAnswering &&
         !drive.AskAgain;
}

// A drive that does not answer in time (a disc spinning up, a share over a slow line) is neither
// found nor changed: a present one keeps what it showed, a new one waits for the next scan.
void ScanPresentDrive(DriveTable& table, DriveRecord& drive, DriveScanPorts& ports,
                      ScanScope scope) {
  const DriveKind kind = KindOf(ports.Drives.DriveType(drive.DriveName));
  if (kind == DriveKind::Undetermined || kind == DriveKind::NoRoot) {
    DropUnreadableDrive(drive, ports);
    return;
  }
  if (scope == ScanScope::Changed && KnownAsItIs(drive, kind)) {
    HighlightIfNew(table, drive);
    return;
  }
  drive.Kind = kind;
  const VolumeReading reading = ReadVolumeOf(drive, ports);
  drive.NotAnswering = !reading.Answered;
  if (drive.NotAnswering) {
    ++table.WaitingDrives;
    return;
  }
  drive.AskAgain = false;
  HighlightIfNew(table, drive);
  StoreVolume(drive, reading, ports, true);
  Classify(drive, ports);
  ReadSpace(drive, reading, ports);
  if (drive.State != DriveState::Present) {
    TakeLowSpaceBaseline(drive);
    Report(ports, drive, DriveReport::Found);
    drive.State = DriveState::Present;
  }
}

VolumeReading NoMedium() {
  VolumeReading reading;
  reading.Serial = kNoMediaSerial;
  return reading;
}

// Volumes without media all read alike, so they are never taken for one another.
bool IsSameVolume(const DriveRecord& later, const DriveRecord& earlier) {
  return later.VolumeSerial != kNoMediaSerial && earlier.State == DriveState::Present &&
         later.VolumeSerial == earlier.VolumeSerial && later.BytesTotal == earlier.BytesTotal &&
         later.VolumeName == earlier.VolumeName &&
         (later.Kind != DriveKind::Remote || earlier.BytesTotal >= 1);
}

void FindAlias(DriveTable& table, int index) {
  DriveRecord& drive = table.Drives[index];
  if (drive.VolumeSerial.empty())
    return;
  for (int earlier = kFirstAliasTarget; earlier < index; ++earlier) {
    DriveRecord& target = table.Drives[earlier];
    if (!IsSameVolume(drive, target))
      continue;
    drive.AliasOf = earlier;
    ++table.AliasedDrives;
    target.AliasLetters += drive.Letter;
    ++target.AliasCount;
    table.LargestAliasCount = std::max(table.LargestAliasCount, target.AliasCount);
    return;
  }
}

bool HasRow(const DriveRecord& drive) {
  return drive.State == DriveState::Present && drive.AliasOf == 0;
}

// Only drives with a row count: a second letter for the same volume is no second drive.
int CountFixedDrives(const DriveTable& table) {
  int count = 0;
  for (int index = kFirstDrive; index <= kLastDrive; ++index) {
    const DriveRecord& drive = table.Drives[index];
    count += HasRow(drive) && drive.Kind == DriveKind::Fixed ? 1 : 0;
  }
  return count;
}

void ShowSummaryRow(DriveTable& table) {
  DriveRecord& summary = table.Drives[kSummaryRow];
  summary.State = DriveState::Present;
  summary.DisplayOrder = ++table.OrderCounter;
  SetColours(summary, kDriveNormalText, kDriveNormalBack);
  summary.DriveName = kSummaryName;
}

void NumberRows(DriveTable& table) {
  table.ResetDifferences = false;
  table.OrderCounter = 0;
  table.Drives[kSummaryRow].State = DriveState::NeverSeen;
  for (DriveRecord& drive : table.Drives)
    drive.DisplayOrder = 0;
  table.FixedDrives = CountFixedDrives(table);
  for (const DriveKind kind : kRowOrder) {
    if (kind == DriveKind::Removable && table.FixedDrives >= 2)
      ShowSummaryRow(table);
    for (int index = kFirstDrive; index <= kLastDrive; ++index) {
      DriveRecord& drive = table.Drives[index];
      if (HasRow(drive) && drive.Kind == kind)
        drive.DisplayOrder = ++table.OrderCounter;
    }
  }
}

}  // namespace

std::wstring PresentDrivesText(platform::Drives& drives, const Settings& options) {
  if (ShuttingDown(options))
    return {};
  const std::optional<std::wstring> listed = drives.PresentLetters();
  const bool withFloppyLetters = options.Get(opt::OsBuildNumber) >= kFirstBuildWithoutFloppyLetters;
  return DriveLetters(listed.value_or(kHardDiskLetters), withFloppyLetters);
}

void ScanDrives(DriveTable& table, const std::wstring& presentLetters, DriveScanPorts& ports,
                ScanScope scope) {
  if (ShuttingDown(ports.Options))
    return;
  ++table.ScanCount;
  table.WaitingDrives = 0;
  table.FixedDrives = 0;
  table.AliasedDrives = 0;
  table.LargestAliasCount = 0;
  for (int index = kFirstDrive; index <= kLastDrive; ++index) {
    // Each drive may take the system's whole wait to answer; shut-down does not wait for the rest.
    if (ShuttingDown(ports.Options))
      return;
    DriveRecord& drive = table.Drives[index];
    PrepareForScan(drive, index, table.ResetDifferences);
    if (presentLetters.find(LetterOf(index)) == std::wstring::npos) {
      DropMissingDrive(drive, ports);
      continue;
    }
    ScanPresentDrive(table, drive, ports, scope);
    if (drive.State == DriveState::Present)
      FindAlias(table, index);
  }
  NumberRows(table);
}

// A reader without its card may still name a volume (Wine names one for every letter), but the
// space of nothing cannot be read: a medium without readable space counts as none.
VolumeReading ReadVolumeOf(const DriveRecord& drive, DriveScanPorts& ports) {
  const std::optional<platform::VolumeInformation> read =
      ports.Drives.Volume(drive.DriveName + L"\\");
  const platform::VolumeInformation volume = read.value_or(platform::VolumeInformation{});
  VolumeReading reading{.Answered = read || !ports.Drives.Unanswered(drive.DriveName),
                        .Serial = VolumeSerialText(volume.Serial),
                        .Label = CleanVolumeText(volume.Label, kLabelWidth),
                        .FileSystem = CleanVolumeText(volume.FileSystem, kFileSystemWidth),
                        .MaxFileNameLength = static_cast<int>(std::min<uint32_t>(
                            volume.MaxFileNameLength, std::numeric_limits<int>::max())),
                        .ReadOnly = volume.ReadOnly,
                        .Space = std::nullopt};
  if (!reading.Answered || !HoldsMedia(drive.Kind) || reading.Serial == kNoMediaSerial)
    return reading;
  reading.Space = ReadDriveSpace(ports.Drives, drive.DriveName);
  if (!reading.Space && ports.Drives.Unanswered(drive.DriveName))
    reading.Answered = false;
  else if (!reading.Space)
    reading = NoMedium();
  return reading;
}

void StoreVolume(DriveRecord& drive, const VolumeReading& reading, DriveScanPorts& ports,
                 bool checkLabel) {
  drive.PreviousVolumeSerial = drive.VolumeSerial;
  drive.VolumeSerial = reading.Serial;
  drive.VolumeName = reading.Label;
  drive.FileSystem = reading.FileSystem;
  drive.MaxFileNameLength = reading.MaxFileNameLength;
  drive.ReadOnly = reading.ReadOnly;
  if (checkLabel && drive.VolumeSerial != kNoMediaSerial)
    CheckLabel(drive, ports);
}

std::wstring ReadVolume(DriveRecord& drive, DriveScanPorts& ports, bool checkLabel) {
  StoreVolume(drive, ReadVolumeOf(drive, ports), ports, checkLabel);
  return drive.VolumeSerial;
}

// Another medium is not the old one renamed: the first label check after it takes its label as
// it then reads (a disc may tell its label a moment after its serial).
void TakeMedium(DriveRecord& drive, const VolumeReading& reading, DriveScanPorts& ports) {
  StoreVolume(drive, reading, ports, false);
  drive.PreviousVolumeName.clear();
  Classify(drive, ports);
  ReadSpace(drive, reading, ports);
}

std::optional<platform::DriveSpace> ReadDriveSpace(platform::Drives& drives,
                                                   const std::wstring& driveName) {
  std::optional<platform::DriveSpace> space = drives.Space(driveName);
  if (space) {
    space->Total = std::max<int64_t>(space->Total, 0);
    space->Available = std::clamp<int64_t>(space->Available, 0, space->Total);
  }
  return space;
}

int FreePercentOf(int64_t available, int64_t total) {
  if (total <= 0)
    return 0;
  const int64_t free = std::clamp<int64_t>(available, 0, total);
  // Free bytes times 100 pass 64 bits above 92 PB.
  __extension__ using Wide = unsigned __int128;
  return static_cast<int>(static_cast<Wide>(free) * 100 / static_cast<Wide>(total));
}

std::wstring NetworkPathText(const platform::NetworkConnection& connection) {
  if (connection.Error == 0)
    return CleanVolumeText(connection.RemoteName, kNetworkPathWidth);
  for (const auto& [error, name] : kNetworkErrorNames) {
    if (error == connection.Error)
      return name;
  }
  return L"UNKNOWN ERROR " + std::to_wstring(connection.Error);
}

}  // namespace tarvik
