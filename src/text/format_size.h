#pragma once

#include <cstdint>
#include <string>

namespace tarvik {

// The short text for a count of bytes (or bits per second) that lists, meters and logs show.
// The mode (1-8, anything else the default row) chooses unit base, decimals, padding and the text
// for zero; mode 8 shows the unit that the storage unit option fixes (0 Auto gives no text).
[[nodiscard]] std::wstring FormatSize(int64_t value, int mode, int storageUnit = 0);

}  // namespace tarvik
