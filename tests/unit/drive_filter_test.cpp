#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitors/storage/drive_events.h"
#include "monitors/storage/drive_filter.h"
#include "text/translation.h"

namespace tarvik {
namespace {

// C: fixed, D: optical without media, E: removable, F: an alias of C: without a row, G: lost.
DriveTable FilterTable() {
  DriveTable table;
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
  return table;
}

std::vector<std::wstring> TypeNames() {
  const auto names = DriveTypeNames();
  return {names.begin(), names.end()};
}

TEST(DriveFilter, ListsTheDrivesWithRowsByTheirTypeNames) {
  for (const auto& [language, optical] :
       {std::pair{kEnglish, L"Filter D:   465.8G (0000-0000) CD/DVD/BR Drive: Data"},
        std::pair{kGerman, L"Filter D:   465.8G (0000-0000) Optischer Datenträger: Data"}}) {
    LoadTranslations(language);
    const DriveFilter filter = BuildDriveFilter(FilterTable(), {}, TypeNames());
    ASSERT_EQ(filter.Items.size(), 4u);
    EXPECT_EQ(filter.Items[2], optical);
  }
  LoadTranslations(kEnglish);
  const DriveFilter filter = BuildDriveFilter(FilterTable(), {}, TypeNames());
  EXPECT_EQ(filter.Items,
            (std::vector<std::wstring>{L"Show ALL Active Drives",
                                       L"Filter C:   465.8G (1111-1111) Local Drive: Data",
                                       L"Filter D:   465.8G (0000-0000) CD/DVD/BR Drive: Data",
                                       L"Filter E:   465.8G (2222-2222) Removable Drive: Data"}));
  EXPECT_EQ(filter.DriveOfItem, (std::vector<int>{0, 3, 4, 5}));
  EXPECT_EQ(filter.Letters, L"CDE");
}

// The chosen drive is found again by its serial, else by its place; while it is away every
// drive's changes show and the choice is kept, so a stick is followed again when it comes back,
// under its letter or another.
TEST(DriveFilter, KeepsTheChosenDriveWhileItIsAway) {
  LoadTranslations(kEnglish);
  const DriveTable table = FilterTable();
  const struct {
    FollowedDriveChoice Chosen;
    int Selected, Followed;
    FollowedDriveChoice Remembered;
  } cases[] = {{{0, L""}, 0, 0, {0, L""}},
               {{5, L""}, 3, 5, {5, L"2222-2222"}},
               {{0, L"2222-2222"}, 3, 5, {5, L"2222-2222"}},
               {{9, L"2222-2222"}, 3, 5, {5, L"2222-2222"}},  // back under another letter
               {{5, L"1111-1111"}, 1, 3, {3, L"1111-1111"}},
               {{4, L"9999-9999"}, 2, 4, {4, L"0000-0000"}},
               {{0, L"0000-0000"}, 0, 0, {0, L"0000-0000"}},
               {{7, L"9999-9999"}, 0, 0, {7, L"9999-9999"}},  // away: kept
               {{8, L""}, 0, 0, {8, L""}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Chosen.Index << " " << c.Chosen.Serial.size());
    const DriveFilter filter = BuildDriveFilter(table, c.Chosen, TypeNames());
    EXPECT_EQ(filter.Selected, c.Selected);
    EXPECT_EQ(filter.Followed, c.Followed);
    EXPECT_EQ(filter.Remembered.Index, c.Remembered.Index);
    EXPECT_EQ(filter.Remembered.Serial, c.Remembered.Serial);
  }
}

}  // namespace
}  // namespace tarvik
