#include "monitors/storage/drive_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/palette.h"
#include "monitors/storage/drive_events.h"
#include "monitors/system/text_shapes.h"
#include "text/format_size.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr size_t kNormalEntry = 7;
constexpr size_t kCriticalEntry = 12;
constexpr size_t kLowEntry = 14;
constexpr size_t kRemotePathEntry = 16;
constexpr int kCriticalBelowPercent = 5;
constexpr int kLowBelowPercent = 10;

constexpr size_t kNoMediaLabelWidth = 16;
constexpr size_t kAudioLabelWidth = 17;
constexpr size_t kPlayingTimeWidth = 7;
constexpr size_t kNetworkPathWidth = 26;
constexpr size_t kPercentWidth = 3;
constexpr size_t kStatusWidth = 7;  // what the change column holds when a level shows nothing
// A size in one fixed unit is right-aligned like an automatic one: 7 for the number, 1 the unit.
constexpr size_t kFixedSizeWidth = 8;
constexpr size_t kFixedDiffWidth = 7;  // after the sign
constexpr int kMostPrefixAliases = 26;
// The least contrast (by W3C's measure) of a row's text on its back colour: what large text needs.
constexpr double kLeastContrast = 3.0;

constexpr int kAutoSizeMode = 0;
constexpr int kDiffSizeMode = 1;
constexpr int kFixedUnitMode = 8;
constexpr int kFirstFixedUnit = 1;  // 1 Byte ... 5 TB; 0 Auto
constexpr int kLastFixedUnit = 5;

// The pieces of one row: the row text joins them on one line, the list shows them as columns.
struct RowPieces {
  std::wstring Id;      // the prefix and, for the short forms, the label or the path
  std::wstring Free;    // percentage and free size, or the playing time
  std::wstring Status;  // the row text's one change column
  std::wstring LastDiff;
  std::wstring TotalDiff;
  std::wstring Used;
  std::wstring FullIn;  // the list's last column, only while the drive is short of space
};

std::wstring PaddedRight(std::wstring text, size_t width, wchar_t fill = L' ') {
  if (text.size() < width)
    text.append(width - text.size(), fill);
  return text;
}

// A label followed by a size is cut to its column, so the sizes of all rows stay aligned.
std::wstring Fitted(const std::wstring& text, size_t width) {
  return PaddedRight(text.substr(0, width), width);
}

std::wstring TrimmedRight(std::wstring text) {
  text.erase(text.find_last_not_of(L' ') + 1);
  return text;
}

bool IsFixedUnit(int unit) {
  return unit >= kFirstFixedUnit && unit <= kLastFixedUnit;
}

std::wstring SizeText(int64_t bytes, int unit) {
  if (!IsFixedUnit(unit))
    return FormatSize(bytes, kAutoSizeMode);
  return system_text::RightAligned(FormatSize(bytes, kFixedUnitMode, unit), kFixedSizeWidth);
}

// A change always shows its direction, in a fixed unit as in the automatic one.
std::wstring DiffText(int64_t bytes, int unit) {
  if (bytes == 0 || !IsFixedUnit(unit))
    return FormatSize(bytes, kDiffSizeMode);
  std::wstring magnitude = FormatSize(bytes, kFixedUnitMode, unit);
  if (magnitude.front() == L'-')
    magnitude.erase(0, 1);
  return (bytes > 0 ? L"+" : L"-") + system_text::RightAligned(magnitude, kFixedDiffWidth);
}

// A drive that does not answer, and the fade levels of a drive that just arrived or just went,
// show a word instead of a change.
std::optional<std::wstring> WordMarker(const DriveRecord& drive) {
  if (drive.NotAnswering)
    return L" -" + TrFixed(L"WAIT") + L"-";
  switch (drive.FadeLevel) {
    case 3:
    case 11:
      return L" -" + TrFixed(L"NEW!") + L"-";
    case 7:
    case 15:
      return L" -" + TrFixed(L"LOST") + L"-";
    default:
      return std::nullopt;
  }
}

// The change column of the one-line row: the last change while the change is highlighted, the
// total change once the highlight has faded.
std::wstring StatusColumn(const DriveRecord& drive, int unit) {
  if (std::optional<std::wstring> marker = WordMarker(drive))
    return *marker;
  switch (drive.FadeLevel) {
    case 2:
    case 4:
    case 10:
    case 12:
      return DiffText(drive.BytesDiff, unit);
    case 0:
      return DiffText(drive.BytesDiffSum, unit);
    default:
      return std::wstring(kStatusWidth, L' ');
  }
}

