#include "monitors/ping/timeline_bar.h"

#include <algorithm>

namespace tarvik {
namespace {

constexpr Colour kTimelineBack = Rgb(0, 0, 0);
constexpr Colour kBaseLine = Rgb(96, 96, 96);
constexpr Colour kNoReply = Rgb(255, 0, 0);
constexpr Colour kSlow = Rgb(255, 255, 0);
constexpr Colour kResumed = Rgb(153, 204, 255);
constexpr Colour kPaused = Rgb(128, 128, 128);
constexpr Colour kQuick = Rgb(0, 204, 0);

}  // namespace

std::optional<TimelineBar> TimelineBarFor(int32_t value, const TimelineStyle& style, int height) {
  if (value == kSampleNoReply)
    return TimelineBar{kNoReply, height};
  if (value == kSampleResumed)
    return TimelineBar{kResumed, height};
  if (value == kSamplePaused)
    return TimelineBar{kPaused, height};
  if (value <= 0)
    return std::nullopt;
  if (value >= style.SlowThreshold)
    return TimelineBar{kSlow, height};
  if (!style.Comprehensive)
    return std::nullopt;
  // height / (threshold / value), computed exactly in whole numbers before the cut.
  const auto share = static_cast<int64_t>(height) * value / style.SlowThreshold;
  return TimelineBar{kQuick, static_cast<int>(share)};
}

int VisibleSampleCount(size_t sampleCount, int width) {
  return static_cast<int>(std::min(sampleCount, static_cast<size_t>(std::max(width, 0))));
}

void DrawTimeline(platform::Canvas& canvas, const platform::Rect& box,
                  const std::deque<PValues>& samples, const TimelineStyle& style) {
  canvas.FillBox(box, kTimelineBack);
  canvas.FillBox({box.X, box.Bottom(), box.Width, 1}, kBaseLine);
  const int shown = VisibleSampleCount(samples.size(), box.Width);
  for (int back = 0; back < shown; ++back) {
    const PValues& sample = samples[samples.size() - 1 - static_cast<size_t>(back)];
    const std::optional<TimelineBar> bar = TimelineBarFor(sample.T, style, box.Height);
    if (bar && bar->Height > 0)
      canvas.FillBox({box.Right() - 1 - back, box.Bottom() - bar->Height, 1, bar->Height},
                     bar->Paint);
  }
}

}  // namespace tarvik
