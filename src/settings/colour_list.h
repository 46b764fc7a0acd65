#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace tarvik {

// The colours the graphs start with, taken from the record before the settings file is read:
// a colour equal to its start value is not written, and an empty entry in a list restores it.
class DefaultColours {
 public:
  DefaultColours() = default;
  explicit DefaultColours(const Settings& settings);
  [[nodiscard]] int32_t At(int index) const;

 private:
  std::array<int32_t, Settings::kCount> values_{};
};

// A run of colour slots in the record, First..Last inclusive. A list ends early at the first
// slot whose start value is 0.
struct ColourRange {
  int First = 0;
  int Last = -1;
};

// The three lists of the settings file: history graphs, processor graphs, GPU graphs.
[[nodiscard]] ColourRange GraphColourRange(const Settings& settings);
[[nodiscard]] ColourRange ProcessorColourRange(const Settings& settings);
[[nodiscard]] ColourRange GpuColourRange(const Settings& settings);

// "$"-separated entries, one per slot: the colour in hexadecimal where it differs from the
// start value, empty where it equals it; trailing "$" removed.
[[nodiscard]] std::wstring BuildColourList(const Settings& settings, const DefaultColours& defaults,
                                           ColourRange range);

// The reverse: an empty or missing entry restores the slot's start value, a hexadecimal entry
// from 1 to below 0xFFFFFF sets it, anything else leaves it as it is. True when a slot changed.
bool ApplyColourList(std::wstring_view list, Settings& settings, const DefaultColours& defaults,
                     ColourRange range);

// The GPU graphs come in blocks of ten slots per device; the first block's six graph colours
// are given to every further device. True when a slot changed.
bool CopyGpuColourBlocks(Settings& settings, int deviceCount);

}  // namespace tarvik