int FreePercentOf(int64_t available, int64_t total) {
  if (total <= 0 || available <= 0)
    return 0;
  if (available >= total)
    return 100;
  // Above 92 PB the product would overflow; dividing the total first is exact enough there.
  if (available <= std::numeric_limits<int64_t>::max() / 100)
    return static_cast<int>(available * 100 / total);
  return static_cast<int>(available / (total / 100));
}

std::wstring Prefix(const DriveTable& table, int index) {
  const auto width =
      static_cast<size_t>(std::clamp(table.LargestAliasCount, 0, kMostPrefixAliases) + 2);
  if (index == kSummaryRow)
    return PaddedRight(L"==", width, L'=');
  const DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
  return PaddedRight(LetterOf(index) + drive.AliasLetters + drive.Mark, width);
}

std::wstring PlayingTime(int seconds) {
  const int minutes = std::max(seconds, 0) / 60;
  const int rest = std::max(seconds, 0) % 60;
  const std::wstring time =
      std::to_wstring(minutes) + (rest < 10 ? L":0" : L":") + std::to_wstring(rest);
  return system_text::RightAligned(time, kPlayingTimeWidth);
}

RowPieces OrdinaryPieces(const DriveRecord& drive, std::wstring prefix, int unit) {
  RowPieces pieces;
  pieces.Id = std::move(prefix);
  pieces.Free = system_text::RightAligned(drive.FreePercent, kPercentWidth) + L"%" +
                SizeText(drive.BytesAvailable, unit);
  pieces.Status = StatusColumn(drive, unit);
  pieces.LastDiff = WordMarker(drive).value_or(DiffText(drive.BytesDiff, unit));
  pieces.TotalDiff = DiffText(drive.BytesDiffSum, unit);
  pieces.Used = SizeText(UsedBytes(drive), unit);
  pieces.FullIn = FullInText(drive.FullInHours);
  return pieces;
}

bool HasNoMedia(const DriveRecord& drive) {
  return HoldsMedia(drive.Kind) && drive.VolumeSerial == kNoMediaSerial;
}

bool HoldsAudioCd(const DriveRecord& drive) {
  return drive.Kind == DriveKind::Optical && drive.AudioTracks >= 1;
}

bool ShowsRemotePath(const DriveRecord& drive) {
  return drive.Kind == DriveKind::Remote && drive.BytesTotal == 0;
}

// The text takes the colour of its level or its form, unless that would not read on the back
// colour of a highlight (silver text on the silver of a fading change, red on red).
void SetTextColour(DriveRecord& drive, Colour level) {
  drive.TextColour = ReadableTextColour(level, drive.BackColour);
}

void StorePieces(DriveRecord& drive, const RowPieces& pieces) {
  drive.RowText = pieces.Id + pieces.Free + pieces.Status + pieces.Used;
  drive.ListText = TrimmedRight(pieces.Id) + L"\n" + pieces.Free + L"\n" + pieces.LastDiff + L"\n" +
                   pieces.TotalDiff + L"\n" + pieces.Used;
  if (!pieces.FullIn.empty())
    drive.ListText += L"\n" + pieces.FullIn;
}

// A drive whose size is unknown, and a read-only disc (full by its nature), is not short of space.
void ShowOrdinary(DriveRecord& drive, RowPieces pieces) {
  StorePieces(drive, pieces);
  const bool canRunShort = drive.BytesTotal > 0 && !drive.ReadOnly;
  SetTextColour(drive, canRunShort ? LevelColour(drive.FreePercent) : kPalette[kNormalEntry]);
}

void ShowLabelAndValue(DriveRecord& drive, const std::wstring& prefix, size_t labelWidth,
                       std::wstring value) {
  RowPieces pieces;
  pieces.Id = prefix + Fitted(drive.VolumeName, labelWidth);
  pieces.Free = std::move(value);
  StorePieces(drive, pieces);
  SetTextColour(drive, kPalette[kNormalEntry]);
}

// The path is the row's last piece and is never cut.
void ShowRemotePath(DriveRecord& drive, const std::wstring& prefix) {
  RowPieces pieces;
  pieces.Id = prefix + PaddedRight(drive.NetworkPath, kNetworkPathWidth);
  StorePieces(drive, pieces);
  SetTextColour(drive, kPalette[kRemotePathEntry]);
}

