#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/colour_list.h"
#include "settings/filters.h"
#include "settings/log_path.h"
#include "settings/window_positions.h"
#include "settings_fixture.h"

namespace tarvik {
namespace {

using testing::SettingsFixture;

constexpr int32_t kFirstGraphDefault = 0x3C14DC;
constexpr int32_t kSecondGraphDefault = 0xCC3399;

TEST(ColourList, WritesOnlyChangedSlotsAndDropsTrailingSeparators) {
  SettingsFixture f;
  const ColourRange graphs = GraphColourRange(f.Options);
  EXPECT_EQ(BuildColourList(f.Options, f.Defaults, graphs), L"");
  f.Options.Set(opt::FirstGraphColour + 1, 0xABC);
  EXPECT_EQ(BuildColourList(f.Options, f.Defaults, graphs), L"$ABC");
  f.Options.Set(opt::FirstGraphColour + 7, 0x10);
  EXPECT_EQ(BuildColourList(f.Options, f.Defaults, graphs), L"$ABC$$$$$$10");
  // The slot after the eighth starts at 0, which ends the list.
  f.Options.Set(opt::FirstGraphColour + 8, 0x20);
  EXPECT_EQ(BuildColourList(f.Options, f.Defaults, graphs), L"$ABC$$$$$$10");
}

struct ApplyCase {
  const char* Guards;
  const wchar_t* List;
  int32_t First;   // the first slot afterwards
  int32_t Second;  // the second slot afterwards
};

class ColourListReading : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ColourListReading, AppliesOnlyPlausibleColours) {
  const ApplyCase& c = GetParam();
  SettingsFixture f;
  f.Options.Set(opt::FirstGraphColour, 0x111111);
  f.Options.Set(opt::FirstGraphColour + 1, 0x222222);
  ApplyColourList(c.List, f.Options, f.Defaults, GraphColourRange(f.Options));
  EXPECT_EQ(f.Options.Get(opt::FirstGraphColour), c.First);
  EXPECT_EQ(f.Options.Get(opt::FirstGraphColour + 1), c.Second);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ColourListReading,
    ::testing::Values(ApplyCase{"hex_sets", L"abc$DEF", 0xABC, 0xDEF},
                      ApplyCase{"empty_entry_restores", L"$123", kFirstGraphDefault, 0x123},
                      ApplyCase{"missing_entries_restore", L"5", 0x5, kSecondGraphDefault},
                      ApplyCase{"white_refused", L"FFFFFF$1", 0x111111, 0x1},
                      ApplyCase{"zero_refused", L"0$000", 0x111111, 0x222222},
                      ApplyCase{"junk_refused", L"12G$-5", 0x111111, 0x222222},
                      ApplyCase{"overlong_refused", L"1000000001$1", 0x111111, 0x1},
                      ApplyCase{"extra_entries_ignored", L"1$2$3$4$5$6$7$8$9$A$B", 0x1, 0x2}),
    [](const auto& test) { return std::string(test.param.Guards); });

TEST(ColourList, RoundTripOverProcessorSlots) {
  SettingsFixture f;
  const ColourRange processors = ProcessorColourRange(f.Options);
  f.Options.Set(f.FirstProcessorSlot() + 2, 0x123456);
  const std::wstring list = BuildColourList(f.Options, f.Defaults, processors);
  EXPECT_EQ(list, L"$$123456");

  SettingsFixture read;
  ApplyColourList(list, read.Options, read.Defaults, ProcessorColourRange(read.Options));
  EXPECT_EQ(read.Options.Get(read.FirstProcessorSlot() + 2), 0x123456);
  EXPECT_EQ(read.Options.Get(read.FirstProcessorSlot() + 3), SettingsFixture::kProcessorColour);
}

TEST(ColourList, GpuBlockGoesToEveryDeviceAndStopsAtTheRecordsEnd) {
  SettingsFixture f;
  const int first = f.FirstGpuSlot();
  EXPECT_TRUE(CopyGpuColourBlocks(f.Options, 3));
  EXPECT_EQ(f.Options.Get(first + 25), SettingsFixture::kGpuColour);
  EXPECT_EQ(f.Options.Get(first + 26), 0);  // only the six graph colours of a block
  EXPECT_EQ(f.Options.Get(first + 30), 0);  // a fourth device does not exist
  CopyGpuColourBlocks(f.Options, 1000);     // must not run past the record
  EXPECT_EQ(f.Options.Get(Settings::kCount - 1), 0);
}

struct PositionsCase {
  const char* Guards;
  const wchar_t* Text;
  std::optional<WindowPositions> Expected;
};

class WindowPositionsReading : public ::testing::TestWithParam<PositionsCase> {};

TEST_P(WindowPositionsReading, ReadsTheFourNumbersOrNothing) {
  const PositionsCase& c = GetParam();
  const std::optional<WindowPositions> read = ParseWindowPositions(c.Text);
  ASSERT_EQ(read.has_value(), c.Expected.has_value());
  if (!read)
    return;
  EXPECT_EQ(read->MainX, c.Expected->MainX);
  EXPECT_EQ(read->MainY, c.Expected->MainY);
  EXPECT_EQ(read->MiniX, c.Expected->MiniX);
  EXPECT_EQ(read->MiniY, c.Expected->MiniY);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WindowPositionsReading,
    ::testing::Values(PositionsCase{"lower_case", L"v10w20x30y40", WindowPositions{10, 20, 30, 40}},
                      PositionsCase{"upper_case", L"V10W20X30Y40", WindowPositions{10, 20, 30, 40}},
                      PositionsCase{"left_monitor", L"v-1920w0x-5y7",
                                    WindowPositions{-1920, 0, -5, 7}},
                      PositionsCase{"missing_number", L"v10wx30y40", std::nullopt},
                      PositionsCase{"missing_part", L"v10w20x30", std::nullopt},
                      PositionsCase{"trailing_junk", L"v10w20x30y40z", std::nullopt},
                      PositionsCase{"letters_out_of_order", L"w10v20x30y40", std::nullopt},
                      PositionsCase{"overflow", L"v99999999999w0x0y0", std::nullopt},
                      PositionsCase{"beyond_int32", L"v2147483648w0x0y0", std::nullopt},
                      PositionsCase{"lone_minus", L"v-w0x0y0", std::nullopt}),
    [](const auto& test) { return std::string(test.param.Guards); });

TEST(WindowPositions, RoundTrip) {
  SettingsFixture f;
  ApplyWindowPositions({-8, 16, 1200, 700}, f.Options);
  const std::wstring text = BuildWindowPositions(f.Options);
  EXPECT_EQ(text, L"v-8w16x1200y700");
  ASSERT_TRUE(ParseWindowPositions(text));
  EXPECT_EQ(ParseWindowPositions(text)->MiniX, 1200);
}

TEST(Filters, KeepOnlyTheirShape) {
  EXPECT_EQ(CheckedDriveFilter(L"1A2b-3C4d"), L"1A2b-3C4d");
  for (const wchar_t* bad : {L"", L"1A2B3C4D", L"1A2B-3C4", L"1A2G-3C4D", L"1A2B_3C4D"}) {
    EXPECT_EQ(CheckedDriveFilter(bad), L"") << bad;
  }
  EXPECT_EQ(CheckedAdapterFilter(L"00:1a:2B:3c:4D:5e"), L"00:1a:2B:3c:4D:5e");
  for (const wchar_t* bad : {L"00:1a:2B:3c:4D", L"00-1a-2B-3c-4D-5e", L"00:1a:2B:3c:4D:5g",
                             L"001:a:2B:3c:4D:5e", L"00:1a:2B:3c:4D:5e:"}) {
    EXPECT_EQ(CheckedAdapterFilter(bad), L"") << bad;
  }
  EXPECT_EQ(DriveFilterToWrite(L"0000-0000"), L"");
  EXPECT_EQ(AdapterFilterToWrite(L"00:00:00:00:00:00"), L"");
  EXPECT_EQ(DriveFilterToWrite(L"junk"), L"");
}

TEST(Logpath, ZeroOrPortableMeansTheProgramFolder) {
  SettingsFixture f;
  const std::wstring program = SettingsFixture::kProgramFolder;
  EXPECT_EQ(ResolveLogpath(f.Files, L"0", program, false), program);
  EXPECT_EQ(ResolveLogpath(f.Files, L"E:\\Logs\\", program, true), program);
  EXPECT_EQ(ResolveLogpath(f.Files, L"E:\\Logs", program, false), L"E:\\Logs\\");
  EXPECT_EQ(ResolveLogpath(f.Files, L"", program, false), L"\\");
  EXPECT_TRUE(f.Files.Files.empty()) << "the write test leaves its probe behind";
}

TEST(Logpath, FolderThatFailsTheWriteTestIsRefused) {
  SettingsFixture f;
  f.Files.ReadOnlyFolders.insert(L"C:\\Windows\\");
  EXPECT_EQ(ResolveLogpath(f.Files, L"C:\\Windows", SettingsFixture::kProgramFolder, false),
            std::nullopt);
}

TEST(Logpath, ProgramFolderIsWrittenAsZero) {
  EXPECT_EQ(LogpathToWrite(L"d:\\tools\\TARVIK\\", SettingsFixture::kProgramFolder), L"0");
  EXPECT_EQ(LogpathToWrite(L"E:\\Logs\\", SettingsFixture::kProgramFolder), L"E:\\Logs\\");
  EXPECT_EQ(LogpathToWrite(L"", L""), L"");
}

}  // namespace
}  // namespace tarvik
