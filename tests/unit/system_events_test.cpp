#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "monitors/system/desktop_events.h"
#include "monitors/system/memory_texts.h"
#include "monitors/system/title_summary.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kGiB = 1073741824;

class SystemEventsTest : public testing::Test {
 protected:
  void SetUp() override { LoadTranslations(kEnglish); }
};

TEST_F(SystemEventsTest, MemoryTotalEvents) {
  const struct {
    const char* Name;
    MemoryTotals Last;
    MemoryTotals Now;
    std::vector<std::wstring> Events;
  } cases[] = {
      {"FirstReportShowsOnlyTheTotals",
       {0, 0},
       {16 * kGiB, 18 * kGiB},
       {L"Phys Memory: 16.0G", L"Page Memory: 18.0G"}},
      {"EqualTotalsMoveTogether",
       {8 * kGiB, 8 * kGiB},
       {10 * kGiB, 10 * kGiB},
       {L"Phys/Page Memory: +2048M = 10.0G"}},
      {"FirstEqualReportIsOneEvent", {0, 0}, {8 * kGiB, 8 * kGiB}, {L"Phys/Page Memory: 8192M"}},
      {"PageShrinksAlone",
       {16 * kGiB, 18 * kGiB},
       {16 * kGiB, 17 * kGiB},
       {L"Page Memory: -1024M = 17.0G"}},
      {"EqualTotalsThatPartEachReport",
       {8 * kGiB, 8 * kGiB},
       {8 * kGiB + 512 * 1048576, 12 * kGiB},
       {L"Phys Memory: +512M = 8704M", L"Page Memory: +4096M = 12.0G"}},
      {"TotalsThatOnlyNowMeetAreReportedApart",
       {16 * kGiB, 18 * kGiB},
       {12 * kGiB, 12 * kGiB},
       {L"Phys Memory: -4096M = 12.0G", L"Page Memory: -6144M = 12.0G"}},
      {"NothingChanged", {16 * kGiB, 18 * kGiB}, {16 * kGiB, 18 * kGiB}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MemoryTotals last = c.Last;
    EXPECT_EQ(MemoryTotalEvents(last, c.Now), c.Events);
    EXPECT_EQ(last.Physical, c.Now.Physical);
    EXPECT_EQ(last.PageFile, c.Now.PageFile);
  }
}

TEST_F(SystemEventsTest, DesktopEventsNameEachChangedValueWithItsUnit) {
  const DesktopMode last{1920, 1080, 100, 32, 60};
  EXPECT_TRUE(DesktopChangeEvents(last, last).empty());
  EXPECT_EQ(DesktopChangeEvents(last, {2560, 1440, 125, 16, 144}),
            (std::vector<std::wstring>{
                L"Desktop Width: 1920 -> 2560", L"Desktop Height: 1080 -> 1440",
                L"Desktop Scale: 100% -> 125%", L"Desktop Colors: 32-bit -> 16-bit",
                L"Desktop Frequency: 60Hz -> 144Hz"}));
}

TEST_F(SystemEventsTest, TitleSummaries) {
  EXPECT_EQ(MemoryTitle(L" 9.8G 61%", L"Phys"), L" 9.8G 61% Phys");
  EXPECT_EQ(ProcessorTitle(L" 5% 2.4GHz "), L"5% 2.4GHz");
  EXPECT_EQ(BatteryTitle(L" 42% ", 42), L"42% Battery");
  EXPECT_EQ(BatteryTitle(L"None", -1), L"No Battery");
  EXPECT_EQ(UptimeTitle(L"   5m 07s    "), L"5m 07s Uptime");
  EXPECT_EQ(IdleTitle(L" 1m 3s "), L"1m 3s Idle");
  EXPECT_EQ(IdleTitle(L"=1m 3s "), L"=1m 3s Idle");
  EXPECT_EQ(DriveRatesTitle(L"R/W", 120, 4), L"R/W: 120K/4K");
  LoadTranslations(kGerman);
  EXPECT_EQ(BatteryTitle(L"None", -1), L"Kein Akku");
}

}  // namespace
}  // namespace tarvik
