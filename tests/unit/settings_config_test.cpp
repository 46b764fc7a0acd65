#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/settings.h"
#include "settings/config_string.h"
#include "settings/defaults.h"

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
                        {"unit beyond TB", 33, L'6', opt::StorageUnit, 0}};
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

}  // namespace
}  // namespace tarvik
