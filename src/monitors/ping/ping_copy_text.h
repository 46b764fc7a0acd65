#pragma once

#include <string>

#include "monitors/ping/ping_host.h"

namespace tarvik {

// The ping panel as clipboard text: the column titles, a line of dashes as long, then one row
// text per host, every line ending in CRLF.
[[nodiscard]] std::wstring PingCopyText(const PingList& hosts);

}  // namespace tarvik
