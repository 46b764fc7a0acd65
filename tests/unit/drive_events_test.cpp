#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitors/storage/drive_events.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using Lines = std::vector<std::wstring>;
constexpr int64_t kMiB = 1048576;

DriveRecord DriveC(int64_t available, int64_t total, const std::wstring& label) {
  DriveRecord drive;
  drive.Letter = L"C";
  drive.DriveName = L"C:";
  drive.VolumeSerial = L"C0C0-C0C0";
  drive.VolumeName = label;
  drive.BytesAvailable = available;
  drive.BytesTotal = total;
  return drive;
}

TEST(DriveEvents, TotalChangeAlignsItsNumbersToTheLargerTotal) {
  LoadTranslations(kEnglish);
  const struct {
    const char* Name;
    int64_t OldTotal;
    int64_t NewTotal;
    std::wstring Label;
    Lines Expected;
  } cases[] = {
      {"Grown",
       1000,
       250000,
       L"SYSTEM ",
       {L" Diff: 249000 (243K)", L"  Old:   1000 (1000B)", L"  New: 250000 (244K)",
        L"VolName: SYSTEM", L"C: total space changed.", L""}},
      {"ShrunkWithoutLabel",
       250000,
       1000,
       std::wstring(33, L' '),
       {L" Diff: -249000 (-243K)", L"  Old: 250000 (244K)", L"  New:   1000 (1000B)",
        L"C: total space changed.", L""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TotalChangeLines(DriveC(250, c.OldTotal, c.Label), c.NewTotal), c.Expected);
  }
  EXPECT_EQ(TotalChangeRecord(DriveC(250, 1000, L"SYSTEM "), 250000),
            L"C! C0C0-C0C0 250 250000 SYSTEM");
}

TEST(DriveEvents, FreeSpaceChangeTextsForTheListAndTheLog) {
  LoadTranslations(kEnglish);
  DriveRecord drive = DriveC(20 * kMiB, 80 * kMiB, L"");
  drive.FreePercent = 25;
  drive.BytesDiff = -kMiB;
  EXPECT_EQ(DriveSpaceRecord(drive), L"C: 25 20971520 62914560 -1048576");
  const struct {
    int StorageUnit;
    std::wstring Expected;
  } cases[] = {
      {0, L"C:\n25%  20.0M\n-1024K\n0.0!\n75%  60.0M"},
      {3, L"C:\n25%  20.0M\n-1.0M\n0!\n75%  60.0M"},
      {2, L"C:\n25%  20480K\n-1024K\n0!\n75%  61440K"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.StorageUnit);
    EXPECT_EQ(DriveChangeLine(drive, c.StorageUnit), c.Expected);
  }
}

}  // namespace
}  // namespace tarvik
