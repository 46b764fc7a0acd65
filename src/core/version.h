#pragma once

namespace tarvik {

inline constexpr const wchar_t* kProgramName = L"Tarvik";
inline constexpr const wchar_t* kVersionText = L"2.33 x64 426.9423";
// The first space-separated field of the version text, used in event lines and titles.
inline constexpr const wchar_t* kShortVersion = L"2.33";
inline constexpr const wchar_t* kProgramTitle = L"Tarvik v2.33 x64 426.9423";
inline constexpr const wchar_t* kMakerLine = L"\u00A9 Brimhold";

}  // namespace tarvik
