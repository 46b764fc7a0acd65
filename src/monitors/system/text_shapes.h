#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik::system_text {

// Small shaping helpers for the sampler's fixed-width meter texts. Blanks are spaces only.
[[nodiscard]] std::wstring Trimmed(std::wstring_view text);
[[nodiscard]] std::wstring TrimmedLeft(std::wstring_view text);
// The text padded with spaces on the left to `width`; a longer text is not cut.
[[nodiscard]] std::wstring RightAligned(std::wstring_view text, size_t width);
[[nodiscard]] std::wstring RightAligned(int64_t number, size_t width);
// The text with (width - length) / 2 spaces before it, then padded or cut to `width`.
[[nodiscard]] std::wstring Centred(std::wstring_view text, size_t width);
// Every space replaced by "+", so that a multi-word time reads as one item in a list.
[[nodiscard]] std::wstring Joined(std::wstring_view text);

}  // namespace tarvik::system_text
