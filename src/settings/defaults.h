#pragma once

#include <cstdint>

#include "core/settings.h"

namespace tarvik {

inline constexpr int kMaxShownProcessors = 144;

// Clears the record and gives every option its start value. The processor count is that of the
// process affinity; `now` is the current date value.
void ApplyDefaults(Settings& settings, int logicalProcessorCount, int64_t now);

}  // namespace tarvik
