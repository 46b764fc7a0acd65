#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

#include "core/settings.h"
#include "settings/config_string.h"
#include "settings/defaults.h"
#include "settings/long_idle.h"

namespace tarvik {
namespace {

// Options in their stored order after the 26 flags.
constexpr int kPacked[] = {
    opt::TransparencyStep,   opt::TitleBarMode,       opt::LongIdleChoice, opt::PingShowsAddresses,
    opt::SlowResponseChoice, opt::PingIntervalChoice, opt::StorageUnit};
const std::wstring kNoFlags(26, L'0');

struct Fresh {
  Settings Options;
  Fresh() { ApplyDefaults(Options, 4, 0); }
};

TEST(ConfigString, RoundTripKeepsEveryStoredOption) {
  Fresh written;
  written.Options.Set(opt::AlwaysOnTop, 0);
  written.Options.Set(opt::LogEnabled, 1);
  written.Options.Set(opt::LastFlag, 1);
  const int32_t values[] = {3, 8, 11, 1, 15, 9, 5};
  for (size_t i = 0; i < std::size(kPacked); ++i)
    written.Options.Set(kPacked[i], values[i]);

  const std::wstring config = BuildConfig(written.Options);
  EXPECT_EQ(config,
            L"01100111100100000001100001"
            L"38B1F95" +
                std::wstring(17, L'0'));
  Fresh read;
  ASSERT_TRUE(ApplyConfig(config, read.Options));
  for (int i = 0; i < Settings::kCount; ++i) {
    if (i == opt::LongIdleSeconds)
      continue;
    EXPECT_EQ(read.Options.Get(i), written.Options.Get(i)) << i;
  }
  EXPECT_EQ(read.Options.Get(opt::LongIdleSeconds), 120 * 60);
}

// Changing one option changes its own character and nothing else, and reading that character
// changes that option alone, so no two positions can trade places unnoticed.
TEST(ConfigString, EachPositionHoldsItsOwnOption) {
  struct Position {
    size_t At;  // counted from 1
    int Option;
    int32_t Value;  // away from the start value
    wchar_t Character;
  };
  const Fresh start;
  std::vector<Position> positions;
  for (int option = opt::FirstFlag; option <= opt::LastFlag; ++option) {
    const int32_t flipped = start.Options.Get(option) == 0 ? 1 : 0;
    positions.push_back({static_cast<size_t>(option - opt::FirstFlag + 1), option, flipped,
                         flipped == 1 ? L'1' : L'0'});
  }
  positions.insert(positions.end(), {{27, opt::TransparencyStep, 3, L'3'},
                                     {28, opt::TitleBarMode, 7, L'7'},
                                     {29, opt::LongIdleChoice, 11, L'B'},
                                     {30, opt::PingShowsAddresses, 1, L'1'},
                                     {31, opt::SlowResponseChoice, 14, L'E'},
                                     {32, opt::PingIntervalChoice, 10, L'A'},
                                     {33, opt::StorageUnit, 4, L'4'}});
  const std::wstring startConfig = BuildConfig(start.Options);
  Fresh baseline;
  ASSERT_TRUE(ApplyConfig(startConfig, baseline.Options));
  for (const Position& p : positions) {
    SCOPED_TRACE(p.At);
    std::wstring expected = startConfig;
    expected[p.At - 1] = p.Character;
    Fresh written;
    written.Options.Set(p.Option, p.Value);
    EXPECT_EQ(BuildConfig(written.Options), expected);

    Fresh read;
    ASSERT_TRUE(ApplyConfig(expected, read.Options));
    std::vector<int> changed;
    for (int i = 0; i < Settings::kCount; ++i) {
      if (read.Options.Get(i) != baseline.Options.Get(i))
        changed.push_back(i);
    }
    if (p.Option == opt::LongIdleChoice) {
      EXPECT_EQ(changed, (std::vector<int>{opt::LongIdleChoice, opt::LongIdleSeconds}));
      EXPECT_EQ(read.Options.Get(opt::LongIdleSeconds), 120 * 60);
    } else {
      EXPECT_EQ(changed, std::vector<int>{p.Option});
    }
    EXPECT_EQ(read.Options.Get(p.Option), p.Value);
  }
}

TEST(ConfigString, UnreadableCharacterGivesThePositionsOwnValue) {
  struct Case {
    const char* Guards;
    size_t Position;  // counted from 1
    wchar_t Character;
    int Option;
    int32_t Expected;
  };
  const Case cases[] = {{"flag above one", 1, L'2', opt::AlwaysOnTop, 0},
                        {"flag minus sign", 4, L'-', opt::DriveLedTray, 0},
                        {"step zero", 27, L'0', opt::TransparencyStep, 8},
                        {"step letter", 27, L'x', opt::TransparencyStep, 8},
                        {"title nine", 28, L'9', opt::TitleBarMode, 0},
                        {"idle not hex", 29, L'g', opt::LongIdleChoice, 0},
                        {"idle lower-case hex", 29, L'c', opt::LongIdleChoice, 12},
                        {"ping display two", 30, L'2', opt::PingShowsAddresses, 0},
                        {"step hex letter", 27, L'A', opt::TransparencyStep, 8},
                        {"title hex letter", 28, L'A', opt::TitleBarMode, 0},
                        {"ping display letter", 30, L'B', opt::PingShowsAddresses, 0},
                        {"slow response not hex", 31, L'z', opt::SlowResponseChoice, 0},
                        {"interval not hex", 32, L' ', opt::PingIntervalChoice, 0},
                        {"unit beyond TB", 33, L'6', opt::StorageUnit, 0},
                        {"unit letter", 33, L'A', opt::StorageUnit, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Guards);
    Fresh fresh;
    fresh.Options.Set(c.Option, 7);
    std::wstring config = BuildConfig(fresh.Options);
    config[c.Position - 1] = c.Character;
    ASSERT_TRUE(ApplyConfig(config, fresh.Options));
    EXPECT_EQ(fresh.Options.Get(c.Option), c.Expected);
  }
}

TEST(ConfigString, LengthDecidesWhatIsRead) {
  for (const size_t length : {size_t{0}, size_t{25}, size_t{51}, size_t{500}}) {
    Fresh fresh;
    EXPECT_FALSE(ApplyConfig(std::wstring(length, L'0'), fresh.Options)) << length;
    EXPECT_EQ(fresh.Options.Get(opt::AlwaysOnTop), 1) << length;
  }
  // 29 characters: flags and the first three digits; the ping and unit choices stay.
  Fresh fresh;
  fresh.Options.Set(opt::PingIntervalChoice, 4);
  ASSERT_TRUE(ApplyConfig(kNoFlags + L"534", fresh.Options));
  EXPECT_EQ(fresh.Options.Get(opt::AlwaysOnTop), 0);
  EXPECT_EQ(fresh.Options.Get(opt::TitleBarMode), 3);
  EXPECT_EQ(fresh.Options.Get(opt::PingIntervalChoice), 4);
}

TEST(ConfigString, LongIdleChoiceSetsTheThreshold) {
  // The first entry is one minute; the last, 0, disables the event.
  for (const auto& [choice, seconds] : {std::pair{L'0', 60}, {L'4', 600}, {L'F', 0}}) {
    Fresh fresh;
    ASSERT_TRUE(ApplyConfig(kNoFlags + L"80" + choice, fresh.Options));
    EXPECT_EQ(fresh.Options.Get(opt::LongIdleSeconds), seconds) << static_cast<char>(choice);
  }
}

// An unavailable drive LED (-1) once wrote "-1" and made the string 51 characters long, so the
// next start dropped every option. Out-of-range values must not lengthen it either.
TEST(ConfigString, IsAlwaysFiftyCharactersAndReadsBack) {
  Fresh fresh;
  fresh.Options.Set(opt::DriveLedTray, -1);
  const int32_t wild[] = {10, -3, 99, INT_MAX, INT_MIN, 16, 6};
  for (size_t i = 0; i < std::size(kPacked); ++i)
    fresh.Options.Set(kPacked[i], wild[i]);

  const std::wstring config = BuildConfig(fresh.Options);
  ASSERT_EQ(config.size(), kConfigLength);
  Fresh read;
  ASSERT_TRUE(ApplyConfig(config, read.Options));
  EXPECT_EQ(read.Options.Get(opt::DriveLedTray), 1);
  const int32_t clamped[] = {9, 0, 15, 1, 0, 15, 5};
  for (size_t i = 0; i < std::size(kPacked); ++i) {
    EXPECT_EQ(read.Options.Get(kPacked[i]), clamped[i]) << kPacked[i];
  }
}

// Every option's start value; any option not listed starts at 0.
TEST(Defaults, EveryOptionStartsAtItsValue) {
  constexpr int64_t kNow = 1700000000;
  const std::map<int, int32_t> listed = {
      // Flags of the packed option string that start on.
      {opt::AlwaysOnTop, 1},
      {opt::ExtendedLogBuffering, 1},
      {opt::SingleClickTray, 1},
      {opt::LogStorageEvents, 1},
      {opt::LogNetworkEvents, 1},
      {opt::LogDriveSpace, 1},
      {opt::LogSystemEvents, 1},
      {opt::TrayIconEnabled, 1},
      {opt::MinimizeToTray, 1},
      {opt::TextLineHeight, 12},
      {opt::HistoryRowLimit, 100},
      {opt::StartValue45, 1},
      {opt::TransparencyStep, 8},
      {opt::StartValue51, 80},
      {opt::EventLineLimit, 499},
      {opt::StartValue57, -1},
      {opt::LongIdleSeconds, 600},
      {opt::StartValue60, 10},
      {opt::StartValue124, 128},
      {opt::StartValue134, 128},
      {opt::StartValue142, -1},
      {opt::SelectedGpu, -1},
      {opt::FirstGpuGraph, 800},
      {opt::SelectedGpuGraph, 800},
      {opt::StartValue192, 800},
      {opt::StartValue193, 10},
      {opt::ProcessorCount, 6},
      {opt::ProcessorGridColumns, 1},
      {opt::ProcessorGridRows, 1},
      {opt::ProcessorGridGap, 4},
      {opt::ProcessorGridTop, 112},
      {opt::ProcessorGridWidth, 878},
      {opt::ProcessorGridHeight, 420},
      {opt::StartValue211, 1},
      {opt::ProcessorColourLast, -1},
      {opt::FirstProcessorGraph, 400},
      {opt::StartValue253, -1},
      {opt::PingStatusColour, 255},
      {opt::NextPingTime, static_cast<int32_t>(kNow + 30)},
      {opt::MaxPings, 1024},
      {opt::StartValue272, 60},
      {opt::PingTimeout, 5000},
      {opt::StartValue279, 10},
      {opt::StartValue280, 25},
      {opt::PingListBackColour, 0xF0F0F0},
      {opt::StartValue288, 100},
      {opt::SlowResponseChoice, 1},
      {opt::StartValue293, 7},
      {opt::StartValue298, -1},
      {opt::StartValue299, -1},
      {opt::FirstGraphColour, 0x3C14DC},
      {opt::FirstGraphColour + 1, 0xCC3399},
      {opt::FirstGraphColour + 2, 0xCC6600},
      {opt::FirstGraphColour + 3, 0x009966},
      {opt::FirstGraphColour + 4, 0x0080FF},
      {opt::FirstGraphColour + 5, 0x006699},
      {opt::FirstGraphColour + 6, 0x808040},
      {opt::FirstGraphColour + 7, 0x408000},
      // Panel 0 is a real copy request, so none pending is -1.
      {opt::CopyRequest, -1},
      // The progress window at start: 234 wide, seven text lines high.
      {opt::MiniWidth, 234},
      {opt::MiniHeight, 7 * 12},
      // The long-idle choice that matches the 600 s threshold (10 minutes), so that the
      // threshold survives the first save and restart.
      {opt::LongIdleChoice, 4}};
  Settings options;
  options.Set(opt::MainX, 77);  // anything left from before is cleared
  ApplyDefaults(options, 6, kNow);
  for (int i = 0; i < Settings::kCount; ++i) {
    const auto found = listed.find(i);
    EXPECT_EQ(options.Get(i), found == listed.end() ? 0 : found->second) << i;
  }
  EXPECT_EQ(LongIdleSeconds(options.Get(opt::LongIdleChoice)), options.Get(opt::LongIdleSeconds));
  for (const auto& [processors, shown] : {std::pair{144, 144}, {145, 144}, {1000, 144}}) {
    ApplyDefaults(options, processors, kNow);
    EXPECT_EQ(options.Get(opt::ProcessorCount), shown) << processors;
  }
}

}  // namespace
}  // namespace tarvik
