#include "monitors/storage/drive_events.h"

#include <algorithm>

#include "monitors/system/text_shapes.h"
#include "text/format_size.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using system_text::RightAligned;
using system_text::Trimmed;

constexpr int kEventSizeMode = 2;
constexpr int kChosenUnitSizeMode = 8;

size_t DigitCount(int64_t value) {
  return std::to_wstring(value).size();
}

// "Total: 4000000 (3.8M)": a byte count right-aligned to `width` digits and its size.
std::wstring ByteCountLine(const std::wstring& label, int64_t bytes, size_t width) {
  return label + L": " + RightAligned(bytes, width) + L" (" + FormatSize(bytes, kEventSizeMode) +
         L")";
}

std::wstring ReportWord(DriveReport report) {
  switch (report) {
    case DriveReport::Found:
      return Tr(L"found");
    case DriveReport::Lost:
      return Tr(L"lost");
    case DriveReport::Error:
      return Tr(L"error");
  }
  return {};
}

std::wstring VolumeNameLine(const std::wstring& label) {
  return Tr(L"VolName") + L": " + label;
}

void AddSpaceLines(std::vector<std::wstring>& lines, const DriveRecord& drive) {
  const size_t width = DigitCount(drive.BytesTotal);
  if (drive.BytesAvailable != 0) {
    lines.push_back(ByteCountLine(TrFixed(L" Used"), UsedBytes(drive), width));
    lines.push_back(ByteCountLine(TrFixed(L" Free"), drive.BytesAvailable, width));
  }
  if (drive.BytesTotal != 0)
    lines.push_back(ByteCountLine(TrFixed(L"Total"), drive.BytesTotal, width));
}

std::wstring TypeLine(const DriveRecord& drive) {
  return DriveKindName(drive.Kind) + L" " + Tr(L"using") + L" " + drive.FileSystem + L"-" +
         std::to_wstring(drive.MaxFileNameLength);
}

// A drive that went away between two polls was read once more without its volume: the serial
// it had is the one before that read.
std::wstring ReportedSerial(const DriveRecord& drive, DriveReport report) {
  if (report == DriveReport::Lost && drive.VolumeSerial == kNoMediaSerial &&
      !drive.PreviousVolumeSerial.empty()) {
    return drive.PreviousVolumeSerial;
  }
  return drive.VolumeSerial;
}

std::wstring RecordHead(const DriveRecord& drive, wchar_t mark, const std::wstring& serial) {
  return drive.Letter + mark + L" " + serial + L" ";
}

}  // namespace

std::array<std::wstring, 7> DriveTypeNames() {
  return {Tr(L"Undetermined"), Tr(L"Root Not Exist"), Tr(L"Removable"), Tr(L"Local"),
          Tr(L"Remote"),       Tr(L"CD/DVD/BR"),      Tr(L"Ramdisk")};
}

std::wstring DriveKindName(DriveKind kind) {
  switch (kind) {
    case DriveKind::Undetermined:
      return Tr(L"Undetermined");
    case DriveKind::NoRoot:
      return Tr(L"Root Drive");
    case DriveKind::Removable:
      return Tr(L"Removable Media");
    case DriveKind::Fixed:
      return Tr(L"Fixed Drive");
    case DriveKind::Remote:
      return Tr(L"Remote/Network");
    case DriveKind::Optical:
      return Tr(L"Optical Drive");
    case DriveKind::RamDisk:
      return Tr(L"Ramdisk Drive");
  }
  return {};
}

std::vector<std::wstring> DriveReportLines(const DriveRecord& drive, DriveReport report) {
  std::vector<std::wstring> lines;
  if (report != DriveReport::Error)
    AddSpaceLines(lines, drive);
  const std::wstring label = Trimmed(drive.VolumeName);
  if (!label.empty())
    lines.push_back(VolumeNameLine(label));
  if (report != DriveReport::Error && !drive.FileSystem.empty())
    lines.push_back(TypeLine(drive));
  lines.push_back(drive.DriveName + L" " + ReportWord(report) + L". " + Tr(L"VolSerial") + L": " +
                  ReportedSerial(drive, report));
  lines.emplace_back();
  return lines;
}

std::wstring DriveReportRecord(const DriveRecord& drive, DriveReport report) {
  if (report == DriveReport::Error)
    return {};
  return RecordHead(drive, report == DriveReport::Found ? L'+' : L'-',
                    ReportedSerial(drive, report)) +
         std::to_wstring(drive.BytesAvailable) + L" " + std::to_wstring(drive.BytesTotal) + L" " +
         Trimmed(drive.VolumeName);
}

