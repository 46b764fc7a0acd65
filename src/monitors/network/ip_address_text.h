#pragma once

#include <string_view>

namespace tarvik {

// True when the text is an IPv4 address in dotted decimal ("203.0.113.9", no leading zeros) or an
// IPv6 address in its text forms ("2001:db8::1", "::ffff:192.0.2.1"), and nothing else: no zone,
// no prefix length, no blanks.
[[nodiscard]] bool IsIpAddressText(std::wstring_view text);

}  // namespace tarvik
