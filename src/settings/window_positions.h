#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace tarvik {

// The saved window positions, kept in the settings file as "v" main x "w" main y "x" mini x
// "y" mini y, in plain decimal.
struct WindowPositions {
  int32_t MainX = 0;
  int32_t MainY = 0;
  int32_t MiniX = 0;
  int32_t MiniY = 0;
};

[[nodiscard]] std::wstring BuildWindowPositions(const Settings& settings);

// The four numbers of a positions text, the letters in either case; nothing when the text is
// not exactly that shape or a number does not fit.
[[nodiscard]] std::optional<WindowPositions> ParseWindowPositions(std::wstring_view text);

void ApplyWindowPositions(const WindowPositions& positions, Settings& settings);

}  // namespace tarvik