std::vector<std::wstring> LabelChangeLines(const DriveRecord& drive, const std::wstring& oldLabel,
                                           const std::wstring& newLabel) {
  return {Tr(L"Old") + L": " + Trimmed(oldLabel), Tr(L"New") + L": " + Trimmed(newLabel),
          drive.DriveName + L" " + Tr(L"Volume name changed") + L".", L""};
}

std::wstring LabelChangeRecord(const DriveRecord& drive, const std::wstring& oldLabel,
                               const std::wstring& newLabel) {
  return RecordHead(drive, L'*', drive.VolumeSerial) + Tr(L"Volume Name") + L": \"" +
         Trimmed(oldLabel) + L"\" -> \"" + Trimmed(newLabel) + L"\"";
}

std::vector<std::wstring> TotalChangeLines(const DriveRecord& drive, int64_t newTotal) {
  const size_t width = DigitCount(std::max(drive.BytesTotal, newTotal));
  std::vector<std::wstring> lines = {
      ByteCountLine(TrFixed(L" Diff"), newTotal - drive.BytesTotal, width),
      ByteCountLine(TrFixed(L"  Old"), drive.BytesTotal, width),
      ByteCountLine(TrFixed(L"  New"), newTotal, width)};
  const std::wstring label = Trimmed(drive.VolumeName);
  if (!label.empty())
    lines.push_back(VolumeNameLine(label));
  lines.push_back(drive.DriveName + L" " + Tr(L"total space changed") + L".");
  lines.emplace_back();
  return lines;
}

std::wstring TotalChangeRecord(const DriveRecord& drive, int64_t newTotal) {
  return RecordHead(drive, L'!', drive.VolumeSerial) + std::to_wstring(drive.BytesAvailable) +
         L" " + std::to_wstring(newTotal) + L" " + Trimmed(drive.VolumeName);
}

std::vector<std::wstring> LowSpaceLines(const DriveRecord& drive) {
  const size_t width = DigitCount(drive.BytesTotal);
  std::vector<std::wstring> lines = {ByteCountLine(TrFixed(L" Free"), drive.BytesAvailable, width),
                                     ByteCountLine(TrFixed(L"Total"), drive.BytesTotal, width)};
  const std::wstring label = Trimmed(drive.VolumeName);
  if (!label.empty())
    lines.push_back(VolumeNameLine(label));
  const std::wstring fullIn = FullInText(drive.FullInHours);
  lines.push_back(drive.DriveName + L" " + Tr(L"low on space") + L" (" +
                  std::to_wstring(drive.FreePercent) + L"%)" +
                  (fullIn.empty() ? L"" : L", " + fullIn) + L".");
  lines.emplace_back();
  return lines;
}

std::wstring LowSpaceRecord(const DriveRecord& drive) {
  return RecordHead(drive, L'<', drive.VolumeSerial) + std::to_wstring(drive.BytesAvailable) +
         L" " + std::to_wstring(drive.BytesTotal) + L" " + Trimmed(drive.VolumeName);
}

std::wstring FullInText(int hours) {
  if (hours <= 0)
    return {};
  return Tr(L"full in about") + L" " + std::to_wstring(hours) + L" h";
}

std::wstring DriveSpaceRecord(const DriveRecord& drive) {
  return drive.DriveName + L" " + std::to_wstring(drive.FreePercent) + L" " +
         std::to_wstring(drive.BytesAvailable) + L" " + std::to_wstring(UsedBytes(drive)) + L" " +
         std::to_wstring(drive.BytesDiff);
}

std::wstring DriveChangeLine(const DriveRecord& drive, int storageUnit) {
  const int mode = storageUnit > 0 ? kChosenUnitSizeMode : kEventSizeMode;
  const auto size = [&](int64_t bytes) { return FormatSize(bytes, mode, storageUnit); };
  return drive.DriveName + L"\n" + std::to_wstring(drive.FreePercent) + L"%  " +
         size(drive.BytesAvailable) + L"\n" + size(drive.BytesDiff) + L"\n" +
         size(drive.BytesDiffSum) + L"\n" + std::to_wstring(100 - drive.FreePercent) + L"%  " +
         size(UsedBytes(drive));
}

}  // namespace tarvik
