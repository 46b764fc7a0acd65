#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace tarvik::platform {

// Rows First up to, not including, Last.
struct RowSpan {
  size_t First = 0;
  size_t Last = 0;
  bool operator==(const RowSpan&) const = default;
  [[nodiscard]] bool Empty() const { return First >= Last; }
};

// The rows a list must draw again when its rows go from `before` to `after`: from the first row
// that differs to the last, or to the end of the longer list when the count changed. Empty when
// nothing changed.
inline RowSpan ChangedRows(const std::vector<std::wstring>& before,
                           const std::vector<std::wstring>& after) {
  const size_t common = std::min(before.size(), after.size());
  size_t first = 0;
  while (first < common && before[first] == after[first])
    ++first;
  if (before.size() != after.size())
    return {first, std::max(before.size(), after.size())};
  size_t last = common;
  while (last > first && before[last - 1] == after[last - 1])
    --last;
  return {first, last};
}

// The part of `changed` among the `shown` rows from row `top` on: a list draws only the rows in
// view, and draws the others when they are scrolled into it. Empty when none of them is in view.
inline RowSpan ShownRows(RowSpan changed, size_t top, size_t shown) {
  const size_t first = std::max(changed.First, top);
  const size_t last = std::min(changed.Last, top + shown);
  return first < last ? RowSpan{first, last} : RowSpan{};
}

// The smallest box that holds every pixel that differs between two images of `size` (rows of
// size.Width pixels, top row first). Empty (zero width) when they are equal.
inline Rect ChangedBox(const uint32_t* before, const uint32_t* after, Size size) {
  const auto width = static_cast<size_t>(std::max(size.Width, 0));
  int top = -1;
  int bottom = -1;
  size_t left = width;
  size_t right = 0;
  for (int y = 0; y < size.Height; ++y) {
    const uint32_t* was = before + static_cast<size_t>(y) * width;
    const uint32_t* now = after + static_cast<size_t>(y) * width;
    size_t from = 0;
    while (from < width && was[from] == now[from])
      ++from;
    if (from == width)
      continue;
    size_t to = width;
    while (was[to - 1] == now[to - 1])
      --to;
    top = top < 0 ? y : top;
    bottom = y;
    left = std::min(left, from);
    right = std::max(right, to);
  }
  if (top < 0)
    return {};
  return {static_cast<int>(left), top, static_cast<int>(right - left), bottom - top + 1};
}

}  // namespace tarvik::platform
