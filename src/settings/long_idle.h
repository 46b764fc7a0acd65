#pragma once

#include <cstdint>

namespace tarvik {

// The number of "Long Idle" choices; the last, 0 minutes, switches the long-idle event off.
inline constexpr int kLongIdleChoices = 16;

// The long-idle threshold in seconds for a choice (0 = the list's first entry); 0 when the
// choice is "disabled" or outside the list.
[[nodiscard]] int32_t LongIdleSeconds(int choice);

}  // namespace tarvik
