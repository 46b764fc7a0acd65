#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/ipv4_text.h"

namespace tarvik {

// The numeric sort key: each of the four parts as three digits, read as one decimal number;
// 0 for text that is not an address.
[[nodiscard]] int64_t AddressSortKey(std::wstring_view dotted);
// What the user typed into the host entry, as blank-separated names to look up: each word
// without "https://" and "http://" and cut at its first "/".
[[nodiscard]] std::wstring HostNamesOfTypedText(std::wstring text);
[[nodiscard]] std::wstring TrimBlanks(std::wstring_view text);

}  // namespace tarvik
