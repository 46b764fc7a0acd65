#include "monitors/ping/ping_layout.h"

#include <algorithm>

#include "monitors/ping/ping_host.h"
#include "monitors/ping/ping_row.h"

namespace tarvik {
namespace {

constexpr int kRowSpacing = 2;
constexpr int kTimelineGap = 5;

}  // namespace

PingLayout MeasurePingLayout(platform::Canvas& canvas, platform::FontId listFont) {
  canvas.SetFont(listFont);
  const platform::Size header = canvas.TextSize(PingHeaderText());
  const int room = canvas.Extent().Width - header.Width - kTimelineGap;
  return {.RowHeight = header.Height + kRowSpacing,
          .CharWidth = canvas.TextSize(L"A").Width,
          .TimelineX = header.Width + kTimelineGap,
          .TimelineWidth = std::clamp(room, 0, static_cast<int>(kMaxSamples))};
}

}  // namespace tarvik
