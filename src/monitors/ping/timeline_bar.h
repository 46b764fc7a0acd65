#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "monitors/ping/ping_host.h"
#include "platform/canvas.h"

namespace tarvik {

// How the samples of a timeline are judged: replies at or above the slow threshold (ms) are
// yellow; quicker ones are drawn as green partial bars only with the comprehensive timeline on.
struct TimelineStyle {
  int SlowThreshold = 50;
  bool Comprehensive = false;
  bool operator==(const TimelineStyle&) const = default;
};

// One sample's column: its colour and how many pixels it rises from the base line.
struct TimelineBar {
  Colour Paint = 0;
  int Height = 0;
  bool operator==(const TimelineBar&) const = default;
};

// The column of a sample in a timeline `height` pixels high: no reply red, slow yellow, resumed
// light blue and paused grey over the full height; a reply quicker than the threshold green and
// as high as its share of the threshold, cut to whole pixels. Nothing for 0, any other marker,
// or a quick reply with the comprehensive timeline off.
[[nodiscard]] std::optional<TimelineBar> TimelineBarFor(int32_t value, const TimelineStyle& style,
                                                        int height);

// Draws a timeline in `box`: black, with a grey base line just below it, and the newest sample
// in the rightmost column, older ones leftwards, one column each, as many as fit.
void DrawTimeline(platform::Canvas& canvas, const platform::Rect& box,
                  const std::deque<PValues>& samples, const TimelineStyle& style);

// How many of `sampleCount` samples a timeline `width` columns wide shows.
[[nodiscard]] int VisibleSampleCount(size_t sampleCount, int width);

}  // namespace tarvik