// The drive that will be full first, by name and time: "E: full in about 3 h".
std::wstring SoonestFull(const DriveTable& table) {
  const DriveRecord* soonest = nullptr;
  for (int index = 1; index < kDriveRecords; ++index) {
    const DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
    if (drive.State == DriveState::Present && drive.FullInHours > 0 &&
        (!soonest || drive.FullInHours < soonest->FullInHours))
      soonest = &drive;
  }
  return soonest ? soonest->DriveName + L" " + FullInText(soonest->FullInHours) : L"";
}

// W3C's relative luminance of a colour (red in the lowest byte).
double Luminance(Colour colour) {
  double sum = 0;
  const double weights[] = {0.2126, 0.7152, 0.0722};
  for (int channel = 0; channel < 3; ++channel) {
    const double value = static_cast<double>((colour >> (8 * channel)) & 0xFF) / 255.0;
    const double linear = value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    sum += weights[channel] * linear;
  }
  return sum;
}

int StorageUnit(const Settings& options) {
  return options.Get(opt::StorageUnit);
}

}  // namespace

double ContrastRatio(Colour first, Colour second) {
  const double a = Luminance(first);
  const double b = Luminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Colour ReadableTextColour(Colour text, Colour back) {
  if (ContrastRatio(text, back) >= kLeastContrast)
    return text;
  constexpr Colour kBlack = 0x000000;
  constexpr Colour kWhite = 0xFFFFFF;
  return ContrastRatio(kBlack, back) >= ContrastRatio(kWhite, back) ? kBlack : kWhite;
}

Colour LevelColour(int freePercent) {
  if (freePercent < kCriticalBelowPercent)
    return kPalette[kCriticalEntry];
  if (freePercent < kLowBelowPercent)
    return kPalette[kLowEntry];
  return kPalette[kNormalEntry];
}

void RebuildDriveRow(DriveTable& table, int index, const Settings& options) {
  if (index < 1 || index >= kDriveRecords)
    return;
  DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
  drive.FreePercent = FreePercentOf(drive.BytesAvailable, drive.BytesTotal);
  const std::wstring prefix = Prefix(table, index);
  const int unit = StorageUnit(options);
  if (HasNoMedia(drive))
    ShowLabelAndValue(drive, prefix, kNoMediaLabelWidth, SizeText(drive.BytesAvailable, unit));
  else if (HoldsAudioCd(drive))
    ShowLabelAndValue(drive, prefix, kAudioLabelWidth, PlayingTime(drive.AudioSeconds));
  else if (ShowsRemotePath(drive))
    ShowRemotePath(drive, prefix);
  else
    ShowOrdinary(drive, OrdinaryPieces(drive, prefix, unit));
}

void RebuildSummaryRow(DriveTable& table, const Settings& options) {
  DriveRecord& summary = table.Drives[kSummaryRow];
  summary.BytesTotal = 0;
  summary.BytesAvailable = 0;
  summary.BytesDiffSum = 0;
  for (int index = 1; index < kDriveRecords; ++index) {
    const DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
    if (drive.State != DriveState::Present || drive.Kind != DriveKind::Fixed || drive.AliasOf != 0)
      continue;
    summary.BytesTotal += drive.BytesTotal;
    summary.BytesAvailable += drive.BytesAvailable;
    summary.BytesDiffSum += drive.BytesDiffSum;
  }
  summary.FreePercent = FreePercentOf(summary.BytesAvailable, summary.BytesTotal);
  RowPieces pieces = OrdinaryPieces(summary, Prefix(table, kSummaryRow), StorageUnit(options));
  pieces.FullIn = SoonestFull(table);
  ShowOrdinary(summary, pieces);
}

std::vector<DriveListRow> DriveListRows(const DriveTable& table) {
  std::vector<DriveListRow> rows;
  for (int index = 0; index < kDriveRecords; ++index) {
    const DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
    if (drive.State != DriveState::Present || drive.DisplayOrder < 1)
      continue;
    rows.push_back({index, drive.ListText, drive.TextColour, drive.BackColour});
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [&table](const DriveListRow& a, const DriveListRow& b) {
                     return table.Drives[static_cast<size_t>(a.Index)].DisplayOrder <
                            table.Drives[static_cast<size_t>(b.Index)].DisplayOrder;
                   });
  return rows;
}

}  // namespace tarvik
