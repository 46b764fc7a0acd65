#pragma once

#include <optional>

#include "monitors/ping/ping_layout.h"

namespace tarvik {

// The sort column (1-7) a click on the header at `x` asks for, by the character column under the
// mouse; nothing right of the last title.
[[nodiscard]] std::optional<int> HeaderSortColumn(int x, int charWidth);

enum class PingListRegion {
  Text,             // the row text, left of the timeline
  Timeline,         // the row's timeline
  RightOfTimeline,  // past the timeline's last column
  BelowLastRow,     // no host stands here
};

struct PingListSpot {
  int Row = 0;  // 1-based host number; 0 below the last row
  PingListRegion Region = PingListRegion::BelowLastRow;
  int CharColumn = 0;  // the character column under the mouse
  bool operator==(const PingListSpot&) const = default;
};

// What stands under the mouse at (x, y) of a list canvas whose top shows row `firstRow` (0-based)
// of a list of `hostCount` hosts.
[[nodiscard]] PingListSpot PingListSpotAt(int x, int y, int firstRow, const PingLayout& layout,
                                          int hostCount);

}  // namespace tarvik
