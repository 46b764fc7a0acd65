#include "text/format_size.h"

#include <array>
#include <cstddef>
#include <limits>
#include <utility>

namespace tarvik {
namespace {

constexpr uint64_t kNoBound = std::numeric_limits<uint64_t>::max();

// One unit of a scale: values whose magnitude is at most UpperBound are shown in it.
struct Unit {
  uint64_t Divisor;
  uint64_t UpperBound;
  const wchar_t* Letter;
};

using Scale = std::array<Unit, 5>;

// The binary bounds sit just below 9999.95 of each unit, so one decimal never shows 10000.0.
constexpr Scale kBinaryScale{{{1, 9999, L"B"},
                              {1024, 10239947, L"K"},
                              {1048576, 10485707264, L"M"},
                              {1073741824, 10737364238336, L"G"},
                              {1099511627776, kNoBound, L"T"}}};

constexpr Scale kDecimalScale{{{1, 999, L"b"},
                               {1000, 999999, L"Kb"},
                               {1000000, 999999999, L"Mb"},
                               {1000000000, 999999999999, L"Gb"},
                               {1000000000000, kNoBound, L"Tb"}}};

constexpr size_t kKiloUnit = 1;

// How one mode shows its values.
struct ModeRule {
  const wchar_t* ZeroText;
  std::array<int, 5> Decimals;  // per unit of the scale
  size_t Width;                 // the number is right-aligned in this many characters; 0 = none
  const Scale* Units;
  bool SignAlwaysShown = false;    // "+" or "-" before the padded number
  bool TrimZeros = false;          // drop trailing "0" and "." of the decimals
  bool SmallValuesInKilo = false;  // positive values up to the K bound never show bytes
};

constexpr ModeRule kDefaultRule{L"    0.0!", {1, 1, 1, 1, 1}, 7, &kBinaryScale};

constexpr std::array<ModeRule, 8> kModeRules{{
    {L"    -- ", {0, 0, 0, 0, 0}, 6, &kBinaryScale, true},
    {L"0.0!", {0, 0, 1, 1, 1}, 0, &kBinaryScale},
    {L"   -- ", {0, 0, 0, 0, 0}, 5, &kBinaryScale},
    {L"0", {0, 0, 0, 0, 0}, 0, &kDecimalScale},
    {L"0.0!", {0, 0, 0, 1, 1}, 0, &kBinaryScale},
    {L"0", {0, 0, 3, 3, 3}, 0, &kDecimalScale, false, true},
    {L"  -- ", {0, 0, 0, 0, 0}, 4, &kBinaryScale, false, false, true},
    {L"0!", {0, 0, 1, 1, 1}, 0, &kBinaryScale},  // mode 8: the unit comes from the option
}};

constexpr int kFixedUnitMode = 8;
constexpr int kStorageUnitBytes = 1;
constexpr int kStorageUnitTera = 5;

// The magnitude as unsigned, so that INT64_MIN has one too.
uint64_t Magnitude(int64_t value) {
  const auto bits = static_cast<uint64_t>(value);
  return value < 0 ? ~bits + 1 : bits;
}

size_t UnitFor(const Scale& scale, uint64_t magnitude) {
  size_t unit = 0;
  while (unit + 1 < scale.size() && magnitude > scale[unit].UpperBound)
    ++unit;
  return unit;
}

uint64_t PowerOfTen(int exponent) {
  uint64_t result = 1;
  for (int i = 0; i < exponent; ++i)
    result *= 10;
  return result;
}

std::wstring Digits(uint64_t number, size_t minimumLength = 1) {
  std::wstring text;
  do {
    text.insert(text.begin(), static_cast<wchar_t>(L'0' + number % 10));
    number /= 10;
  } while (number != 0);
  if (text.size() < minimumLength)
    text.insert(0, minimumLength - text.size(), L'0');
  return text;
}

// magnitude / divisor with `decimals` places, rounded half up, with "." as the decimal point
// whatever the machine's locale. Integer arithmetic keeps every int64 value exact.
std::wstring ScaledNumber(uint64_t magnitude, uint64_t divisor, int decimals) {
  const uint64_t scale = PowerOfTen(decimals);
  const uint64_t whole = magnitude / divisor;
  const uint64_t remainder = magnitude % divisor;
  // The remainder stays below 2^40 and the scale at most 1000, so nothing here overflows.
  const uint64_t scaled = whole * scale + (remainder * scale + divisor / 2) / divisor;
  std::wstring text = Digits(scaled / scale);
  if (decimals > 0)
    text += L'.' + Digits(scaled % scale, static_cast<size_t>(decimals));
  return text;
}

void TrimTrailingZeros(std::wstring& number) {
  if (number.find(L'.') == std::wstring::npos)
    return;
  while (!number.empty() && number.back() == L'0')
    number.pop_back();
  if (!number.empty() && number.back() == L'.')
    number.pop_back();
}

// A negative value keeps its "-" unless it rounds to nothing.
std::wstring WithSign(int64_t value, std::wstring number) {
  const bool roundsToZero = number.find_first_not_of(L"0.") == std::wstring::npos;
  if (value < 0 && !roundsToZero)
    number.insert(0, 1, L'-');
  return number;
}

std::wstring PadLeft(std::wstring text, size_t width) {
  if (text.size() < width)
    text.insert(0, width - text.size(), L' ');
  return text;
}

std::wstring FormatWithRule(int64_t value, const ModeRule& rule) {
  if (value == 0)
    return rule.ZeroText;
  const uint64_t magnitude = Magnitude(value);
  const Scale& scale = *rule.Units;
  size_t unit = UnitFor(scale, magnitude);
  if (rule.SmallValuesInKilo && value > 0 && magnitude <= scale[kKiloUnit].UpperBound) {
    unit = kKiloUnit;
  }
  const int decimals = rule.Decimals[unit];
  std::wstring number = ScaledNumber(magnitude, scale[unit].Divisor, decimals);
  if (rule.TrimZeros)
    TrimTrailingZeros(number);

  if (rule.SignAlwaysShown) {
    return (value > 0 ? L"+" : L"-") + PadLeft(number, rule.Width) + scale[unit].Letter;
  }
  return PadLeft(WithSign(value, std::move(number)), rule.Width) + scale[unit].Letter;
}

// Mode 8 shows every value in the one unit that the storage unit option names.
std::wstring FormatInStorageUnit(int64_t value, int storageUnit) {
  if (storageUnit < kStorageUnitBytes || storageUnit > kStorageUnitTera)
    return {};
  const ModeRule& rule = kModeRules[kFixedUnitMode - 1];
  if (value == 0)
    return rule.ZeroText;
  const auto unit = static_cast<size_t>(storageUnit - kStorageUnitBytes);
  const uint64_t magnitude = Magnitude(value);
  const std::wstring number =
      WithSign(value, ScaledNumber(magnitude, kBinaryScale[unit].Divisor, rule.Decimals[unit]));
  return unit == 0 ? number : number + kBinaryScale[unit].Letter;
}

}  // namespace

std::wstring FormatSize(int64_t value, int mode, int storageUnit) {
  if (mode == kFixedUnitMode)
    return FormatInStorageUnit(value, storageUnit);
  if (mode >= 1 && mode <= static_cast<int>(kModeRules.size())) {
    return FormatWithRule(value, kModeRules[static_cast<size_t>(mode - 1)]);
  }
  return FormatWithRule(value, kDefaultRule);
}

}  // namespace tarvik
