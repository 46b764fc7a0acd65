#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "monitors/system/memory_texts.h"
#include "monitors/system/processor_texts.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int64_t kMiB = kBytesPerMiB;

TEST(SystemMeterTexts, MemoryTextSwitchesUnitsAtItsThresholds) {
  const struct {
    const char* Name;
    int64_t Mib;
    int Percent;
    std::wstring Expected;
  } cases[] = {
      {"LargestInMegabytes", 9999, 5, L"9999M  5%"},
      {"SmallestInGigaWithADecimal", 10000, 61, L" 9.8G 61%"},
      {"LargestWithADecimalStaysBelow100", 102348, 99, L"99.9G 99%"},
      {"WholeGigaRoundsUp", 102349, 100, L" 100G100%"},
      {"SmallValuePadded", 7, 0, L"   7M  0%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(MemoryText(c.Mib, c.Percent), c.Expected);
  }
}

TEST(SystemMeterTexts, MemoryReadingGivesAvailableAndUsedTexts) {
  const MemoryReading reading = ReadMemory(4000 * kMiB, 16000 * kMiB);
  EXPECT_EQ(reading.AvailableMiB, 4000);
  EXPECT_EQ(reading.PercentAvailable, 25);
  EXPECT_EQ(reading.Text, L"4000M 25%");
  EXPECT_EQ(reading.UsedText, L"11.7G 75%");
  EXPECT_EQ(MemoryHistoryText(reading), L"4000M 25%\n11.7G 75%");
  EXPECT_EQ(ReadMemory(kMiB, 0).PercentAvailable, 0);  // no total reported yet
}

TEST(SystemMeterTexts, MemoryExtremesReplaceTheirRowOnlyOnANewExtreme) {
  LoadTranslations(kEnglish);
  const DateValue now = DateFromParts({2024, 3, 9, 14, 5, 7});
  MemoryExtremes extremes;
  MemoryExtremeRows first = NoteMemoryExtremes(extremes, ReadMemory(500 * kMiB, 1000 * kMiB), now);
  ASSERT_TRUE(first.HighRow && first.LowRow);  // the first reading sets both
  EXPECT_EQ(*first.HighRow, L"03-09  14:05:07  Hi\n 500M 50%\n 500M 50%");
  EXPECT_EQ(first.LowRow->substr(17), L"Lo\n 500M 50%\n 500M 50%");

  const MemoryExtremeRows same =
      NoteMemoryExtremes(extremes, ReadMemory(500 * kMiB, 1000 * kMiB), now);
  EXPECT_FALSE(same.HighRow || same.LowRow);
  const MemoryExtremeRows lower =
      NoteMemoryExtremes(extremes, ReadMemory(400 * kMiB, 1000 * kMiB), now);
  EXPECT_FALSE(lower.HighRow);
  EXPECT_TRUE(lower.LowRow);
  EXPECT_EQ(extremes.Highest, 500);
  EXPECT_EQ(extremes.Lowest, 400);
}

TEST(SystemMeterTexts, PercentAndSpeedTexts) {
  const struct {
    int Value;
    std::wstring Expected;
  } percents[] = {{0, L" 0%"},  {-3, L" 0%"},  {1, L" 1%"},
                  {99, L"99%"}, {100, L"MAX"}, {250, L"MAX"}};
  for (const auto& c : percents)
    EXPECT_EQ(PercentText(c.Value), c.Expected) << c.Value;

  const struct {
    int64_t Mhz;
    std::wstring Expected;
  } speeds[] = {{999, L" 999MHz"},  {1000, L" 1.0GHz"},  {2450, L" 2.5GHz"},
                {9949, L" 9.9GHz"}, {10000, L"  10GHz"}, {12999, L"  12GHz"}};
  for (const auto& c : speeds)
    EXPECT_EQ(SpeedText(c.Mhz), c.Expected) << c.Mhz;
}

TEST(SystemMeterTexts, ProcessorTextsWithAndWithoutLoad) {
  const struct {
    const char* Name;
    ProcessorReading Reading;
    std::wstring Meter;
    std::wstring History;
    std::wstring SpeedAndLoad;
    int Load;
  } cases[] = {
      {"KnownLoad", {2400, 5, 0, 0, 8}, L" 5% 2.4GHz", L"5%\n2400MHz", L"2400MHz\n5%", 5},
      {"FullLoad", {2400, 100, 0, 0, 8}, L"MAX 2.4GHz", L"100%\n2400MHz", L"2400MHz\n100%", 100},
      {"UnknownLoadShowsCount",
       {2400, -1, 0, 0, 8},
       L" 8x2400MHz",
       L"8x\n2400MHz",
       L"2400MHz\n",
       0},
      {"IdleStateAddsCAndP",
       {800, 12, 2, 100, 16},
       L"12% 800MHz C2P100",
       L"12%\n800MHz C2P100",
       L"800MHz\n12%",
       12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const ProcessorTexts texts = MakeProcessorTexts(c.Reading);
    EXPECT_EQ(texts.MeterText, c.Meter);
    EXPECT_EQ(texts.HistoryText, c.History);
    EXPECT_EQ(texts.SpeedAndLoad, c.SpeedAndLoad);
    EXPECT_EQ(texts.Load, c.Load);
  }
}

TEST(SystemMeterTexts, ValuesTextMarksCountChangesOnceCountsAreKnown) {
  const ProcessCounts now{120, 1500, 40000};
  EXPECT_EQ(ProcessorValuesText(L"2400MHz\n5%", now, {}, 3, L"1  0"),
            L"2400MHz\n5%\n120\n1500\n40000\n3\n1  0");
  EXPECT_EQ(ProcessorValuesText(L"S\nL", now, {115, 1500, 40012}, 0, L""),
            L"S\nL\n120  ( +5 )\n1500\n40000  ( -12 )\n0\n");
}

TEST(SystemMeterTexts, CacheColumnShowsOnlySizesTheSystemTold) {
  EXPECT_EQ(CacheText(L"1024", L"9216"), L"1024K + 9216K");
  EXPECT_EQ(CacheText(L"256", L""), L"256K + ?");
  EXPECT_EQ(CacheText(L"", L"0"), L"? + 0K");
  EXPECT_EQ(CacheText(L"", L""), L"");  // WMI without cache sizes, as under Wine
}

TEST(SystemMeterTexts, IdleStateSeparatorNarrowsWithManyProcessors) {
  EXPECT_EQ(IdleStateList({1, 0, 2}, 24), L"1  0  2");
  EXPECT_EQ(IdleStateList({1, 0, 2}, 25), L"1 0 2");
  EXPECT_EQ(IdleStateList({1, 0, 2}, 32), L"1 0 2");
  EXPECT_EQ(IdleStateList({1, 0, 2}, 33), L"102");
}

}  // namespace
}  // namespace tarvik
