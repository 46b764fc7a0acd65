#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// A decimal number of 1 to `mostDigits` digits and nothing else, at most `highest`.
[[nodiscard]] std::optional<uint32_t> BoundedDecimal(std::wstring_view text, size_t mostDigits,
                                                     uint32_t highest);
// The four parts of a dotted-decimal IPv4 address, each one to three digits 0-255; nothing for
// anything else (fewer or more parts, signs, blanks).
[[nodiscard]] std::optional<std::array<uint32_t, 4>> Ipv4Octets(std::wstring_view text);
// A dotted-decimal IPv4 address ("10.0.0.138") as the echo call takes it: first octet in the
// lowest byte.
[[nodiscard]] std::optional<uint32_t> ParseIPv4(std::wstring_view text);
[[nodiscard]] std::wstring DottedAddress(uint32_t address);

}  // namespace tarvik
