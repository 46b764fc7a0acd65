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
            L"38B1F95"
            L"00000000000000000");

  Fresh read;
  ASSERT_TRUE(ApplyConfig(config, read.Options));
  for (int i = opt::FirstFlag; i <= opt::LastFlag; ++i) {
    EXPECT_EQ(read.Options.Get(i), written.Options.Get(i)) << "flag " << i;
  }
  for (const int option : kPacked)
    EXPECT_EQ(read.Options.Get(option), written.Options.Get(option));
  EXPECT_EQ(read.Options.Get(opt::LongIdleSeconds), 120 * 60);
}

struct FallbackCase {
  const char* Guards;
  size_t Position;  // counted from 1, as the characters of the string
  wchar_t Character;
  int Option;
  int32_t Expected;
};

class ConfigFallback : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(ConfigFallback, UnreadableCharacterGivesThePositionsOwnValue) {
  const FallbackCase& c = GetParam();
  Fresh fresh;
  fresh.Options.Set(c.Option, 7);
  std::wstring config = BuildConfig(fresh.Options);
  config[c.Position - 1] = c.Character;
  ASSERT_TRUE(ApplyConfig(config, fresh.Options));
  EXPECT_EQ(fresh.Options.Get(c.Option), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, ConfigFallback,
    ::testing::Values(FallbackCase{"flag two", 1, L'2', opt::AlwaysOnTop, 0},
                      FallbackCase{"flag minus", 4, L'-', opt::DriveLedTray, 0},
                      FallbackCase{"step zero", 27, L'0', opt::TransparencyStep, 8},
                      FallbackCase{"step letter", 27, L'x', opt::TransparencyStep, 8},
                      FallbackCase{"title nine", 28, L'9', opt::TitleBarMode, 0},
                      FallbackCase{"idle not hex", 29, L'g', opt::LongIdleChoice, 0},
                      FallbackCase{"idle lower hex", 29, L'c', opt::LongIdleChoice, 12},
                      FallbackCase{"ping display two", 30, L'2', opt::PingShowsAddresses, 0},
                      FallbackCase{"unit beyond TB", 33, L'6', opt::StorageUnit, 0}),
    [](const auto& test) {
      std::string name = test.param.Guards;
      for (char& c : name)
        c = c == ' ' ? '_' : c;
      return name;
    });

TEST(ConfigString, WrongLengthIsIgnoredWhole) {
  for (const size_t length : {size_t{0}, size_t{25}, size_t{51}, size_t{500}}) {
    Fresh fresh;
    EXPECT_FALSE(ApplyConfig(std::wstring(length, L'0'), fresh.Options)) << length;
    EXPECT_EQ(fresh.Options.Get(opt::AlwaysOnTop), 1) << length;
    EXPECT_EQ(fresh.Options.Get(opt::TransparencyStep), 8) << length;
  }
}

TEST(ConfigString, ShortStringSetsOnlyThePositionsItHolds) {
  Fresh fresh;
  fresh.Options.Set(opt::PingIntervalChoice, 4);
  ASSERT_TRUE(
      ApplyConfig(L"00000000000000000000000000"
                  L"530",
                  fresh.Options));
  EXPECT_EQ(fresh.Options.Get(opt::AlwaysOnTop), 0);
  EXPECT_EQ(fresh.Options.Get(opt::TransparencyStep), 5);
  EXPECT_EQ(fresh.Options.Get(opt::TitleBarMode), 3);
  EXPECT_EQ(fresh.Options.Get(opt::LongIdleChoice), 0);
  EXPECT_EQ(fresh.Options.Get(opt::LongIdleSeconds), 60);  // first list entry, one minute
  EXPECT_EQ(fresh.Options.Get(opt::PingIntervalChoice), 4);
  EXPECT_EQ(fresh.Options.Get(opt::SlowResponseChoice), 1);
}

TEST(ConfigString, LastLongIdleChoiceDisablesTheEvent) {
  Fresh fresh;
  ASSERT_TRUE(ApplyConfig(std::wstring(26, L'0') + L"80F", fresh.Options));
  EXPECT_EQ(fresh.Options.Get(opt::LongIdleSeconds), 0);
}

// An unavailable drive LED (-1) once wrote "-1" and made the string 51 characters long, so the
// next start dropped every option. Out-of-range values must not lengthen it either.
TEST(ConfigString, IsAlwaysFiftyCharactersAndReadsBack) {
  Fresh fresh;
  fresh.Options.Set(opt::DriveLedTray, -1);
  fresh.Options.Set(opt::RememberPositions, 2);
  const int32_t wild[] = {10, -3, 99, INT_MAX, INT_MIN, 16, 6};
  for (size_t i = 0; i < std::size(kPacked); ++i)
    fresh.Options.Set(kPacked[i], wild[i]);

  const std::wstring config = BuildConfig(fresh.Options);
  ASSERT_EQ(config.size(), kConfigLength);
  Fresh read;
  ASSERT_TRUE(ApplyConfig(config, read.Options));
  EXPECT_EQ(read.Options.Get(opt::DriveLedTray), 1);
  EXPECT_EQ(read.Options.Get(opt::RememberPositions), 1);
  EXPECT_EQ(read.Options.Get(opt::TransparencyStep), 9);
  EXPECT_EQ(read.Options.Get(opt::TitleBarMode), 0);
  EXPECT_EQ(read.Options.Get(opt::LongIdleChoice), 15);
  EXPECT_EQ(read.Options.Get(opt::StorageUnit), 5);
}

}  // namespace
}  // namespace tarvik
