#pragma once

#include <string>

#include "monitors/ping/ping_host.h"
#include "platform/colour.h"

namespace tarvik {

// The characters of a row before its time column: the address and description.
inline constexpr size_t kPingAddressWidth = 40;

// One host's line of the ping table, also used for the clipboard copy: the address with its
// description in 40 characters, then time, TTL and TOS (or the paused mark), received, lost and
// the lost share, each right-aligned in its column under the header's titles.
[[nodiscard]] std::wstring PingRowText(const PSys& host);

// The translated column titles that stand over the row texts.
[[nodiscard]] std::wstring PingHeaderText();

struct PingRowColours {
  Colour Text = 0;
  Colour Back = 0;
  bool operator==(const PingRowColours&) const = default;
};

// A paused row is brown, a host whose last echo failed red, any other black; a selected row
// stands on light blue, the others on the list's own back colour.
[[nodiscard]] PingRowColours PingRowColoursOf(const PSys& host, Colour listBack);

}  // namespace tarvik
