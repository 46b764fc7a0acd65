#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/palette.h"
#include "monitors/storage/drive_rows.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kGiB = 1073741824;
constexpr int kC = 3, kD = 4, kE = 5, kF = 6;

DriveRecord& Add(DriveTable& table, int index, DriveKind kind, int64_t freeGiB, int64_t totalGiB) {
  DriveRecord& drive = table.Drives[static_cast<size_t>(index)];
  drive.State = DriveState::Present;
  drive.TextColour = kPalette[7];
  drive.Kind = kind;
  drive.Mark = kind == DriveKind::Remote ? L"$" : L":";
  drive.BytesAvailable = freeGiB * kGiB;
  drive.BytesTotal = totalGiB * kGiB;
  return drive;
}

// C: 50 GiB free of 100, last change -1 MiB, total change +2 MiB.
const DriveRecord& RebuiltC(DriveTable& table, const Settings& options, int fadeLevel = 0) {
  DriveRecord& c = Add(table, kC, DriveKind::Fixed, 50, 100);
  c.FadeLevel = fadeLevel;
  c.BytesDiff = -1048576;
  c.BytesDiffSum = 2097152;
  RebuildDriveRow(table, kC, options);
  return c;
}

TEST(DriveRows, ChangeColumnFollowsTheFadeLevel) {
  LoadTranslations(kEnglish);
  const std::wstring last = L"-  1024K", total = L"+  2048K", none = L"       ";
  const std::wstring added = L" -NEW!-", lost = L" -LOST-";
  const struct {
    int FadeLevel;
    std::wstring Status, LastDiff;
  } cases[] = {{0, total, last}, {2, last, last},   {4, last, last},    {10, last, last},
               {12, last, last}, {3, added, added}, {11, added, added}, {7, lost, lost},
               {15, lost, lost}, {1, none, last},   {13, none, last}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.FadeLevel);
    DriveTable table;
    const DriveRecord& drive = RebuiltC(table, Settings(), c.FadeLevel);
    EXPECT_EQ(drive.RowText, L"C: 50%   50.0G" + c.Status + L"   50.0G");
    EXPECT_EQ(drive.ListText, L"C:\n 50%   50.0G\n" + c.LastDiff + L"\n" + total + L"\n   50.0G");
  }
}

// On the normal back the text shows the free level; a read-only disc is full by its nature.
TEST(DriveRows, TextColourFollowsTheFreeLevelButNotOnReadOnlyDiscs) {
  const struct {
    int64_t FreeGiB, TotalGiB;
    bool ReadOnly;
    Colour Expected;
  } cases[] = {{4, 100, false, kPalette[12]}, {5, 100, false, kPalette[14]},
               {9, 100, false, kPalette[14]}, {10, 100, false, kPalette[7]},
               {0, 0, false, kPalette[7]},    {0, 1, true, kPalette[7]}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.FreeGiB);
    DriveTable table;
    Add(table, kC, DriveKind::Optical, c.FreeGiB, c.TotalGiB).ReadOnly = c.ReadOnly;
    RebuildDriveRow(table, kC, Settings());
    EXPECT_EQ(table.Drives[kC].TextColour, c.Expected);
  }
}

// Every step a highlight fades through leaves the row readable, whatever its level or form.
TEST(DriveRows, EveryHighlightStepReads) {
  for (const int level : {2, 3, 4, 7, 10, 11, 12, 15}) {
    for (const int64_t freeGiB : {1, 7, 50}) {
      for (const DriveKind kind : {DriveKind::Fixed, DriveKind::Remote}) {
        SCOPED_TRACE(testing::Message()
                     << level << " " << freeGiB << " " << static_cast<int>(kind));
        DriveTable table;
        DriveRecord& drive = Add(table, kC, kind, freeGiB, kind == DriveKind::Remote ? 0 : 100);
        drive.FadeLevel = level;
        drive.BackColour = kPalette[static_cast<size_t>(level)];
        RebuildDriveRow(table, kC, Settings());
        EXPECT_GE(ContrastRatio(drive.TextColour, drive.BackColour), 3.0);
      }
    }
  }
  EXPECT_EQ(ReadableTextColour(kPalette[7], kPalette[0]), kPalette[7]);  // silver on black stays
  EXPECT_EQ(ReadableTextColour(kPalette[7], kPalette[7]), 0x000000u);
  EXPECT_EQ(ReadableTextColour(kPalette[14], kPalette[15]), 0x000000u);  // yellow on white
  EXPECT_EQ(ReadableTextColour(kPalette[12], kPalette[4]), 0xFFFFFFu);   // red on maroon
}

