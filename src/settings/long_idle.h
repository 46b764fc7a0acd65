#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarvik {

// The number of "Long Idle" choices; the last, 0 minutes, switches the long-idle event off.
inline constexpr int kLongIdleChoices = 16;
// The most fields the long-idle selector reads from its list.
inline constexpr int kLongIdleMaxFields = 31;

// The long-idle threshold in seconds for a choice (0 = the list's first entry); 0 when the
// choice is "disabled" or outside the list.
[[nodiscard]] int32_t LongIdleSeconds(int choice);

// The minutes of the comma-separated list, field by field, up to `maxFields`; a field that is
// not a plain number reads as 0.
[[nodiscard]] std::vector<int32_t> LongIdleMinuteFields(std::wstring_view list,
                                                        int maxFields = kLongIdleMaxFields);

}  // namespace tarvik
