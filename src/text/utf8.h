#pragma once

#include <string>
#include <string_view>

namespace tarvik {

// The one place where the program's wide text meets UTF-8 files. Wide text is UTF-16 on
// Windows and UTF-32 on Linux; both convert losslessly. Invalid input becomes U+FFFD.
[[nodiscard]] std::string ToUtf8(std::wstring_view text);
[[nodiscard]] std::wstring FromUtf8(std::string_view bytes);
// Adds one code point as UTF-8; a surrogate or a value beyond U+10FFFF becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

}  // namespace tarvik
