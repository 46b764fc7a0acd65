#include "monitors/ping/ping_mouse.h"

#include <algorithm>
#include <array>

namespace tarvik {
namespace {

// The character column where each header title ends and the next begins.
constexpr std::array<int, 7> kColumnEnds = {12, 38, 46, 51, 56, 63, 77};

int CharColumnAt(int x, int charWidth) {
  return charWidth > 0 ? x / charWidth : 0;
}

}  // namespace

std::optional<int> HeaderSortColumn(int x, int charWidth) {
  if (x < 0 || charWidth <= 0)
    return std::nullopt;
  const int column = CharColumnAt(x, charWidth);
  const auto end = std::upper_bound(kColumnEnds.begin(), kColumnEnds.end(), column);
  if (end == kColumnEnds.end())
    return std::nullopt;
  return static_cast<int>(end - kColumnEnds.begin()) + 1;
}

PingListSpot PingListSpotAt(int x, int y, int firstRow, const PingLayout& layout, int hostCount) {
  PingListSpot spot;
  spot.CharColumn = CharColumnAt(std::max(x, 0), layout.CharWidth);
  if (x < 0 || y < 0 || layout.RowHeight <= 0)
    return spot;
  const int row = y / layout.RowHeight + std::max(firstRow, 0) + 1;
  if (row > hostCount)
    return spot;
  spot.Row = row;
  if (x < layout.TimelineX)
    spot.Region = PingListRegion::Text;
  else if (x < layout.TimelineX + layout.TimelineWidth)
    spot.Region = PingListRegion::Timeline;
  else
    spot.Region = PingListRegion::RightOfTimeline;
  return spot;
}

}  // namespace tarvik
