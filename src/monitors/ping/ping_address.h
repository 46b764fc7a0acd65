#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// A dotted-decimal IPv4 address ("10.0.0.138") as the echo call takes it: first octet in the
// lowest byte. Nothing for anything else (fewer or more parts, a part above 255, signs, blanks).
[[nodiscard]] std::optional<uint32_t> ParseIPv4(std::wstring_view text);
[[nodiscard]] std::wstring DottedAddress(uint32_t address);
// The numeric sort key: each of the four parts as three digits, read as one decimal number;
// 0 for text that is not an address.
[[nodiscard]] int64_t AddressSortKey(std::wstring_view dotted);
// What the user typed into the host entry, as blank-separated names to look up: each word
// without "https://" and "http://" and cut at its first "/".
[[nodiscard]] std::wstring HostNamesOfTypedText(std::wstring text);
[[nodiscard]] std::wstring TrimBlanks(std::wstring_view text);

}  // namespace tarvik
