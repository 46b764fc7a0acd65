#include "settings/config_string.h"

#include <algorithm>

#include "settings/hex_digit.h"
#include "settings/long_idle.h"

namespace tarvik {
namespace {

constexpr int kFlagCount = opt::LastFlag - opt::FirstFlag + 1;

// One single-digit option after the flags. A character that is not a digit of `Radix`, or
// whose value lies outside Minimum..Maximum, reads as `Fallback`.
struct PackedDigit {
  int Option;
  int Radix;
  int32_t Minimum;
  int32_t Maximum;
  int32_t Fallback;
};

constexpr int kStorageUnitLast = 5;  // Auto, Byte, KB, MB, GB, TB

// In string order, from the 27th character.
constexpr PackedDigit kDigits[] = {
    {opt::TransparencyStep, 10, 1, 9, 8},
    {opt::TitleBarMode, 10, 0, 8, 0},
    {opt::LongIdleChoice, 16, 0, kLongIdleChoices - 1, 0},
    {opt::PingShowsAddresses, 16, 0, 1, 0},
    {opt::SlowResponseChoice, 16, 0, 15, 0},
    {opt::PingIntervalChoice, 16, 0, 15, 0},
    {opt::StorageUnit, 16, 0, kStorageUnitLast, 0},
};

int32_t ReadDigit(wchar_t c, const PackedDigit& digit) {
  const int value = HexDigitValue(c);
  if (value < 0 || value >= digit.Radix)
    return digit.Fallback;
  if (value < digit.Minimum || value > digit.Maximum)
    return digit.Fallback;
  return value;
}

wchar_t WriteDigit(int32_t value, const PackedDigit& digit) {
  constexpr const wchar_t* kDigitChars = L"0123456789ABCDEF";
  return kDigitChars[std::clamp(value, digit.Minimum, digit.Maximum)];
}

}  // namespace

std::wstring BuildConfig(const Settings& settings) {
  std::wstring config;
  config.reserve(kConfigLength);
  // A negative flag is an option the user turned on that cannot work at the moment (the drive
  // LED without access to the disk); it is kept on for the next start.
  for (int i = 0; i < kFlagCount; ++i)
    config += settings.Get(opt::FirstFlag + i) != 0 ? L'1' : L'0';
  for (const PackedDigit& digit : kDigits)
    config += WriteDigit(settings.Get(digit.Option), digit);
  config.resize(kConfigLength, L'0');
  return config;
}

bool ApplyConfig(std::wstring_view config, Settings& settings) {
  if (config.size() < kConfigMinimumLength || config.size() > kConfigLength)
    return false;
  for (int i = 0; i < kFlagCount; ++i) {
    settings.Set(opt::FirstFlag + i, config[static_cast<size_t>(i)] == L'1' ? 1 : 0);
  }
  // Positions a short string does not reach keep their values.
  for (size_t i = 0; i < std::size(kDigits); ++i) {
    const size_t at = static_cast<size_t>(kFlagCount) + i;
    if (at >= config.size())
      break;
    settings.Set(kDigits[i].Option, ReadDigit(config[at], kDigits[i]));
    if (kDigits[i].Option == opt::LongIdleChoice) {
      settings.Set(opt::LongIdleSeconds, LongIdleSeconds(settings.Get(opt::LongIdleChoice)));
    }
  }
  return true;
}

}  // namespace tarvik
