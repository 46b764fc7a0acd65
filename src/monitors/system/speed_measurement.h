#pragma once

#include <cstdint>
#include <optional>

#include "monitors/system/pause.h"
#include "platform/processors.h"

namespace tarvik {

// The processor's speed from its time-stamp counter over a pause of 100 ms: the ticks / 100,000
// in MHz, then ((MHz + 5) / 5) x 5. The two readings must come from the same processor (equal
// APIC ids) with the counter moving forward (a positive 32-bit difference); otherwise the
// measurement is taken again, up to kMaxSpeedReadings times. Nothing when no pair was usable or
// the program stops meanwhile.
inline constexpr int kMaxSpeedReadings = 20;
inline constexpr int kSpeedPauseMs = 100;

[[nodiscard]] std::optional<int64_t> MeasureSpeedMhz(platform::Processors& processors,
                                                     const Pause& pause);

}  // namespace tarvik
