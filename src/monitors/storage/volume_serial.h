#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

// A volume serial as the drive table keeps it: two groups of four upper-case hexadecimal digits,
// the high half first ("1A2B-003C").
[[nodiscard]] std::wstring VolumeSerialText(uint32_t serial);

// A label or file-system name as a volume reported it, fit for lists and log lines: cut at the
// first NUL and to `width` characters, with control characters and broken surrogate halves
// shown as "?".
[[nodiscard]] std::wstring CleanVolumeText(std::wstring_view reported, size_t width);

}  // namespace tarvik
