#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "text/format_size.h"

namespace tarvik {
namespace {

struct SizeCase {
  const char* Name;
  int64_t Value;
  int Mode;
  int StorageUnit;
  std::wstring Expected;
};

void PrintTo(const SizeCase& testCase, std::ostream* out) {
  *out << testCase.Name;
}

class FormatSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(FormatSizeTest, ShowsTheExpectedText) {
  const SizeCase& c = GetParam();
  EXPECT_EQ(FormatSize(c.Value, c.Mode, c.StorageUnit), c.Expected);
}

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Modes, FormatSizeTest,
    testing::Values(
        // Unit bounds are inclusive and apply to the magnitude.
        SizeCase{"LargestByteCountStaysInBytes", 9999, 2, 0, L"9999B"},
        SizeCase{"OneMoreByteSwitchesToKilo", 10000, 2, 0, L"10K"},
        SizeCase{"KiloBoundIsInclusiveAndRoundsUp", 10239947, 2, 0, L"10000K"},
        SizeCase{"PastKiloBoundShowsMegaWithADecimal", 10239948, 2, 0, L"9.8M"},
        SizeCase{"NegativeValueUsesBoundsOfItsMagnitude", -10000, 2, 0, L"-10K"},
        SizeCase{"MegaBoundWithoutDecimals", 10485707264, 5, 0, L"10000M"},
        SizeCase{"PastMegaBoundShowsGiga", 10485707265, 5, 0, L"9.8G"},
        SizeCase{"GigaBoundIsInclusive", 10737364238336, 2, 0, L"9999.9G"},
        SizeCase{"PastGigaBoundShowsTera", 10737364238337, 2, 0, L"9.8T"},
        SizeCase{"NegativeGigaBoundStaysInGiga", -10737364238336, 5, 0, L"-9999.9G"},
        SizeCase{"NegativePastGigaBoundShowsTera", -10737364238337, 5, 0, L"-9.8T"},
        SizeCase{"PaddedGigaBoundIsNotCut", 10737364238336, 3, 0, L"10000G"},
        SizeCase{"LargestInt64InTera", kMax, 2, 0, L"8388608.0T"},
        SizeCase{"SmallestInt64DoesNotOverflow", kMin, 2, 0, L"-8388608.0T"},
        // Every mode has its own text for zero.
        SizeCase{"UnpaddedZero", 0, 2, 0, L"0.0!"},
        SizeCase{"PaddedToFiveZero", 0, 3, 0, L"   -- "}, SizeCase{"BitsZero", 0, 4, 0, L"0"},
        SizeCase{"GigaDecimalZero", 0, 5, 0, L"0.0!"}, SizeCase{"TrimmedBitsZero", 0, 6, 0, L"0"},
        SizeCase{"RateZero", 0, 7, 0, L"  -- "},
        // Mode 1: signed, number padded to 6.
        SizeCase{"SignedZeroShowsDashesWithoutSign", 0, 1, 0, L"    -- "},
        SizeCase{"SignedNegativeBytes", -2048, 1, 0, L"-  2048B"},
        SizeCase{"SignedPositiveKilo", 20480, 1, 0, L"+    20K"},
        SizeCase{"SignedSmallestInt64IsNotCut", kMin, 1, 0, L"-8388608T"},
        // Modes 3 and 7: padded, no sign of their own.
        SizeCase{"PaddedToFiveNegative", -5, 3, 0, L"   -5B"},
        SizeCase{"RateSmallValueShownInKilo", 5000, 7, 0, L"   5K"},
        SizeCase{"RateOneByteRoundsToZeroKilo", 1, 7, 0, L"   0K"},
        SizeCase{"RateNegativeKeepsBytes", -5000, 7, 0, L"-5000B"},
        SizeCase{"RateKiloBoundStaysInKilo", 10239947, 7, 0, L"10000K"},
        SizeCase{"RatePastKiloBoundShowsMega", 10239948, 7, 0, L"  10M"},
        // Modes 4 and 6: decimal bit rates.
        SizeCase{"BitsBelowKilo", 999, 4, 0, L"999b"},
        SizeCase{"BitsKiloBound", 1000, 4, 0, L"1Kb"},
        SizeCase{"BitsKiloBoundIsInclusive", 999999, 4, 0, L"1000Kb"},
        SizeCase{"BitsPastKiloBoundShowMega", 1000000, 4, 0, L"1Mb"},
        SizeCase{"BitsMegaBoundIsInclusive", 999999999, 6, 0, L"1000Mb"},
        SizeCase{"BitsPastMegaBoundShowGiga", 1000000000, 6, 0, L"1Gb"},
        SizeCase{"BitsGigaBoundIsInclusive", 999999999999, 4, 0, L"1000Gb"},
        SizeCase{"BitsPastGigaBoundShowTera", 1000000000000, 4, 0, L"1Tb"},
        // Trimming drops only the zeros of the decimals, never those of the whole number.
        SizeCase{"TrimmingKeepsTheZeroOfTen", 10000000, 6, 0, L"10Mb"},
        SizeCase{"TrimmingKeepsTheZerosOfAHundred", 100000000, 6, 0, L"100Mb"},
        SizeCase{"TrimmingKeepsTeraZeros", 20000000000000, 6, 0, L"20Tb"},
        SizeCase{"TrimmingKeepsAZeroInsideTheDecimals", 1050000, 6, 0, L"1.05Mb"},
        SizeCase{"TrimmingKeepsWholeZerosBeforeAHalf", 10500000, 6, 0, L"10.5Mb"},
        SizeCase{"TrimmingLeavesKiloAlone", 10000, 6, 0, L"10Kb"},
        SizeCase{"TrimmingLeavesTenBitsAlone", 10, 6, 0, L"10b"},
        SizeCase{"TrimmedMegaKeepsHalf", 1500000, 6, 0, L"1.5Mb"},
        SizeCase{"TrimmedMegaDropsThePoint", 2000000, 6, 0, L"2Mb"},
        SizeCase{"TrimmingLeavesWholeNumbersAlone", 100, 6, 0, L"100b"},
        SizeCase{"ThirdDecimalRoundsHalfUp", 1234500, 6, 0, L"1.235Mb"},
        SizeCase{"NegativeRoundsLikeItsMagnitude", -1234500, 6, 0, L"-1.235Mb"},
        // Mode 8: the unit comes from the storage unit option.
        SizeCase{"AutoUnitGivesNoText", 123, 8, 0, L""},
        SizeCase{"AutoUnitGivesNoTextForZeroEither", 0, 8, 0, L""},
        SizeCase{"UnknownUnitGivesNoText", 123, 8, 6, L""},
        SizeCase{"ByteUnitHasNoLetter", 123, 8, 1, L"123"},
        SizeCase{"KiloUnitEvenForSmallValues", 100, 8, 2, L"0K"},
        SizeCase{"MegaUnitWithADecimal", 1572864, 8, 3, L"1.5M"},
        SizeCase{"TeraUnitKeepsSignAndDecimal", -1099511627776, 8, 5, L"-1.0T"},
        SizeCase{"FixedUnitZero", 0, 8, 3, L"0!"},
        // Any other mode: one decimal, padded to 7.
        SizeCase{"DefaultZero", 0, 0, 0, L"    0.0!"},
        SizeCase{"DefaultBytesGetADecimal", 1536, 9, 0, L" 1536.0B"},
        SizeCase{"DefaultNegativeMega", -20971520, -1, 0, L"  -20.0M"},
        SizeCase{"DefaultKiloBoundNeverShowsFiveDigits", 10239947, 0, 0, L" 9999.9K"}),
    [](const testing::TestParamInfo<SizeCase>& testCase) {
      return std::string(testCase.param.Name);
    });

}  // namespace
}  // namespace tarvik
