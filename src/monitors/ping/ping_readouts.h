#pragma once

#include <optional>
#include <string>

#include "monitors/ping/ping_host.h"
#include "monitors/ping/ping_layout.h"

namespace tarvik {

// The title read-out for the mouse at list x `mouseX` over a host's timeline: the sample's
// position among those shown, its time, the host and the value, with the host's range when it
// has one; "No data at mouse position" where no sample stands.
[[nodiscard]] std::wstring TimelineReadout(const PSys& host, int mouseX, const PingLayout& layout);

// The character column from which the row text reads out the host's last outage.
inline constexpr int kLastDownColumn = 63;

// The title read-out for the mouse over a row's text at character column `charColumn`: when the
// host ever went down and the mouse stands over the lost columns, when that was.
[[nodiscard]] std::optional<std::wstring> LastDownReadout(const PSys& host, int charColumn);

}  // namespace tarvik