TEST(DriveRows, ShortFormsShowLabelTimeOrPath) {
  DriveTable table;
  table.LargestAliasCount = 2;
  Add(table, kD, DriveKind::Optical, 0, 0).VolumeSerial = kNoMediaSerial;
  table.Drives[kD].VolumeName = L"No Media / Blank";
  DriveRecord& audio = Add(table, kE, DriveKind::Optical, 0, 0);
  audio.VolumeName = L"PartyMixOfTheSummerHolidays";
  audio.AudioTracks = 12;
  audio.AudioSeconds = 3723;
  DriveRecord& remote = Add(table, kF, DriveKind::Remote, 0, 0);
  remote.NetworkPath = L"\\\\server\\share";
  for (int index : {kD, kE, kF, 0, 27})
    RebuildDriveRow(table, index, Settings());
  EXPECT_EQ(table.Drives[kD].RowText, L"D:  No Media / Blank    0.0!");
  EXPECT_EQ(audio.ListText, L"E:  PartyMixOfTheSumm\n  62:03\n\n\n");
  EXPECT_EQ(remote.RowText, L"F$  \\\\server\\share            ");
  EXPECT_EQ(remote.TextColour, kPalette[16]);
  remote.BytesTotal = 10 * kGiB;  // the mapped drive reports its space again
  RebuildDriveRow(table, kF, Settings());
  EXPECT_EQ(remote.RowText, L"F$    0%    0.0!    --    10.0G");
  EXPECT_EQ(remote.TextColour, kPalette[12]);
}

// An audio disc's row ends with its playing time: minutes, then seconds in two digits.
TEST(DriveRows, AudioDiscsShowMinutesAndTwoDigitSeconds) {
  const struct {
    int Seconds;
    std::wstring Shown;
  } cases[] = {{0, L"   0:00"},  {9, L"   0:09"},   {59, L"   0:59"},
               {70, L"   1:10"}, {600, L"  10:00"}, {3723, L"  62:03"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Seconds);
    DriveTable table;
    DriveRecord& audio = Add(table, kE, DriveKind::Optical, 0, 0);
    audio.VolumeName = L"Audio: 3 Tracks";
    audio.AudioTracks = 3;
    audio.AudioSeconds = c.Seconds;
    RebuildDriveRow(table, kE, Settings());
    EXPECT_EQ(audio.RowText, L"E:Audio: 3 Tracks  " + c.Shown);
  }
}

TEST(DriveRows, SummarySumsThePresentFixedVolumesOnceBelowThem) {
  DriveTable table;
  table.LargestAliasCount = 1;
  RebuiltC(table, Settings());
  Add(table, kD, DriveKind::Fixed, 10, 100).BytesDiffSum = 1048576;
  Add(table, kE, DriveKind::Fixed, 10, 100).AliasOf = kD;  // the same volume as D:, no row
  Add(table, kF, DriveKind::Removable, 8, 16).DisplayOrder = 4;
  Add(table, 7, DriveKind::Fixed, 1, 2).State = DriveState::Lost;
  table.Drives[kC].DisplayOrder = 2;
  table.Drives[kD].DisplayOrder = 1;
  table.Drives[kSummaryRow].State = DriveState::Present;
  table.Drives[kSummaryRow].DisplayOrder = 3;
  RebuildSummaryRow(table, Settings());
  const std::vector<DriveListRow> rows = DriveListRows(table);
  std::vector<int> shown;
  for (const DriveListRow& row : rows)
    shown.push_back(row.Index);
  ASSERT_EQ(shown, (std::vector<int>{kD, kC, kSummaryRow, kF}));
  EXPECT_EQ(rows[2].Text, L"===\n 30%   60.0G\n    -- \n+  3072K\n  140.0G");
}

TEST(DriveRows, StorageUnitChoosesTheSizeUnit) {
  const struct {
    int Unit;
    std::wstring Free, LastDiff;
  } cases[] = {{0, L"   50.0G", L"-  1024K"},  {1, L"53687091200", L"-1048576"},
               {2, L"52428800K", L"-  1024K"}, {3, L"51200.0M", L"-   1.0M"},
               {4, L"   50.0G", L"-   0.0G"},  {5, L"    0.0T", L"-   0.0T"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Unit);
    DriveTable table;
    Settings options;
    options.Set(opt::StorageUnit, c.Unit);
    const std::wstring columns = L"C:\n 50%" + c.Free + L"\n" + c.LastDiff + L"\n";
    EXPECT_EQ(RebuiltC(table, options).ListText.substr(0, columns.size()), columns);
  }
}

}  // namespace
}  // namespace tarvik
