#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_drives.h"
#include "monitors/storage/drive_scan.h"
#include "text/translation.h"

namespace tarvik {
namespace {

using fakes::FakeDrive;
using Lines = std::vector<std::wstring>;

FakeDrive Drive(int type, uint32_t serial, int64_t available, int64_t total,
                const std::wstring& label = L"") {
  FakeDrive drive;
  drive.Type = type;
  drive.Volume = platform::VolumeInformation{label, serial, L"NTFS", 255};
  drive.Space = platform::DriveSpace{available, total};
  return drive;
}

class DriveScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTranslations(kEnglish);
    options.Set(opt::OsBuildNumber, 19045);
    drives.Letters[L'C'] = Drive(3, 0xC0C0C0C0, 250, 1000, L"SYSTEM");
  }
  // Scans, and returns what the scan reported.
  Lines Scan() {
    events.clear();
    records.clear();
    ScanDrives(table, PresentDrivesText(drives, options), ports);
    return events;
  }
  DriveRecord& At(wchar_t letter) { return table.Drives[letter - L'@']; }

  fakes::FakeDrives drives;
  Settings options;
  DriveTable table;
  Lines events;
  Lines records;
  DriveScanPorts ports{drives, options, [this](const std::wstring& l) { events.push_back(l); },
                       [this](const std::wstring& r) { records.push_back(r); }};
};

// The block of drive E, found or lost.
Lines BlockOfE(const std::wstring& word) {
  return {L" Used: 39000 (38K)",
          L" Free:  1000 (1000B)",
          L"Total: 40000 (39K)",
          L"VolName: USB",
          L"Removable Media using NTFS-255",
          L"E: " + word + L". VolSerial: 1234-ABCD",
          L""};
}

TEST_F(DriveScanTest, ADriveArrivingAfterTheFirstScanIsHighlightedAndReportedFound) {
  Scan();
  EXPECT_EQ(At('C').FadeLevel, 0);  // present at start: not new
  EXPECT_EQ(records, Lines{L"C+ C0C0-C0C0 250 1000 SYSTEM"});
  drives.Letters[L'E'] = Drive(2, 0x1234ABCD, 1000, 40000, L"USB");
  EXPECT_EQ(Scan(), BlockOfE(L"found"));
  EXPECT_EQ(records, Lines{L"E+ 1234-ABCD 1000 40000 USB"});
  EXPECT_EQ(At('E').FadeLevel, 11);
  EXPECT_EQ(At('E').HighlightCountdown, 3);
  EXPECT_EQ(At('E').FreePercent, 2);

  drives.Letters.erase(L'E');
  EXPECT_EQ(Scan(), BlockOfE(L"lost"));
  EXPECT_EQ(records, Lines{L"E- 1234-ABCD 1000 40000 USB"});
  EXPECT_EQ(At('E').State, DriveState::Lost);
}

TEST_F(DriveScanTest, AListedDriveWhoseTypeTurnsUndeterminedIsAnErrorUntilItAnswers) {
  for (const int type : {0, 1, 7}) {
    SCOPED_TRACE(type);
    drives.Letters[L'E'] = Drive(2, 0x1234ABCD, 1000, 4000, L"USB");
    Scan();
    drives.Letters[L'E'].Type = type;
    EXPECT_EQ(Scan(), (Lines{L"VolName: USB", L"E: error. VolSerial: 1234-ABCD", L""}));
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(At('E').State, DriveState::Lost);
    EXPECT_TRUE(Scan().empty());  // still unreadable: neither lost again nor found
    drives.Letters[L'E'].Type = 2;
    EXPECT_EQ(Scan().at(5), L"E: found. VolSerial: 1234-ABCD");
  }
}

