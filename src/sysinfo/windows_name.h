#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system_identity.h"

namespace tarvik {

// Builds at or above this are Windows 11 even where the kernel reports an older version number.
inline constexpr int32_t kWindows11FileBuild = 20348;

// " (23H2)" for a build that the release table names, otherwise empty.
[[nodiscard]] std::wstring ReleaseSuffix(int32_t build);

// The system's name from the kernel's record and the program's build number (the larger of the
// kernel's build and kernel32.dll's); names of Windows 10 and later carry the release suffix:
// "Windows 11 (23H2)".
[[nodiscard]] std::wstring WindowsName(const platform::OsVersionRecord& kernel, int32_t build);

// The version code of a system, ordered from older to newer (50 Windows 2000 ... 120 Windows 11,
// 200 anything newer, 0 unknown), for systems whose kernel record cannot be had.
[[nodiscard]] int WindowsVersionCode(const platform::OsVersionRecord& reported);
// The name for a version code, without release suffix.
[[nodiscard]] std::wstring WindowsNameForCode(int code);

// The build in a version text such as "10.0.22621.2506" (its third dot-separated field), or 0
// when that field does not start with a number.
[[nodiscard]] int32_t BuildFromVersionText(std::wstring_view version);

}  // namespace tarvik
