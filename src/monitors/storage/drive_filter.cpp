#include "monitors/storage/drive_filter.h"

#include "monitors/system/text_shapes.h"
#include "text/format_size.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kTotalSizeMode = 0;

std::wstring TypeName(DriveKind kind, const std::vector<std::wstring>& typeNames) {
  const auto at = static_cast<size_t>(kind);
  return at < typeNames.size() ? typeNames[at] : std::wstring();
}

std::wstring FilterItem(const DriveRecord& drive, const std::vector<std::wstring>& typeNames) {
  return Tr(L"Filter") + L" " + drive.DriveName + L" " +
         FormatSize(drive.BytesTotal, kTotalSizeMode) + L" (" + drive.VolumeSerial + L") " +
         TypeName(drive.Kind, typeNames) + L" " + Tr(L"Drive") + L": " +
         system_text::Trimmed(drive.VolumeName);
}

// A volume without media has no serial of its own, so it cannot identify the followed drive.
bool IdentifiesVolume(const std::wstring& serial) {
  return !serial.empty() && serial != kNoMediaSerial;
}

int ItemOfFollowedDrive(const DriveFilter& filter, const DriveTable& table,
                        const FollowedDriveChoice& chosen) {
  if (IdentifiesVolume(chosen.Serial)) {
    for (size_t item = 1; item < filter.DriveOfItem.size(); ++item) {
      const auto drive = static_cast<size_t>(filter.DriveOfItem[item]);
      if (table.Drives[drive].VolumeSerial == chosen.Serial)
        return static_cast<int>(item);
    }
  }
  for (size_t item = 1; item < filter.DriveOfItem.size(); ++item) {
    if (filter.DriveOfItem[item] == chosen.Index)
      return static_cast<int>(item);
  }
  return 0;
}

}  // namespace

DriveFilter BuildDriveFilter(const DriveTable& table, const FollowedDriveChoice& chosen,
                             const std::vector<std::wstring>& typeNames) {
  DriveFilter filter;
  filter.Items.push_back(Tr(L"Show ALL Active Drives"));
  filter.DriveOfItem.push_back(0);
  for (int index = 1; index < kDriveRecords; ++index) {
    const DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
    if (drive.State != DriveState::Present || drive.DisplayOrder < 1)
      continue;
    filter.Items.push_back(FilterItem(drive, typeNames));
    filter.DriveOfItem.push_back(index);
    filter.Letters += LetterOf(index);
  }
  filter.Selected = ItemOfFollowedDrive(filter, table, chosen);
  filter.Followed = filter.DriveOfItem[static_cast<size_t>(filter.Selected)];
  filter.Remembered = filter.Followed > 0 ? ChoiceOf(table, filter.Followed) : chosen;
  return filter;
}

FollowedDriveChoice ChoiceOf(const DriveTable& table, int drive) {
  if (drive < 1 || drive >= kDriveRecords)
    return {};
  return {drive, table.Drives[static_cast<size_t>(drive)].VolumeSerial};
}

}  // namespace tarvik