TEST_F(DriveScanTest, ALaterLetterForTheSameVolumeIsAnAliasWithoutARow) {
  const struct {
    const char* Name;
    FakeDrive Earlier;
    FakeDrive Later;
    int AliasOf;
  } cases[] = {{"SameSerialSizeAndLabel", Drive(3, 7, 5, 100, L"A"), Drive(3, 7, 5, 100, L"A"), 4},
               {"OtherLabel", Drive(3, 7, 5, 100, L"A"), Drive(3, 7, 5, 100, L"B"), 0},
               {"OtherSize", Drive(3, 7, 5, 100, L"A"), Drive(3, 7, 5, 101, L"A"), 0},
               {"RemoteOfASizelessDrive", Drive(4, 7, 0, 0, L"A"), Drive(4, 7, 0, 0, L"A"), 0},
               {"RemoteOfASizedDrive", Drive(4, 7, 5, 100, L"A"), Drive(4, 7, 5, 100, L"A"), 4},
               {"TwoEmptyDiscDrives",
                {5, std::nullopt, std::nullopt, {}, std::nullopt},
                {5, std::nullopt, std::nullopt, {}, std::nullopt},
                0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    drives.Letters[L'D'] = c.Earlier;
    drives.Letters[L'E'] = c.Later;
    for (int scan = 0; scan < 2; ++scan)  // a re-scan finds the same, no more
      Scan();
    EXPECT_EQ(At('E').AliasOf, c.AliasOf);
    EXPECT_EQ(At('D').AliasLetters, c.AliasOf ? L"E" : L"");
    EXPECT_EQ(At('D').AliasCount, c.AliasOf ? 1 : 0);
    EXPECT_EQ(At('E').DisplayOrder == 0, c.AliasOf != 0);
  }
}

TEST_F(DriveScanTest, RowsRunFixedSummaryRemovableRamDiskOpticalRemote) {
  const struct {
    const char* Name;
    std::wstring Letters;     // of the drives below that are present
    std::vector<int> Orders;  // of the summary row and C D E F G H
  } cases[] = {{"EveryKind", L"CDEFGH", {3, 1, 2, 4, 6, 7, 5}},
               {"OneFixedDriveHasNoSummary", L"CEFGH", {0, 1, 0, 2, 4, 5, 3}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    drives.Letters = {{L'C', Drive(3, 1, 1, 9)}, {L'D', Drive(3, 2, 1, 9)},
                      {L'E', Drive(2, 3, 1, 9)}, {L'F', Drive(5, 4, 1, 9)},
                      {L'G', Drive(4, 5, 1, 9)}, {L'H', Drive(6, 6, 1, 9)}};
    drives.Listed = c.Letters;
    Scan();
    std::vector<int> orders = {table.Drives[kSummaryRow].DisplayOrder};
    for (const wchar_t letter : std::wstring(L"CDEFGH"))
      orders.push_back(At(letter).DisplayOrder);
    EXPECT_EQ(orders, c.Orders);
  }
  // A second letter of the one fixed volume is no second fixed drive.
  drives.Letters = {{L'C', Drive(3, 1, 1, 9)}, {L'D', Drive(3, 1, 1, 9)}};
  drives.Listed.reset();
  Scan();
  EXPECT_EQ(table.FixedDrives, 1);
  EXPECT_EQ(table.Drives[kSummaryRow].DisplayOrder, 0);
}

TEST_F(DriveScanTest, MappedDrivesShowTheirRemoteNameOrTheErrorsName) {
  const struct {
    uint32_t Error;
    std::wstring Shown;
  } cases[] = {{0, L"\\\\server\\share"},           {1200, L"ERROR_BAD_DEVICE"},
               {2250, L"ERROR_NOT_CONNECTED"},      {234, L"ERROR_MORE_DATA"},
               {1201, L"ERROR_CONNECTION_UNAVAIL"}, {1222, L"ERROR_NO_NETWORK"},
               {1208, L"ERROR_EXTENDED_ERROR"},     {1203, L"ERROR_NO_NET_OR_BAD_PATH"},
               {487, L"ERROR_INVALID_ADDRESS"},     {5, L"UNKNOWN ERROR 5"}};
  options.Set(opt::NetProviderLibraryPresent, 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Error);
    drives.Letters[L'G'] = Drive(4, 5, 0, 0);
    drives.Letters[L'G'].Connection = {c.Error, c.Error ? L"" : L"\\\\server\\share"};
    Scan();
    EXPECT_EQ(At('G').NetworkPath, c.Shown);
  }
  EXPECT_EQ(drives.LastConnectionLength, 127u);
  options.Set(opt::NetProviderLibraryPresent, 0);
  Scan();
  EXPECT_EQ(At('G').NetworkPath, L"Network Path");
}

TEST_F(DriveScanTest, MediaDrivesNameAnEmptyDriveOrAnAudioDisc) {
  const struct {
    const char* Name;
    std::optional<platform::VolumeInformation> Volume;
    std::optional<platform::AudioDisc> Audio;
    std::wstring Label;
    int64_t Total;
  } cases[] = {{"NoMedia", std::nullopt, std::nullopt, L"No Media / Blank", 0},
               {"OneTrack", platform::VolumeInformation{L"Audio CD", 9, L"CDFS", 110},
                platform::AudioDisc{1, 200}, L"Audio: 1 Track", 500},
               {"Tracks", platform::VolumeInformation{L"Audio CD", 9, L"CDFS", 110},
                platform::AudioDisc{12, 3000}, L"Audio: 12 Tracks", 500},
               {"NoTrackCount", platform::VolumeInformation{L"Audio CD", 9, L"CDFS", 110},
                std::nullopt, L"Audio CD", 500}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    drives.Letters[L'F'] = Drive(5, 4, 100, 500, L"DATA");
    Scan();  // a disc with space is in first: taking it out leaves no space behind
    drives.Letters[L'F'].Volume = c.Volume;
    drives.Letters[L'F'].Audio = c.Audio;
    Scan();
    EXPECT_EQ(At('F').VolumeName, c.Label);
    EXPECT_EQ(At('F').BytesTotal, c.Total);
    EXPECT_EQ(At('F').AudioTracks, c.Audio ? c.Audio->Tracks : 0);
  }
}

TEST_F(DriveScanTest, ALabelChangeIsReportedOnceWithItsRecord) {
  // An unlabelled volume keeps blanks, so naming it later is a change too.
  drives.Letters[L'C'].Volume->Label = L"";
  Scan();
  drives.Letters[L'C'].Volume->Label = L"SYSTEM";
  EXPECT_EQ(Scan().at(1), L"New: SYSTEM");
  drives.Letters[L'C'].Volume->Label = L"BACKUP";
  EXPECT_EQ(Scan(), (Lines{L"Old: SYSTEM", L"New: BACKUP", L"C: Volume name changed.", L""}));
  EXPECT_EQ(records, Lines{L"C* C0C0-C0C0 Volume Name: \"SYSTEM\" -> \"BACKUP\""});
  drives.Letters[L'C'].Volume->Label = L"BACKUP  ";
  EXPECT_TRUE(Scan().empty());
  // Asked not to check, the read only stores the label.
  drives.Letters[L'C'].Volume->Label = L"NAMED";
  ReadVolume(At('C'), ports, false);
  EXPECT_EQ(At('C').VolumeName, L"NAMED");
  EXPECT_EQ(Scan().at(1), L"New: NAMED");
}

TEST_F(DriveScanTest, VolumeTextsAreSerialHighHalfFirstAndCleanLabels) {
  const struct {
    uint32_t Serial;
    std::wstring Label;
    std::wstring SerialText;
    std::wstring Stored;
  } cases[] = {{0x1A2B003C, L"DATA", L"1A2B-003C", L"DATA"},
               {0xabcdef01, std::wstring(L"CUT\0GARBAGE", 11), L"ABCD-EF01", L"CUT"},
               {0xFFFFFFFF, L"TAB\tBELL\x07", L"FFFF-FFFF", L"TAB?BELL?"},
               {0x00000001, L"HALF\xD800", L"0000-0001", L"HALF?"},
               {0x00010000, std::wstring(40, L'x'), L"0001-0000", std::wstring(33, L'x')}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.SerialText);
    drives.Letters[L'C'].Volume = platform::VolumeInformation{c.Label, c.Serial, L"NTFS", 255};
    DriveRecord& drive = At('C');
    drive.DriveName = L"C:";
    EXPECT_EQ(ReadVolume(drive, ports, false), c.SerialText);
    EXPECT_EQ(drive.VolumeName, c.Stored);
  }
}

