#include <gtest/gtest.h>

#include <array>
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

TEST(ColourList, WritesOnlyChangedSlotsAndDropsTrailingSeparators) {
  SettingsFixture f;
  const ColourRange graphs = GraphColourRange(f.Options);
  EXPECT_EQ(BuildColourList(f.Options, f.Defaults, graphs), L"");
  f.Options.Set(opt::FirstGraphColour + 1, 0xABC);
  EXPECT_EQ(BuildColourList(f.Options, f.Defaults, graphs), L"$ABC");
  f.Options.Set(opt::FirstGraphColour + 7, 0x10);
  f.Options.Set(opt::FirstGraphColour + 8, 0x20);  // starts at 0, so the list ends before it
  EXPECT_EQ(BuildColourList(f.Options, f.Defaults, graphs), L"$ABC$$$$$$10");
}

TEST(ColourList, ReadingAppliesOnlyPlausibleColours) {
  struct Case {
    const char* Guards;
    const wchar_t* List;
    int32_t First;  // the first two slots afterwards
    int32_t Second;
  };
  const Case cases[] = {{"hex sets", L"abc$DEF", 0xABC, 0xDEF},
                        {"empty entry restores", L"$123", 0x3C14DC, 0x123},
                        {"missing entry restores", L"5", 0x5, 0xCC3399},
                        {"white refused", L"FFFFFF$1", 0x111111, 0x1},
                        {"zero refused", L"0$000", 0x111111, 0x222222},
                        {"junk refused", L"12G$-5", 0x111111, 0x222222},
                        {"overlong refused", L"1000000001$1", 0x111111, 0x1},
                        {"extra entries ignored", L"1$2$3$4$5$6$7$8$9$A$B", 0x1, 0x2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Guards);
    SettingsFixture f;
    f.Options.Set(opt::FirstGraphColour, 0x111111);
    f.Options.Set(opt::FirstGraphColour + 1, 0x222222);
    ApplyColourList(c.List, f.Options, f.Defaults, GraphColourRange(f.Options));
    EXPECT_EQ(f.Options.Get(opt::FirstGraphColour), c.First);
    EXPECT_EQ(f.Options.Get(opt::FirstGraphColour + 1), c.Second);
  }
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

TEST(WindowPositions, ReadsTheFourNumbersOrNothing) {
  using Numbers = std::array<int32_t, 4>;  // main x, main y, mini x, mini y
  const std::pair<const wchar_t*, std::optional<Numbers>> cases[] = {
      {L"v10w20x30y40", Numbers{10, 20, 30, 40}},
      {L"V10W20X30Y40", Numbers{10, 20, 30, 40}},
      {L"v-1920w0x-5y7", Numbers{-1920, 0, -5, 7}},
      {L"v10wx30y40", std::nullopt},
      {L"v10w20x30y40z", std::nullopt},
      {L"w10v20x30y40", std::nullopt},
      {L"v99999999999w0x0y0", std::nullopt},
      {L"v2147483648w0x0y0", std::nullopt},
      {L"v-w0x0y0", std::nullopt}};
  for (const auto& [text, expected] : cases) {
    const std::optional<WindowPositions> read = ParseWindowPositions(text);
    ASSERT_EQ(read.has_value(), expected.has_value()) << text;
    if (!read)
      continue;
    EXPECT_EQ((Numbers{read->MainX, read->MainY, read->MiniX, read->MiniY}), *expected) << text;
  }
}

TEST(Filters, KeepOnlyTheirShape) {
  EXPECT_EQ(CheckedDriveFilter(L"1A2b-3C4d"), L"1A2b-3C4d");
  for (const wchar_t* bad : {L"1A2B3C4D", L"1A2B-3C4", L"1A2G-3C4D"}) {
    EXPECT_EQ(CheckedDriveFilter(bad), L"") << bad;
  }
  EXPECT_EQ(CheckedAdapterFilter(L"00:1a:2B:3c:4D:5e"), L"00:1a:2B:3c:4D:5e");
  for (const wchar_t* bad : {L"00-1a-2B-3c-4D-5e", L"00:1a:2B:3c:4D:5g", L"001:a:2B:3c:4D:5e"}) {
    EXPECT_EQ(CheckedAdapterFilter(bad), L"") << bad;
  }
  EXPECT_EQ(DriveFilterToWrite(L"0000-0000"), L"");
}

TEST(Logpath, NamesAFolderThatPassesTheWriteTest) {
  SettingsFixture f;
  const std::wstring program = SettingsFixture::kProgramFolder;
  const FolderWriteTest& test = f.Context.PassesWriteTest;
  EXPECT_EQ(ResolveLogpath(test, L"0", program, false), program);
  EXPECT_EQ(ResolveLogpath(test, L"E:\\Logs\\", program, true), program);
  EXPECT_EQ(ResolveLogpath(test, L"E:\\Logs", program, false), L"E:\\Logs\\");
  EXPECT_EQ(ResolveLogpath(test, L"", program, false), L"\\");
  EXPECT_TRUE(f.Files.Files.empty()) << "the write test leaves its probe behind";
  f.Files.ReadOnlyFolders.insert(L"C:\\Windows\\");
  EXPECT_EQ(ResolveLogpath(test, L"C:\\Windows", program, false), std::nullopt);
  EXPECT_EQ(LogpathToWrite(L"d:\\tools\\TARVIK\\", program), L"0");
}

}  // namespace
}  // namespace tarvik
