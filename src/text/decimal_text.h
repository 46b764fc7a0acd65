#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

// numerator / denominator with `decimals` places (0 to 6), rounded half up, with "." as the
// decimal point whatever the machine's locale. A denominator of 0 gives "0"; denominators up to
// 10^18 are exact.
[[nodiscard]] std::wstring DecimalText(uint64_t numerator, uint64_t denominator, int decimals);

}  // namespace tarvik