TEST_F(DriveScanTest, PresentLettersDropFloppyLettersBeforeBuild1504) {
  const struct {
    const char* Name;
    int Build;
    std::optional<std::wstring> Listed;
    bool Stopping;
    std::wstring Expected;
  } cases[] = {{"OldSystem", 1503, L"ABCZ", false, L"CZ"},
               {"NewSystem", 1504, L"ABCZ", false, L"ABCZ"},
               {"OnlyLettersOnce", 1504, L"c?CZ", false, L"CZ"},
               {"NoList", 1504, std::nullopt, false, L"CDEFGHIJKLMNOPQRSTUVWXYZ"},
               {"ShuttingDown", 1504, L"CZ", true, L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    options.Set(opt::OsBuildNumber, c.Build);
    options.Set(opt::StopFlag, c.Stopping ? 1 : 0);
    drives.Listed = c.Listed;
    drives.ListFails = !c.Listed;
    EXPECT_EQ(PresentDrivesText(drives, options), c.Expected);
  }
  ScanDrives(table, L"C", ports);  // still shutting down
  EXPECT_EQ(table.ScanCount, 0);
}

TEST(DriveScan, FreePercentNeverDividesByZeroNorLeavesItsRange) {
  EXPECT_EQ(FreePercentOf(5, 0), 0);
  EXPECT_EQ(FreePercentOf(5, -1), 0);
  EXPECT_EQ(FreePercentOf(4, 100), 4);
  EXPECT_EQ(FreePercentOf(99, 100), 99);
  EXPECT_EQ(FreePercentOf(200, 100), 100);
  EXPECT_EQ(FreePercentOf(-5, 100), 0);
  EXPECT_EQ(FreePercentOf(INT64_MAX - 1, INT64_MAX), 99);  // past 64 bits times 100
}

}  // namespace
}  // namespace tarvik
