#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitors/storage/drive_filter.h"
#include "text/translation.h"

namespace tarvik {
namespace {

TEST(DriveFilter, ListsTheDrivesWithRowsAndKeepsTheFollowedDrive) {
  LoadTranslations(kEnglish);
  DriveTable table;
  // C: fixed, D: optical without media, E: removable, F: an alias of C: without a row, G: lost.
  const DriveKind kinds[] = {DriveKind::Fixed, DriveKind::Optical, DriveKind::Removable,
                             DriveKind::Fixed, DriveKind::RamDisk};
  const int orders[] = {1, 3, 2, 0, 4};
  for (int index = 3; index <= 7; ++index) {
    DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
    drive.State = index < 7 ? DriveState::Present : DriveState::Lost;
    drive.DriveName = std::wstring(1, LetterOf(index)) + L":";
    drive.Kind = kinds[index - 3];
    drive.DisplayOrder = orders[index - 3];
    drive.VolumeSerial = index == 4 ? L"0000-0000" : index == 5 ? L"2222-2222" : L"1111-1111";
    drive.VolumeName = L"Data     ";
    drive.BytesTotal = 500107862016;
  }
  const std::vector<std::wstring> typeNames = {L"", L"", L"Removable", L"Local"};  // none for 5

  const DriveFilter filter = BuildDriveFilter(table, L"", 0, typeNames);
  EXPECT_EQ(filter.Items,
            (std::vector<std::wstring>{L"Show ALL Active Drives",
                                       L"Filter C:   465.8G (1111-1111) Local Drive: Data",
                                       L"Filter D:   465.8G (0000-0000)  Drive: Data",
                                       L"Filter E:   465.8G (2222-2222) Removable Drive: Data"}));
  EXPECT_EQ(filter.DriveOfItem, (std::vector<int>{0, 3, 4, 5}));
  EXPECT_EQ(filter.Letters, L"CDE");

  const struct {
    const wchar_t* Serial;
    int Index, Selected;
  } followed[] = {{L"", 0, 0},          {L"", 5, 3},          {L"2222-2222", 0, 3},
                  {L"1111-1111", 5, 1}, {L"9999-9999", 4, 2}, {L"0000-0000", 0, 0},
                  {L"9999-9999", 7, 0}};
  for (const auto& c : followed) {
    SCOPED_TRACE(testing::Message() << c.Index << " " << c.Selected);
    EXPECT_EQ(BuildDriveFilter(table, c.Serial, c.Index, typeNames).Selected, c.Selected);
  }
}

}  // namespace
}  // namespace tarvik
