#pragma once

#include <cstdint>

#include "core/settings.h"

namespace tarvik {

inline constexpr int kMaxShownProcessors = 144;
// The long-idle threshold a new user starts with, 10 minutes, and its place in the long-idle
// list: the choice is what the settings file keeps, so the two must agree or the threshold
// would change at the first restart. The long-idle selector marks it as the default.
inline constexpr int32_t kDefaultLongIdleSeconds = 600;
inline constexpr int32_t kDefaultLongIdleChoice = 4;

// Clears the record and gives every option its start value. The processor count is that of the
// process affinity; `now` is the current date value.
void ApplyDefaults(Settings& settings, int logicalProcessorCount, int64_t now);

}  // namespace tarvik
