#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "monitors/system/battery_texts.h"
#include "monitors/system/idle_tracker.h"
#include "monitors/system/title_summary.h"
#include "monitors/system/uptime_text.h"
#include "text/translation.h"

namespace tarvik {
namespace {

class SystemBatteryTimeTest : public testing::Test {
 protected:
  void SetUp() override { LoadTranslations(kEnglish); }
};

TEST_F(SystemBatteryTimeTest, BatteryTextsFromPercentPowerAndCharging) {
  const struct {
    const char* Name;
    BatteryReading Reading;
    std::wstring Text;
    std::wstring Status;
  } cases[] = {
      {"NoBattery", {-1, 1, false}, L"None", L""},
      {"FullOnMains", {100, 1, false}, L"100%", L" Fully charged"},
      {"FullOnBattery", {100, 0, false}, L"100%", L" Unplugged, not charging"},
      {"ChargingOnMains", {42, 1, true}, L" 42% ", L" Plugged in, charging"},
      {"OnBattery", {7, 0, false}, L" 7% ", L" Unplugged, not charging"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const BatteryTexts texts = MakeBatteryTexts(c.Reading);
    EXPECT_EQ(texts.Text, c.Text);
    EXPECT_EQ(texts.Status, c.Status);
  }
  EXPECT_EQ(BatteryPercentFromByte(255), -1);
  EXPECT_EQ(BatteryPercentFromByte(200), -1);  // not a level: never a negative percent
  EXPECT_EQ(BatteryPercentFromByte(100), 100);
}

// From the power status's life byte to the window title, as a user reads it: an empty battery
// is still a battery, only the "unknown" byte 255 has none.
TEST_F(SystemBatteryTimeTest, TitleFromTheLifeByte) {
  const struct {
    uint8_t LifeByte;
    std::wstring Title;
  } cases[] = {
      {0, L"0% Battery"},     {1, L"1% Battery"},   {99, L"99% Battery"},
      {100, L"100% Battery"}, {101, L"No Battery"}, {255, L"No Battery"},
  };
  for (const auto& c : cases) {
    const int percent = BatteryPercentFromByte(c.LifeByte);
    EXPECT_EQ(BatteryTitle(MakeBatteryTexts({percent, 0, false}).Text, percent), c.Title)
        << "life byte " << int{c.LifeByte};
  }
}

TEST_F(SystemBatteryTimeTest, LowBatteryBlinksOnlyWhenNotCharging) {
  EXPECT_TRUE(BatteryBlinks({20, 0, false}));
  EXPECT_TRUE(BatteryBlinks({0, 1, false}));
  EXPECT_FALSE(BatteryBlinks({21, 0, false}));
  EXPECT_FALSE(BatteryBlinks({20, 1, true}));
  EXPECT_FALSE(BatteryBlinks({-1, 0, false}));
}

TEST_F(SystemBatteryTimeTest, BatteryEventAddsTheStatusOnlyWhenItChanged) {
  const BatteryTexts charging{L" 42% ", L" Plugged in, charging"};
  EXPECT_FALSE(BatteryEventText(charging, charging));
  EXPECT_EQ(BatteryEventText(charging, {L" 43% ", charging.Status}), L"Batt:43%");
  EXPECT_EQ(BatteryEventText(charging, {L" 42% ", L" Unplugged, not charging"}),
            L"Batt:42% Unplugged, not charging");
  LoadTranslations(kGerman);
  EXPECT_EQ(BatteryEventText({}, {L"100%", L""}), L"Akku:100%");
}

TEST_F(SystemBatteryTimeTest, UptimeTexts) {
  const struct {
    const char* Name;
    int64_t Seconds;
    std::wstring Meter;
    std::wstring List;
  } cases[] = {
      {"FiveMinutesSevenSeconds", 307, L"   5m 07s    ", L"5m 7s"},
      {"ExactlyOneDayHasNoSeconds", 86400, L"     1d      ", L"1d 0s"},
      {"DayHourMinute", 86400 + 7200 + 180 + 9, L"  1d 2h 3m   ", L"1d 2h 3m 9s"},
      {"HoursSkipZeroMinutes", 3600 + 5, L"   1h 05s    ", L"1h 5s"},
      {"TwoSeconds", 2, L"     02s     ", L"2s"},
      {"NotSettledWithoutCounter", 1, L" -  -  -  - ", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const UptimeTexts texts = MakeUptimeTexts(c.Seconds, false);
    EXPECT_EQ(texts.MeterText, c.Meter);
    EXPECT_EQ(texts.ListText, c.List);
  }
  EXPECT_EQ(MakeUptimeTexts(0, true).MeterText, L" Calculating   ");
  EXPECT_EQ(
      BatteryUptimeIdleRow(L" 42% ", L" Plugged in, charging", L"5m 7s", L" 1m 3s ", L"2m+1s, 4s"),
      L"42%  Plugged in, charging\n5m 7s\n1m+3s, 2m+1s, 4s");
}

TEST_F(SystemBatteryTimeTest, IdleTextThresholds) {
  const struct {
    int64_t Seconds;
    std::wstring Expected;
  } cases[] = {{0, L" 0s "},
               {59, L" 59s "},
               {60, L" 1m 0s "},
               {3599, L" 59m 59s "},
               {3600, L" 1h 0m 0s "},
               {86399, L" 23h 59m 59s "},
               {86400, L" 1d 0h 0m 0s "}};
  for (const auto& c : cases)
    EXPECT_EQ(IdleText(c.Seconds), c.Expected) << c.Seconds;
}

TEST_F(SystemBatteryTimeTest, IdleTrackerRedrawsOnPrefixChangeAndReportsEndedPeriods) {
  IdleState state;
  IdleUpdate update = TrackIdle(state, 59, 60);
  EXPECT_TRUE(update.Changed && update.Redraw);
  update = TrackIdle(state, 59, 60);
  EXPECT_FALSE(update.Changed);
  update = TrackIdle(state, 61, 60);  // " 1m 1s " after " 59s ": prefix changed
  EXPECT_TRUE(update.Redraw);
  update = TrackIdle(state, 62, 60);  // " 1m 2s ": same first four characters
  EXPECT_TRUE(update.Changed);
  EXPECT_FALSE(update.Redraw);
  EXPECT_EQ(update.MeterText, L" 1m 2s ");

  update = TrackIdle(state, 0, 60);  // input arrived after 62 s
  EXPECT_TRUE(update.ForceRedraw);
  EXPECT_EQ(update.MeterText, L"=1m 2s ");
  EXPECT_EQ(update.LongIdleEvent, L"Long Idle: 1m 2s ");
  EXPECT_EQ(update.RecentText, L"1m+2s");
  EXPECT_EQ(state.PreviousText, L" 0s ");

  for (int64_t seconds : {5, 6, 7, 8}) {
    (void)TrackIdle(state, seconds, 60);
    update = TrackIdle(state, 1, 60);
  }
  EXPECT_EQ(update.RecentText, L"8s, 7s, 6s, 5s");  // four newest only
  EXPECT_FALSE(update.LongIdleEvent);
}

TEST_F(SystemBatteryTimeTest, LongIdleEventNeedsAThresholdOfAtLeastOneSecond) {
  for (int64_t threshold : {0, -60}) {
    IdleState state;
    (void)TrackIdle(state, 100000, threshold);
    EXPECT_FALSE(TrackIdle(state, 0, threshold).LongIdleEvent) << threshold;
  }
  IdleState state;
  (void)TrackIdle(state, 59, 60);
  EXPECT_FALSE(TrackIdle(state, 0, 60).LongIdleEvent);  // one second short
}

}  // namespace
}  // namespace tarvik
