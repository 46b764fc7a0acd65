#include "text/decimal_text.h"

#include <algorithm>

namespace tarvik {
namespace {

constexpr int kMaxDecimals = 6;

}  // namespace

std::wstring DecimalText(uint64_t numerator, uint64_t denominator, int decimals) {
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  if (denominator == 0) {
    numerator = 0;
    denominator = 1;
  }
  // Long division one decimal at a time, so that no step multiplies the numerator itself.
  uint64_t whole = numerator / denominator;
  uint64_t remainder = numerator % denominator;
  uint64_t fraction = 0;
  uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i) {
    remainder *= 10;
    fraction = fraction * 10 + remainder / denominator;
    remainder %= denominator;
    scale *= 10;
  }
  if (remainder >= denominator - remainder) {
    if (++fraction == scale) {
      fraction = 0;
      ++whole;
    }
  }
  std::wstring text = std::to_wstring(whole);
  if (decimals > 0) {
    std::wstring digits = std::to_wstring(fraction);
    digits.insert(0, static_cast<size_t>(decimals) - digits.size(), L'0');
    text += L'.' + digits;
  }
  return text;
}

}  // namespace tarvik
