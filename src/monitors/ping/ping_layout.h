#pragma once

#include "platform/canvas.h"

namespace tarvik {

// Where the ping table's pieces stand on the list canvas, measured from the header text in the
// list font: every row is a text line plus 2 pixels, and every timeline starts 5 pixels right of
// the widest row text and shows one sample per pixel column, at most 1000.
struct PingLayout {
  int RowHeight = 0;
  int CharWidth = 0;  // turns a mouse x into a character column
  int TimelineX = 0;
  int TimelineWidth = 0;
  bool operator==(const PingLayout&) const = default;
};

// Selects `listFont` on the canvas and measures the layout against the canvas's width. A canvas
// too narrow for any timeline gives a width of 0.
[[nodiscard]] PingLayout MeasurePingLayout(platform::Canvas& canvas, platform::FontId listFont);

}  // namespace tarvik
