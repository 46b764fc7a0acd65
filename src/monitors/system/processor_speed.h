#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/processors.h"

namespace tarvik {

// What the processors' power information says as a whole.
struct PowerSummary {
  int64_t MeanMhz = 0;      // sum of the current speeds / processors, truncated
  int IdleState = 0;        // mean current idle state, rounded to nearest
  std::wstring IdleStates;  // each processor's idle state, for the C-States column
};

[[nodiscard]] PowerSummary SummarisePower(const std::vector<platform::ProcessorPower>& power,
                                          int logicalCount);

// The processor's highest speed as stored at start ("3600"): its leading digits; nothing when
// it holds no speed, so that the speed is measured instead.
[[nodiscard]] std::optional<int64_t> StoredSpeedMhz(std::wstring_view text);

// The highest and lowest mean speed seen since start; -1 while none was seen.
struct SpeedRange {
  int64_t Highest = -1;
  int64_t Lowest = -1;

  void Note(int64_t mhz);
};

}  // namespace tarvik
