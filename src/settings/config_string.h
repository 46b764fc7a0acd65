#pragma once

#include <string>
#include <string_view>

#include "core/settings.h"

namespace tarvik {

// The packed option string of the settings file: the 26 on/off flags, the transparency step,
// the title-bar mode, the long-idle choice, the ping display, slow-response and interval
// choices and the storage unit, one character each, padded with "0" to kConfigLength.
inline constexpr size_t kConfigLength = 50;
inline constexpr size_t kConfigMinimumLength = 26;

// Always exactly kConfigLength characters, whatever the options hold.
[[nodiscard]] std::wstring BuildConfig(const Settings& settings);

// Applies a packed string read from the file. A string shorter than kConfigMinimumLength or
// longer than kConfigLength is ignored whole (false); each unreadable position falls back to
// its own value.
bool ApplyConfig(std::wstring_view config, Settings& settings);

}  // namespace tarvik
